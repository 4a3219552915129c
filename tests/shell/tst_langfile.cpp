// The translation-file lookup and the two small text readers.

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

// The system language as the environment names it; null for none at all.
void setSystemLanguage(const QByteArray& lang)
{
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    if (lang.isNull())
        qunsetenv("LANG");
    else
        qputenv("LANG", lang);
}

// Makes the files in a fresh folder and makes it the current one while it lives.
class FolderOfFiles
{
public:
    explicit FolderOfFiles(const QStringList& files)
        : m_previous(QDir::currentPath())
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

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

// A temporary file holding content, open for reading.
File inputFile(const QByteArray& content)
{
    File file(std::tmpfile(), &std::fclose);
    if (file) {
        std::fwrite(content.constData(), 1, size_t(content.size()), file.get());
        std::rewind(file.get());
    }
    return file;
}

constexpr char Untouched = '#';

} // namespace

class tst_LangFile : public QObject
{
    Q_OBJECT

private slots:
    void findLanguage_data();
    void findLanguage();

    void langcpy_data();
    void langcpy();

    void fgetstr_data();
    void fgetstr();

    void tokenize_data();
    void tokenize();
    void tokenizeThreeFields();
};

void tst_LangFile::findLanguage_data()
{
    QTest::addColumn<QByteArray>("systemLanguage");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<int>("preferred");
    QTest::addColumn<int>("fallback");
    QTest::addColumn<QString>("expected");

    const QStringList both{"P_de.qm", "P_fr.qm"};
    QTest::newRow("preferred found") << QByteArray("C") << both << 5 << 4 << "P_fr.qm";
    QTest::newRow("fallback only") << QByteArray("C") << QStringList{"P_de.qm"} << 5 << 4 << "P_de.qm";
    QTest::newRow("neither") << QByteArray("C") << QStringList{"P_ru.qm", "Q_fr.qm"} << 5 << 4 << QString();
    QTest::newRow("suffix in capitals") << QByteArray("C") << QStringList{"P_de.QM"} << 4 << 1 << "P_de.qm";
    QTest::newRow("other suffix") << QByteArray("C") << QStringList{"P_de.ts", "P_de"} << 4 << 4 << QString();
    QTest::newRow("base name compared with case") << QByteArray("C") << QStringList{"p_de.qm", "P_DE.qm"}
                                                  << 4 << 4 << QString();
    QTest::newRow("a folder is no file") << QByteArray("C") << QStringList() << 4 << 4 << QString();

    // The system language: only a two-letter name counts.
    QTest::newRow("system de, preferred system") << QByteArray("de") << both << 0 << 5 << "P_de.qm";
    QTest::newRow("system de, fallback system") << QByteArray("de") << QStringList{"P_de.qm"} << 6 << 0
                                                << "P_de.qm";
    QTest::newRow("system de_DE means English") << QByteArray("de_DE") << both << 0 << 5 << QString();
    QTest::newRow("unset means C") << QByteArray() << both << 0 << 4 << QString();

    QTest::newRow("English needs no file") << QByteArray("de") << QStringList{"P_en.qm", "P_de.qm"}
                                           << 1 << 4 << QString();
    // Outside the table nothing is looked up.
    QTest::newRow("preferred index 10") << QByteArray("C") << both << 10 << 4 << QString();
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

    setSystemLanguage(systemLanguage);
    const FolderOfFiles folder(files);
    if (QTest::currentDataTag() == QLatin1String("a folder is no file"))
        QVERIFY(QDir().mkdir(QStringLiteral("P_de.qm")));

    QCOMPARE(find_language(QStringLiteral("P"), preferred, fallback), expected);
}

void tst_LangFile::langcpy_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("two letters") << QByteArray("de") << QByteArray("de");
    QTest::newRow("longer name") << QByteArray("de_DE.UTF-8") << QByteArray("de");
    QTest::newRow("one letter") << QByteArray("C") << QByteArray("C");
}

void tst_LangFile::langcpy()
{
    QFETCH(QByteArray, source);
    QFETCH(QByteArray, expected);

    char destination[4];
    std::memset(destination, Untouched, sizeof destination);
    QCOMPARE(::langcpy(destination, source.constData()), destination);
    QCOMPARE(QByteArray(destination), expected);
    QCOMPARE(destination[2], '\0');
    QCOMPARE(destination[3], Untouched);
}

void tst_LangFile::fgetstr_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<QByteArray>>("lines");

    using Lines = QList<QByteArray>;
    QTest::newRow("CR LF") << QByteArray("abc\r\n") << 16 << Lines{"abc"};
    QTest::newRow("LF") << QByteArray("abc\ndef\n") << 16 << Lines{"abc", "def"};
    QTest::newRow("last line without end") << QByteArray("abc\nxyz") << 16 << Lines{"abc", "xyz"};
    QTest::newRow("lone CR at the end") << QByteArray("abc\r") << 16 << Lines{"abc"};
    QTest::newRow("CR inside stays") << QByteArray("a\rb\n") << 16 << Lines{"a\rb"};
    QTest::newRow("empty file") << QByteArray() << 16 << Lines{};
    // At most size - 2 characters a read; the rest comes with the next read.
    QTest::newRow("long line in pieces") << QByteArray("abcdefgh\n") << 5 << Lines{"abc", "def", "gh"};
    QTest::newRow("line just fits") << QByteArray("abc\n") << 6 << Lines{"abc"};
    // Without room for a character and the zero byte nothing is read or written.
    QTest::newRow("size 1") << QByteArray("abc\n") << 1 << Lines{};
    QTest::newRow("size 0") << QByteArray("abc\n") << 0 << Lines{};
}

