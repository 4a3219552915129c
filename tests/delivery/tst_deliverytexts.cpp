// How the delivery lists turn values into texts and sort keys.

#include "deliverytexts.h"

#include <QtTest>

#include <algorithm>

using namespace DeliveryTexts;

class TestDeliveryTexts : public QObject
{
    Q_OBJECT

private slots:
    void sizeKeysSortByValue_data();
    void sizeKeysSortByValue();
    void sizeKeyTexts_data();
    void sizeKeyTexts();
    void durations_data();
    void durations();
    void addressesSortAsNumbers_data();
    void addressesSortAsNumbers();
    void shortAddressFormsReadAsTheSystemDoes();
};

void TestDeliveryTexts::sizeKeysSortByValue_data()
{
    QTest::addColumn<QStringList>("sizes");
    QTest::addColumn<QStringList>("sorted");

    QTest::newRow("below a million") << QStringList{"1234", "999", "20"} << QStringList{"20", "999", "1234"};
    // Six digits of padding would put 1048576 before 184320.
    QTest::newRow("a million and more")
        << QStringList{"1048576", "184320", "2147483647", "5"} << QStringList{"5", "184320", "1048576", "2147483647"};
    QTest::newRow("empty and non-numeric as 0")
        << QStringList{"12", "", "n/a", "0"} << QStringList{"", "n/a", "0", "12"};
    QTest::newRow("negatives first, by value") << QStringList{"3", "-1", "-5"} << QStringList{"-5", "-1", "3"};
}

void TestDeliveryTexts::sizeKeysSortByValue()
{
    QFETCH(QStringList, sizes);
    QFETCH(QStringList, sorted);
    std::stable_sort(sizes.begin(), sizes.end(),
                     [](const QString& a, const QString& b) { return sizeKey(a) < sizeKey(b); });
    QCOMPARE(sizes, sorted);
    QCOMPARE(sizeKey(QStringLiteral("1234")), QStringLiteral("0000001234"));
}

void TestDeliveryTexts::sizeKeyTexts_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("key");

    QTest::newRow("padded to ten digits") << "1234" << "0000001234";
    QTest::newRow("empty") << "" << "0000000000";
    QTest::newRow("largest") << "2147483647" << "2147483647";
    QTest::newRow("beyond the largest") << "99999999999" << "2147483647";
    QTest::newRow("negative") << "-5" << "-2147483642";
    QTest::newRow("smallest") << "-2147483648" << "--000000001";
}

void TestDeliveryTexts::sizeKeyTexts()
{
    QFETCH(QString, size);
    QFETCH(QString, key);
    QCOMPARE(sizeKey(size), key);
}

void TestDeliveryTexts::durations_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("text");

    QTest::newRow("none") << 0 << "00:00:00";
    QTest::newRow("59 s") << 59 << "00:00:59";
    QTest::newRow("1 h 1 min 1 s") << 3661 << "01:01:01";
    QTest::newRow("25 h, not folded into days") << 25 * 3600 << "25:00:00";
    QTest::newRow("100 h, three digits") << 360000 << "100:00:00";
}

void TestDeliveryTexts::durations()
{
    QFETCH(int, seconds);
    QFETCH(QString, text);
    QCOMPARE(durationText(seconds), text);
}

void TestDeliveryTexts::addressesSortAsNumbers_data()
{
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<QStringList>("sorted");

    QTest::newRow("by value, not by text")
        << QStringList{"10.0.0.10", "10.0.0.2", "9.255.255.255"} << QStringList{"9.255.255.255", "10.0.0.2", "10.0.0.10"};
    // As the system reads them: all ones, so with the highest address, in the order they came.
    QTest::newRow("non-addresses with the highest address")
        << QStringList{"zeta", "255.255.255.255", "", "1.2.3.4", "alpha"}
        << QStringList{"1.2.3.4", "zeta", "255.255.255.255", "", "alpha"};
}

void TestDeliveryTexts::addressesSortAsNumbers()
{
    QFETCH(QStringList, addresses);
    QFETCH(QStringList, sorted);
    std::stable_sort(addresses.begin(), addresses.end(),
                     [](const QString& a, const QString& b) { return addressKey(a) < addressKey(b); });
    QCOMPARE(addresses, sorted);
    QCOMPARE(addressKey(QStringLiteral("0.0.1.0")), QStringLiteral("000000000000000256"));
}

void TestDeliveryTexts::shortAddressFormsReadAsTheSystemDoes()
{
    // "10.1" is 10.0.0.1 to the system's reader.
    QCOMPARE(addressKey(QStringLiteral("10.1")), addressKey(QStringLiteral("10.0.0.1")));
    QVERIFY(addressKey(QStringLiteral("10.1")) < addressKey(QStringLiteral("10.0.0.2")));
}

QTEST_GUILESS_MAIN(TestDeliveryTexts)
#include "tst_deliverytexts.moc"
