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
#include <thread>

using namespace vexablocks;

namespace {

// What vexadb_send_query does with the answer once it has arrived: the header
// first, then the block in a buffer of exactly D bytes (so that a sanitizer
// sees any read past it).
int parseAnswer(const QByteArray &bytes, vexadb_result *res)
{
    memset(res, 0, sizeof *res);
    if (bytes.size() < VEXADB_ANSWER_HEADER)
        return -1;
    vexadb_answer_header header;
    vexadb_decode_answer_header(reinterpret_cast<const unsigned char *>(bytes.constData()), &header);
    if (header.status != 0)
        return int(header.status);
    if (header.size > VEXADB_MAX_BLOCK)
        return VEXADB_ELIBRARY;
    if (header.size > quint32(bytes.size() - VEXADB_ANSWER_HEADER))
        return -1;  // the stream would still owe bytes
    auto *data = static_cast<unsigned char *>(malloc(header.size ? header.size : 1));
    memcpy(data, bytes.constData() + VEXADB_ANSWER_HEADER, header.size);
    return vexadb_parse_block(res, data, header.size);
}

int parseBlock(const BlockParts &parts, vexadb_result *res)
{
    return parseAnswer(answer(block(parts)), res);
}

QByteArray cellBytes(const vexadb_result *res, int row, int col)
{
    char buffer[256];
    int len = sizeof buffer;
    if (vexadb_read_result(res, row, col, buffer, &len) != 0)
        return QByteArray("<error>");
    return QByteArray(buffer, len);
}

// The first column's texts, row by row, as a comma-separated list.
QByteArray firstColumn(const vexadb_result *res)
{
    QByteArrayList texts;
    for (quint32 r = 0; r < res->nrows; ++r)
        texts.append(cellBytes(res, int(r), 0).chopped(1));
    return texts.join(',');
}

// A key column of labels and a value column of one type, one row per pair.
BlockParts labelled(int type, const QList<QPair<QByteArray, QByteArray>> &rows)
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
        if (ours >= 0)
            close(ours);
        if (theirs >= 0)
            close(theirs);
    }
    void closeTheirs()
    {
        close(theirs);
        theirs = -1;
    }

    // Whatever has arrived at the far end so far.
    QByteArray arrived() const
    {
        QByteArray all;
        char buffer[8192];
        for (;;) {
            const ssize_t n = recv(theirs, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n <= 0)
                return all;
            all.append(buffer, int(n));
        }
    }
    bool send(const QByteArray &bytes) const
    {
        return ::send(theirs, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size();
    }
};

const QByteArray sessionKey = QByteArray::fromHex("00112233445566778899aabbccddeeff");

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
    void everyTypeIsConvertedInPlace_data();
    void everyTypeIsConvertedInPlace();
    void otherKindsHaveNoRows();
    void accessorsRefuseBadIndexes_data();
    void accessorsRefuseBadIndexes();
    void sortResult_data();
    void sortResult();
    void sortResultRefusals();
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
    void encipheredWritesFollowTheStream();
    void encipheredReadsFollowTheStream();
    void exactReadAcrossPieces();
    void closedPeerFailsReads();
    void closedPeerFailsWritesWithoutSignal();
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
    vexadb_result res;
    QCOMPARE(parseAnswer(bytes, &res), expected);
    if (expected == 0) {
        QCOMPARE(res.valid, 1);
        // every cell of an accepted answer can be read whole
        for (quint32 r = 0; r < (res.kind == VEXADB_KIND_ROWSET ? res.nrows : 0); ++r) {
            for (int c = 0; c < res.ncols; ++c)
                QVERIFY(cellBytes(&res, int(r), c) != "<error>");
        }
        vexadb_free_result(&res);
    } else {
        QCOMPARE(res.valid, 0);
        QVERIFY(!res.data);
        QVERIFY(!res.tables);
    }
}

