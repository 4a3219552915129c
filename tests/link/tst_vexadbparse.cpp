// The protocol client's byte-level parts without a server: the answer parse,
// the result accessors, the datagram check, the error texts, the escaping and
// the buffered, enciphered socket layer (over a socket pair, checked against
// the OpenSSL-based reference stream).

#include "refstream.h"
#include "vexadbblocks.h"
#include "vexadbparse_p.h"
#include "vexadbsocket_p.h"

#include <QtTest>

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <utility>

using namespace vexablocks;

namespace {

// What vexadb_send_query does with the answer once it has arrived: the block
// goes into a buffer of exactly D bytes, so that a sanitizer sees any read past it.
int parseAnswer(const QByteArray &bytes, vexadb_result *res)
{
    memset(res, 0, sizeof *res);
    vexadb_answer_header header;
    vexadb_decode_answer_header(reinterpret_cast<const unsigned char *>(bytes.constData()), &header);
    if (header.size > VEXADB_MAX_BLOCK)
        return VEXADB_ELIBRARY;
    if (header.size > quint32(bytes.size() - VEXADB_ANSWER_HEADER))
        return -1;  // the stream would still owe bytes
    auto *data = static_cast<unsigned char *>(malloc(header.size ? header.size : 1));
    memcpy(data, bytes.constData() + VEXADB_ANSWER_HEADER, header.size);
    return vexadb_parse_block(res, data, header.size);
}

// A parsed answer, released with the test's scope.
struct Parsed
{
    vexadb_result res;
    int status;

    explicit Parsed(const QByteArray &answerBytes) : status(parseAnswer(answerBytes, &res)) {}
    explicit Parsed(const BlockParts &parts) : Parsed(answer(block(parts))) {}
    ~Parsed() { vexadb_free_result(&res); }

    QByteArray cell(int row, int col) const
    {
        char buffer[256];
        int len = sizeof buffer;
        if (vexadb_read_result(&res, row, col, buffer, &len) != 0)
            return QByteArray("<error>");
        return QByteArray(buffer, len);
    }
    // The first column's texts, row by row.
    QByteArray firstColumn() const
    {
        QByteArrayList texts;
        for (quint32 r = 0; r < res.nrows; ++r)
            texts.append(cell(int(r), 0).chopped(1));
        return texts.join(',');
    }
};

using Pairs = QList<QPair<QByteArray, QByteArray>>;

// A key column of labels and a value column of one type, one row per pair.
BlockParts labelled(int type, const Pairs &rows)
{
    BlockParts parts;
    parts.columns = 2;
    parts.rows = quint32(rows.size());
    parts.descriptors = descriptor(VEXADB_STRING, "label", 1) + descriptor(type, "value");
    for (const auto &row : rows)
        parts.cells += cell(text(row.first)) + cell(row.second);
    return parts;
}

struct SocketPair
{
    int ours = -1;
    int theirs = -1;
    vexadb_sock layer = {};

    SocketPair()
    {
        int fds[2];
        if (socketpair(AF_UNIX, SOCK_STREAM, 0, fds) == 0) {
            ours = fds[0];
            theirs = fds[1];
            vexadb_socket_init(&layer, ours);
        }
    }
    ~SocketPair()
    {
        close(ours);
        if (theirs >= 0)
            close(theirs);
    }
    void closeTheirs() { close(std::exchange(theirs, -1)); }
    // Whatever has arrived at the far end so far.
    QByteArray arrived() const
    {
        QByteArray all;
        char buffer[8192];
        for (ssize_t n; (n = recv(theirs, buffer, sizeof buffer, MSG_DONTWAIT)) > 0;)
            all.append(buffer, int(n));
        return all;
    }
    bool send(const QByteArray &bytes) const
    {
        return ::send(theirs, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size();
    }
};

QByteArray pattern(int size)
{
    QByteArray out(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        out[i] = char(i * 7 + i / 251);
    return out;
}

} // namespace

class tst_VexaDbParse : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void hostileAnswers_data();
    void hostileAnswers();
    void rowSetIsConvertedInPlace();
    void sortResult_data();
    void sortResult();
    void resultFind_data();
    void resultFind();
    void datagrams_data();
    void datagrams();
    void errorTexts_data();
    void errorTexts();
    void escapeString_data();
    void escapeString();

