// Apply and Reset of the main window against the stand-in server, through its bar. What
// an apply sends and reports is tested with the apply itself (tst_pendingapply).

#include "ctrlsignallog.h"
#include "dialogrecorder.h"
#include "mainwindowharness.h"
#include "standinconnection.h"

#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace StandIn;

namespace {

const QStringList Statements{
    "update notes set text='one' where name='a'",
    "update notes set text='two' where name='b'",
    "update notes set text='three' where name='c'",
};

} // namespace

class tst_WndMainApply : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void applyButtonSendsAndDisablesTheBar();
    void resetEmitsBothEvenWhenEmpty_data();
    void resetEmitsBothEvenWhenEmpty();
    void withdrawnApplyTurnsTheNextChangeBack();
    void applyDuringASwitchIsRefused();
    void resetDuringAnApplyIsRefused();

private:
    QStringList newJournal() const;
    void handIn(const QStringList& statements) const { m_main->ctrl()->set(statements, false); }

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<MainWindowHarness> m_main;
    int m_journalStart = 0;
};

void tst_WndMainApply::initTestCase()
{
    m_server = startStandIn();
}

void tst_WndMainApply::init()
{
    m_server->clearControls();
    m_server->setTable("notes", {{"name", TypeString, true}, {"text", TypeString, false}},
                       {{"a", "x"}, {"b", "y"}, {"c", "z"}});
    m_main = std::make_unique<MainWindowHarness>(m_server->port());
    QVERIFY(m_main->isOpen());
    m_journalStart = m_server->journal().size();
}

void tst_WndMainApply::cleanup()
{
    m_main.reset();
}

QStringList tst_WndMainApply::newJournal() const
{
    QStringList statements;
    const QList<JournalEntry> entries = m_server->journal();
    for (int i = m_journalStart; i < entries.size(); ++i)
        statements.append(entries.at(i).statement);
    return statements;
}

void tst_WndMainApply::applyButtonSendsAndDisablesTheBar()
{
    handIn(Statements);
    QVERIFY(m_main->window()->getApplyButton()->isEnabled());
    QVERIFY(m_main->window()->getResetButton()->isEnabled());
    CtrlSignalLog log(*m_main->ctrl());
    DialogRecorder dialogs;

    m_main->window()->getApplyButton()->click();

    QCOMPARE(newJournal(), Statements);
    QCOMPARE(log.events, QStringList({"before_apply", "empty(true)", "apply"}));
    QCOMPARE(log.pendingAtApply, QStringList());
    QVERIFY(!m_main->window()->getApplyButton()->isEnabled());
    QVERIFY(!m_main->window()->getResetButton()->isEnabled());
    QVERIFY(dialogs.messages.isEmpty());
    QVERIFY(!m_main->window()->isReverting());
}

void tst_WndMainApply::resetEmitsBothEvenWhenEmpty_data()
{
    QTest::addColumn<QStringList>("pending");
    QTest::newRow("nothing pending") << QStringList();
    QTest::newRow("three pending") << Statements;
}

void tst_WndMainApply::resetEmitsBothEvenWhenEmpty()
{
    QFETCH(QStringList, pending);

    handIn(pending);
    CtrlSignalLog log(*m_main->ctrl());
    DialogRecorder dialogs;

    m_main->window()->reset();

    QCOMPARE(log.events, QStringList({"empty(true)", "reset"}));
    QVERIFY(m_main->ctrl()->m_pending.isEmpty());
    QCOMPARE(newJournal(), QStringList());
    QVERIFY(!m_main->window()->getResetButton()->isEnabled());
    QVERIFY(dialogs.messages.isEmpty());
}

void tst_WndMainApply::withdrawnApplyTurnsTheNextChangeBack()
{
    handIn(Statements);
    QObject page;
    connect(m_main->ctrl(), &DBCtrl::sig_before_apply, &page,
            [this] { m_main->ctrl()->m_pending.clear(); });
    CtrlSignalLog log(*m_main->ctrl());
    DialogRecorder dialogs;

    m_main->window()->getApplyButton()->click();

    QCOMPARE(newJournal(), QStringList());
    QCOMPARE(log.events, QStringList{"before_apply"});
    QVERIFY(m_main->window()->isReverting());
    // Emptied in place: the buttons keep the state they had.
    QVERIFY(m_main->window()->getApplyButton()->isEnabled());

    QTreeWidgetItem* root = m_main->item("Ornel Corvane");
    m_main->choose("Status");
    QCOMPARE(m_main->tree()->currentItem(), root);
    QCOMPARE(m_main->window()->getCurrentItem(), root);
    QVERIFY(!m_main->window()->isReverting());
    m_main->choose("Status");
    QCOMPARE(m_main->window()->getCurrentItem(), m_main->item("Status"));
    QVERIFY(dialogs.messages.isEmpty());
}

void tst_WndMainApply::applyDuringASwitchIsRefused()
{
    // While the checklist waits for its title, a timer hands a statement in and applies.
    QVERIFY(m_server->delay("productname", 300, 1));
    QTimer::singleShot(50, m_main->window(), [this] {
        handIn({Statements.first()});
        m_main->window()->apply();
    });

    m_main->choose("Quick Checklist");

    QCOMPARE(m_main->window()->getCurrentItem(), m_main->item("Quick Checklist"));
    QCOMPARE(m_main->ctrl()->m_pending, QStringList{Statements.first()});
    QVERIFY(!newJournal().contains(Statements.first()));
}

void tst_WndMainApply::resetDuringAnApplyIsRefused()
{
    QVERIFY(m_server->delay("^update", 150));
    handIn(Statements);
    CtrlSignalLog log(*m_main->ctrl());
    QTimer::singleShot(200, m_main->window(), [this] { m_main->window()->reset(); });

    m_main->window()->apply();

    QCOMPARE(newJournal(), Statements);
    QCOMPARE(log.events, QStringList({"before_apply", "empty(true)", "apply"}));
}

QTEST_MAIN(tst_WndMainApply)
#include "tst_wndmainapply.moc"
