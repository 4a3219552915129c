// The translation-file lookup and the small text readers.

#include "langfile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr char Untouched = '#';

// Makes the files in a fresh folder and makes it the current one while it lives.
class FolderOfFiles
{
public:
    explicit FolderOfFiles(const QStringList& files) : m_previous(QDir::currentPath())
    {
        for (const QString& name : files)
            QFile(m_folder.filePath(name)).open(QIODevice::WriteOnly);
        QDir::setCurrent(m_folder.path());
    }
    ~FolderOfFiles() { QDir::setCurrent(m_previous); }

private:
    QTemporaryDir m_folder;
    QString m_previous;
};

} // namespace

class tst_LangFile : public QObject
{
    Q_OBJECT

private slots:
    void findLanguage_data();
    void findLanguage();
    void langcpy();
    void fgetstr_data();
    void fgetstr();
    void tokenize_data();
    void tokenize();
};

void tst_LangFile::findLanguage_data()
{
    QTest::addColumn<QByteArray>("systemLanguage");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("preferred");
    QTest::addColumn<int>("fallback");
    QTest::addColumn<QString>("expected");

    // Indexes: 0 the system's language, 1 English, 4 German, 5 French.
    const QStringList both{"P_de.qm", "P_fr.qm"};
    QTest::newRow("preferred found") << QByteArray("C") << both << 5 << 4 << "P_fr.qm";
    QTest::newRow("fallback only") << QByteArray("C") << QStringList{"P_de.qm"} << 5 << 4 << "P_de.qm";
    QTest::newRow("other language, prefix or suffix")
        << QByteArray("C") << QStringList{"P_ru.qm", "Q_fr.qm", "P_de.ts"} << 5 << 4 << QString();
    QTest::newRow("suffix in capitals") << QByteArray("C") << QStringList{"P_de.QM"} << 4 << 1 << "P_de.qm";
    QTest::newRow("system de") << QByteArray("de") << both << 0 << 5 << "P_de.qm";
    QTest::newRow("system de_DE means English") << QByteArray("de_DE") << both << 0 << 5 << QString();
    QTest::newRow("English needs no file") << QByteArray("de") << QStringList{"P_en.qm"} << 1 << 4
                                           << QString();
    // Outside the table nothing is looked up.
    QTest::newRow("preferred index -1") << QByteArray("C") << both << -1 << 4 << QString();
    QTest::newRow("fallback index 10") << QByteArray("C") << both << 5 << 10 << QString();
}

void tst_LangFile::findLanguage()
{
    QFETCH(QByteArray, systemLanguage);
    QFETCH(QStringList, files);
    QFETCH(int, preferred);
    QFETCH(int, fallback);
    QFETCH(QString, expected);

    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qputenv("LANG", systemLanguage);
    const FolderOfFiles folder(files);
    QCOMPARE(find_language(QStringLiteral("P"), preferred, fallback), expected);
}

void tst_LangFile::langcpy()
{
    char destination[4];
    std::memset(destination, Untouched, sizeof destination);
    QCOMPARE(::langcpy(destination, "de_DE.UTF-8"), destination);
    QCOMPARE(QByteArray(destination), QByteArray("de"));
    QCOMPARE(::langcpy(destination, "C"), destination);
    QCOMPARE(QByteArray(destination), QByteArray("C"));
    QCOMPARE(destination[3], Untouched);
}

void tst_LangFile::fgetstr_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<QByteArray>>("lines");

    using Lines = QList<QByteArray>;
    QTest::newRow("CR LF") << QByteArray("abc\r\n") << 16 << Lines{"abc"};
    QTest::newRow("LF, last line without end") << QByteArray("abc\nxyz") << 16 << Lines{"abc", "xyz"};
    // At most size - 2 characters a read; the rest comes with the next read.
    QTest::newRow("long line in pieces") << QByteArray("abcdefgh\n") << 5 << Lines{"abc", "def", "gh"};
    // Without room for a character and the zero byte nothing is read or written.
    QTest::newRow("size 1") << QByteArray("abc\n") << 1 << Lines{};
}

void tst_LangFile::fgetstr()
{
    QFETCH(QByteArray, content);
    QFETCH(int, size);
    QFETCH(QList<QByteArray>, lines);

    const std::unique_ptr<FILE, int (*)(FILE*)> file(std::tmpfile(), &std::fclose);
    QVERIFY(file);
    std::fwrite(content.constData(), 1, size_t(content.size()), file.get());
    std::rewind(file.get());

    QList<QByteArray> read;
    QByteArray buffer(size + 1, Untouched);
    while (char* line = ::fgetstr(buffer.data(), size, file.get())) {
        QCOMPARE(line, buffer.data());
        QVERIFY(read.size() <= lines.size());
        read.append(QByteArray(line));
        QCOMPARE(buffer.at(size), Untouched);
    }
    QCOMPARE(read, lines);
    if (size < 2) {
        QCOMPARE(buffer, QByteArray(size + 1, Untouched));
        QCOMPARE(std::ftell(file.get()), 0L);
    }
}

void tst_LangFile::tokenize_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("size1");
    QTest::addColumn<int>("size2");
    QTest::addColumn<QByteArray>("field1"); // "#" when left untouched
    QTest::addColumn<QByteArray>("field2");
    QTest::addColumn<QByteArray>("rest");

    const auto row = [](const char* tag, const char* text, int size1, int size2,
                        const char* field1, const char* field2, const char* rest) {
        QTest::newRow(tag) << QByteArray(text) << size1 << size2 << QByteArray(field1)
                           << QByteArray(field2) << QByteArray(rest);
    };
    // Fields end at ',' then at ';' or ' '.
    row("run of delimiters, rest", "key,,value; more", 8, 8, "key", "value", "more");
    row("text runs out early", "a", 8, 8, "a", "#", "a");
    row("fields cut to size - 1", "abcdef,ghijkl;", 4, 2, "abc", "g", "");
    row("size 0 skips the field", "abc,def;ghi", 0, 8, "#", "def", "ghi");
}

void tst_LangFile::tokenize()
{
    QFETCH(QByteArray, text);
    QFETCH(int, size1);
    QFETCH(int, size2);
    QFETCH(QByteArray, field1);
    QFETCH(QByteArray, field2);
    QFETCH(QByteArray, rest);

    QByteArray input = text;
    char* start = input.data();
    // What the call does not write keeps the guard character.
    char out1[16];
    char out2[16];
    std::memset(out1, Untouched, sizeof out1);
    std::memset(out2, Untouched, sizeof out2);
    out1[15] = out2[15] = '\0';
    auto fieldIn = [](const char* out) {
        return QByteArray(out) == QByteArray(15, Untouched) ? QByteArray(1, Untouched) : QByteArray(out);
    };

    char* result = ::tokenize(start, ",", size1, out1, "; ", size2, out2,
                              static_cast<const char*>(nullptr));
    QVERIFY(result >= start && result <= start + input.size());
    QCOMPARE(QByteArray(result), rest);
    QCOMPARE(fieldIn(out1), field1);
    QCOMPARE(fieldIn(out2), field2);
    if (size1 > 0)
        QCOMPARE(out1[size1], Untouched);
    QCOMPARE(out2[size2], Untouched);
    QCOMPARE(input, text);
}

QTEST_GUILESS_MAIN(tst_LangFile)
#include "tst_langfile.moc"