    void sendBufferFlushesWhenFull_data();
    void sendBufferFlushesWhenFull();
    void readFlushesFirst();
    void streamFollowsTheReference();
    void closedPeerFailsWithoutSignal();
};

void tst_VexaDbParse::initTestCase()
{
    // A write to a closed peer must fail, never raise SIGPIPE: leave the
    // default action in place so that a raised signal ends this test.
    signal(SIGPIPE, SIG_DFL);
}

void tst_VexaDbParse::hostileAnswers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");
    for (const HostileAnswer &row : vexablocks::hostileAnswers())
        QTest::newRow(row.name) << row.bytes << row.expected;
}

void tst_VexaDbParse::hostileAnswers()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    const Parsed parsed(bytes);
    QCOMPARE(parsed.status, expected);
    QCOMPARE(parsed.res.valid, expected == 0);
    if (expected != 0)
        QVERIFY(!parsed.res.data && !parsed.res.tables);
    else if (parsed.res.kind != VEXADB_KIND_ROWSET)
        QVERIFY(!parsed.res.rows && !parsed.res.cols && parsed.cell(0, 0) == "<error>");
    // every cell of an accepted answer can be read whole
    for (quint32 r = 0; r < (parsed.res.kind == VEXADB_KIND_ROWSET ? parsed.res.nrows : 0); ++r) {
        for (int c = 0; c < parsed.res.ncols; ++c)
            QVERIFY(parsed.cell(int(r), c) != "<error>");
    }
}

void tst_VexaDbParse::rowSetIsConvertedInPlace()
{
    BlockParts parts = twoRows();
    parts.spare1 = 0x01020304;
    parts.spare2 = 0xa0b0c0d0;
    Parsed parsed(parts);
    vexadb_result &res = parsed.res;
    QCOMPARE(parsed.status, 0);
    QCOMPARE((QList<quint32>{quint32(res.kind), res.ncols, res.nrows, res.spare1, res.spare2}),
             (QList<quint32>{115, 2, 2, 0x01020304, 0xa0b0c0d0}));
    QVERIFY(res.desc == res.data + 20);
    QCOMPARE(parsed.cell(0, 0) + parsed.cell(1, 0), text("alice") + text("bob"));
    QCOMPARE(parsed.cell(0, 1) + parsed.cell(1, 1), native<qint32>(7) + native<qint32>(-7));
    vexadb_coldesc desc;
    QCOMPARE(vexadb_get_desc(&res, 1, &desc), 0);
    QCOMPARE((QList<int>{desc.type, desc.flags}), (QList<int>{VEXADB_INT, 0}));
    QCOMPARE(QByteArray(desc.name), QByteArray("n"));
    QCOMPARE(vexadb_get_col_idx(&res, "NAME"), 0);
    QCOMPARE(vexadb_get_col_idx(&res, "nam"), -1);
    QCOMPARE(vexadb_get_col_idx(&res, "names"), -1);

    // Indexes outside the answer are refused, the buffer length left alone.
    for (const auto &[row, col] : {std::pair(-1, 0), std::pair(2, 0), std::pair(0, -1), std::pair(0, 2)}) {
        char buffer[16];
        int len = sizeof buffer;
        QCOMPARE(vexadb_read_result(&res, row, col, buffer, &len), 3);
        QCOMPARE(len, int(sizeof buffer));
        if (row == 0) {
            QCOMPARE(vexadb_get_desc(&res, col, &desc), 3);
            QCOMPARE(vexadb_sort_result(&res, col), 3);
            QCOMPARE(vexadb_result_find(&res, col, "alice"), -1);
        }
    }

    QCOMPARE(vexadb_free_result(&res), 0);
    QVERIFY(!res.valid && !res.data);
    QCOMPARE(vexadb_free_result(&res), 0);  // a second release does nothing
    QCOMPARE(vexadb_read_result(&res, 0, 0, nullptr, nullptr), 3);
}