void tst_VexaDbParse::rowSetIsConvertedInPlace()
{
    BlockParts parts = twoRows();
    parts.spare1 = 0x01020304;
    parts.spare2 = 0xa0b0c0d0;
    vexadb_result res;
    QCOMPARE(parseBlock(parts, &res), 0);
    QCOMPARE(res.kind, 115);
    QCOMPARE(res.ncols, quint16(2));
    QCOMPARE(res.nrows, 2u);
    QCOMPARE(res.spare1, 0x01020304u);
    QCOMPARE(res.spare2, 0xa0b0c0d0u);
    QVERIFY(res.desc == res.data + 20);

    QCOMPARE(cellBytes(&res, 0, 0), text("alice"));
    QCOMPARE(cellBytes(&res, 0, 1), native<qint32>(7));
    QCOMPARE(cellBytes(&res, 1, 0), text("bob"));
    QCOMPARE(cellBytes(&res, 1, 1), native<qint32>(-7));

    vexadb_coldesc desc;
    QCOMPARE(vexadb_get_desc(&res, 0, &desc), 0);
    QCOMPARE(int(desc.type), VEXADB_STRING);
    QCOMPARE(int(desc.flags), 1);
    QCOMPARE(QByteArray(desc.name), QByteArray("name"));
    QCOMPARE(vexadb_get_desc(&res, 1, &desc), 0);
    QCOMPARE(int(desc.type), VEXADB_INT);
    QCOMPARE(int(desc.flags), 0);
    QCOMPARE(QByteArray(desc.name), QByteArray("n"));

    QCOMPARE(vexadb_get_col_idx(&res, "NAME"), 0);
    QCOMPARE(vexadb_get_col_idx(&res, "n"), 1);
    QCOMPARE(vexadb_get_col_idx(&res, "nam"), -1);
    QCOMPARE(vexadb_get_col_idx(&res, "names"), -1);

    QCOMPARE(vexadb_free_result(&res), 0);
    QCOMPARE(res.valid, 0);
    QVERIFY(!res.data);
    QCOMPARE(vexadb_free_result(&res), 0);  // a second release does nothing
    QCOMPARE(vexadb_read_result(&res, 0, 0, nullptr, nullptr), 3);
}

void tst_VexaDbParse::everyTypeIsConvertedInPlace_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("wire");
    QTest::addColumn<QByteArray>("parsed");

    QTest::newRow("STRING") << int(VEXADB_STRING) << text("Zoë") << text("Zoë");
    QTest::newRow("PWD") << int(VEXADB_PWD) << text("") << text("");
    QTest::newRow("INT") << int(VEXADB_INT) << be32(0xfffffffe) << native<qint32>(-2);
    QTest::newRow("INT64") << int(VEXADB_INT64) << be64(0x0102030405060708ull) << native<quint64>(0x0102030405060708ull);
    QTest::newRow("IPADDR stays in network order") << int(VEXADB_IPADDR) << QByteArray("\xc0\xa8\x0a\x14", 4)
                                                   << QByteArray("\xc0\xa8\x0a\x14", 4);
    QTest::newRow("PORT stays in network order") << int(VEXADB_PORT) << be16(8080) << be16(8080);
    QTest::newRow("BINARY") << int(VEXADB_BINARY) << QByteArray("\x00\xff\x10", 3) << QByteArray("\x00\xff\x10", 3);
    QTest::newRow("IDLIST") << int(VEXADB_IDLIST) << wireList({"staff", "", "sales"})
                            << nativeList({"staff", "", "sales"});
    QTest::newRow("empty IDLIST") << int(VEXADB_IDLIST) << be32(0) << native<quint32>(0);
    QTest::newRow("VOID") << int(VEXADB_VOID) << QByteArray() << QByteArray();
    QTest::newRow("an unknown type is left alone") << 42 << be32(5) << be32(5);
    for (int type : {VEXADB_INT, VEXADB_INT64, VEXADB_IPADDR, VEXADB_PORT, VEXADB_IDLIST, VEXADB_BINARY})
        QTest::addRow("null %s", vexadb_type_desc(type)) << type << QByteArray() << QByteArray();
}

