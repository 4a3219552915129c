#include "vexadbtypes.h"
#include "guardedbuffer.h"

#include <QTest>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

namespace {

template<typename T>
QByteArray bytesOf(T value) { return QByteArray(reinterpret_cast<const char *>(&value), sizeof value); }

// The list form in memory: lengths in host order.
QByteArray listForm(const QByteArrayList &items, bool closed = true)
{
    QByteArray form;
    for (const QByteArray &item : items)
        form += bytesOf<int32_t>(int32_t(item.size() + 1)) + item + '\0';
    if (closed)
        form += bytesOf<int32_t>(0);
    return form;
}

// The value's bytes end where an unreadable page begins: a read past the value
// crashes the test instead of going unseen.
struct ValueAtPageEnd
{
    explicit ValueAtPageEnd(const QByteArray &value)
        : page(size_t(sysconf(_SC_PAGESIZE)))
        , base(static_cast<char *>(mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE,
                                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)))
        , data(base + page - value.size())
    {
        mprotect(base + page, page, PROT_NONE);
        memcpy(data, value.constData(), size_t(value.size()));
    }
    ~ValueAtPageEnd() { munmap(base, 2 * page); }

    const size_t page;
    char *const base;
    char *const data;
};

} // namespace

class TestVexaDbTypes : public QObject
{
    Q_OBJECT

private slots:
    void typeDesc()
    {
        QByteArrayList names;
        for (int type = -1; type <= 9; ++type)
            names << vexadb_type_desc(type);
        QCOMPARE(names, QByteArrayList({"UNKNOWN", "VOID", "STRING", "INT", "INT64", "IPADDR", "PWD",
                                        "BINARY", "PORT", "IDLIST", "UNKNOWN"}));
    }

