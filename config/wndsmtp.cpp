#include "wndsmtp.h"

#include "cellnumbers.h"
#include "comboboxes.h"
#include "configcolumns.h"
#include "numberfields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The numbers the form's fields take; the port is the column's.
constexpr qint64 HighestEntry = 1000000;
constexpr qint64 HighestPort = 65535;

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
    start(AllSignals);
}

WndSmtp::~WndSmtp() = default;

void WndSmtp::acceptNumbers()
{
    NumberFields::acceptDigits(m_editPort, 0, HighestPort);
    for (QLineEdit* field : {m_editMessageSize, m_editThreads, m_editRetry, m_editWarning,
                             m_editBounce, m_editHops})
        NumberFields::acceptDigits(field, 0, HighestEntry);
}

// An amount's number goes up to what the column holds in the unit chosen.
void WndSmtp::limitAmount(QLineEdit* field, const Units::Factors& factors, const QComboBox* unit)
{
    const qint64 factor = factors.value(unit->currentIndex(), factors.first());
    NumberFields::setRange(field, 0, qMin(HighestEntry, Units::IntColumnMaximum / factor));
}

void WndSmtp::showAmount(const char* column, const Units::Factors& factors, QLineEdit* field,
                         QComboBox* unit)
{
    const Units::Shown shown = Units::show(cellNumber(m_smtp, column), factors);
    field->setText(QString::number(shown.number));
    unit->setCurrentIndex(shown.unit);
    limitAmount(field, factors, unit);
}

// The number shown in the unit shown, exactly; a number the column cannot hold in that unit
// is left out, as any number field's. Left alone, the amount is what the server holds.
void WndSmtp::writeAmount(const char* column, const Units::Factors& factors,
                          QLineEdit* field, const QComboBox* unit)
{
    limitAmount(field, factors, unit);
    if (showsStoredAmount(column, factors, field, unit)) {
        keepStored(m_smtp, column);
        return;
    }
    if (!amountWritable(column, factors, field, unit)) {
        keepStored(m_smtp, column);
        noteLeftOut();
        return;
    }
    const qint64 factor = factors.value(unit->currentIndex(), factors.first());
    setCell(m_smtp, column, QString::number(Units::product(field->text().toLongLong(), factor)));
}

// Whether the number and the unit are those showAmount() gives what the server holds.
bool WndSmtp::showsStoredAmount(const char* column, const Units::Factors& factors,
                                const QLineEdit* field, const QComboBox* unit)
{
    const Units::Shown stored
        = Units::show(CellNumbers::leadingNumber(storedCell(m_smtp, column)), factors);
    return field->text() == QString::number(stored.number) && unit->currentIndex() == stored.unit;
}

bool WndSmtp::amountWritable(const char* column, const Units::Factors& factors,
                             const QLineEdit* field, const QComboBox* unit)
{
    return showsStoredAmount(column, factors, field, unit) || field->text().isEmpty()
           || NumberFields::holdsNumber(field);
}

bool WndSmtp::askAboutAmount(const QString& what, const char* column,
                             const Units::Factors& factors, QLineEdit* field,
                             const QComboBox* unit)
{
    if (amountWritable(column, factors, field, unit))
        return false;
    return askToCorrect(NumberFields::rangeQuestion(what, field, unit->currentText()), field);
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
    // The column holds 16 bits: a number beyond them would be stored cut.
    writeNumber(m_relay, "ServerPort", m_editPort);
    setCell(m_relay, "AuthUser", m_editUser->text());
    writePassword(m_relay, "AuthPass", m_editPassword);
    setFlag(m_relay, "AuthEnabled", m_chkAuth->isChecked());
    setCell(m_relay, "AuthType", QString::number(m_comboAuth->currentIndex()));
    writeAmount("MaxMessageSize", Units::sizeFactors(), m_editMessageSize, m_comboKB);
    writeNumber(m_smtp, "MaxConcurrency", m_editThreads);
    writeAmount("QueueRetryInterval", Units::timeFactors(), m_editRetry, m_comboSec);
    writeAmount("QueueNotifyTimeout", Units::timeFactors(), m_editWarning, m_comboWarn);
    writeAmount("QueueBounceTimeout", Units::timeFactors(), m_editBounce, m_comboMin);
    writeNumber(m_smtp, "MaxHops", m_editHops);
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
    const bool relay = m_rbtnSMTP->isChecked();
    if (relay && (m_editHostname->text().isEmpty() || m_editPort->text().isEmpty())) {
        if (askToCorrect(tr("You should fill relay server hostname and port.\n"
                            "Do you want to correct the problem?"),
                         m_editHostname))
            return;
    }
    // Asked whatever the delivery mode: a port the row does not take would otherwise stay
    // on screen as if it had been sent. In DNS mode the port field is disabled: the way to
    // it is the relay choice.
    QWidget* toPort = relay ? static_cast<QWidget*>(m_editPort) : static_cast<QWidget*>(m_rbtnSMTP);
    if (askAboutNumber(tr("Relay server port"), m_editPort, toPort))
        return;
    if (relay && m_chkAuth->isChecked() && m_editUser->text().isEmpty()) {
        if (askToCorrect(tr("You should user name.\nDo you want to correct the problem?"), m_editUser))
            return;
    }
    if (askAboutAmount(tr("Maximum incoming message size"), "MaxMessageSize",
                       Units::sizeFactors(), m_editMessageSize, m_comboKB)
        || askAboutNumber(tr("Maximum number of delivery threads"), m_editThreads)
        || askAboutAmount(tr("Delivery retry interval"), "QueueRetryInterval",
                          Units::timeFactors(), m_editRetry, m_comboSec)
        || askAboutAmount(tr("The time before a warning to the sender"), "QueueNotifyTimeout",
                          Units::timeFactors(), m_editWarning, m_comboWarn)
        || askAboutAmount(tr("The time before the message returns to the sender"),
                          "QueueBounceTimeout", Units::timeFactors(), m_editBounce, m_comboMin))
        return;
    askAboutNumber(tr("Maximum number of accepted Received headers"), m_editHops);
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