void tst_VexaDbParse::sortResult_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<Pairs>("rows");
    QTest::addColumn<QByteArray>("order");   // empty: any order

    QTest::newRow("STRING ignoring case") << int(VEXADB_STRING)
        << Pairs{{"b", text("bravo")}, {"A", text("Alpha")}, {"c", text("charlie")}, {"a2", text("alpha2")}}
        << QByteArray("A,a2,b,c");
    QTest::newRow("STRING without its zero byte") << int(VEXADB_STRING)
        << Pairs{{"long", "abcd"}, {"short", "abc"}, {"empty", ""}} << QByteArray("empty,short,long");
    QTest::newRow("INT by value, null first") << int(VEXADB_INT)
        << Pairs{{"five", be32(5)}, {"minus", be32(0xffffffff)}, {"zero", be32(0)}, {"big", be32(300)}, {"null", {}}}
        << QByteArray("null,minus,zero,five,big");
    QTest::newRow("IPADDR by address") << int(VEXADB_IPADDR)
        << Pairs{{"ten", be32(0x0a000002)}, {"c0", be32(0xc0a80001)}, {"one", be32(0x01020304)},
                 {"ten1", be32(0x0a000001)}}
        << QByteArray("one,ten1,ten,c0");
    QTest::newRow("PORT by number") << int(VEXADB_PORT)
        << Pairs{{"web", be16(8080)}, {"smtp", be16(25)}, {"tls", be16(443)}, {"high", be16(0xff00)}}
        << QByteArray("smtp,tls,web,high");
    QTest::newRow("other types: every row kept") << int(VEXADB_BINARY)
        << Pairs{{"x", "\x02"}, {"y", "\x01"}, {"z", "\x03"}} << QByteArray();
    QTest::newRow("no rows") << int(VEXADB_INT) << Pairs{} << QByteArray();
}

void tst_VexaDbParse::sortResult()
{
    QFETCH(int, type);
    QFETCH(Pairs, rows);
    QFETCH(QByteArray, order);
    Parsed parsed(labelled(type, rows));
    const QByteArray before(reinterpret_cast<const char *>(parsed.res.data), int(block(labelled(type, rows)).size()));
    QCOMPARE(vexadb_sort_result(&parsed.res, 1), 0);
    QByteArrayList labels = parsed.firstColumn().split(',');
    if (order.isEmpty())
        std::sort(labels.begin(), labels.end());
    QByteArrayList expected;
    for (const auto &row : rows)
        expected.append(row.first);
    std::sort(expected.begin(), expected.end());
    QCOMPARE(labels.join(','), order.isEmpty() ? expected.join(',') : order);
    // the row table moved, the data did not
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(parsed.res.data), before.size()), before);
}

void tst_VexaDbParse::resultFind_data()
{
    QTest::addColumn<int>("col");
    QTest::addColumn<QByteArray>("wanted");
    QTest::addColumn<int>("row");
    QTest::newRow("first row") << 0 << QByteArray("alice") << 0;
    QTest::newRow("second row") << 0 << QByteArray("bob") << 1;
    QTest::newRow("case differs") << 0 << QByteArray("Bob") << -1;
    QTest::newRow("a prefix") << 0 << QByteArray("bo") << -1;
    QTest::newRow("longer") << 0 << QByteArray("bobby") << -1;
    QTest::newRow("a cell without its zero byte") << 0 << QByteArray("carl") << 2;
    QTest::newRow("not a STRING column") << 1 << QByteArray("7") << -1;
}

void tst_VexaDbParse::resultFind()
{
    QFETCH(int, col);
    QFETCH(QByteArray, wanted);
    QFETCH(int, row);
    BlockParts parts = twoRows();
    parts.rows = 3;
    parts.cells += cell("carl") + cell(be32(1));
    const Parsed parsed(parts);
    QCOMPARE(vexadb_result_find(&parsed.res, col, wanted.constData()), row);
}