void tst_VexaDbParse::everyTypeIsConvertedInPlace()
{
    QFETCH(int, type);
    QFETCH(QByteArray, wire);
    QFETCH(QByteArray, parsed);
    vexadb_result res;
    // each cell between two others, so a conversion that strays would show
    QCOMPARE(parseBlock(labelled(type, {{"before", wire}, {"after", wire}}), &res), 0);
    QCOMPARE(cellBytes(&res, 0, 1), parsed);
    QCOMPARE(cellBytes(&res, 1, 1), parsed);
    QCOMPARE(cellBytes(&res, 0, 0), text("before"));
    QCOMPARE(cellBytes(&res, 1, 0), text("after"));
    vexadb_free_result(&res);
}

void tst_VexaDbParse::otherKindsHaveNoRows()
{
    vexadb_result res;
    BlockParts parts = twoRows();
    parts.kind = 'u';
    QCOMPARE(parseBlock(parts, &res), 0);
    QCOMPARE(res.valid, 1);
    QCOMPARE(res.kind, int('u'));
    QVERIFY(!res.rows);
    QVERIFY(!res.cols);
    char buffer[16];
    int len = sizeof buffer;
    QCOMPARE(vexadb_read_result(&res, 0, 0, buffer, &len), 3);
    vexadb_coldesc desc;
    QCOMPARE(vexadb_get_desc(&res, 0, &desc), 3);
    QCOMPARE(vexadb_get_col_idx(&res, "name"), -1);
    QCOMPARE(vexadb_sort_result(&res, 0), 3);
    QCOMPARE(vexadb_result_find(&res, 0, "alice"), -1);
    vexadb_free_result(&res);

    QCOMPARE(parseAnswer(answer(doneBlock(4)), &res), 0);
    QCOMPARE(res.kind, 0);
    QCOMPARE(res.spare1, 4u);
    vexadb_free_result(&res);
}

void tst_VexaDbParse::accessorsRefuseBadIndexes_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::newRow("row -1") << -1 << 0;
    QTest::newRow("row NR") << 2 << 0;
    QTest::newRow("column -1") << 0 << -1;
    QTest::newRow("column NC") << 0 << 2;
    QTest::newRow("both far out") << 1000000 << 70000;
}

void tst_VexaDbParse::accessorsRefuseBadIndexes()
{
    QFETCH(int, row);
    QFETCH(int, col);
    vexadb_result res;
    QCOMPARE(parseBlock(twoRows(), &res), 0);
    char buffer[16];
    int len = sizeof buffer;
    QCOMPARE(vexadb_read_result(&res, row, col, buffer, &len), 3);
    QCOMPARE(len, int(sizeof buffer));
    if (row == 0) {
        vexadb_coldesc desc;
        QCOMPARE(vexadb_get_desc(&res, col, &desc), 3);
        QCOMPARE(vexadb_sort_result(&res, col), 3);
        QCOMPARE(vexadb_result_find(&res, col, "alice"), -1);
    }
    vexadb_free_result(&res);
}

void tst_VexaDbParse::sortResult_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QList<QPair<QByteArray, QByteArray>>>("rows");
    QTest::addColumn<QByteArray>("order");

    QTest::newRow("STRING ignoring case") << int(VEXADB_STRING)
        << QList<QPair<QByteArray, QByteArray>>{{"b", text("bravo")}, {"A", text("Alpha")},
                                                 {"c", text("charlie")}, {"a2", text("alpha2")}}
        << QByteArray("A,a2,b,c");
    QTest::newRow("STRING without its zero byte") << int(VEXADB_STRING)
        << QList<QPair<QByteArray, QByteArray>>{{"long", "abcd"}, {"short", "abc"}, {"empty", ""}}
        << QByteArray("empty,short,long");
    QTest::newRow("INT by value, negative first") << int(VEXADB_INT)
        << QList<QPair<QByteArray, QByteArray>>{{"five", be32(5)}, {"minus", be32(0xffffffff)},
                                                 {"zero", be32(0)}, {"big", be32(300)}, {"null", {}}}
        << QByteArray("null,minus,zero,five,big");
    QTest::newRow("IPADDR by address") << int(VEXADB_IPADDR)
        << QList<QPair<QByteArray, QByteArray>>{{"ten", QByteArray("\x0a\x00\x00\x02", 4)},
                                                 {"c0", QByteArray("\xc0\xa8\x00\x01", 4)},
                                                 {"one", QByteArray("\x01\x02\x03\x04", 4)},
                                                 {"ten1", QByteArray("\x0a\x00\x00\x01", 4)}}
        << QByteArray("one,ten1,ten,c0");
    QTest::newRow("PORT by number") << int(VEXADB_PORT)
        << QList<QPair<QByteArray, QByteArray>>{{"web", be16(8080)}, {"smtp", be16(25)},
                                                 {"tls", be16(443)}, {"high", be16(0xff00)}}
        << QByteArray("smtp,tls,web,high");
}

