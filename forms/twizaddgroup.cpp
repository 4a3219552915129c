#include "twizaddgroup.h"

#include "formwidgets.h"
#include "groupformparts.h"
#include "notimplemented.h"

#include "images/ornelcon16.xpm"

#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

TWizAddGroup::TWizAddGroup(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : Wizard(parent, name ? name : "TWizAddGroup", modal, fl)
{
    setWindowTitle(tr("Add Group"));
    setWindowIcon(QPixmap(ornelcon16_xpm));
    createPages();
    connectSignals();
    orderTabs();
    resize(340, 286);
}

TWizAddGroup::~TWizAddGroup() = default;

void TWizAddGroup::createPages()
{
    using FormWidgets::makeChild;

    page1 = makeChild<QWidget>(this, "page1");
    const GroupFormParts::NameFields fields = GroupFormParts::makeNameFields(page1);
    TextLabel1 = fields.TextLabel1;
    m_editName = fields.m_editName;
    TextLabel3 = fields.TextLabel3;
    m_editDesk = fields.m_editDesk;
    addPage(page1, tr("General - page 1 of 3"));

    page2 = makeChild<QWidget>(this, "page2");
    const GroupFormParts::MemberPane members = GroupFormParts::makeMemberPane(page2);
    m_listUsers = members.m_listUsers;
    m_btnAdd = members.m_btnAdd;
    m_btnRemove = members.m_btnRemove;
    addPage(page2, tr("Users - page 2 of 3"));

    page3 = makeChild<QWidget>(this, "page3");
    const GroupFormParts::RightsBox rights = GroupFormParts::makeRightsBox(page3);
    ButtonGroup1 = rights.ButtonGroup1;
    ButtonGroup1Buttons = rights.ButtonGroup1Buttons;
    m_rbtnNoAcc = rights.m_rbtnNoAcc;
    m_rbtnViewLogs = rights.m_rbtnViewLogs;
    m_rbtnViewLogs->setFocusPolicy(Qt::NoFocus);
    m_rbtnFullAcc = rights.m_rbtnFullAcc;
    addPage(page3, tr("Rights - page 3 of 3"));
}

void TWizAddGroup::connectSignals()
{
    connect(m_listUsers, &QTreeWidget::itemSelectionChanged, this, &TWizAddGroup::slotChangeUser);
    connect(m_btnAdd, &QPushButton::clicked, this, &TWizAddGroup::slotAdd);
    connect(m_btnRemove, &QPushButton::clicked, this, &TWizAddGroup::slotRemove);
    connect(m_editName, &QLineEdit::textChanged, this, &TWizAddGroup::slotChange);
    connect(this, &Wizard::helpClicked, this, &QDialog::accept);
    connect(this, &Wizard::selected, this, &TWizAddGroup::slotChangePage);
}

void TWizAddGroup::orderTabs()
{
    const QList<QWidget*> order{m_editName, m_editDesk, m_listUsers, m_btnAdd, m_btnRemove,
                                m_rbtnNoAcc, m_rbtnViewLogs, m_rbtnFullAcc};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void TWizAddGroup::slotChange()
{
    notImplemented("TWizAddGroup::slotChange()");
}

void TWizAddGroup::slotAdd()
{
    notImplemented("TWizAddGroup::slotAdd()");
}

void TWizAddGroup::slotChangePage(const QString&)
{
    notImplemented("TWizAddGroup::slotChangePage(const QString&)");
}

void TWizAddGroup::slotChangeUser()
{
    notImplemented("TWizAddGroup::slotChangeUser()");
}

void TWizAddGroup::slotRemove()
{
    notImplemented("TWizAddGroup::slotRemove()");
}
