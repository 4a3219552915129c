#include "dbval.h"

#include <QTest>

#include <arpa/inet.h>

#include <memory>
#include <type_traits>

static_assert(std::has_virtual_destructor_v<DBVal>,
              "rows delete their values through DBVal pointers");

namespace {

using Make = std::unique_ptr<DBVal> (*)();
template<typename T> std::unique_ptr<DBVal> make() { return std::make_unique<T>(); }

QByteArray bytesOf(const void *data, int size) { return QByteArray(static_cast<const char *>(data), size); }

// A value of the kind, then: "null" leaves it fresh, "stale:T" sets T and marks it null as a
// row restoring a copy does, anything else is set.
std::unique_ptr<DBVal> prepared(Make make, const QString &state)
{
    std::unique_ptr<DBVal> value = make();
    if (state.startsWith(QLatin1String("stale:"))) {
        value->set(state.mid(6));
        value->null = true;
    } else if (state != QLatin1String("null")) {
        value->set(state);
    }
    return value;
}

} // namespace

Q_DECLARE_METATYPE(Make)

class TestDBVal : public QObject
{
    Q_OBJECT

private slots:
    void textFormsAndNullRules_data()
    {
        QTest::addColumn<Make>("make");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("emptyIsNull");
        QTest::newRow("DBStr keeps any text") << &make<DBStr> << QStringLiteral("Grüße, Ünïcode") << QStringLiteral("Grüße, Ünïcode") << false;
        QTest::newRow("DBInt unsigned form") << &make<DBInt> << QStringLiteral("4294967295") << QStringLiteral("-1") << true;
        QTest::newRow("DBInt64 -1") << &make<DBInt64> << QStringLiteral("-1") << QStringLiteral("18446744073709551615") << true;
        QTest::newRow("DBIpAddr") << &make<DBIpAddr> << QStringLiteral("10.0.0.1") << QStringLiteral("10.0.0.1") << true;
        QTest::newRow("DBIpAddr not an address") << &make<DBIpAddr> << QStringLiteral("bad") << QStringLiteral("255.255.255.255") << true;
        QTest::newRow("DBPort a port") << &make<DBPort> << QStringLiteral("8080") << QStringLiteral("8080") << true;
        QTest::newRow("DBPort beyond 16 bits, as typed") << &make<DBPort> << QStringLiteral("70000") << QStringLiteral("70000") << true;
        QTest::newRow("DBBinary as it is") << &make<DBBinary> << QStringLiteral("ff00XY") << QStringLiteral("ff00XY") << false;
        QTest::newRow("DBIDList") << &make<DBIDList> << QStringLiteral("a,,bc") << QStringLiteral("a,,bc") << true;
    }

    void textFormsAndNullRules()
    {
        QFETCH(Make, make);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(bool, emptyIsNull);
        const std::unique_ptr<DBVal> value = make();
        QVERIFY(value->isNull());
        QCOMPARE(value->text(), QString());
        value->set(text);
        QVERIFY(!value->isNull());
        QCOMPARE(value->text(), shown);
        // Rows copy their cells through the text forms: a copy reads the same.
        const std::unique_ptr<DBVal> copy = make();
        copy->set(value->text());
        QCOMPARE(copy->text(), shown);
        for (const QString &empty : {QString(), QStringLiteral("")}) {
            value->set(empty);
            QCOMPARE(value->isNull(), emptyIsNull);
            QCOMPARE(value->text(), QString(""));
        }
    }

    // Rows are copied and compared without the text forms where both values are of one
    // kind; the outcome must be what the texts say.
    void copyAndCompareFollowTheTexts_data()
    {
        QTest::addColumn<Make>("makeTarget");
        QTest::addColumn<QString>("target");
        QTest::addColumn<Make>("makeSource");
        QTest::addColumn<QString>("source");
        const Make str = &make<DBStr>, integer = &make<DBInt>, big = &make<DBInt64>,
                   address = &make<DBIpAddr>, port = &make<DBPort>, binary = &make<DBBinary>,
                   list = &make<DBIDList>;
        QTest::newRow("INT equal") << integer << "5" << integer << "5";
        QTest::newRow("INT unequal") << integer << "5" << integer << "6";
        QTest::newRow("INT null and 0") << integer << "null" << integer << "0";
        QTest::newRow("INT stale and null") << integer << "stale:7" << integer << "null";
        QTest::newRow("INT stale and its number") << integer << "stale:7" << integer << "7";
        QTest::newRow("INT unsigned form") << integer << "-1" << integer << "4294967295";
        QTest::newRow("INT64 -1 both ways") << big << "-1" << big << "18446744073709551615";
        QTest::newRow("INT64 unequal") << big << "1099511627776" << big << "1099511627777";
        QTest::newRow("INT64 null and stale") << big << "null" << big << "stale:3";
        QTest::newRow("IPADDR equal") << address << "10.0.0.1" << address << "10.0.0.1";
        QTest::newRow("IPADDR not an address") << address << "bad" << address << "255.255.255.255";
        QTest::newRow("IPADDR null and 0.0.0.0") << address << "null" << address << "0.0.0.0";
        QTest::newRow("PORT beyond 16 bits and its low 16 bits") << port << "70000" << port << "4464";
        QTest::newRow("PORT beyond 16 bits, equal") << port << "70000" << port << "70000";
        QTest::newRow("PORT unequal") << port << "25" << port << "26";
        QTest::newRow("PORT null and 0") << port << "null" << port << "0";
        QTest::newRow("STRING empty and null") << str << "" << str << "null";
        QTest::newRow("STRING stale reads its text") << str << "stale:abc" << str << "abc";
        QTest::newRow("STRING case") << str << "abc" << str << "ABC";
        QTest::newRow("BINARY equal") << binary << "ff00" << binary << "ff00";
        QTest::newRow("BINARY empty and null") << binary << "" << binary << "null";
        QTest::newRow("IDLIST equal") << list << "a,b" << list << "a,b";
        QTest::newRow("IDLIST unequal") << list << "a,b" << list << "a,c";
        QTest::newRow("IDLIST nothing fits and null") << list << QString(5000, QLatin1Char('x')) << list << "null";
        QTest::newRow("IDLIST stale and null") << list << "stale:a" << list << "null";
        QTest::newRow("STRING and INT alike") << str << "5" << integer << "5";
        QTest::newRow("INT and STRING") << integer << "0" << str << "0x";
        QTest::newRow("INT64 and INT") << big << "-1" << integer << "-1";
        QTest::newRow("PORT and STRING") << port << "25" << str << "25";
    }

