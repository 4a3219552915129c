#include "twizadduser.h"

#include "accountformparts.h"
#include "formwidgets.h"
#include "notimplemented.h"

#include "images/ornelcon16.xpm"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

using FormWidgets::makeChild;

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
    const AccountFormParts::General g = AccountFormParts::makeGeneral(page1);
    TextLabel1 = g.TextLabel1;
    m_editName = g.m_editName;
    TextLabel2 = g.TextLabel2;
    m_editFull = g.m_editFull;
    TextLabel3 = g.TextLabel3;
    m_editDesk = g.m_editDesk;
    TextLabel6 = g.TextLabel6;
    m_auth = g.m_auth;
    m_lblPass = g.m_lblPass;
    m_editPass = g.m_editPass;
    m_lblPass2 = g.m_lblPass2;
    m_editConfPass = g.m_editConfPass;
    m_chkDisabled = g.m_chkDisabled;
    addPage(page1, tr("General - page 1 of 4"));
}

void TWizAddUser::createGroupsPage()
{
    page2 = makeChild<QWidget>(this, "page2");
    const AccountFormParts::Groups g = AccountFormParts::makeGroups(page2);
    m_listGroups = g.m_listGroups;
    m_btnAdd = g.m_btnAdd;
    m_btnRemove = g.m_btnRemove;
    // Sorted by name until the administrator sorts it otherwise; written as it is shown.
    m_listGroups->setSortingEnabled(true);
    m_listGroups->sortByColumn(0, Qt::AscendingOrder);
    addPage(page2, tr("Groups - page 2 of 4"));
}

void TWizAddUser::createRightsPage()
{
    page3 = makeChild<QWidget>(this, "page3");
    const AccountFormParts::Rights r = AccountFormParts::makeRights(page3);
    ButtonGroup1 = r.ButtonGroup1;
    ButtonGroup1Buttons = r.buttons;
    m_rbtnNoAcc = r.m_rbtnNoAcc;
    m_rbtnViewLogs = r.m_rbtnViewLogs;
    m_rbtnFullAcc = r.m_rbtnFullAcc;
    addPage(page3, tr("Rights - page 3 of 4"));
}

void TWizAddUser::createQuotaPage()
{
    page = makeChild<QWidget>(this, "page");
    const AccountFormParts::Quota q = AccountFormParts::makeQuota(page);
    GroupBox1 = q.GroupBox1;
    TextLabel7_2 = q.TextLabel7_2;
    m_editDiskSpace = q.m_editDiskSpace;
    m_comboKB = q.m_comboKB;
    TextLabel8_2 = q.TextLabel8_2;
    m_editNumMess = q.m_editNumMess;
    TextLabel9_2 = q.TextLabel9_2;
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