void tst_VexaDbParse::datagrams_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<int>("length");     // as received; -1: the datagram's size
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QByteArray>("delivered");

    const QByteArray fill = pattern(1499);
    QTest::newRow("exactly the capacity") << "\x11" + fill.left(99) << -1 << 100 << fill.left(99);
    QTest::newRow("one over the capacity") << "\x11" + fill.left(100) << -1 << 100 << QByteArray();
    QTest::newRow("a negative capacity") << QByteArray("\x11" "AB") << -1 << -5 << QByteArray();
    QTest::newRow("longer than the receive buffer") << "\x11" + fill << 1501 << 4000 << QByteArray();
}

void tst_VexaDbParse::datagrams()
{
    QFETCH(QByteArray, datagram);
    QFETCH(int, length);
    QFETCH(int, capacity);
    QFETCH(QByteArray, delivered);
    QByteArray buffer(4096, '\x5a');
    int len = capacity;
    vexadb_take_datagram(17, reinterpret_cast<const unsigned char *>(datagram.constData()),
                         length < 0 ? datagram.size() : length, buffer.data(), &len);
    QCOMPARE(buffer.left(len), delivered);
    QCOMPARE(buffer.mid(len), QByteArray(4096 - len, '\x5a'));
}

void tst_VexaDbParse::errorTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("expected");
    const QList<QPair<int, const char *>> table = {
        {0, "Function call was successful"}, {1, "System or socket error"},
        {2, "Library error (e.g. internal error)"}, {3, "Invalid parameter(s)"},
        {4, "List maximum size exceeded"}, {5, "Library resources exhausted, try again later"},
        {102, "Authentication failed"}, {103, "Server uses different library version"},
        {104, "Still connected; disconnect first"}, {106, "SQL query parse error"},
        {107, "Wrong SQL query"}, {108, "SQL internal error"}, {109, "Table does not exists"},
        {110, "Function does not exists"}, {111, "Query not possible"},
        {112, "Buffer is small or inproper size"}, {113, "Access denied"}, {114, "Column does not exists"},
        {201, "Problems with key file or key generation failed. see error code "},
        {6, "UNKNOWN"}, {105, "UNKNOWN"}, {-1, "UNKNOWN"},
    };
    for (const auto &[code, expected] : table)
        QTest::addRow("%d", code) << code << QByteArray(expected);
}

void tst_VexaDbParse::errorTexts()
{
    QFETCH(int, code);
    QFETCH(QByteArray, expected);
    QCOMPARE(QByteArray(vexadb_error_desc(code)), expected);
}

void tst_VexaDbParse::escapeString_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<int>("size");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("every escape") << QByteArray("a\tb\nc\rd'e\"f\\g") << 64
                                  << QByteArray("a\\tb\\nc\\rd\\'e\\\"f\\\\g");
    QTest::newRow("cut at size - 2") << QByteArray("abcdef") << 5 << QByteArray("abc");
    QTest::newRow("an escape pair at the limit") << QByteArray("ab'cd") << 5 << QByteArray("ab\\'");
    QTest::newRow("exactly fitting") << QByteArray("abc") << 5 << QByteArray("abc");
    QTest::newRow("size 1") << QByteArray("abc") << 1 << QByteArray();
    QTest::newRow("size 0 writes nothing") << QByteArray("abc") << 0 << QByteArray();
    QTest::newRow("empty source") << QByteArray() << 8 << QByteArray();
}

void tst_VexaDbParse::escapeString()
{
    QFETCH(QByteArray, source);
    QFETCH(int, size);
    QFETCH(QByteArray, expected);
    QByteArray buffer(size + 8, '\x5a');
    QCOMPARE(vexadb_escape_string(source.constData(), buffer.data(), size), expected.size());
    // the text, then zeros up to size, and nothing touched beyond
    QCOMPARE(buffer, expected + QByteArray(size - expected.size(), '\0') + QByteArray(8, '\x5a'));
}

