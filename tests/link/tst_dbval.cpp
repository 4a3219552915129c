#include "dbval.h"

#include <QTest>

#include <arpa/inet.h>

#include <memory>
#include <type_traits>

static_assert(std::has_virtual_destructor_v<DBVal>,
              "rows delete their values through DBVal pointers");

namespace {

enum Kind { Str, Int, Int64, IpAddr, Port, Binary, IDList };

std::unique_ptr<DBVal> make(Kind kind)
{
    switch (kind) {
    case Str: return std::make_unique<DBStr>();
    case Int: return std::make_unique<DBInt>();
    case Int64: return std::make_unique<DBInt64>();
    case IpAddr: return std::make_unique<DBIpAddr>();
    case Port: return std::make_unique<DBPort>();
    case Binary: return std::make_unique<DBBinary>();
    case IDList: return std::make_unique<DBIDList>();
    }
    return nullptr;
}

QByteArray bytesOf(const void *data, int size)
{
    return QByteArray(static_cast<const char *>(data), size);
}

void addKindRows(const char *column)
{
    QTest::addColumn<int>(column);
    QTest::addColumn<bool>("emptyIsNull");
    QTest::newRow("DBStr") << int(Str) << false;
    QTest::newRow("DBInt") << int(Int) << true;
    QTest::newRow("DBInt64") << int(Int64) << true;
    QTest::newRow("DBIpAddr") << int(IpAddr) << true;
    QTest::newRow("DBPort") << int(Port) << true;
    QTest::newRow("DBBinary") << int(Binary) << false;
    QTest::newRow("DBIDList") << int(IDList) << true;
}

} // namespace

class TestDBVal : public QObject
{
    Q_OBJECT

private slots:
    void newValueIsNull_data();
    void newValueIsNull();
    void emptyText_data();
    void emptyText();
    void textForms_data();
    void textForms();
    void storedBytes();
    void constructors();
    void idListOverflowKeepsWholeItems();
    void idListTooLongForOneItem();
};

void TestDBVal::newValueIsNull_data()
{
    addKindRows("kind");
}

void TestDBVal::newValueIsNull()
{
    QFETCH(int, kind);
    const std::unique_ptr<DBVal> value = make(Kind(kind));
    QVERIFY(value->null);
    QVERIFY(value->isNull());
    QCOMPARE(value->text(), QString());
}

void TestDBVal::emptyText_data()
{
    addKindRows("kind");
}

void TestDBVal::emptyText()
{
    QFETCH(int, kind);
    QFETCH(bool, emptyIsNull);
    const std::unique_ptr<DBVal> value = make(Kind(kind));
    value->set(QStringLiteral("1"));
    QVERIFY(!value->isNull());
    value->set(QString());
    QCOMPARE(value->isNull(), emptyIsNull);
    QCOMPARE(value->text(), QString(""));
    value->set(QStringLiteral(""));
    QCOMPARE(value->isNull(), emptyIsNull);
    QCOMPARE(value->text(), QString(""));
}

void TestDBVal::textForms_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("DBStr keeps any text") << int(Str) << QStringLiteral("Grüße, Ünïcode") << QStringLiteral("Grüße, Ünïcode");
    QTest::newRow("DBInt negative") << int(Int) << QStringLiteral("-5") << QStringLiteral("-5");
    QTest::newRow("DBInt unsigned form") << int(Int) << QStringLiteral("4294967295") << QStringLiteral("-1");
    QTest::newRow("DBInt as far as digits") << int(Int) << QStringLiteral(" 12abc") << QStringLiteral("12");
    QTest::newRow("DBInt no digits") << int(Int) << QStringLiteral("abc") << QStringLiteral("0");
    QTest::newRow("DBInt64 -1") << int(Int64) << QStringLiteral("-1") << QStringLiteral("18446744073709551615");
    QTest::newRow("DBInt64 quota") << int(Int64) << QStringLiteral("5368709120") << QStringLiteral("5368709120");
    QTest::newRow("DBIpAddr") << int(IpAddr) << QStringLiteral("10.0.0.1") << QStringLiteral("10.0.0.1");
    QTest::newRow("DBIpAddr not an address") << int(IpAddr) << QStringLiteral("bad") << QStringLiteral("255.255.255.255");
    QTest::newRow("DBPort") << int(Port) << QStringLiteral("8080") << QStringLiteral("8080");
    QTest::newRow("DBPort low 16 bits") << int(Port) << QStringLiteral("70000") << QStringLiteral("4464");
    QTest::newRow("DBPort negative") << int(Port) << QStringLiteral("-1") << QStringLiteral("65535");
    QTest::newRow("DBBinary as it is") << int(Binary) << QStringLiteral("ff00XY") << QStringLiteral("ff00XY");
    QTest::newRow("DBIDList") << int(IDList) << QStringLiteral("a,,bc") << QStringLiteral("a,,bc");
    QTest::newRow("DBIDList one item") << int(IDList) << QStringLiteral("admin") << QStringLiteral("admin");
}

