#pragma once

#include "inputblocker.h"
#include "scopedqpointer.h"
#include "wndprogress.h"

#include <QBasicTimer>
#include <QObject>
#include <QPointer>
#include <QString>

// The wait indicator of one wait, as the administrator meets it: user input to the
// interface is held back from the start to the end of the wait, and once the wait has
// lasted about 450 ms the WndProgress panel with the text and "&Abort" shows where
// WndProgress::placementFor puts it: over the parent given, or on the modal dialog the
// wait began under when that parent lies below it. It stays up as WndProgress says.
// Until that moment the wait costs no widget: the panel is made only then.
//
// Whoever waits makes one on the stack, runs the event loop, checks aborted() and lets
// it go when the wait ends. The panel may go earlier with the widget it stands over;
// the input stays held back until the wait ends all the same.
//
// One indicator stands for every wait under it: a series of requests (an apply) keeps
// one up across them, and a wait that names no indicator of its own makes none while one
// stands (see isStanding()), so that the administrator never sees two.
//
// GUI thread only. Not copyable.
class ProgressWait : public QObject
{
public:
    ProgressWait(QWidget *parent, const QString &text);
    ~ProgressWait() override;

    // Whether "&Abort" was chosen.
    bool aborted() const;
    // The panel, once it has been made and while it exists.
    WndProgress *panel() const { return m_panel.get(); }

    // Whether an indicator exists at present.
    static bool isStanding();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void showPanel();

    InputBlocker m_block;
    QPointer<QWidget> m_parent;
    const QString m_text;
    QBasicTimer m_showTimer;
    // Made at the showing moment; a child of the widget it stands over, so it may
    // go first.
    ScopedQPointer<WndProgress> m_panel;
};
