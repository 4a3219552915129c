#include "dbconn.h"
#include "dbreq.h"
#include "standinconnection.h"
#include "wndprogress.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace StandIn;

namespace {

// A table whose cells the tests know byte for byte.
void addCellsTable(TestServer &server)
{
    server.setTable("cells", {{"s", TypeString, true}, {"i", TypeInt, false}},
                    {{"hello", "7"}, {"", "-1"}});
}

} // namespace

class TestDBReq : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readCell_data();
    void readCell();
    void columnDescription_data();
    void columnDescription();
    void failedStatement_data();
    void failedStatement();
    void rowCount_data();
    void rowCount();
    void waitWithoutIndicatorHoldsInputBack();
    void waitWithIndicatorOverTheDefaultParent();
    void requestDestroyedDuringItsOwnWait();
    void requestInsertedTwiceIsSentOnce();
    void requestNeverInsertedReadsNothing();

private:
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ScopedConnection> m_conn;
};

void TestDBReq::init()
{
    m_server = startStandIn();
    addCellsTable(*m_server);
    m_conn = std::make_unique<ScopedConnection>(m_server->port());
    QVERIFY(m_conn->connect());
}

void TestDBReq::cleanup()
{
    m_conn.reset();
    m_server.reset();
}

void TestDBReq::readCell_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<bool>("copied");
    QTest::addColumn<int>("length");
    QTest::addColumn<QByteArray>("bytes");

    // Text cells carry their zero byte.
    QTest::newRow("text") << 0 << 0 << 64 << true << 6 << QByteArray("hello", 6);
    QTest::newRow("text, exact fit") << 0 << 0 << 6 << true << 6 << QByteArray("hello", 6);
    QTest::newRow("text, buffer too small") << 0 << 0 << 3 << false << 6 << QByteArray();
    QTest::newRow("empty text") << 1 << 0 << 64 << true << 1 << QByteArray("", 1);
    QTest::newRow("number") << 0 << 1 << 64 << true << 4 << QByteArray();
    QTest::newRow("row past the end") << 2 << 0 << 64 << false << 64 << QByteArray();
    QTest::newRow("negative column") << 0 << -1 << 64 << false << 64 << QByteArray();
    QTest::newRow("column past the end") << 0 << 2 << 64 << false << 64 << QByteArray();
}

void TestDBReq::readCell()
{
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(int, capacity);
    QFETCH(bool, copied);
    QFETCH(int, length);
    QFETCH(QByteArray, bytes);

    DBReq request(QStringLiteral("select s, i from cells"), false);
    m_conn->get()->insert(&request);
    request.wait(false, nullptr);
    QCOMPARE(request.m_status, 0);

    QByteArray buffer(capacity, 'z');
    int len = capacity;
    QCOMPARE(request.read(row, col, buffer.data(), &len), copied);
    QCOMPARE(len, length);
    if (!copied)
        QCOMPARE(buffer.at(0), '\0');
    else if (!bytes.isNull())
        QCOMPARE(buffer.left(len), bytes);
}

void TestDBReq::columnDescription_data()
{
    QTest::addColumn<bool>("withDesc");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("nameSize");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("type");

    QTest::newRow("text column") << true << 0 << 16 << true << QByteArray("s") << int(TypeString);
    QTest::newRow("number column") << true << 1 << 16 << true << QByteArray("i") << int(TypeInt);
    QTest::newRow("no such column") << true << 2 << 16 << false << QByteArray() << -1;
    QTest::newRow("made without descriptions") << false << 0 << 16 << false << QByteArray() << -1;
}

void TestDBReq::columnDescription()
{
    QFETCH(bool, withDesc);
    QFETCH(int, col);
    QFETCH(int, nameSize);
    QFETCH(bool, found);
    QFETCH(QByteArray, name);
    QFETCH(int, type);

    DBReq request(QStringLiteral("select s, i from cells"), withDesc);
    m_conn->get()->insert(&request);
    request.wait(false, nullptr);
    QCOMPARE(request.m_status, 0);

    QByteArray nameBuffer(nameSize, 'z');
    int gotType = -1;
    int flags = -1;
    QCOMPARE(request.get_desc(col, nameBuffer.data(), nameSize, &gotType, &flags, nullptr), found);
    QCOMPARE(gotType, type);
    if (found)
        QCOMPARE(QByteArray(nameBuffer.constData()), name);
}

void TestDBReq::failedStatement_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("error");

    QTest::newRow("unknown table") << "select a from nosuchtable" << 109
                                   << QByteArray("Table does not exists");
    QTest::newRow("unknown column") << "select nosuchcolumn from cells" << 114
                                    << QByteArray("Column does not exists");
    QTest::newRow("parse error") << "selec s from cells" << 106
                                 << QByteArray("SQL query parse error");
    QTest::newRow("refused by the server") << "select s from cells where s='private'" << 113
                                           << QByteArray("Access denied");
    // The error number is added below, once known.
    QTest::newRow("connection dropped") << "select s from cells where s='drop'" << 1
                                        << QByteArray("System or socket error, code ");
}

