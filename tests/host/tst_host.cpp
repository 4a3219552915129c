// The console host, run as a program with a module of the tests' own that records what
// the host does with it.

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

using Environment = QMap<QString, QString>;

namespace {

const QString Console = QStringLiteral(ORNEL_CONSOLE_PATH);
const QString FakeModule = QStringLiteral(FAKE_MODULE_PATH);
const QString Unloaded = QStringLiteral("unloaded app=alive windows=0");

struct Run
{
    bool finished = false;
    int exitCode = -1;
    QString errors;
    QStringList record;
    qint64 elapsedMs = 0;
};

enum PeerMode { Waits, Closes, Absent };

// Where the test module saw the console's window: the line of the record that starts with
// "`what`=", its frame, the window within it and its screen's free area.
struct Placement
{
    bool read = false;
    QString line;
    QRect outer;
    QRect inner;
    QRect free;
};

Placement placement(const QStringList& record, const QString& what)
{
    Placement placed;
    const QStringList lines = record.filter(QRegularExpression(QStringLiteral("^%1=").arg(what)));
    if (lines.size() != 1)
        return placed;
    placed.line = lines.first();
    const QString rect = QStringLiteral("(-?\\d+),(-?\\d+) (\\d+)x(\\d+)");
    const QRegularExpressionMatch match = QRegularExpression(
        QStringLiteral("^%1=%2 inner=%2 free=%2$").arg(what, rect)).match(placed.line);
    if (!match.hasMatch())
        return placed;
    const auto captured = [&match](int first) {
        return QRect(match.captured(first).toInt(), match.captured(first + 1).toInt(),
                     match.captured(first + 2).toInt(), match.captured(first + 3).toInt());
    };
    placed.read = true;
    placed.outer = captured(1);
    placed.inner = captured(5);
    placed.free = captured(9);
    return placed;
}

// The console's own lines on standard error, without what Qt says there.
QString consoleLines(const QString& errors)
{
    QStringList own;
    for (const QString& line : errors.split(u'\n')) {
        if (line.startsWith(QLatin1String("ornel-console: ")))
            own.append(line);
    }
    return own.join(u'\n');
}

} // namespace

class TestHost : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void runs_data();
    void runs();
    void passesTheConnectionInOrder_data();
    void passesTheConnectionInOrder();
    void ownSocket_data();
    void ownSocket();
    void grabAndQuitAfter();
    void opensWithinTheScreen_data();
    void opensWithinTheScreen();
    void openByTitle_data();
    void openByTitle();

private:
    Run run(const QStringList& arguments, const Environment& environment = {}, const QString& program = Console);
    // The console shown with these screens, the first of them the primary one, in pixels of
    // their own, everything `ratio` times its size there, as desktops scale everything on
    // dense displays, with the pointer resting at `pointer`.
    Environment onScreens(const QList<QRect>& screens, qreal ratio = 1, QPoint pointer = {});

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestHost::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

Run TestHost::run(const QStringList& arguments, const Environment& environment, const QString& program)
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
    QSignalSpy finished(&process, &QProcess::finished);
    process.start(program, arguments);
    Run result;
    // The event loop runs meanwhile: a test's server answers the console.
    if (!finished.wait(30000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.finished = process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.elapsedMs = clock.elapsed();
    result.errors = QString::fromLocal8Bit(process.readAllStandardError());
    QFile record(recordFile);
    if (record.open(QIODevice::ReadOnly))
        result.record = QString::fromUtf8(record.readAll()).split(u'\n', Qt::SkipEmptyParts);
    return result;
}

Environment TestHost::onScreens(const QList<QRect>& screens, qreal ratio, QPoint pointer)
{
    QJsonArray described;
    for (const QRect& screen : screens) {
        described.append(QJsonObject{{"name", QStringLiteral("Screen %1").arg(described.size() + 1)},
                                     {"x", screen.x()}, {"y", screen.y()}, {"width", screen.width()},
                                     {"height", screen.height()}, {"logicalDpi", 96}, {"logicalBaseDpi", 96},
                                     {"dpr", 1}});
    }
    const QString config = m_dir->filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(QJsonDocument(QJsonObject{{"screens", described}}).toJson()) < 0)
        qFatal("cannot write %s", qPrintable(config));
    return {{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + config},
            {QStringLiteral("QT_SCALE_FACTOR"), QString::number(ratio)},
            {QStringLiteral("ORNEL_FAKE_POINTER"), QStringLiteral("%1,%2").arg(pointer.x()).arg(pointer.y())}};
}

