// The built module as the console host meets it: loaded with dlopen(), its entry record
// and descriptor read by position, a server opened through module_connect against the
// stand-in server, the window closed, the module unloaded on its request and loaded again.
// It links nothing of the module; everything goes through the loaded library.

#include "desktop.h"
#include "ornelplugin.h"
#include "testserver.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

#include <dlfcn.h>

#include <memory>

using namespace StandIn;

namespace {

const char ModulePath[] = ORNEL_MODULE_PATH;
const char ConsolePath[] = ORNEL_CONSOLE_PATH;

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
    LoadedModule() : m_handle(dlopen(ModulePath, RTLD_NOW | RTLD_LOCAL))
    {
        if (m_handle)
            m_entry = static_cast<const InitInterface*>(dlsym(m_handle, "init_interface"));
    }
    ~LoadedModule() { unload(); }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    void* handle() const { return m_handle; }
    const InitInterface* entry() const { return m_entry; }
    void unload()
    {
        if (m_handle)
            dlclose(m_handle);
        m_handle = nullptr;
        m_entry = nullptr;
    }

private:
    void* m_handle;
    const InitInterface* m_entry = nullptr;
};

} // namespace

class tst_ModuleLoad : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void entryRecordAndDescriptor();
    void descriptorIcons_data();
    void descriptorIcons();
    void connectCloseUnloadAndAgain();
    void consoleRunsTheModule_data();
    void consoleRunsTheModule();

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
    // A second call gives the same record.
    QCOMPARE(module.entry()->module_init(), d);
}

void tst_ModuleLoad::descriptorIcons_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("small") << 16;
    QTest::newRow("medium") << 32;
    QTest::newRow("large") << 48;
}

void tst_ModuleLoad::descriptorIcons()
{
    QFETCH(int, size);
    LoadedModule module;
    QVERIFY(module.entry());
    const ModuleDescriptor* d = module.entry()->module_init();
    const QPixmap& icon = size == 16 ? d->smallIcon : size == 32 ? d->mediumIcon : d->largeIcon;
    QCOMPARE(icon.size(), QSize(size, size));
    // The magenta background is masked away; the picture in the middle is not.
    const QImage image = icon.toImage();
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(size - 1, size - 1)), 0);
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (qAlpha(image.pixel(x, y)) != 0)
                QVERIFY2(QColor(image.pixel(x, y)) != QColor(Qt::magenta),
                         qPrintable(QStringLiteral("magenta shows at %1,%2").arg(x).arg(y)));
        }
    }
}

void tst_ModuleLoad::openCloseAndUnload(int round)
{
    auto module = std::make_unique<LoadedModule>();
    QVERIFY(module->entry());
    QVERIFY(module->entry()->module_init());

    QWidget console;
    auto* layout = new QVBoxLayout(&console);
    auto* desktop = new Desktop(&console);
    layout->addWidget(desktop);
    console.resize(900, 600);
    console.show();

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
        for (const SessionInfo& session : m_server->sessions()) {
            if (session.connected)
                return false;
        }
        return true;
    };
    QTRY_VERIFY(allEnded());
}

void tst_ModuleLoad::consoleRunsTheModule_data()
{
    QTest::addColumn<QStringList>("extra");
    QTest::newRow("plain") << QStringList();
    QTest::newRow("with the request log") << QStringList{"--mode", "1"};
    QTest::newRow("host's own socket") << QStringList{"--socket"};
    QTest::newRow("a page chosen") << QStringList{"--open", "Users"};
}

// The stand-in console loads the module, opens the server, takes its picture and quits
// once the module, asked to close, has asked to be unloaded.
void tst_ModuleLoad::consoleRunsTheModule()
{
    QFETCH(QStringList, extra);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString shot = dir.filePath(QStringLiteral("console.png"));
    const int sessionsBefore = m_server->sessions().size();

    QProcess console;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), dir.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    console.setProcessEnvironment(environment);
    console.start(QString::fromLocal8Bit(ConsolePath),
                  QStringList{"--module", QString::fromLocal8Bit(ModulePath), "--server",
                              "127.0.0.1", "--port", QString::number(m_server->port()),
                              "--user", "admin", "--password", "admin", "--grab", shot,
                              "--quit-after", "1500"}
                      + extra);
    QVERIFY(console.waitForFinished(60000));
    const QByteArray errors = console.readAllStandardError();
    QCOMPARE(console.exitStatus(), QProcess::NormalExit);
    QVERIFY2(console.exitCode() == 0, errors.constData());
    QVERIFY2(!errors.contains("did not ask to be unloaded"), errors.constData());
    const QImage picture(shot);
    QCOMPARE(picture.size(), QSize(1024, 720));
    QCOMPARE(m_server->sessions().size(), sessionsBefore + 1);
    QTRY_VERIFY(!m_server->sessions().constLast().connected);
    // The window's size went to the settings as it closed.
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral(".Ornel/adminrc"))));
}

QTEST_MAIN(tst_ModuleLoad)
#include "tst_moduleload.moc"