void tst_VexaDbParse::sortResult()
{
    QFETCH(int, type);
    using Rows = QList<QPair<QByteArray, QByteArray>>;
    QFETCH(Rows, rows);
    QFETCH(QByteArray, order);
    vexadb_result res;
    QCOMPARE(parseBlock(labelled(type, rows), &res), 0);
    unsigned char *const data = res.data;
    const QByteArray before(reinterpret_cast<const char *>(data), int(block(labelled(type, rows)).size()));
    QCOMPARE(vexadb_sort_result(&res, 1), 0);
    QCOMPARE(firstColumn(&res), order);
    // the row table moved, the data did not
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(res.data), before.size()), before);
    vexadb_free_result(&res);
}

void tst_VexaDbParse::sortResultRefusals()
{
    vexadb_result res;
    QCOMPARE(vexadb_sort_result(nullptr, 0), 3);
    BlockParts empty = twoRows();
    empty.rows = 0;
    empty.cells.clear();
    QCOMPARE(parseBlock(empty, &res), 0);
    QCOMPARE(vexadb_sort_result(&res, 0), 0);
    QCOMPARE(vexadb_sort_result(&res, 2), 3);
    vexadb_free_result(&res);
    // other types compare equal: every row is still there
    QCOMPARE(parseBlock(labelled(VEXADB_BINARY, {{"x", "\x02"}, {"y", "\x01"}, {"z", "\x03"}}), &res), 0);
    QCOMPARE(vexadb_sort_result(&res, 1), 0);
    QByteArrayList labels = firstColumn(&res).split(',');
    std::sort(labels.begin(), labels.end());
    QCOMPARE(labels, (QByteArrayList{"x", "y", "z"}));
    vexadb_free_result(&res);
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
    QTest::newRow("empty") << 0 << QByteArray("") << -1;
    QTest::newRow("a cell without its zero byte") << 0 << QByteArray("carl") << 2;
    QTest::newRow("not a STRING column") << 1 << QByteArray("7") << -1;
    QTest::newRow("column out of range") << 2 << QByteArray("alice") << -1;
    QTest::newRow("negative column") << -1 << QByteArray("alice") << -1;
}

void tst_VexaDbParse::resultFind()
{
    QFETCH(int, col);
    QFETCH(QByteArray, wanted);
    QFETCH(int, row);
    BlockParts parts = twoRows();
    parts.rows = 3;
    parts.cells += cell("carl") + cell(be32(1));
    vexadb_result res;
    QCOMPARE(parseBlock(parts, &res), 0);
    QCOMPARE(vexadb_result_find(&res, col, wanted.constData()), row);
    vexadb_free_result(&res);
}

