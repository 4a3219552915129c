#include "filewrites.h"
#include "settingsstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

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

// Keys of the store and the values read under them; a null value: absent.
using Entries = QList<std::pair<QString, QString>>;

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
    void readsFilesWrittenOtherwise_data();
    void readsFilesWrittenOtherwise();
    void oddKeys_data();
    void oddKeys();
    void typedReads_data();
    void typedReads();
    void storesShareTheFile();
    void batchWritesEachFileOnce_data();
    void batchWritesEachFileOnce();
    void batchReadsItsOwnWrites();

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
            "\n"
            "[Ferrox]\r\n"
            "IP Groups/width= 0002-001-001\r\n"
            "\n"
            "not an entry\n"
            "[Logs]\n"
            "empty=\n");

    SettingsStore store(folder());
    QCOMPARE(store.readNumEntry(QStringLiteral("/Admin/Mail/user/ver"), -1), 2);
    QCOMPARE(store.readEntry(QStringLiteral("/Admin/Mail/path")), QStringLiteral("C:\\mail\\in"));
    QCOMPARE(store.readEntry(QStringLiteral("/Admin/Mail/motd")), QStringLiteral("one\ntwo"));
    QCOMPARE(store.readEntry(QStringLiteral("//Admin/Ferrox/IP Groups/width")), QStringLiteral(" 0002-001-001"));
    QCOMPARE(store.readEntry(QStringLiteral("/Admin/Logs/empty"), QStringLiteral("def")), QString(""));
    QCOMPARE(store.readEntry(QStringLiteral("/Admin/Logs/missing"), QStringLiteral("def")), QStringLiteral("def"));

    // A write rewrites the file in its own order and keeps every entry it read.
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/user/ver"), 3));
    QCOMPARE(adminrc(), QStringLiteral("[Ferrox]\nIP Groups/width= 0002-001-001\n\n[Logs]\nempty=\n\n"
                                       "[Mail]\nmotd=one\\ntwo\npath=C:\\\\mail\\\\in\nuser/ver=3\n\n"));
}

void TestSettingsStore::readsFilesWrittenOtherwise_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Entries>("entries");
    // After writing "/Admin/Mail/new" = "1".
    QTest::addColumn<QString>("rewritten");

    QTest::newRow("comment")
        << QByteArray("# kept by hand\n[Mail]\n#x=1\nx=2\n")
        << Entries{{"/Admin/Mail/#x", QString()}, {"/Admin/Mail/x", "2"}}
        << "[Mail]\nnew=1\nx=2\n\n";
    QTest::newRow("hash inside a line")
        << QByteArray("[Mail]\nx#=1\nx=#2\n")
        << Entries{{"/Admin/Mail/x#", "1"}, {"/Admin/Mail/x", "#2"}}
        << "[Mail]\nnew=1\nx=#2\nx#=1\n\n";
    QTest::newRow("blanks around the name")
        << QByteArray("[Mail]\n x =1\nx=2\n")
        << Entries{{"/Admin/Mail/ x ", "1"}, {"/Admin/Mail/x", "2"}}
        << "[Mail]\n x =1\nnew=1\nx=2\n\n";
    QTest::newRow("name up to the first equals sign")
        << QByteArray("[Mail]\nx=a=b\n")
        << Entries{{"/Admin/Mail/x", "a=b"}}
        << "[Mail]\nnew=1\nx=a=b\n\n";
    QTest::newRow("header not at the start of a line")
        << QByteArray("[Mail]\n [Logs]\nx=1\n")
        << Entries{{"/Admin/Mail/x", "1"}, {"/Admin/Logs/x", QString()}}
        << "[Mail]\nnew=1\nx=1\n\n";
    QTest::newRow("header without its bracket")
        << QByteArray("[Logs\nx=1\n")
        << Entries{{"/Admin/Logs/x", "1"}}
        << "[Logs]\nx=1\n\n[Mail]\nnew=1\n\n";
    QTest::newRow("header with text after its bracket")
        << QByteArray("[Logs] old\nx=1\n")
        << Entries{{"/Admin/Logs/x", QString()}, {"/Admin/Logs] old/x", "1"}}
        << "[Logs] old]\nx=1\n\n[Mail]\nnew=1\n\n";
    QTest::newRow("unknown escapes")
        << QByteArray("[Mail]\nx=a\\tb\\=c\\\\d\n")
        << Entries{{"/Admin/Mail/x", "atb=c\\d"}}
        << "[Mail]\nnew=1\nx=atb=c\\\\d\n\n";
    QTest::newRow("backslash ends the line")
        << QByteArray("[Mail]\nx=one\\\ntwo\ny=3\n")
        << Entries{{"/Admin/Mail/x", "one\ntwo"}, {"/Admin/Mail/y", "3"}}
        << "[Mail]\nnew=1\nx=one\\ntwo\ny=3\n\n";
    QTest::newRow("continued line that looks like a header")
        << QByteArray("[Mail]\nx=a\\\n[Logs]\\\n#b\ny=1\n")
        << Entries{{"/Admin/Mail/x", "a\n[Logs]\n#b"}, {"/Admin/Mail/y", "1"}, {"/Admin/Logs/y", QString()}}
        << "[Mail]\nnew=1\nx=a\\n[Logs]\\n#b\ny=1\n\n";
    QTest::newRow("escaped backslash ends the line")
        << QByteArray("[Mail]\nx=a\\\\\ny=1\n")
        << Entries{{"/Admin/Mail/x", "a\\"}, {"/Admin/Mail/y", "1"}}
        << "[Mail]\nnew=1\nx=a\\\\\ny=1\n\n";
    QTest::newRow("backslash ends the file")
        << QByteArray("[Mail]\nx=a\\\n")
        << Entries{{"/Admin/Mail/x", "a"}}
        << "[Mail]\nnew=1\nx=a\n\n";
    QTest::newRow("carriage returns")
        << QByteArray("[Mail]\r\nx=a\\\r\nb\r\n y=1\r\n")
        << Entries{{"/Admin/Mail/x", "a\nb"}, {"/Admin/Mail/ y", "1"}}
        << "[Mail]\n y=1\nnew=1\nx=a\\nb\n\n";
}

