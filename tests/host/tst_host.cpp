// The console host, run as a program with a module of the tests' own that records what
// the host does with it.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using Environment = QMap<QString, QString>;

namespace {

const QString Console = QStringLiteral(ORNEL_CONSOLE_PATH);
const QString FakeModule = QStringLiteral(FAKE_MODULE_PATH);
const QString OldFakeModule = QStringLiteral(OLD_FAKE_MODULE_PATH);

struct Run
{
    bool finished = false;
    int exitCode = -1;
    QString errors;
    QStringList record;
    qint64 elapsedMs = 0;
};

// A server of one connection on a free port of 127.0.0.1: it sends `bytes` to whoever
// connects and then waits for the other side to close.
class OneShotServer
{
public:
    explicit OneShotServer(QByteArray bytes) : m_bytes(std::move(bytes))
    {
        m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(m_listener, 1);
        socklen_t length = sizeof address;
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }

    ~OneShotServer()
    {
        shutdown(m_listener, SHUT_RDWR);
        m_thread.join();
        close(m_listener);
    }

    quint16 port() const { return m_port; }

private:
    void serve()
    {
        const int peer = accept(m_listener, nullptr, nullptr);
        if (peer < 0)
            return;
        send(peer, m_bytes.constData(), size_t(m_bytes.size()), MSG_NOSIGNAL);
        char sink[256];
        while (recv(peer, sink, sizeof sink, 0) > 0) {
        }
        close(peer);
    }

    QByteArray m_bytes;
    int m_listener = -1;
    quint16 m_port = 0;
    std::thread m_thread;
};

// A port on which nothing listens: bound, never listened on, closed when done.
class DeadPort
{
public:
    DeadPort()
    {
        m_fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~DeadPort() { close(m_fd); }
    quint16 port() const { return m_port; }

private:
    int m_fd = -1;
    quint16 m_port = 0;
};

// The record without the tree's selection changes (a tree selects its first item when it
// is first shown).
QStringList withoutSelections(const QStringList& lines)
{
    QStringList kept;
    for (const QString& line : lines) {
        if (!line.startsWith(QLatin1String("current=")))
            kept.append(line);
    }
    return kept;
}

} // namespace

class TestHost : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void refusesAnotherInterfaceVersion();
    void reportsAMissingModule();
    void findsTheModuleBesideItself();
    void findsTheModuleThroughTheEnvironment();
    void passesTheConnectionInOrder_data();
    void passesTheConnectionInOrder();
    void quitsWhenNoConnectionOpened();
    void unloadsAfterTheModulesWindowIsGone();
    void quitAfterClosesEverything();
    void grabSavesTheConsole();
    void openSelectsAnItem_data();
    void openSelectsAnItem();
    void handsOverItsOwnSocket();
    void ownSocketFailures_data();
    void ownSocketFailures();
    void rejectsABadCommandLine_data();
    void rejectsABadCommandLine();

private:
    Run run(const QStringList& arguments, const Environment& environment = {},
            const QString& program = Console, int timeoutMs = 30000);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestHost::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

Run TestHost::run(const QStringList& arguments, const Environment& environment,
                  const QString& program, int timeoutMs)
{
    const QString recordFile = m_dir->filePath(QStringLiteral("record.txt"));
    QFile::remove(recordFile);

    QProcessEnvironment processEnvironment = QProcessEnvironment::systemEnvironment();
    processEnvironment.remove(QStringLiteral("ORNEL_CONSOLE_MODULE"));
    processEnvironment.insert(QStringLiteral("ORNEL_FAKE_RECORD"), recordFile);
    for (auto it = environment.cbegin(); it != environment.cend(); ++it)
        processEnvironment.insert(it.key(), it.value());

    QProcess process;
    process.setProcessEnvironment(processEnvironment);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    Run result;
    if (!process.waitForStarted())
        return result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
    } else {
        result.finished = process.exitStatus() == QProcess::NormalExit;
        result.exitCode = process.exitCode();
    }
    result.elapsedMs = clock.elapsed();
    result.errors = QString::fromLocal8Bit(process.readAllStandardError());

    QFile record(recordFile);
    if (record.open(QIODevice::ReadOnly))
        result.record = QString::fromUtf8(record.readAll()).split(u'\n', Qt::SkipEmptyParts);
    return result;
}

void TestHost::refusesAnotherInterfaceVersion()
{
    const Run r = run({QStringLiteral("--module"), OldFakeModule});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.errors.contains(QStringLiteral("interface version 4, this console needs version 5")),
             qPrintable(r.errors));
    // Loaded for the check, then let go without a single call.
    QCOMPARE(r.record, QStringList{QStringLiteral("unloaded app=alive windows=0")});
}

void TestHost::reportsAMissingModule()
{
    const QString missing = m_dir->filePath(QStringLiteral("nothing-here.so"));
    const Run r = run({QStringLiteral("--module"), missing});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.errors.contains(missing), qPrintable(r.errors));
    QVERIFY(r.record.isEmpty());
}