void tst_VexaDbParse::datagrams_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<int>("length");     // as received; -1: the datagram's size
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QByteArray>("delivered");

    const QByteArray fill = pattern(1499);
    QTest::newRow("a notice") << QByteArray("\x11" "AB") << -1 << 1500 << QByteArray("AB");
    QTest::newRow("the version byte alone") << QByteArray("\x11") << -1 << 1500 << QByteArray();
    QTest::newRow("another version") << QByteArray("\x10" "AB") << -1 << 1500 << QByteArray();
    QTest::newRow("nothing received") << QByteArray("\x11" "AB") << 0 << 1500 << QByteArray();
    QTest::newRow("exactly the capacity") << "\x11" + fill.left(99) << -1 << 100 << fill.left(99);
    QTest::newRow("one over the capacity") << "\x11" + fill.left(100) << -1 << 100 << QByteArray();
    QTest::newRow("exactly the receive buffer") << "\x11" + fill << -1 << 4000 << fill;
    QTest::newRow("longer than the receive buffer") << "\x11" + fill << 1501 << 4000 << QByteArray();
    QTest::newRow("a negative capacity") << QByteArray("\x11" "AB") << -1 << -5 << QByteArray();
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
    QCOMPARE(len, delivered.size());
    QCOMPARE(buffer.left(len), delivered);
    QCOMPARE(buffer.mid(len), QByteArray(4096 - len, '\x5a'));
}

void tst_VexaDbParse::errorTexts_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QByteArray>("expected");
    const QList<QPair<int, const char *>> table = {
        {0, "Function call was successful"},
        {1, "System or socket error"},
        {2, "Library error (e.g. internal error)"},
        {3, "Invalid parameter(s)"},
        {4, "List maximum size exceeded"},
        {5, "Library resources exhausted, try again later"},
        {102, "Authentication failed"},
        {103, "Server uses different library version"},
        {104, "Still connected; disconnect first"},
        {106, "SQL query parse error"},
        {107, "Wrong SQL query"},
        {108, "SQL internal error"},
        {109, "Table does not exists"},
        {110, "Function does not exists"},
        {111, "Query not possible"},
        {112, "Buffer is small or inproper size"},
        {113, "Access denied"},
        {114, "Column does not exists"},
        {201, "Problems with key file or key generation failed. see error code "},
        {6, "UNKNOWN"},
        {101, "UNKNOWN"},
        {105, "UNKNOWN"},
        {-1, "UNKNOWN"},
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

    QTest::newRow("plain") << QByteArray("abc") << 10 << QByteArray("abc");
    QTest::newRow("every escape") << QByteArray("a\tb\nc\rd'e\"f\\g") << 64
                                  << QByteArray("a\\tb\\nc\\rd\\'e\\\"f\\\\g");
    QTest::newRow("cut at size - 2") << QByteArray("abcdef") << 5 << QByteArray("abc");
    QTest::newRow("an escape pair at the limit") << QByteArray("ab'cd") << 5 << QByteArray("ab\\'");
    QTest::newRow("exactly fitting") << QByteArray("abc") << 5 << QByteArray("abc");
    QTest::newRow("size 2") << QByteArray("abc") << 2 << QByteArray();
    QTest::newRow("size 1") << QByteArray("abc") << 1 << QByteArray();
    QTest::newRow("size 0 writes nothing") << QByteArray("abc") << 0 << QByteArray();
    QTest::newRow("empty source") << QByteArray() << 8 << QByteArray();
}

void tst_VexaDbParse::escapeString()
{
    QFETCH(QByteArray, source);
    QFETCH(int, size);
    QFETCH(QByteArray, expected);
    constexpr int Guard = 8;
    QByteArray buffer(size + Guard, '\x5a');
    const int written = vexadb_escape_string(source.constData(), buffer.data(), size);
    QCOMPARE(written, expected.size());
    // the text, then zeros up to size, and nothing touched beyond
    QCOMPARE(buffer.left(size), expected + QByteArray(size - expected.size(), '\0'));
    QCOMPARE(buffer.mid(size), QByteArray(Guard, '\x5a'));
}

void tst_VexaDbParse::sendBufferFlushesWhenFull_data()
{
    QTest::addColumn<QList<int>>("writes");
    QTest::addColumn<int>("sent");
    QTest::newRow("one byte short") << QList<int>{4095} << 0;
    QTest::newRow("exactly full") << QList<int>{4096} << 4096;
    QTest::newRow("filled by a second write") << QList<int>{4095, 1} << 4096;
    QTest::newRow("spilling over") << QList<int>{3000, 3000} << 4096;
    QTest::newRow("several buffers at once") << QList<int>{10000} << 8192;
    QTest::newRow("nothing") << QList<int>{0, 0} << 0;
}