void TestHost::runs_data()
{
    QTest::addColumn<QStringList>("arguments"); // the test module's unless --module is given
    QTest::addColumn<QString>("window");        // what the module opens
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("calls");     // the record without the selections and details

    const QStringList served{"module_init", "module_connect", "close_dll", "window destroyed", Unloaded};
    const QStringList quit{"--quit-after", "0"};
    // Loaded for the check, then let go without a single call.
    QTest::newRow("another interface version") << QStringList{"--module", OLD_FAKE_MODULE_PATH} << "stay" << 1
        << "interface version 4, this console needs version 5" << QStringList{Unloaded};
    QTest::newRow("no such module") << QStringList{"--module", "/nonexistent/libornelcon.so.0"} << "stay" << 1
                                    << "/nonexistent/libornelcon.so.0" << QStringList();
    QTest::newRow("no connection opened") << QStringList() << "none" << 1 << "no connection was opened"
                                          << QStringList{"module_init", "module_connect", Unloaded};
    // Nobody reads the dialog that tells why: its caption and shown lines, markup dropped,
    // go to standard error before the failure itself.
    QTest::newRow("no connection opened, the module's dialog told") << quit << "failure" << 1
        << "ornel-console: the module's dialog \"Fake Console\" said:\n"
           "ornel-console:   Failed to connect.\n"
           "ornel-console:   Connection has failed with error code 7.\n"
           "ornel-console:   Possible reasons:\n"
           "ornel-console:   - one\n"
           "ornel-console:   - two\n"
           "ornel-console: no connection was opened\n"
        << QStringList{"module_init", "module_connect", "failure dialog closed", Unloaded};
    QTest::newRow("unknown option") << QStringList{"--colour"} << "stay" << 2 << "colour" << QStringList();
    // The window asks for the unload from inside its own closing: the library must stay
    // until the window is destroyed, and go while the application still exists.
    QTest::newRow("window closes itself") << QStringList() << "close:200" << 0 << "" << served;
    // Quit while the module's box is up: the box is ended first, and neither the window nor
    // the library goes until the box's loop has returned into the module.
    QTest::newRow("quit under a module's box") << QStringList{"--quit-after", "400"} << "box:100" << 0 << ""
        << QStringList{"module_init", "module_connect", "box", "box ended window=alive", "close_dll",
                       "window destroyed", Unloaded};
    // Also shown by the page beside the tree, whose list comes first among the window's children.
    QTest::newRow("open an item under a collapsed one") << QStringList{"--open", "Gamma"} + quit << "stay" << 0 << ""
                                                        << served;
    QTest::newRow("open only part of a title") << QStringList{"--open", "Alph"} + quit << "stay" << 1
                                               << "no navigation item titled \"Alph\"" << served;
}

void TestHost::runs()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, window);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    QFETCH(QStringList, calls);
    const qsizetype open = arguments.indexOf(QStringLiteral("--open"));
    const QString opened = open < 0 ? QString() : arguments.value(open + 1);
    if (!arguments.contains(QStringLiteral("--module")))
        arguments << QStringLiteral("--module") << FakeModule;
    const Run r = run(arguments, {{QStringLiteral("ORNEL_FAKE_WINDOW"), window}});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.errors.contains(message), qPrintable(r.errors));
    QStringList record;
    for (const QString& line : r.record) {
        if (!line.startsWith(QLatin1String("current=")) && !line.startsWith(QLatin1String("console="))
            && !line.startsWith(QLatin1String("shown=")))
            record.append(line.section(QLatin1String(" desktop="), 0, 0));
    }
    QCOMPARE(record, calls);
    if (!opened.isEmpty())
        QCOMPARE(r.record.contains(QStringLiteral("current=") + opened), exitCode == 0);
}

