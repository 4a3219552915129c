#include "activewindow.h"
#include "dbconn.h"
#include "dbreq.h"
#include "indicatorabort.h"
#include "progresswait.h"
#include "standinconnection.h"
#include "waitscope.h"
#include "wakewatch.h"
#include "wndprogress.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QHash>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include <poll.h>
#include <unistd.h>

using namespace StandIn;

namespace {

// The wake signal as no watch has drained it: every raise so far is taken out.
void drainWakeSignal()
{
    quint64 count = 0;
    while (read(WakeWatch::descriptor(), &count, sizeof count) > 0) {
    }
}

// Whether a raise is pending, looking for at most msecs (the raise follows what it
// announces within microseconds).
bool wakeSignalRaised(int msecs)
{
    pollfd signal = {WakeWatch::descriptor(), POLLIN, 0};
    return poll(&signal, 1, msecs) == 1 && (signal.revents & POLLIN);
}

// Looks at done() now and then without running the event loop, so that no watch drains
// the signal meanwhile.
template<typename Condition>
bool becomesTrueUnwatched(Condition done)
{
    for (int look = 0; look < 5000; ++look) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

enum WakeCause { StatementAnswered, StatementRefused, ConnectionDropped, SetUpDone, SetUpRefused };

// Holds a worker right after it raised the wake signal, until the GUI thread has done with
// that wake: its wait ended, or it went to sleep again. So whatever the worker would publish
// only after its raise is not there when the GUI thread looks. The raise held is the first
// after `passing` others, all raised by the one worker the test lets run meanwhile. From
// countSleeps() until waitEnded() the GUI thread's sleeps (its event loop about to block)
// are counted: before the held raise, and after its wake was taken.
class RaiseHold : public QObject
{
public:
    explicit RaiseHold(int passing)
    {
        s_toPass.store(passing);
        s_raised.store(false);
        s_released.store(false);
        WakeWatch::setRaiseObserver(&RaiseHold::holdWorker);
    }
    ~RaiseHold() override { waitEnded(); }
    Q_DISABLE_COPY(RaiseHold)

    void countSleeps()
    {
        drainWakeSignal();
        connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
                &RaiseHold::noteSleep);
    }

    // The GUI thread is done with the wake: the worker goes on.
    void waitEnded()
    {
        disconnect(QAbstractEventDispatcher::instance(), nullptr, this, nullptr);
        s_released.store(true);
        WakeWatch::setRaiseObserver(nullptr);
    }

    int sleepsBeforeWake() const { return m_before; }
    int sleepsAfterWake() const { return m_after; }

private:
    static void holdWorker()
    {
        if (s_toPass.fetch_sub(1) > 0)
            return;
        s_raised.store(true);
        // Not a measure, only a bound: a test gone wrong must not keep the worker for ever.
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!s_released.load() && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::microseconds(50));
    }

    void noteSleep()
    {
        if (!s_raised.load()) {
            ++m_before;
            return;
        }
        // Not taken yet: this sleep ends at once, with the wake.
        if (wakeSignalRaised(0))
            return;
        // The wake was taken, and the wait sleeps on.
        ++m_after;
        s_released.store(true);
    }

    static inline std::atomic<int> s_toPass{0};
    static inline std::atomic<bool> s_raised{false};
    static inline std::atomic<bool> s_released{false};
    int m_before = 0;
    int m_after = 0;
};

// The waits whose "&Abort" ends them.
enum AbortedWait { WaitWithIndicator, WaitWithoutParent, WaitUnderAnIndicatorStanding };

} // namespace

class TestDBReq : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readCell_data();
    void readCell();
    void cellInPlace_data();
    void cellInPlace();
    void columnDescription();
    void refusedStatement();
    void waitHoldsInputBack_data();
    void waitHoldsInputBack();
    void waitIsAbortedAtItsIndicatorWhereItShows_data();
    void waitIsAbortedAtItsIndicatorWhereItShows();
    void waitUnderAStandingIndicatorShowsNoSecond();
    void waitIsMarkedOnTheStack_data();
    void waitIsMarkedOnTheStack();
    void waitSleepsUntilWoken();
    void workerRaisesTheWake_data();
    void workerRaisesTheWake();
    void waitEndsWithTheWake_data();
    void waitEndsWithTheWake();
    void requestDestroyedDuringItsOwnWait();
    void requestDestroyedWhileItsAbortIsHandled_data();
    void requestDestroyedWhileItsAbortIsHandled();
    void requestInsertedTwiceIsSentOnce();

