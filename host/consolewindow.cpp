#include "consolewindow.h"

#include "desktop.h"
#include "modulelibrary.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include <cstdio>

namespace {

// How often the console looks whether the module's last window is gone after it asked to
// be unloaded; the window usually goes within one turn of the event loop.
constexpr int WindowsGonePollMs = 10;
// How long the console waits, once the module's windows are gone, for the module to ask to
// be unloaded. A module that does not ask in time is left loaded: unloading code that may
// still run is worse than quitting with it in memory.
constexpr int UnloadRequestWaitMs = 15000;
// How often a shutdown looks again whether the module's code it waits for has returned.
constexpr int ModuleReturnPollMs = 10;
// The size the console opens at where the screen has room for it: every page of the module
// shows whole in it.
constexpr QSize UsualSize(1024, 720);

} // namespace

ConsoleWindow::ConsoleWindow(ModuleLibrary* module, QWidget* parent)
    : QMainWindow(parent)
    , m_module(module)
    , m_desktop(new Desktop(this))
{
    setWindowTitle(QStringLiteral("Ornel Administration Console"));
    setCentralWidget(m_desktop);
    // The module emits this from inside its window's closing; the call is queued so that
    // it runs after the closing code has returned into the module.
    connect(m_desktop, &Desktop::signalCloseDll, this, &ConsoleWindow::onCloseDll,
            Qt::QueuedConnection);
    connect(m_desktop, &Desktop::signalWindowAdded, this, [this] { m_moduleHadWindows = true; });
    m_windowsGoneTimer.setInterval(WindowsGonePollMs);
    connect(&m_windowsGoneTimer, &QTimer::timeout, this, &ConsoleWindow::checkWindowsGone);
}

ConsoleWindow::~ConsoleWindow() = default;

// The screen is chosen first: the size, and the place, are the ones its free area holds. The
// console opens where the administrator looks, on the screen under the pointer, as the
// toolkit's dialogs do.
void ConsoleWindow::showOnScreen()
{
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    resize(UsualSize);
    if (screen)
        startOn(screen);
    // The window system's window is made before the window shows, so that a frame it knows of
    // by then counts in the first fit and the window shows fitted. One that frames its windows
    // only once they show (an X11 window manager) has the fits below place it.
    create();
    fitIntoFreeArea();
    show();
    // A window system that frames its windows tells the frame's size once the window shows,
    // or once it first activates it; the frame may take more than the room left for it.
    m_fitOnActivation = true;
    QTimer::singleShot(0, this, &ConsoleWindow::fitIntoFreeArea);
}

// The window system makes a window on the screen its middle lies on, whatever screen it was
// given: one whose middle lies elsewhere starts in the corner of that screen's free area, as
// large as that holds, and the fit then makes room for its frame there.
void ConsoleWindow::startOn(QScreen* screen)
{
    setScreen(screen);
    const QRect free = screen->availableGeometry();
    if (!free.contains(geometry().center()))
        setGeometry(QRect(free.topLeft(), size().boundedTo(free.size())));
}

bool ConsoleWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && m_fitOnActivation) {
        m_fitOnActivation = false;
        fitIntoFreeArea();
    }
    return QMainWindow::event(event);
}

void ConsoleWindow::fitIntoFreeArea()
{
    QWindow* window = windowHandle();
    const QScreen* screen = this->screen();
    if (!window || !screen)
        return;
    const QRect free = screen->availableGeometry();
    const QMargins frame = window->frameMargins();
    const QSize fitted = window->size().boundedTo(free.size().shrunkBy(frame));
    // The frame's top left corner, kept inside the free area as far as the window lets it.
    const QSize outer = fitted.grownBy(frame);
    QPoint at = window->framePosition();
    at.setX(qMax(free.left(), qMin(at.x(), free.right() + 1 - outer.width())));
    at.setY(qMax(free.top(), qMin(at.y(), free.bottom() + 1 - outer.height())));
    if (fitted != window->size() || at != window->framePosition())
        placeFrame(at, fitted);
}

// The window system is told where the frame goes, not where the window inside it goes. Given
// the window's own position (what move() asks for once the window exists), it may shift the
// window to keep the frame on what it takes for the desktop: Qt's offscreen platform moves a
// window whose frame would start left of or above 0,0 by the frame's width, past the free
// area of a screen that lies there.
void ConsoleWindow::placeFrame(QPoint at, QSize size)
{
    QWindow* window = windowHandle();
    // The size first: a new size is asked for at the window's own position, which may shift
    // it as above; the frame's position then puts it where it belongs.
    window->resize(size);
    window->setFramePosition(at);
    // Until it shows, the widget learns nothing of this from the window system, and showing
    // would hand the widget's own geometry back to it. Once shown, it follows the window
    // system's reports.
    if (!isVisible())
        setGeometry(window->geometry());
}

