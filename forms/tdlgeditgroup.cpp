#include "tdlgeditgroup.h"

#include "formwidgets.h"
#include "groupformparts.h"
#include "notimplemented.h"

#include "images/ornelcon16.xpm"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;

QWidget* makePage(QTabWidget* tabs, const char* objectName, const QString& title)
{
    auto* page = makeChild<QWidget>(tabs, objectName);
    tabs->addTab(page, title);
    return page;
}

} // namespace

TDlgEditGroup::TDlgEditGroup(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgEditGroup"));
    setModal(modal);
    setWindowTitle(tr("Edit Group"));
    setWindowIcon(QPixmap(ornelcon16_xpm));
    createTabs();
    createButtons();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(11, 11, 11, 11);
    layout->setSpacing(6);
    layout->addWidget(m_tab);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    buttons->addItem(horizontalSpacer());
    buttons->addWidget(m_btnOK);
    buttons->addWidget(m_btnCancel);
    buttons->addItem(horizontalSpacer());
    layout->addLayout(buttons);

    connectSignals();
    orderTabs();
    resize(410, 305);
}

TDlgEditGroup::~TDlgEditGroup() = default;

void TDlgEditGroup::createTabs()
{
    m_tab = makeChild<QTabWidget>(this, "m_tab");

    general = makePage(m_tab, "general", tr("General"));
    const GroupFormParts::NameFields fields = GroupFormParts::makeNameFields(general);
    TextLabel1 = fields.TextLabel1;
    m_editName = fields.m_editName;
    m_editName->setEnabled(false);
    TextLabel3 = fields.TextLabel3;
    m_editDesk = fields.m_editDesk;

    users = makePage(m_tab, "users", tr("Users"));
    const GroupFormParts::MemberPane members = GroupFormParts::makeMemberPane(users);
    m_listUsers = members.m_listUsers;
    m_btnAdd = members.m_btnAdd;
    m_btnRemove = members.m_btnRemove;

    rights = makePage(m_tab, "rights", tr("Rights"));
    const GroupFormParts::RightsBox box = GroupFormParts::makeRightsBox(rights);
    ButtonGroup1 = box.ButtonGroup1;
    ButtonGroup1Buttons = box.ButtonGroup1Buttons;
    m_rbtnNoAcc = box.m_rbtnNoAcc;
    m_rbtnViewLogs = box.m_rbtnViewLogs;
    m_rbtnFullAcc = box.m_rbtnFullAcc;
}

void TDlgEditGroup::createButtons()
{
    m_btnOK = makeChild<QPushButton>(this, "m_btnOK");
    m_btnOK->setText(tr("OK"));
    m_btnOK->setAutoDefault(true);
    m_btnOK->setDefault(true);
    m_btnCancel = makeChild<QPushButton>(this, "m_btnCancel");
    m_btnCancel->setText(tr("Cancel"));
    m_btnCancel->setShortcut(QKeySequence(Qt::Key_Escape));
}

void TDlgEditGroup::connectSignals()
{
    connect(m_btnAdd, &QPushButton::clicked, this, &TDlgEditGroup::slotAdd);
    connect(m_btnRemove, &QPushButton::clicked, this, &TDlgEditGroup::slotRemove);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnOK, &QPushButton::clicked, this, &TDlgEditGroup::slotOK);
    connect(m_listUsers, &QTreeWidget::itemSelectionChanged, this, &TDlgEditGroup::slotChanged);
    connect(m_editName, &QLineEdit::textChanged, this, &TDlgEditGroup::slotTextChanged);
}

void TDlgEditGroup::orderTabs()
{
    const QList<QWidget*> order{m_btnOK, m_btnCancel, m_tab, m_editName, m_editDesk,
                                m_listUsers, m_btnAdd, m_btnRemove, m_rbtnNoAcc};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void TDlgEditGroup::slotTextChanged()
{
    notImplemented("TDlgEditGroup::slotTextChanged()");
}

void TDlgEditGroup::slotAdd()
{
    notImplemented("TDlgEditGroup::slotAdd()");
}

void TDlgEditGroup::slotChanged()
{
    notImplemented("TDlgEditGroup::slotChanged()");
}

void TDlgEditGroup::slotOK()
{
    notImplemented("TDlgEditGroup::slotOK()");
}

void TDlgEditGroup::slotRemove()
{
    notImplemented("TDlgEditGroup::slotRemove()");
}