    void textToValue_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("value");  // empty: refused
        QTest::addColumn<QByteArray>("back");   // the text the value converts back to
        QTest::newRow("STRING size - 1 fits") << int(VEXADB_STRING) << QByteArray("abc") << 4 << QByteArray("abc", 4) << QByteArray("abc");
        QTest::newRow("STRING one more refused") << int(VEXADB_STRING) << QByteArray("abcd") << 4 << QByteArray() << QByteArray();
        QTest::newRow("PWD") << int(VEXADB_PWD) << QByteArray("secret") << 7 << QByteArray("secret", 7) << QByteArray("secret");
        QTest::newRow("INT -1 reads unsigned") << int(VEXADB_INT) << QByteArray("-1") << 4 << bytesOf<int32_t>(-1) << QByteArray("4294967295");
        QTest::newRow("INT unsigned form") << int(VEXADB_INT) << QByteArray("4294967295") << 4 << bytesOf<int32_t>(-1) << QByteArray("4294967295");
        QTest::newRow("INT as far as digits") << int(VEXADB_INT) << QByteArray("  17xyz") << 4 << bytesOf<int32_t>(17) << QByteArray("17");
        QTest::newRow("INT no room") << int(VEXADB_INT) << QByteArray("42") << 3 << QByteArray() << QByteArray();
        QTest::newRow("INT64 -1") << int(VEXADB_INT64) << QByteArray("-1") << 8 << bytesOf<int64_t>(-1) << QByteArray("18446744073709551615");
        QTest::newRow("IPADDR") << int(VEXADB_IPADDR) << QByteArray("10.0.0.1") << 4 << QByteArray::fromHex("0a000001") << QByteArray("10.0.0.1");
        QTest::newRow("IPADDR not an address") << int(VEXADB_IPADDR) << QByteArray("bad") << 4 << QByteArray::fromHex("ffffffff") << QByteArray("255.255.255.255");
        QTest::newRow("BINARY any case") << int(VEXADB_BINARY) << QByteArray("aB0C") << 2 << QByteArray::fromHex("ab0c") << QByteArray("ab0c");
        QTest::newRow("BINARY odd length") << int(VEXADB_BINARY) << QByteArray("abc") << 64 << QByteArray() << QByteArray();
        QTest::newRow("BINARY too long") << int(VEXADB_BINARY) << QByteArray("aabbcc") << 2 << QByteArray() << QByteArray();
        QTest::newRow("PORT") << int(VEXADB_PORT) << QByteArray("8080") << 2 << QByteArray::fromHex("1f90") << QByteArray("8080");
        QTest::newRow("PORT low 16 bits") << int(VEXADB_PORT) << QByteArray("70000") << 2 << QByteArray::fromHex("1170") << QByteArray("4464");
        const QByteArray list = listForm({"a", "", "bc"});
        QTest::newRow("IDLIST a,,bc is 22 bytes") << int(VEXADB_IDLIST) << QByteArray("a,,bc") << 64 << list << QByteArray("a,,bc");
        QTest::newRow("IDLIST exactly fits") << int(VEXADB_IDLIST) << QByteArray("a,,bc") << 22 << list << QByteArray("a,,bc");
        QTest::newRow("IDLIST keeps leading items") << int(VEXADB_IDLIST) << QByteArray("a,,bc") << 21 << listForm({"a", ""}) << QByteArray("a,");
        QTest::newRow("IDLIST no room for the end") << int(VEXADB_IDLIST) << QByteArray("abc") << 3 << QByteArray() << QByteArray();
        QTest::newRow("VOID") << int(VEXADB_VOID) << QByteArray("x") << 64 << QByteArray() << QByteArray();
    }

    void textToValue()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, text);
        QFETCH(int, size);
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, back);
        GuardedBuffer out;
        const int written = vexadb_str2val(type, text.constData(), out.bytes, size);
        QCOMPARE(written, int(value.size()));
        QCOMPARE(QByteArray(out.bytes, written), value);
        QVERIFY(out.untouchedFrom(written));
        if (value.isEmpty())
            return;
        GuardedBuffer again;
        QCOMPARE(vexadb_val2str(type, again.bytes, 128, out.bytes, written), int(back.size() + 1));
        QCOMPARE(QByteArray(again.bytes), back);
    }

    void valueToText_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("result");
        QTest::newRow("STRING no room") << int(VEXADB_STRING) << QByteArray("hello", 6) << 5 << QByteArray("") << 0;
        QTest::newRow("INT no room") << int(VEXADB_INT) << bytesOf<int32_t>(-1) << 10 << QByteArray("") << 0;
        QTest::newRow("INT exact room") << int(VEXADB_INT) << bytesOf<int32_t>(-1) << 11 << QByteArray("4294967295") << 11;
        QTest::newRow("BINARY ff00") << int(VEXADB_BINARY) << QByteArray::fromHex("ff00") << 5 << QByteArray("ff00") << 5;
        QTest::newRow("BINARY no room") << int(VEXADB_BINARY) << QByteArray::fromHex("ff00") << 4 << QByteArray("") << 0;
        const QByteArray list = listForm({"a", "", "bc"});
        QTest::newRow("IDLIST") << int(VEXADB_IDLIST) << list << 6 << QByteArray("a,,bc") << 6;
        QTest::newRow("IDLIST text does not fit") << int(VEXADB_IDLIST) << list << 5 << QByteArray("") << 0;
        QTest::newRow("IDLIST no items") << int(VEXADB_IDLIST) << listForm({}) << 64 << QByteArray("") << 1;
        QTest::newRow("IDLIST without its end") << int(VEXADB_IDLIST) << listForm({"a", "bc"}, false) << 64 << QByteArray("") << 0;
        QTest::newRow("IDLIST length past the value") << int(VEXADB_IDLIST)
            << bytesOf<int32_t>(100) + QByteArray("abcd") << 64 << QByteArray("") << 0;
        QTest::newRow("IDLIST negative length") << int(VEXADB_IDLIST)
            << bytesOf<int32_t>(-8) + QByteArray("abc", 4) + bytesOf<int32_t>(0) << 64 << QByteArray("") << 0;
        QTest::newRow("VOID") << int(VEXADB_VOID) << QByteArray("x", 2) << 64 << QByteArray("") << 0;
    }

    void valueToText()
    {
        QFETCH(int, type);
        QFETCH(QByteArray, value);
        QFETCH(int, size);
        QFETCH(QByteArray, text);
        QFETCH(int, result);
        GuardedBuffer out;
        strcpy(out.bytes, "previous");
        const ValueAtPageEnd cell(value);
        QCOMPARE(vexadb_val2str(type, out.bytes, size, cell.data, int(value.size())), result);
        QCOMPARE(QByteArray(out.bytes), text);
        QVERIFY(out.untouchedFrom(qMax(size, 9)));
    }

    void refusedArguments()
    {
        GuardedBuffer out;
        const int32_t value = 7;
        QCOMPARE(vexadb_str2val(VEXADB_STRING, nullptr, out.bytes, 64), 0);
        QCOMPARE(vexadb_str2val(VEXADB_BINARY, "ff", out.bytes, -1), 0);
        QCOMPARE(vexadb_val2str(VEXADB_INT, nullptr, 64, &value, 4), 0);
        QCOMPARE(vexadb_val2str(VEXADB_INT, out.bytes, -5, &value, 4), 0);
        QVERIFY(out.untouchedFrom(0));
        QCOMPARE(vexadb_val2str(VEXADB_BINARY, out.bytes, 64, &value, -1), 0);
        QCOMPARE(vexadb_val2str(VEXADB_STRING, out.bytes, 64, nullptr, 0), 0);
        QCOMPARE(out.bytes[0], '\0');
        QVERIFY(out.untouchedFrom(1));
    }
};

QTEST_APPLESS_MAIN(TestVexaDbTypes)
#include "tst_vexadbtypes.moc"