    void copyAndCompareFollowTheTexts()
    {
        QFETCH(Make, makeTarget);
        QFETCH(QString, target);
        QFETCH(Make, makeSource);
        QFETCH(QString, source);
        const std::unique_ptr<DBVal> left = prepared(makeTarget, target);
        const std::unique_ptr<DBVal> right = prepared(makeSource, source);
        const bool textsEqual = left->text() == right->text();
        QCOMPARE(left->sameText(*right), textsEqual);
        QCOMPARE(right->sameText(*left), textsEqual);

        const std::unique_ptr<DBVal> byText = prepared(makeTarget, target);
        byText->set(right->text());
        left->setTextOf(*right);
        QCOMPARE(left->isNull(), byText->isNull());
        QCOMPARE(left->text(), byText->text());
        QVERIFY(left->sameText(*byText));
    }

    void storedBytes()
    {
        DBPort port;
        port.set(QStringLiteral("8080"));
        const uint16_t portValue = port.port();
        QCOMPARE(bytesOf(&portValue, 2), QByteArray::fromHex("1f90"));
        DBIpAddr address;
        address.set(QStringLiteral("10.0.0.1"));
        const unsigned int addressValue = address.address();
        QCOMPARE(bytesOf(&addressValue, 4), QByteArray::fromHex("0a000001"));
        DBInt64 big;
        big.set(QStringLiteral("-1"));
        QCOMPARE(big.value(), -1LL);
        DBIDList list;
        list.set(QStringLiteral("a,b"));
        const int32_t length = 2;
        const QByteArray form = bytesOf(&length, 4) + QByteArray("a", 2) + bytesOf(&length, 4)
                                + QByteArray("b", 2) + QByteArray(4, '\0');
        QCOMPARE(list.listForm(), form);
        // An empty text marks the list null and leaves its stored form as it was.
        list.set(QString());
        QVERIFY(list.isNull());
        QCOMPARE(list.listForm(), form);
    }

    void constructors()
    {
        const std::unique_ptr<DBVal> values[] = {
            std::make_unique<DBInt>(7), std::make_unique<DBInt64>(-2),
            std::make_unique<DBIpAddr>(inet_addr("192.168.1.20")), std::make_unique<DBPort>(htons(25)),
            std::make_unique<DBBinary>("0a0b"), std::make_unique<DBIDList>("x,y")};
        QStringList texts;
        for (const auto &value : values) {
            QVERIFY(!value->isNull());
            texts << value->text();
        }
        QCOMPARE(texts, QStringList({"7", "18446744073709551614", "192.168.1.20", "25", "0a0b", "x,y"}));
        QVERIFY(DBIDList("").isNull());
    }

    void idListOverflowKeepsWholeItems()
    {
        // Items of 13 bytes of list form each: 314 and the closing 4 bytes fit 4096.
        QStringList items;
        for (int i = 0; i < 500; ++i)
            items << QStringLiteral("item%1").arg(i, 4, 10, QLatin1Char('0'));
        DBIDList list;
        list.set(items.join(QLatin1Char(',')));
        QVERIFY(!list.isNull());
        QCOMPARE(list.text(), QStringList(items.mid(0, 314)).join(QLatin1Char(',')));
        // Cut to 4095 characters, one item needs 4104 bytes: nothing fits.
        list.set(QString(5000, QLatin1Char('x')));
        QVERIFY(!list.isNull());
        QCOMPARE(list.text(), QString(""));
    }
};

QTEST_APPLESS_MAIN(TestDBVal)
#include "tst_dbval.moc"
