#include "logstore_p.h"

#include <QtTest>

using namespace StandIn;

namespace {

enum Step { Append, Trim, Clean, Rotate };

QString extentText(const LogStore &logs, const QString &name)
{
    LogExtent extent;
    if (!logs.extent(name, &extent))
        return QStringLiteral("none");
    return QStringLiteral("%1 [%2,%3)").arg(extent.id).arg(extent.first).arg(extent.end);
}

} // namespace

class tst_LogStore : public QObject
{
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
    void syntheticLinesCostNothing();
    void syntheticLineDependsOnlyOnNumber();
    void idsStayWithTheirLog();
    void jsonRoundTrip();
    void jsonRefusesFirstOutsideTheLog();
};

void tst_LogStore::steps_data()
{
    // A log of lines a b c (0..2), then one step; the extent and every line
    // then inside it.
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("extent");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("append") << int(Append) << 2 << "0 [0,5)" << QStringList{"a", "b", "c", "new 0", "new 1"};
    QTest::newRow("trim one") << int(Trim) << 1 << "0 [1,3)" << QStringList{"b", "c"};
    QTest::newRow("trim more than there is") << int(Trim) << 9 << "0 [3,3)" << QStringList();
    QTest::newRow("trim nothing") << int(Trim) << 0 << "0 [0,3)" << QStringList{"a", "b", "c"};
    QTest::newRow("clean keeps the numbering") << int(Clean) << 0 << "0 [3,3)" << QStringList();
    QTest::newRow("rotate restarts it") << int(Rotate) << 0 << "0 [0,0)" << QStringList();
}

void tst_LogStore::steps()
{
    QFETCH(int, step);
    QFETCH(int, count);
    QFETCH(QString, extent);
    QFETCH(QStringList, lines);

    LogStore logs;
    logs.add("smtp", {"a", "b", "c"}, 0);
    switch (Step(step)) {
    case Append: {
        QStringList added;
        for (int i = 0; i < count; ++i)
            added.append(QStringLiteral("new %1").arg(i));
        QVERIFY(logs.append("SMTP", added));
        break;
    }
    case Trim: QVERIFY(logs.trim("smtp", quint32(count))); break;
    case Clean: QVERIFY(logs.clean("smtp")); break;
    case Rotate: QVERIFY(logs.rotate("smtp")); break;
    }
    QCOMPARE(extentText(logs, "smtp"), extent);
    QCOMPARE(logs.lines("smtp", 0, 100), lines);

    // and the log goes on growing from where it stands
    QVERIFY(logs.append("smtp", {"after"}));
    QCOMPARE(logs.lines("smtp", 0, 100), lines + QStringList{"after"});
}

void tst_LogStore::syntheticLinesCostNothing()
{
    LogStore logs;
    logs.addSynthetic("huge", 100000000);
    QCOMPARE(extentText(logs, "huge"), QStringLiteral("0 [0,100000000)"));
    QCOMPARE(logs.lines("huge", 50000000, 2),
             (QStringList{LogStore::syntheticLine("huge", 50000000), LogStore::syntheticLine("huge", 50000001)}));

    // stored lines continue the computed ones; trimming drops computed ones first
    QVERIFY(logs.append("huge", {"real line"}));
    QCOMPARE(logs.lines("huge", 99999999, 5),
             (QStringList{LogStore::syntheticLine("huge", 99999999), "real line"}));
    QVERIFY(logs.trim("huge", 99999999));
    QCOMPARE(extentText(logs, "huge"), QStringLiteral("0 [99999999,100000001)"));
    QCOMPARE(logs.lines("huge", 0, 100000001).size(), 2);
    QVERIFY(logs.trim("huge", 1));
    QCOMPARE(logs.lines("huge", 0, 200000000), QStringList{"real line"});
}

void tst_LogStore::syntheticLineDependsOnlyOnNumber()
{
    QCOMPARE(LogStore::syntheticLine("x", 0), QStringLiteral("2024-03-01 08:00:00 x: synthetic line 0"));
    QCOMPARE(LogStore::syntheticLine("x", 3661), QStringLiteral("2024-03-01 09:01:01 x: synthetic line 3661"));
    QCOMPARE(LogStore::syntheticLine("x", 7), LogStore::syntheticLine("x", 7));
}

void tst_LogStore::idsStayWithTheirLog()
{
    LogStore logs;
    logs.add("smtp", {}, 0);
    logs.add("pop3", {}, 0);
    logs.add("imap", {}, 0);
    QVERIFY(logs.remove("pop3"));
    logs.add("smtp", {"again"}, 10); // replacing a log keeps its id
    logs.add("admin", {}, 0);
    QCOMPARE(extentText(logs, "smtp"), QStringLiteral("0 [10,11)"));
    QCOMPARE(extentText(logs, "imap"), QStringLiteral("2 [0,0)"));
    QCOMPARE(extentText(logs, "admin"), QStringLiteral("3 [0,0)"));
    QCOMPARE(extentText(logs, "pop3"), QStringLiteral("none"));
    QCOMPARE(logs.names(), (QStringList{"smtp", "imap", "admin"}));
}

void tst_LogStore::jsonRoundTrip()
{
    LogStore logs;
    logs.add("smtp", {"a", "b", "c"}, 5);
    QVERIFY(logs.trim("smtp", 1));
    logs.addSynthetic("big", 1000);
    QVERIFY(logs.append("big", {"stored"}));
    QVERIFY(logs.trim("big", 10));

    LogStore loaded;
    QString error;
    QVERIFY2(LogStore::fromJson(logs.toJson(), &loaded, &error), qPrintable(error));
    QCOMPARE(extentText(loaded, "smtp"), QStringLiteral("0 [6,8)"));
    QCOMPARE(loaded.lines("smtp", 0, 10), (QStringList{"b", "c"}));
    QCOMPARE(extentText(loaded, "big"), QStringLiteral("1 [10,1001)"));
    QCOMPARE(loaded.lines("big", 999, 5), (QStringList{LogStore::syntheticLine("big", 999), "stored"}));
}

void tst_LogStore::jsonRefusesFirstOutsideTheLog()
{
    const QJsonArray json{QJsonObject{{"name", "smtp"}, {"first", 5}, {"synthetic", 0}, {"lines", QJsonArray{"a"}}}};
    LogStore loaded;
    QString error;
    QVERIFY(!LogStore::fromJson(json, &loaded, &error));
    QVERIFY(error.contains("smtp"));
}

QTEST_APPLESS_MAIN(tst_LogStore)
#include "tst_logstore.moc"