void TestSettingsStore::readsFilesWrittenOtherwise()
{
    QFETCH(QByteArray, file);
    QFETCH(Entries, entries);
    QFETCH(QString, rewritten);

    QVERIFY(QDir().mkpath(folder()));
    putFile(folder() + QStringLiteral("/adminrc"), file);
    SettingsStore store(folder());
    for (const auto& [key, value] : entries) {
        const QString read = store.readEntry(key, QStringLiteral("<absent>"));
        QCOMPARE(read, value.isNull() ? QStringLiteral("<absent>") : value);
    }
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/new"), 1));
    QCOMPARE(adminrc(), rewritten);
}

void TestSettingsStore::oddKeys_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");

    QTest::newRow("blanks around the name") << "/Admin/Mail/ x " << true << "adminrc" << "[Mail]\n x =v\n\n";
    QTest::newRow("blanks around the group") << "/Admin/ Mail / x" << true << "adminrc" << "[ Mail ]\n x=v\n\n";
    QTest::newRow("blank in the file's part") << "/My Tool/Main/x" << true << "my_toolrc" << "[Main]\nx=v\n\n";
    QTest::newRow("tab and blank around the file's part") << "/\tMy Tool /Main/x" << true << "_my_tool_rc"
                                                          << "[Main]\nx=v\n\n";
    QTest::newRow("hash and bracket inside the name") << "/Admin/Mail/a#[b]" << true << "adminrc"
                                                      << "[Mail]\na#[b]=v\n\n";
    QTest::newRow("hash after a slash of the name") << "/Admin/Mail/a/#b" << true << "adminrc"
                                                    << "[Mail]\na/#b=v\n\n";
    QTest::newRow("equals sign in the name") << "/Admin/Mail/a=b" << false << "adminrc" << "";
    QTest::newRow("equals sign in the group") << "/Admin/Ma=il/a" << false << "adminrc" << "";
    QTest::newRow("carriage return") << "/Admin/Mail/a\rb" << false << "adminrc" << "";
    QTest::newRow("new line") << "/Admin/Mail/a\nb" << false << "adminrc" << "";
    QTest::newRow("new line in the group") << "/Admin/Ma\nil/a" << false << "adminrc" << "";
    QTest::newRow("name begins with a hash") << "/Admin/Mail/#a" << false << "adminrc" << "";
    QTest::newRow("name begins with a bracket") << "/Admin/Mail/[a" << false << "adminrc" << "";
    QTest::newRow("name in General begins with a hash") << "/Admin/#a" << false << "adminrc" << "";
}