void tst_VexaDbParse::sendBufferFlushesWhenFull_data()
{
    QTest::addColumn<QList<int>>("writes");
    QTest::addColumn<int>("sent");
    QTest::newRow("one byte short") << QList<int>{4095} << 0;
    QTest::newRow("exactly full") << QList<int>{4096} << 4096;
    QTest::newRow("spilling over") << QList<int>{3000, 3000} << 4096;
    QTest::newRow("several buffers at once") << QList<int>{10000} << 8192;
}

void tst_VexaDbParse::sendBufferFlushesWhenFull()
{
    QFETCH(QList<int>, writes);
    QFETCH(int, sent);
    SocketPair pair;
    QByteArray all;
    for (int size : writes) {
        const QByteArray data = pattern(all.size() + size).mid(all.size());
        QCOMPARE(vexadb_sock_write(&pair.layer, data.constData(), size), 1);
        all += data;
    }
    QCOMPARE(pair.arrived(), all.left(sent));
    QCOMPARE(pair.layer.fill, all.size() - sent);
    QCOMPARE(vexadb_sock_flush(&pair.layer), 1);
    QCOMPARE(pair.arrived(), all.mid(sent));
}

void tst_VexaDbParse::readFlushesFirst()
{
    SocketPair pair;
    const QByteArray request = pattern(100);
    QCOMPARE(vexadb_sock_write(&pair.layer, request.constData(), request.size()), 1);
    QVERIFY(pair.send("x"));
    char reply = 0;
    QCOMPARE(vexadb_sock_read(&pair.layer, &reply, 1), 1);
    QCOMPARE(reply, 'x');
    QCOMPARE(pair.arrived(), request);
    // a count of 0 succeeds without waiting
    QCOMPARE(vexadb_sock_reads(&pair.layer, &reply, 0), 1);
}

void tst_VexaDbParse::streamFollowsTheReference()
{
    const QByteArray key = QByteArray::fromHex("00112233445566778899aabbccddeeff");
    SocketPair pair;
    vexadb_cipher_init(&pair.layer, reinterpret_cast<const unsigned char *>(key.constData()), key.size());
    RefStream reference(key);

    // pieces around the 1500-byte chunk, so the chunks and the 9-byte cycles meet unevenly
    QByteArray sent;
    for (int size : {1, 1499, 1500, 1501, 5000, 7}) {
        const QByteArray data = pattern(size);
        QCOMPARE(vexadb_sock_writes(&pair.layer, data.constData(), data.size()), 1);
        QCOMPARE(data, pattern(size));  // the caller's bytes are never enciphered in place
        sent += data;
    }
    QCOMPARE(vexadb_sock_flush(&pair.layer), 1);
    const QByteArray wire = pair.arrived();
    QVERIFY(wire != sent);
    QCOMPARE(reference.decrypt(wire), sent);

    const QByteArray plain = pattern(3000);
    QVERIFY(pair.send(reference.encrypt(plain)));
    QByteArray received;
    for (int size : {4, 16, 1000, 1980}) {
        QByteArray piece(size, '\0');
        QCOMPARE(vexadb_sock_reads(&pair.layer, piece.data(), size), 1);
        received += piece;
    }
    QCOMPARE(received, plain);
}

void tst_VexaDbParse::closedPeerFailsWithoutSignal()
{
    SocketPair pair;
    QVERIFY(pair.send("abc"));
    pair.closeTheirs();
    char buffer[8];
    errno = 0;
    QCOMPARE(vexadb_sock_read(&pair.layer, buffer, 8), 0);
    QCOMPARE(errno, ECONNRESET);
    // The first full buffer goes out at once and meets the closed end.
    const QByteArray data = pattern(5000);
    errno = 0;
    QCOMPARE(vexadb_sock_write(&pair.layer, data.constData(), data.size()), 0);
    QCOMPARE(errno, EPIPE);
}

QTEST_GUILESS_MAIN(tst_VexaDbParse)
#include "tst_vexadbparse.moc"
