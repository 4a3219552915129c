#include "logfixture.h"
#include "logpager.h"
#include "vexadbblocks.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

namespace {

using Loads = QList<QPair<qint64, qint64>>;

QByteArray be32(quint32 value)
{
    return vexablocks::be32(value);
}

// A datagram body with one record of the log: its id, length 8, first and end line.
QByteArray notice(int id, quint32 first, quint32 end)
{
    return QByteArray(1, char(id)) + char(8) + be32(first) + be32(end);
}

QString traceLine(int id, quint32 first, quint32 end)
{
    return QStringLiteral("update packet for log id=%1, offset=%2, count=%3 (total=%4)")
        .arg(id).arg(first).arg(end).arg(end - first);
}

QStringList updateTrace(const LogFixture& fixture)
{
    return fixture.traceLines().filter(QStringLiteral("update packet"));
}

// An answer of one text cell, as the server would send it.
QByteArray oneTextAnswer(const QByteArray& text)
{
    vexablocks::BlockParts parts;
    parts.columns = 1;
    parts.rows = 1;
    parts.descriptors = vexablocks::descriptor(1, "result");
    parts.cells = vexablocks::cell(vexablocks::text(text));
    return vexablocks::answer(vexablocks::block(parts));
}

} // namespace

class tst_LogPager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void statements_data();
    void statements();
    void opening_data();
    void opening();
    void paging_data();
    void paging();
    void cacheStaysBoundedWhilePaging();
    void lines_data();
    void lines();
    void longLinesArriveWhole_data();
    void longLinesArriveWhole();
    void notices_data();
    void notices();
    void foreignOrTruncatedNoticesChangeNothing_data();
    void foreignOrTruncatedNoticesChangeNothing();
    void noticeBeforeTheListAnswerChangesNothing();
    void logIdAbove127IsMatched();
    void serverChangesArriveThroughTheUpdateChannel_data();
    void serverChangesArriveThroughTheUpdateChannel();
    void noticeDuringALoadDiscardsItsRows();
    void loadWithoutRowsBacksOff_data();
    void loadWithoutRowsBacksOff();
    void backOffEndsWhenTheExtentChanges();
    void shortAnswersStillMakeProgress_data();
    void shortAnswersStillMakeProgress();
    void clear_data();
    void clear();
    void deletedBeforeTheListAnswer();
    void moreRowsThanAskedStayInsideTheLog();
    void connectionGoneBacksOff();

private:
    std::unique_ptr<LogPager> openPager(const QString& name, DBConn* conn = nullptr);
    static bool load(LogPager& pager, qint64 first, qint64 last);

    LogFixture m_fix;
};

std::unique_ptr<LogPager> tst_LogPager::openPager(const QString& name, DBConn* conn)
{
    auto pager = std::make_unique<LogPager>(conn ? conn : m_fix.connection(), name);
    QSignalSpy opened(pager.get(), &LogPager::opened);
    pager->open();
    if (!opened.wait(5000))
        return nullptr;
    return pager;
}

bool tst_LogPager::load(LogPager& pager, qint64 first, qint64 last)
{
    QSignalSpy finished(&pager, &LogPager::loadFinished);
    pager.load(first, last);
    return !finished.isEmpty() || finished.wait(5000);
}

void tst_LogPager::initTestCase()
{
    QVERIFY(m_fix.start());
    m_fix.server->addLog(QStringLiteral("offset"), shortLines(0, ShortLines), 1000);
    m_fix.server->addLog(QStringLiteral("empty"), {});
    m_fix.server->addLog(QStringLiteral("special"),
                         {QString(5000, u'w') + QStringLiteral("end"), QString(), QStringLiteral("plain"),
                          QStringLiteral("\u0161"), QStringLiteral("\u020a")});
}

void tst_LogPager::init()
{
    m_fix.server->clearControls();
    m_fix.server->addLog(QStringLiteral("short"), shortLines(0, ShortLines));
    if (m_fix.connection()->m_lost || m_fix.connection()->m_state != DBConn::Connected)
        QVERIFY(m_fix.connect());
    m_fix.mark();
}

