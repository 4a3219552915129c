#include "units.h"

#include <QtTest>

// Stored sizes and times as the SMTP page shows them and writes them back.
class tst_Units : public QObject
{
    Q_OBJECT

private slots:
    void showsSizes_data();
    void showsSizes();
    void showsTimes_data();
    void showsTimes();
};

void tst_Units::showsSizes_data()
{
    QTest::addColumn<qint64>("stored");
    QTest::addColumn<qint64>("number");
    QTest::addColumn<QString>("unit");

    QTest::newRow("0 is 0 KB") << qint64(0) << qint64(0) << "KB";
    QTest::newRow("1 MB") << qint64(1048576) << qint64(1) << "MB";
    QTest::newRow("one and a half MB in KB") << qint64(1572864) << qint64(1536) << "KB";
    QTest::newRow("just under 1 MB") << qint64(1048575) << qint64(1023) << "KB";
    QTest::newRow("1500 bytes cut to 1 KB") << qint64(1500) << qint64(1) << "KB";
    QTest::newRow("under 1 KB") << qint64(1023) << qint64(0) << "KB";
    QTest::newRow("2047 MB") << qint64(2146435072) << qint64(2047) << "MB";
}

void tst_Units::showsSizes()
{
    QFETCH(qint64, stored);
    QFETCH(qint64, number);
    QFETCH(QString, unit);
    const QStringList units{"KB", "MB"};
    const Units::Shown shown = Units::show(stored, Units::sizeFactors());
    QCOMPARE(shown.number, number);
    QCOMPARE(units.value(shown.unit), unit);
}

void tst_Units::showsTimes_data()
{
    QTest::addColumn<qint64>("stored");
    QTest::addColumn<qint64>("number");
    QTest::addColumn<QString>("unit");

    QTest::newRow("a day") << qint64(86400) << qint64(1) << "days";
    QTest::newRow("25 hours") << qint64(90000) << qint64(25) << "hours";
    QTest::newRow("an hour") << qint64(3600) << qint64(1) << "hours";
    QTest::newRow("2 hours") << qint64(7200) << qint64(2) << "hours";
    QTest::newRow("0") << qint64(0) << qint64(0) << "minutes";
    QTest::newRow("59 seconds cut to 0 minutes") << qint64(59) << qint64(0) << "minutes";
    QTest::newRow("90 seconds cut to 1 minute") << qint64(90) << qint64(1) << "minutes";
    QTest::newRow("30 minutes") << qint64(1800) << qint64(30) << "minutes";
}

void tst_Units::showsTimes()
{
    QFETCH(qint64, stored);
    QFETCH(qint64, number);
    QFETCH(QString, unit);
    const QStringList units{"minutes", "hours", "days"};
    const Units::Shown shown = Units::show(stored, Units::timeFactors());
    QCOMPARE(shown.number, number);
    QCOMPARE(units.value(shown.unit), unit);
}

QTEST_GUILESS_MAIN(tst_Units)
#include "tst_units.moc"
