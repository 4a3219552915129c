#include "twndsmtp.h"

#include "choicebox.h"
#include "formwidgets.h"
#include "notimplemented.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

using FormWidgets::horizontalSpacer;
using FormWidgets::makeChild;
using FormWidgets::verticalSpacer;

namespace {

// A row indented by an empty label: the label, a label with the field's name, the field
// and a stretch.
QHBoxLayout* indentedRow(QLabel* indent, QLabel* label, QWidget* field)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    row->addWidget(indent);
    row->addWidget(label);
    row->addWidget(field);
    row->addItem(horizontalSpacer());
    return row;
}

} // namespace

TWndSmtp::TWndSmtp(QWidget* parent, const char* name, Qt::WindowFlags fl)
    : QWidget(parent, fl)
{
    setObjectName(QLatin1String(name ? name : "TWndSmtp"));
    TWndSmtpLayout = new QGridLayout(this);
    TWndSmtpLayout->setObjectName(QStringLiteral("TWndSmtpLayout"));
    TWndSmtpLayout->setContentsMargins(11, 11, 11, 11);
    TWndSmtpLayout->setSpacing(6);
    m_tabs = makeChild<QTabWidget>(this, "m_tabs");
    TWndSmtpLayout->addWidget(m_tabs, 0, 0);
    createDeliveryTab();
    createOptionsTab();
    setTexts();
    connectSignals();
    FormWidgets::setTabOrder({m_tabs, m_rbtnDNS, m_rbtnSMTP, m_editHostname, m_editPort,
                              m_btnDefault, m_chkAuth, m_editUser, m_editPassword, m_comboAuth,
                              m_editMessageSize, m_comboKB, m_editThreads, m_editRetry, m_comboSec,
                              m_editWarning, m_comboWarn, m_editBounce, m_comboMin, m_editHops,
                              m_chkUseSSL});
    resize(478, 288);
}

TWndSmtp::~TWndSmtp() = default;

void TWndSmtp::createDeliveryTab()
{
    tab = makeChild<QWidget>(m_tabs, "tab");
    tabLayout = new QVBoxLayout(tab);
    tabLayout->setContentsMargins(11, 11, 11, 11);
    tabLayout->setSpacing(6);

    m_rbtnDNS = makeChild<QRadioButton>(tab, "m_rbtnDNS");
    m_rbtnSMTP = makeChild<QRadioButton>(tab, "m_rbtnSMTP");
    // The page sets the other button whenever one toggles; the buttons stay auto-exclusive
    // as well, so that a click on the chosen one does not switch it off and the other on.
    tabLayout->addWidget(m_rbtnDNS);
    tabLayout->addWidget(m_rbtnSMTP);

    TextLabel1_2 = makeChild<QLabel>(tab, "TextLabel1_2");
    TextLabel1 = makeChild<QLabel>(tab, "TextLabel1");
    m_editHostname = makeChild<QLineEdit>(tab, "m_editHostname");
    TextLabel1_3 = makeChild<QLabel>(tab, "TextLabel1_3");
    TextLabel2_3 = makeChild<QLabel>(tab, "TextLabel2_3");
    m_editPort = makeChild<QLineEdit>(tab, "m_editPort");
    m_btnDefault = makeChild<QPushButton>(tab, "m_btnDefault");
    auto* relay = new QGridLayout;
    relay->setSpacing(6);
    TextLabel1_2->setFixedWidth(20);
    TextLabel1_3->setFixedWidth(20);
    relay->addWidget(TextLabel1_2, 0, 0);
    relay->addWidget(TextLabel1, 0, 1);
    relay->addWidget(m_editHostname, 0, 2, 1, 2);
    relay->addWidget(TextLabel1_3, 1, 0);
    relay->addWidget(TextLabel2_3, 1, 1);
    relay->addWidget(m_editPort, 1, 2);
    relay->addWidget(m_btnDefault, 1, 3);
    relay->addItem(horizontalSpacer(), 1, 4);
    tabLayout->addLayout(relay);

    TextLabel2_2 = makeChild<QLabel>(tab, "TextLabel2_2");
    m_chkAuth = makeChild<QCheckBox>(tab, "m_chkAuth");
    auto* auth = new QHBoxLayout;
    auth->setSpacing(6);
    TextLabel2_2->setFixedWidth(20);
    auth->addWidget(TextLabel2_2);
    auth->addWidget(m_chkAuth);
    auth->addItem(horizontalSpacer());
    tabLayout->addLayout(auth);

    TextLabel3_2 = makeChild<QLabel>(tab, "TextLabel3_2");
    TextLabel2 = makeChild<QLabel>(tab, "TextLabel2");
    m_editUser = makeChild<QLineEdit>(tab, "m_editUser");
    TextLabel4 = makeChild<QLabel>(tab, "TextLabel4");
    TextLabel3 = makeChild<QLabel>(tab, "TextLabel3");
    m_editPassword = makeChild<QLineEdit>(tab, "m_editPassword");
    m_editPassword->setEchoMode(QLineEdit::Password);
    TextLabel4_2 = makeChild<QLabel>(tab, "TextLabel4_2");
    TextLabel3_3 = makeChild<QLabel>(tab, "TextLabel3_3");
    m_comboAuth = makeChild<ChoiceBox>(tab, "m_comboAuth");
    m_comboAuth->setEditable(false);
    // The authentication rows stand a second step further in, under the check box.
    TextLabel3_2->setFixedWidth(46);
    TextLabel4->setFixedWidth(46);
    TextLabel4_2->setFixedWidth(46);
    tabLayout->addLayout(indentedRow(TextLabel3_2, TextLabel2, m_editUser));
    tabLayout->addLayout(indentedRow(TextLabel4, TextLabel3, m_editPassword));
    tabLayout->addLayout(indentedRow(TextLabel4_2, TextLabel3_3, m_comboAuth));
    tabLayout->addItem(verticalSpacer());
    m_tabs->addTab(tab, QString());
}