void TestDBVal::textForms()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(QString, shown);

    const std::unique_ptr<DBVal> value = make(Kind(kind));
    value->set(text);
    QVERIFY(!value->isNull());
    QCOMPARE(value->text(), shown);

    // Rows copy their cells through the text forms: a copy reads the same.
    const std::unique_ptr<DBVal> copy = make(Kind(kind));
    copy->set(value->text());
    QCOMPARE(copy->text(), shown);
}

void TestDBVal::storedBytes()
{
    DBPort port;
    port.set(QStringLiteral("8080"));
    const uint16_t portValue = port.port();
    QCOMPARE(bytesOf(&portValue, 2), QByteArray::fromHex("1f90"));

    DBIpAddr address;
    address.set(QStringLiteral("10.0.0.1"));
    const unsigned int addressValue = address.address();
    QCOMPARE(bytesOf(&addressValue, 4), QByteArray::fromHex("0a000001"));

    DBInt number;
    number.set(QStringLiteral("-7"));
    QCOMPARE(number.value(), -7);

    DBInt64 big;
    big.set(QStringLiteral("-1"));
    QCOMPARE(big.value(), -1LL);

    DBIDList list;
    list.set(QStringLiteral("a,b"));
    const int32_t lengths[2] = {2, 2};
    const QByteArray form = bytesOf(&lengths[0], 4) + QByteArray("a", 2) + bytesOf(&lengths[1], 4)
                            + QByteArray("b", 2) + QByteArray(4, '\0');
    QCOMPARE(list.listForm(), form);

    // An empty text marks the list null and leaves its stored form as it was.
    list.set(QString());
    QVERIFY(list.isNull());
    QCOMPARE(list.listForm(), form);
}

void TestDBVal::constructors()
{
    const DBInt number(7);
    QVERIFY(!number.isNull());
    QCOMPARE(number.text(), QStringLiteral("7"));

    const DBInt64 big(-2);
    QCOMPARE(big.text(), QStringLiteral("18446744073709551614"));

    const DBIpAddr address(inet_addr("192.168.1.20"));
    QCOMPARE(address.text(), QStringLiteral("192.168.1.20"));

    const DBPort port(htons(25));
    QVERIFY(!port.isNull());
    QCOMPARE(port.text(), QStringLiteral("25"));

    const DBBinary binary("0a0b");
    QVERIFY(!binary.isNull());
    QCOMPARE(binary.text(), QStringLiteral("0a0b"));

    const DBIDList list("x,y");
    QVERIFY(!list.isNull());
    QCOMPARE(list.text(), QStringLiteral("x,y"));

    const DBIDList empty("");
    QVERIFY(empty.isNull());
    QCOMPARE(empty.text(), QString());
}

void TestDBVal::idListOverflowKeepsWholeItems()
{
    // 500 items of 8 characters: each takes 4 + 8 + 1 = 13 bytes of list form,
    // so 314 of them and the closing 4 bytes fit 4096 (13 x 315 + 4 would not).
    QStringList items;
    for (int i = 0; i < 500; ++i)
        items << QStringLiteral("item%1").arg(i, 4, 10, QLatin1Char('0'));
    DBIDList list;
    list.set(items.join(QLatin1Char(',')));
    QVERIFY(!list.isNull());
    QCOMPARE(list.text(), QStringList(items.mid(0, 314)).join(QLatin1Char(',')));
}

void TestDBVal::idListTooLongForOneItem()
{
    // Cut to 4095 characters, one item needs 4104 bytes: nothing fits.
    DBIDList list;
    list.set(QString(5000, QLatin1Char('x')));
    QVERIFY(!list.isNull());
    QCOMPARE(list.text(), QString(""));
}

QTEST_APPLESS_MAIN(TestDBVal)
#include "tst_dbval.moc"