void TestHost::passesTheConnectionInOrder_data()
{
    QTest::addColumn<QString>("found"); // how the console finds the module
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("call");

    QTest::newRow("defaults, the module beside the console") << "beside" << QStringList{}
        << "module_connect desktop=Desktop|socket=0|host=127.0.0.1|port=44337|user=|password=|reserved=0|handle=own|mode=0";
    // Placeholders in the texts stay as they are.
    QTest::newRow("everything given, the module named by the environment") << "environment"
        << QStringList{"--server", "mail.example.org", "--port", "4433", "--user", "%1", "--password", "50%8 open",
                       "--mode", "1"}
        << "module_connect desktop=Desktop|socket=0|host=mail.example.org|port=4433|user=%1|password=50%8 open|reserved=0|handle=own|mode=1";
}

void TestHost::passesTheConnectionInOrder()
{
    QFETCH(QString, found);
    QFETCH(QStringList, arguments);
    QFETCH(QString, call);
    QString console = Console;
    Environment environment;
    if (found == "beside") {
        QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("installed"))));
        console = m_dir->filePath(QStringLiteral("installed/ornel-console"));
        QVERIFY(QFile::copy(Console, console));
        QVERIFY(QFile::copy(FakeModule, m_dir->filePath(QStringLiteral("installed/libornelcon.so.0"))));
    } else {
        environment.insert(QStringLiteral("ORNEL_CONSOLE_MODULE"), FakeModule);
    }
    const Run r = run(arguments + QStringList{QStringLiteral("--quit-after"), QStringLiteral("0")}, environment, console);
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.record.mid(0, 2), (QStringList{QStringLiteral("module_init"), call}));
}

void TestHost::ownSocket_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("handedOver");
    QTest::addColumn<QString>("outcome"); // in the module's record, else in the console's complaint

    const QByteArray greeting = QByteArray::fromHex("11" "0002" "0005" "0000");
    const QString wrongVersion = QStringLiteral("the server speaks protocol version 16, not 17 (error code 103)");
    // The host reads exactly the 7 greeting bytes and leaves what follows to the module.
    QTest::newRow("handed over after the greeting") << greeting + "after" << int(Waits) << true
                                                    << "|socket=open,rest=after|";
    QTest::newRow("nobody listens") << QByteArray() << int(Absent) << false << "connect:";
    QTest::newRow("greeting cut short") << greeting.left(3) << int(Closes) << false
                                        << "the server closed the connection after 3 of the 7 greeting bytes";
    // Another version is refused as soon as its byte arrives, as the module refuses it:
    // such a server may send nothing more, or something the module cannot follow.
    QTest::newRow("another version, nothing after it") << QByteArray::fromHex("10") << int(Waits) << false
                                                       << wrongVersion;
    QTest::newRow("another version, a whole greeting") << QByteArray::fromHex("10" "0002" "0005" "0000") + "after"
                                                       << int(Waits) << false << wrongVersion;
}

void TestHost::ownSocket()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, mode);
    QFETCH(bool, handedOver);
    QFETCH(QString, outcome);
    QTcpServer server;
    QTcpSocket bound; // holds a port on which nobody listens
    QVERIFY(mode == Absent ? bound.bind(QHostAddress::LocalHost) : server.listen(QHostAddress::LocalHost));
    connect(&server, &QTcpServer::newConnection, &server, [&] {
        QTcpSocket* peer = server.nextPendingConnection();
        peer->write(bytes);
        if (mode == Closes)
            peer->disconnectFromHost();
    });
    const quint16 port = mode == Absent ? bound.localPort() : server.serverPort();
    const Run r = run({QStringLiteral("--module"), FakeModule, QStringLiteral("--socket"), QStringLiteral("--port"),
                       QString::number(port), QStringLiteral("--quit-after"), QStringLiteral("0")});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, handedOver ? 0 : 1);
    QVERIFY2((handedOver ? r.record.value(1) : r.errors).contains(outcome), qPrintable(r.errors + r.record.join(u'\n')));
    QCOMPARE(r.record.value(1).startsWith(QLatin1String("module_connect")), handedOver);
    QCOMPARE(r.record.last(), Unloaded);
}

