#include "logstore_p.h"

#include <QtTest>

using namespace StandIn;

namespace {

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
    void syntheticLinesCostNothing();
    void idsStayWithTheirLog();
};

void tst_LogStore::syntheticLinesCostNothing()
{
    LogStore logs;
    logs.addSynthetic("huge", 100000000);
    QCOMPARE(extentText(logs, "huge"), QStringLiteral("0 [0,100000000)"));
    QCOMPARE(logs.lines("huge", 3661, 1), QStringList{"2024-03-01 09:01:01 huge: synthetic line 3661"});

    // stored lines continue the computed ones; trimming drops computed ones first
    QVERIFY(logs.append("huge", {"real line"}));
    QCOMPARE(logs.lines("huge", 99999999, 5), (QStringList{LogStore::syntheticLine("huge", 99999999), "real line"}));
    QVERIFY(logs.trim("huge", 99999999));
    QCOMPARE(extentText(logs, "huge"), QStringLiteral("0 [99999999,100000001)"));
    QCOMPARE(logs.lines("huge", 0, 100000001).size(), 2);
    QVERIFY(logs.trim("huge", 1));
    QCOMPARE(logs.lines("huge", 0, 200000000), QStringList{"real line"});
}

// The id travels in every update record: a log keeps it, others never take it over.
void tst_LogStore::idsStayWithTheirLog()
{
    LogStore logs;
    for (const char *name : {"smtp", "pop3", "imap"})
        logs.add(name, {}, 0);
    QVERIFY(logs.remove("pop3"));
    logs.add("smtp", {"again"}, 10); // replacing a log keeps its id
    logs.add("admin", {}, 0);
    QCOMPARE(extentText(logs, "smtp"), QStringLiteral("0 [10,11)"));
    QCOMPARE(extentText(logs, "imap"), QStringLiteral("2 [0,0)"));
    QCOMPARE(extentText(logs, "admin"), QStringLiteral("3 [0,0)"));
    QCOMPARE(extentText(logs, "pop3"), QStringLiteral("none"));
    QCOMPARE(logs.names(), (QStringList{"smtp", "imap", "admin"}));
}

QTEST_APPLESS_MAIN(tst_LogStore)
#include "tst_logstore.moc"
