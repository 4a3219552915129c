#include "tdlgpop3.h"

#include "choicebox.h"
#include "formwidgets.h"
#include "keyedpixmap.h"
#include "notimplemented.h"

#include "images/pop3.xpm"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

using namespace FormWidgets;

TDlgPop3::TDlgPop3(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : QDialog(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TDlgPop3"));
    setModal(modal);

    TabWidget7 = makeChild<QTabWidget>(this, "TabWidget7");
    buildGeneralTab();
    buildAdvancedTab();
    m_btnOK = makeChild<QPushButton>(this, "m_btnOK");
    m_btnOK->setDefault(true);
    m__btnCancel = makeChild<QPushButton>(this, "m__btnCancel");

    TDlgPop3Layout = new QGridLayout(this);
    TDlgPop3Layout->setObjectName(QStringLiteral("TDlgPop3Layout"));
    TDlgPop3Layout->setContentsMargins(11, 11, 11, 11);
    TDlgPop3Layout->setSpacing(6);
    TDlgPop3Layout->addWidget(TabWidget7, 0, 0);
    Layout1 = new QHBoxLayout;
    Layout1->setSpacing(6);
    Layout1->addItem(horizontalSpacer());
    Layout1->addWidget(m_btnOK);
    Layout1->addWidget(m__btnCancel);
    TDlgPop3Layout->addLayout(Layout1, 1, 0);

    setWindowTitle(tr("POP3 Account"));
    setWindowIcon(keyedPixmap(QPixmap(pop3_xpm)));
    m_btnOK->setText(tr("OK"));
    m__btnCancel->setText(tr("Cancel"));

    FormWidgets::setTabOrder({TabWidget7, m_editServer, m_editUser, m_editPass, m_editDescription, m_rbtnAddress,
                              m_editAddress, m_btnBrowse, m_rbtnRule, m_comboRule, m_chkUseSSL, m_comboSSL,
                              m_editPort, m_btnDefault, m_comboAuth, m_editMaxMsg, m_btnOK, m__btnCancel});

    connect(m__btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_btnOK, &QPushButton::clicked, this, &TDlgPop3::slotOK);
    connect(m_chkUseSSL, &QCheckBox::toggled, this, &TDlgPop3::slotUseSSL);
    connect(m_btnBrowse, &QPushButton::clicked, this, &TDlgPop3::slotSelect);
    connect(m_btnDefault, &QPushButton::clicked, this, &TDlgPop3::slotDefault);
    connect(m_comboSSL, &QComboBox::activated, this, &TDlgPop3::slotSSLActivated);
    connect(m_rbtnAddress, &QRadioButton::toggled, this, &TDlgPop3::slotDeliverToggled);
    connect(m_rbtnRule, &QRadioButton::toggled, this, &TDlgPop3::slotSortingRulesToggled);
    resize(390, 289);
}

TDlgPop3::~TDlgPop3() = default;

void TDlgPop3::buildGeneralTab()
{
    tab = makeChild<QWidget>(TabWidget7, "tab");
    ButtonGroup9 = makeChild<QWidget>(tab, "ButtonGroup9");
    m_deliveryChoice = new QButtonGroup(ButtonGroup9);
    TextLabel1 = makeChild<QLabel>(ButtonGroup9, "TextLabel1");
    m_editServer = makeChild<QLineEdit>(ButtonGroup9, "m_editServer");
    TextLabel2 = makeChild<QLabel>(ButtonGroup9, "TextLabel2");
    m_editUser = makeChild<QLineEdit>(ButtonGroup9, "m_editUser");
    TextLabel3 = makeChild<QLabel>(ButtonGroup9, "TextLabel3");
    m_editPass = makeChild<QLineEdit>(ButtonGroup9, "m_editPass");
    m_editPass->setEchoMode(QLineEdit::Password);
    TextLabel4 = makeChild<QLabel>(ButtonGroup9, "TextLabel4");
    m_editDescription = makeChild<QLineEdit>(ButtonGroup9, "m_editDescription");
    m_rbtnAddress = makeChild<QRadioButton>(ButtonGroup9, "m_rbtnAddress");
    m_editAddress = makeChild<QLineEdit>(ButtonGroup9, "m_editAddress");
    m_btnBrowse = makeChild<QPushButton>(ButtonGroup9, "m_btnBrowse");
    m_rbtnRule = makeChild<QRadioButton>(ButtonGroup9, "m_rbtnRule");
    TextLabelIndent = makeChild<QLabel>(ButtonGroup9, "TextLabelIndent");
    TextLabelIndent->setMinimumWidth(8);
    TextLabel5 = makeChild<QLabel>(ButtonGroup9, "TextLabel5");
    auto* rule = makeChild<ChoiceBox>(ButtonGroup9, "m_comboRule");
    rule->makeEditable(ChoiceBox::Entries::Values);
    m_comboRule = rule;
    m_deliveryChoice->addButton(m_rbtnAddress);
    m_deliveryChoice->addButton(m_rbtnRule);

    tabLayout = new QGridLayout(tab);
    tabLayout->setContentsMargins(11, 11, 11, 11);
    tabLayout->setSpacing(6);
    tabLayout->addWidget(ButtonGroup9, 0, 0);
    ButtonGroup9Layout = new QGridLayout(ButtonGroup9);
    ButtonGroup9Layout->setContentsMargins(0, 0, 0, 0);
    ButtonGroup9Layout->setSpacing(6);
    ButtonGroup9Layout->setAlignment(Qt::AlignTop);
    ButtonGroup9Layout->addWidget(TextLabel1, 0, 0, 1, 2);
    ButtonGroup9Layout->addWidget(m_editServer, 0, 2);
    ButtonGroup9Layout->addWidget(TextLabel2, 1, 0, 1, 2);
    ButtonGroup9Layout->addWidget(m_editUser, 1, 2);
    ButtonGroup9Layout->addWidget(TextLabel3, 2, 0, 1, 2);
    ButtonGroup9Layout->addWidget(m_editPass, 2, 2);
    ButtonGroup9Layout->addWidget(TextLabel4, 3, 0, 1, 2);
    ButtonGroup9Layout->addWidget(m_editDescription, 3, 2);
    ButtonGroup9Layout->addWidget(m_rbtnAddress, 4, 0, 1, 2);
    ButtonGroup9Layout->addWidget(m_editAddress, 4, 2);
    ButtonGroup9Layout->addWidget(m_btnBrowse, 4, 3);
    ButtonGroup9Layout->addWidget(m_rbtnRule, 5, 0, 1, 2);
    ButtonGroup9Layout->addWidget(TextLabelIndent, 6, 0);
    ButtonGroup9Layout->addWidget(TextLabel5, 6, 1);
    ButtonGroup9Layout->addWidget(m_comboRule, 6, 2);
    ButtonGroup9Layout->addItem(verticalSpacer(), 7, 2);
    TabWidget7->addTab(tab, tr("General"));

    TextLabel1->setText(tr("POP3 server:"));
    TextLabel2->setText(tr("POP3 username:"));
    TextLabel3->setText(tr("Password:"));
    TextLabel4->setText(tr("Description:"));
    m_rbtnAddress->setText(tr("&Deliver to address:"));
    m_btnBrowse->setText(tr("&Select..."));
    m_rbtnRule->setText(tr("Use s&orting rules"));
    TextLabel5->setText(tr("Preferred header:"));
}

void TDlgPop3::buildAdvancedTab()
{
    tab_2 = makeChild<QWidget>(TabWidget7, "tab_2");
    m_chkUseSSL = makeChild<QCheckBox>(tab_2, "m_chkUseSSL");
    TextLabel6 = makeChild<QLabel>(tab_2, "TextLabel6");
    m_comboSSL = makeChild<ChoiceBox>(tab_2, "m_comboSSL");
    TextLabel7 = makeChild<QLabel>(tab_2, "TextLabel7");
    m_editPort = makeChild<QLineEdit>(tab_2, "m_editPort");
    m_btnDefault = makeChild<QPushButton>(tab_2, "m_btnDefault");
    m_btnDefault->setFixedWidth(80);
    TextLabel8 = makeChild<QLabel>(tab_2, "TextLabel8");
    m_comboAuth = makeChild<ChoiceBox>(tab_2, "m_comboAuth");
    TextLabel9 = makeChild<QLabel>(tab_2, "TextLabel9");
    m_editMaxMsg = makeChild<QLineEdit>(tab_2, "m_editMaxMsg");
    TextLabel10 = makeChild<QLabel>(tab_2, "TextLabel10");
    TextLabel10->setWordWrap(true);

    tabLayout_2 = new QGridLayout(tab_2);
    tabLayout_2->setContentsMargins(11, 11, 11, 11);
    tabLayout_2->setSpacing(6);
    tabLayout_2->addWidget(m_chkUseSSL, 0, 0, 1, 2);
    tabLayout_2->addWidget(TextLabel6, 1, 0);
    tabLayout_2->addWidget(m_comboSSL, 1, 1);
    tabLayout_2->addItem(horizontalSpacer(), 1, 2);
    tabLayout_2->addWidget(TextLabel7, 2, 0);
    tabLayout_2->addWidget(m_editPort, 2, 1);
    tabLayout_2->addWidget(m_btnDefault, 2, 2);
    tabLayout_2->addWidget(TextLabel8, 3, 0);
    tabLayout_2->addWidget(m_comboAuth, 3, 1);
    tabLayout_2->addItem(horizontalSpacer(), 3, 2);
    tabLayout_2->addWidget(TextLabel9, 4, 0);
    tabLayout_2->addWidget(m_editMaxMsg, 4, 1);
    tabLayout_2->addItem(horizontalSpacer(), 4, 2);
    tabLayout_2->addWidget(TextLabel10, 5, 1, 1, 2);
    tabLayout_2->addItem(verticalSpacer(), 6, 1);
    TabWidget7->addTab(tab_2, tr("Advanced"));

    m_chkUseSSL->setText(tr("Use SSL"));
    TextLabel6->setText(tr("SSL Mode:"));
    TextLabel7->setText(tr("Port:"));
    m_btnDefault->setText(tr("&Default"));
    TextLabel8->setText(tr("POP3 authentication:"));
    TextLabel9->setText(tr("Messages:"));
    TextLabel10->setText(tr("(maximum number of messages to download in one POP3 session)"));
}

void TDlgPop3::slotSSLActivated(int)
{
    notImplemented("TDlgPop3::slotSSLActivated(int)");
}

void TDlgPop3::slotDefault()
{
    notImplemented("TDlgPop3::slotDefault()");
}

void TDlgPop3::slotDeliverToggled(bool)
{
    notImplemented("TDlgPop3::slotDeliverToggled(bool)");
}

void TDlgPop3::slotOK()
{
    notImplemented("TDlgPop3::slotOK()");
}

void TDlgPop3::slotSelect()
{
    notImplemented("TDlgPop3::slotSelect()");
}

void TDlgPop3::slotSortingRulesToggled(bool)
{
    notImplemented("TDlgPop3::slotSortingRulesToggled(bool)");
}

void TDlgPop3::slotUseSSL(bool)
{
    notImplemented("TDlgPop3::slotUseSSL(bool)");
}
