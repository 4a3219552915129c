// The built module as the console host meets it: loaded with dlopen(), its entry record
// and descriptor read by position, a server opened through module_connect against the
// stand-in server, the window closed, the module unloaded on its request and loaded again.
// It links nothing of the module; everything goes through the loaded library.

#include "desktop.h"
#include "ornelplugin.h"
#include "testserver.h"

#include <QElapsedTimer>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QVBoxLayout>
#include <QtEndian>
#include <QtTest>

#include <dlfcn.h>

#include <algorithm>
#include <memory>
#include <utility>

using namespace StandIn;

namespace {

const char ModulePath[] = ORNEL_MODULE_PATH;
const char ConsolePath[] = ORNEL_CONSOLE_PATH;

QByteArray be32(quint32 value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

bool isLoaded()
{
    void* handle = dlopen(ModulePath, RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return false;
    dlclose(handle);
    return true;
}

// One load of the module, unloaded when it goes unless unloaded before.
class LoadedModule
{
public:
    LoadedModule() : m_handle(dlopen(ModulePath, RTLD_NOW | RTLD_LOCAL)) {}
    ~LoadedModule() { unload(); }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    void* handle() const { return m_handle; }
    const InitInterface* entry() const
    {
        return m_handle ? static_cast<const InitInterface*>(dlsym(m_handle, "init_interface")) : nullptr;
    }
    void unload()
    {
        if (m_handle)
            dlclose(std::exchange(m_handle, nullptr));
    }

private:
    void* m_handle;
};

struct ConsoleRun
{
    bool finished = false; // exited normally, not by a signal
    int exitCode = -1;
    QByteArray errors;
};

// The stand-in console run to its end with the module and these arguments, its home in
// home, on the offscreen platform with a 1280 by 800 screen, which holds the console at its
// usual size.
ConsoleRun runConsole(const QStringList& arguments, const QString& home)
{
    const QString screens = home + QStringLiteral("/screens.json");
    QFile config(screens);
    if (!config.open(QIODevice::WriteOnly)
        || config.write(R"({"screens": [{"name": "Wide", "x": 0, "y": 0, "width": 1280, "height": 800}]})") < 0)
        return {};
    config.close();
    QProcess console;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + screens);
    console.setProcessEnvironment(environment);
    QSignalSpy finished(&console, &QProcess::finished);
    console.start(QString::fromLocal8Bit(ConsolePath),
                  QStringList{"--module", QString::fromLocal8Bit(ModulePath)} + arguments);
    ConsoleRun run;
    // The event loop runs meanwhile: the test's own peers answer the console.
    if (!finished.wait(60000)) {
        console.kill();
        console.waitForFinished();
        return run;
    }
    run.finished = console.exitStatus() == QProcess::NormalExit;
    run.exitCode = console.exitCode();
    run.errors = console.readAllStandardError();
    return run;
}

// The host's window as the module meets it: the workspace in it, shown.
struct HostWindow : QWidget
{
    HostWindow()
    {
        (new QVBoxLayout(this))->addWidget(desktop);
        resize(900, 600);
        show();
    }
    Desktop* desktop = new Desktop(this);
};

} // namespace

class tst_ModuleLoad : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void entryRecordAndDescriptor();
    void connectCloseUnloadAndAgain();
    void consoleRunsTheModule();
    void abortWhileConnectingEndsAtOnce();
    void consoleOutlivesAFailedConnection_data();
    void consoleOutlivesAFailedConnection();
    void consoleQuitsUnderAModuleBox_data();
    void consoleQuitsUnderAModuleBox();

private:
    void openCloseAndUnload(int round);

    std::unique_ptr<TestServer> m_server;
};

void tst_ModuleLoad::initTestCase()
{
    ServerOptions options;
    options.port = 0;
    m_server = std::make_unique<TestServer>(options);
    QString error;
    QVERIFY2(m_server->start(&error), qPrintable(error));
    QVERIFY(!isLoaded());
}