void TestHost::grabAndQuitAfter()
{
    const QString shot = m_dir->filePath(QStringLiteral("shot.png"));
    const QString later = m_dir->filePath(QStringLiteral("later.png"));
    const Run r = run({QStringLiteral("--module"), FakeModule, QStringLiteral("--grab"), shot,
                       QStringLiteral("--grab-at-quit"), later, QStringLiteral("--quit-after"),
                       QStringLiteral("1000")},
                      onScreens({QRect(0, 0, 1280, 800)}));
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.elapsedMs >= 1000);
    // Both show the module's window, in the colour it paints itself.
    for (const QString& file : {shot, later}) {
        const QImage image(file);
        QCOMPARE(image.size(), QSize(1024, 720));
        bool windowShown = false;
        for (int y = 0; y < image.height() && !windowShown; y += 2) {
            for (int x = 0; x < image.width() && !windowShown; x += 2)
                windowShown = image.pixelColor(x, y) == QColor(0x12, 0xab, 0x34);
        }
        QVERIFY2(windowShown, qPrintable(file));
    }
    QVERIFY(QFileInfo(later).lastModified() >= QFileInfo(shot).lastModified());
}

void TestHost::opensWithinTheScreen_data()
{
    QTest::addColumn<QList<QRect>>("screens"); // in pixels of their own
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QPoint>("pointer"); // in the widgets' pixels
    QTest::addColumn<int>("on");         // the screen the console opens on
    QTest::addColumn<QSize>("opened");   // the window without its frame, where the screen holds that

    const QSize usual(1024, 720);
    const QPoint corner(0, 0);
    QTest::newRow("1280 by 800") << QList<QRect>{{0, 0, 1280, 800}} << 1.0 << corner << 0 << usual;
    QTest::newRow("1920 by 1080, everything 1.25 times its size") << QList<QRect>{{0, 0, 1920, 1080}} << 1.25
                                                                   << corner << 0 << usual;
    QTest::newRow("1280 by 800, everything twice its size") << QList<QRect>{{0, 0, 1280, 800}} << 2.0 << corner << 0
                                                             << QSize();
    QTest::newRow("1366 by 768, everything 1.5 times its size") << QList<QRect>{{0, 0, 1366, 768}} << 1.5 << corner
                                                                 << 0 << QSize();
    QTest::newRow("800 by 600") << QList<QRect>{{0, 0, 800, 600}} << 1.0 << corner << 0 << QSize();
    // The window fits; with its frame it does not.
    QTest::newRow("1024 by 768") << QList<QRect>{{0, 0, 1024, 768}} << 1.0 << corner << 0 << QSize();
    QTest::newRow("a screen away from the corner where windows open") << QList<QRect>{{300, 200, 1280, 800}} << 1.0
                                                                       << corner << 0 << usual;
    QTest::newRow("two screens, the pointer on the smaller") << QList<QRect>{{700, 0, 1920, 1080}, {0, 0, 700, 500}}
                                                             << 1.0 << corner << 1 << QSize();
    // The window as it is first made lies partly on that screen, its middle on the primary.
    QTest::newRow("the pointer on a small screen left of the primary, short of the window's middle")
        << QList<QRect>{{400, 0, 1920, 1080}, {0, 0, 400, 300}} << 1.0 << QPoint(200, 150) << 1 << QSize();
    // Screens above or left of the primary lie at negative coordinates; the pointer is on
    // one of them.
    QTest::newRow("the pointer on a small screen above the primary")
        << QList<QRect>{{0, 0, 1920, 1080}, {0, -400, 600, 400}} << 1.0 << QPoint(300, -200) << 1 << QSize();
    QTest::newRow("the pointer on a screen above the primary that holds the usual size")
        << QList<QRect>{{0, 0, 1920, 1080}, {200, -900, 1280, 900}} << 1.0 << QPoint(800, -450) << 1 << usual;
    QTest::newRow("the pointer on a small screen left of the primary")
        << QList<QRect>{{0, 0, 1920, 1080}, {-800, 0, 800, 600}} << 1.0 << QPoint(-400, 300) << 1 << QSize();
    QTest::newRow("the pointer on a screen left of and above the primary")
        << QList<QRect>{{0, 0, 1920, 1080}, {-1280, -800, 1280, 800}} << 1.0 << QPoint(-640, -400) << 1 << usual;
    // The pointer on no screen: the primary.
    QTest::newRow("one screen left of and above the origin, the pointer off it")
        << QList<QRect>{{-1366, -768, 1366, 768}} << 1.0 << corner << 0 << usual;
}

