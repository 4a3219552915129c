// The translation-file lookup and the two small text readers.

#include "langfile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <cstring>

namespace {

// Sets the language variables for one test and puts the old ones back afterwards.
class LanguageEnvironment
{
public:
    explicit LanguageEnvironment(const QByteArray& lang)
    {
        for (const char* name : Names)
            m_saved.append(qgetenv(name));
        qunsetenv("LC_ALL");
        qunsetenv("LC_MESSAGES");
        if (lang.isNull())
            qunsetenv("LANG");
        else
            qputenv("LANG", lang);
    }
    ~LanguageEnvironment()
    {
        for (int i = 0; i < m_saved.size(); ++i) {
            if (m_saved[i].isNull())
                qunsetenv(Names[i]);
            else
                qputenv(Names[i], m_saved[i]);
        }
    }

private:
    static constexpr const char* Names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    QList<QByteArray> m_saved;
};

// Makes the files in a fresh folder and makes it the current one while it lives.
class FolderOfFiles
{
public:
    explicit FolderOfFiles(const QStringList& files)
        : m_previous(QDir::currentPath())
    {
        QVERIFY(m_folder.isValid());
        for (const QString& name : files) {
            QFile file(m_folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir::setCurrent(m_folder.path()));
    }
    ~FolderOfFiles() { QDir::setCurrent(m_previous); }

private:
    QTemporaryDir m_folder;
    QString m_previous;
};

// A temporary file holding the given bytes, open for reading.
class InputFile
{
public:
    explicit InputFile(const QByteArray& content)
    {
        m_file = std::tmpfile();
        if (m_file) {
            std::fwrite(content.constData(), 1, size_t(content.size()), m_file);
            std::rewind(m_file);
        }
    }
    ~InputFile()
    {
        if (m_file)
            std::fclose(m_file);
    }
    FILE* get() const { return m_file; }

private:
    FILE* m_file = nullptr;
};

constexpr char Untouched = '#';

} // namespace

class tst_LangFile : public QObject
{
    Q_OBJECT

private slots:
    void findLanguage_data();
    void findLanguage();
    void findLanguageLooksAtNoFileForEnglish();

    void langcpy_data();
    void langcpy();

    void fgetstr_data();
    void fgetstr();
    void fgetstrWithoutRoom_data();
    void fgetstrWithoutRoom();

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
    QTest::newRow("preferred found, either order") << QByteArray("C") << QStringList{"P_fr.qm", "P_de.qm"}
                                                   << 5 << 4 << "P_fr.qm";
    QTest::newRow("fallback only") << QByteArray("C") << QStringList{"P_de.qm"} << 5 << 4 << "P_de.qm";
    QTest::newRow("neither") << QByteArray("C") << QStringList{"P_ru.qm", "Q_fr.qm"} << 5 << 4 << QString();
    QTest::newRow("no files") << QByteArray("C") << QStringList() << 5 << 4 << QString();
    QTest::newRow("suffix in capitals") << QByteArray("C") << QStringList{"P_de.QM"} << 4 << 1 << "P_de.qm";
    QTest::newRow("suffix in mixed case") << QByteArray("C") << QStringList{"P_fr.Qm"} << 5 << 4 << "P_fr.qm";
    QTest::newRow("longer complete suffix") << QByteArray("C") << QStringList{"P_de.bak.qm"} << 4 << 4 << QString();
    QTest::newRow("other suffix") << QByteArray("C") << QStringList{"P_de.ts", "P_de"} << 4 << 4 << QString();
    QTest::newRow("base name compared with case") << QByteArray("C") << QStringList{"p_de.qm", "P_DE.qm"}
                                                  << 4 << 4 << QString();
    QTest::newRow("a folder is no file") << QByteArray("C") << QStringList() << 4 << 4 << QString();

    // The system language: only a two-letter name counts.
    QTest::newRow("system de, preferred system") << QByteArray("de") << both << 0 << 5 << "P_de.qm";
    QTest::newRow("system de, fallback system") << QByteArray("de") << QStringList{"P_de.qm"} << 6 << 0
                                                << "P_de.qm";
    QTest::newRow("system de_DE means English") << QByteArray("de_DE") << both << 0 << 5 << QString();
    QTest::newRow("system de.UTF-8 means English") << QByteArray("de.UTF-8") << both << 0 << 5 << QString();
    QTest::newRow("system C means English") << QByteArray("C") << both << 0 << 4 << QString();
    QTest::newRow("unset means C") << QByteArray() << both << 0 << 4 << QString();
    QTest::newRow("fallback system de_DE is English") << QByteArray("de_DE") << QStringList{"P_C .qm"} << 3 << 0
                                                      << QString();