void tst_LogPager::statements_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("data");
    QTest::addColumn<QString>("ctrl");

    QTest::newRow("plain") << "smtp" << "select LogList(\"smtp\")" << "select LogData(\"smtp\", 4000000000, 135)"
                           << "select LogCtrl(\"clean\", \"smtp\")";
    QTest::newRow("quote and backslash escaped") << "a\"b\\c" << "select LogList(\"a\\\"b\\\\c\")"
                                                  << "select LogData(\"a\\\"b\\\\c\", 4000000000, 135)"
                                                  << "select LogCtrl(\"clean\", \"a\\\"b\\\\c\")";
    QTest::newRow("percent signs stay") << "%2 %3" << "select LogList(\"%2 %3\")"
                                        << "select LogData(\"%2 %3\", 4000000000, 135)"
                                        << "select LogCtrl(\"clean\", \"%2 %3\")";
}

void tst_LogPager::statements()
{
    QFETCH(QString, name);
    QFETCH(QString, list);
    QFETCH(QString, data);
    QFETCH(QString, ctrl);
    QCOMPARE(LogPager::logListStatement(name), list);
    QCOMPARE(LogPager::logDataStatement(name, 4000000000u, 135), data);
    QCOMPARE(LogPager::logCtrlStatement(QStringLiteral("clean"), name), ctrl);
}

void tst_LogPager::opening_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<quint32>("base");
    QTest::addColumn<quint32>("count");

    QTest::newRow("short log") << "short" << true << 0u << quint32(ShortLines);
    QTest::newRow("first line moved") << "offset" << true << 1000u << quint32(ShortLines);
    QTest::newRow("a million lines") << "big" << true << 0u << BigLines;
    QTest::newRow("empty log") << "empty" << true << 0u << 0u;
    QTest::newRow("name in another case") << "SHORT" << true << 0u << quint32(ShortLines);
    QTest::newRow("no such log") << "nosuchlog" << false << 0u << 0u;
}

void tst_LogPager::opening()
{
    QFETCH(QString, name);
    QFETCH(bool, opens);
    QFETCH(quint32, base);
    QFETCH(quint32, count);

    LogPager pager(m_fix.connection(), name);
    QSignalSpy opened(&pager, &LogPager::opened);
    pager.open();
    QTRY_VERIFY(!m_fix.statements().isEmpty());
    QTest::qWait(100);
    QCOMPARE(m_fix.statements(), QStringList{LogPager::logListStatement(name)});
    QCOMPARE(opened.size(), opens ? 1 : 0);
    QCOMPARE(pager.isOpen(), opens);
    QCOMPARE(pager.logId(), opens ? m_fix.logId(name) : -1);
    QCOMPARE(pager.base(), base);
    QCOMPARE(pager.count(), count);
    QCOMPARE(pager.cachedCount(), 0);
}

