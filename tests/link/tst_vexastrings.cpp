#include "vexasupport.h"

#include <QTest>

#include <arpa/inet.h>

#include <cstdlib>
#include <cstring>

namespace {

// QCOMPARE reads char pointers as texts; these compare where they point.
const void *pointer(const void *p)
{
    return p;
}

// A buffer whose bytes past what a call may write are checked afterwards.
struct Guarded
{
    char bytes[256];
    Guarded() { memset(bytes, '#', sizeof bytes); }
    explicit Guarded(const QByteArray &text) : Guarded() { memcpy(bytes, text.constData(), size_t(text.size()) + 1); }
    QByteArray text() const { return QByteArray(bytes); }
    bool untouchedFrom(int from) const
    {
        for (int i = qMax(from, 0); i < int(sizeof bytes); ++i) {
            if (bytes[i] != '#')
                return false;
        }
        return true;
    }
};

uint32_t address(int a, int b, int c, int d)
{
    const unsigned char bytes[4] = {uchar(a), uchar(b), uchar(c), uchar(d)};
    uint32_t value;
    memcpy(&value, bytes, 4);
    return value;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

QByteArrayList tokens(QByteArray text, int (*next)(const char **, char *, int), int size)
{
    QByteArrayList found;
    const char *position = text.constData();
    char token[64];
    for (int guard = 0; guard < 20 && *position; ++guard)
        found << (next(&position, token, size) ? QByteArray(token) : QByteArray("<0>"));
    return found;
}

const int sortKeys[] = {3, 9, 1, 9, 4};

const void *sortKey(int index)
{
    return &sortKeys[index];
}

int compareKeys(const void *a, const void *b)
{
    return *static_cast<const int *>(a) - *static_cast<const int *>(b);
}

int compareKeyIndices(int a, int b)
{
    return sortKeys[a] - sortKeys[b];
}

} // namespace

class TestVexaStrings : public QObject
{
    Q_OBJECT

private slots:
    void addresses();
    void strreplchr();
    void strextr_data();
    void strextr();
    void strstrip_data();
    void strstrip();
    void strremovestr_data();
    void strremovestr();
    void strremovechr();
    void strreplstr_data();
    void strreplstr();
    void strinsertstr_data();
    void strinsertstr();
    void strrmln_data();
    void strrmln();
    void strlwr();
    void strncpys_data();
    void strncpys();
    void beginsWith_data();
    void beginsWith();
    void strsize_data();
    void strsize();
    void strsecond_data();
    void strsecond();
    void strhex_data();
    void strhex();
    void simpleStrtoul_data();
    void simpleStrtoul();
    void charinstr();
    void tokenisers();
    void search_data();
    void search();
    void searchLimit();
    void strwildcmp_data();
    void strwildcmp();
    void bubbleSorts();
};

void TestVexaStrings::addresses()
{
    Guarded text;
    QCOMPARE(pointer(strip(text.bytes, address(192, 168, 1, 20))), pointer(text.bytes));
    QCOMPARE(text.text(), QByteArray("192.168.1.20"));
    QCOMPARE(pointer(stripport(text.bytes, address(255, 255, 255, 255), htons(65535))),
             pointer(text.bytes));
    QCOMPARE(text.text(), QByteArray("255.255.255.255:65535"));
    QVERIFY(text.untouchedFrom(22));
    stripport(text.bytes, address(10, 0, 0, 1), htons(8080));
    QCOMPARE(text.text(), QByteArray("10.0.0.1:8080"));

    char *shared = ip_string(address(127, 0, 0, 1));
    QCOMPARE(QByteArray(shared), QByteArray("127.0.0.1"));
    QCOMPARE(pointer(ip_string(address(1, 2, 3, 4))), pointer(shared));
    QCOMPARE(QByteArray(shared), QByteArray("1.2.3.4"));
}

void TestVexaStrings::strreplchr()
{
    Guarded text(QByteArray("a/b/c/"));
    QCOMPARE(::strreplchr(text.bytes, '/', '\\'), 3);
    QCOMPARE(text.text(), QByteArray("a\\b\\c\\"));
    QCOMPARE(::strreplchr(text.bytes, 'x', 'y'), 0);
}

void TestVexaStrings::strextr_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("out");  // null: refused
    QTest::newRow("between") << QByteArray("a[bc]d") << 4 << QByteArray("bc");
    QTest::newRow("one too many") << QByteArray("a[bc]d") << 3 << QByteArray();
    QTest::newRow("next close") << QByteArray("[a[b]c]") << 64 << QByteArray("a[b");
    QTest::newRow("empty part") << QByteArray("x[]") << 2 << QByteArray("");
    QTest::newRow("no open") << QByteArray("abc]") << 64 << QByteArray();
    QTest::newRow("no close") << QByteArray("a[bc") << 64 << QByteArray();
    QTest::newRow("close before open") << QByteArray("]a[") << 64 << QByteArray();
}

