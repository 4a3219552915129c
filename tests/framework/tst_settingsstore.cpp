#include "settingsstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString fileText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<missing>");
    return QString::fromUtf8(file.readAll());
}

void putFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void keyPlacesEntry_data();
    void keyPlacesEntry();
    void keyOfOnePartIsRefused();
    void fileTextAsWrittenBefore();
    void valuesAreEscaped_data();
    void valuesAreEscaped();
    void readsExistingFile();
    void typedReads_data();
    void typedReads();
    void storesShareTheFile();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString folder() const { return m_dir->path() + QStringLiteral("/.Ornel"); }
    QString adminrc() const { return fileText(folder() + QStringLiteral("/adminrc")); }
};

void TestSettingsStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestSettingsStore::keyPlacesEntry_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("readAs");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");

    QTest::newRow("column layout") << "/Admin/Mail/user/ver" << "/Admin/Mail/user/ver" << "adminrc"
                                   << "[Mail]\nuser/ver=2\n\n";
    // Empty key parts are dropped; the file's part is read in any case.
    QTest::newRow("section with its own slash") << "//ADMIN/Ferrox/IP Groups/width" << "/admin/Ferrox/IP Groups/width"
                                                << "adminrc" << "[Ferrox]\nIP Groups/width=2\n\n";
    QTest::newRow("slashes inside and after") << "/Admin//Ferrox/Time Intervals//width/"
                                              << "/Admin/Ferrox/Time Intervals/width" << "adminrc"
                                              << "[Ferrox]\nTime Intervals/width=2\n\n";
    QTest::newRow("file name in lower case") << "/ConSole/Main/x" << "/ConSole/Main/x" << "consolerc"
                                             << "[Main]\nx=2\n\n";
    QTest::newRow("two parts go to General") << "/Admin/ver" << "/Admin/ver" << "adminrc" << "[General]\nver=2\n\n";
}

void TestSettingsStore::keyPlacesEntry()
{
    QFETCH(QString, key);
    QFETCH(QString, readAs);
    QFETCH(QString, file);
    QFETCH(QString, text);

    SettingsStore store(folder());
    QVERIFY(store.writeEntry(key, 2));
    QCOMPARE(fileText(folder() + QLatin1Char('/') + file), text);
    QCOMPARE(store.readNumEntry(readAs, -1), 2);
}

void TestSettingsStore::keyOfOnePartIsRefused()
{
    SettingsStore store(folder());
    for (const QString key : {"/Admin", "///"}) {
        QVERIFY(!store.writeEntry(key, 7));
        QCOMPARE(store.readEntry(key, QStringLiteral("def")), QStringLiteral("def"));
    }
    QVERIFY(!QDir(folder()).exists());
}

void TestSettingsStore::fileTextAsWrittenBefore()
{
    SettingsStore store(folder());
    // Written out of order on purpose: the file lists groups and entries sorted by name,
    // whole groups together ("Mail" before "Mail Log").
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/width"), 800));
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail Log/x"), QStringLiteral("1")));
    QVERIFY(store.writeEntry(QStringLiteral("//Admin/Ferrox/IP Groups/ver"), 1));
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/maximized"), true));
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/font"), "Mono"));
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/hidden"), false));
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/width"), 1024));

    QCOMPARE(adminrc(), QStringLiteral("[Ferrox]\nIP Groups/ver=1\n\n"
                                       "[Mail]\nfont=Mono\nhidden=false\nmaximized=true\nwidth=1024\n\n"
                                       "[Mail Log]\nx=1\n\n"));
}

void TestSettingsStore::valuesAreEscaped_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("line");

    QTest::newRow("backslash") << "a\\b" << "v=a\\\\b";
    QTest::newRow("new line") << "a\nb" << "v=a\\nb";
    QTest::newRow("backslash before n") << "a\\nb" << "v=a\\\\nb";
    QTest::newRow("empty") << "" << "v=";
    QTest::newRow("null") << QString() << "v=\\0";
}

void TestSettingsStore::valuesAreEscaped()
{
    QFETCH(QString, value);
    QFETCH(QString, line);

    const QString text = QStringLiteral("[Mail]\n") + line + QStringLiteral("\n\n");
    const QString writerFolder = folder() + QStringLiteral("/written");
    QVERIFY(SettingsStore(writerFolder).writeEntry(QStringLiteral("/Admin/Mail/v"), value));
    QCOMPARE(fileText(writerFolder + QStringLiteral("/adminrc")), text);

    // Read from a file this process never cached, so that the parser itself reads it.
    QVERIFY(QDir().mkpath(folder()));
    putFile(folder() + QStringLiteral("/adminrc"), text.toUtf8());
    const QString read = SettingsStore(folder()).readEntry(QStringLiteral("/Admin/Mail/v"), QStringLiteral("absent"));
    QCOMPARE(read, value);
    QCOMPARE(read.isNull(), value.isNull());
}

