#include "tdlgedittemplate.h"

#include "accountformtabs.h"
#include "formwidgets.h"
#include "notimplemented.h"

#include "images/ornelcon16.xpm"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>

namespace {

using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

QLabel* makeLabel(QWidget* parent, const char* objectName, const QString& text)
{
    auto* label = makeChild<QLabel>(parent, objectName);
    label->setText(text);
    return label;
}

QComboBox* makeChoice(QWidget* parent, const char* objectName)
{
    auto* box = makeChild<QComboBox>(parent, objectName);
    box->setEditable(false);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return box;
}

} // namespace

TDlgEditTemplate::TDlgEditTemplate(QWidget* parent, const char* name, bool modal,
                                   Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgEditTemplate"));
    setModal(modal);
    setWindowTitle(tr("Template"));
    setWindowIcon(QPixmap(ornelcon16_xpm));

    m_tabs = makeChild<QTabWidget>(this, "m_tabs");
    createGeneralTab();
    createSharedTabs();

    const AccountFormTabs::DialogButtons buttons = AccountFormTabs::addButtonsBelow(this, m_tabs);
    m_btnOK = buttons.ok;
    m_btnCancel = buttons.cancel;

    connectSignals();
    orderTabs();
    resize(387, 293);
}

TDlgEditTemplate::~TDlgEditTemplate() = default;

void TDlgEditTemplate::createGeneralTab()
{
    general = makeChild<QWidget>(m_tabs, "general");
    m_tabs->addTab(general, tr("General"));
    TextLabel1 = makeLabel(general, "TextLabel1", tr("Name:"));
    m_editName = makeChild<QLineEdit>(general, "m_editName");
    TextLabel3 = makeLabel(general, "TextLabel3", tr("Description:"));
    m_editDesk = makeChild<QLineEdit>(general, "m_editDesk");
    TextLabel6 = makeLabel(general, "TextLabel6", tr("Authentication:"));
    m_auth = makeChoice(general, "m_auth");
    TextLabel3_2 = makeLabel(general, "TextLabel3_2", tr("Domain:"));
    m_comboDomain = makeChoice(general, "m_comboDomain");
    TextLabel12 = makeLabel(
        general, "TextLabel12",
        tr("Note: If you don't specify any domain, the template will be suitable for all domains."));
    TextLabel12->setWordWrap(true);

    auto* grid = new QGridLayout(general);
    grid->setContentsMargins(11, 11, 11, 11);
    grid->setSpacing(6);
    const std::pair<QLabel*, QWidget*> rows[] = {
        {TextLabel1, m_editName}, {TextLabel3, m_editDesk}, {TextLabel6, m_auth},
        {TextLabel3_2, m_comboDomain}};
    int row = 0;
    for (const auto& [label, field] : rows) {
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    }
    grid->addWidget(TextLabel12, row++, 1);
    grid->addItem(verticalSpacer(), row, 1);
}

void TDlgEditTemplate::createSharedTabs()
{
    using namespace AccountFormTabs;
    const GroupsTab groupsTab = addGroupsTab(m_tabs);
    groups = groupsTab.page;
    m_listGroups = groupsTab.listGroups;
    m_btnAdd = groupsTab.btnAdd;
    m_btnRemove = groupsTab.btnRemove;

    const RightsTab rightsTab = addRightsTab(m_tabs);
    rights = rightsTab.page;
    ButtonGroup1 = rightsTab.box;
    ButtonGroup1Buttons = rightsTab.buttons;
    m_rbtnNoAcc = rightsTab.noAccess;
    m_rbtnViewLogs = rightsTab.viewLogs;
    m_rbtnFullAcc = rightsTab.fullAccess;

    const QuotaTab quotaTab = addQuotaTab(m_tabs);
    tab = quotaTab.page;
    GroupBox1 = quotaTab.box;
    TextLabel7_2 = quotaTab.diskSpaceLabel;
    m_editDiskSpace = quotaTab.diskSpace;
    m_comboKB = quotaTab.unit;
    TextLabel8_2 = quotaTab.messagesLabel;
    m_editNumMess = quotaTab.messages;
    TextLabel9_2 = quotaTab.tip;

    const WebTab webTab = addWebTab(m_tabs, WebTabKind::WithoutPin);
    tab_2 = webTab.page;
    TextLabel2_2_2_2 = webTab.messagesPerPageLabel;
    m_editNumMsg = webTab.messagesPerPage;
    TextLabel2_2_2_3 = webTab.sentFolderLabel;
    m_editSentFolder = webTab.sentFolder;
    TextLabel2_2_2_4 = webTab.draftFolderLabel;
    m_editDraftFolder = webTab.draftFolder;
    TextLabel1_2 = webTab.languageLabel;
    m_comboLang = webTab.language;
    m_chkShowFldList = webTab.showFolderList;
    m_chkShowSub = webTab.showSubscribed;
    Line1 = webTab.line;
}

void TDlgEditTemplate::connectSignals()
{
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnOK, &QPushButton::clicked, this, &TDlgEditTemplate::slotOK);
    connect(m_btnAdd, &QPushButton::clicked, this, &TDlgEditTemplate::slotAdd);
    connect(m_btnRemove, &QPushButton::clicked, this, &TDlgEditTemplate::slotRemove);
    connect(m_listGroups, &QTreeWidget::itemSelectionChanged, this,
            &TDlgEditTemplate::slotChanged);
    connect(m_auth, &QComboBox::activated, this, &TDlgEditTemplate::slotTextChanged);
    connect(m_editName, &QLineEdit::textChanged, this, &TDlgEditTemplate::slotTextChanged);
    connect(m_comboDomain, &QComboBox::textActivated, this,
            &TDlgEditTemplate::slotDomainActivated);
}

void TDlgEditTemplate::orderTabs()
{
    const QList<QWidget*> order{
        m_tabs, m_editName, m_editDesk, m_auth, m_comboDomain, m_listGroups, m_btnAdd,
        m_btnRemove, m_rbtnNoAcc, m_rbtnViewLogs, m_rbtnFullAcc, m_editDiskSpace, m_comboKB,
        m_editNumMess, m_editNumMsg, m_editSentFolder, m_editDraftFolder, m_comboLang,
        m_chkShowFldList, m_chkShowSub, m_btnOK, m_btnCancel};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

void TDlgEditTemplate::slotDomainActivated(const QString&)
{
    notImplemented("TDlgEditTemplate::slotDomainActivated(const QString&)");
}

void TDlgEditTemplate::slotAdd()
{
    notImplemented("TDlgEditTemplate::slotAdd()");
}

void TDlgEditTemplate::slotChanged()
{
    notImplemented("TDlgEditTemplate::slotChanged()");
}

void TDlgEditTemplate::slotOK()
{
    notImplemented("TDlgEditTemplate::slotOK()");
}

void TDlgEditTemplate::slotRemove()
{
    notImplemented("TDlgEditTemplate::slotRemove()");
}

void TDlgEditTemplate::slotTextChanged()
{
    notImplemented("TDlgEditTemplate::slotTextChanged()");
}