void TestVexaStrings::strextr()
{
    QFETCH(QByteArray, text);
    QFETCH(int, size);
    QFETCH(QByteArray, out);

    Guarded extracted;
    char *result = ::strextr(extracted.bytes, text.constData(), size, '[', ']');
    QCOMPARE(result != nullptr, !out.isNull());
    QCOMPARE(extracted.text(), out.isNull() ? QByteArray("") : out);
    QVERIFY(extracted.untouchedFrom(size));

    Guarded got;
    QCOMPARE(strgetstr(text.constData(), '[', ']', got.bytes, size), out.isNull() ? 0 : 1);
    QCOMPARE(got.text(), extracted.text());

    Guarded untouched;
    QCOMPARE(pointer(::strextr(untouched.bytes, text.constData(), 0, '[', ']')), pointer(nullptr));
    QCOMPARE(strgetstr(text.constData(), '[', ']', untouched.bytes, 0), 0);
    QVERIFY(untouched.untouchedFrom(0));
}

void TestVexaStrings::strstrip_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("quoted") << QByteArray("name=\"value\"") << 1 << QByteArray("value");
    QTest::newRow("unclosed") << QByteArray("name=\"value") << 0 << QByteArray("name=\"value");
    QTest::newRow("empty") << QByteArray("\"\"") << 1 << QByteArray("");
}

void TestVexaStrings::strstrip()
{
    QFETCH(QByteArray, text);
    QFETCH(int, result);
    QFETCH(QByteArray, after);
    Guarded buffer(text);
    QCOMPARE(::strstrip(buffer.bytes, '"', '"'), result);
    QCOMPARE(buffer.text(), after);
}

void TestVexaStrings::strremovestr_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("two parts") << QByteArray("a(b)c(d)e") << QByteArray("ace");
    QTest::newRow("unclosed stays") << QByteArray("a(b") << QByteArray("a(b");
    QTest::newRow("whole") << QByteArray("(x)") << QByteArray("");
    QTest::newRow("close first") << QByteArray("a)b(c)") << QByteArray("a)b");
    QTest::newRow("nested from the start") << QByteArray("((a)b)c") << QByteArray("b)c");
}

void TestVexaStrings::strremovestr()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, after);
    Guarded buffer(text);
    ::strremovestr(buffer.bytes, '(', ')');
    QCOMPARE(buffer.text(), after);
}

void TestVexaStrings::strremovechr()
{
    Guarded buffer(QByteArray(" a-b c-d "));
    ::strremovechr(buffer.bytes, " -");
    QCOMPARE(buffer.text(), QByteArray("abcd"));
    ::strremovechr(buffer.bytes, "");
    QCOMPARE(buffer.text(), QByteArray("abcd"));
}

