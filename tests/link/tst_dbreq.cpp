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
    void waitHoldsInputBack_data();
    void waitHoldsInputBack();
    void requestDestroyedDuringItsOwnWait();
    void requestInsertedTwiceIsSentOnce();

private:
    // Sends statement and waits for its answer.
    std::unique_ptr<DBReq> served(const QString &statement, bool withDesc = false)
    {
        auto request = std::make_unique<DBReq>(statement, withDesc);
        m_conn->get()->insert(request.get());
        request->wait(false, nullptr);
        return request;
    }

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ScopedConnection> m_conn;
};

void TestDBReq::init()
{
    m_server = startStandIn();
    m_server->setTable("cells", {{"s", TypeString, true}, {"i", TypeInt, false}}, {{"hello", "7"}, {"", "-1"}});
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
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("capacity");
    QTest::addColumn<bool>("copied");
    QTest::addColumn<int>("length");

    const QString select = QStringLiteral("select s, i from cells");
    // Text cells carry their zero byte.
    QTest::newRow("text") << select << 2 << 0 << 64 << true << 6;
    QTest::newRow("text, exact fit") << select << 2 << 0 << 6 << true << 6;
    QTest::newRow("text, buffer too small") << select << 2 << 0 << 3 << false << 6;
    QTest::newRow("row past the end") << select << 2 << 2 << 64 << false << 64;
    QTest::newRow("no row") << "select s from cells where s='none'" << 0 << 0 << 64 << false << 64;
    QTest::newRow("not a row set") << "insert cells set s='new', i='1'" << 0 << 0 << 64 << false << 64;
    QTest::newRow("never inserted") << QString() << 0 << 0 << 64 << false << 64;
}

void TestDBReq::readCell()
{
    QFETCH(QString, statement);
    QFETCH(int, rows);
    QFETCH(int, row);
    QFETCH(int, capacity);
    QFETCH(bool, copied);
    QFETCH(int, length);

    auto request = statement.isNull() ? std::make_unique<DBReq>(QStringLiteral("select s from cells"), true)
                                      : served(statement);
    QCOMPARE(request->m_status, 0);
    QCOMPARE(request->rowCount(), rows);
    QByteArray buffer(capacity, 'z');
    int len = capacity;
    QCOMPARE(request->read(row, 0, buffer.data(), &len), copied);
    QCOMPARE(len, length);
    QCOMPARE(buffer.left(copied ? len : 1), copied ? QByteArray("hello", 6) : QByteArray(1, '\0'));
}

void TestDBReq::columnDescription_data()
{
    QTest::addColumn<bool>("withDesc");
    QTest::addColumn<int>("col");
    QTest::addColumn<QByteArray>("name"); // null: not found
    QTest::addColumn<int>("type");

    QTest::newRow("text column") << true << 0 << QByteArray("s") << int(TypeString);
    QTest::newRow("number column") << true << 1 << QByteArray("i") << int(TypeInt);
    QTest::newRow("no such column") << true << 2 << QByteArray() << -1;
    QTest::newRow("made without descriptions") << false << 0 << QByteArray() << -1;
}

void TestDBReq::columnDescription()
{
    QFETCH(bool, withDesc);
    QFETCH(int, col);
    QFETCH(QByteArray, name);
    QFETCH(int, type);

    const auto request = served(QStringLiteral("select s, i from cells"), withDesc);
    char nameBuffer[16];
    int gotType = -1;
    int flags = -1;
    QCOMPARE(request->get_desc(col, nameBuffer, sizeof nameBuffer, &gotType, &flags, nullptr), !name.isNull());
    QCOMPARE(gotType, type);
    if (!name.isNull())
        QCOMPARE(QByteArray(nameBuffer), name);
}

void TestDBReq::failedStatement_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("error");

    QTest::newRow("unknown table") << "select a from nosuchtable" << 109 << QByteArray("Table does not exists");
    // The error number is added below, once known.
    QTest::newRow("connection dropped") << "select s from cells where s='drop'" << 1
                                        << QByteArray("System or socket error, code ");
}

void TestDBReq::failedStatement()
{
    QFETCH(QString, statement);
    QFETCH(int, status);
    QFETCH(QByteArray, error);

    QVERIFY(m_server->dropAt("'drop'"));
    const auto request = served(statement);
    QCOMPARE(request->m_status, status);
    QCOMPARE(request->rowCount(), 0);
    if (status == 1) {
        QVERIFY(request->m_errno != 0);
        error += QByteArray::number(request->m_errno);
    } else {
        QCOMPARE(request->m_errno, 0);
    }
    QCOMPARE(QByteArray(request->m_error), error);
    // A failed statement leaves the connection's state alone.
    QCOMPARE(m_conn->get()->m_state.load(), 1);
}

void TestDBReq::waitHoldsInputBack_data()
{
    QTest::addColumn<bool>("progress");
    QTest::newRow("without an indicator") << false;
    QTest::newRow("with the indicator over the default parent") << true;
}

void TestDBReq::waitHoldsInputBack()
{
    QFETCH(bool, progress);
    QVERIFY(m_server->delay("from cells", 600, 1));
    QWidget mainWindow;
    mainWindow.resize(500, 300);
    auto *elsewhere = new QPushButton(QStringLiteral("Close the page"), &mainWindow);
    mainWindow.show();
    WndProgress::setDefaultParent(&mainWindow);
    QSignalSpy clicks(elsewhere, &QPushButton::clicked);
    int ticks = 0;
    QString shownText;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] {
        ++ticks;
        const auto *indicator = mainWindow.findChild<WndProgress *>();
        if (indicator && indicator->isVisible())
            shownText = indicator->findChild<QLabel *>(QStringLiteral("txtLabel"))->text();
    });
    ticker.start(20);
    QTimer::singleShot(100, this, [&] { QTest::mouseClick(elsewhere, Qt::LeftButton); });

    DBReq request(QStringLiteral("select s from cells"), false);
    m_conn->get()->insert(&request);
    request.wait(progress, nullptr);
    WndProgress::setDefaultParent(nullptr);
    QCOMPARE(request.m_status, 0);
    QCOMPARE(clicks.count(), 0);
    QVERIFY(ticks >= 5);  // timers keep running
    QCOMPARE(shownText, progress ? QStringLiteral("Transfering data ...") : QString());
    QVERIFY(!mainWindow.findChild<WndProgress *>());
    // Once the wait is over, input flows again.
    QTest::mouseClick(elsewhere, Qt::LeftButton);
    QCOMPARE(clicks.count(), 1);
}

void TestDBReq::requestDestroyedDuringItsOwnWait()
{
    QVERIFY(m_server->delay("'slow'", 500, 1));
    auto *request = new DBReq(QStringLiteral("select s from cells where s='slow'"), false);
    m_conn->get()->insert(request);
    QTimer::singleShot(100, this, [request] { delete request; });
    request->wait(false, nullptr);

    const auto next = served(QStringLiteral("select s, i from cells"));
    QCOMPARE(next->m_status, 0);
    QCOMPARE(next->rowCount(), 2);
}

void TestDBReq::requestInsertedTwiceIsSentOnce()
{
    DBReq request(QStringLiteral("select s from cells"), false);
    m_conn->get()->insert(&request);
    m_conn->get()->insert(&request);
    request.wait(false, nullptr);
    m_conn->get()->insert(&request);
    served(QStringLiteral("select i from cells"));
    QCOMPARE(m_server->journal(m_server->sessions().at(0).id),
             (QStringList{"select s from cells", "select i from cells"}));
}

QTEST_MAIN(TestDBReq)
#include "tst_dbreq.moc"
