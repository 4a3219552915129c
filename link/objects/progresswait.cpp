#include "progresswait.h"

#include "wndprogress.h"

#include <QTimerEvent>

namespace {

int standing = 0; // GUI thread only

} // namespace

ProgressWait::ProgressWait(QWidget *parent, const QString &text)
    : m_parent(parent)
    , m_text(text)
{
    // Never early, as the panel's own ticks.
    m_showTimer.start(WndProgress::showingDelayMs(), Qt::PreciseTimer, this);
    ++standing;
}

ProgressWait::~ProgressWait()
{
    --standing;
    // The panel lingers in its destructor while the input is still held back.
    m_panel.reset();
}

bool ProgressWait::isStanding()
{
    return standing > 0;
}

bool ProgressWait::aborted() const
{
    return m_panel && m_panel->aborted();
}

void ProgressWait::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_showTimer.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    m_showTimer.stop();
    showPanel();
}

void ProgressWait::showPanel()
{
    // A parent that went meanwhile counts as none. A dialog that opened during the wait
    // (a box raised from a timer) takes its input without the panel: it would take the
    // panel with it as it closes.
    QWidget *place = WndProgress::placementFor(m_parent, m_block.modalAtStart());
    m_panel.reset(new WndProgress(place, m_text, m_block));
}
