#include "inputblocker.h"

#include <QApplication>
#include <QEvent>
#include <QList>
#include <QMouseEvent>
#include <QThread>
#include <QTimer>
#include <QWindow>

namespace {

enum class Handling {
    Pass,
    SwallowAccepted, // accepted, so the toolkit does not offer it to the parents
    SwallowRefused,  // left unaccepted: a refused close, a rejected drag, a free shortcut
};

Handling handlingOf(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseMove:
        // A move without buttons only hovers; a move with a button held drags.
        return static_cast<const QMouseEvent *>(event)->buttons() == Qt::NoButton
                   ? Handling::Pass
                   : Handling::SwallowAccepted;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::NativeGesture:
        return Handling::SwallowAccepted;
    case QEvent::Close:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    // Unaccepted, the shortcut map still looks for a shortcut for the key: the
    // indicator's own mnemonic works, every other shortcut is swallowed on delivery.
    case QEvent::ShortcutOverride:
        return Handling::SwallowRefused;
    default:
        return Handling::Pass;
    }
}

bool isWithin(const QWidget *widget, const QWidget *ancestor)
{
    if (!ancestor)
        return false;
    // Across window borders too, so that a popup opened from an allowed widget works.
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        if (w == ancestor)
            return true;
    }
    return false;
}

QWidget *nearestWidget(QObject *object)
{
    for (QObject *o = object; o; o = o->parent()) {
        if (o->isWidgetType())
            return static_cast<QWidget *>(o);
    }
    return nullptr;
}

bool backsWidget(const QWindow *window)
{
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (const QWidget *top : tops) {
        if (top->windowHandle() == window)
            return true;
    }
    return false;
}

// The single application event filter shared by all blockers; it exists while at least
// one blocker does.
class BlockFilter : public QObject
{
public:
    QList<const InputBlocker *> blockers; // innermost last
    QList<QPointer<QWidget>> refusedCloses;
    int loopLevelAtStart = 0; // of the outermost blocker

    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        const Handling handling = handlingOf(event);
        if (handling == Handling::Pass || receivesInput(receiver))
            return false;

        if (handling == Handling::SwallowAccepted)
            event->accept();
        else
            event->ignore();
        if (event->type() == QEvent::Close)
            rememberClose(receiver);
        return true;
    }

private:
    bool receivesInput(QObject *receiver) const
    {
        // The toolkit hands a window's input on to its widgets, which are judged then.
        if (receiver->isWindowType())
            return backsWidget(static_cast<QWindow *>(receiver));

        const QWidget *widget = nearestWidget(receiver);
        if (!widget)
            return false;
        const InputBlocker *innermost = blockers.constLast();
        if (isWithin(widget, innermost->allowed()))
            return true;
        const QWidget *modal = QApplication::activeModalWidget();
        return modal && modal != innermost->modalAtStart() && isWithin(widget, modal);
    }

    void rememberClose(QObject *receiver)
    {
        if (!receiver->isWidgetType())
            return;
        QWidget *widget = static_cast<QWidget *>(receiver);
        if (!refusedCloses.contains(widget))
            refusedCloses.append(widget);
    }
};

BlockFilter *theFilter = nullptr; // GUI thread only

// How often a close that waits to be asked again looks whether its moment has come.
constexpr int CloseRetryMs = 10;

int loopLevel()
{
    return QThread::currentThread()->loopLevel();
}

// Asks widget to close once the code that waited has returned to the event loop it
// waited in: not while a box or dialog it opened after the wait runs (a deeper loop), nor
// while a further wait holds input back, so that the close never comes under code of the
// window. The timer is the widget's child and goes with it.
void askToCloseAgain(QWidget *widget, int loopLevelAtStart)
{
    // One request is enough, however many waits swallowed one.
    const QString retryName = QStringLiteral("closeAskedAgain");
    if (widget->findChild<QTimer *>(retryName, Qt::FindDirectChildrenOnly))
        return;
    auto *retry = new QTimer(widget);
    retry->setObjectName(retryName);
    retry->setInterval(CloseRetryMs);
    const QPointer<QWidget> closing(widget);
    QObject::connect(retry, &QTimer::timeout, retry, [retry, closing, loopLevelAtStart] {
        if (loopLevel() > loopLevelAtStart || InputBlocker::isBlocking())
            return;
        retry->stop();
        retry->deleteLater();
        if (closing)
            closing->close();
    });
    retry->start();
}

} // namespace

InputBlocker::InputBlocker(QWidget *allowed)
    : m_allowed(allowed)
    , m_modalAtStart(QApplication::activeModalWidget())
{
    Q_ASSERT(qApp && QThread::currentThread() == qApp->thread());
    if (!theFilter) {
        theFilter = new BlockFilter;
        theFilter->loopLevelAtStart = loopLevel();
        qApp->installEventFilter(theFilter);
    }
    theFilter->blockers.append(this);
}

InputBlocker::~InputBlocker()
{
    Q_ASSERT(theFilter);
    theFilter->blockers.removeOne(this);
    if (!theFilter->blockers.isEmpty())
        return;

    const QList<QPointer<QWidget>> refusedCloses = theFilter->refusedCloses;
    const int loopLevelAtStart = theFilter->loopLevelAtStart;
    if (qApp)
        qApp->removeEventFilter(theFilter);
    delete theFilter;
    theFilter = nullptr;
    for (const QPointer<QWidget> &widget : refusedCloses) {
        if (widget)
            askToCloseAgain(widget, loopLevelAtStart);
    }
}

bool InputBlocker::isBlocking()
{
    return theFilter != nullptr;
}
