#include "wndsmtp.h"

#include "comboboxes.h"
#include "configcolumns.h"
#include "numberfields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The numbers the form's fields of the options take while typing.
constexpr qint64 HighestEntry = 1000000;

} // namespace

WndSmtp::WndSmtp(QWidget* parent, DBConn* conn, DBCtrl* ctrl, const char* name,
                 Qt::WindowFlags f)
    : TWndSmtp(parent, name, f)
    , ConfigPage(this, parent, conn, ctrl)
{
    if (!loadTables({{&m_smtp, "smtp", dbcol_smtp, EditedRow},
                     {&m_relay, "relay", dbcol_relay, EditedRow}}))
        return;
    acceptNumbers();
    bindCells();
    start(AllSignals);
}

void WndSmtp::bindCells()
{
    bindCell(m_smtp, "DeliveryMode", {m_rbtnDNS, m_rbtnSMTP});
    bindCell(m_relay, "ServerName", {m_editHostname});
    bindCell(m_relay, "ServerPort", {m_editPort});
    bindCell(m_relay, "AuthEnabled", {m_chkAuth});
    bindCell(m_relay, "AuthUser", {m_editUser});
    bindCell(m_relay, "AuthType", {m_comboAuth});
    for (const Amount& amount : amounts())
        bindCell(m_smtp, amount.column, {amount.field, amount.unit});
    bindCell(m_smtp, "MaxConcurrency", {m_editThreads});
    bindCell(m_smtp, "MaxHops", {m_editHops});
    bindCell(m_smtp, "ClientUseSSL", {m_chkUseSSL});
}

WndSmtp::~WndSmtp() = default;

QList<WndSmtp::Amount> WndSmtp::amounts() const
{
    return {{"MaxMessageSize", Units::sizeFactors(), m_editMessageSize, m_comboKB,
             tr("Maximum incoming message size")},
            {"QueueRetryInterval", Units::timeFactors(), m_editRetry, m_comboSec,
             tr("Delivery retry interval")},
            {"QueueNotifyTimeout", Units::timeFactors(), m_editWarning, m_comboWarn,
             tr("The time before a warning to the sender")},
            {"QueueBounceTimeout", Units::timeFactors(), m_editBounce, m_comboMin,
             tr("The time before the message returns to the sender")}};
}

qint64 WndSmtp::factorOf(const Amount& amount)
{
    return amount.factors.value(amount.unit->currentIndex(), amount.factors.first());
}

void WndSmtp::acceptNumbers()
{
    // The relay's port has no range of its own: it goes as typed, and the server decides.
    NumberFields::acceptAnyDigits(m_editPort);
    for (QLineEdit* field : {m_editMessageSize, m_editThreads, m_editRetry, m_editWarning,
                             m_editBounce, m_editHops})
        NumberFields::acceptDigits(field, HighestEntry);
}

void WndSmtp::showAmount(const Amount& amount)
{
    const Units::Shown shown = Units::show(cellNumber(m_smtp, amount.column), amount.factors);
    amount.field->setText(QString::number(shown.number));
    amount.unit->setCurrentIndex(shown.unit);
}

// The number shown in the unit shown, exactly. Left alone, the amount is what the server
// holds, though the field may show it rounded down to the unit; one the column cannot hold
// is held back, never cut.
void WndSmtp::writeAmount(const Amount& amount)
{
    const qint64 factor = factorOf(amount);
    if (isTouched(m_smtp, amount.column)
        && !NumberFields::fits(amount.field, factor, NumberFields::IntColumnTop)) {
        keepStored(m_smtp, amount.column);
        holdBack();
        return;
    }
    writeCell(m_smtp, amount.column,
              QString::number(NumberFields::shownNumber(amount.field) * factor));
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
    const QList<Amount> shown = amounts();
    showAmount(shown.at(0));
    m_editThreads->setText(cell(m_smtp, "MaxConcurrency"));
    for (const Amount& time : shown.mid(1))
        showAmount(time);
    m_editHops->setText(cell(m_smtp, "MaxHops"));
    m_chkUseSSL->setChecked(cellFlag(m_smtp, "ClientUseSSL"));
}

void WndSmtp::writeRows()
{
    writeFlag(m_smtp, "DeliveryMode", m_rbtnDNS->isChecked());
    writeCell(m_relay, "ServerName", m_editHostname->text());
    writeCell(m_relay, "ServerPort", m_editPort->text());
    writeCell(m_relay, "AuthUser", m_editUser->text());
    writePassword(m_relay, "AuthPass", m_editPassword);
    writeFlag(m_relay, "AuthEnabled", m_chkAuth->isChecked());
    writeCell(m_relay, "AuthType", QString::number(m_comboAuth->currentIndex()));
    const QList<Amount> written = amounts();
    writeAmount(written.at(0));
    writeCell(m_smtp, "MaxConcurrency", m_editThreads->text());
    for (const Amount& time : written.mid(1))
        writeAmount(time);
    writeCell(m_smtp, "MaxHops", m_editHops->text());
    writeFlag(m_smtp, "ClientUseSSL", m_chkUseSSL->isChecked());
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
    if (askAboutRelay())
        return;
    // Whatever the answers above: an amount the column cannot hold stops every apply, or
    // the rest of the page would go out without it.
    for (const Amount& amount : amounts()) {
        const qint64 factor = factorOf(amount);
        if (isTouched(m_smtp, amount.column)
            && stopAtBeyondColumn(amount.what, amount.field, factor, NumberFields::IntColumnTop,
                                  amount.unit->currentText()))
            return;
    }
}

// The relay's host name and port, then the user when it requires authentication; true when
// the apply is withdrawn.
bool WndSmtp::askAboutRelay()
{
    if (!m_rbtnSMTP->isChecked())
        return false;
    if (m_editHostname->text().isEmpty() || m_editPort->text().isEmpty()) {
        if (askToCorrect(tr("You should fill relay server hostname and port.\n"
                            "Do you want to correct the problem?"),
                         m_editHostname))
            return true;
    }
    if (!m_chkAuth->isChecked() || !m_editUser->text().isEmpty())
        return false;
    return askToCorrect(tr("You should user name.\nDo you want to correct the problem?"),
                        m_editUser);
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
