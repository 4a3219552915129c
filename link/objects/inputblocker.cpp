#include "inputblocker.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
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
    // Unaccepted, the shortcut map still looks for a shortcut for the key, and every
    // shortcut it finds is swallowed on delivery. A key that a button of the allowed
    // widget answers never gets that far (see BlockFilter::pressAllowedButton).
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

// The top-level widget that window shows; null for a window of no widget.
QWidget *widgetOfWindow(const QWindow *window)
{
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (QWidget *top : tops) {
        if (top->windowHandle() == window)
            return top;
    }
    return nullptr;
}

bool backsWidget(const QWindow *window)
{
    return widgetOfWindow(window) != nullptr;
}

// The widget a key goes to: the focus widget, or the window's own widget when the window
// system hands the key to a window with no focus widget.
QWidget *keyTarget(QObject *receiver)
{
    return receiver->isWindowType() ? widgetOfWindow(static_cast<QWindow *>(receiver))
                                    : nearestWidget(receiver);
}

// The key as a shortcut names it; the keypad flag only says where the key sits.
QKeySequence sequenceOf(const QKeyEvent *key)
{
    return QKeySequence(QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
}

// The shown and enabled button within (within itself included) whose mnemonic or shortcut
// is sequence; null when there is none.
QAbstractButton *buttonAnswering(QWidget *within, const QKeySequence &sequence)
{
    QList<QAbstractButton *> buttons = within->findChildren<QAbstractButton *>();
    if (auto *self = qobject_cast<QAbstractButton *>(within))
        buttons.prepend(self);
    for (QAbstractButton *button : std::as_const(buttons)) {
        if (button->isVisible() && button->isEnabled() && !button->shortcut().isEmpty()
            && button->shortcut().matches(sequence) == QKeySequence::ExactMatch)
            return button;
    }
    return nullptr;
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
        if (handling == Handling::Pass)
            return false;
        if (event->type() == QEvent::ShortcutOverride && !m_offeringKey
            && pressAllowedButton(receiver, static_cast<QKeyEvent *>(event)))
            return true;
        if (receivesInput(receiver))
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
        return widgetReceivesInput(nearestWidget(receiver));
    }

    bool widgetReceivesInput(const QWidget *widget) const
    {
        if (!widget)
            return false;
        return isWithin(widget, blockers.constLast()->allowed()) || isWithinNewModal(widget);
    }

    // Within a modal window that opened while the innermost blocker existed: a box
    // raised during the wait, which takes its input, its own keys among it.
    bool isWithinNewModal(const QWidget *widget) const
    {
        const QWidget *modal = QApplication::activeModalWidget();
        return modal && modal != blockers.constLast()->modalAtStart() && isWithin(widget, modal);
    }

    // While input is held back the allowed widget is the only one that takes it, so the
    // keys its buttons answer are theirs. The toolkit would look for the key among the
    // blocked widgets too: a page behind the indicator holding the same mnemonic ("&Add..."
    // beside "&Abort") makes the key ambiguous, and an ambiguous key presses no button. So
    // the allowed button is pressed here, as its shortcut presses it, and the key goes no
    // further. A widget of the allowed one that takes the key itself (a field typing it)
    // keeps it, and so does a modal window opened during the wait.
    bool pressAllowedButton(QObject *receiver, QKeyEvent *key)
    {
        QWidget *allowed = blockers.constLast()->allowed();
        QWidget *target = keyTarget(receiver);
        if (!allowed || !target || isWithinNewModal(target))
            return false;
        QAbstractButton *button = buttonAnswering(allowed, sequenceOf(key));
        if (!button)
            return false;
        if (isWithin(target, allowed) && takesKeyItself(receiver, key))
            return false;
        button->animateClick();
        key->accept();
        return true;
    }

    // Offers the key to the allowed widget that has the focus (and on to its parents, the
    // blocked ones refusing it), as the toolkit offers it before it looks for shortcuts.
    bool takesKeyItself(QObject *receiver, QKeyEvent *key)
    {
        m_offeringKey = true;
        key->ignore();
        QCoreApplication::sendEvent(receiver, key);
        m_offeringKey = false;
        return key->isAccepted();
    }

    void rememberClose(QObject *receiver)
    {
        if (!receiver->isWidgetType())
            return;
        QWidget *widget = static_cast<QWidget *>(receiver);
        if (!refusedCloses.contains(widget))
            refusedCloses.append(widget);
    }

    bool m_offeringKey = false; // while takesKeyItself() hands a key on
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
