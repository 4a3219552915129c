#include "vexasupport.h"
#include "guardedbuffer.h"

#include <QTest>

#include <arpa/inet.h>

#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

using Call = std::function<QByteArray()>;
using BufferCall = std::function<long long(char *)>;

// An edit in place, which may not write past the text's end.
QByteArray edited(const QByteArray &text, const BufferCall &edit) { return written(edit, int(text.size()) + 1, text); }
QByteArray number(long long value) { return QByteArray::number(value); }

uint32_t address(int a, int b, int c, int d)
{
    return htonl(uint32_t(a) << 24 | uint32_t(b) << 16 | uint32_t(c) << 8 | uint32_t(d));
}

const unsigned char kHexBytes[] = {0x01, 0xab, 0xff};

QByteArray replaced(const char *text, int size, const char *needle, const char *replacement)
{
    auto replace = [=](char *b) { return strreplstr(b, size, needle, replacement); };
    return written(replace, qMax(size, int(strlen(text)) + 1), text);
}

QByteArray insertedInHello(int size, const char *insert, int position)
{
    return written([=](char *b) { return strinsertstr(b, size, insert, position); }, qMax(size, 6), "hello");
}

QByteArray hexOfBytes(int size, char separator)
{
    return written([=](char *b) { return strhex(b, size, separator, kHexBytes, 3) == b; }, size);
}

// strbeginstr's result and the sign of stribeginstr's.
QByteArray begins(const char *text, const char *prefix)
{
    const int ignoringCase = stribeginstr(text, prefix);
    return number(strbeginstr(text, prefix)) + ' ' + number((ignoringCase > 0) - (ignoringCase < 0));
}

// Where strinstr, kmp_match and, without a limit, stristr find the pattern (-1: nowhere).
QByteArray found(const QByteArray &text, const QByteArray &pattern, int limit)
{
    auto offset = [&](const char *at) { return number(at ? at - text.constData() : -1); };
    int *table = kmp_compute_retarget(pattern.constData());
    QByteArray out = offset(strinstr(text.constData(), pattern.constData(), limit)) + ' '
                     + offset(kmp_match(text.constData(), pattern.constData(), limit, table));
    kmp_free_retarget(table);
    return limit ? out : out + ' ' + offset(stristr(text.constData(), pattern.constData()));
}

QByteArray parsed(const char *text, unsigned int base)
{
    char *stop = nullptr;
    const unsigned long value = simple_strtoul(text, &stop, base);
    return number((long long)value) + '|' + number(stop - text);
}

QByteArray sizeText(long long count)
{
    char text[64];
    return strsize(text, count);
}

QByteArray durationText(unsigned long seconds)
{
    char text[64];
    return strsecond(seconds, text);
}

QByteArray tokens(const char *text, const std::function<int(const char **, char *, int)> &next, int size)
{
    QByteArrayList found;
    char token[64];
    for (const char *position = text; *position;)
        found << (next(&position, token, size) ? QByteArray(token) : QByteArray("<0>"));
    return found.join('|');
}

const int sortKeys[] = {3, 9, 1, 9, 4};

int compareKeyIndices(int a, int b) { return sortKeys[a] - sortKeys[b]; }

// The index bublesort leaves, then the one bublesort2 returns, then whether it returns one for 0.
QByteArray sorted()
{
    int index[5];
    bubleinit(index, 5);
    bublesort(index, 5, [](int i) -> const void * { return &sortKeys[i]; },
              [](const void *a, const void *b) { return *static_cast<const int *>(a) - *static_cast<const int *>(b); });
    int *byIndex = bublesort2(5, compareKeyIndices);
    QByteArray out;
    for (int i = 0; i < 10; ++i)
        out += number(i < 5 ? index[i] : byIndex[i - 5]) + (i == 4 ? "|" : "");
    free(byIndex);
    return out + '|' + (bublesort2(0, compareKeyIndices) ? "list" : "none");
}

} // namespace