void tst_LogPager::paging_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Loads>("before");
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("last");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<qint64>("cacheFirst");
    QTest::addColumn<qint64>("cacheEnd");
    QTest::addColumn<Loads>("arrived"); // the spans rowsArrived() reported

    const Loads atEnd{{999970, 1000000}};
    QTest::newRow("opening at the end: a screen and the margin")
        << "big" << Loads{} << qint64(999970) << qint64(1000000)
        << QStringList{"select LogData(\"big\", 999920, 80)"} << qint64(999920) << qint64(1000000)
        << Loads{{999920, 1000000}};
    QTest::newRow("inside the cache nothing is sent")
        << "big" << atEnd << qint64(999930) << qint64(999960) << QStringList{} << qint64(999920)
        << qint64(1000000) << Loads{};
    QTest::newRow("above the cache: a block ending at the old first line")
        << "big" << atEnd << qint64(999900) << qint64(999930)
        << QStringList{"select LogData(\"big\", 999850, 70)"} << qint64(999850) << qint64(1000000)
        << Loads{{999850, 999920}};
    QTest::newRow("far above: the rows left below are trimmed")
        << "big" << Loads{{500000, 500030}, {499930, 499960}} << qint64(499860) << qint64(499890)
        << QStringList{"select LogData(\"big\", 499810, 70)"} << qint64(499810) << qint64(500040)
        << Loads{{499810, 499880}};
    QTest::newRow("a far jump replaces the cache")
        << "big" << atEnd << qint64(500000) << qint64(500030)
        << QStringList{"select LogData(\"big\", 499950, 135)"} << qint64(499950) << qint64(500085)
        << Loads{{499950, 500085}};
    QTest::newRow("below the cache: a block from the old end")
        << "big" << Loads{{500000, 500030}} << qint64(500060) << qint64(500100)
        << QStringList{"select LogData(\"big\", 500085, 70)"} << qint64(499950) << qint64(500155)
        << Loads{{500085, 500155}};
    QTest::newRow("far below: the rows left behind are trimmed")
        << "big" << Loads{{500000, 500030}, {500060, 500100}} << qint64(500120) << qint64(500160)
        << QStringList{"select LogData(\"big\", 500155, 60)"} << qint64(499970) << qint64(500215)
        << Loads{{500155, 500215}};
    QTest::newRow("the first lines")
        << "big" << Loads{} << qint64(0) << qint64(30) << QStringList{"select LogData(\"big\", 0, 85)"}
        << qint64(0) << qint64(85) << Loads{{0, 85}};
    QTest::newRow("server line numbers start at the log's first line")
        << "offset" << Loads{} << qint64(0) << qint64(10) << QStringList{"select LogData(\"offset\", 1000, 40)"}
        << qint64(0) << qint64(40) << Loads{{0, 40}};
    QTest::newRow("a log of no lines asks nothing")
        << "empty" << Loads{} << qint64(0) << qint64(30) << QStringList{} << qint64(0) << qint64(0) << Loads{};
}

void tst_LogPager::paging()
{
    QFETCH(QString, name);
    QFETCH(Loads, before);
    QFETCH(qint64, first);
    QFETCH(qint64, last);
    QFETCH(QStringList, sent);
    QFETCH(qint64, cacheFirst);
    QFETCH(qint64, cacheEnd);
    QFETCH(Loads, arrived);

    const std::unique_ptr<LogPager> pager = openPager(name);
    QVERIFY(pager);
    for (const auto& earlier : before)
        QVERIFY(load(*pager, earlier.first, earlier.second));
    m_fix.mark();

    QSignalSpy spans(pager.get(), &LogPager::rowsArrived);
    QVERIFY(load(*pager, first, last));
    QCOMPARE(m_fix.statements(), sent);
    Loads reported;
    for (const QList<QVariant>& span : std::as_const(spans))
        reported.append({span.at(0).toLongLong(), span.at(1).toLongLong()});
    QCOMPARE(reported, arrived);
    QCOMPARE(pager->first(), cacheFirst);
    QCOMPARE(pager->end(), cacheEnd);
    QCOMPARE(pager->cachedCount(), int(cacheEnd - cacheFirst));
    QVERIFY(!pager->isBackingOff());
    // Every cached row holds its own line.
    for (qint64 row = cacheFirst; row < cacheEnd; ++row) {
        const QString expected = name == QLatin1String("big")
                                     ? StandIn::TestServer::syntheticLine(name, quint64(row))
                                     : shortLines(int(row), 1).constFirst();
        QCOMPARE(pager->line(row), expected);
    }
}

void tst_LogPager::cacheStaysBoundedWhilePaging()
{
    const std::unique_ptr<LogPager> pager = openPager(QStringLiteral("big"));
    QVERIFY(pager);
    constexpr qint64 Visible = 500;
    constexpr qint64 Margins = 2 * 150;
    int largest = 0;
    for (qint64 top = 0; top < 100000; top += Visible) {
        QVERIFY(load(*pager, top, top + Visible));
        QVERIFY2(pager->covers(top, top + Visible), qPrintable(QString::number(top)));
        largest = std::max(largest, pager->cachedCount());
    }
    QVERIFY2(largest <= Visible + Margins, qPrintable(QString::number(largest)));
    QCOMPARE(pager->line(99999), StandIn::TestServer::syntheticLine(QStringLiteral("big"), 99999));
}

