#include "accountformparts.h"

#include "formwidgets.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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

QVBoxLayout* build(General& g, QWidget* parent)
{
    g.TextLabel1 = makeLabel(parent, "TextLabel1", tr("Name:"));
    g.m_editName = makeEdit(parent, "m_editName");
    g.TextLabel2 = makeLabel(parent, "TextLabel2", tr("Full Name:"));
    g.m_editFull = makeEdit(parent, "m_editFull");
    g.TextLabel3 = makeLabel(parent, "TextLabel3", tr("Description:"));
    g.m_editDesk = makeEdit(parent, "m_editDesk");
    g.TextLabel6 = makeLabel(parent, "TextLabel6", tr("Authentication:"));
    g.m_auth = makeChild<QComboBox>(parent, "m_auth");
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
    g.m_listGroups->header()->setSortIndicatorShown(true);
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
    q.m_comboKB = makeChild<QComboBox>(q.GroupBox1, "m_comboKB");
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

} // namespace AccountFormParts