private:
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
    QTest::addColumn<QString>("statement");  // null: never inserted
    QTest::addColumn<int>("capacity");
    QTest::addColumn<bool>("copied");
    QTest::addColumn<int>("length");

    const QString select = QStringLiteral("select s, i from cells");
    QTest::newRow("text with its zero byte") << select << 64 << true << 6;
    QTest::newRow("buffer too small") << select << 3 << false << 6;
    QTest::newRow("not a row set") << "insert cells set s='new', i='1'" << 64 << false << 64;
    QTest::newRow("never inserted") << QString() << 64 << false << 64;
}

void TestDBReq::readCell()
{
    QFETCH(QString, statement);
    QFETCH(int, capacity);
    QFETCH(bool, copied);
    QFETCH(int, length);

    auto request = statement.isNull() ? std::make_unique<DBReq>(QStringLiteral("select s from cells"), true)
                                      : served(statement);
    QCOMPARE(request->rowCount(), statement.startsWith("select") ? 2 : 0);
    QByteArray buffer(capacity, 'z');
    int len = capacity;
    QCOMPARE(request->read(0, 0, buffer.data(), &len), copied);
    QCOMPARE(len, length);
    // a failed read leaves an empty text behind
    QCOMPARE(buffer.left(copied ? len : 1), copied ? QByteArray("hello", 6) : QByteArray(1, '\0'));
}

void TestDBReq::cellInPlace_data()
{
    QTest::addColumn<QString>("statement");  // null: never inserted
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QByteArray>("bytes");

    const QString select = QStringLiteral("select s, i from cells");
    QTest::newRow("text with its zero byte") << select << 0 << 0 << true << QByteArray("hello", 6);
    QTest::newRow("an empty text is its zero byte") << select << 1 << 0 << true << QByteArray(1, '\0');
    QTest::newRow("an integer in host order") << select << 1 << 1 << true << QByteArray(4, '\xff');
    QTest::newRow("row past the answer") << select << 2 << 0 << false << QByteArray();
    QTest::newRow("negative row") << select << -1 << 0 << false << QByteArray();
    QTest::newRow("column past the answer") << select << 0 << 2 << false << QByteArray();
    QTest::newRow("not a row set") << "insert cells set s='new', i='1'" << 0 << 0 << false << QByteArray();
    QTest::newRow("refused") << "select a from nosuchtable" << 0 << 0 << false << QByteArray();
    QTest::newRow("never inserted") << QString() << 0 << 0 << false << QByteArray();
}

// The same bytes read() copies, where the answer holds them.
void TestDBReq::cellInPlace()
{
    QFETCH(QString, statement);
    QFETCH(int, row);
    QFETCH(int, col);
    QFETCH(bool, found);
    QFETCH(QByteArray, bytes);

    auto request = statement.isNull() ? std::make_unique<DBReq>(QStringLiteral("select s from cells"), true)
                                      : served(statement);
    const QByteArrayView cell = request->cell(row, col);
    QCOMPARE(!cell.isNull(), found);
    QCOMPARE(cell.toByteArray(), bytes);
    if (found) {
        QByteArray copy(64, 'z');
        int len = int(copy.size());
        QVERIFY(request->read(row, col, copy.data(), &len));
        QCOMPARE(copy.left(len), bytes);
    }
}

void TestDBReq::columnDescription()
{
    const auto described = served(QStringLiteral("select s, i from cells"), true);
    char name[16];
    int type = -1;
    QVERIFY(described->get_desc(1, name, sizeof name, &type, nullptr, nullptr));
    QCOMPARE(QByteArray(name), QByteArray("i"));
    QCOMPARE(type, int(TypeInt));
    QVERIFY(!described->get_desc(2, name, sizeof name, &type, nullptr, nullptr));
    // only a request made with descriptions has them
    QVERIFY(!served(QStringLiteral("select s, i from cells"))->get_desc(0, name, sizeof name, &type, nullptr, nullptr));
}