void TestHost::findsTheModuleBesideItself()
{
    const QString folder = m_dir->filePath(QStringLiteral("installed"));
    QVERIFY(QDir().mkpath(folder));
    const QString console = folder + QStringLiteral("/ornel-console");
    QVERIFY(QFile::copy(Console, console));
    QVERIFY(QFile::copy(FakeModule, folder + QStringLiteral("/libornelcon.so.0")));

    const Run r = run({QStringLiteral("--quit-after"), QStringLiteral("0")}, {}, console);
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.record.value(0), QStringLiteral("module_init"));
}

void TestHost::findsTheModuleThroughTheEnvironment()
{
    const Run r = run({QStringLiteral("--quit-after"), QStringLiteral("0")},
                      {{QStringLiteral("ORNEL_CONSOLE_MODULE"), FakeModule}});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.record.value(0), QStringLiteral("module_init"));
}

void TestHost::passesTheConnectionInOrder_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("call");

    QTest::newRow("defaults") << QStringList{}
        << QStringLiteral("module_connect desktop=Desktop|socket=0|host=127.0.0.1|port=44337|user=|password=|reserved=0|handle=own|mode=0");
    QTest::newRow("everything given")
        << QStringList{QStringLiteral("--server"), QStringLiteral("mail.example.org"),
                       QStringLiteral("--port"), QStringLiteral("4433"),
                       QStringLiteral("--user"), QStringLiteral("admin"),
                       QStringLiteral("--password"), QStringLiteral("open sesame"),
                       QStringLiteral("--mode"), QStringLiteral("1")}
        << QStringLiteral("module_connect desktop=Desktop|socket=0|host=mail.example.org|port=4433|user=admin|password=open sesame|reserved=0|handle=own|mode=1");
    QTest::newRow("placeholders in the password")
        << QStringList{QStringLiteral("--user"), QStringLiteral("%1"),
                       QStringLiteral("--password"), QStringLiteral("50%8")}
        << QStringLiteral("module_connect desktop=Desktop|socket=0|host=127.0.0.1|port=44337|user=%1|password=50%8|reserved=0|handle=own|mode=0");
}

void TestHost::passesTheConnectionInOrder()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, call);
    const Run r = run(arguments + QStringList{QStringLiteral("--module"), FakeModule,
                                              QStringLiteral("--quit-after"), QStringLiteral("0")});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.record.value(0), QStringLiteral("module_init"));
    QCOMPARE(r.record.value(1), call);
}

void TestHost::quitsWhenNoConnectionOpened()
{
    const Run r = run({QStringLiteral("--module"), FakeModule},
                      {{QStringLiteral("ORNEL_FAKE_WINDOW"), QStringLiteral("none")}});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.errors.contains(QStringLiteral("no connection was opened")), qPrintable(r.errors));
    QCOMPARE(r.record.size(), 3);
    QCOMPARE(r.record.last(), QStringLiteral("unloaded app=alive windows=0"));
}

// The window asks for the unload from inside its own closing: the library must stay until
// the window is destroyed, and go while the application still exists.
void TestHost::unloadsAfterTheModulesWindowIsGone()
{
    const Run r = run({QStringLiteral("--module"), FakeModule},
                      {{QStringLiteral("ORNEL_FAKE_WINDOW"), QStringLiteral("close:200")}});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(withoutSelections(r.record).mid(2), (QStringList{QStringLiteral("close_dll"),
                                           QStringLiteral("window destroyed"),
                                           QStringLiteral("unloaded app=alive windows=0")}));
}

void TestHost::quitAfterClosesEverything()
{
    const Run r = run({QStringLiteral("--module"), FakeModule, QStringLiteral("--quit-after"),
                       QStringLiteral("300")});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.elapsedMs >= 300);
    const int destroyed = r.record.indexOf(QStringLiteral("window destroyed"));
    const int unloaded = r.record.indexOf(QStringLiteral("unloaded app=alive windows=0"));
    QVERIFY2(destroyed > 0 && unloaded > destroyed, qPrintable(r.record.join(u'\n')));
}

void TestHost::grabSavesTheConsole()
{
    const QString shot = m_dir->filePath(QStringLiteral("shot.png"));
    const Run r = run({QStringLiteral("--module"), FakeModule, QStringLiteral("--grab"), shot,
                       QStringLiteral("--quit-after"), QStringLiteral("1000")});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 0);
    const QImage image(shot);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), QSize(1024, 720));
    // The module's window is in the picture.
    bool windowShown = false;
    for (int y = 0; y < image.height() && !windowShown; y += 2) {
        for (int x = 0; x < image.width() && !windowShown; x += 2)
            windowShown = image.pixelColor(x, y) == QColor(0x12, 0xab, 0x34);
    }
    QVERIFY(windowShown);
}

