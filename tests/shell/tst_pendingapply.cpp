// Sending the pending statements against the stand-in server: order, one at a time, the
// first failure stopping the run, the failure boxes, and what stays pending.

#include "ctrlsignallog.h"
#include "dbctrl.h"
#include "dialogrecorder.h"
#include "pendingapply.h"
#include "standinconnection.h"
#include "wndprogress.h"

#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace StandIn;

Q_DECLARE_METATYPE(ApplyOutcome)

namespace {

const QString Host = QStringLiteral("127.0.0.1");
const QString Caption = QStringLiteral("Ornel Corvane - 127.0.0.1");

const QStringList Statements{
    "update notes set text='one' where name='a'",
    "update notes set text='two' where name='b'",
    "update notes set text='three' where name='c'",
};

} // namespace

class tst_PendingApply : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void appliesEveryStatementInOrder();
    void refusal_data();
    void refusal();
    void secondApplySendsOnlyWhatWasNotCarriedOut();
    void withdrawnApplySendsNothing_data();
    void withdrawnApplySendsNothing();
    void lostConnection_data();
    void lostConnection();
    void abortOnlyHidesTheIndicator();

private:
    QStringList newJournal() const;
    QStringList noteTexts() const;

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ScopedConnection> m_conn;
    std::unique_ptr<QWidget> m_window;
    DBCtrl* m_ctrl = nullptr;
    int m_journalStart = 0;
};

void tst_PendingApply::initTestCase()
{
    m_server = startStandIn();
}

void tst_PendingApply::init()
{
    m_server->clearControls();
    m_server->setTable("notes",
                       {{"name", TypeString, true}, {"text", TypeString, false}},
                       {{"a", "x"}, {"b", "y"}, {"c", "z"}});
    m_conn = std::make_unique<ScopedConnection>(m_server->port());
    QVERIFY(m_conn->connect());
    m_window = std::make_unique<QWidget>();
    m_window->setWindowTitle(Caption);
    m_ctrl = new DBCtrl(m_window.get());
    m_ctrl->m_pending = Statements;
    m_journalStart = m_server->journal().size();
}

void tst_PendingApply::cleanup()
{
    m_window.reset();
    m_conn.reset();
}

QStringList tst_PendingApply::newJournal() const
{
    QStringList statements;
    const QList<JournalEntry> entries = m_server->journal();
    for (int i = m_journalStart; i < entries.size(); ++i)
        statements.append(entries.at(i).statement);
    return statements;
}

QStringList tst_PendingApply::noteTexts() const
{
    QStringList texts;
    for (const QStringList& row : m_server->rows("notes"))
        texts.append(row.value(1));
    return texts;
}

void tst_PendingApply::appliesEveryStatementInOrder()
{
    CtrlSignalLog log(*m_ctrl);
    DialogRecorder dialogs;

    QCOMPARE(applyPendingStatements(m_window.get(), m_conn->get(), m_ctrl), ApplyOutcome::Applied);

    QCOMPARE(newJournal(), Statements);
    QCOMPARE(noteTexts(), QStringList({"one", "two", "three"}));
    QVERIFY(m_ctrl->m_pending.isEmpty());
    QCOMPARE(log.events, QStringList({"before_apply", "empty(true)", "apply"}));
    QCOMPARE(log.pendingAtApply, QStringList());
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(m_window->windowTitle(), Caption);
}

void tst_PendingApply::refusal_data()
{
    QTest::addColumn<QString>("refused");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("reached");
    QTest::addColumn<int>("carriedOut");

    QTest::newRow("second denied") << "name='b'" << 113 << "Query failed: Access denied" << 2 << 1;
    QTest::newRow("first unparsable")
        << "name='a'" << 106 << "Query failed: SQL query parse error" << 1 << 0;
    QTest::newRow("last without table")
        << "name='c'" << 109 << "Query failed: Table does not exists" << 3 << 2;
}

void tst_PendingApply::refusal()
{
    QFETCH(QString, refused);
    QFETCH(int, status);
    QFETCH(QString, text);
    QFETCH(int, reached);
    QFETCH(int, carriedOut);

    QVERIFY(m_server->refuse(refused, quint32(status)));
    CtrlSignalLog log(*m_ctrl);
    DialogRecorder dialogs;

    QCOMPARE(applyPendingStatements(m_window.get(), m_conn->get(), m_ctrl), ApplyOutcome::Refused);

    QCOMPARE(newJournal(), Statements.mid(0, reached));
    QCOMPARE(m_ctrl->m_pending, Statements.mid(carriedOut));
    QCOMPARE(dialogs.messages.size(), 1);
    const DialogRecorder::Message& box = dialogs.messages.first();
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.parent.data(), m_window.get());
    QCOMPARE(box.caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(box.text, text);
    QCOMPARE(box.buttons, Dialogs::Buttons(QMessageBox::Ok));
    QCOMPARE(log.events, QStringList({"before_apply"}));
    QCOMPARE(m_window->windowTitle(), Caption);
    QVERIFY(!m_conn->get()->m_lost);
}

