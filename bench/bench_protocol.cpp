// Answer parsing throughput of the protocol client: a 100,000-row, 10-column
// answer from the stand-in server on loopback, timed from the request to the
// parsed result, and the parse alone over the same block beside a memcpy of
// it in the same run (the parse converts in place, so it cannot beat one pass
// over the bytes by much; the ratio shows how close it comes).

#include "benchgoal.h"
#include "testserver.h"
#include "vexadb.h"
#include "vexadbblocks.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace StandIn;

namespace {

constexpr int Rows = 100000;
constexpr int Repeats = 7;

const QList<Column> benchColumns = {
    {"name", TypeString, true}, {"uid", TypeInt, false},      {"quota", TypeInt64, false},
    {"addr", TypeIpAddr, false}, {"port", TypePort, false},   {"fullname", TypeString, false},
    {"key", TypeBinary, false},  {"groups", TypeIdList, false}, {"password", TypePwd, false},
    {"comment", TypeString, false},
};

const char Statement[] = "select name, uid, quota, addr, port, fullname, key, groups, password, comment from bench";

QList<QStringList> benchRows()
{
    QList<QStringList> rows;
    rows.reserve(Rows);
    for (int i = 0; i < Rows; ++i) {
        rows.append({QStringLiteral("user%1").arg(i), QString::number(i - Rows / 2),
                     QString::number(qint64(i) << 20),
                     QStringLiteral("10.%1.%2.%3").arg(i >> 16 & 255).arg(i >> 8 & 255).arg(i & 255),
                     QString::number(1024 + i % 60000), QStringLiteral("User Number %1").arg(i),
                     QStringLiteral("%1").arg(i, 8, 16, QChar(u'0')), QStringLiteral("staff,group%1").arg(i % 17),
                     QStringLiteral("secret"), i % 3 ? QString() : QStringLiteral("a longer comment on this user")});
    }
    return rows;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double megabytesPerSecond(size_t bytes, double seconds)
{
    return double(bytes) / seconds / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);

    ServerOptions options;
    options.port = 0;
    TestServer server(options);
    QString error;
    if (!server.start(&error)) {
        fprintf(stderr, "bench_protocol: the stand-in server did not start: %s\n", qPrintable(error));
        return 1;
    }
    server.setTable("bench", benchColumns, benchRows());

    vexadb_handle h = nullptr;
    int syserr = 0;
    int version = 0;
    int n1 = 0;
    int n2 = 0;
    int n3 = 0;
    const QByteArray port = QByteArray::number(server.port());
    if (vexadb_open(&h, "127.0.0.1", port.constData(), "Ornel Admin 5.0 (Linux)", 0, &syserr, &version,
                    &n1, &n2, &n3) != 0
        || vexadb_authenticate(h, "admin", "admin", nullptr) != 0) {
        fprintf(stderr, "bench_protocol: no session (%d)\n", syserr);
        return 1;
    }

    // Request to parsed result, through the whole client.
    std::vector<double> roundTrips;
    size_t blockSize = 0;
    for (int i = 0; i < Repeats; ++i) {
        vexadb_result res;
        QElapsedTimer clock;
        clock.start();
        const int status = vexadb_send_query(h, Statement, &res);
        roundTrips.push_back(double(clock.nsecsElapsed()) / 1e9);
        if (status != 0 || res.nrows != Rows) {
            fprintf(stderr, "bench_protocol: the select failed (%d)\n", status);
            return 1;
        }
        vexadb_free_result(&res);
    }

    // The block as it arrives, for the parse alone.
    const QByteArray raw = vexablocks::rawAnswer(h, Statement);
    vexadb_close(h);
    if (raw.size() <= VEXADB_ANSWER_HEADER)
        return 1;
    const QByteArray block = raw.mid(VEXADB_ANSWER_HEADER);
    blockSize = size_t(block.size());

    // Fresh copies made before the clock starts: the parse changes its block.
    std::vector<double> parses;
    std::vector<double> copies;
    std::vector<unsigned char> target(blockSize);
    for (int i = 0; i < Repeats; ++i) {
        auto *data = static_cast<unsigned char *>(malloc(blockSize));
        memcpy(data, block.constData(), blockSize);
        vexadb_result res;
        QElapsedTimer clock;
        clock.start();
        const int status = vexadb_parse_block(&res, data, uint32_t(blockSize));
        parses.push_back(double(clock.nsecsElapsed()) / 1e9);
        if (status != 0)
            return 1;
        vexadb_free_result(&res);

        clock.restart();
        memcpy(target.data(), block.constData(), blockSize);
        copies.push_back(double(clock.nsecsElapsed()) / 1e9);
        if (target[blockSize / 2] != static_cast<unsigned char>(block.at(int(blockSize / 2))))
            return 1;
    }

    const double roundTrip = median(roundTrips);
    const double parse = median(parses);
    const double copy = median(copies);
    printf("answer: %d rows x %d columns, data block %zu bytes\n", Rows, int(benchColumns.size()), blockSize);
    printf("request to parsed result: %.1f ms (%.1f MB/s of block)\n", roundTrip * 1e3,
           megabytesPerSecond(blockSize, roundTrip));
    printf("parse alone:              %.2f ms, %.0f MB/s\n", parse * 1e3, megabytesPerSecond(blockSize, parse));
    printf("memcpy of the block:      %.2f ms, %.0f MB/s\n", copy * 1e3, megabytesPerSecond(blockSize, copy));
    printf("parse / memcpy throughput: %.3f (memcpy is %.1fx faster)\n", copy / parse, parse / copy);
    printGoal("answer parse / memcpy of the block, throughput", copy / parse, "x", ">=", 0.6);
    return 0;
}
