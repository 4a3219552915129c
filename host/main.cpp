// ornel-console: the stand-in console host. It loads the administration module, opens one
// server in it and unloads it when the module asks to be unloaded. For scripts and tests it
// can select a navigation item first, save a screenshot and quit after a while; a dialog
// the module shows while it connects is then closed, and what it said is written to
// standard error, since nobody reads it.
//
// Exit status: 0 when the module was unloaded after a session; 1 when the module could not
// be loaded, no connection was opened, or a scripted step (--open, --grab) failed; 2 for a
// command line it does not understand.

#include "consoleoptions.h"
#include "consolewindow.h"
#include "desktop.h"
#include "greetingsocket.h"
#include "modulelibrary.h"
#include "navigation.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QTextDocumentFragment>
#include <QTimer>

#include <cstdio>

namespace {

// --grab waits this long after the connection is open, so that pages that load in steps
// and deferred layouts have settled before the picture is taken.
constexpr int GrabSettleMs = 400;

// How often a scripted run looks for a dialog of the module to close while it connects.
constexpr int DismissalPollMs = 50;

void complain(const QString& message)
{
    std::fprintf(stderr, "ornel-console: %s\n", qPrintable(message));
}

// What a label shows, without markup.
QString plainText(const QLabel* label)
{
    const QString text = label->text();
    const bool rich = label->textFormat() == Qt::RichText
                      || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    return rich ? QTextDocumentFragment::fromHtml(text).toPlainText() : text;
}

// The lines a dialog shows, top to bottom: the texts of its shown labels.
QStringList linesOf(const QWidget* dialog)
{
    QStringList lines;
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
        if (label->isVisibleTo(dialog))
            lines += plainText(label).split(u'\n', Qt::SkipEmptyParts);
    }
    return lines;
}

// A scripted run closes the module's dialogs unread (the connection-failure dialog with its
// cause and reasons): what they said goes to standard error instead.
void closeModalDialog()
{
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog)
        return;
    complain(QStringLiteral("the module's dialog \"%1\" said:").arg(dialog->windowTitle()));
    for (const QString& line : linesOf(dialog))
        complain(QStringLiteral("  ") + line);
    dialog->close();
}

QIcon moduleIcon(const ModuleDescriptor* descriptor)
{
    QIcon icon;
    for (const QPixmap* pixmap : {&descriptor->smallIcon, &descriptor->mediumIcon, &descriptor->largeIcon}) {
        if (!pixmap->isNull())
            icon.addPixmap(*pixmap);
    }
    return icon;
}

// Everything after the event loop has started: the module's connect runs waits of its own.
class Session
{
public:
    Session(const ConsoleOptions& options, ModuleLibrary& module, ConsoleWindow& window)
        : m_options(options), m_module(module), m_window(window)
    {
    }

    void open()
    {
        int socket = 0;
        if (m_options.ownSocket) {
            QString error;
            socket = connectAndReadGreeting(m_options.server, m_options.port, &error);
            if (socket < 0) {
                complain(QStringLiteral("%1:%2: %3").arg(m_options.server, m_options.port, error));
                m_window.reportFailure(1);
                m_window.shutDown(true);
                return;
            }
        }
        m_window.enterModule();
        // A scripted run has nobody to answer the module's failure dialog.
        QTimer dismissal;
        if (m_options.quitAfterMs >= 0) {
            QObject::connect(&dismissal, &QTimer::timeout, &dismissal, [] { closeModalDialog(); });
            dismissal.start(qMax(m_options.quitAfterMs, DismissalPollMs));
        }
        m_module.entry().module_connect(m_window.desktop(), socket,
                                        m_options.server.toLocal8Bit().constData(),
                                        m_options.port.toLocal8Bit().constData(),
                                        m_options.user.toLocal8Bit().constData(),
                                        m_options.password.toLocal8Bit().constData(), 0,
                                        m_module.handle(), m_options.mode);
        dismissal.stop();
        m_window.leaveModule();
        if (!m_window.hasModuleWindows()) {
            // The module has said why (its failure dialog, on standard error too in a
            // scripted run); nothing is left to show.
            complain(QStringLiteral("no connection was opened"));
            m_window.reportFailure(1);
            m_window.shutDown(true);
            return;
        }
        // Before the item is opened: a page may put up a box while it is built, and a
        // scripted run has nobody to answer it.
        if (m_options.quitAfterMs >= 0)
            QTimer::singleShot(m_options.quitAfterMs, &m_window, [this] { quit(); });
        QString complaint;
        if (!m_options.openTitle.isEmpty() && !openNavigationItem(m_options.openTitle, &complaint)) {
            complain(QStringLiteral("--open: %1").arg(complaint));
            m_window.reportFailure(1);
        }
        if (!m_options.grabFile.isEmpty()) {
            m_grabPending = true;
            QTimer::singleShot(GrabSettleMs, &m_window, [this] { grab(); });
        }
    }

private:
    // The module builds the item's page meanwhile, and may wait or ask.
    bool openNavigationItem(const QString& title, QString* complaint)
    {
        m_window.enterModule();
        const bool found = selectNavigationItem(m_window.desktop(), title, complaint);
        m_window.leaveModule();
        return found;
    }

    void grab()
    {
        if (!m_grabPending)
            return;
        m_grabPending = false;
        if (!m_window.saveScreenshot(m_options.grabFile)) {
            complain(QStringLiteral("cannot write the screenshot %1").arg(m_options.grabFile));
            m_window.reportFailure(1);
        }
    }

    void quit()
    {
        grab();
        if (!m_options.quitGrabFile.isEmpty() && !m_window.saveScreenshot(m_options.quitGrabFile)) {
            complain(QStringLiteral("cannot write the screenshot %1").arg(m_options.quitGrabFile));
            m_window.reportFailure(1);
        }
        m_window.shutDown(true);
    }

    const ConsoleOptions& m_options;
    ModuleLibrary& m_module;
    ConsoleWindow& m_window;
    bool m_grabPending = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ornel-console"));
    // The console quits once the module is unloaded, not when its last window closes.
    QApplication::setQuitOnLastWindowClosed(false);

    ConsoleOptions options;
    QString error;
    QString help;
    if (!parseConsoleOptions(QApplication::arguments(), &options, &error, &help)) {
        complain(error);
        return 2;
    }
    if (!help.isEmpty()) {
        std::fputs(qPrintable(help), stdout);
        return 0;
    }

    ModuleLibrary module;
    if (!module.load(options.modulePath, &error)) {
        complain(error);
        return 1;
    }
    const ModuleDescriptor* descriptor = module.entry().module_init();
    if (!descriptor) {
        complain(QStringLiteral("%1: module_init gave no descriptor").arg(options.modulePath));
        return 1;
    }

    ConsoleWindow window(&module);
    window.setWindowIcon(moduleIcon(descriptor));
    window.showOnScreen();

    Session session(options, module, window);
    QTimer::singleShot(0, &window, [&session] { session.open(); });
    const int exitCode = application.exec();
    window.unloadReleasedModule();
    return exitCode;
}