void tst_LangFile::fgetstr()
{
    QFETCH(QByteArray, content);
    QFETCH(int, size);
    QFETCH(QList<QByteArray>, lines);

    const File file = inputFile(content);
    QVERIFY(file);
    QList<QByteArray> read;
    QByteArray buffer(size + 1, Untouched);
    while (char* line = ::fgetstr(buffer.data(), size, file.get())) {
        QCOMPARE(line, buffer.data());
        QVERIFY(read.size() <= lines.size());
        read.append(QByteArray(line));
        // Nothing is written past the buffer.
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
    QTest::addColumn<QByteArray>("delimiters1");
    QTest::addColumn<int>("size1");
    QTest::addColumn<QByteArray>("delimiters2");
    QTest::addColumn<int>("size2");
    QTest::addColumn<QByteArray>("field1"); // "#" when left untouched
    QTest::addColumn<QByteArray>("field2");
    QTest::addColumn<QByteArray>("rest");

    const auto row = [](const char* tag, const char* text, const char* delimiters1, int size1,
                        const char* delimiters2, int size2, const char* field1,
                        const char* field2, const char* rest) {
        QTest::newRow(tag) << QByteArray(text) << QByteArray(delimiters1) << size1
                           << QByteArray(delimiters2) << size2 << QByteArray(field1)
                           << QByteArray(field2) << QByteArray(rest);
    };
    row("run of delimiters", "a,,b", ",", 8, ",", 8, "a", "b", "");
    row("text runs out early", "a", ",", 8, ",", 8, "a", "#", "a");
    row("rest after both fields", "key=value; more", "=", 8, "; ", 8, "key", "value", "more");
    row("leading delimiter gives an empty field", ",x,y", ",", 8, ",", 8, "", "x", "y");
    row("empty text", "", ",", 8, ",", 8, "", "#", "");
    row("fields cut to size - 1", "abcdef,ghijkl,", ",", 4, ",", 2, "abc", "g", "");
    row("size 1 gives an empty field", "abc,def", ",", 1, ",", 8, "", "def", "");
    row("size 0 skips the field", "abc,def,ghi", ",", 0, ",", 8, "#", "def", "ghi");
}

void tst_LangFile::tokenize()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, delimiters1);
    QFETCH(int, size1);
    QFETCH(QByteArray, delimiters2);
    QFETCH(int, size2);
    QFETCH(QByteArray, field1);
    QFETCH(QByteArray, field2);
    QFETCH(QByteArray, rest);

    QByteArray input = text;
    char* start = input.data();
    // Filled with the guard character: what the call does not write keeps it.
    char out1[16];
    char out2[16];
    std::memset(out1, Untouched, sizeof out1);
    std::memset(out2, Untouched, sizeof out2);
    out1[15] = out2[15] = '\0';
    const QByteArray untouched(15, Untouched);
    auto fieldIn = [&untouched](const char* out) {
        return QByteArray(out) == untouched ? QByteArray(1, Untouched) : QByteArray(out);
    };

    char* result = ::tokenize(start, delimiters1.constData(), size1, out1, delimiters2.constData(),
                              size2, out2, static_cast<const char*>(nullptr));
    QVERIFY(result >= start && result <= start + input.size());
    QCOMPARE(QByteArray(result), rest);
    QCOMPARE(fieldIn(out1), field1);
    QCOMPARE(fieldIn(out2), field2);
    // Nothing is written past a field's size.
    if (size1 > 0)
        QCOMPARE(out1[size1], Untouched);
    if (size2 > 0)
        QCOMPARE(out2[size2], Untouched);
    // The text itself is not changed.
    QCOMPARE(input, text);
}

void tst_LangFile::tokenizeThreeFields()
{
    char text[] = "user:x:1000:1000";
    char name[8], password[8], uid[8];
    char* rest = ::tokenize(text, ":", 8, name, ":", 8, password, ":", 8, uid,
                            static_cast<const char*>(nullptr));
    QCOMPARE(QByteArray(name), QByteArray("user"));
    QCOMPARE(QByteArray(password), QByteArray("x"));
    QCOMPARE(QByteArray(uid), QByteArray("1000"));
    QCOMPARE(QByteArray(rest), QByteArray("1000"));
    QCOMPARE(rest, text + 12);

    // Without any triple the whole text is the rest.
    QCOMPARE(::tokenize(text, static_cast<const char*>(nullptr)), text);
}

QTEST_GUILESS_MAIN(tst_LangFile)
#include "tst_langfile.moc"
