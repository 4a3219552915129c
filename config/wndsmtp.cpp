#include "wndsmtp.h"

#include "cellnumbers.h"
#include "comboboxes.h"
#include "configcolumns.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

WndSmtp::WndSmtp(QWidget* parent, DBConn* conn, DBCtrl* ctrl, const char* name,
                 Qt::WindowFlags f)
    : TWndSmtp(parent, name, f)
    , ConfigPage(this, parent, conn, ctrl)
{
    if (!loadTables({{&m_smtp, "smtp", dbcol_smtp, EditedRow},
                     {&m_relay, "relay", dbcol_relay, EditedRow}}))
        return;
    setValidators();
    start(AllSignals);
}

WndSmtp::~WndSmtp()
{
    delete m_validator;
}

void WndSmtp::setValidators()
{
    m_validator = new QIntValidator(0, 1000000, this);
    for (QLineEdit* field : {m_editMessageSize, m_editThreads, m_editRetry, m_editWarning,
                             m_editBounce, m_editHops})
        field->setValidator(m_validator);
}

void WndSmtp::showAmount(const char* column, const Units::Factors& factors, QLineEdit* field,
                         QComboBox* unit)
{
    const Units::Shown shown = Units::show(cellNumber(m_smtp, column), factors);
    field->setText(QString::number(shown.number));
    unit->setCurrentIndex(shown.unit);
}

void WndSmtp::writeAmount(const char* column, const Units::Factors& factors,
                          const QLineEdit* field, const QComboBox* unit)
{
    const qint64 factor = factors.value(unit->currentIndex(), factors.first());
    setCell(m_smtp, column,
            QString::number(Units::product(CellNumbers::leadingNumber(field->text()), factor)));
}

void WndSmtp::updateData()
{
    if (cellFlag(m_smtp, "DeliveryMode"))
        m_rbtnDNS->setChecked(true);
    else
        m_rbtnSMTP->setChecked(true);
    m_editHostname->setText(cell(m_relay, "ServerName"));
    m_editPort->setText(cell(m_relay, "ServerPort"));
    m_chkAuth->setChecked(cellFlag(m_relay, "AuthEnabled"));
    m_editUser->setText(cell(m_relay, "AuthUser"));
    showPlaceholder(m_editPassword);
    ComboBoxes::setCurrentItem(m_comboAuth, int(cellNumber(m_relay, "AuthType")));
    showAmount("MaxMessageSize", Units::sizeFactors(), m_editMessageSize, m_comboKB);
    m_editThreads->setText(cell(m_smtp, "MaxConcurrency"));
    showAmount("QueueRetryInterval", Units::timeFactors(), m_editRetry, m_comboSec);
    showAmount("QueueNotifyTimeout", Units::timeFactors(), m_editWarning, m_comboWarn);
    showAmount("QueueBounceTimeout", Units::timeFactors(), m_editBounce, m_comboMin);
    m_editHops->setText(cell(m_smtp, "MaxHops"));
    m_chkUseSSL->setChecked(cellFlag(m_smtp, "ClientUseSSL"));
}

void WndSmtp::writeRows()
{
    setFlag(m_smtp, "DeliveryMode", m_rbtnDNS->isChecked());
    setCell(m_relay, "ServerName", m_editHostname->text());
    // The column holds 16 bits: a number beyond them would be stored cut. Such a port is
    // not written; the check before Apply asks for it.
    if (m_editPort->text().isEmpty() || Units::isPort(m_editPort->text()))
        setCell(m_relay, "ServerPort", m_editPort->text());
    setCell(m_relay, "AuthUser", m_editUser->text());
    writePassword(m_relay, "AuthPass", m_editPassword);
    setFlag(m_relay, "AuthEnabled", m_chkAuth->isChecked());
    setCell(m_relay, "AuthType", QString::number(m_comboAuth->currentIndex()));
    writeAmount("MaxMessageSize", Units::sizeFactors(), m_editMessageSize, m_comboKB);
    setCell(m_smtp, "MaxConcurrency", m_editThreads->text());
    writeAmount("QueueRetryInterval", Units::timeFactors(), m_editRetry, m_comboSec);
    writeAmount("QueueNotifyTimeout", Units::timeFactors(), m_editWarning, m_comboWarn);
    writeAmount("QueueBounceTimeout", Units::timeFactors(), m_editBounce, m_comboMin);
    setCell(m_smtp, "MaxHops", m_editHops->text());
    setFlag(m_smtp, "ClientUseSSL", m_chkUseSSL->isChecked());
}

void WndSmtp::updateObject()
{
    const bool relay = m_rbtnSMTP->isChecked();
    const bool auth = relay && m_chkAuth->isChecked();
    for (QWidget* widget : {static_cast<QWidget*>(m_editHostname), static_cast<QWidget*>(m_editPort),
                            static_cast<QWidget*>(m_btnDefault), static_cast<QWidget*>(m_chkAuth)})
        widget->setEnabled(relay);
    for (QWidget* widget : {static_cast<QWidget*>(m_editUser), static_cast<QWidget*>(m_editPassword),
                            static_cast<QWidget*>(m_comboAuth)})
        widget->setEnabled(auth);
}

void WndSmtp::slotBeforeApply()
{
    if (m_rbtnSMTP->isChecked()) {
        if (m_editHostname->text().isEmpty() || m_editPort->text().isEmpty()) {
            if (askToCorrect(tr("You should fill relay server hostname and port.\n"
                                "Do you want to correct the problem?"),
                             m_editHostname))
                return;
        }
    }
    // Asked whatever the delivery mode: a port the row does not take would otherwise stay
    // on screen as if it had been sent.
    if (!m_editPort->text().isEmpty() && !Units::isPort(m_editPort->text())) {
        // In DNS mode the port field is disabled: the way to it is the relay choice.
        QWidget* correct = m_rbtnSMTP->isChecked() ? static_cast<QWidget*>(m_editPort)
                                                   : static_cast<QWidget*>(m_rbtnSMTP);
        if (askToCorrect(tr("Relay server port must be a number from 0 to 65535.\n"
                            "Do you want to correct the problem?"),
                         correct))
            return;
    }
    if (!m_rbtnSMTP->isChecked() || !m_chkAuth->isChecked())
        return;
    if (m_editUser->text().isEmpty())
        askToCorrect(tr("You should user name.\nDo you want to correct the problem?"), m_editUser);
}

// An apply the administrator let go on with a port that was not written: the field shows
// the port the server holds.
void WndSmtp::slotApply()
{
    ConfigPage::slotApply();
    const QString stored = cell(m_relay, "ServerPort");
    if (m_editPort->text() != stored)
        showUnwritten([this, &stored] { m_editPort->setText(stored); });
}

void WndSmtp::slotToggleDNS(bool on)
{
    m_rbtnSMTP->setChecked(!on);
    slotChange();
    updateObject();
}

void WndSmtp::slotToggleSMTP(bool on)
{
    m_rbtnDNS->setChecked(!on);
    slotChange();
    updateObject();
}

void WndSmtp::slotToggleAuth(bool)
{
    slotChange();
    updateObject();
}

void WndSmtp::slotChange()
{
    handChangeIn();
}

void WndSmtp::slotDefault()
{
    m_editPort->setText(QStringLiteral("25"));
}