void TestVexaStrings::strreplstr_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("needle");
    QTest::addColumn<QByteArray>("replacement");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("count");
    QTest::newRow("every one") << QByteArray("aXbXc") << 64 << QByteArray("X") << QByteArray("YY") << QByteArray("aYYbYYc") << 2;
    QTest::newRow("exactly fits") << QByteArray("aXbXc") << 8 << QByteArray("X") << QByteArray("YY") << QByteArray("aYYbYYc") << 2;
    QTest::newRow("stops before overflow") << QByteArray("aXbXc") << 7 << QByteArray("X") << QByteArray("YY") << QByteArray("aYYbXc") << 1;
    QTest::newRow("no rescan") << QByteArray("aa") << 64 << QByteArray("a") << QByteArray("aa") << QByteArray("aaaa") << 2;
    QTest::newRow("shrinks") << QByteArray("hello world") << 12 << QByteArray("o") << QByteArray("") << QByteArray("hell wrld") << 2;
    QTest::newRow("empty needle") << QByteArray("abc") << 64 << QByteArray("") << QByteArray("x") << QByteArray("abc") << 0;
}

void TestVexaStrings::strreplstr()
{
    QFETCH(QByteArray, text);
    QFETCH(int, size);
    QFETCH(QByteArray, needle);
    QFETCH(QByteArray, replacement);
    QFETCH(QByteArray, after);
    QFETCH(int, count);
    Guarded buffer(text);
    QCOMPARE(::strreplstr(buffer.bytes, size, needle.constData(), replacement.constData()), count);
    QCOMPARE(buffer.text(), after);
    QVERIFY(buffer.untouchedFrom(qMax(size, text.size() + 1)));
}

void TestVexaStrings::strinsertstr_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("insert");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("middle") << 64 << QByteArray("XX") << 2 << 1 << QByteArray("heXXllo");
    QTest::newRow("start") << 64 << QByteArray("XX") << 0 << 1 << QByteArray("XXhello");
    QTest::newRow("end") << 64 << QByteArray("XX") << 5 << 1 << QByteArray("helloXX");
    QTest::newRow("past the end") << 64 << QByteArray("XX") << 6 << 0 << QByteArray("hello");
    QTest::newRow("negative") << 64 << QByteArray("XX") << -1 << 0 << QByteArray("hello");
    QTest::newRow("result cut") << 6 << QByteArray("XX") << 2 << 1 << QByteArray("heXXl");
    QTest::newRow("insert cut") << 6 << QByteArray("XXXXXX") << 4 << 1 << QByteArray("hellX");
    QTest::newRow("size below length + 1") << 5 << QByteArray("XX") << 2 << 0 << QByteArray("hello");
}

void TestVexaStrings::strinsertstr()
{
    QFETCH(int, size);
    QFETCH(QByteArray, insert);
    QFETCH(int, position);
    QFETCH(int, result);
    QFETCH(QByteArray, after);
    Guarded buffer(QByteArray("hello"));
    QCOMPARE(::strinsertstr(buffer.bytes, size, insert.constData(), position), result);
    QCOMPARE(buffer.text(), after);
    QVERIFY(buffer.untouchedFrom(qMax(size, 6)));
}

void TestVexaStrings::strrmln_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("CR LF") << QByteArray("abc\r\n") << QByteArray("abc");
    QTest::newRow("one LF only") << QByteArray("abc\n\n") << QByteArray("abc\n");
    QTest::newRow("CR alone") << QByteArray("abc\r") << QByteArray("abc");
    QTest::newRow("LF CR") << QByteArray("abc\n\r") << QByteArray("abc\n");
    QTest::newRow("empty") << QByteArray("") << QByteArray("");
}

void TestVexaStrings::strrmln()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, after);
    Guarded buffer(text);
    ::strrmln(buffer.bytes);
    QCOMPARE(buffer.text(), after);
}

void TestVexaStrings::strlwr()
{
    Guarded buffer(QByteArray("HeLLo 123 Z-"));
    QCOMPARE(pointer(::strlwr(buffer.bytes)), pointer(buffer.bytes));
    QCOMPARE(buffer.text(), QByteArray("hello 123 z-"));
}

void TestVexaStrings::strncpys_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QByteArray>("out");  // null: untouched
    QTest::newRow("cut") << 3 << QByteArray("he");
    QTest::newRow("room to spare") << 10 << QByteArray("hello");
    QTest::newRow("exact") << 6 << QByteArray("hello");
    QTest::newRow("one byte") << 1 << QByteArray("");
    QTest::newRow("zero") << 0 << QByteArray();
}

