// The protocol client's byte-level parts without a server; the enciphered socket layer is
// checked against the OpenSSL-based reference stream.

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
#include <tuple>
#include <utility>

using namespace vexablocks;

namespace {

// A parsed answer, released with the test's scope. The block goes into a buffer of
// exactly its size, as vexadb_send_query allocates it, so a sanitizer sees any overread.
struct Parsed
{
    vexadb_result res;
    int status;

    explicit Parsed(const QByteArray &answerBytes)
    {
        const QByteArray block = answerBytes.mid(VEXADB_ANSWER_HEADER);
        auto *data = static_cast<unsigned char *>(malloc(size_t(qMax<qsizetype>(block.size(), 1))));
        memcpy(data, block.constData(), size_t(block.size()));
        status = vexadb_parse_block(&res, data, uint32_t(block.size()));
    }
    explicit Parsed(const BlockParts &parts) : Parsed(answer(block(parts))) {}
    ~Parsed() { vexadb_free_result(&res); }

    QByteArray cell(int row, int col) const
    {
        char buffer[256];
        int len = sizeof buffer;
        return vexadb_read_result(&res, row, col, buffer, &len) == 0 ? QByteArray(buffer, len) : "<error>";
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
    int fds[2] = {-1, -1};
    vexadb_sock layer = {};

    SocketPair()
    {
        socketpair(AF_UNIX, SOCK_STREAM, 0, fds);
        vexadb_socket_init(&layer, fds[0]);
    }
    ~SocketPair()
    {
        close(fds[0]);
        if (fds[1] >= 0)
            close(fds[1]);
    }
    // Whatever has arrived at the far end so far.
    QByteArray arrived() const
    {
        QByteArray all;
        char buffer[8192];
        for (ssize_t n; (n = recv(fds[1], buffer, sizeof buffer, MSG_DONTWAIT)) > 0;)
            all.append(buffer, int(n));
        return all;
    }
    bool send(const QByteArray &bytes) const
    {
        return ::send(fds[1], bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL) == bytes.size();
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
    // A write to a closed peer must fail, never raise SIGPIPE (which would end this test).
    void initTestCase() { signal(SIGPIPE, SIG_DFL); }

    void hostileAnswers_data();
    void hostileAnswers();
    void sortAndFind_data();
    void sortAndFind();
    void errorTexts();
    void escapeString();

    void sendBufferFlushesWhenFull_data();
    void sendBufferFlushesWhenFull();
    void streamFollowsTheReference();
    void closedPeerFailsWithoutSignal();
};

void tst_VexaDbParse::hostileAnswers_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");

    // Lengths reaching outside the block are refused (2); sound but unusual answers pass.
    const BlockParts base = twoRows();
    const QByteArray good = block(base);
    auto with = [&](auto change) {
        BlockParts parts = base;
        change(parts);
        return answer(block(parts));
    };
    auto withDescriptors = [&](const QByteArray &d) { return with([&](BlockParts &p) { p.descriptors = d; }); };
    auto withCells = [&](const QByteArray &c) { return with([&](BlockParts &p) { p.cells = c; }); };
    auto oneCell = [](int type, const QByteArray &cellBytes) {
        BlockParts parts;
        parts.columns = 1;
        parts.rows = 1;
        parts.descriptors = descriptor(type, "c");
        parts.cells = cellBytes;
        return answer(block(parts));
    };
    const QByteArray name = descriptor(1, "name");
    const QByteArray alice = cell(text("alice")) + cell(be32(7));

    QTest::newRow("a well-formed row set") << answer(good) << 0;
    QTest::newRow("another kind, its counts unused") << with([](BlockParts &p) { p.kind = 0; p.rows = 1000; }) << 0;
    QTest::newRow("a longer header") << with([](BlockParts &p) { p.headerWords = 6; }) << 0;
    QTest::newRow("bytes after the last row") << answer(good + QByteArray(9, 'x')) << 0;
    QTest::newRow("a longer descriptor") << withDescriptors(rawDescriptor(7, 1, 5, text("name")) + descriptor(2, "n"))
                                         << 0;
    QTest::newRow("no rows and no columns") << with([](BlockParts &p) { p = BlockParts(); }) << 0;
    QTest::newRow("rows without columns") << with([](BlockParts &p) { p.columns = 0; p.descriptors.clear(); }) << 0;
    QTest::newRow("2^32-1 rows without columns")
        << with([](BlockParts &p) { p = BlockParts(); p.rows = 0xffffffff; }) << 0;
    const QByteArray otherKind = block(BlockParts{4, 0, 3, 7, {}, -1, {}});
    QTest::newRow("another kind, its fixed fields alone") << answer(otherKind.left(16)) << 0;
    QTest::newRow("another kind, its header words past the block") << answer("\xff" + otherKind.mid(1, 15)) << 0;

    QTest::newRow("D too small for the header") << answer(good.left(12)) << 2;
    QTest::newRow("a header shorter than its fields") << with([](BlockParts &p) { p.headerWords = 2; }) << 2;
    QTest::newRow("a header past the block") << answer("\xff" + good.mid(1)) << 2;
    QTest::newRow("E past D") << with([](BlockParts &p) { p.descriptorBytes = p.descriptors.size() + 1000; }) << 2;
    QTest::newRow("E near 2^32") << with([](BlockParts &p) { p.descriptorBytes = 0xfffffffc; }) << 2;
    QTest::newRow("P too small for the type and flags") << withDescriptors(rawDescriptor(2, 1, 5, "name") + name) << 2;
    QTest::newRow("P past the descriptor area") << withDescriptors(name + char(200) + QByteArray(3, '\2')) << 2;
    QTest::newRow("N past the descriptor area") << withDescriptors(name + rawDescriptor(3, 2, 40, text("n"))) << 2;
    QTest::newRow("N near 2^32") << withDescriptors(name + rawDescriptor(3, 2, 0xfffffff0, text("n"))) << 2;
    QTest::newRow("a name without its zero byte") << withDescriptors(name + rawDescriptor(3, 2, 1, "n")) << 2;
    QTest::newRow("more columns than descriptors") << with([](BlockParts &p) { p.columns = 3; }) << 2;
    QTest::newRow("V near 2^32") << withCells(cell(text("alice")) + be32(0xfffffffc) + be32(7)) << 2;
    QTest::newRow("a row cut inside a length word") << withCells(alice + cell(text("bob")) + be16(4)) << 2;
    QTest::newRow("NR huge") << with([](BlockParts &p) { p.rows = 0xffffffff; }) << 2;
    QTest::newRow("NR one more than the rows sent") << with([](BlockParts &p) { p.rows = 3; }) << 2;
    QTest::newRow("a row set of its fixed fields alone") << answer(good.left(16)) << 2;
    QTest::newRow("an INT64 cell too short for its number") << oneCell(3, cell(be32(5))) << 2;
    QTest::newRow("a list item length near 2^32") << oneCell(8, cell(be32(0xfffffffe) + be32(0))) << 2;
    QTest::newRow("a list whose end word is cut") << oneCell(8, cell(be32(4) + text("abc") + be16(0))) << 2;
}

void tst_VexaDbParse::hostileAnswers()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);
    Parsed parsed(bytes);
    QCOMPARE(parsed.status, expected);
    QCOMPARE(parsed.res.valid, expected == 0);
    if (expected != 0) {
        QVERIFY(!parsed.res.data && !parsed.res.tables);
        return;
    }
    // An accepted answer keeps the row count it declared.
    QCOMPARE(parsed.res.nrows, vexadb_load_be32(reinterpret_cast<const unsigned char *>(bytes.constData()) + 20));
    if (parsed.res.kind != VEXADB_KIND_ROWSET)
        QVERIFY(!parsed.res.rows && !parsed.res.cols && parsed.cell(0, 0) == "<error>");
    // Rows without columns have no cell to read or sort by.
    if (parsed.res.ncols == 0) {
        QCOMPARE(parsed.cell(0, 0), QByteArray("<error>"));
        QCOMPARE(vexadb_sort_result(&parsed.res, 0), int(VEXADB_EPARAM));
        return;
    }
    // every cell of an accepted answer can be read whole
    for (quint32 r = 0; r < (parsed.res.kind == VEXADB_KIND_ROWSET ? parsed.res.nrows : 0); ++r) {
        for (int c = 0; c < parsed.res.ncols; ++c)
            QVERIFY(parsed.cell(int(r), c) != "<error>");
    }
}

