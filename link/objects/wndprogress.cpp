#include "wndprogress.h"

#include "inputblocker.h"
#include "keyedpixmap.h"
#include "waitscope.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int TickMs = 50;
constexpr int TicksPerFrame = 3;
constexpr int FrameCount = 9;
constexpr int ShowTick = 9;     // about 450 ms
constexpr int LingerUntilTick = 20; // about one second
// A frame at every third tick from the first on: anim_01 to anim_03 by the showing.
constexpr int FramesBeforeShowing = (ShowTick + TicksPerFrame - 1) / TicksPerFrame;

QPointer<QWidget> &defaultParentSlot()
{
    static QPointer<QWidget> parent;
    return parent;
}

QWidget *orDefaultParent(QWidget *parent)
{
    return parent ? parent : WndProgress::defaultParent();
}

// The widget itself or the nearest of its ancestors on screen; the default parent when
// none is and it is; else the widget or, for none, the default parent.
QWidget *shownPlaceFor(QWidget *given)
{
    QWidget *preferred = orDefaultParent(given);
    for (QWidget *w = preferred; w; w = w->parentWidget()) {
        if (w->isVisible())
            return w;
    }
    QWidget *mainWindow = WndProgress::defaultParent();
    if (mainWindow && mainWindow->isVisible())
        return mainWindow;
    return preferred;
}

// Across window borders: a dialog opened over another lies within it.
bool liesWithin(const QWidget *widget, const QWidget *window)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (w == window)
            return true;
    }
    return false;
}

// The modal window still up that dialog was, or that it was opened over: once the dialog
// in front is gone, the one it covered takes the clicks again.
QWidget *modalStillUp(QWidget *dialog)
{
    for (QWidget *w = dialog ? dialog->window() : nullptr; w;
         w = w->parentWidget() ? w->parentWidget()->window() : nullptr) {
        if (w->isVisible() && w->isModal())
            return w;
    }
    return nullptr;
}

QString frameResource(int frame)
{
    return QStringLiteral(":/anim_%1.png").arg(frame, 2, 10, QLatin1Char('0'));
}

} // namespace

WndProgress::WndProgress(QWidget *parent, const QString &text)
    : QFrame(orDefaultParent(parent))
{
    buildPanel(text);
    startTicking();
    m_inputBlock = std::make_unique<InputBlocker>(this);
}

WndProgress::WndProgress(QWidget *parent, const QString &text, InputBlocker &waitBlock)
    : QFrame(parent)
{
    buildPanel(text);
    m_ticks = ShowTick;
    m_frames = FramesBeforeShowing;
    showFrame(m_frames % FrameCount);
    startTicking();
    waitBlock.setAllowed(this);
    centreAndShow();
}

void WndProgress::buildPanel(const QString &text)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    // Over its parent's contents the panel needs a background of its own.
    setAutoFillBackground(true);

    m_outerLayout = new QHBoxLayout(this);
    m_outerLayout->setSpacing(6);
    m_outerLayout->setContentsMargins(11, 11, 11, 11);

    m_textLayout = new QVBoxLayout;
    m_textLayout->setSpacing(6);
    m_textLayout->setContentsMargins(0, 0, 0, 0);
    m_outerLayout->addLayout(m_textLayout);

    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("txtPixmap"));
    m_picture->setScaledContents(false);
    m_outerLayout->addWidget(m_picture);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("txtLabel"));
    m_label->setTextFormat(Qt::AutoText);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setText(text);
    m_textLayout->addWidget(m_label);
    m_textLayout->addItem(new QSpacerItem(20, 20, QSizePolicy::Minimum, QSizePolicy::Expanding));

    m_buttonLayout = new QHBoxLayout;
    m_buttonLayout->setSpacing(6);
    m_buttonLayout->setContentsMargins(0, 0, 0, 0);
    m_buttonLayout->addItem(new QSpacerItem(20, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_abortButton = new QPushButton(this);
    m_abortButton->setObjectName(QStringLiteral("btnAbort"));
    m_abortButton->setText(tr("&Abort"));
    m_buttonLayout->addWidget(m_abortButton);
    m_buttonLayout->addItem(new QSpacerItem(20, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_textLayout->addLayout(m_buttonLayout);

    resize(250, 102);

    connect(m_abortButton, &QPushButton::clicked, this, &WndProgress::slotAbort);
}

void WndProgress::startTicking()
{
    m_timer = new QTimer(this);
    // Never early: "not shown before 450 ms" and "up for a second" are lower bounds.
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &WndProgress::slotTimer);
    m_timer->start(TickMs);
}

WndProgress::~WndProgress()
{
    if (!m_aborted && m_ticks >= ShowTick && m_ticks < LingerUntilTick)
        lingerUntilRead();
    m_timer->stop();
    m_inputBlock.reset();
}

void WndProgress::setDefaultParent(QWidget *parent)
{
    defaultParentSlot() = parent;
}

QWidget *WndProgress::defaultParent()
{
    return defaultParentSlot();
}

QWidget *WndProgress::placementFor(QWidget *given, QWidget *modalDialog)
{
    QWidget *shown = shownPlaceFor(given);
    QWidget *front = modalStillUp(modalDialog);
    if (front && !liesWithin(shown, front))
        return front;
    return shown;
}

int WndProgress::showingDelayMs()
{
    return ShowTick * TickMs;
}

void WndProgress::slotTimer()
{
    if (m_ticks % TicksPerFrame == 0) {
        ++m_frames;
        showFrame(m_frames % FrameCount);
    }
    ++m_ticks;
    if (m_ticks == ShowTick && !m_aborted)
        centreAndShow();
}

void WndProgress::slotAbort()
{
    m_aborted = true;
    hide();
}

void WndProgress::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

void WndProgress::showFrame(int frame)
{
    const QImage image(frameResource(frame));
    if (image.isNull())
        return;
    m_picture->setPixmap(keyedPixmap(QPixmap::fromImage(image)));
}

void WndProgress::centreAndShow()
{
    // Settle the size first: as a window the panel grows to what its layout needs.
    m_outerLayout->activate();

    QRect reference;
    if (parentWidget())
        reference = parentWidget()->rect();
    else if (const QScreen *screen = QGuiApplication::primaryScreen())
        reference = screen->geometry();
    move(reference.x() + reference.width() / 2 - width() / 2,
         reference.y() + reference.height() / 2 - height() / 2);
    show();
    raise();
}

// Runs from the destructor; the input block is still in place, so nothing the
// administrator does can destroy the parent meanwhile, and as a wait on the stack it
// keeps the host from destroying it. The panel's own ticks end each sleep in the event
// dispatcher.
void WndProgress::lingerUntilRead()
{
    const WaitScope onStack;
    while (!m_aborted && m_ticks < LingerUntilTick)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
