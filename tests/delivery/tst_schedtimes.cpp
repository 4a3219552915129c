// How scheduled times and actions read as text, and how a typed time of day is read.

#include "schedtimes.h"

#include <QtTest>

class TestSchedTimes : public QObject
{
    Q_OBJECT

private slots:
    void timesOfDay_data();
    void timesOfDay();
    void intervals_data();
    void intervals();
    void typedTimesOfDay_data();
    void typedTimesOfDay();
    void timeCells_data();
    void timeCells();
    void actionCells_data();
    void actionCells();
};

void TestSchedTimes::timesOfDay_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("text");

    QTest::newRow("midnight") << 0 << "00:00";
    QTest::newRow("morning") << 425 << "07:05";
    QTest::newRow("half past one") << 90 << "01:30";
    QTest::newRow("last minute") << 1439 << "23:59";
}

void TestSchedTimes::timesOfDay()
{
    QFETCH(int, minutes);
    QFETCH(QString, text);
    QCOMPARE(getTime2Show(minutes), text);
}

void TestSchedTimes::intervals_data()
{
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("text");

    QTest::newRow("one hour") << 60 << "1 hour";
    QTest::newRow("two hours") << 120 << "2 hours";
    QTest::newRow("not whole hours") << 90 << "90 minutes";
    QTest::newRow("one minute") << 1 << "1 minute";
    QTest::newRow("zero") << 0 << "0 minutes";
    QTest::newRow("negative hours stay minutes") << -60 << "-60 minutes";
}

void TestSchedTimes::intervals()
{
    QFETCH(int, minutes);
    QFETCH(QString, text);
    QCOMPARE(getMinutes2Show(minutes), text);
}

void TestSchedTimes::typedTimesOfDay_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("minutes");

    QTest::newRow("H:MM") << "7:05" << true << 425;
    QTest::newRow("HH:MM") << "07:05" << true << 425;
    QTest::newRow("afternoon") << "12:34" << true << 754;
    QTest::newRow("midnight") << "0:00" << true << 0;
    QTest::newRow("last minute") << "23:59" << true << 1439;
    QTest::newRow("hour 24") << "24:00" << false << 0;
    QTest::newRow("minute 60") << "7:60" << false << 0;
    QTest::newRow("hours and minutes out of range") << "99:99" << false << 0;
    QTest::newRow("no colon") << "1234" << false << 0;
    QTest::newRow("one minute digit") << "7:5" << false << 0;
    QTest::newRow("letters") << "ab:cd" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("three hour digits") << "007:05" << false << 0;
    QTest::newRow("blank inside") << "7: 5" << false << 0;
    QTest::newRow("sign") << "-1:05" << false << 0;
}

void TestSchedTimes::typedTimesOfDay()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(int, minutes);
    QCOMPARE(isTimeFormatOK(text), accepted);
    QCOMPARE(getTime2Store(text), minutes);
}

void TestSchedTimes::timeCells_data()
{
    QTest::addColumn<QString>("timetype");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("timeint");
    QTest::addColumn<QString>("text");

    QTest::newRow("every hours in a range") << "0" << "120" << "Night"
                                            << "Every 2 hours (Valid only at time range \"Night\")";
    QTest::newRow("every minutes") << "0" << "90" << "" << "Every 90 minutes";
    QTest::newRow("at") << "1" << "425" << "" << "At 07:05";
    QTest::newRow("unknown type, no range") << "2" << "60" << "" << "";
    QTest::newRow("unknown type in a range") << "7" << "60" << "Day"
                                             << " (Valid only at time range \"Day\")";
    QTest::newRow("null values") << "" << "" << "" << "Every 0 minutes";
}

void TestSchedTimes::timeCells()
{
    QFETCH(QString, timetype);
    QFETCH(QString, time);
    QFETCH(QString, timeint);
    QFETCH(QString, text);
    QCOMPARE(scheduledTimeText(timetype, time, timeint), text);
}

void TestSchedTimes::actionCells_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("text");

    QTest::newRow("send and ETRN") << "5" << "Send mail, ETRN Download";
    QTest::newRow("all three") << "7" << "Send mail, Download POP3, ETRN Download";
    QTest::newRow("POP3 alone") << "2" << "Download POP3";
    QTest::newRow("unknown bit alone") << "8" << "";
    QTest::newRow("unknown bit ignored") << "10" << "Download POP3";
    QTest::newRow("none") << "0" << "";
    QTest::newRow("not a number") << "x" << "";
}

void TestSchedTimes::actionCells()
{
    QFETCH(QString, action);
    QFETCH(QString, text);
    QCOMPARE(scheduledActionText(action), text);
}

QTEST_GUILESS_MAIN(TestSchedTimes)
#include "tst_schedtimes.moc"