void tst_ModuleLoad::entryRecordAndDescriptor()
{
    LoadedModule module;
    QVERIFY2(module.handle(), dlerror());
    QVERIFY(module.entry());
    QCOMPARE(module.entry()->version, 5);
    QCOMPARE(reinterpret_cast<void*>(module.entry()->module_init), dlsym(module.handle(), "module_init"));
    QCOMPARE(reinterpret_cast<void*>(module.entry()->module_connect), dlsym(module.handle(), "module_connect"));
    // Nothing else is exported.
    for (const char* hidden : {"globalData", "_ZN7WndMain16staticMetaObjectE", "vexadb_connect"})
        QVERIFY2(!dlsym(module.handle(), hidden), hidden);

    const ModuleDescriptor* d = module.entry()->module_init();
    QVERIFY(d);
    const QList<qint32> numbers(std::begin(d->numbers), std::end(d->numbers));
    QCOMPARE(numbers, (QList<qint32>{2, 5, 0, 2, 44337, 17}));
    QCOMPARE(d->productName, QStringLiteral("Ornel Corvane"));
    QVERIFY(d->secondText.isEmpty());
    QCOMPARE(d->moduleStem, QStringLiteral("ornelcon"));
    QCOMPARE(QList<quint32>(std::begin(d->words), std::end(d->words)), QList<quint32>(3, 0));
    QVERIFY(d->module_connect == module.entry()->module_connect);
    QCOMPARE(d->splash.size(), QSize(400, 290));
    QCOMPARE(QList<QSize>({d->smallIcon.size(), d->mediumIcon.size(), d->largeIcon.size()}),
             QList<QSize>({QSize(16, 16), QSize(32, 32), QSize(48, 48)}));
    // Their magenta background is masked away.
    QCOMPARE(qAlpha(d->largeIcon.toImage().pixel(0, 0)), 0);
    // A second call gives the same record.
    QCOMPARE(module.entry()->module_init(), d);
}

void tst_ModuleLoad::openCloseAndUnload(int round)
{
    auto module = std::make_unique<LoadedModule>();
    QVERIFY(module->entry());
    QVERIFY(module->entry()->module_init());

    HostWindow console;
    Desktop* desktop = console.desktop;

    // As the host: the module asks from inside its own code, so the unload is queued.
    int requests = 0;
    DLLHANDLE requested = nullptr;
    connect(desktop, &Desktop::signalCloseDll, this, [&](DLLHANDLE handle) {
        ++requests;
        requested = handle;
        QMetaObject::invokeMethod(this, [&module] { module->unload(); }, Qt::QueuedConnection);
    }, Qt::QueuedConnection);

    const QByteArray port = QByteArray::number(m_server->port());
    module->entry()->module_connect(desktop, 0, "127.0.0.1", port.constData(), "admin", "admin", 0,
                                    module->handle(), round % 2);
    QCOMPARE(desktop->subWindowList().size(), 1);
    QPointer<QWidget> window = desktop->subWindowList().at(0)->widget();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Ornel Corvane - 127.0.0.1"));
    QCOMPARE(desktop->windowList(), QWidgetList{window.data()});
    void* handle = module->handle();
    QVERIFY(window->close());
    QTRY_VERIFY(window.isNull());
    QTRY_COMPARE(requests, 1);
    QCOMPARE(requested, handle);
    QTRY_VERIFY(!module->handle());
    QVERIFY(!isLoaded());
    QTest::qWait(50);
    QCOMPARE(requests, 1);
    QVERIFY(desktop->subWindowList().isEmpty());
}

void tst_ModuleLoad::connectCloseUnloadAndAgain()
{
    for (int round = 0; round < 3; ++round) {
        openCloseAndUnload(round);
        if (QTest::currentTestFailed())
            return;
    }
    // The server saw three sessions end.
    QTRY_COMPARE(m_server->sessions().size(), 3);
    auto allEnded = [this] {
        const QList<SessionInfo> sessions = m_server->sessions();
        return std::none_of(sessions.cbegin(), sessions.cend(),
                            [](const SessionInfo& session) { return session.connected; });
    };
    QTRY_VERIFY(allEnded());
}

