#pragma once

#include "dialogseam.h"
#include "tdlgsched.h"
#include "untouchedfields.h"

#include <QString>

class DBConn;
class DBCtrl;
class DBTable;

// The "Scheduled Action" dialog. WndSched fills it from a scheduled action and writes it
// back when it is accepted. The time field means an interval for "Every", a number field
// written as typed (NumberFields: only a number the column cannot hold in the unit shown
// keeps the dialog open on OK, whatever the answers before it), and a time of day for "At",
// H:MM or HH:MM (a malformed one keeps the dialog open on OK, whatever the answer to its
// question); it keeps the text typed for each mode, so switching back and forth loses
// nothing. OK checks the time as shown, also one left as the server holds it; once OK is
// accepted, a time left alone is written back unchanged.
// "&Edit..." opens the time ranges and reloads the page's copy of them.
class DlgSched : public TDlgSched
{
    Q_OBJECT

public:
    // The time ranges table belongs to the page and may be null; ctrl is kept only.
    DlgSched(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags,
             DBConn* conn, DBCtrl* ctrl, DBTable* times);
    ~DlgSched() override;

    // The range chosen when the dialog opens, chosen again after the ranges are reloaded.
    // A name the ranges do not hold (any more) stays a choosable entry, so that OK on an
    // untouched dialog keeps it.
    void setTimeint(const QString& name);
    // 0 ("Every") shows the unit, 1 ("At") the "(hh:mm)" hint; other modes change nothing.
    void updateEveryAt(int mode);
    // Whether the scheduled action is one the server does not hold yet: then OK writes what
    // every field shows (UntouchedFields).
    void setNewRow(bool newRow);

    QString m_everyText; // the time field's text for "Every"
    QString m_atText;    // the time field's text for "At"
    // What the scheduled action stored for the fields that show it only as well as they
    // can (time, actions, dial-up), remembered by whoever fills the dialog.
    UntouchedFields m_untouched;

public slots:
    void slotAlwaysToggled(bool on) override;
    void slotEdit() override;
    void slotEveryAtActivated(int item) override;
    void slotOK() override;
    void slotTimeIntToggled(bool on) override;
    void slotValidChecked() override;

private:
    void acceptInterval();
    bool timeTextIsWrong() const;
    Dialogs::Button ask(const QString& question);
    void keepOnTheTime();
    bool administratorCorrects(const QString& question);
    bool intervalIsAccepted();
    bool reloadTimes();
    void fillRanges();

    QString m_timeint;
    QWidget* m_parent;
    DBCtrl* m_ctrl;
    DBConn* m_conn;
    DBTable* m_times;
};