void TestVexaStrings::strncpys()
{
    QFETCH(int, n);
    QFETCH(QByteArray, out);
    Guarded buffer;
    QCOMPARE(pointer(::strncpys(buffer.bytes, "hello", n)), pointer(buffer.bytes));
    if (out.isNull()) {
        QVERIFY(buffer.untouchedFrom(0));
        return;
    }
    QCOMPARE(buffer.text(), out);
    for (int i = out.size(); i < n; ++i)
        QCOMPARE(buffer.bytes[i], '\0');
    QVERIFY(buffer.untouchedFrom(n));
}

void TestVexaStrings::beginsWith_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("prefix");
    QTest::addColumn<int>("exact");
    QTest::addColumn<int>("ignoringCase");  // sign
    QTest::newRow("begins") << QByteArray("hello") << QByteArray("he") << 0 << 0;
    QTest::newRow("other case") << QByteArray("HELLO") << QByteArray("he") << -1 << 0;
    QTest::newRow("shorter text") << QByteArray("he") << QByteArray("hello") << -1 << -1;
    QTest::newRow("text sorts after") << QByteArray("hello") << QByteArray("ha") << 1 << 1;
    QTest::newRow("text sorts before") << QByteArray("hello") << QByteArray("HF") << 1 << -1;
    QTest::newRow("empty prefix") << QByteArray("x") << QByteArray("") << 0 << 0;
}

void TestVexaStrings::beginsWith()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, prefix);
    QFETCH(int, exact);
    QFETCH(int, ignoringCase);
    QCOMPARE(strbeginstr(text.constData(), prefix.constData()), exact);
    QCOMPARE(sign(stribeginstr(text.constData(), prefix.constData())), ignoringCase);
}

void TestVexaStrings::strsize_data()
{
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("0") << qint64(0) << QByteArray("0 B");
    QTest::newRow("1024") << qint64(1024) << QByteArray("1024 B");
    QTest::newRow("1025") << qint64(1025) << QByteArray("1.00 kB");
    QTest::newRow("1536") << qint64(1536) << QByteArray("1.50 kB");
    QTest::newRow("1048576") << qint64(1048576) << QByteArray("1024.00 kB");
    QTest::newRow("1048577") << qint64(1048577) << QByteArray("1.00 MB");
    QTest::newRow("1073741824") << qint64(1073741824) << QByteArray("1024.00 MB");
    QTest::newRow("3 GB") << qint64(3LL << 30) << QByteArray("3.00 GB");
    QTest::newRow("negative") << qint64(-1) << QByteArray("4294967295 B");
}

void TestVexaStrings::strsize()
{
    QFETCH(qint64, count);
    QFETCH(QByteArray, text);
    Guarded buffer;
    QCOMPARE(pointer(::strsize(buffer.bytes, count)), pointer(buffer.bytes));
    QCOMPARE(buffer.text(), text);
}

void TestVexaStrings::strsecond_data()
{
    QTest::addColumn<qulonglong>("seconds");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("0") << 0ULL << QByteArray("00:00:00");
    QTest::newRow("3661") << 3661ULL << QByteArray("01:01:01");
    QTest::newRow("86399") << 86399ULL << QByteArray("23:59:59");
    QTest::newRow("86400") << 86400ULL << QByteArray("1 day 00:00:00");
    QTest::newRow("90061") << 90061ULL << QByteArray("1 day 01:01:01");
    QTest::newRow("180000") << 180000ULL << QByteArray("2 days 02:00:00");
}

void TestVexaStrings::strsecond()
{
    QFETCH(qulonglong, seconds);
    QFETCH(QByteArray, text);
    Guarded buffer;
    QCOMPARE(pointer(::strsecond(static_cast<unsigned long>(seconds), buffer.bytes)),
             pointer(buffer.bytes));
    QCOMPARE(buffer.text(), text);
}

