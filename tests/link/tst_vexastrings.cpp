#include "vexasupport.h"
#include "guardedbuffer.h"

#include <QTest>

#include <arpa/inet.h>

#include <cstdlib>

namespace {

uint32_t address(int a, int b, int c, int d)
{
    return htonl(uint32_t(a) << 24 | uint32_t(b) << 16 | uint32_t(c) << 8 | uint32_t(d));
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

// The functions that change a text in place, for one table.
enum class Edit { ReplaceChar, RemoveChars, Lower, RemoveLineEnd, RemoveParts, Strip };
enum class Copy { Extract, Cut, Hex, HexPlain };

} // namespace

Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(Copy)

class TestVexaStrings : public QObject
{
    Q_OBJECT

private slots:
    void addresses()
    {
        GuardedBuffer text;
        QCOMPARE(pointer(strip(text.bytes, address(192, 168, 1, 20))), pointer(text.bytes));
        QCOMPARE(text.text(), QByteArray("192.168.1.20"));
        QCOMPARE(pointer(stripport(text.bytes, address(255, 255, 255, 255), htons(65535))), pointer(text.bytes));
        QCOMPARE(text.text(), QByteArray("255.255.255.255:65535"));
        QVERIFY(text.untouchedFrom(22));

        char *shared = ip_string(address(127, 0, 0, 1));
        QCOMPARE(QByteArray(shared), QByteArray("127.0.0.1"));
        QCOMPARE(pointer(ip_string(address(1, 2, 3, 4))), pointer(shared));
        QCOMPARE(QByteArray(shared), QByteArray("1.2.3.4"));
    }

    void inPlaceEdits_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<int>("result");

        QTest::newRow("strreplchr") << Edit::ReplaceChar << QByteArray("a/b/c/") << QByteArray("a\\b\\c\\") << 3;
        QTest::newRow("strremovechr") << Edit::RemoveChars << QByteArray(" a-b c-d ") << QByteArray("abcd") << 0;
        QTest::newRow("strlwr") << Edit::Lower << QByteArray("HeLLo 123 Z-") << QByteArray("hello 123 z-") << 0;
        QTest::newRow("strrmln, CR LF") << Edit::RemoveLineEnd << QByteArray("abc\r\n") << QByteArray("abc") << 0;
        QTest::newRow("strrmln, one LF only") << Edit::RemoveLineEnd << QByteArray("abc\n\n") << QByteArray("abc\n") << 0;
        QTest::newRow("strrmln, LF CR") << Edit::RemoveLineEnd << QByteArray("abc\n\r") << QByteArray("abc\n") << 0;
        QTest::newRow("strrmln, empty") << Edit::RemoveLineEnd << QByteArray("") << QByteArray("") << 0;
        QTest::newRow("strremovestr, two parts") << Edit::RemoveParts << QByteArray("a(b)c(d)e") << QByteArray("ace") << 0;
        QTest::newRow("strremovestr, unclosed stays") << Edit::RemoveParts << QByteArray("a(b") << QByteArray("a(b") << 0;
        QTest::newRow("strremovestr, close first") << Edit::RemoveParts << QByteArray("a)b(c)") << QByteArray("a)b") << 0;
        QTest::newRow("strremovestr, nested") << Edit::RemoveParts << QByteArray("((a)b)c") << QByteArray("b)c") << 0;
        QTest::newRow("strstrip") << Edit::Strip << QByteArray("name=\"value\"") << QByteArray("value") << 1;
        QTest::newRow("strstrip, unclosed") << Edit::Strip << QByteArray("name=\"value") << QByteArray("name=\"value") << 0;
    }

    void inPlaceEdits()
    {
        QFETCH(Edit, edit);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, after);
        QFETCH(int, result);