void tst_LogPager::lines_data()
{
    QTest::addColumn<QByteArray>("codec");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");

    QTest::newRow("a 5,000-byte line arrives whole") << QByteArray() << 0 << QString(5000, u'w') + "end";
    QTest::newRow("an empty line is a blank") << QByteArray() << 1 << " ";
    QTest::newRow("plain") << QByteArray() << 2 << "plain";
    // The server sends the bytes C5 A1 and C8 8A.
    QTest::newRow("bytes as Latin-1 by default") << QByteArray() << 3 << QStringLiteral("\u00c5\u00a1");
    QTest::newRow("ISO 8859-2") << QByteArray("ISO 8859-2") << 3 << QStringLiteral("\u0139\u0104");
    QTest::newRow("CP 1250") << QByteArray("CP 1250") << 3 << QStringLiteral("\u0139\u02c7");
    QTest::newRow("CP 1250, a byte ISO 8859-2 leaves a control")
        << QByteArray("CP 1250") << 4 << QStringLiteral("\u010c\u0160");
    QTest::newRow("ISO 8859-2, the same bytes") << QByteArray("ISO 8859-2") << 4 << QStringLiteral("\u010c\u008a");
    QTest::newRow("an unknown codec keeps Latin-1") << QByteArray("no such codec") << 3
                                                    << QStringLiteral("\u00c5\u00a1");
}

void tst_LogPager::lines()
{
    QFETCH(QByteArray, codec);
    QFETCH(int, row);
    QFETCH(QString, expected);

    const std::unique_ptr<LogPager> pager = openPager(QStringLiteral("special"));
    QVERIFY(pager);
    pager->setCodecName(codec);
    QVERIFY(load(*pager, 0, 5));
    QCOMPARE(pager->cachedCount(), 5);
    QCOMPARE(pager->line(row), expected);
}

void tst_LogPager::longLinesArriveWhole_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QByteArray>("codec");
    QTest::addColumn<QString>("tail");  // the line's last characters on the server
    QTest::addColumn<QString>("shown"); // those characters as the pager decodes them

    // The server sends U+0161 as the bytes C5 A1.
    QTest::newRow("ten thousand characters") << 10000 << QByteArray() << "end" << "end";
    QTest::newRow("one character more") << 10001 << QByteArray() << "end" << "end";
    QTest::newRow("four megabytes") << 4 * 1024 * 1024 << QByteArray()
                                    << QStringLiteral("end\u0161") << QStringLiteral("end\u00c5\u00a1");
    QTest::newRow("four megabytes through a codec") << 4 * 1024 * 1024 << QByteArray("CP 1250")
                                                    << QStringLiteral("end\u0161")
                                                    << QStringLiteral("end\u0139\u02c7");
}

// Loaded for the view or fetched for a copy, a line of any length arrives whole.
void tst_LogPager::longLinesArriveWhole()
{
    QFETCH(int, length);
    QFETCH(QByteArray, codec);
    QFETCH(QString, tail);
    QFETCH(QString, shown);

    QString body(length - tail.size(), u'-');
    for (int i = 0; i < body.size(); i += 10)
        body[i] = QChar(u'0' + (i / 10) % 10);
    const QString expected = body + shown;
    m_fix.server->addLog(QStringLiteral("long"), {QStringLiteral("before"), body + tail, QStringLiteral("after")});
    const std::unique_ptr<LogPager> pager = openPager(QStringLiteral("long"));
    QVERIFY(pager);
    pager->setCodecName(codec);

    QVERIFY(load(*pager, 0, 3));
    QCOMPARE(pager->cachedCount(), 3);
    QCOMPARE(pager->line(0), QStringLiteral("before"));
    QCOMPARE(pager->line(1), expected);
    QCOMPARE(pager->line(2), QStringLiteral("after"));

    QSignalSpy lines(pager.get(), &LogPager::rangeLines);
    QSignalSpy fetched(pager.get(), &LogPager::rangeFetched);
    pager->fetchRange(1, 2);
    QVERIFY(fetched.wait(5000));
    QCOMPARE(fetched.constFirst().constFirst().toBool(), true);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines.constFirst().at(1).toStringList(), QStringList{expected});
}