    // Outside the table nothing is looked up.
    QTest::newRow("preferred index 10") << QByteArray("C") << both << 10 << 4 << QString();
    QTest::newRow("preferred index -1") << QByteArray("C") << both << -1 << 4 << QString();
    QTest::newRow("fallback index 10") << QByteArray("C") << both << 5 << 10 << QString();
    QTest::newRow("fallback index -7") << QByteArray("C") << both << 5 << -7 << QString();
}

void tst_LangFile::findLanguage()
{
    QFETCH(QByteArray, systemLanguage);
    QFETCH(QStringList, files);
    QFETCH(int, preferred);
    QFETCH(int, fallback);
    QFETCH(QString, expected);

    const LanguageEnvironment environment(systemLanguage);
    const FolderOfFiles folder(files);
    if (QTest::currentDataTag() == QLatin1String("a folder is no file"))
        QVERIFY(QDir().mkdir(QStringLiteral("P_de.qm")));

    QCOMPARE(find_language(QStringLiteral("P"), preferred, fallback), expected);
}

void tst_LangFile::findLanguageLooksAtNoFileForEnglish()
{
    const LanguageEnvironment environment("de");
    const FolderOfFiles folder({"P_en.qm", "P_de.qm"});
    QCOMPARE(find_language(QStringLiteral("P"), 1, 4), QString());
    // Index 0 with a two-letter system language is that language, not English.
    QCOMPARE(find_language(QStringLiteral("P"), 0, 1), QStringLiteral("P_de.qm"));
}

void tst_LangFile::langcpy_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("two letters") << QByteArray("de") << QByteArray("de");
    QTest::newRow("longer name") << QByteArray("de_DE.UTF-8") << QByteArray("de");
    QTest::newRow("one letter") << QByteArray("C") << QByteArray("C");
    QTest::newRow("empty") << QByteArray("") << QByteArray("");
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
    QTest::newRow("empty lines") << QByteArray("\n\r\n\n") << 16 << Lines{"", "", ""};
    QTest::newRow("empty file") << QByteArray() << 16 << Lines{};
    // At most size - 2 characters a read; the rest comes with the next read.
    QTest::newRow("long line in pieces") << QByteArray("abcdefgh\n") << 5 << Lines{"abc", "def", "gh"};
    QTest::newRow("line just fits") << QByteArray("abc\n") << 6 << Lines{"abc"};
}

void tst_LangFile::fgetstr()
{
    QFETCH(QByteArray, content);
    QFETCH(int, size);
    QFETCH(QList<QByteArray>, lines);

    const InputFile file(content);
    QVERIFY(file.get());
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
}

void tst_LangFile::fgetstrWithoutRoom_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("1") << 1;
    QTest::newRow("0") << 0;
    QTest::newRow("-5") << -5;
}

void tst_LangFile::fgetstrWithoutRoom()
{
    QFETCH(int, size);

    const InputFile file("abc\n");
    QVERIFY(file.get());
    char buffer[4];
    std::memset(buffer, Untouched, sizeof buffer);
    QCOMPARE(::fgetstr(buffer, size, file.get()), static_cast<char*>(nullptr));
    for (char c : buffer)
        QCOMPARE(c, Untouched);
    // The file was not read either.
    QCOMPARE(std::ftell(file.get()), 0L);
}

void tst_LangFile::tokenize_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("delimiters1");
    QTest::addColumn<int>("size1");
    QTest::addColumn<QByteArray>("delimiters2");
    QTest::addColumn<int>("size2");
    QTest::addColumn<QByteArray>("field1");   // "#" when left untouched
    QTest::addColumn<QByteArray>("field2");
    QTest::addColumn<QByteArray>("rest");

    QTest::newRow("run of delimiters") << QByteArray("a,,b") << QByteArray(",") << 8 << QByteArray(",") << 8
                                       << QByteArray("a") << QByteArray("b") << QByteArray("");
    QTest::newRow("text runs out early") << QByteArray("a") << QByteArray(",") << 8 << QByteArray(",") << 8
                                         << QByteArray("a") << QByteArray("#") << QByteArray("a");
    QTest::newRow("rest after both fields") << QByteArray("key=value; more") << QByteArray("=") << 8
                                            << QByteArray("; ") << 8 << QByteArray("key")
                                            << QByteArray("value") << QByteArray("more");
    QTest::newRow("delimiter sets differ") << QByteArray("a b,c d") << QByteArray(" ") << 8
                                           << QByteArray(",") << 8 << QByteArray("a")
                                           << QByteArray("b") << QByteArray("c d");
    QTest::newRow("leading delimiter gives an empty field") << QByteArray(",x,y") << QByteArray(",") << 8
                                                            << QByteArray(",") << 8 << QByteArray("")
                                                            << QByteArray("x") << QByteArray("y");
    QTest::newRow("trailing delimiters") << QByteArray("a,b,,") << QByteArray(",") << 8 << QByteArray(",") << 8
                                         << QByteArray("a") << QByteArray("b") << QByteArray("");
    QTest::newRow("empty text") << QByteArray("") << QByteArray(",") << 8 << QByteArray(",") << 8
                                << QByteArray("") << QByteArray("#") << QByteArray("");
    QTest::newRow("fields cut to size - 1") << QByteArray("abcdef,ghijkl,") << QByteArray(",") << 4
                                            << QByteArray(",") << 2 << QByteArray("abc")
                                            << QByteArray("g") << QByteArray("");
    QTest::newRow("size 1 gives an empty field") << QByteArray("abc,def") << QByteArray(",") << 1
                                                 << QByteArray(",") << 8 << QByteArray("")
                                                 << QByteArray("def") << QByteArray("");
    QTest::newRow("size 0 skips the field") << QByteArray("abc,def,ghi") << QByteArray(",") << 0
                                            << QByteArray(",") << 8 << QByteArray("#")
                                            << QByteArray("def") << QByteArray("ghi");
    QTest::newRow("negative size skips the field") << QByteArray("abc,def") << QByteArray(",") << 8
                                                   << QByteArray(",") << -3 << QByteArray("abc")
                                                   << QByteArray("#") << QByteArray("");
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