void TWndSmtp::createOptionsTab()
{
    tab_2 = makeChild<QWidget>(m_tabs, "tab_2");
    tabLayout_2 = new QVBoxLayout(tab_2);
    tabLayout_2->setContentsMargins(11, 11, 11, 11);
    tabLayout_2->setSpacing(6);
    OptionsGrid = new QGridLayout;
    OptionsGrid->setSpacing(6);

    int row = 0;
    auto addRow = [this, &row](QLabel*& label, const char* labelName, QLineEdit*& field,
                               const char* fieldName, QComboBox** unit, const char* unitName) {
        label = makeChild<QLabel>(tab_2, labelName);
        field = makeChild<QLineEdit>(tab_2, fieldName);
        OptionsGrid->addWidget(label, row, 0);
        OptionsGrid->addWidget(field, row, 1);
        if (unit) {
            *unit = makeChild<ChoiceBox>(tab_2, unitName);
            (*unit)->setEditable(false);
            OptionsGrid->addWidget(*unit, row, 2);
        }
        ++row;
    };
    addRow(TextLabel21, "TextLabel21", m_editMessageSize, "m_editMessageSize", &m_comboKB, "m_comboKB");
    addRow(TextLabel22, "TextLabel22", m_editThreads, "m_editThreads", nullptr, nullptr);
    addRow(TextLabel23, "TextLabel23", m_editRetry, "m_editRetry", &m_comboSec, "m_comboSec");
    addRow(TextLabel24, "TextLabel24", m_editWarning, "m_editWarning", &m_comboWarn, "m_comboWarn");
    addRow(TextLabel25, "TextLabel25", m_editBounce, "m_editBounce", &m_comboMin, "m_comboMin");
    addRow(TextLabel26, "TextLabel26", m_editHops, "m_editHops", nullptr, nullptr);
    tabLayout_2->addLayout(OptionsGrid);

    m_chkUseSSL = makeChild<QCheckBox>(tab_2, "m_chkUseSSL");
    tabLayout_2->addWidget(m_chkUseSSL);
    tabLayout_2->addItem(verticalSpacer());
    m_tabs->addTab(tab_2, QString());
}

