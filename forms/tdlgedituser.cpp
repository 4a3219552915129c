#include "tdlgedituser.h"

#include "accountformtabs.h"
#include "formwidgets.h"
#include "notimplemented.h"

#include "images/ornelcon16.xpm"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

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

// A label of at least 120 pixels and its field, in a row of the general tab.
void addRow(QVBoxLayout* column, QLabel* label, QWidget* field)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    label->setMinimumWidth(120);
    row->addWidget(label);
    row->addWidget(field);
    column->addLayout(row);
}

QWidget* makePage(QTabWidget* tabs, const char* objectName, const QString& title)
{
    auto* page = makeChild<QWidget>(tabs, objectName);
    tabs->addTab(page, title);
    return page;
}

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

    const AccountFormTabs::DialogButtons buttons = AccountFormTabs::addButtonsBelow(this, m_tab);
    m_btnOK = buttons.ok;
    m_btnCancel = buttons.cancel;

    connectSignals();
    orderTabs();
    resize(387, 293);
}

TDlgEditUser::~TDlgEditUser() = default;

void TDlgEditUser::createGeneralTab()
{
    general = makePage(m_tab, "general", tr("General"));
    TextLabel1 = makeLabel(general, "TextLabel1", tr("Name:"));
    m_editName = makeEdit(general, "m_editName");
    m_editName->setEnabled(false);
    TextLabel2 = makeLabel(general, "TextLabel2", tr("Full Name:"));
    m_editFull = makeEdit(general, "m_editFull");
    TextLabel3 = makeLabel(general, "TextLabel3", tr("Description:"));
    m_editDesk = makeEdit(general, "m_editDesk");
    TextLabel6 = makeLabel(general, "TextLabel6", tr("Authentication:"));
    m_auth = makeChild<QComboBox>(general, "m_auth");
    m_auth->setEditable(false);
    m_auth->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_lblPass = makeLabel(general, "m_lblPass", tr("Password"));
    m_editPass = makeEdit(general, "m_editPass", true);
    m_lblPass2 = makeLabel(general, "m_lblPass2", tr("Confirm password:"));
    m_editConfPass = makeEdit(general, "m_editConfPass", true);
    m_chkDisabled = makeChild<QCheckBox>(general, "m_chkDisabled");
    m_chkDisabled->setText(tr("&Account is disabled"));

    auto* column = new QVBoxLayout(general);
    column->setContentsMargins(11, 11, 11, 11);
    column->setSpacing(6);
    addRow(column, TextLabel1, m_editName);
    addRow(column, TextLabel2, m_editFull);
    addRow(column, TextLabel3, m_editDesk);
    addRow(column, TextLabel6, m_auth);
    addRow(column, m_lblPass, m_editPass);
    addRow(column, m_lblPass2, m_editConfPass);
    column->addWidget(m_chkDisabled);
    column->addItem(verticalSpacer());
}

void TDlgEditUser::createGroupsTab()
{
    const AccountFormTabs::GroupsTab tab = AccountFormTabs::addGroupsTab(m_tab);
    groups = tab.page;
    m_listGroups = tab.listGroups;
    m_btnAdd = tab.btnAdd;
    m_btnRemove = tab.btnRemove;
}

void TDlgEditUser::createRightsTab()
{
    const AccountFormTabs::RightsTab tab = AccountFormTabs::addRightsTab(m_tab);
    rights = tab.page;
    ButtonGroup1 = tab.box;
    ButtonGroup1Buttons = tab.buttons;
    m_rbtnNoAcc = tab.noAccess;
    m_rbtnViewLogs = tab.viewLogs;
    m_rbtnFullAcc = tab.fullAccess;
}

void TDlgEditUser::createQuotaTab()
{
    const AccountFormTabs::QuotaTab quota = AccountFormTabs::addQuotaTab(m_tab);
    tab = quota.page;
    GroupBox1 = quota.box;
    TextLabel7_2 = quota.diskSpaceLabel;
    m_editDiskSpace = quota.diskSpace;
    m_comboKB = quota.unit;
    TextLabel8_2 = quota.messagesLabel;
    m_editNumMess = quota.messages;
    TextLabel9_2 = quota.tip;
}

void TDlgEditUser::createWebTab()
{
    const AccountFormTabs::WebTab web =
        AccountFormTabs::addWebTab(m_tab, AccountFormTabs::WebTabKind::WithPin);
    tab_2 = web.page;
    TextLabel2_2_2_2 = web.messagesPerPageLabel;
    m_editNumMsg = web.messagesPerPage;
    TextLabel2_2_2_3 = web.sentFolderLabel;
    m_editSentFolder = web.sentFolder;
    TextLabel2_2_2_4 = web.draftFolderLabel;
    m_editDraftFolder = web.draftFolder;
    TextLabel1_2 = web.languageLabel;
    m_comboLang = web.language;
    TextLabel1_3 = web.pinLabel;
    m_editPIN = web.pin;
    m_chkShowFldList = web.showFolderList;
    m_chkShowSub = web.showSubscribed;
    Line1 = web.line;
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
