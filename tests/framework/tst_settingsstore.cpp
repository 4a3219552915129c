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
    void emptyKeyPartsAreOneKey_data();
    void emptyKeyPartsAreOneKey();
    void keyOfOnePartIsRefused_data();
    void keyOfOnePartIsRefused();
    void fileTextAsWrittenBefore();
    void valuesAreEscaped_data();
    void valuesAreEscaped();
    void readsExistingFile();
    void readNumEntry_data();
    void readNumEntry();
    void readBoolEntry_data();
    void readBoolEntry();
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
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");

    QTest::newRow("column layout") << "/Admin/Mail/user/ver" << "adminrc" << "[Mail]\nuser/ver=2\n\n";
    QTest::newRow("section with its own slash")
        << "//Admin/Ferrox/IP Groups/width" << "adminrc" << "[Ferrox]\nIP Groups/width=2\n\n";
    QTest::newRow("file name in lower case") << "/ConSole/Main/x" << "consolerc" << "[Main]\nx=2\n\n";
    QTest::newRow("two parts go to General") << "/Admin/ver" << "adminrc" << "[General]\nver=2\n\n";
    QTest::newRow("no leading slash") << "Admin/Mail/height" << "adminrc" << "[Mail]\nheight=2\n\n";
}

void TestSettingsStore::keyPlacesEntry()
{
    QFETCH(QString, key);
    QFETCH(QString, file);
    QFETCH(QString, text);

    SettingsStore store(folder());
    QVERIFY(store.writeEntry(key, 2));
    QCOMPARE(fileText(folder() + QLatin1Char('/') + file), text);
    QCOMPARE(store.readNumEntry(key, -1), 2);
}

void TestSettingsStore::emptyKeyPartsAreOneKey_data()
{
    QTest::addColumn<QString>("writtenAs");
    QTest::addColumn<QString>("readAs");

    QTest::newRow("double leading slash, heading case")
        << "//ADMIN/Ferrox/Time Intervals/width" << "/admin/Ferrox/Time Intervals/width";
    QTest::newRow("slashes inside and after")
        << "/Admin//Ferrox/Time Intervals//width/" << "/Admin/Ferrox/Time Intervals/width";
}

void TestSettingsStore::emptyKeyPartsAreOneKey()
{
    QFETCH(QString, writtenAs);
    QFETCH(QString, readAs);

    SettingsStore store(folder());
    QVERIFY(store.writeEntry(writtenAs, QStringLiteral("0001-001")));
    QCOMPARE(store.readEntry(readAs), QStringLiteral("0001-001"));
    QCOMPARE(adminrc(), QStringLiteral("[Ferrox]\nTime Intervals/width=0001-001\n\n"));
}

void TestSettingsStore::keyOfOnePartIsRefused_data()
{
    QTest::addColumn<QString>("key");

    QTest::newRow("one part") << "/Admin";
    QTest::newRow("only slashes") << "///";
}

void TestSettingsStore::keyOfOnePartIsRefused()
{
    QFETCH(QString, key);

    SettingsStore store(folder());
    QVERIFY(!store.writeEntry(key, QStringLiteral("x")));
    QVERIFY(!store.writeEntry(key, 7));
    QCOMPARE(store.readEntry(key, QStringLiteral("def")), QStringLiteral("def"));
    QVERIFY(!QDir(folder()).exists());
}