void TestHost::openSelectsAnItem_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("top level") << QStringLiteral("Delta") << QStringLiteral("current=Delta") << 0;
    QTest::newRow("under a collapsed item") << QStringLiteral("Gamma") << QStringLiteral("current=Gamma") << 0;
    QTest::newRow("no such item") << QStringLiteral("Epsilon") << QString() << 1;
    QTest::newRow("only part of a title") << QStringLiteral("Alph") << QString() << 1;
}

void TestHost::openSelectsAnItem()
{
    QFETCH(QString, title);
    QFETCH(QString, selected);
    QFETCH(int, exitCode);

    const Run r = run({QStringLiteral("--module"), FakeModule, QStringLiteral("--open"), title,
                       QStringLiteral("--quit-after"), QStringLiteral("0")});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, exitCode);
    QStringList currents;
    for (const QString& line : r.record) {
        if (line.startsWith(QLatin1String("current=")))
            currents.append(line);
    }
    if (selected.isEmpty()) {
        QVERIFY2(r.errors.contains(QStringLiteral("no navigation item titled \"%1\"").arg(title)),
                 qPrintable(r.errors));
        QVERIFY(currents.isEmpty() || !currents.last().endsWith(title));
    } else {
        QCOMPARE(currents.value(currents.size() - 1), selected);
    }
}

// The host reads exactly the 7 greeting bytes and leaves what follows to the module.
void TestHost::handsOverItsOwnSocket()
{
    OneShotServer server(QByteArray("GREET07") + QByteArray("after"));
    const Run r = run({QStringLiteral("--module"), FakeModule, QStringLiteral("--socket"),
                       QStringLiteral("--port"), QString::number(server.port()),
                       QStringLiteral("--quit-after"), QStringLiteral("0")});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.record.value(1).contains(QStringLiteral("|socket=open,rest=after|")),
             qPrintable(r.record.value(1)));
    QVERIFY(!r.record.value(1).contains(QStringLiteral("socket=0|")));
}

void TestHost::ownSocketFailures_data()
{
    QTest::addColumn<QByteArray>("greeting");
    QTest::addColumn<bool>("listening");
    QTest::addColumn<QString>("message");

    QTest::newRow("nobody listens") << QByteArray() << false << QStringLiteral("connect:");
    QTest::newRow("greeting cut short") << QByteArray("GRE") << true
        << QStringLiteral("the server closed the connection after 3 of the 7 greeting bytes");
}

void TestHost::ownSocketFailures()
{
    QFETCH(QByteArray, greeting);
    QFETCH(bool, listening);
    QFETCH(QString, message);

    // A server that sends its bytes and then closes: the one-shot server waits for the
    // peer, so a short greeting is served by closing the listener's peer at once.
    quint16 port = 0;
    std::unique_ptr<DeadPort> dead;
    std::unique_ptr<std::thread> shortServer;
    int listener = -1;
    if (listening) {
        listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        QCOMPARE(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        QCOMPARE(listen(listener, 1), 0);
        socklen_t length = sizeof address;
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        shortServer = std::make_unique<std::thread>([listener, greeting] {
            const int peer = accept(listener, nullptr, nullptr);
            if (peer >= 0) {
                send(peer, greeting.constData(), size_t(greeting.size()), MSG_NOSIGNAL);
                close(peer);
            }
        });
    } else {
        dead = std::make_unique<DeadPort>();
        port = dead->port();
    }

    const Run r = run({QStringLiteral("--module"), FakeModule, QStringLiteral("--socket"),
                       QStringLiteral("--port"), QString::number(port)});
    if (shortServer) {
        shutdown(listener, SHUT_RDWR);
        shortServer->join();
        close(listener);
    }
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 1);
    QVERIFY2(r.errors.contains(message), qPrintable(r.errors));
    for (const QString& line : r.record)
        QVERIFY(!line.startsWith(QLatin1String("module_connect")));
    QCOMPARE(r.record.last(), QStringLiteral("unloaded app=alive windows=0"));
}

void TestHost::rejectsABadCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown option") << QStringList{QStringLiteral("--colour")} << QStringLiteral("colour");
    QTest::newRow("mode not a number") << QStringList{QStringLiteral("--mode"), QStringLiteral("x")}
        << QStringLiteral("--mode expects a number from 0");
    QTest::newRow("negative quit-after") << QStringList{QStringLiteral("--quit-after"), QStringLiteral("-5")}
        << QStringLiteral("--quit-after expects a number of milliseconds");
    QTest::newRow("stray argument") << QStringList{QStringLiteral("server")}
        << QStringLiteral("unexpected argument server");
}

void TestHost::rejectsABadCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run r = run(arguments + QStringList{QStringLiteral("--module"), FakeModule});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.errors.contains(message), qPrintable(r.errors));
    QVERIFY(r.record.isEmpty());
}

QTEST_MAIN(TestHost)
#include "tst_host.moc"