void TestDBReq::refusedStatement()
{
    // A failed statement (a lost one: tst_dbconn) leaves the connection's state alone.
    const auto request = served(QStringLiteral("select a from nosuchtable"));
    QCOMPARE(request->m_status, 109);
    QCOMPARE(request->rowCount(), 0);
    QCOMPARE(request->m_errno, 0);
    QCOMPARE(QByteArray(request->m_error), QByteArray("Table does not exists"));
    QCOMPARE(m_conn->get()->m_state.load(), 1);
}

void TestDBReq::waitHoldsInputBack_data()
{
    QTest::addColumn<bool>("progress");
    QTest::addColumn<int>("answerDelayMs");
    QTest::addColumn<bool>("panelShown");
    // Every wait that lasts shows the indicator, over the window in front without a parent.
    QTest::newRow("without a parent, answered early") << false << 250 << false;
    QTest::newRow("without a parent, over the window in front") << false << 600 << true;
    // Shorter than the indicator's delay: no panel is even built.
    QTest::newRow("with the indicator, answered early") << true << 250 << false;
    QTest::newRow("with the indicator over the default parent") << true << 600 << true;
}

void TestDBReq::waitHoldsInputBack()
{
    QFETCH(bool, progress);
    QFETCH(int, answerDelayMs);
    QFETCH(bool, panelShown);
    QVERIFY(m_server->delay("from cells", answerDelayMs, 1));
    QWidget mainWindow;
    auto *elsewhere = new QPushButton(QStringLiteral("Close the page"), &mainWindow);
    mainWindow.show();
    WndProgress::setDefaultParent(&mainWindow);
    QSignalSpy clicks(elsewhere, &QPushButton::clicked);
    int ticks = 0;
    bool panelBuilt = false;
    bool queuedCallRan = false;
    QString shownText;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] {
        if (++ticks == 1)
            QMetaObject::invokeMethod(this, [&] { queuedCallRan = true; }, Qt::QueuedConnection);
        const QWidgetList widgets = QApplication::allWidgets();
        for (QWidget *widget : widgets) {
            auto *indicator = qobject_cast<WndProgress *>(widget);
            panelBuilt = panelBuilt || indicator;
            if (indicator && indicator->isVisible())
                shownText = indicator->findChild<QLabel *>(QStringLiteral("txtLabel"))->text();
        }
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
    QVERIFY(queuedCallRan);
    QCOMPARE(panelBuilt, panelShown);
    QCOMPARE(shownText, panelShown ? QStringLiteral("Transfering data ...") : QString());
    QVERIFY(!mainWindow.findChild<WndProgress *>());
    // Once the wait is over, input flows again.
    QTest::mouseClick(elsewhere, Qt::LeftButton);
    QCOMPARE(clicks.count(), 1);
}

void TestDBReq::waitIsAbortedAtItsIndicatorWhereItShows_data()
{
    QTest::addColumn<QString>("named");   // the wait's parent: "" for none, else as "shown"
    QTest::addColumn<int>("dialogs");     // modal dialogs up, each over the one before
    // The panel's parent: "main window", "dialog N" or "pane N" (the pane on window N); a
    // wait may also name "unshown N", a dialog opened over window N and not shown yet.
    QTest::addColumn<QString>("shown");

    QTest::newRow("no parent, over the main window") << "" << 0 << "main window";
    QTest::newRow("no parent, over the modal dialog in front") << "" << 1 << "dialog 1";
    QTest::newRow("the main window, with nothing over it") << "main window" << 0 << "main window";
    QTest::newRow("the main window, under a modal dialog") << "main window" << 1 << "dialog 1";
    QTest::newRow("a pane of the main window, under a modal dialog") << "pane 0" << 1 << "dialog 1";
    QTest::newRow("a dialog, under a second one") << "dialog 1" << 2 << "dialog 2";
    QTest::newRow("a pane of a dialog, under a second one") << "pane 1" << 2 << "dialog 2";
    QTest::newRow("a pane of the dialog in front") << "pane 2" << 2 << "pane 2";
    QTest::newRow("the dialog in front") << "dialog 1" << 1 << "dialog 1";
    QTest::newRow("a dialog not shown yet, over a dialog under another") << "unshown 1" << 2 << "dialog 2";
    QTest::newRow("a dialog not shown yet, over the dialog in front") << "unshown 2" << 2 << "dialog 2";
}