void tst_LogPager::notices_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("end");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<bool>("shortened");
    QTest::addColumn<bool>("firstMoved");
    QTest::addColumn<int>("cachedAfter");

    const quint32 lines = ShortLines;
    QTest::newRow("same extent: nothing changes, the trace is written")
        << QByteArray() << 0u << lines << false << false << false << ShortLines;
    QTest::newRow("growth keeps the cache") << QByteArray() << 0u << lines + 5 << true << false << false << ShortLines;
    QTest::newRow("after records of other logs")
        << QByteArray("\x7e\x03" "abc" "\x7d\x00", 7) << 0u << lines + 1 << true << false << false << ShortLines;
    QTest::newRow("shortened: the cache goes") << QByteArray() << 0u << lines - 10 << true << true << false << 0;
    QTest::newRow("first line moved: the cache goes")
        << QByteArray() << 10u << lines + 10 << true << false << true << 0;
    QTest::newRow("rotated to nothing") << QByteArray() << 0u << 0u << true << true << false << 0;
}

void tst_LogPager::notices()
{
    QFETCH(QByteArray, before);
    QFETCH(quint32, first);
    QFETCH(quint32, end);
    QFETCH(bool, changed);
    QFETCH(bool, shortened);
    QFETCH(bool, firstMoved);
    QFETCH(int, cachedAfter);

    const std::unique_ptr<LogPager> pager = openPager(QStringLiteral("short"));
    QVERIFY(pager);
    QVERIFY(load(*pager, 0, ShortLines));
    QCOMPARE(pager->cachedCount(), ShortLines);
    m_fix.mark();

    const int id = pager->logId();
    const QByteArray datagram = before + notice(id, first, end);
    const LogPager::ExtentChange change = pager->applyUpdate(datagram.constData(), int(datagram.size()));
    QCOMPARE(change.changed, changed);
    QCOMPARE(change.shortened, shortened);
    QCOMPARE(change.firstMoved, firstMoved);
    QCOMPARE(change.oldCount, quint32(ShortLines));
    QCOMPARE(change.newCount, end - first);
    QCOMPARE(pager->count(), end - first);
    QCOMPARE(pager->base(), first);
    QCOMPARE(pager->cachedCount(), cachedAfter);
    QCOMPARE(updateTrace(m_fix), QStringList{traceLine(id, first, end)});
}

void tst_LogPager::foreignOrTruncatedNoticesChangeNothing_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("a record of another log") << 0;
    QTest::newRow("the id with its top bit set") << 1;
    QTest::newRow("own record cut short") << 2;
    QTest::newRow("own record with a short payload") << 3;
}

void tst_LogPager::foreignOrTruncatedNoticesChangeNothing()
{
    QFETCH(int, kind);
    const std::unique_ptr<LogPager> pager = openPager(QStringLiteral("short"));
    QVERIFY(pager);
    const int id = pager->logId();
    QByteArray datagram;
    switch (kind) {
    case 0: datagram = notice(id + 1, 0, 99); break;
    case 1: datagram = notice(id | 0x80, 0, 99); break;
    case 2: datagram = notice(id, 0, 99).left(9); break;
    case 3: datagram = QByteArray(1, char(id)) + char(4) + be32(99) + notice(id + 1, 0, 5); break;
    }
    const QByteArray exact(datagram.constData(), datagram.size());
    QVERIFY(!pager->applyUpdate(exact.constData(), int(exact.size())).changed);
    QCOMPARE(pager->count(), quint32(ShortLines));
    QVERIFY(updateTrace(m_fix).isEmpty());
}

void tst_LogPager::noticeBeforeTheListAnswerChangesNothing()
{
    QVERIFY(m_fix.server->delay(QStringLiteral("LogList"), 300, 1));
    LogPager pager(m_fix.connection(), QStringLiteral("short"));
    QSignalSpy opened(&pager, &LogPager::opened);
    pager.open();
    const QByteArray datagram = notice(m_fix.logId(QStringLiteral("short")), 0, 99);
    QVERIFY(!pager.applyUpdate(datagram.constData(), int(datagram.size())).changed);
    QVERIFY(updateTrace(m_fix).isEmpty());
    QVERIFY(opened.wait(5000));
    QCOMPARE(pager.count(), quint32(ShortLines));
}