bool ConsoleWindow::hasModuleWindows() const
{
    if (!m_desktop->windowList().isEmpty())
        return true;
    // A frame outlives the window it held when the window closes by itself; an empty frame
    // is the workspace's, not the module's.
    for (QMdiSubWindow* frame : m_desktop->subWindowList()) {
        if (frame->widget())
            return true;
    }
    return false;
}

void ConsoleWindow::reportFailure(int exitCode)
{
    m_exitCode = qMax(m_exitCode, exitCode);
}

void ConsoleWindow::shutDown(bool force)
{
    // Not under the module's own code: a box or a dialog of it is ended first, and the
    // windows go once its loop, its wait or the call into the module has returned. A
    // dialog whose code waits is ended only once the wait has returned into it.
    if (moduleCodeOnStack()) {
        if (!m_desktop->isModuleWaiting())
            endModalLoop();
        QTimer::singleShot(ModuleReturnPollMs, this, [this, force] { shutDown(force); });
        return;
    }
    m_desktop->closeAllSubWindows();
    if (force) {
        // Deleting one window may take others with it; the guards notice.
        QList<QPointer<QWidget>> left;
        for (QMdiSubWindow* frame : m_desktop->subWindowList())
            left.append(frame);
        for (QWidget* window : m_desktop->windowList())
            left.append(window);
        for (const QPointer<QWidget>& window : std::as_const(left))
            delete window.data();
    }
    if (!hasModuleWindows())
        unloadWhenWindowsGone();
}

bool ConsoleWindow::saveScreenshot(const QString& file)
{
    return grab().save(file, "PNG");
}

void ConsoleWindow::unloadReleasedModule()
{
    if (!m_released)
        return;
    m_released = false;
    // Objects of the module that were scheduled for deletion go while its code is there.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_module->unload();
}

void ConsoleWindow::closeEvent(QCloseEvent* event)
{
    if (m_quitting) {
        event->accept();
        return;
    }
    // The module goes first; the console quits once it is unloaded.
    event->ignore();
    shutDown(false);
}

void ConsoleWindow::onCloseDll(DLLHANDLE handle)
{
    if (handle != m_module->handle()) {
        std::fprintf(stderr, "ornel-console: unload requested for an unknown module handle\n");
        return;
    }
    m_unloadRequested = true;
    unloadWhenWindowsGone();
}

void ConsoleWindow::unloadWhenWindowsGone()
{
    if (!m_windowsGoneTimer.isActive())
        m_windowsGoneTimer.start();
}

void ConsoleWindow::checkWindowsGone()
{
    if (moduleCodeOnStack() || hasModuleWindows())
        return;
    m_moduleHadWindows = m_moduleHadWindows || !m_desktop->subWindowList().isEmpty();
    if (m_moduleHadWindows && !m_unloadRequested) {
        if (!m_waitingForRequest.isValid())
            m_waitingForRequest.start();
        if (m_waitingForRequest.hasExpired(UnloadRequestWaitMs))
            quitWithoutUnloading();
        return;
    }
    m_windowsGoneTimer.stop();
    qDeleteAll(m_desktop->subWindowList());
    releaseAndQuit();
}

void ConsoleWindow::releaseAndQuit()
{
    if (m_quitting)
        return;
    m_released = true;
    m_quitting = true;
    QCoreApplication::exit(m_exitCode);
}

void ConsoleWindow::quitWithoutUnloading()
{
    m_windowsGoneTimer.stop();
    std::fprintf(stderr, "ornel-console: the module did not ask to be unloaded; quitting with it loaded\n");
    m_quitting = true;
    QCoreApplication::exit(m_exitCode);
}

bool ConsoleWindow::moduleCodeOnStack() const
{
    return m_moduleCalls > 0 || insideModalLoop() || m_desktop->isModuleWaiting();
}

bool ConsoleWindow::insideModalLoop()
{
    // The console's own loop is the first; every further one is a box or a dialog.
    return QThread::currentThread()->loopLevel() > 1;
}

void ConsoleWindow::endModalLoop()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    // As the administrator's close would; a box that refuses (no escape button) is
    // hidden, which ends its loop all the same.
    if (!modal->close())
        modal->hide();
}
