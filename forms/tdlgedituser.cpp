#include "tdlgedituser.h"

#include "accountformparts.h"
#include "formwidgets.h"
#include "notimplemented.h"

#include "images/ornelcon16.xpm"

#include <QCheckBox>
#include <QComboBox>
#include <QLayout>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

using AccountFormParts::addPage;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

} // namespace

TDlgEditUser::TDlgEditUser(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgEditUser"));
    setModal(modal);
    setWindowTitle(tr("Edit User"));
    setWindowIcon(QPixmap(ornelcon16_xpm));

    m_tab = makeChild<QTabWidget>(this, "m_tab");
    createGeneralTab();
    createGroupsTab();
    createRightsTab();
    createQuotaTab();
    createWebTab();

    AccountFormParts::build(static_cast<AccountFormParts::DialogButtons&>(*this), this, m_tab);

    connectSignals();
    orderTabs();
    resize(387, 293);
}

TDlgEditUser::~TDlgEditUser() = default;

void TDlgEditUser::createGeneralTab()
{
    general = addPage(m_tab, "general", tr("General"));
    QVBoxLayout* column = AccountFormParts::build(static_cast<AccountFormParts::General&>(*this), general);
    m_editName->setEnabled(false); // a user keeps the name it was added with
    column->addItem(verticalSpacer());
}

void TDlgEditUser::createGroupsTab()
{
    groups = addPage(m_tab, "groups", tr("Groups"));
    AccountFormParts::build(static_cast<AccountFormParts::Groups&>(*this), groups);
}

void TDlgEditUser::createRightsTab()
{
    rights = addPage(m_tab, "rights", tr("Rights"));
    AccountFormParts::build(static_cast<AccountFormParts::Rights&>(*this), rights);
}

void TDlgEditUser::createQuotaTab()
{
    tab = addPage(m_tab, "tab", tr("Quota"));
    AccountFormParts::build(static_cast<AccountFormParts::Quota&>(*this), tab);
}

void TDlgEditUser::createWebTab()
{
    tab_2 = addPage(m_tab, "tab_2", tr("Vazazuz"));
    AccountFormParts::build(static_cast<AccountFormParts::WebMail&>(*this), tab_2,
                            static_cast<AccountFormParts::WebMailPin*>(this));
}

void TDlgEditUser::connectSignals()
{
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnOK, &QPushButton::clicked, this, &TDlgEditUser::slotOK);
    connect(m_btnAdd, &QPushButton::clicked, this, &TDlgEditUser::slotAdd);
    connect(m_btnRemove, &QPushButton::clicked, this, &TDlgEditUser::slotRemove);
    connect(m_editPass, &QLineEdit::textChanged, this, &TDlgEditUser::slotTextChanged);
    connect(m_editConfPass, &QLineEdit::textChanged, this, &TDlgEditUser::slotTextChanged);
    connect(m_listGroups, &QTreeWidget::itemSelectionChanged, this, &TDlgEditUser::slotChanged);
    connect(m_auth, &QComboBox::activated, this, &TDlgEditUser::slotTextChanged);
}

void TDlgEditUser::orderTabs()
{
    const QList<QWidget*> order{
        m_tab, m_editName, m_editFull, m_editDesk, m_auth, m_editPass, m_editConfPass,
        m_chkDisabled, m_listGroups, m_btnAdd, m_btnRemove, m_rbtnNoAcc, m_rbtnViewLogs,
        m_rbtnFullAcc, m_editDiskSpace, m_comboKB, m_editNumMess, m_editNumMsg,
        m_editSentFolder, m_editDraftFolder, m_comboLang, m_editPIN, m_chkShowFldList,
        m_chkShowSub, m_btnOK, m_btnCancel};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void TDlgEditUser::slotTextChanged()
{
    notImplemented("TDlgEditUser::slotTextChanged()");
}

void TDlgEditUser::slotAdd()
{
    notImplemented("TDlgEditUser::slotAdd()");
}

void TDlgEditUser::slotChanged()
{
    notImplemented("TDlgEditUser::slotChanged()");
}

void TDlgEditUser::slotOK()
{
    notImplemented("TDlgEditUser::slotOK()");
}

void TDlgEditUser::slotRemove()
{
    notImplemented("TDlgEditUser::slotRemove()");
}