void tst_LogPager::logIdAbove127IsMatched()
{
    LogFixture many;
    many.server = startStandIn();
    for (int i = 0; i < 130; ++i)
        many.server->addLog(QStringLiteral("log%1").arg(i), {QStringLiteral("a")});
    QVERIFY(many.connect());
    const std::unique_ptr<LogPager> pager = openPager(QStringLiteral("log129"), many.connection());
    QVERIFY(pager);
    QVERIFY(pager->logId() > 127);
    const QByteArray datagram = notice(pager->logId(), 0, 50);
    QVERIFY(pager->applyUpdate(datagram.constData(), int(datagram.size())).changed);
    QCOMPARE(pager->count(), 50u);
}

void tst_LogPager::serverChangesArriveThroughTheUpdateChannel_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<quint32>("base");
    QTest::addColumn<quint32>("count");
    QTest::addColumn<int>("cachedAfter");

    QTest::newRow("growth") << "append" << 0u << quint32(ShortLines + 3) << ShortLines;
    QTest::newRow("head trimmed") << "trim" << 5u << quint32(ShortLines - 5) << 0;
    QTest::newRow("rotation") << "rotate" << 0u << 0u << 0;
    QTest::newRow("cleaned") << "clean" << quint32(ShortLines) << 0u << 0;
}

void tst_LogPager::serverChangesArriveThroughTheUpdateChannel()
{
    QFETCH(QString, change);
    QFETCH(quint32, base);
    QFETCH(quint32, count);
    QFETCH(int, cachedAfter);

    const std::unique_ptr<LogPager> pager = openPager(QStringLiteral("short"));
    QVERIFY(pager);
    QVERIFY(load(*pager, 0, ShortLines));
    LogPager* receiver = pager.get();
    connect(m_fix.connection(), &DBConn::updatedata, receiver,
            [receiver](char* data, int len) { receiver->applyUpdate(data, len); });

    const QString log = QStringLiteral("short");
    if (change == QLatin1String("append"))
        QVERIFY(m_fix.server->appendLogLines(log, {"a", "b", "c"}));
    else if (change == QLatin1String("trim"))
        QVERIFY(m_fix.server->trimLog(log, 5));
    else if (change == QLatin1String("rotate"))
        QVERIFY(m_fix.server->rotateLog(log));
    else
        m_fix.server->addLog(log, {}, ShortLines); // emptied, the numbering carries on

    QTRY_COMPARE(pager->count(), count);
    QCOMPARE(pager->base(), base);
    QCOMPARE(pager->cachedCount(), cachedAfter);
}

void tst_LogPager::noticeDuringALoadDiscardsItsRows()
{
    const std::unique_ptr<LogPager> pager = openPager(QStringLiteral("short"));
    QVERIFY(pager);
    QVERIFY(m_fix.server->delay(QStringLiteral("LogData"), 300, 1));
    QSignalSpy finished(pager.get(), &LogPager::loadFinished);
    pager->load(0, 30);
    QVERIFY(pager->isLoading());

    // The log is cut to 20 lines while the answer for 40 is on its way.
    const QByteArray datagram = notice(pager->logId(), 0, 20);
    QVERIFY(pager->applyUpdate(datagram.constData(), int(datagram.size())).shortened);
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.constFirst().constFirst().toBool(), false);
    QCOMPARE(pager->cachedCount(), 0);
    // Not a failure: asked again at once, for what the log holds now.
    QVERIFY(!pager->isBackingOff());
    m_fix.mark();
    QVERIFY(load(*pager, 0, 30));
    QCOMPARE(m_fix.statements(), QStringList{"select LogData(\"short\", 0, 20)"});
    QCOMPARE(pager->end(), 20);
}

void tst_LogPager::loadWithoutRowsBacksOff_data()
{
    QTest::addColumn<bool>("refused");
    QTest::newRow("refused") << true;
    QTest::newRow("empty answer") << false;
}