// A wait's indicator shows where the administrator can see and click it: over the window it
// names, or on the modal dialog in front when that window lies below it, and never in a dialog
// that is not in front. Its "&Abort", clicked where it is seen, gives the console back with the
// request abandoned.
void TestDBReq::waitIsAbortedAtItsIndicatorWhereItShows()
{
    QFETCH(QString, named);
    QFETCH(int, dialogs);
    QFETCH(QString, shown);
    QVERIFY(m_server->delay("from cells", 1500, 1));
    QWidget mainWindow;
    mainWindow.resize(400, 300);
    QHash<QString, QWidget *> windows{{"main window", &mainWindow}};
    auto addPane = [&windows](QWidget *window, int n) {
        auto *pane = new QWidget(window);
        pane->setGeometry(10, 10, 300, 200);
        windows.insert(QStringLiteral("pane %1").arg(n), pane);
        windows.insert(QStringLiteral("unshown %1").arg(n), new QDialog(window));
    };
    addPane(&mainWindow, 0);
    mainWindow.show();
    WndProgress::setDefaultParent(&mainWindow);
    QWidget *front = nullptr; // owned by the main window, as the dialogs over it
    for (int n = 1; n <= dialogs; ++n) {
        auto *dialog = new QDialog(front ? front : &mainWindow);
        front = dialog;
        dialog->resize(360, 260);
        addPane(dialog, n);
        dialog->setModal(true);
        QVERIFY(showActive(dialog));
        windows.insert(QStringLiteral("dialog %1").arg(n), dialog);
    }
    QCOMPARE(QApplication::activeModalWidget(), front);
    IndicatorAbort abort;

    DBReq request(QStringLiteral("select s from cells"), false);
    m_conn->get()->insert(&request);
    request.wait(!named.isEmpty(), windows.value(named));
    WndProgress::setDefaultParent(nullptr);
    QCOMPARE(windows.key(abort.shownOver()), shown);
    QVERIFY(abort.aborted());
    QCOMPARE(request.m_status, 3);
    QVERIFY(!mainWindow.findChild<WndProgress *>());
    // The connection goes on with the next statement once the abandoned one is answered.
    QCOMPARE(served(QStringLiteral("select i from cells"))->rowCount(), 2);
}

// An apply keeps one indicator up across its statements; their own waits show no second.
void TestDBReq::waitUnderAStandingIndicatorShowsNoSecond()
{
    QVERIFY(m_server->delay("from cells", 700, 1));
    QWidget mainWindow;
    mainWindow.show();
    WndProgress::setDefaultParent(&mainWindow);
    int mostShown = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] {
        const QList<WndProgress *> panels = mainWindow.findChildren<WndProgress *>();
        mostShown = std::max(mostShown, int(std::count_if(panels.begin(), panels.end(),
                                                          [](const WndProgress *p) { return p->isVisible(); })));
    });
    ticker.start(20);
    {
        const ProgressWait series(&mainWindow, QStringLiteral("Transfering data ..."));
        DBReq request(QStringLiteral("select s from cells"), false);
        m_conn->get()->insert(&request);
        request.wait(false, nullptr);
        QCOMPARE(request.m_status, 0);
    }
    WndProgress::setDefaultParent(nullptr);
    QCOMPARE(mostShown, 1);
}

void TestDBReq::waitIsMarkedOnTheStack_data()
{
    QTest::addColumn<bool>("progress");
    QTest::addColumn<int>("answerDelayMs");
    QTest::newRow("a short wait") << false << 100;
    // The indicator shows, and lingers to be read after the answer: still the wait.
    QTest::newRow("a wait whose indicator lingers") << true << 600;
}