void TestSettingsStore::fileTextAsWrittenBefore()
{
    SettingsStore store(folder());
    // Written out of order on purpose: the file lists groups and entries sorted by name,
    // whole groups together ("Mail" before "Mail Log").
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/width"), 800));
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail Log/x"), QStringLiteral("1")));
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Logs/Debug/charset"), QStringLiteral("ISO-8859-2")));
    QVERIFY(store.writeEntry(QStringLiteral("//Admin/Ferrox/IP Groups/ver"), 1));
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/maximized"), true));
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/font"), "Mono"));
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/hidden"), false));
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/note"), QStringLiteral("C:\\mail\nsecond line")));
    QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/width"), 1024));

    QCOMPARE(adminrc(), QStringLiteral("[Ferrox]\n"
                                       "IP Groups/ver=1\n"
                                       "\n"
                                       "[Logs]\n"
                                       "Debug/charset=ISO-8859-2\n"
                                       "\n"
                                       "[Mail]\n"
                                       "font=Mono\n"
                                       "hidden=false\n"
                                       "maximized=true\n"
                                       "note=C:\\\\mail\\nsecond line\n"
                                       "width=1024\n"
                                       "\n"
                                       "[Mail Log]\n"
                                       "x=1\n"
                                       "\n"));
}

void TestSettingsStore::valuesAreEscaped_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("line");

    QTest::newRow("backslash") << "a\\b" << "v=a\\\\b";
    QTest::newRow("new line") << "a\nb" << "v=a\\nb";
    QTest::newRow("backslash before n") << "a\\nb" << "v=a\\\\nb";
    QTest::newRow("trailing backslash") << "end\\" << "v=end\\\\";
    QTest::newRow("empty") << "" << "v=";
    QTest::newRow("null") << QString() << "v=\\0";
    QTest::newRow("equals and blanks") << " a = b " << "v= a = b ";
    QTest::newRow("non-Latin") << QStringLiteral("Příliš žluťoučký") << "v=Příliš žluťoučký";
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
    QCOMPARE(adminrc(), QStringLiteral("[Ferrox]\n"
                                       "IP Groups/width= 0002-001-001\n"
                                       "\n"
                                       "[Logs]\n"
                                       "empty=\n"
                                       "\n"
                                       "[Mail]\n"
                                       "motd=one\\ntwo\n"
                                       "odd=keep\\\\tthis\n"
                                       "path=C:\\\\mail\\\\in\n"
                                       "user/ver=3\n"
                                       "\n"));
}

void TestSettingsStore::readNumEntry_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("expected");

    QTest::newRow("negative") << "-7" << true << -7;
    QTest::newRow("not a number") << "abc" << true << -99;
    QTest::newRow("number then text") << "12px" << true << -99;
    QTest::newRow("absent") << "" << false << -99;
}

void TestSettingsStore::readNumEntry()
{
    QFETCH(QString, stored);
    QFETCH(bool, present);
    QFETCH(int, expected);

    SettingsStore store(folder());
    if (present)
        QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/n"), stored));
    QCOMPARE(store.readNumEntry(QStringLiteral("/Admin/Mail/n"), -99), expected);
}

void TestSettingsStore::readBoolEntry_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<bool>("def");
    QTest::addColumn<bool>("expected");

    QTest::newRow("true") << QStringList{"true", "On", "yes", "1"} << false << true;
    QTest::newRow("false") << QStringList{"false", "OFF", "no", "0"} << true << false;
    QTest::newRow("other, default true") << QStringList{"maybe"} << true << true;
    QTest::newRow("other, default false") << QStringList{"maybe"} << false << false;
}

void TestSettingsStore::readBoolEntry()
{
    QFETCH(QStringList, stored);
    QFETCH(bool, def);
    QFETCH(bool, expected);

    SettingsStore store(folder());
    for (const QString& value : stored) {
        QVERIFY(store.writeEntry(QStringLiteral("/Admin/Mail/b"), value));
        QVERIFY2(store.readBoolEntry(QStringLiteral("/Admin/Mail/b"), def) == expected, qPrintable(value));
    }
}

void TestSettingsStore::storesShareTheFile()
{
    SettingsStore first(folder());
    SettingsStore second(folder());
    QVERIFY(first.writeEntry(QStringLiteral("/Admin/Mail/a"), 1));
    QCOMPARE(second.readNumEntry(QStringLiteral("/Admin/Mail/a"), -1), 1);
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