void tst_LogPager::loadWithoutRowsBacksOff()
{
    QFETCH(bool, refused);
    const std::unique_ptr<LogPager> pager = openPager(QStringLiteral("short"));
    QVERIFY(pager);
    if (refused)
        QVERIFY(m_fix.server->refuse(QStringLiteral("LogData"), 107, 1));
    else
        QVERIFY(m_fix.server->rotateLog(QStringLiteral("short"))); // the pager is not told

    QSignalSpy retry(pager.get(), &LogPager::retryAllowed);
    QSignalSpy finished(pager.get(), &LogPager::loadFinished);
    pager->load(0, 30);
    QVERIFY(finished.wait(5000));
    QCOMPARE(finished.constFirst().constFirst().toBool(), false);
    QVERIFY(pager->isBackingOff());
    QVERIFY(retry.isEmpty());
    // About a second later.
    QVERIFY(retry.wait(3000));
    QVERIFY(!pager->isBackingOff());
}

void tst_LogPager::backOffEndsWhenTheExtentChanges()
{
    const std::unique_ptr<LogPager> pager = openPager(QStringLiteral("short"));
    QVERIFY(pager);
    QVERIFY(m_fix.server->refuse(QStringLiteral("LogData"), 107, 1));
    QVERIFY(load(*pager, 0, 30));
    QVERIFY(pager->isBackingOff());

    QSignalSpy retry(pager.get(), &LogPager::retryAllowed);
    QVERIFY(m_fix.server->appendLogLines(QStringLiteral("short"), {QStringLiteral("one more")}));
    const QByteArray datagram = notice(pager->logId(), 0, ShortLines + 1);
    pager->applyUpdate(datagram.constData(), int(datagram.size()));
    QCOMPARE(retry.size(), 1);
    QVERIFY(!pager->isBackingOff());
    QVERIFY(load(*pager, 0, 30));
    QCOMPARE(pager->cachedCount(), ShortLines + 1);
}

void tst_LogPager::shortAnswersStillMakeProgress_data()
{
    QTest::addColumn<Loads>("before");
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("last");
    QTest::addColumn<QStringList>("sent");

    // Every answer holds at most 30 of the rows asked for.
    QTest::newRow("a far jump: the block is continued where the answer ended")
        << Loads{} << qint64(500000) << qint64(500030)
        << QStringList{"select LogData(\"big\", 499950, 135)", "select LogData(\"big\", 499980, 105)",
                       "select LogData(\"big\", 500010, 75)"};
    QTest::newRow("above the cache: the rows that came replace it, then it grows down")
        << Loads{{999970, 1000000}} << qint64(999900) << qint64(999930)
        << QStringList{"select LogData(\"big\", 999850, 70)", "select LogData(\"big\", 999880, 105)",
                       "select LogData(\"big\", 999910, 75)"};
    QTest::newRow("below the cache: appended block by block")
        << Loads{{500000, 500030}} << qint64(500100) << qint64(500160)
        << QStringList{"select LogData(\"big\", 500085, 130)", "select LogData(\"big\", 500115, 100)",
                       "select LogData(\"big\", 500145, 70)"};
}

void tst_LogPager::shortAnswersStillMakeProgress()
{
    QFETCH(Loads, before);
    QFETCH(qint64, first);
    QFETCH(qint64, last);
    QFETCH(QStringList, sent);

    const std::unique_ptr<LogPager> pager = openPager(QStringLiteral("big"));
    QVERIFY(pager);
    for (const auto& earlier : before)
        QVERIFY(load(*pager, earlier.first, earlier.second));
    QVERIFY(m_fix.server->shortenAnswer(QStringLiteral("LogData"), 30));
    m_fix.mark();

    // As a viewer does: ask again while the rows are missing, never more than asked.
    for (int i = 0; i < 2 * sent.size() && !pager->covers(first, last); ++i) {
        QVERIFY(load(*pager, first, last));
        QVERIFY(!pager->isBackingOff());
    }
    QCOMPARE(m_fix.statements(), sent);
    QVERIFY(pager->covers(first, last));
    for (qint64 row = pager->first(); row < pager->end(); ++row)
        QCOMPARE(pager->line(row), StandIn::TestServer::syntheticLine(QStringLiteral("big"), quint64(row)));
}

