#include "dlgsched.h"

#include "comboboxes.h"
#include "dbtable.h"
#include "deliverytexts.h"
#include "dialogseam.h"
#include "dlgtimeintex.h"
#include "numberfields.h"
#include "schedtimes.h"
#include "scopedqpointer.h"
#include "timeintervals.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <utility>

DlgSched::DlgSched(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags,
                   DBConn* conn, DBCtrl* ctrl, DBTable* times)
    : TDlgSched(parent, name, modal, flags)
    , m_everyText(QStringLiteral("0"))
    , m_atText(QStringLiteral("0:00"))
    , m_parent(parent)
    , m_ctrl(ctrl)
    , m_conn(conn)
    , m_times(times)
{
    m_editDesc->setFocus();
    // The form opens on "Every".
    acceptInterval();
}

// An interval is a number field with no range of its own, written as typed; a time of day is
// a text of its own.
void DlgSched::acceptInterval()
{
    NumberFields::acceptAnyDigits(m_edit);
}

DlgSched::~DlgSched() = default;

void DlgSched::setTimeint(const QString& name)
{
    m_timeint = name;
    fillRanges();
}

void DlgSched::fillRanges()
{
    if (!m_times)
        return;
    fillComboFromTime(m_times, m_combo, m_timeint, true);
    if (!m_timeint.isEmpty())
        ComboBoxes::setCurrentText(m_combo, m_timeint);
}

void DlgSched::updateEveryAt(int mode)
{
    if (mode != 0 && mode != 1)
        return;
    m_comboMin->setVisible(mode == 0);
    m_label->setVisible(mode == 1);
    if (mode == 0)
        acceptInterval();
    else
        m_edit->setValidator(nullptr);
}

void DlgSched::slotAlwaysToggled(bool on)
{
    if (!on)
        m_combo->setEnabled(true);
}

void DlgSched::slotTimeIntToggled(bool on)
{
    if (on)
        m_combo->setEnabled(true);
}

void DlgSched::slotEveryAtActivated(int item)
{
    if (item == 0) {
        m_atText = m_edit->text();
        m_edit->setText(m_everyText);
    } else if (item == 1) {
        m_everyText = m_edit->text();
        m_edit->setText(m_atText);
    }
    updateEveryAt(item);
}

void DlgSched::slotValidChecked()
{
    const bool on = m_chkValid->isChecked();
    m_combo->setEnabled(on);
    m_btnEdit->setEnabled(on);
}

void DlgSched::setNewRow(bool newRow)
{
    m_untouched.setNewRow(newRow);
}

bool DlgSched::timeTextIsWrong() const
{
    return m_edit->text().isEmpty()
           || (m_comboEveryAt->currentIndex() == 1 && !isTimeFormatOK(m_edit->text()));
}

Dialogs::Button DlgSched::ask(const QString& question)
{
    // Without a parent: the window system places it, not over the dialog.
    return Dialogs::information(nullptr, tr("Ornel Corvane Administration"), question,
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

// "No" would go on with a time nobody typed: a malformed one stored as 00:00, or "1234"
// read as 01:34. Whatever the answer, the administrator stays on the field.
void DlgSched::keepOnTheTime()
{
    const QPointer<DlgSched> self(this);
    ask(tr("You should fill time field in the format 12:34.\nDo you want to correct the problem?"));
    if (self)
        m_edit->setFocus();
}

bool DlgSched::administratorCorrects(const QString& question)
{
    const QPointer<DlgSched> self(this);
    const bool corrects = ask(question) != QMessageBox::No;
    // A dialog that went away under the box goes on with nothing.
    if (!self)
        return true;
    if (corrects)
        m_edit->setFocus();
    return corrects;
}

bool DlgSched::intervalIsAccepted()
{
    // The time column holds minutes in 32 bits: an interval beyond them keeps the dialog
    // open, whatever the answers before.
    const QPointer<DlgSched> self(this);
    const qint64 minutesPerUnit = m_comboMin->currentIndex() == 1 ? 60 : 1;
    if (!NumberFields::confirmFits(tr("Interval"), m_edit, minutesPerUnit,
                                   NumberFields::IntColumnTop, m_comboMin->currentText())
        || !self)
        return false;
    // A negative interval would make the server repeat the action without pause, as 0 would.
    if (DeliveryTexts::leadingInt(m_edit->text()) <= 0) {
        Dialogs::warning(nullptr, tr("Ornel Corvane Administration"),
                         tr("It is not possible to repeat action(s) after 0 seconds! Set different interval!"),
                         QMessageBox::Ok);
        // On to the interval to set, as after every question about the time.
        if (self)
            m_edit->setFocus();
        return false;
    }
    return true;
}

void DlgSched::slotOK()
{
    // The checks look at what the dialog shows, whether the administrator changed it or not:
    // a stored time that cannot be shown as one (an unknown mode, -1, 24:00) or an interval
    // of 0 must be corrected before anything goes out.
    if (timeTextIsWrong()) {
        keepOnTheTime();
        return;
    }
    if (!m_chkSend->isChecked() && !m_chkReceive->isChecked() && !m_chkOdmr->isChecked()
        && administratorCorrects(tr("There's no action specified.\nDo you want to correct the problem?")))
        return;
    if (m_comboEveryAt->currentIndex() == 0 && !intervalIsAccepted())
        return;
    accept();
}

bool DlgSched::reloadTimes()
{
    // Into a table of its own first: a refused reload leaves the page's ranges as they were.
    DBTable reloaded;
    if (!reloaded.select(m_parent, m_conn, "TimeIntervals", dbcol_time, DBTable::ReportRefusal))
        return false;
    m_times->swap(reloaded);
    return true;
}

void DlgSched::slotEdit()
{
    ScopedQPointer<DlgTimeIntEx> dialog(
        new DlgTimeIntEx(this, nullptr, true, {}, m_conn, m_combo->currentText()));
    const int result = Dialogs::exec(dialog.get());
    if (!m_times)
        return;
    if (result != QDialog::Accepted) {
        m_times->reset();
        return;
    }
    if (reloadTimes())
        fillRanges();
}