Q_DECLARE_METATYPE(Call)

class TestVexaStrings : public QObject
{
    Q_OBJECT

private slots:
    void utilities_data()
    {
        QTest::addColumn<Call>("call");
        QTest::addColumn<QByteArray>("expected");
        auto row = [](const char *name, const Call &call, const QByteArray &expected) {
            QTest::newRow(name) << call << expected;
        };

        row("strip", [] { return written([](char *b) { return strip(b, address(192, 168, 1, 20)) == b; }, 13); },
            "1|192.168.1.20");
        row("stripport", [] {
            return written([](char *b) { return stripport(b, address(255, 255, 255, 255), htons(65535)) == b; }, 22);
        }, "1|255.255.255.255:65535");
        row("ip_string, one shared buffer", [] {
            const char *shared = ip_string(address(127, 0, 0, 1));
            const QByteArray first(shared);
            return first + '|' + ip_string(address(1, 2, 3, 4)) + '|' + shared;
        }, "127.0.0.1|1.2.3.4|1.2.3.4");

        row("strreplchr", [] { return edited("a/b/c/", [](char *t) { return strreplchr(t, '/', '\\'); }); },
            "3|a\\b\\c\\");
        row("strremovechr", [] { return edited(" a-b c-d ", [](char *t) { strremovechr(t, " -"); return 0; }); },
            "0|abcd");
        row("strlwr", [] { return edited("HeLLo 123 Z-", [](char *t) { return strlwr(t) == t; }); }, "1|hello 123 z-");
        row("strrmln, one line end", [] { return edited("abc\n\r\n", [](char *t) { strrmln(t); return 0; }); },
            "0|abc\n");
        row("strremovestr, the unclosed part stays",
            [] { return edited("a(b)c(d)e(f", [](char *t) { strremovestr(t, '(', ')'); return 0; }); }, "0|ace(f");
        row("strstrip", [] { return edited("name=\"value\"", [](char *t) { return strstrip(t, '"', '"'); }); },
            "1|value");

        for (int size : {4, 3, 0}) {
            row(qPrintable(QStringLiteral("strextr, size %1").arg(size)), [size] {
                return written([size](char *b) { return strextr(b, "a[bc]d", size, '[', ']') != nullptr; }, size);
            }, size == 4 ? "1|bc" : size == 3 ? "0|" : "0|untouched");
            row(qPrintable(QStringLiteral("strgetstr, size %1").arg(size)), [size] {
                return written([size](char *b) { return strgetstr("a[bc]d", '[', ']', b, size); }, size);
            }, size == 4 ? "1|bc" : size == 3 ? "0|" : "0|untouched");
        }
        row("strncpys, cut", [] { return written([](char *b) { return strncpys(b, "hello", 3) == b; }, 3); }, "1|he");
        row("strncpys, padded with NULs", [] {
            return written([](char *b) { strncpys(b, "hello", 10); return QByteArray(b, 10).count('\0'); }, 10);
        }, "5|hello");
        row("strncpys, size 0", [] { return written([](char *b) { return strncpys(b, "hello", 0) == b; }, 0); },
            "1|untouched");
        row("strhex", [] { return hexOfBytes(9, ':'); }, "1|01:ab:ff");
        row("strhex, too small", [] { return hexOfBytes(8, ':'); }, "1|");
        row("strhex, no separator", [] { return hexOfBytes(9, '\0'); }, "1|01abff");

        row("strreplstr, exactly fits", [] { return replaced("aXbXc", 8, "X", "YY"); }, "2|aYYbYYc");
        row("strreplstr, stops before overflow", [] { return replaced("aXbXc", 7, "X", "YY"); }, "1|aYYbXc");
        row("strreplstr, no rescan", [] { return replaced("aa", 64, "a", "aa"); }, "2|aaaa");
        row("strreplstr, empty needle", [] { return replaced("abc", 64, "", "x"); }, "0|abc");
        row("strinsertstr", [] { return insertedInHello(64, "XX", 2); }, "1|heXXllo");
        row("strinsertstr, past the end", [] { return insertedInHello(64, "XX", 6); }, "0|hello");
        row("strinsertstr, size below length + 1", [] { return insertedInHello(5, "XX", 2); }, "0|hello");

        row("strbeginstr", [] { return begins("hello", "he"); }, "0 0");
        row("strbeginstr, other case", [] { return begins("HELLO", "he"); }, "-1 0");
        row("strwildcmp, parts in order", [] { return number(strwildcmp("hello world", "h*O W*d")); }, "0");
        row("strwildcmp, very long part matches", [] { return number(strwildcmp("abc", QByteArray(127, 'z'))); }, "0");
        row("strwildcmp, long part compared", [] { return number(strwildcmp("abc", QByteArray(126, 'z'))); }, "1");
        row("search, ignoring case", [] { return found("Hello World", "wORLD", 0); }, "6 6 6");
        row("search, restart inside a match", [] { return found("aaab", "aab", 0); }, "1 1 1");
        row("search, long pattern on the heap",
            [] { return found(QByteArray(400, 'a') + QByteArray(300, 'B'), QByteArray(300, 'b'), 0); }, "400 400 400");
        // A partial match that reaches the limit gives up; a whole match within it wins.
        row("search, limit reached", [] { return found("xxabcabd", "abd", 2); }, "-1 -1");
        row("search, limit not reached", [] { return found("xxabcabd", "abd", 3); }, "5 5");

        row("strsize 1024", [] { return sizeText(1024); }, "1024 B");
        row("strsize 1025", [] { return sizeText(1025); }, "1.00 kB");
        row("strsize 1048577", [] { return sizeText(1048577); }, "1.00 MB");
        row("strsize 3 GB", [] { return sizeText(3LL << 30); }, "3.00 GB");
        row("strsecond 86399", [] { return durationText(86399); }, "23:59:59");
        row("strsecond 90061", [] { return durationText(90061); }, "1 day 01:01:01");
        row("strsecond 180000", [] { return durationText(180000); }, "2 days 02:00:00");
        row("simple_strtoul, 0x prefix", [] { return parsed("0x1Fz", 0); }, "31|4");
        row("simple_strtoul, leading zero is octal", [] { return parsed("0179", 0); }, "15|3");
        row("simple_strtoul, no digits", [] { return parsed("-5", 10); }, "0|0");

        row("charinstr", [] {
            return number(charinstr(',', " ,;")) + number(charinstr('x', " ,;")) + number(charinstr('\0', " ,;"));
        }, "100");
        row("list_next", [] {
            vexa_list list;
            list_init(&list, "  alpha, beta,,gamma ", ", ", 6);
            char token[16];
            QByteArrayList found;
            while (list_next(&list, token))
                found << token;
            list_init(&list, "toolong,x", ",", 7);
            return found.join('|') + ' ' + number(list_next(&list, token)) + '|' + token;
        }, "alpha|beta|gamma 0|");
        // A token too long for the buffer is passed over, not split.
        row("strenum", [] {
            return tokens("abcdef,g,,h", [](const char **p, char *t, int n) { return strenum(p, ",", t, n); }, 4);
        }, "<0>|g|h");
        row("strenum2", [] {
            auto next = [](const char **p, char *t, int n) { return strenum2(p, " ", '(', ')', t, n); };
            return tokens("a (b c) d(e f)", next, 64);
        }, "a|(b c)|d(e f)");
        // Greatest first and stable, by keys and by indices.
        row("bublesort, bublesort2", sorted, "13402|20413|none");
    }

    void utilities()
    {
        QFETCH(Call, call);
        QFETCH(QByteArray, expected);
        QCOMPARE(call(), expected);
    }
};

QTEST_GUILESS_MAIN(TestVexaStrings)
#include "tst_vexastrings.moc"
