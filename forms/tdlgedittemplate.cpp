#include "tdlgedittemplate.h"

#include "choicebox.h"
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

using AccountFormParts::makeEdit;
using AccountFormParts::makeLabel;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

QComboBox* makeChoice(QWidget* parent, const char* objectName)
{
    auto* box = makeChild<ChoiceBox>(parent, objectName);
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

    AccountFormParts::build(static_cast<AccountFormParts::DialogButtons&>(*this), this, m_tabs);

    connectSignals();
    orderTabs();
    resize(387, 293);
}

TDlgEditTemplate::~TDlgEditTemplate() = default;

void TDlgEditTemplate::createGeneralTab()
{
    general = AccountFormParts::addPage(m_tabs, "general", tr("General"));
    TextLabel1 = makeLabel(general, "TextLabel1", tr("Name:"));
    m_editName = makeEdit(general, "m_editName");
    TextLabel3 = makeLabel(general, "TextLabel3", tr("Description:"));
    m_editDesk = makeEdit(general, "m_editDesk");
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
    using namespace AccountFormParts;
    groups = addPage(m_tabs, "groups", tr("Groups"));
    build(static_cast<Groups&>(*this), groups);
    rights = addPage(m_tabs, "rights", tr("Rights"));
    build(static_cast<Rights&>(*this), rights);
    tab = addPage(m_tabs, "tab", tr("Quota"));
    build(static_cast<Quota&>(*this), tab);
    tab_2 = addPage(m_tabs, "tab_2", tr("Vazazuz"));
    build(static_cast<WebMail&>(*this), tab_2);
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