// The stand-in console loads the module, opens the server over its own socket, chooses a
// page, takes its picture and quits once the module, asked to close, has asked to be unloaded.
void tst_ModuleLoad::consoleRunsTheModule()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString shot = dir.filePath(QStringLiteral("console.png"));
    const int sessionsBefore = m_server->sessions().size();

    const ConsoleRun run = runConsole({"--server", "127.0.0.1", "--port", QString::number(m_server->port()),
                                       "--user", "admin", "--password", "admin", "--grab", shot,
                                       "--quit-after", "1500", "--socket", "--open", "Users"},
                                      dir.path());
    QVERIFY2(run.finished && run.exitCode == 0, run.errors.constData());
    QVERIFY2(!run.errors.contains("did not ask to be unloaded"), run.errors.constData());
    const QImage picture(shot);
    QCOMPARE(picture.size(), QSize(1024, 720));
    QCOMPARE(m_server->sessions().size(), sessionsBefore + 1);
    QTRY_VERIFY(!m_server->sessions().constLast().connected);
    // The window's size went to the settings as it closed.
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral(".Ornel/adminrc"))));
}

// "&Abort" while the server keeps its greeting back: once the failure dialog is closed the
// open-connection entry returns without sitting out the server's silence, with nothing of
// the attempt left running, so the module can go at once.
void tst_ModuleLoad::abortWhileConnectingEndsAtOnce()
{
    ServerOptions options;
    options.port = 0;
    TestServer silent(options);
    QVERIFY(silent.start());
    GreetingPlan plan;
    plan.pauseAt = {0};
    plan.pauseMs = 120000;
    silent.setGreeting(plan);

    auto module = std::make_unique<LoadedModule>();
    QVERIFY(module->entry());
    QVERIFY(module->entry()->module_init());
    HostWindow console;
    Desktop* desktop = console.desktop;

    // The administrator: aborts the wait once its indicator shows, then closes the dialog.
    QElapsedTimer sinceAbort;
    QTimer administrator;
    connect(&administrator, &QTimer::timeout, this, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            dialog->close();
            return;
        }
        if (sinceAbort.isValid())
            return;
        const QList<QPushButton*> buttons = console.findChildren<QPushButton*>(QStringLiteral("btnAbort"));
        for (QPushButton* abort : buttons) {
            if (abort->isVisible()) {
                sinceAbort.start();
                QTest::mouseClick(abort, Qt::LeftButton);
                return;
            }
        }
    });
    administrator.start(20);

    const QByteArray port = QByteArray::number(silent.port());
    module->entry()->module_connect(desktop, 0, "127.0.0.1", port.constData(), "admin", "admin", 0,
                                    module->handle(), 0);
    QVERIFY(sinceAbort.isValid());
    // A generous bound: the fault was a wait of many seconds for the silent server.
    QVERIFY2(sinceAbort.elapsed() < 2000, qPrintable(QString::number(sinceAbort.elapsed())));
    administrator.stop();
    QVERIFY(desktop->subWindowList().isEmpty());
    module->unload();
    QVERIFY(!isLoaded());
}

// However opening the server fails, once the failure dialog is closed the console unloads
// the module and exits by itself: nothing of the module (a timer, a queued call, an object)
// may be left for the console's own teardown, which would run code that is gone.
void tst_ModuleLoad::consoleOutlivesAFailedConnection_data()
{
    QTest::addColumn<QString>("peer");      // "stand-in", "absent" or the bytes a raw peer sends
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("told"); // what the failure dialog said, on standard error

    const QByteArray greeting = QByteArray::fromHex("11" "0002" "0005" "0000");
    // 2048 bits do not fit the client's RSA layer: the session key cannot be sent.
    const QByteArray oversizedKey = be32(2048) + QByteArray(128, '\xc5') + be32(3).rightJustified(128, '\0');
    const QString failed = QStringLiteral(
        "ornel-console: the module's dialog \"Ornel Administration Console\" said:\n"
        "ornel-console:   Failed to connect to the server application.\n");
    const QString networkReasons = QStringLiteral(
        "ornel-console:   Possible reasons:\n"
        "ornel-console:   - you have entered wrong host name or IP address of server application\n"
        "ornel-console:   - failure along the network path to the server application\n"
        "ornel-console:   - IP traffic is blocked along the network path to the server application\n"
        "ornel-console: no connection was opened\n");

    QTest::newRow("closed port") << "absent" << QByteArray() << "admin"
        << failed + "ornel-console:   Connection has failed with error code 1.\n" + networkReasons;
    QTest::newRow("wrong password") << "stand-in" << QByteArray() << "wrong"
        << failed + "ornel-console:   Authentication failed.\n"
                    "ornel-console:   Possible reasons:\n"
                    "ornel-console:   - you have entered wrong username or password\n"
                    "ornel-console:   - you don't have permission to connect the server application\n"
                    "ornel-console: no connection was opened\n";
    QTest::newRow("another greeting version") << "raw" << QByteArray::fromHex("10" "0002" "0005" "0000") << "admin"
        << failed + "ornel-console:   Connection has failed with error code 103.\n" + networkReasons;
    QTest::newRow("unusable server key") << "raw" << greeting + oversizedKey << "admin"
        << failed + "ornel-console:   Connection has failed with error code";
}

