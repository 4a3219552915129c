#include "logupdatepacket.h"

#include <QByteArray>
#include <QtTest>

namespace {

QByteArray be32(quint32 value)
{
    QByteArray out;
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xff));
    return out;
}

// One record: id, payload length, payload.
QByteArray record(int id, const QByteArray& payload)
{
    return QByteArray(1, char(id)) + char(payload.size()) + payload;
}

QByteArray lineNumbers(quint32 first, quint32 end)
{
    return be32(first) + be32(end);
}

} // namespace

class tst_LogUpdatePacket : public QObject
{
    Q_OBJECT

private slots:
    void findsTheLogsRecord_data();
    void findsTheLogsRecord();
};

void tst_LogUpdatePacket::findsTheLogsRecord_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<int>("logId");
    QTest::addColumn<bool>("found");
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("end");

    QTest::newRow("one record") << record(3, lineNumbers(10, 25)) << 3 << true << 10u << 25u;
    QTest::newRow("big-endian numbers above 2^31")
        << record(0, lineNumbers(0x80000001u, 0xfffffffeu)) << 0 << true << 0x80000001u << 0xfffffffeu;
    QTest::newRow("after records of other logs")
        << record(1, lineNumbers(0, 5)) + record(2, QByteArray(20, 'x')) + record(7, lineNumbers(4, 9)) << 7
        << true << 4u << 9u;
    QTest::newRow("a longer payload: the numbers come first")
        << record(5, lineNumbers(1, 2) + "more") << 5 << true << 1u << 2u;
    QTest::newRow("only the first record of the log counts")
        << record(4, lineNumbers(1, 2)) + record(4, lineNumbers(8, 9)) << 4 << true << 1u << 2u;
    QTest::newRow("no record of the log") << record(1, lineNumbers(0, 5)) << 2 << false << 0u << 0u;
    QTest::newRow("empty datagram") << QByteArray() << 0 << false << 0u << 0u;
    QTest::newRow("id byte 200 is log 200")
        << record(200, lineNumbers(0, 5)) << 200 << true << 0u << 5u;
    QTest::newRow("id byte 0x80 is log 128")
        << record(0x80, lineNumbers(0, 5)) << 128 << true << 0u << 5u;
    QTest::newRow("id byte 0xff is log 255, not -1")
        << record(0xff, lineNumbers(2, 7)) << 255 << true << 2u << 7u;
    QTest::newRow("id byte 0xff is not log -1")
        << record(0xff, lineNumbers(2, 7)) << -1 << false << 0u << 0u;
    QTest::newRow("a log id beyond a byte matches no record")
        << record(0x2c, lineNumbers(2, 7)) << 0x12c << false << 0u << 0u;
    QTest::newRow("truncated numbers") << record(3, lineNumbers(10, 25)).left(7) << 3 << false << 0u << 0u;
    QTest::newRow("length byte missing") << QByteArray(1, char(3)) << 3 << false << 0u << 0u;
    QTest::newRow("a payload shorter than the numbers")
        << record(3, QByteArray(4, '\1')) + record(9, lineNumbers(0, 1)) << 3 << false << 0u << 0u;
    QTest::newRow("another record's length runs past the end")
        << QByteArray(1, char(1)) + char(200) + lineNumbers(0, 1) << 6 << false << 0u << 0u;
}

void tst_LogUpdatePacket::findsTheLogsRecord()
{
    QFETCH(QByteArray, datagram);
    QFETCH(int, logId);
    QFETCH(bool, found);
    QFETCH(quint32, first);
    QFETCH(quint32, end);

    // Exactly as long as the datagram, so that a sanitiser sees any read past it.
    const QByteArray exact(datagram.constData(), datagram.size());
    const std::optional<LogUpdate> update = findLogUpdate(exact.constData(), int(exact.size()), logId);
    QCOMPARE(update.has_value(), found);
    if (found) {
        QCOMPARE(update->first, first);
        QCOMPARE(update->end, end);
    }
}

QTEST_APPLESS_MAIN(tst_LogUpdatePacket)
#include "tst_logupdatepacket.moc"