void tst_PendingApply::secondApplySendsOnlyWhatWasNotCarriedOut()
{
    QVERIFY(m_server->refuse("name='b'", 113, 1));
    DialogRecorder dialogs;
    QCOMPARE(applyPendingStatements(m_window.get(), m_conn->get(), m_ctrl), ApplyOutcome::Refused);
    QCOMPARE(noteTexts(), QStringList({"one", "y", "z"}));

    m_journalStart = m_server->journal().size();
    CtrlSignalLog log(*m_ctrl);
    QCOMPARE(applyPendingStatements(m_window.get(), m_conn->get(), m_ctrl), ApplyOutcome::Applied);
    QCOMPARE(newJournal(), Statements.mid(1));
    QCOMPARE(noteTexts(), QStringList({"one", "two", "three"}));
    QVERIFY(m_ctrl->m_pending.isEmpty());
    QCOMPARE(log.events, QStringList({"before_apply", "empty(true)", "apply"}));
    QCOMPARE(dialogs.messages.size(), 1);
}

void tst_PendingApply::withdrawnApplySendsNothing_data()
{
    QTest::addColumn<bool>("pageWithdraws");
    QTest::newRow("a page empties the list") << true;
    QTest::newRow("nothing pending") << false;
}

void tst_PendingApply::withdrawnApplySendsNothing()
{
    QFETCH(bool, pageWithdraws);

    if (pageWithdraws) {
        // As a validating page does: in place, without sig_empty.
        connect(m_ctrl, &DBCtrl::sig_before_apply, m_ctrl, [this] { m_ctrl->m_pending.clear(); });
    } else {
        m_ctrl->m_pending.clear();
    }
    CtrlSignalLog log(*m_ctrl);
    DialogRecorder dialogs;
    bool indicatorMade = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this,
            [&] { indicatorMade |= m_window->findChild<WndProgress*>() != nullptr; });
    watch.start(1);

    QCOMPARE(applyPendingStatements(m_window.get(), m_conn->get(), m_ctrl),
             ApplyOutcome::Withdrawn);
    QTest::qWait(20);
    QVERIFY(!indicatorMade);
    QVERIFY(m_window->findChildren<WndProgress*>().isEmpty());
    QCOMPARE(newJournal(), QStringList());
    QCOMPARE(log.events, QStringList({"before_apply"}));
    QVERIFY(dialogs.messages.isEmpty());
}

void tst_PendingApply::lostConnection_data()
{
    QTest::addColumn<QString>("dropped");
    QTest::addColumn<int>("carriedOut");

    QTest::newRow("on the first statement") << "name='a'" << 0;
    QTest::newRow("on the second statement") << "name='b'" << 1;
}

void tst_PendingApply::lostConnection()
{
    QFETCH(QString, dropped);
    QFETCH(int, carriedOut);

    QVERIFY(m_server->dropAt(dropped, 1));
    CtrlSignalLog log(*m_ctrl);
    DialogRecorder dialogs;

    QCOMPARE(applyPendingStatements(m_window.get(), m_conn->get(), m_ctrl),
             ApplyOutcome::ConnectionLost);

    QCOMPARE(dialogs.messages.size(), 1);
    const DialogRecorder::Message& box = dialogs.messages.first();
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.parent.data(), m_window.get());
    QCOMPARE(box.caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(box.text, QStringLiteral("Connection failed!\nConsole was disconnected from 127.0.0.1."));
    QCOMPARE(m_window->windowTitle(), Caption + " - NOT CONNECTED!");
    QVERIFY(m_conn->get()->m_lost);
    const QStringList remaining = Statements.mid(carriedOut);
    QCOMPARE(m_ctrl->m_pending, remaining);
    QCOMPARE(log.events, QStringList({"before_apply"}));

    // Once lost, an apply says nothing more and changes nothing.
    QCOMPARE(applyPendingStatements(m_window.get(), m_conn->get(), m_ctrl),
             ApplyOutcome::ConnectionLost);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(m_window->windowTitle(), Caption + " - NOT CONNECTED!");
    QCOMPARE(m_ctrl->m_pending, remaining);
    QCOMPARE(log.events, QStringList({"before_apply", "before_apply"}));
}

void tst_PendingApply::abortOnlyHidesTheIndicator()
{
    // Slow enough for the indicator to show itself during the second statement.
    QVERIFY(m_server->delay("^update", 250));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    bool aborted = false;
    QTimer aborter;
    connect(&aborter, &QTimer::timeout, this, [&] {
        auto* progress = m_window->findChild<WndProgress*>();
        if (progress && progress->isVisible() && !aborted) {
            progress->findChild<QPushButton*>()->click();
            aborted = true;
        }
    });
    aborter.start(10);
    DialogRecorder dialogs;

    QCOMPARE(applyPendingStatements(m_window.get(), m_conn->get(), m_ctrl), ApplyOutcome::Applied);
    QVERIFY(aborted);
    QCOMPARE(newJournal(), Statements);
    QVERIFY(m_ctrl->m_pending.isEmpty());
    QVERIFY(dialogs.messages.isEmpty());
}

QTEST_MAIN(tst_PendingApply)
#include "tst_pendingapply.moc"