        GuardedBuffer buffer(text);
        int returned = 0;
        switch (edit) {
        case Edit::ReplaceChar: returned = strreplchr(buffer.bytes, '/', '\\'); break;
        case Edit::RemoveChars: strremovechr(buffer.bytes, " -"); break;
        case Edit::Lower: QCOMPARE(pointer(strlwr(buffer.bytes)), pointer(buffer.bytes)); break;
        case Edit::RemoveLineEnd: strrmln(buffer.bytes); break;
        case Edit::RemoveParts: strremovestr(buffer.bytes, '(', ')'); break;
        case Edit::Strip: returned = strstrip(buffer.bytes, '"', '"'); break;
        }
        QCOMPARE(buffer.text(), after);
        QCOMPARE(returned, result);
        QVERIFY(buffer.untouchedFrom(text.size() + 1));
    }

    void boundedCopies_data()
    {
        QTest::addColumn<Copy>("copy");
        QTest::addColumn<QByteArray>("text");  // hexadecimal for strhex
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("out");   // null: refused (an empty text)
        QTest::newRow("strextr") << Copy::Extract << QByteArray("a[bc]d") << 4 << QByteArray("bc");
        QTest::newRow("strextr, one too many") << Copy::Extract << QByteArray("a[bc]d") << 3 << QByteArray();
        QTest::newRow("strextr, next close") << Copy::Extract << QByteArray("[a[b]c]") << 64 << QByteArray("a[b");
        QTest::newRow("strextr, empty part") << Copy::Extract << QByteArray("x[]") << 2 << QByteArray("");
        QTest::newRow("strextr, no open") << Copy::Extract << QByteArray("abc]") << 64 << QByteArray();
        QTest::newRow("strextr, no close") << Copy::Extract << QByteArray("a[bc") << 64 << QByteArray();
        QTest::newRow("strextr, size 0") << Copy::Extract << QByteArray("a[bc]d") << 0 << QByteArray();
        QTest::newRow("strncpys, cut") << Copy::Cut << QByteArray("hello") << 3 << QByteArray("he");
        QTest::newRow("strncpys, room to spare") << Copy::Cut << QByteArray("hello") << 10 << QByteArray("hello");
        QTest::newRow("strncpys, one byte") << Copy::Cut << QByteArray("hello") << 1 << QByteArray("");
        QTest::newRow("strncpys, size 0") << Copy::Cut << QByteArray("hello") << 0 << QByteArray("");
        QTest::newRow("strhex") << Copy::Hex << QByteArray("01abff") << 9 << QByteArray("01:ab:ff");
        QTest::newRow("strhex, too small") << Copy::Hex << QByteArray("01abff") << 8 << QByteArray();
        QTest::newRow("strhex, no separator") << Copy::HexPlain << QByteArray("01abff") << 9 << QByteArray("01abff");
        QTest::newRow("strhex, no bytes") << Copy::Hex << QByteArray() << 1 << QByteArray("");
    }

    void boundedCopies()
    {
        QFETCH(Copy, copy);
        QFETCH(QByteArray, text);
        QFETCH(int, size);
        QFETCH(QByteArray, out);

        GuardedBuffer buffer, got;
        const QByteArray data = QByteArray::fromHex(text);
        switch (copy) {
        case Copy::Extract:
            QCOMPARE(::strextr(buffer.bytes, text.constData(), size, '[', ']') != nullptr, !out.isNull());
            QCOMPARE(strgetstr(text.constData(), '[', ']', got.bytes, size), out.isNull() ? 0 : 1);
            break;
        case Copy::Cut:
            QCOMPARE(pointer(::strncpys(buffer.bytes, text.constData(), size)), pointer(buffer.bytes));
            break;
        case Copy::Hex:
        case Copy::HexPlain:
            ::strhex(buffer.bytes, size, copy == Copy::Hex ? ':' : '\0',
                     reinterpret_cast<const unsigned char *>(data.constData()), int(data.size()));
            break;
        }
        if (size < 1) {  // no room even for a NUL: nothing written
            QVERIFY(buffer.untouchedFrom(0));
            return;
        }
        QCOMPARE(buffer.text(), out.isNull() ? QByteArray("") : out);
        if (copy == Copy::Extract)
            QCOMPARE(got.text(), buffer.text());
        if (copy == Copy::Cut)  // padded with NULs up to the size
            QCOMPARE(QByteArray(buffer.bytes, size), out + QByteArray(size - out.size(), '\0'));
        QVERIFY(buffer.untouchedFrom(size));
    }

    void strreplstr_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("needle");
        QTest::addColumn<QByteArray>("replacement");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<int>("count");
        QTest::newRow("exactly fits") << QByteArray("aXbXc") << 8 << QByteArray("X") << QByteArray("YY") << QByteArray("aYYbYYc") << 2;
        QTest::newRow("stops before overflow") << QByteArray("aXbXc") << 7 << QByteArray("X") << QByteArray("YY") << QByteArray("aYYbXc") << 1;
        QTest::newRow("no rescan") << QByteArray("aa") << 64 << QByteArray("a") << QByteArray("aa") << QByteArray("aaaa") << 2;
        QTest::newRow("shrinks") << QByteArray("hello world") << 12 << QByteArray("o") << QByteArray("") << QByteArray("hell wrld") << 2;
        QTest::newRow("empty needle") << QByteArray("abc") << 64 << QByteArray("") << QByteArray("x") << QByteArray("abc") << 0;
    }

    void strreplstr()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, size);
        QFETCH(QByteArray, needle);
        QFETCH(QByteArray, replacement);
        QFETCH(QByteArray, after);
        QFETCH(int, count);
        GuardedBuffer buffer(text);
        QCOMPARE(::strreplstr(buffer.bytes, size, needle.constData(), replacement.constData()), count);
        QCOMPARE(buffer.text(), after);
        QVERIFY(buffer.untouchedFrom(qMax(size, text.size() + 1)));
    }

    void strinsertstr_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("insert");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("middle") << 64 << QByteArray("XX") << 2 << 1 << QByteArray("heXXllo");
        QTest::newRow("end") << 64 << QByteArray("XX") << 5 << 1 << QByteArray("helloXX");
        QTest::newRow("past the end") << 64 << QByteArray("XX") << 6 << 0 << QByteArray("hello");
        QTest::newRow("negative") << 64 << QByteArray("XX") << -1 << 0 << QByteArray("hello");
        QTest::newRow("result cut") << 6 << QByteArray("XX") << 2 << 1 << QByteArray("heXXl");
        QTest::newRow("insert cut") << 6 << QByteArray("XXXXXX") << 4 << 1 << QByteArray("hellX");
        QTest::newRow("size below length + 1") << 5 << QByteArray("XX") << 2 << 0 << QByteArray("hello");
    }

    void strinsertstr()
    {
        QFETCH(int, size);
        QFETCH(QByteArray, insert);
        QFETCH(int, position);
        QFETCH(int, result);
        QFETCH(QByteArray, after);
        GuardedBuffer buffer(QByteArray("hello"));
        QCOMPARE(::strinsertstr(buffer.bytes, size, insert.constData(), position), result);
        QCOMPARE(buffer.text(), after);
        QVERIFY(buffer.untouchedFrom(qMax(size, 6)));
    }

    void beginsWith_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("prefix");
        QTest::addColumn<int>("exact");
        QTest::addColumn<int>("ignoringCase");  // sign
        QTest::newRow("begins") << QByteArray("hello") << QByteArray("he") << 0 << 0;
        QTest::newRow("other case") << QByteArray("HELLO") << QByteArray("he") << -1 << 0;
        QTest::newRow("shorter text") << QByteArray("he") << QByteArray("hello") << -1 << -1;
        QTest::newRow("text sorts before") << QByteArray("hello") << QByteArray("HF") << 1 << -1;
        QTest::newRow("empty prefix") << QByteArray("x") << QByteArray("") << 0 << 0;
    }

    void beginsWith()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, prefix);
        QFETCH(int, exact);
        QFETCH(int, ignoringCase);
        QCOMPARE(strbeginstr(text.constData(), prefix.constData()), exact);
        QCOMPARE(sign(stribeginstr(text.constData(), prefix.constData())), ignoringCase);
    }

    void sizeAndDuration_data()
    {
        QTest::addColumn<bool>("seconds");  // strsecond, else strsize
        QTest::addColumn<qint64>("count");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("1024") << false << qint64(1024) << QByteArray("1024 B");
        QTest::newRow("1025") << false << qint64(1025) << QByteArray("1.00 kB");
        QTest::newRow("1048576") << false << qint64(1048576) << QByteArray("1024.00 kB");
        QTest::newRow("1048577") << false << qint64(1048577) << QByteArray("1.00 MB");
        QTest::newRow("1073741824") << false << qint64(1073741824) << QByteArray("1024.00 MB");
        QTest::newRow("3 GB") << false << qint64(3LL << 30) << QByteArray("3.00 GB");
        QTest::newRow("-1") << false << qint64(-1) << QByteArray("4294967295 B");
        QTest::newRow("86399 s") << true << qint64(86399) << QByteArray("23:59:59");
        QTest::newRow("86400 s") << true << qint64(86400) << QByteArray("1 day 00:00:00");
        QTest::newRow("90061 s") << true << qint64(90061) << QByteArray("1 day 01:01:01");
        QTest::newRow("180000 s") << true << qint64(180000) << QByteArray("2 days 02:00:00");
    }

    void sizeAndDuration()
    {
        QFETCH(bool, seconds);
        QFETCH(qint64, count);
        QFETCH(QByteArray, text);
        GuardedBuffer buffer;
        const char *returned = seconds ? ::strsecond(static_cast<unsigned long>(count), buffer.bytes)
                                       : ::strsize(buffer.bytes, count);
        QCOMPARE(pointer(returned), pointer(buffer.bytes));
        QCOMPARE(buffer.text(), text);
    }

    void simpleStrtoul_data()
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
        QTest::newRow("no digits") << QByteArray("-5") << 10u << 0ULL << 0;
    }

    void simpleStrtoul()
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

    void tokenisers()
    {
        QCOMPARE(charinstr(',', " ,;"), 1);
        QCOMPARE(charinstr('x', " ,;"), 0);
        QCOMPARE(charinstr('\0', " ,;"), 0);

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

        // A token too long for the buffer is passed over, not split.
        auto plain = [](const char **position, char *out, int size) { return strenum(position, ",", out, size); };
        QCOMPARE(tokens("abcdef,g,,h", plain, 4), QByteArrayList({"<0>", "g", "h"}));
        auto grouped = [](const char **position, char *out, int size) {
            return strenum2(position, " ", '(', ')', out, size);
        };
        QCOMPARE(tokens("a (b c) d(e f)", grouped, 64), QByteArrayList({"a", "(b c)", "d(e f)"}));
    }

    void search_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("pattern");
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("offset");  // -1: not found
        QTest::newRow("ignoring case") << QByteArray("Hello World") << QByteArray("wORLD") << 0 << 6;
        QTest::newRow("restart inside a match") << QByteArray("aaab") << QByteArray("aab") << 0 << 1;
        QTest::newRow("periodic") << QByteArray("abcabcabd") << QByteArray("ABCABD") << 0 << 3;
        QTest::newRow("empty pattern") << QByteArray("abc") << QByteArray("") << 0 << 0;
        QTest::newRow("longer pattern") << QByteArray("abc") << QByteArray("abcd") << 0 << -1;
        QTest::newRow("long pattern on the heap") << QByteArray(400, 'a') + QByteArray(300, 'B')
                                                  << QByteArray(300, 'b') << 0 << 400;
        // A partial match that reaches the limit gives up; a whole match within it wins.
        QTest::newRow("limit reached") << QByteArray("xxabcabd") << QByteArray("abd") << 2 << -1;
        QTest::newRow("limit not reached") << QByteArray("xxabcabd") << QByteArray("abd") << 3 << 5;
    }

    void search()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, pattern);
        QFETCH(int, limit);
        QFETCH(int, offset);
        const char *expected = offset < 0 ? nullptr : text.constData() + offset;

        QCOMPARE(pointer(strinstr(text.constData(), pattern.constData(), limit)), pointer(expected));
        int *table = kmp_compute_retarget(pattern.constData());
        QVERIFY(table);
        QCOMPARE(pointer(kmp_match(text.constData(), pattern.constData(), limit, table)), pointer(expected));
        kmp_free_retarget(table);
        if (limit == 0)
            QCOMPARE(pointer(stristr(text.constData(), pattern.constData())), pointer(expected));
    }

    void strwildcmp_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("pattern");
        QTest::addColumn<int>("result");
        QTest::newRow("parts in order") << QByteArray("hello world") << QByteArray("h*O W*d") << 0;
        QTest::newRow("not anchored") << QByteArray("hello") << QByteArray("ll") << 0;
        QTest::newRow("wrong order") << QByteArray("hello") << QByteArray("l*h") << 1;
        QTest::newRow("after the previous part") << QByteArray("abc") << QByteArray("abc*abc") << 1;
        QTest::newRow("repeated") << QByteArray("abcabc") << QByteArray("abc*abc") << 0;
        QTest::newRow("only stars") << QByteArray("abc") << QByteArray("**") << 0;
        QTest::newRow("very long part matches") << QByteArray("abc") << QByteArray(127, 'z') << 0;
        QTest::newRow("long part still compared") << QByteArray("abc") << QByteArray(126, 'z') << 1;
    }

    void strwildcmp()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, pattern);
        QFETCH(int, result);
        QCOMPARE(::strwildcmp(text.constData(), pattern.constData()), result);
    }

    void bubbleSorts()
    {
        int index[5];
        bubleinit(index, 5);
        QCOMPARE(QList<int>(index, index + 5), QList<int>({0, 1, 2, 3, 4}));
        bublesort(index, 5, sortKey, compareKeys);
        QCOMPARE(QList<int>(index, index + 5), QList<int>({1, 3, 4, 0, 2}));  // greatest first, stable

        int *sorted = bublesort2(5, compareKeyIndices);
        QVERIFY(sorted);
        QCOMPARE(QList<int>(sorted, sorted + 5), QList<int>({2, 0, 4, 1, 3}));
        free(sorted);
        QCOMPARE(bublesort2(0, compareKeyIndices), nullptr);
    }
};

QTEST_GUILESS_MAIN(TestVexaStrings)
#include "tst_vexastrings.moc"