// The console opens on the screen under the pointer, at 1024 by 720 where that screen's free
// area holds that with the window's frame, else as large as that area holds, and always
// wholly inside it. It shows there at once: the window system never first shows it at a size
// or a place that is corrected afterwards, on that screen or another.
void TestHost::opensWithinTheScreen()
{
    QFETCH(QList<QRect>, screens);
    QFETCH(qreal, ratio);
    QFETCH(QPoint, pointer);
    QFETCH(int, on);
    QFETCH(QSize, opened);
    const Run r = run({QStringLiteral("--module"), FakeModule, QStringLiteral("--quit-after"), QStringLiteral("300")},
                      onScreens(screens, ratio, pointer));
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 0);
    const Placement placed = placement(r.record, QStringLiteral("console"));
    QVERIFY2(placed.read, qPrintable(r.record.join(u'\n')));
    const Placement shown = placement(r.record, QStringLiteral("shown"));
    QVERIFY2(shown.read, qPrintable(r.record.join(u'\n')));
    const QString described = placed.line + u'\n' + shown.line;
    const QRect screen = screens.at(on);
    QCOMPARE(placed.free, QRect(screen.topLeft() / ratio, screen.size() / ratio));
    QVERIFY2(placed.free.contains(placed.outer), qPrintable(described));
    QCOMPARE(shown.free, placed.free);
    QCOMPARE(shown.outer, placed.outer);
    QCOMPARE(shown.inner, placed.inner);
    if (opened.isValid()) {
        QCOMPARE(placed.inner.size(), opened);
        return;
    }
    // As large as the free area holds: its whole width or height, frame and all.
    const QRect outer = placed.outer;
    const QRect inner = placed.inner;
    QVERIFY2(outer.width() == placed.free.width() || outer.height() == placed.free.height(), qPrintable(described));
    QVERIFY(inner.width() <= 1024 && inner.height() <= 720);
    QCOMPARE(inner.size(), QSize(1024, 720).boundedTo(placed.free.size() - (outer.size() - inner.size())));
}

void TestHost::openByTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("selected"); // empty: none
    QTest::addColumn<QString>("complaint");

    const QString titles = QStringLiteral("\"Alpha\", \"Beta\", \"Gamma\", \"Delta\", \"DELTA\"");
    QTest::newRow("the title as shown") << "Gamma" << "Gamma" << "";
    QTest::newRow("another letter case, one item") << "gAMMA" << "Gamma" << "";
    QTest::newRow("the exact title among others in other cases") << "DELTA" << "DELTA" << "";
    QTest::newRow("another letter case, several items") << "delta" << ""
        << "ornel-console: --open: \"delta\" could be any of the navigation items \"Delta\", \"DELTA\"; "
           "give the title in its letter case";
    QTest::newRow("part of a title") << "Alph" << ""
        << "ornel-console: --open: no navigation item titled \"Alph\"; the titles are " + titles;
}

// --open finds the item whatever its letter case when that leaves one title, and names the
// titles there are when it finds none.
void TestHost::openByTitle()
{
    QFETCH(QString, title);
    QFETCH(QString, selected);
    QFETCH(QString, complaint);
    const Run r = run({QStringLiteral("--module"), FakeModule, QStringLiteral("--open"), title,
                       QStringLiteral("--quit-after"), QStringLiteral("0")});
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, selected.isEmpty() ? 1 : 0);
    QCOMPARE(consoleLines(r.errors), complaint);
    QStringList current;
    for (const QString& line : r.record) {
        if (line.startsWith(QLatin1String("current=")))
            current.append(line.mid(8));
    }
    QCOMPARE(current, selected.isEmpty() ? QStringList() : QStringList{selected});
}

QTEST_MAIN(TestHost)
#include "tst_host.moc"