void TestVexaStrings::strhex_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("size");
    QTest::addColumn<char>("separator");
    QTest::addColumn<QByteArray>("text");
    const QByteArray bytes = QByteArray::fromHex("01abff");
    QTest::newRow("separated") << bytes << 9 << ':' << QByteArray("01:ab:ff");
    QTest::newRow("too small") << bytes << 8 << ':' << QByteArray("");
    QTest::newRow("no separator") << bytes << 9 << '\0' << QByteArray("01abff");
    QTest::newRow("no bytes") << QByteArray() << 1 << ' ' << QByteArray("");
}

void TestVexaStrings::strhex()
{
    QFETCH(QByteArray, data);
    QFETCH(int, size);
    QFETCH(char, separator);
    QFETCH(QByteArray, text);
    Guarded buffer;
    ::strhex(buffer.bytes, size, separator, reinterpret_cast<const unsigned char *>(data.constData()),
             int(data.size()));
    QCOMPARE(buffer.text(), text);
    QVERIFY(buffer.untouchedFrom(size));
}

void TestVexaStrings::simpleStrtoul_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<uint>("base");
    QTest::addColumn<qulonglong>("value");
    QTest::addColumn<int>("end");
    QTest::newRow("0x prefix") << QByteArray("0x1Fz") << 0u << 31ULL << 4;
    QTest::newRow("0x without digit is octal 0") << QByteArray("0xg") << 0u << 0ULL << 1;
    QTest::newRow("leading zero is octal") << QByteArray("0179") << 0u << 15ULL << 3;
    QTest::newRow("decimal") << QByteArray("19a") << 0u << 19ULL << 2;
    QTest::newRow("given base 16") << QByteArray("fF") << 16u << 255ULL << 2;
    QTest::newRow("given base 8") << QByteArray("778") << 8u << 63ULL << 2;
    QTest::newRow("no digits") << QByteArray("-5") << 10u << 0ULL << 0;
}

void TestVexaStrings::simpleStrtoul()
{
    QFETCH(QByteArray, text);
    QFETCH(uint, base);
    QFETCH(qulonglong, value);
    QFETCH(int, end);
    char *stop = nullptr;
    QCOMPARE(qulonglong(simple_strtoul(text.constData(), &stop, base)), value);
    QCOMPARE(int(stop - text.constData()), end);
    QCOMPARE(qulonglong(simple_strtoul(text.constData(), nullptr, base)), value);
}

void TestVexaStrings::charinstr()
{
    QCOMPARE(::charinstr(',', " ,;"), 1);
    QCOMPARE(::charinstr('x', " ,;"), 0);
    QCOMPARE(::charinstr('\0', " ,;"), 0);
}

void TestVexaStrings::tokenisers()
{
    vexa_list list;
    list_init(&list, "  alpha, beta,,gamma ", ", ", 6);
    char token[16];
    QByteArrayList found;
    while (list_next(&list, token))
        found << QByteArray(token);
    QCOMPARE(found, QByteArrayList({"alpha", "beta", "gamma"}));

    list_init(&list, "toolong,x", ",", 7);
    QCOMPARE(list_next(&list, token), 0);
    QCOMPARE(QByteArray(token), QByteArray(""));

    auto plain = [](const char **position, char *out, int size) {
        return strenum(position, ",", out, size);
    };
    QCOMPARE(tokens("abcdef,g,,h", plain, 4), QByteArrayList({"<0>", "g", "h"}));

    auto grouped = [](const char **position, char *out, int size) {
        return strenum2(position, " ", '(', ')', out, size);
    };
    QCOMPARE(tokens("a (b c) d(e f)", grouped, 64), QByteArrayList({"a", "(b c)", "d(e f)"}));
}