void TestSettingsStore::oddKeys()
{
    QFETCH(QString, key);
    QFETCH(bool, written);
    QFETCH(QString, file);
    QFETCH(QString, text);

    const QString writerFolder = folder() + QStringLiteral("/written");
    QCOMPARE(SettingsStore(writerFolder).writeEntry(key, "v"), written);
    const QString writtenText = fileText(writerFolder + QLatin1Char('/') + file);
    QCOMPARE(writtenText, written ? text : QStringLiteral("<missing>"));

    // Read back from a file this process never cached, so that the parser itself reads it.
    if (written) {
        QVERIFY(QDir().mkpath(folder()));
        putFile(folder() + QLatin1Char('/') + file, writtenText.toUtf8());
    }
    QCOMPARE(SettingsStore(folder()).readEntry(key, QStringLiteral("<absent>")),
             written ? QStringLiteral("v") : QStringLiteral("<absent>"));
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

void TestSettingsStore::batchWritesEachFileOnce_data()
{
    QTest::addColumn<bool>("batch");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("adminWrites");
    QTest::addColumn<int>("consoleWrites");

    const QStringList layout{"/Admin/Mail/user/ver",  "/Admin/Mail/user/cols", "/Admin/Mail/user/disp",
                             "/Admin/Mail/user/hid",  "/Admin/Mail/user/show", "/Admin/Mail/user/width"};
    QTest::newRow("without a batch, each write") << false << layout << 6 << 0;
    QTest::newRow("six entries of one file") << true << layout << 1 << 0;
    QTest::newRow("two files") << true
                               << QStringList{"/Admin/Mail/a", "/Console/Main/b", "/Admin/Logs/c", "/Console/d"}
                               << 1 << 1;
    QTest::newRow("refused key among them") << true << QStringList{"/Admin/Mail/a", "/Admin/Mail/a=b"} << 1 << 0;
    QTest::newRow("refused keys only") << true << QStringList{"/Admin/Mail/a=b", "/Admin"} << 0 << 0;
}

void TestSettingsStore::batchWritesEachFileOnce()
{
    QFETCH(bool, batch);
    QFETCH(QStringList, keys);
    QFETCH(int, adminWrites);
    QFETCH(int, consoleWrites);

    QVERIFY(QDir().mkpath(folder()));
    FileWrites writes(folder());
    QVERIFY(writes.isValid());
    SettingsStore store(folder());
    QStringList accepted;
    {
        std::optional<SettingsStore::Batch> held;
        if (batch)
            held.emplace(&store);
        for (const QString& key : keys) {
            if (store.writeEntry(key, 5))
                accepted.append(key);
        }
        if (batch) {
            QCOMPARE(writes.take(QStringLiteral("adminrc")), 0);
            QCOMPARE(writes.take(QStringLiteral("consolerc")), 0);
        }
    }
    QCOMPARE(writes.take(QStringLiteral("adminrc")), adminWrites);
    QCOMPARE(writes.take(QStringLiteral("consolerc")), consoleWrites);
    // Each write waits for the file's lock, and only a write.
    QCOMPARE(writes.take(QStringLiteral("adminrc.lock")), adminWrites);
    QCOMPARE(writes.take(QStringLiteral("consolerc.lock")), consoleWrites);

    // What was taken reached the files.
    QCOMPARE(accepted.isEmpty(), adminWrites + consoleWrites == 0);
    SettingsStore reader(folder());
    for (const QString& key : accepted)
        QCOMPARE(reader.readNumEntry(key, -1), 5);
}

void TestSettingsStore::batchReadsItsOwnWrites()
{
    QVERIFY(QDir().mkpath(folder()));
    FileWrites writes(folder());
    QVERIFY(writes.isValid());
    SettingsStore store(folder());
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/a"), 1));
    QCOMPARE(writes.take(QStringLiteral("adminrc")), 1);
    {
        const SettingsStore::Batch outer(&store);
        QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/a"), 2));
        {
            const SettingsStore::Batch inner(&store);
            QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/b"), 3));
        }
        // Only the outermost batch writes.
        QCOMPARE(store.readNumEntry(QStringLiteral("/Admin/Mail/a"), -1), 2);
        QCOMPARE(store.readNumEntry(QStringLiteral("/Admin/Mail/b"), -1), 3);
        QCOMPARE(writes.take(QStringLiteral("adminrc")), 0);
        QCOMPARE(adminrc(), QStringLiteral("[Mail]\na=1\n\n"));
    }
    QCOMPARE(writes.take(QStringLiteral("adminrc")), 1);
    QCOMPARE(SettingsStore(folder()).readNumEntry(QStringLiteral("/Admin/Mail/b"), -1), 3);
    QCOMPARE(adminrc(), QStringLiteral("[Mail]\na=2\nb=3\n\n"));
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