void TestDBReq::failedStatement()
{
    QFETCH(QString, statement);
    QFETCH(int, status);
    QFETCH(QByteArray, error);

    QVERIFY(m_server->refuse("'private'", 113));
    QVERIFY(m_server->dropAt("'drop'"));
    DBReq request(statement, false);
    m_conn->get()->insert(&request);
    request.wait(false, nullptr);

    QCOMPARE(request.m_status, status);
    QCOMPARE(request.rowCount(), 0);
    if (status == 1) {
        QVERIFY(request.m_errno != 0);
        error += QByteArray::number(request.m_errno);
    } else {
        QCOMPARE(request.m_errno, 0);
    }
    QCOMPARE(QByteArray(request.m_error), error);
    // A failed statement leaves the connection's state alone.
    QCOMPARE(m_conn->get()->m_state.load(), 1);
}

void TestDBReq::rowCount_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("rows");

    QTest::newRow("two rows") << "select s, i from cells" << 2;
    QTest::newRow("no row") << "select s from cells where s='none'" << 0;
    QTest::newRow("insert") << "insert cells set s='new', i='1'" << 0;
}

void TestDBReq::rowCount()
{
    QFETCH(QString, statement);
    QFETCH(int, rows);

    DBReq request(statement, false);
    m_conn->get()->insert(&request);
    request.wait(false, nullptr);
    QCOMPARE(request.m_status, 0);
    QCOMPARE(request.rowCount(), rows);
}

void TestDBReq::waitWithoutIndicatorHoldsInputBack()
{
    QVERIFY(m_server->delay("from cells", 400, 1));
    QPushButton elsewhere(QStringLiteral("Close the page"));
    elsewhere.show();
    QSignalSpy clicks(&elsewhere, &QPushButton::clicked);
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
    ticker.start(20);
    QTimer::singleShot(100, this, [&] { QTest::mouseClick(&elsewhere, Qt::LeftButton); });

    DBReq request(QStringLiteral("select s from cells"), false);
    m_conn->get()->insert(&request);
    request.wait(false, nullptr);

    QCOMPARE(request.m_status, 0);
    QCOMPARE(clicks.count(), 0);
    QVERIFY(ticks >= 5);
    // Once the wait is over, input flows again.
    QTest::mouseClick(&elsewhere, Qt::LeftButton);
    QCOMPARE(clicks.count(), 1);
}

void TestDBReq::waitWithIndicatorOverTheDefaultParent()
{
    QVERIFY(m_server->delay("from cells", 600, 1));
    QWidget mainWindow;
    mainWindow.resize(500, 300);
    mainWindow.show();
    WndProgress::setDefaultParent(&mainWindow);

    QString shownText;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this, [&] {
        const auto *indicator = mainWindow.findChild<WndProgress *>();
        if (indicator && indicator->isVisible())
            shownText = indicator->findChild<QLabel *>(QStringLiteral("txtLabel"))->text();
    });
    watcher.start(20);

    DBReq request(QStringLiteral("select s from cells"), false);
    m_conn->get()->insert(&request);
    request.wait(true, nullptr);
    WndProgress::setDefaultParent(nullptr);

    QCOMPARE(request.m_status, 0);
    QCOMPARE(shownText, QStringLiteral("Transfering data ..."));
    QVERIFY(!mainWindow.findChild<WndProgress *>());
}

void TestDBReq::requestDestroyedDuringItsOwnWait()
{
    QVERIFY(m_server->delay("'slow'", 500, 1));
    auto *request = new DBReq(QStringLiteral("select s from cells where s='slow'"), false);
    m_conn->get()->insert(request);
    QTimer::singleShot(100, this, [request] { delete request; });
    request->wait(false, nullptr);

    DBReq next(QStringLiteral("select s, i from cells"), false);
    m_conn->get()->insert(&next);
    next.wait(false, nullptr);
    QCOMPARE(next.m_status, 0);
    QCOMPARE(next.rowCount(), 2);
}

void TestDBReq::requestInsertedTwiceIsSentOnce()
{
    DBReq request(QStringLiteral("select s from cells"), false);
    m_conn->get()->insert(&request);
    m_conn->get()->insert(&request);
    request.wait(false, nullptr);
    m_conn->get()->insert(&request);

    DBReq next(QStringLiteral("select i from cells"), false);
    m_conn->get()->insert(&next);
    next.wait(false, nullptr);
    QCOMPARE(m_server->journal(m_server->sessions().at(0).id),
             (QStringList{"select s from cells", "select i from cells"}));
}

void TestDBReq::requestNeverInsertedReadsNothing()
{
    DBReq request(QStringLiteral("select s from cells"), true);
    QVERIFY(!request.m_finished);
    char buffer[8] = "zzzzzzz";
    int len = sizeof buffer;
    QVERIFY(!request.read(0, 0, buffer, &len));
    QCOMPARE(buffer[0], '\0');
    QVERIFY(!request.get_desc(0, buffer, sizeof buffer, nullptr, nullptr, nullptr));
    QCOMPARE(request.rowCount(), 0);
}

QTEST_MAIN(TestDBReq)
#include "tst_dbreq.moc"