void tst_ModuleLoad::consoleOutlivesAFailedConnection()
{
    QFETCH(QString, peer);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, password);
    QFETCH(QString, told);

    QTcpServer raw;
    QTcpSocket bound; // holds a port on which nobody listens
    quint16 port = m_server->port();
    if (peer == QLatin1String("absent")) {
        QVERIFY(bound.bind(QHostAddress::LocalHost));
        port = bound.localPort();
    } else if (peer == QLatin1String("raw")) {
        QVERIFY(raw.listen(QHostAddress::LocalHost));
        connect(&raw, &QTcpServer::newConnection, &raw, [&] { raw.nextPendingConnection()->write(bytes); });
        port = raw.serverPort();
    }

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // --quit-after closes the failure dialog as the administrator's OK would.
    const ConsoleRun run = runConsole({"--server", "127.0.0.1", "--port", QString::number(port), "--user", "admin",
                                       "--password", password, "--quit-after", "200"},
                                      dir.path());
    // 1: the console opened no connection, and says so and why: the failure dialog closed
    // unread is copied to standard error. Anything else is a crash report.
    QVERIFY2(run.finished && run.exitCode == 1, run.errors.constData());
    QVERIFY2(run.errors.contains(told.toLocal8Bit()), run.errors.constData());
    QVERIFY2(!run.errors.contains("Sanitizer"), run.errors.constData());
}

// The console quits while a box of the module is up: the box ends first, and nothing of
// the module (its windows, its code) goes while the box's loop is still on the stack.
void tst_ModuleLoad::consoleQuitsUnderAModuleBox_data()
{
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("dropped"); // the statement at which the server drops the connection
    QTest::addColumn<QString>("refused"); // the statement the server refuses

    // "Connection failed!" over the log window, which goes with the main window.
    QTest::newRow("log window's box") << "smtp" << "LogData" << "";
    // "Operation failed." of no parent, raised while the page is being built.
    QTest::newRow("box while a page is built") << "Quick Checklist" << "" << "productname, version FROM info";
}

void tst_ModuleLoad::consoleQuitsUnderAModuleBox()
{
    QFETCH(QString, open);
    QFETCH(QString, dropped);
    QFETCH(QString, refused);
    ServerOptions options;
    options.port = 0;
    TestServer server(options);
    QVERIFY(server.start());
    if (!dropped.isEmpty())
        QVERIFY(server.dropAt(dropped, 1));
    if (!refused.isEmpty())
        QVERIFY(server.refuse(refused, 111));

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const ConsoleRun run = runConsole({"--server", "127.0.0.1", "--port", QString::number(server.port()),
                                       "--user", "admin", "--password", "admin", "--open", open,
                                       "--quit-after", "1000"},
                                      dir.path());
    QVERIFY2(run.finished, run.errors.constData());
    QVERIFY2(!run.errors.contains("Sanitizer"), run.errors.constData());
    QVERIFY2(run.exitCode == 0, run.errors.constData());
    QVERIFY2(!run.errors.contains("did not ask to be unloaded"), run.errors.constData());
    // The statement that raised the box did reach the server.
    const QRegularExpression raising(dropped + refused);
    const QList<JournalEntry> journal = server.journal();
    QVERIFY(std::any_of(journal.cbegin(), journal.cend(),
                        [&](const JournalEntry& entry) { return raising.match(entry.statement).hasMatch(); }));
}

QTEST_MAIN(tst_ModuleLoad)
#include "tst_moduleload.moc"
