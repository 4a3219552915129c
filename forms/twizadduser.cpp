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
    AccountFormParts::build(static_cast<AccountFormParts::General&>(*this), page1);
    addPage(page1, tr("General - page 1 of 4"));
}

void TWizAddUser::createGroupsPage()
{
    page2 = makeChild<QWidget>(this, "page2");
    AccountFormParts::build(static_cast<AccountFormParts::Groups&>(*this), page2);
    // The groups are written in the order the list shows them.
    addPage(page2, tr("Groups - page 2 of 4"));
}

void TWizAddUser::createRightsPage()
{
    page3 = makeChild<QWidget>(this, "page3");
    AccountFormParts::build(static_cast<AccountFormParts::Rights&>(*this), page3);
    addPage(page3, tr("Rights - page 3 of 4"));
}

void TWizAddUser::createQuotaPage()
{
    page = makeChild<QWidget>(this, "page");
    AccountFormParts::build(static_cast<AccountFormParts::Quota&>(*this), page);
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
