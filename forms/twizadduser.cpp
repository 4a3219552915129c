#include "twizadduser.h"

#include "formwidgets.h"
#include "notimplemented.h"

#include "images/ornelcon16.xpm"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

QLabel* makeLabel(QWidget* parent, const char* objectName, const QString& text)
{
    auto* label = makeChild<QLabel>(parent, objectName);
    label->setText(text);
    return label;
}

QLineEdit* makeEdit(QWidget* parent, const char* objectName, bool secret = false)
{
    auto* edit = makeChild<QLineEdit>(parent, objectName);
    if (secret)
        edit->setEchoMode(QLineEdit::Password);
    return edit;
}

// A label of at least 120 pixels and its field, in a row of the General page.
void addRow(QVBoxLayout* column, QLabel* label, QWidget* field)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    label->setMinimumWidth(120);
    row->addWidget(label);
    row->addWidget(field);
    column->addLayout(row);
}

} // namespace

TWizAddUser::TWizAddUser(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : Wizard(parent, name ? name : "TWizAddUser", modal, fl)
{
    setWindowTitle(tr("Add User"));
    setWindowIcon(QPixmap(ornelcon16_xpm));
    createGeneralPage();
    createGroupsPage();
    createRightsPage();
    createQuotaPage();
    connectSignals();
    orderTabs();
    resize(361, 284);
}

TWizAddUser::~TWizAddUser() = default;

void TWizAddUser::createGeneralPage()
{
    page1 = makeChild<QWidget>(this, "page1");
    TextLabel1 = makeLabel(page1, "TextLabel1", tr("Name:"));
    m_editName = makeEdit(page1, "m_editName");
    TextLabel2 = makeLabel(page1, "TextLabel2", tr("Full Name:"));
    m_editFull = makeEdit(page1, "m_editFull");
    TextLabel3 = makeLabel(page1, "TextLabel3", tr("Description:"));
    m_editDesk = makeEdit(page1, "m_editDesk");
    TextLabel6 = makeLabel(page1, "TextLabel6", tr("Authentication:"));
    m_auth = makeChild<QComboBox>(page1, "m_auth");
    m_lblPass = makeLabel(page1, "m_lblPass", tr("Password"));
    m_editPass = makeEdit(page1, "m_editPass", true);
    m_lblPass2 = makeLabel(page1, "m_lblPass2", tr("Confirm password:"));
    m_editConfPass = makeEdit(page1, "m_editConfPass", true);
    m_chkDisabled = makeChild<QCheckBox>(page1, "m_chkDisabled");
    m_chkDisabled->setText(tr("&Account is disabled"));

    auto* column = new QVBoxLayout(page1);
    column->setContentsMargins(11, 11, 11, 11);
    column->setSpacing(6);
    addRow(column, TextLabel1, m_editName);
    addRow(column, TextLabel2, m_editFull);
    addRow(column, TextLabel3, m_editDesk);
    addRow(column, TextLabel6, m_auth);
    addRow(column, m_lblPass, m_editPass);
    addRow(column, m_lblPass2, m_editConfPass);
    column->addWidget(m_chkDisabled);
    addPage(page1, tr("General - page 1 of 4"));
}

void TWizAddUser::createGroupsPage()
{
    page2 = makeChild<QWidget>(this, "page2");
    m_listGroups = makeChild<QTreeWidget>(page2, "m_listGroups");
    m_listGroups->setRootIsDecorated(false);
    m_listGroups->setHeaderLabels({tr("Name"), tr("Description")});
    m_listGroups->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_listGroups->setAllColumnsShowFocus(true);
    m_listGroups->header()->setSortIndicatorShown(true);
    m_listGroups->setSortingEnabled(true);
    m_listGroups->sortByColumn(0, Qt::AscendingOrder);
    m_btnAdd = makeChild<QPushButton>(page2, "m_btnAdd");
    m_btnAdd->setText(tr("Add..."));
    m_btnRemove = makeChild<QPushButton>(page2, "m_btnRemove");
    m_btnRemove->setText(tr("Remove"));

    auto* grid = new QGridLayout(page2);
    grid->setContentsMargins(11, 11, 11, 11);
    grid->setSpacing(6);
    grid->addWidget(m_listGroups, 0, 0, 3, 1);
    grid->addWidget(m_btnAdd, 0, 1);
    grid->addWidget(m_btnRemove, 1, 1);
    grid->addItem(verticalSpacer(), 2, 1);
    addPage(page2, tr("Groups - page 2 of 4"));
}

void TWizAddUser::createRightsPage()
{
    page3 = makeChild<QWidget>(this, "page3");
    ButtonGroup1 = makeChild<QGroupBox>(page3, "ButtonGroup1");
    ButtonGroup1->setTitle(tr("User Rights"));
    ButtonGroup1Buttons = new QButtonGroup(ButtonGroup1);
    m_rbtnNoAcc = makeChild<QRadioButton>(ButtonGroup1, "m_rbtnNoAcc");
    m_rbtnNoAcc->setText(tr("&No access to administration"));
    m_rbtnNoAcc->setChecked(true);
    m_rbtnViewLogs = makeChild<QRadioButton>(ButtonGroup1, "m_rbtnViewLogs");
    m_rbtnViewLogs->setText(tr("&Read only access"));
    m_rbtnFullAcc = makeChild<QRadioButton>(ButtonGroup1, "m_rbtnFullAcc");
    m_rbtnFullAcc->setText(tr("Read/&write access"));
    auto* buttons = new QVBoxLayout(ButtonGroup1);
    buttons->setSpacing(6);
    for (QRadioButton* button : {m_rbtnNoAcc, m_rbtnViewLogs, m_rbtnFullAcc}) {
        ButtonGroup1Buttons->addButton(button);
        buttons->addWidget(button);
    }

    auto* column = new QVBoxLayout(page3);
    column->setContentsMargins(11, 11, 11, 11);
    column->addWidget(ButtonGroup1);
    column->addItem(verticalSpacer());
    addPage(page3, tr("Rights - page 3 of 4"));
}

void TWizAddUser::createQuotaPage()
{
    page = makeChild<QWidget>(this, "page");
    GroupBox1 = makeChild<QGroupBox>(page, "GroupBox1");
    GroupBox1->setTitle(tr("User quota"));
    TextLabel7_2 = makeLabel(GroupBox1, "TextLabel7_2", tr("Disk space (bytes):"));
    m_editDiskSpace = makeEdit(GroupBox1, "m_editDiskSpace");
    m_comboKB = makeChild<QComboBox>(GroupBox1, "m_comboKB");
    m_comboKB->addItems({tr("KB"), tr("MB"), tr("GB")});
    TextLabel8_2 = makeLabel(GroupBox1, "TextLabel8_2", tr("Number of messages:"));
    m_editNumMess = makeEdit(GroupBox1, "m_editNumMess");
    TextLabel9_2 = makeLabel(GroupBox1, "TextLabel9_2",
                             tr("                                   Tip: (0 means unlimited)"));

    auto* grid = new QGridLayout(GroupBox1);
    grid->setSpacing(6);
    grid->addWidget(TextLabel7_2, 0, 0);
    grid->addWidget(m_editDiskSpace, 0, 1);
    grid->addWidget(m_comboKB, 0, 2);
    grid->addItem(horizontalSpacer(), 0, 3);
    grid->addWidget(TextLabel8_2, 1, 0);
    grid->addWidget(m_editNumMess, 1, 1);
    grid->addItem(horizontalSpacer(), 1, 3);
    grid->addWidget(TextLabel9_2, 2, 0, 1, 4);

    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(11, 11, 11, 11);
    column->addWidget(GroupBox1);
    column->addItem(verticalSpacer());
    addPage(page, tr("Quota - page 4 of 4"));
}

void TWizAddUser::connectSignals()
{
    connect(m_btnRemove, &QPushButton::clicked, this, &TWizAddUser::slotRemove);
    connect(m_editPass, &QLineEdit::textChanged, this, &TWizAddUser::slotChange);
    connect(m_editConfPass, &QLineEdit::textChanged, this, &TWizAddUser::slotChange);
    connect(m_editName, &QLineEdit::textChanged, this, &TWizAddUser::slotChange);
    connect(m_listGroups, &QTreeWidget::itemSelectionChanged, this, &TWizAddUser::slotChangeGroup);
    connect(m_auth, &QComboBox::activated, this, &TWizAddUser::slotChange);
    connect(m_btnAdd, &QPushButton::clicked, this, &TWizAddUser::slotAdd);
    connect(this, &Wizard::helpClicked, this, &QDialog::accept);
    connect(this, &Wizard::selected, this, &TWizAddUser::slotChangePage);
}

void TWizAddUser::orderTabs()
{
    const QList<QWidget*> order{
        m_editName, m_editFull, m_editDesk, m_auth, m_editPass, m_editConfPass, m_chkDisabled,
        m_listGroups, m_btnAdd, m_btnRemove, m_rbtnNoAcc, m_editDiskSpace, m_comboKB,
        m_editNumMess, m_rbtnFullAcc, m_rbtnViewLogs};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void TWizAddUser::slotFinish()
{
    notImplemented("TWizAddUser::slotFinish()");
}

void TWizAddUser::slotAdd()
{
    notImplemented("TWizAddUser::slotAdd()");
}

void TWizAddUser::slotChange()
{
    notImplemented("TWizAddUser::slotChange()");
}

void TWizAddUser::slotChangeGroup()
{
    notImplemented("TWizAddUser::slotChangeGroup()");
}

void TWizAddUser::slotChangePage(const QString&)
{
    notImplemented("TWizAddUser::slotChangePage(const QString&)");
}

void TWizAddUser::slotRemove()
{
    notImplemented("TWizAddUser::slotRemove()");
}