void tst_VexaDbParse::sendBufferFlushesWhenFull()
{
    QFETCH(QList<int>, writes);
    QFETCH(int, sent);
    SocketPair pair;
    QVERIFY(pair.ours >= 0);
    QByteArray all;
    for (int size : writes) {
        const QByteArray data = pattern(all.size() + size).mid(all.size());
        QCOMPARE(vexadb_sock_write(&pair.layer, data.constData(), size), 1);
        all += data;
    }
    const QByteArray arrived = pair.arrived();
    QCOMPARE(arrived.size(), sent);
    QCOMPARE(pair.layer.fill, all.size() - sent);
    QCOMPARE(arrived, all.left(sent));
    if (pair.layer.fill > 0) {
        QCOMPARE(vexadb_sock_flush(&pair.layer), 1);
        QCOMPARE(pair.arrived(), all.mid(sent));
    }
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
    QCOMPARE(pair.layer.fill, 0);
    QCOMPARE(pair.arrived(), request);
    // a count of 0 succeeds without waiting
    QCOMPARE(vexadb_sock_read(&pair.layer, &reply, 0), 1);
    QCOMPARE(vexadb_sock_reads(&pair.layer, &reply, 0), 1);
}

void tst_VexaDbParse::encipheredWritesFollowTheStream()
{
    SocketPair pair;
    vexadb_cipher_init(&pair.layer, reinterpret_cast<const unsigned char *>(sessionKey.constData()),
                       sessionKey.size());
    RefStream reference(sessionKey);
    QByteArray plain;
    // pieces around the 1500-byte chunk, so the chunks and the cycles meet unevenly
    for (int size : {1, 1499, 1500, 1501, 5000, 7}) {
        const QByteArray data = pattern(size);
        const QByteArray copy = data;
        QCOMPARE(vexadb_sock_writes(&pair.layer, data.constData(), data.size()), 1);
        QCOMPARE(data, copy);  // the caller's bytes are never enciphered in place
        plain += data;
    }
    QCOMPARE(vexadb_sock_flush(&pair.layer), 1);
    const QByteArray wire = pair.arrived();
    QCOMPARE(wire.size(), plain.size());
    QVERIFY(wire != plain);
    QCOMPARE(reference.decrypt(wire), plain);
}

void tst_VexaDbParse::encipheredReadsFollowTheStream()
{
    SocketPair pair;
    vexadb_cipher_init(&pair.layer, reinterpret_cast<const unsigned char *>(sessionKey.constData()),
                       sessionKey.size());
    RefStream reference(sessionKey);
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

void tst_VexaDbParse::exactReadAcrossPieces()
{
    SocketPair pair;
    const QByteArray greeting = QByteArray::fromHex("11000200050000");
    std::thread writer([&] {
        for (int i = 0; i < greeting.size(); ++i) {
            pair.send(greeting.mid(i, 1));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    QByteArray received(greeting.size(), '\0');
    QCOMPARE(vexadb_recv_exact(pair.ours, received.data(), received.size()), 1);
    writer.join();
    QCOMPARE(received, greeting);
}

void tst_VexaDbParse::closedPeerFailsReads()
{
    SocketPair pair;
    QVERIFY(pair.send("abc"));
    pair.closeTheirs();
    char buffer[8];
    errno = 0;
    QCOMPARE(vexadb_sock_read(&pair.layer, buffer, 8), 0);
    QCOMPARE(errno, ECONNRESET);
}

void tst_VexaDbParse::closedPeerFailsWritesWithoutSignal()
{
    SocketPair pair;
    pair.closeTheirs();
    const QByteArray data = pattern(5000);
    errno = 0;
    // The first full buffer goes out at once and meets the closed end.
    QCOMPARE(vexadb_sock_write(&pair.layer, data.constData(), data.size()), 0);
    QCOMPARE(errno, EPIPE);
}

QTEST_GUILESS_MAIN(tst_VexaDbParse)
#include "tst_vexadbparse.moc"