// Whoever must not destroy a window under a wait (the host) hears when the first wait
// begins and the last ends, and events that run meanwhile see it on the stack.
void TestDBReq::waitIsMarkedOnTheStack()
{
    QFETCH(bool, progress);
    QFETCH(int, answerDelayMs);
    QVERIFY(m_server->delay("from cells", answerDelayMs, 1));
    QWidget mainWindow;
    mainWindow.show();
    WndProgress::setDefaultParent(&mainWindow);
    QList<bool> heard;
    WaitScope::setListener([&heard](bool waiting) { heard.append(waiting); });
    int ticksSeenWaiting = 0;
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] {
        ++ticks;
        ticksSeenWaiting += WaitScope::isWaiting() ? 1 : 0;
    });
    ticker.start(20);

    DBReq request(QStringLiteral("select s from cells"), false);
    m_conn->get()->insert(&request);
    request.wait(progress, nullptr);
    const bool waitingAfter = WaitScope::isWaiting();
    WaitScope::setListener({});
    WndProgress::setDefaultParent(nullptr);
    QCOMPARE(request.m_status, 0);
    QCOMPARE(heard, (QList<bool>{true, false}));
    QVERIFY(ticks > 0);
    QCOMPARE(ticksSeenWaiting, ticks);
    QVERIFY(!waitingAfter);
}

// The GUI thread sleeps through a wait: the worker wakes it when the answer is in, and
// nothing else (the connection's 200 ms update timer aside) makes it look meanwhile.
void TestDBReq::waitSleepsUntilWoken()
{
    QVERIFY(m_server->delay("from cells", 400, 1));
    int wakes = 0;
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, this, [&wakes] { ++wakes; });
    DBReq request(QStringLiteral("select s from cells"), false);
    m_conn->get()->insert(&request);
    request.wait(false, nullptr);
    disconnect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, this, nullptr);
    QCOMPARE(request.m_status, 0);
    // A wait that polled would wake every slice of the 400 ms; that it ends with the wake of
    // its answer, and not later, waitEndsWithTheWake shows without a clock.
    QVERIFY2(wakes <= 8, qPrintable(QString::number(wakes)));
}

void TestDBReq::workerRaisesTheWake_data()
{
    QTest::addColumn<int>("cause");
    QTest::newRow("a statement answered") << int(StatementAnswered);
    QTest::newRow("a statement refused") << int(StatementRefused);
    QTest::newRow("the connection dropped under a statement") << int(ConnectionDropped);
    QTest::newRow("a connection set up") << int(SetUpDone);
    QTest::newRow("a connection's login refused") << int(SetUpRefused);
}

// A wait sleeps until the worker raises the wake signal: without the raise it would
// only look again at the next timer tick, slower but still in time for any test that
// measures the wait. So the raise itself is watched for.
void TestDBReq::workerRaisesTheWake()
{
    QFETCH(int, cause);
    QVERIFY(WakeWatch::isAvailable());
    drainWakeSignal();
    QVERIFY(!wakeSignalRaised(0));

    if (cause == SetUpDone || cause == SetUpRefused) {
        ScopedConnection conn(m_server->port(), "admin", cause == SetUpDone ? "admin" : "wrong");
        QVERIFY(becomesTrueUnwatched([&] { return conn->m_state.load() != DBConn::Connecting; }));
        QCOMPARE(conn->m_state.load(), cause == SetUpDone ? int(DBConn::Connected) : int(DBConn::Ended));
        QVERIFY(wakeSignalRaised(5000));
        return;
    }

    if (cause == ConnectionDropped)
        QVERIFY(m_server->dropAt("from cells", 1));
    DBReq request(cause == StatementRefused ? QStringLiteral("select a from nosuchtable")
                                            : QStringLiteral("select s from cells"),
                  false);
    m_conn->get()->insert(&request);
    QVERIFY(becomesTrueUnwatched([&] { return request.m_finished.load(); }));
    QCOMPARE(request.m_status, cause == StatementAnswered ? 0 : cause == StatementRefused ? 109 : 1);
    QVERIFY(wakeSignalRaised(5000));
}

void TestDBReq::waitEndsWithTheWake_data()
{
    workerRaisesTheWake_data();
}