void tst_VexaDbParse::sortAndFind_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<Pairs>("rows");
    QTest::addColumn<QByteArray>("order");

    QTest::newRow("STRING ignoring case, with and without the zero byte") << int(VEXADB_STRING)
        << Pairs{{"b", text("bravo")}, {"A", text("Alpha")}, {"a2", "alpha2"}, {"e", ""}} << QByteArray("e,A,a2,b");
    QTest::newRow("INT as unsigned words, null first") << int(VEXADB_INT)
        << Pairs{{"five", be32(5)}, {"minus", be32(0xffffffff)}, {"null", {}}, {"top", be32(0x80000000)}}
        << QByteArray("null,five,top,minus");
}

void tst_VexaDbParse::sortAndFind()
{
    QFETCH(int, type);
    QFETCH(Pairs, rows);
    QFETCH(QByteArray, order);
    Parsed parsed(labelled(type, rows));
    QCOMPARE(vexadb_sort_result(&parsed.res, 1), 0);
    QByteArrayList labels;
    for (quint32 r = 0; r < parsed.res.nrows; ++r)
        labels.append(parsed.cell(int(r), 0).chopped(1));
    QCOMPARE(labels.join(','), order);
    // Finds STRING cells only, exactly, with or without their zero byte.
    QCOMPARE(vexadb_result_find(&parsed.res, 0, "minus"), type == VEXADB_INT ? int(order.split(',').indexOf("minus")) : -1);
    QCOMPARE(vexadb_result_find(&parsed.res, 1, "alpha2"), type == VEXADB_STRING ? 2 : -1);
    QCOMPARE(vexadb_result_find(&parsed.res, 1, "ALPHA2"), -1);
    // an empty cell reads as "", but only a STRING column is searched
    QCOMPARE(vexadb_result_find(&parsed.res, 1, ""), type == VEXADB_STRING ? 0 : -1);
}

