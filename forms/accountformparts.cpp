#include "accountformparts.h"

#include "choicebox.h"
#include "formwidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace AccountFormParts {

namespace {

using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

QString tr(const char* text)
{
    return QCoreApplication::translate("AccountFormParts", text);
}

void addRow(QVBoxLayout* column, QLabel* label, QWidget* field)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    label->setMinimumWidth(120);
    row->addWidget(label);
    row->addWidget(field);
    column->addLayout(row);
}

void boxOnTop(QWidget* parent, QGroupBox* box)
{
    auto* column = new QVBoxLayout(parent);
    column->setContentsMargins(11, 11, 11, 11);
    column->addWidget(box);
    column->addItem(verticalSpacer());
}

} // namespace

QLabel* makeLabel(QWidget* parent, const char* objectName, const QString& text)
{
    auto* label = makeChild<QLabel>(parent, objectName);
    label->setText(text);
    return label;
}

QLineEdit* makeEdit(QWidget* parent, const char* objectName, bool secret)
{
    auto* edit = makeChild<QLineEdit>(parent, objectName);
    if (secret)
        edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QWidget* addPage(QTabWidget* tabs, const char* objectName, const QString& title)
{
    auto* page = makeChild<QWidget>(tabs, objectName);
    tabs->addTab(page, title);
    return page;
}

void build(DialogButtons& b, QDialog* dialog, QTabWidget* tabs)
{
    b.m_btnOK = makeChild<QPushButton>(dialog, "m_btnOK");
    b.m_btnOK->setText(tr("OK"));
    b.m_btnOK->setAutoDefault(true);
    b.m_btnOK->setDefault(true);
    b.m_btnCancel = makeChild<QPushButton>(dialog, "m_btnCancel");
    b.m_btnCancel->setText(tr("Cancel"));
    b.m_btnCancel->setShortcut(QKeySequence(Qt::Key_Escape));

    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    layout->addWidget(tabs);
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    row->addItem(FormWidgets::horizontalSpacer());
    row->addWidget(b.m_btnOK);
    row->addWidget(b.m_btnCancel);
    layout->addLayout(row);
}

QVBoxLayout* build(General& g, QWidget* parent)
{
    g.TextLabel1 = makeLabel(parent, "TextLabel1", tr("Name:"));
    g.m_editName = makeEdit(parent, "m_editName");
    g.TextLabel2 = makeLabel(parent, "TextLabel2", tr("Full Name:"));
    g.m_editFull = makeEdit(parent, "m_editFull");
    g.TextLabel3 = makeLabel(parent, "TextLabel3", tr("Description:"));
    g.m_editDesk = makeEdit(parent, "m_editDesk");
    g.TextLabel6 = makeLabel(parent, "TextLabel6", tr("Authentication:"));
    g.m_auth = makeChild<ChoiceBox>(parent, "m_auth");
    g.m_auth->setEditable(false);
    g.m_auth->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    g.m_lblPass = makeLabel(parent, "m_lblPass", tr("Password"));
    g.m_editPass = makeEdit(parent, "m_editPass", true);
    g.m_lblPass2 = makeLabel(parent, "m_lblPass2", tr("Confirm password:"));
    g.m_editConfPass = makeEdit(parent, "m_editConfPass", true);
    g.m_chkDisabled = makeChild<QCheckBox>(parent, "m_chkDisabled");
    g.m_chkDisabled->setText(tr("&Account is disabled"));

    auto* column = new QVBoxLayout(parent);
    column->setContentsMargins(11, 11, 11, 11);
    column->setSpacing(6);
    addRow(column, g.TextLabel1, g.m_editName);
    addRow(column, g.TextLabel2, g.m_editFull);
    addRow(column, g.TextLabel3, g.m_editDesk);
    addRow(column, g.TextLabel6, g.m_auth);
    addRow(column, g.m_lblPass, g.m_editPass);
    addRow(column, g.m_lblPass2, g.m_editConfPass);
    column->addWidget(g.m_chkDisabled);
    return column;
}

void build(Groups& g, QWidget* parent)
{
    g.m_listGroups = makeChild<QTreeWidget>(parent, "m_listGroups");
    g.m_listGroups->setRootIsDecorated(false);
    g.m_listGroups->setHeaderLabels({tr("Name"), tr("Description")});
    g.m_listGroups->setSelectionMode(QAbstractItemView::ExtendedSelection);
    g.m_listGroups->setAllColumnsShowFocus(true);
    // Sorted by name until the administrator clicks another header, as the old lists were.
    g.m_listGroups->setSortingEnabled(true);
    g.m_listGroups->sortByColumn(0, Qt::AscendingOrder);
    g.m_btnAdd = makeChild<QPushButton>(parent, "m_btnAdd");
    g.m_btnAdd->setText(tr("Add..."));
    g.m_btnRemove = makeChild<QPushButton>(parent, "m_btnRemove");
    g.m_btnRemove->setText(tr("Remove"));

    auto* row = new QHBoxLayout(parent);
    row->setContentsMargins(11, 11, 11, 11);
    row->setSpacing(6);
    row->addWidget(g.m_listGroups);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(g.m_btnAdd);
    buttons->addWidget(g.m_btnRemove);
    buttons->addItem(verticalSpacer());
    row->addLayout(buttons);
}

void build(Rights& r, QWidget* parent)
{
    r.ButtonGroup1 = makeChild<QGroupBox>(parent, "ButtonGroup1");
    r.ButtonGroup1->setTitle(tr("User Rights"));
    r.ButtonGroup1Buttons = new QButtonGroup(r.ButtonGroup1);
    r.m_rbtnNoAcc = makeChild<QRadioButton>(r.ButtonGroup1, "m_rbtnNoAcc");
    r.m_rbtnNoAcc->setText(tr("&No access to administration"));
    r.m_rbtnNoAcc->setChecked(true);
    r.m_rbtnViewLogs = makeChild<QRadioButton>(r.ButtonGroup1, "m_rbtnViewLogs");
    r.m_rbtnViewLogs->setText(tr("&Read only access"));
    r.m_rbtnFullAcc = makeChild<QRadioButton>(r.ButtonGroup1, "m_rbtnFullAcc");
    r.m_rbtnFullAcc->setText(tr("Read/&write access"));
    auto* buttons = new QVBoxLayout(r.ButtonGroup1);
    buttons->setSpacing(6);
    for (QRadioButton* button : {r.m_rbtnNoAcc, r.m_rbtnViewLogs, r.m_rbtnFullAcc}) {
        r.ButtonGroup1Buttons->addButton(button);
        buttons->addWidget(button);
    }
    boxOnTop(parent, r.ButtonGroup1);
}

void build(Quota& q, QWidget* parent)
{
    q.GroupBox1 = makeChild<QGroupBox>(parent, "GroupBox1");
    q.GroupBox1->setTitle(tr("User quota"));
    q.TextLabel7_2 = makeLabel(q.GroupBox1, "TextLabel7_2", tr("Disk space (bytes):"));
    q.m_editDiskSpace = makeEdit(q.GroupBox1, "m_editDiskSpace");
    q.m_comboKB = makeChild<ChoiceBox>(q.GroupBox1, "m_comboKB");
    q.m_comboKB->addItems({tr("KB"), tr("MB"), tr("GB")});
    q.TextLabel8_2 = makeLabel(q.GroupBox1, "TextLabel8_2", tr("Number of messages:"));
    q.m_editNumMess = makeEdit(q.GroupBox1, "m_editNumMess");
    q.TextLabel9_2 = makeLabel(q.GroupBox1, "TextLabel9_2",
                               tr("                                   Tip: (0 means unlimited)"));

    auto* grid = new QGridLayout(q.GroupBox1);
    grid->setSpacing(6);
    grid->addWidget(q.TextLabel7_2, 0, 0);
    grid->addWidget(q.m_editDiskSpace, 0, 1);
    grid->addWidget(q.m_comboKB, 0, 2);
    grid->addWidget(q.TextLabel8_2, 1, 0);
    grid->addWidget(q.m_editNumMess, 1, 1);
    grid->addWidget(q.TextLabel9_2, 2, 0, 1, 3);
    boxOnTop(parent, q.GroupBox1);
}

void build(WebMail& w, QWidget* page, WebMailPin* pin)
{
    w.TextLabel2_2_2_2 = makeLabel(page, "TextLabel2_2_2_2", tr("Number of messages on one page:"));
    w.m_editNumMsg = makeEdit(page, "m_editNumMsg");
    w.TextLabel2_2_2_3 =
        makeLabel(page, "TextLabel2_2_2_3", tr("Save a copy of outgoing messages to folder:"));
    w.m_editSentFolder = makeEdit(page, "m_editSentFolder");
    w.TextLabel2_2_2_4 = makeLabel(page, "TextLabel2_2_2_4", tr("Store draft messages into folder:"));
    w.m_editDraftFolder = makeEdit(page, "m_editDraftFolder");
    w.TextLabel1_2 = makeLabel(page, "TextLabel1_2", tr("Preferred language:"));
    w.m_comboLang = makeChild<ChoiceBox>(page, "m_comboLang");
    w.m_comboLang->setEditable(false);
    QList<std::pair<QLabel*, QWidget*>> rows{{w.TextLabel2_2_2_2, w.m_editNumMsg},
                                             {w.TextLabel2_2_2_3, w.m_editSentFolder},
                                             {w.TextLabel2_2_2_4, w.m_editDraftFolder},
                                             {w.TextLabel1_2, w.m_comboLang}};
    QList<QLineEdit*> narrow{w.m_editNumMsg, w.m_editSentFolder, w.m_editDraftFolder};
    if (pin) {
        pin->TextLabel1_3 = makeLabel(page, "TextLabel1_3", tr("PIN for web access:"));
        pin->m_editPIN = makeEdit(page, "m_editPIN", true);
        rows.append({pin->TextLabel1_3, pin->m_editPIN});
        narrow.append(pin->m_editPIN);
    }
    for (QLineEdit* edit : std::as_const(narrow))
        edit->setMaximumWidth(100);
    w.m_chkShowFldList = makeChild<QCheckBox>(page, "m_chkShowFldList");
    w.m_chkShowFldList->setText(tr("Show &folder list on each page"));
    w.m_chkShowSub = makeChild<QCheckBox>(page, "m_chkShowSub");
    w.m_chkShowSub->setText(tr("Show only &subscribed folders"));
    w.Line1 = makeChild<QFrame>(page, "Line1");
    w.Line1->setFrameShape(QFrame::HLine);
    w.Line1->setFrameShadow(QFrame::Sunken);

    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(11, 11, 11, 11);
    grid->setSpacing(6);
    int row = 0;
    for (const auto& [label, field] : std::as_const(rows)) {
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    }
    const int column = pin ? 1 : 0;
    const int span = pin ? 1 : 2;
    grid->addWidget(w.m_chkShowFldList, row++, column, 1, span);
    grid->addWidget(w.m_chkShowSub, row++, column, 1, span);
    grid->addWidget(w.Line1, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);
}

} // namespace AccountFormParts