void TestSettingsStore::readsExistingFile()
{
    QVERIFY(QDir().mkpath(folder()));
    putFile(folder() + QStringLiteral("/adminrc"),
            "[Mail]\n"
            "user/ver=2\n"
            "path=C:\\\\mail\\\\in\n"
            "motd=one\\ntwo\n"
            "odd=keep\\tthis\n"
            "\n"
            "  [Ferrox]  \r\n"
            "IP Groups/width = 0002-001-001\r\n"
            "\n"
            "not an entry\n"
            "[Logs]\n"
            "empty=\n");

    SettingsStore store(folder());
    QCOMPARE(store.readNumEntry(QStringLiteral("/Admin/Mail/user/ver"), -1), 2);
    QCOMPARE(store.readEntry(QStringLiteral("/Admin/Mail/path")), QStringLiteral("C:\\mail\\in"));
    QCOMPARE(store.readEntry(QStringLiteral("/Admin/Mail/motd")), QStringLiteral("one\ntwo"));
    QCOMPARE(store.readEntry(QStringLiteral("/Admin/Mail/odd")), QStringLiteral("keep\\tthis"));
    QCOMPARE(store.readEntry(QStringLiteral("//Admin/Ferrox/IP Groups/width")), QStringLiteral(" 0002-001-001"));
    QCOMPARE(store.readEntry(QStringLiteral("/Admin/Logs/empty"), QStringLiteral("def")), QString(""));
    QCOMPARE(store.readEntry(QStringLiteral("/Admin/Logs/missing"), QStringLiteral("def")), QStringLiteral("def"));

    // A write rewrites the file in its own order and keeps every entry it read.
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/user/ver"), 3));
    QCOMPARE(adminrc(), QStringLiteral("[Ferrox]\nIP Groups/width= 0002-001-001\n\n[Logs]\nempty=\n\n"
                                       "[Mail]\nmotd=one\\ntwo\nodd=keep\\\\tthis\npath=C:\\\\mail\\\\in\nuser/ver=3\n\n"));
}

void TestSettingsStore::typedReads_data()
{
    QTest::addColumn<QString>("stored"); // null: absent
    QTest::addColumn<int>("number");     // read with the default -99
    QTest::addColumn<bool>("ifFalse");   // read with the default false
    QTest::addColumn<bool>("ifTrue");    // read with the default true

    QTest::newRow("negative number") << "-7" << -7 << false << true;
    QTest::newRow("number then text") << "12px" << -99 << false << true;
    QTest::newRow("absent") << QString() << -99 << false << true;
    QTest::newRow("1") << "1" << 1 << true << true;
    QTest::newRow("On") << "On" << -99 << true << true;
    QTest::newRow("true") << "true" << -99 << true << true;
    QTest::newRow("OFF") << "OFF" << -99 << false << false;
    QTest::newRow("false") << "false" << -99 << false << false;
}

void TestSettingsStore::typedReads()
{
    QFETCH(QString, stored);
    QFETCH(int, number);
    QFETCH(bool, ifFalse);
    QFETCH(bool, ifTrue);

    SettingsStore store(folder());
    const QString key = QStringLiteral("/Admin/Mail/n");
    if (!stored.isNull())
        QVERIFY(store.writeEntry(key, stored));
    QCOMPARE(store.readNumEntry(key, -99), number);
    QCOMPARE(store.readBoolEntry(key, false), ifFalse);
    QCOMPARE(store.readBoolEntry(key, true), ifTrue);
}

void TestSettingsStore::storesShareTheFile()
{
    SettingsStore first(folder());
    SettingsStore second(folder());
    QVERIFY(first.writeEntry(QStringLiteral("/Admin/Mail/a"), 1));
    QVERIFY(second.writeEntry(QStringLiteral("/Admin/Mail/b"), 2));
    QVERIFY(first.writeEntry(QStringLiteral("/Admin/Mail/c"), 3));
    QCOMPARE(first.readNumEntry(QStringLiteral("/Admin/Mail/b"), -1), 2);
    QCOMPARE(adminrc(), QStringLiteral("[Mail]\na=1\nb=2\nc=3\n\n"));

    // Another console rewrites the file behind both stores' backs.
    putFile(folder() + QStringLiteral("/adminrc"), "[Mail]\na=1234\n\n");
    QCOMPARE(first.readNumEntry(QStringLiteral("/Admin/Mail/a"), -1), 1234);
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
