#include "accountformtabs.h"

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

namespace AccountFormTabs {

namespace {

using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

QString tr(const char* text)
{
    return QCoreApplication::translate("AccountFormTabs", text);
}

QLabel* makeLabel(QWidget* parent, const char* objectName, const QString& text)
{
    auto* label = makeChild<QLabel>(parent, objectName);
    label->setText(text);
    return label;
}

QWidget* makePage(QTabWidget* tabs, const char* objectName, const QString& title)
{
    auto* page = makeChild<QWidget>(tabs, objectName);
    tabs->addTab(page, title);
    return page;
}

// The page's one box at its top, the rest of the page left empty.
void putAtTop(QWidget* page, QWidget* box)
{
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(11, 11, 11, 11);
    column->addWidget(box);
    column->addItem(verticalSpacer());
}

} // namespace

DialogButtons addButtonsBelow(QDialog* dialog, QTabWidget* tabs)
{
    DialogButtons buttons;
    buttons.ok = makeChild<QPushButton>(dialog, "m_btnOK");
    buttons.ok->setText(tr("OK"));
    buttons.ok->setAutoDefault(true);
    buttons.ok->setDefault(true);
    buttons.cancel = makeChild<QPushButton>(dialog, "m_btnCancel");
    buttons.cancel->setText(tr("Cancel"));
    buttons.cancel->setShortcut(QKeySequence(Qt::Key_Escape));

    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    layout->addWidget(tabs);
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    row->addItem(FormWidgets::horizontalSpacer());
    row->addWidget(buttons.ok);
    row->addWidget(buttons.cancel);
    layout->addLayout(row);
    return buttons;
}

GroupsTab addGroupsTab(QTabWidget* tabs)
{
    GroupsTab tab;
    tab.page = makePage(tabs, "groups", tr("Groups"));
    tab.listGroups = makeChild<QTreeWidget>(tab.page, "m_listGroups");
    tab.listGroups->setRootIsDecorated(false);
    tab.listGroups->setHeaderLabels({tr("Name"), tr("Description")});
    tab.listGroups->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tab.listGroups->setAllColumnsShowFocus(true);
    tab.listGroups->header()->setSortIndicatorShown(true);
    tab.btnAdd = makeChild<QPushButton>(tab.page, "m_btnAdd");
    tab.btnAdd->setText(tr("Add..."));
    tab.btnRemove = makeChild<QPushButton>(tab.page, "m_btnRemove");
    tab.btnRemove->setText(tr("Remove"));

    auto* row = new QHBoxLayout(tab.page);
    row->setContentsMargins(11, 11, 11, 11);
    row->setSpacing(6);
    row->addWidget(tab.listGroups);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(6);
    buttons->addWidget(tab.btnAdd);
    buttons->addWidget(tab.btnRemove);
    buttons->addItem(verticalSpacer());
    row->addLayout(buttons);
    return tab;
}

RightsTab addRightsTab(QTabWidget* tabs)
{
    RightsTab tab;
    tab.page = makePage(tabs, "rights", tr("Rights"));
    tab.box = makeChild<QGroupBox>(tab.page, "ButtonGroup1");
    tab.box->setTitle(tr("User Rights"));
    tab.buttons = new QButtonGroup(tab.box);
    tab.noAccess = makeChild<QRadioButton>(tab.box, "m_rbtnNoAcc");
    tab.noAccess->setText(tr("&No access to administration"));
    tab.noAccess->setChecked(true);
    tab.viewLogs = makeChild<QRadioButton>(tab.box, "m_rbtnViewLogs");
    tab.viewLogs->setText(tr("&Read only access"));
    tab.fullAccess = makeChild<QRadioButton>(tab.box, "m_rbtnFullAcc");
    tab.fullAccess->setText(tr("Read/&write access"));
    auto* buttons = new QVBoxLayout(tab.box);
    buttons->setSpacing(6);
    for (QRadioButton* button : {tab.noAccess, tab.viewLogs, tab.fullAccess}) {
        tab.buttons->addButton(button);
        buttons->addWidget(button);
    }
    putAtTop(tab.page, tab.box);
    return tab;
}

QuotaTab addQuotaTab(QTabWidget* tabs)
{
    QuotaTab tab;
    tab.page = makePage(tabs, "tab", tr("Quota"));
    tab.box = makeChild<QGroupBox>(tab.page, "GroupBox1");
    tab.box->setTitle(tr("User quota"));
    tab.diskSpaceLabel = makeLabel(tab.box, "TextLabel7_2", tr("Disk space (bytes):"));
    tab.diskSpace = makeChild<QLineEdit>(tab.box, "m_editDiskSpace");
    tab.unit = makeChild<QComboBox>(tab.box, "m_comboKB");
    tab.unit->addItems({tr("KB"), tr("MB"), tr("GB")});
    tab.messagesLabel = makeLabel(tab.box, "TextLabel8_2", tr("Number of messages:"));
    tab.messages = makeChild<QLineEdit>(tab.box, "m_editNumMess");
    tab.tip = makeLabel(tab.box, "TextLabel9_2",
                        tr("                                   Tip: (0 means unlimited)"));

    auto* grid = new QGridLayout(tab.box);
    grid->setSpacing(6);
    grid->addWidget(tab.diskSpaceLabel, 0, 0);
    grid->addWidget(tab.diskSpace, 0, 1);
    grid->addWidget(tab.unit, 0, 2);
    grid->addWidget(tab.messagesLabel, 1, 0);
    grid->addWidget(tab.messages, 1, 1);
    grid->addWidget(tab.tip, 2, 0, 1, 3);
    putAtTop(tab.page, tab.box);
    return tab;
}

WebTab addWebTab(QTabWidget* tabs, WebTabKind kind)
{
    WebTab tab;
    QWidget* page = tab.page = makePage(tabs, "tab_2", tr("Vazazuz"));
    tab.messagesPerPageLabel =
        makeLabel(page, "TextLabel2_2_2_2", tr("Number of messages on one page:"));
    tab.messagesPerPage = makeChild<QLineEdit>(page, "m_editNumMsg");
    tab.sentFolderLabel =
        makeLabel(page, "TextLabel2_2_2_3", tr("Save a copy of outgoing messages to folder:"));
    tab.sentFolder = makeChild<QLineEdit>(page, "m_editSentFolder");
    tab.draftFolderLabel =
        makeLabel(page, "TextLabel2_2_2_4", tr("Store draft messages into folder:"));
    tab.draftFolder = makeChild<QLineEdit>(page, "m_editDraftFolder");
    tab.languageLabel = makeLabel(page, "TextLabel1_2", tr("Preferred language:"));
    tab.language = makeChild<QComboBox>(page, "m_comboLang");
    tab.language->setEditable(false);
    QList<std::pair<QLabel*, QWidget*>> rows{{tab.messagesPerPageLabel, tab.messagesPerPage},
                                             {tab.sentFolderLabel, tab.sentFolder},
                                             {tab.draftFolderLabel, tab.draftFolder},
                                             {tab.languageLabel, tab.language}};
    QList<QLineEdit*> narrow{tab.messagesPerPage, tab.sentFolder, tab.draftFolder};
    if (kind == WebTabKind::WithPin) {
        tab.pinLabel = makeLabel(page, "TextLabel1_3", tr("PIN for web access:"));
        tab.pin = makeChild<QLineEdit>(page, "m_editPIN");
        tab.pin->setEchoMode(QLineEdit::Password);
        rows.append({tab.pinLabel, tab.pin});
        narrow.append(tab.pin);
    }
    for (QLineEdit* edit : std::as_const(narrow))
        edit->setMaximumWidth(100);
    tab.showFolderList = makeChild<QCheckBox>(page, "m_chkShowFldList");
    tab.showFolderList->setText(tr("Show &folder list on each page"));
    tab.showSubscribed = makeChild<QCheckBox>(page, "m_chkShowSub");
    tab.showSubscribed->setText(tr("Show only &subscribed folders"));
    tab.line = makeChild<QFrame>(page, "Line1");
    tab.line->setFrameShape(QFrame::HLine);
    tab.line->setFrameShadow(QFrame::Sunken);

    auto* grid = new QGridLayout(page);
    grid->setContentsMargins(11, 11, 11, 11);
    grid->setSpacing(6);
    int row = 0;
    for (const auto& [label, field] : std::as_const(rows)) {
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    }
    const int column = kind == WebTabKind::WithPin ? 1 : 0;
    const int span = kind == WebTabKind::WithPin ? 1 : 2;
    grid->addWidget(tab.showFolderList, row++, column, 1, span);
    grid->addWidget(tab.showSubscribed, row++, column, 1, span);
    grid->addWidget(tab.line, row++, 0, 1, 2);
    grid->setRowStretch(row, 1);
    return tab;
}

} // namespace AccountFormTabs