void tst_VexaDbParse::errorTexts()
{
    const QList<QPair<int, QByteArray>> table = {
        {0, "Function call was successful"}, {1, "System or socket error"},
        {2, "Library error (e.g. internal error)"}, {3, "Invalid parameter(s)"},
        {4, "List maximum size exceeded"}, {5, "Library resources exhausted, try again later"},
        {102, "Authentication failed"}, {103, "Server uses different library version"},
        {104, "Still connected; disconnect first"}, {106, "SQL query parse error"},
        {107, "Wrong SQL query"}, {108, "SQL internal error"}, {109, "Table does not exists"},
        {110, "Function does not exists"}, {111, "Query not possible"},
        {112, "Buffer is small or inproper size"}, {113, "Access denied"}, {114, "Column does not exists"},
        {201, "Problems with key file or key generation failed. see error code "},
        {6, "UNKNOWN"}, {105, "UNKNOWN"}, {-1, "UNKNOWN"}};
    for (const auto &[code, expected] : table)
        QCOMPARE(QByteArray(vexadb_error_desc(code)), expected);
}

void tst_VexaDbParse::escapeString()
{
    // The source, the buffer's size, and the text it receives (then zeros up to the size).
    const QList<std::tuple<QByteArray, int, QByteArray>> cases = {
        {"a\tb\nc\rd'e\"f\\g", 64, "a\\tb\\nc\\rd\\'e\\\"f\\\\g"},
        {"ab'cd", 5, "ab\\'"},   // an escape pair at the limit
        {"abc", 0, ""}};
    for (const auto &[source, size, expected] : cases) {
        QByteArray buffer(size + 8, '\x5a');
        QCOMPARE(vexadb_escape_string(source.constData(), buffer.data(), size), expected.size());
        QCOMPARE(buffer, expected + QByteArray(size - expected.size(), '\0') + QByteArray(8, '\x5a'));
    }
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
    QCOMPARE(vexadb_sock_flush(&pair.layer), 1);
    QCOMPARE(pair.arrived(), all.mid(sent));
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
    QCOMPARE(reference.decrypt(pair.arrived()), sent);

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
    close(std::exchange(pair.fds[1], -1));
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
