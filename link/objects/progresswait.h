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
// lasted about 450 ms the WndProgress panel with the text and "&Abort" shows, over the
// parent given (or where WndProgress::placementFor puts it), and stays up as WndProgress
// says. Until that moment the wait costs no widget: the panel is made only then.
//
// Whoever waits makes one on the stack, runs the event loop, checks aborted() and lets
// it go when the wait ends. The panel may go earlier with the widget it stands over;
// the input stays held back until the wait ends all the same.
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