void TWndSmtp::setTexts()
{
    setWindowTitle(tr("SMTP"));
    m_tabs->setTabText(m_tabs->indexOf(tab), tr("Delivery"));
    m_tabs->setTabText(m_tabs->indexOf(tab_2), tr("Options"));
    m_rbtnDNS->setText(tr("Deliver directly using DNS &MX records"));
    m_rbtnSMTP->setText(tr("Use relay &SMTP server"));
    TextLabel1->setText(tr("Relay server hostname:"));
    TextLabel2_3->setText(tr("Relay server port:"));
    m_btnDefault->setText(tr("&Default"));
    m_chkAuth->setText(tr("Relay server requires au&thentication"));
    TextLabel2->setText(tr("User:"));
    TextLabel3->setText(tr("Password:"));
    TextLabel3_3->setText(tr("Authentication:"));
    m_comboAuth->addItems({tr("SMTP AUTH Command"), tr("POP3 before SMTP")});

    TextLabel21->setText(tr("SMTP maximum incoming message size (0 = unlimited):"));
    TextLabel22->setText(tr("Maximum number of delivery threads:"));
    TextLabel23->setText(tr("Delivery retry interval:"));
    TextLabel24->setText(tr("Send warning to sender if the message is not delivered after:"));
    TextLabel25->setText(tr("Return the message to sender if not delivered after:"));
    TextLabel26->setText(tr("Maximum number of accepted Received headers (hops):"));
    m_comboKB->addItems({tr("KB"), tr("MB")});
    for (QComboBox* unit : {m_comboSec, m_comboWarn, m_comboMin})
        unit->addItems({tr("minutes"), tr("hours"), tr("days")});
    m_chkUseSSL->setText(tr("Use SSL when available"));
}

void TWndSmtp::connectSignals()
{
    connect(m_chkAuth, &QCheckBox::toggled, this, &TWndSmtp::slotToggleAuth);
    for (QLineEdit* field : {m_editUser, m_editPassword, m_editMessageSize, m_editThreads,
                             m_editRetry, m_editWarning, m_editBounce, m_editHops})
        connect(field, &QLineEdit::textChanged, this, &TWndSmtp::slotChange);
    for (QComboBox* unit : {m_comboKB, m_comboSec, m_comboWarn, m_comboMin})
        connect(unit, &QComboBox::activated, this, &TWndSmtp::slotChange);
    connect(m_chkUseSSL, &QCheckBox::clicked, this, &TWndSmtp::slotChange);
    connect(m_rbtnDNS, &QRadioButton::toggled, this, &TWndSmtp::slotToggleDNS);
    connect(m_rbtnSMTP, &QRadioButton::toggled, this, &TWndSmtp::slotToggleSMTP);
    connect(m_editHostname, &QLineEdit::textChanged, this, &TWndSmtp::slotChange);
    connect(m_comboAuth, &QComboBox::activated, this, &TWndSmtp::slotChange);
    connect(m_btnDefault, &QPushButton::clicked, this, &TWndSmtp::slotDefault);
    connect(m_editPort, &QLineEdit::textChanged, this, &TWndSmtp::slotChange);
}

void TWndSmtp::slotDefault()
{
    notImplemented("TWndSmtp::slotDefault()");
}

void TWndSmtp::slotChange()
{
    notImplemented("TWndSmtp::slotChange()");
}

void TWndSmtp::slotToggleAuth(bool)
{
    notImplemented("TWndSmtp::slotToggleAuth(bool)");
}

void TWndSmtp::slotToggleDNS(bool)
{
    notImplemented("TWndSmtp::slotToggleDNS(bool)");
}

void TWndSmtp::slotToggleSMTP(bool)
{
    notImplemented("TWndSmtp::slotToggleSMTP(bool)");
}
