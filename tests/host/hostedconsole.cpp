#include "hostedconsole.h"

#include "desktop.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QTest>
#include <QTimer>

namespace {

// The size ornel-console opens at on a screen that holds it: the tests walk the pages at the
// console's usual size, whatever screen the platform gives them.
constexpr QSize ConsoleSize(1024, 720);

} // namespace

HostedConsole::HostedConsole(const QString& modulePath)
    : m_modulePath(modulePath)
{
}

HostedConsole::~HostedConsole()
{
    if (!m_window)
        return;
    if (m_module.isLoaded()) {
        m_window->shutDown(true);
        runUntilQuit(15000);
    }
    m_window.reset();
}

bool HostedConsole::load(QString* error)
{
    if (!m_module.load(m_modulePath, error))
        return false;
    if (!m_module.entry().module_init()) {
        *error = QStringLiteral("module_init gave no descriptor");
        return false;
    }
    m_window = std::make_unique<ConsoleWindow>(&m_module);
    m_window->resize(ConsoleSize);
    m_window->show();
    if (!QTest::qWaitForWindowExposed(m_window.get())) {
        *error = QStringLiteral("the console window was not shown");
        return false;
    }
    return true;
}

QWidget* HostedConsole::openServer(quint16 port, const char* user, const char* password, int mode)
{
    if (!m_window || !m_module.isLoaded())
        return nullptr;
    const QByteArray portText = QByteArray::number(port);
    m_window->enterModule();
    m_module.entry().module_connect(m_window->desktop(), 0, "127.0.0.1", portText.constData(), user,
                                    password, 0, m_module.handle(), mode);
    m_window->leaveModule();
    return mainWindow();
}

QMdiSubWindow* HostedConsole::frame() const
{
    if (!m_window)
        return nullptr;
    for (QMdiSubWindow* frame : m_window->desktop()->subWindowList(QMdiArea::CreationOrder)) {
        if (frame->widget())
            return frame;
    }
    return nullptr;
}

QWidget* HostedConsole::mainWindow() const
{
    QMdiSubWindow* found = frame();
    return found ? found->widget() : nullptr;
}

int HostedConsole::runUntilQuit(int msecs)
{
    bool timedOut = false;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [&timedOut] {
        timedOut = true;
        QCoreApplication::exit(-1);
    });
    limit.start(msecs);
    const int status = QApplication::exec();
    // As the console's main() does: the module goes once its loop has returned.
    if (m_window)
        m_window->unloadReleasedModule();
    return timedOut ? -1 : status;
}