// The wake announces what the worker has published already: the wait that takes it finds
// its request finished (or its connection's set-up over) and ends, rather than sleeping on
// until some other event happens to wake it. The worker is held right after its raise, so
// that whatever it would publish only later is not there when the wait looks.
void TestDBReq::waitEndsWithTheWake()
{
    QFETCH(int, cause);
    QVERIFY(WakeWatch::isAvailable());
    // One worker raises the wake meanwhile: the test's own connection's. The one made for
    // every test has gone, its worker with it.
    m_conn.reset();
    const bool setUp = cause == SetUpDone || cause == SetUpRefused;
    // The wait sleeps before the wake: the greeting or the answer comes late.
    if (setUp) {
        GreetingPlan plan;
        plan.pauseAt = {0};
        plan.pauseMs = 50;
        m_server->setGreeting(plan);
    } else {
        QVERIFY(m_server->delay("from ", 50, 1));
    }
    if (cause == ConnectionDropped)
        QVERIFY(m_server->dropAt("from cells", 1));

    // A statement's raise comes after the one of the connection set up.
    RaiseHold hold(setUp ? 0 : 1);
    if (setUp)
        hold.countSleeps();
    ScopedConnection conn(m_server->port(), "admin", cause == SetUpRefused ? "wrong" : "admin");
    QVERIFY(conn->connwait(false, nullptr));
    if (setUp) {
        hold.waitEnded();
        QCOMPARE(conn->m_state.load(), cause == SetUpDone ? int(DBConn::Connected) : int(DBConn::Ended));
    } else {
        QCOMPARE(conn->m_state.load(), int(DBConn::Connected));
        DBReq request(cause == StatementRefused ? QStringLiteral("select a from nosuchtable")
                                                : QStringLiteral("select s from cells"),
                      false);
        hold.countSleeps();
        conn->insert(&request);
        request.wait(false, nullptr);
        hold.waitEnded();
        QCOMPARE(request.m_status, cause == StatementAnswered ? 0 : cause == StatementRefused ? 109 : 1);
    }
    QVERIFY(hold.sleepsBeforeWake() > 0);
    QCOMPARE(hold.sleepsAfterWake(), 0);
}

void TestDBReq::requestDestroyedDuringItsOwnWait()
{
    QVERIFY(m_server->delay("'slow'", 500, 1));
    auto *request = new DBReq(QStringLiteral("select s from cells where s='slow'"), false);
    m_conn->get()->insert(request);
    QTimer::singleShot(100, this, [request] { delete request; });
    request->wait(false, nullptr);

    QCOMPARE(served(QStringLiteral("select s, i from cells"))->rowCount(), 2);
}

void TestDBReq::requestDestroyedWhileItsAbortIsHandled_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("a wait with its indicator") << int(WaitWithIndicator);
    QTest::newRow("a wait without a parent") << int(WaitWithoutParent);
    QTest::newRow("a wait under an indicator standing for a series") << int(WaitUnderAnIndicatorStanding);
}

// The owner goes in the very pass of the event loop in which "&Abort" is clicked (the same
// gesture closes the window the request serves): the wait ends as aborted and leaves alone
// the request it no longer has.
void TestDBReq::requestDestroyedWhileItsAbortIsHandled()
{
    QFETCH(int, how);
    QVERIFY(m_server->delay("'slow'", 1200, 1));
    QWidget mainWindow;
    mainWindow.resize(400, 300);
    mainWindow.show();
    WndProgress::setDefaultParent(&mainWindow);
    auto *request = new DBReq(QStringLiteral("select s from cells where s='slow'"), false);
    m_conn->get()->insert(request);
    IndicatorAbort administrator([&request] {
        delete request;
        request = nullptr;
    });

    if (how == WaitUnderAnIndicatorStanding) {
        const ProgressWait series(&mainWindow, QStringLiteral("Transfering data ..."));
        QVERIFY(!request->waitUnder(series));
    } else {
        request->wait(how == WaitWithIndicator, nullptr);
    }
    WndProgress::setDefaultParent(nullptr);
    QVERIFY(administrator.clicked());
    QCOMPARE(administrator.shownText(), QStringLiteral("Transfering data ..."));
    QVERIFY(!request);
    // The connection goes on: the answer of the abandoned statement is discarded, and the
    // next statement is served.
    QCOMPARE(served(QStringLiteral("select s, i from cells"))->rowCount(), 2);
    QCOMPARE(m_server->journal(m_server->sessions().at(0).id),
             (QStringList{"select s from cells where s='slow'", "select s, i from cells"}));
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