void TestVexaStrings::search_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<int>("offset");  // -1: not found
    QTest::newRow("ignoring case") << QByteArray("Hello World") << QByteArray("wORLD") << 6;
    QTest::newRow("restart inside a match") << QByteArray("aaab") << QByteArray("aab") << 1;
    QTest::newRow("periodic") << QByteArray("abcabcabd") << QByteArray("ABCABD") << 3;
    QTest::newRow("overlapping") << QByteArray("ababababca") << QByteArray("abababca") << 2;
    QTest::newRow("empty pattern") << QByteArray("abc") << QByteArray("") << 0;
    QTest::newRow("longer pattern") << QByteArray("abc") << QByteArray("abcd") << -1;
    QTest::newRow("absent") << QByteArray("abcdef") << QByteArray("xyz") << -1;
    QTest::newRow("long pattern on the heap") << QByteArray(400, 'a') + QByteArray(300, 'B')
                                              << QByteArray(300, 'b') << 400;
}

void TestVexaStrings::search()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, pattern);
    QFETCH(int, offset);
    const char *expected = offset < 0 ? nullptr : text.constData() + offset;

    QCOMPARE(pointer(stristr(text.constData(), pattern.constData())), pointer(expected));
    QCOMPARE(pointer(strinstr(text.constData(), pattern.constData(), 0)), pointer(expected));

    int *table = kmp_compute_retarget(pattern.constData());
    QVERIFY(table);
    QCOMPARE(table[0], -1);
    QCOMPARE(pointer(kmp_match(text.constData(), pattern.constData(), 0, table)), pointer(expected));
    kmp_free_retarget(table);
}

void TestVexaStrings::searchLimit()
{
    const char *text = "xxabcabd";
    // "ab" reaches the limit before the whole pattern matches; with a higher
    // limit the whole match wins.
    QCOMPARE(pointer(strinstr(text, "abd", 2)), pointer(nullptr));
    QCOMPARE(pointer(strinstr(text, "abd", 3)), pointer(text + 5));
    QCOMPARE(pointer(strinstr(text, "cab", 2)), pointer(nullptr));
    QCOMPARE(pointer(strinstr(text, "xa", 0)), pointer(text + 1));
}

void TestVexaStrings::strwildcmp_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<int>("result");
    QTest::newRow("parts in order") << QByteArray("hello world") << QByteArray("h*O W*d") << 0;
    QTest::newRow("not anchored") << QByteArray("hello") << QByteArray("ll") << 0;
    QTest::newRow("wrong order") << QByteArray("hello") << QByteArray("l*h") << 1;
    QTest::newRow("after the previous part") << QByteArray("abc") << QByteArray("abc*abc") << 1;
    QTest::newRow("repeated") << QByteArray("abcabc") << QByteArray("abc*abc") << 0;
    QTest::newRow("empty pattern") << QByteArray("abc") << QByteArray("") << 0;
    QTest::newRow("only stars") << QByteArray("abc") << QByteArray("**") << 0;
    QTest::newRow("missing") << QByteArray("abc") << QByteArray("*abd*") << 1;
    QTest::newRow("very long part matches") << QByteArray("abc") << QByteArray(127, 'z') << 0;
    QTest::newRow("long part still compared") << QByteArray("abc") << QByteArray(126, 'z') << 1;
}

void TestVexaStrings::strwildcmp()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, pattern);
    QFETCH(int, result);
    QCOMPARE(::strwildcmp(text.constData(), pattern.constData()), result);
}

void TestVexaStrings::bubbleSorts()
{
    int index[5];
    bubleinit(index, 5);
    QCOMPARE(QList<int>(index, index + 5), QList<int>({0, 1, 2, 3, 4}));

    bublesort(index, 5, sortKey, compareKeys);
    QList<int> keys;
    for (int i : index)
        keys << sortKeys[i];
    QCOMPARE(keys, QList<int>({9, 9, 4, 3, 1}));
    QCOMPARE(QList<int>(index, index + 5), QList<int>({1, 3, 4, 0, 2}));  // stable

    int *sorted = bublesort2(5, compareKeyIndices);
    QVERIFY(sorted);
    QCOMPARE(QList<int>(sorted, sorted + 5), QList<int>({2, 0, 4, 1, 3}));
    free(sorted);
    QCOMPARE(bublesort2(0, compareKeyIndices), nullptr);
}

QTEST_GUILESS_MAIN(TestVexaStrings)
#include "tst_vexastrings.moc"