void tst_LogPager::clear_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("answered OK") << 0 << true;
    QTest::newRow("answered with an empty text") << 1 << false;
    QTest::newRow("refused") << 2 << false;
}

void tst_LogPager::clear()
{
    QFETCH(int, answer);
    QFETCH(bool, cleared);

    const std::unique_ptr<LogPager> pager = openPager(QStringLiteral("short"));
    QVERIFY(pager);
    QVERIFY(load(*pager, 0, ShortLines));
    if (answer == 1)
        QVERIFY(m_fix.server->answerRaw(QStringLiteral("LogCtrl"), oneTextAnswer(""), 1));
    else if (answer == 2)
        QVERIFY(m_fix.server->refuse(QStringLiteral("LogCtrl"), 111, 1));
    m_fix.mark();

    QSignalSpy clearedSpy(pager.get(), &LogPager::cleared);
    pager->clearLog();
    QTRY_VERIFY(!pager->isClearing());
    QCOMPARE(m_fix.statements(), QStringList{"select LogCtrl(\"clean\", \"short\")"});
    QCOMPARE(clearedSpy.size(), cleared ? 1 : 0);
    QCOMPARE(pager->count(), cleared ? 0u : quint32(ShortLines));
    QCOMPARE(pager->cachedCount(), cleared ? 0 : ShortLines);
    QCOMPARE(pager->base(), 0u);
    StandIn::LogExtent extent;
    QVERIFY(m_fix.server->logExtent(QStringLiteral("short"), &extent));
    QCOMPARE(extent.end - extent.first, cleared ? 0u : quint32(ShortLines));
}

void tst_LogPager::deletedBeforeTheListAnswer()
{
    QVERIFY(m_fix.server->delay(QStringLiteral("LogList"), 300, 1));
    auto pager = std::make_unique<LogPager>(m_fix.connection(), QStringLiteral("short"));
    pager->open();
    pager.reset();
    QTest::qWait(500);
    const std::unique_ptr<LogPager> next = openPager(QStringLiteral("short"));
    QVERIFY(next);
    QCOMPARE(next->count(), quint32(ShortLines));
}

void tst_LogPager::moreRowsThanAskedStayInsideTheLog()
{
    const std::unique_ptr<LogPager> pager = openPager(QStringLiteral("big"));
    QVERIFY(pager);
    QVERIFY(load(*pager, 999970, 1000000));
    QCOMPARE(pager->first(), 999920);

    // The block above asks for 80 rows; the answer brings 200.
    vexablocks::BlockParts parts;
    parts.columns = 1;
    parts.rows = 200;
    parts.descriptors = vexablocks::descriptor(1, "line");
    for (int i = 0; i < 200; ++i)
        parts.cells += vexablocks::cell(vexablocks::text("extra"));
    QVERIFY(m_fix.server->answerRaw(QStringLiteral("LogData"), vexablocks::answer(vexablocks::block(parts)), 1));
    m_fix.mark();
    QVERIFY(load(*pager, 999890, 999920));
    QCOMPARE(m_fix.statements(), QStringList{"select LogData(\"big\", 999840, 80)"});
    QCOMPARE(pager->first(), 999840);
    QCOMPARE(pager->cachedCount(), 160);
    QCOMPARE(pager->line(999840), QStringLiteral("extra"));
    QCOMPARE(pager->line(999920), StandIn::TestServer::syntheticLine(QStringLiteral("big"), 999920));
}

void tst_LogPager::connectionGoneBacksOff()
{
    ScopedConnection own(m_fix.server->port());
    QVERIFY(own.connect());
    const std::unique_ptr<LogPager> pager = openPager(QStringLiteral("short"), own.get());
    QVERIFY(pager);
    QVERIFY(own.stopAndWait());

    QSignalSpy finished(pager.get(), &LogPager::loadFinished);
    pager->load(0, 30);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.constFirst().constFirst().toBool(), false);
    QVERIFY(pager->isBackingOff());
    QCOMPARE(pager->cachedCount(), 0);
}

QTEST_MAIN(tst_LogPager)
#include "tst_logpager.moc"
