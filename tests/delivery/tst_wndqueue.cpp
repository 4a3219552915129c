// The mail queue page against the stand-in server: loading and reloading the queue, the
// two actions on a message with their statements, the three runs and what they report,
// the buttons following the selection, and reloads after column changes.

#include "cols.h"
#include "columnsdialog.h"
#include "dbctrl.h"
#include "deliveryfixture.h"
#include "desktop.h"
#include "dialogrecorder.h"
#include "listtexts.h"
#include "ownrequestfailure.h"
#include "pagesession.h"
#include "qqueueitem.h"
#include "settingsstore.h"
#include "wndqueue.h"

#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using DeliveryFixture::statements;

namespace {

const QString ShowQueue = QStringLiteral("select show_queue()");

QStringList ids(const QTreeWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << static_cast<QQueueItem*>(list->topLevelItem(i))->messageId();
    return texts;
}

void choose(QTreeWidget* list, const QString& id)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        auto* item = static_cast<QQueueItem*>(list->topLevelItem(i));
        if (item->messageId() == id) {
            list->setCurrentItem(item);
            item->setSelected(true);
            return;
        }
    }
    QFAIL("no such message");
}

} // namespace

class TestWndQueue : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadsTheQueue();
    void sizeSortsByValue();
    void buttonsFollowTheSelection();
    void buttonsEnabledUntilTheFirstLoad();
    void statusMenu();
    void runs_data();
    void runs();
    void removeAsksFirst_data();
    void removeAsksFirst();
    void removeFailureStillReloads();
    void messageActionFailureTold_data();
    void messageActionFailureTold();
    void tryNowSendsEscapedIdAndReloads();
    void actionsAfterFailedRefreshUseTheShownMessage();
    void headerMoveReloadsAndResizeDoesNot();
    void columnsDialogReloadsAndSaves();
    void refusedReloadAfterAColumnChangeChangesNothing_data();
    void refusedReloadAfterAColumnChangeChangesNothing();

private:
    std::unique_ptr<WndQueue> makePage(Desktop* desktop = nullptr)
    {
        return std::make_unique<WndQueue>(nullptr, m_session->connection(), m_ctrl, desktop);
    }
    int loads(int from = 0) const { return int(statements(*m_server, from).count(ShowQueue)); }

    std::unique_ptr<PageSession> m_session;
    StandIn::TestServer* m_server = nullptr;
    DBCtrl* m_ctrl = nullptr;
};

void TestWndQueue::init()
{
    m_session = std::make_unique<PageSession>();
    m_server = m_session->server.get();
    m_ctrl = &m_session->ctrl;
    DeliveryFixture::install(*m_server);
    QVERIFY(m_session->connect());
}

void TestWndQueue::cleanup()
{
    m_session.reset();
}

void TestWndQueue::loadsTheQueue()
{
    auto page = makePage();
    QCOMPARE(statements(*m_server), QStringList{ShowQueue});
    QStringList headers;
    for (int i = 0; i < page->m_list->columnCount(); ++i)
        headers << page->m_list->headerItem()->text(i);
    QCOMPARE(headers, (QStringList{"ID", "Created", "Next Try", "Size", "From", "To"}));
    // Sorted by ID, as text.
    QCOMPARE(ids(page->m_list), (QStringList{"Q'2\"", "Q100", "Q300", "Q400"}));
    QCOMPARE(page->m_list->topLevelItem(1)->text(3), QStringLiteral("1234"));
    QVERIFY(m_ctrl->m_pending.isEmpty());
}

void TestWndQueue::sizeSortsByValue()
{
    auto page = makePage();
    page->m_list->sortByColumn(3, Qt::AscendingOrder);
    // Empty reads as 0; a million sorts after the smaller sizes.
    QCOMPARE(ids(page->m_list), (QStringList{"Q400", "Q'2\"", "Q100", "Q300"}));
}

void TestWndQueue::buttonsFollowTheSelection()
{
    auto page = makePage();
    QVERIFY(!page->m_btnRemove->isEnabled());
    QVERIFY(!page->m_btnRejuvenate->isEnabled());
    choose(page->m_list, QStringLiteral("Q300"));
    QVERIFY(page->m_btnRemove->isEnabled());
    QVERIFY(page->m_btnRejuvenate->isEnabled());
    for (QPushButton* always : {page->m_btnRefresh, page->m_btnQueue, page->m_btnPop3, page->m_btnETRN})
        QVERIFY(always->isEnabled());
    // A reload leaves nothing chosen.
    page->slotRefresh();
    QVERIFY(!page->m_btnRemove->isEnabled());
}

void TestWndQueue::buttonsEnabledUntilTheFirstLoad()
{
    QVERIFY(m_server->refuse("show_queue", 111, 1));
    DialogRecorder recorder;
    auto page = makePage();
    QCOMPARE(recorder.messages.size(), 0); // refused in silence
    QCOMPARE(page->m_list->columnCount(), 0);
    QVERIFY(page->m_btnRemove->isEnabled());
    QVERIFY(page->m_btnRejuvenate->isEnabled());
    // Nothing chosen: "&Try to send now" does nothing, removal asks and then does nothing.
    const int before = int(m_server->journal().size());
    page->slotRejuvenate();
    recorder.answer(QMessageBox::Yes);
    page->slotRemove();
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(statements(*m_server, before), QStringList());
}

void TestWndQueue::statusMenu()
{
    auto page = makePage();
    QMenu menu;
    QVERIFY(page->fillPopupMenu(menu, page.get(), page->m_list->topLevelItem(0)));
    QStringList entries;
    for (QAction* action : menu.actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
    QCOMPARE(entries, (QStringList{"&Refresh", "-", "&Modify Columns..."}));
    const int before = loads();
    menu.actions().at(0)->trigger();
    QCOMPARE(loads(), before + 1);
}

void TestWndQueue::runs_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("function");
    QTest::addColumn<QList<int>>("results");
    QTest::addColumn<int>("refusal");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("captions");

    const QStringList started{"Action started.\nYou can view its results in the log window."};
    const QStringList failed{"Operation failed."};
    QTest::newRow("queue started") << "m_btnQueue" << "run_queue" << QList<int>{1} << 0 << started
                                   << QStringList{"Ornel Corvane Administration"};
    QTest::newRow("POP3 answers 0") << "m_btnPop3" << "run_pop3" << QList<int>{0} << 0 << failed << QStringList{"Error"};
    QTest::newRow("ETRN answers no row") << "m_btnETRN" << "run_odmr" << QList<int>() << 0 << failed
                                         << QStringList{"Error"};
    QTest::newRow("only the first row counts") << "m_btnQueue" << "run_queue" << QList<int>{2, 1} << 0 << failed
                                               << QStringList{"Error"};
    QTest::newRow("refused: the table layer's box, then ours")
        << "m_btnETRN" << "run_odmr" << QList<int>{1} << 111 << QStringList{"Query failed: Query not possible", "Operation failed."}
        << QStringList{"Ornel Corvane Administration", "Error"};
}

void TestWndQueue::runs()
{
    QFETCH(QString, button);
    QFETCH(QString, function);
    QFETCH(QList<int>, results);
    QFETCH(int, refusal);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, captions);

    m_server->setRunResult(function, results, quint32(refusal));
    auto page = makePage();
    DialogRecorder recorder;
    const int before = int(m_server->journal().size());
    page->findChild<QPushButton*>(button)->click();

    QCOMPARE(statements(*m_server, before), QStringList{"select " + function + "()"});
    QCOMPARE(recorder.messages.size(), texts.size());
    for (int i = 0; i < texts.size(); ++i) {
        const DialogRecorder::Message& message = recorder.messages.at(i);
        QCOMPARE(message.text, texts.at(i));
        QCOMPARE(message.caption, captions.at(i));
        if (i == texts.size() - 1) {
            // Ours stand on their own, without a parent.
            QVERIFY(!message.parent);
            QCOMPARE(message.icon, texts.at(i) == "Operation failed." ? QMessageBox::Warning : QMessageBox::Information);
        }
    }
    // The list is not reloaded.
    QCOMPARE(loads(before), 0);
}

void TestWndQueue::removeAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("left");

    QTest::newRow("No") << int(QMessageBox::No) << QStringList() << QStringList{"Q'2\"", "Q100", "Q300", "Q400"};
    QTest::newRow("Yes, id escaped") << int(QMessageBox::Yes)
                                     << QStringList{"SELECT queue_remove(\"Q\\'2\\\"\")", ShowQueue}
                                     << QStringList{"Q100", "Q300", "Q400"};
}

void TestWndQueue::removeAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, left);

    auto page = makePage();
    choose(page->m_list, QStringLiteral("Q'2\""));
    DialogRecorder recorder;
    recorder.answer(answer);
    const int before = int(m_server->journal().size());
    page->slotRemove();

    QCOMPARE(recorder.messageTexts(), QStringList{QStringLiteral("Message will be deleted.\nDo you want to proceed?")});
    QCOMPARE(recorder.messages.at(0).caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(recorder.messages.at(0).icon, QMessageBox::Warning);
    QCOMPARE(recorder.messages.at(0).buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(recorder.messages.at(0).parent.data(), page.get());
    QCOMPARE(statements(*m_server, before), sent);
    QCOMPARE(ids(page->m_list), left);
    QCOMPARE(m_server->queue().size(), left.size());
}

void TestWndQueue::removeFailureStillReloads()
{
    auto page = makePage();
    choose(page->m_list, QStringLiteral("Q100"));
    QVERIFY(m_server->refuse("queue_remove", 111));
    DialogRecorder recorder;
    recorder.answer(QMessageBox::Yes);
    const int before = int(m_server->journal().size());
    page->slotRemove();

    QCOMPARE(recorder.messageTexts(), (QStringList{"Message will be deleted.\nDo you want to proceed?", "Operation failed."}));
    QCOMPARE(recorder.messages.at(1).caption, QStringLiteral("Error"));
    QVERIFY(!recorder.messages.at(1).parent);
    QCOMPARE(statements(*m_server, before), (QStringList{"SELECT queue_remove(\"Q100\")", ShowQueue}));
    QCOMPARE(page->m_list->topLevelItemCount(), 4);
}

void TestWndQueue::messageActionFailureTold_data()
{
    OwnRequestFailure::addRows();
}

void TestWndQueue::messageActionFailureTold()
{
    QFETCH(int, failure);
    auto page = makePage();
    OwnRequestFailure::MainWindow window;
    window.attach(m_session->connection());
    choose(page->m_list, QStringLiteral("Q300"));
    QVERIFY(OwnRequestFailure::arrange(*m_server, "queue_rejuvenate", failure));
    DialogRecorder recorder;
    const int before = int(m_server->journal().size());
    page->slotRejuvenate();

    QVERIFY(OwnRequestFailure::told(recorder, window, failure));
    // The reload is tried all the same; it reaches a server that is still there.
    const QString sent = QStringLiteral("SELECT queue_rejuvenate(\"Q300\")");
    const QStringList expected = failure == OwnRequestFailure::Refused ? QStringList{sent, ShowQueue}
                                                                       : QStringList{sent};
    QCOMPARE(statements(*m_server, before), expected);
    QCOMPARE(page->m_list->topLevelItemCount(), 4);

    // The next action: answered after a refusal, told nothing more after the loss.
    recorder.messages.clear();
    recorder.answer(QMessageBox::Yes);
    choose(page->m_list, QStringLiteral("Q300"));
    page->slotRemove();
    QCOMPARE(recorder.messageTexts(), QStringList{QStringLiteral("Message will be deleted.\nDo you want to proceed?")});
    QCOMPARE(m_server->queue().size(), failure == OwnRequestFailure::Refused ? 3 : 4);
}

void TestWndQueue::tryNowSendsEscapedIdAndReloads()
{
    auto page = makePage();
    choose(page->m_list, QStringLiteral("Q'2\""));
    DialogRecorder recorder;
    const int before = int(m_server->journal().size());
    page->m_btnRejuvenate->click();

    QCOMPARE(recorder.messages.size(), 0);
    QCOMPARE(statements(*m_server, before), (QStringList{"SELECT queue_rejuvenate(\"Q\\'2\\\"\")", ShowQueue}));
    // The server tries it now: its next try changed, and the list shows the new one.
    const QStringList message = m_server->queue().at(1);
    QVERIFY(message.at(2) != QStringLiteral("2026-12-07 09:30:00"));
    QCOMPARE(page->m_list->topLevelItem(0)->text(2), message.at(2));
}

void TestWndQueue::actionsAfterFailedRefreshUseTheShownMessage()
{
    auto page = makePage();
    QVERIFY(m_server->refuse("show_queue", 111, 1));
    DialogRecorder recorder;
    page->slotRefresh();
    QCOMPARE(recorder.messages.size(), 0);
    QVERIFY(page->m_table.m_rows.empty());
    // The list keeps what it showed, and each row still knows its message.
    QCOMPARE(ids(page->m_list), (QStringList{"Q'2\"", "Q100", "Q300", "Q400"}));
    choose(page->m_list, QStringLiteral("Q300"));
    const int before = int(m_server->journal().size());
    page->slotRejuvenate();
    QCOMPARE(statements(*m_server, before), (QStringList{"SELECT queue_rejuvenate(\"Q300\")", ShowQueue}));
    QCOMPARE(recorder.messages.size(), 0);
}

void TestWndQueue::headerMoveReloadsAndResizeDoesNot()
{
    Desktop desktop;
    auto page = makePage(&desktop);
    page->show();
    const int before = loads();
    page->m_list->header()->resizeSection(1, 140);
    QTest::qWait(20);
    QCOMPARE(loads(), before);
    QCOMPARE(desktop.settings()->readNumEntry(QStringLiteral("/Admin/Mail/queue/ver"), -1), 2);

    page->m_list->header()->moveSection(3, 0); // "Size" to the front
    QTRY_COMPARE(loads(), before + 1);
    QCOMPARE(page->m_list->topLevelItemCount(), 4);
    QCOMPARE(page->m_list->headerItem()->text(page->m_list->header()->logicalIndex(0)), QStringLiteral("Size"));
    Cols stored;
    QQueueItem::addColumns(stored);
    stored.load(&desktop, QStringLiteral("Admin/Mail"), QStringLiteral("queue"), 2);
    QCOMPARE(stored.cols.first(), int(QQueueItem::Size));
}

void TestWndQueue::columnsDialogReloadsAndSaves()
{
    Desktop desktop;
    auto page = makePage(&desktop);
    DialogRecorder recorder;
    recorder.answerDialog(QDialog::Rejected);
    recorder.answerDialog(QDialog::Accepted);
    const int before = loads();
    page->slotCols();
    QCOMPARE(loads(), before);
    page->slotCols();
    QCOMPARE(loads(), before + 1);
    QCOMPARE(desktop.settings()->readNumEntry(QStringLiteral("/Admin/Mail/queue/ver"), -1), 2);
}

void TestWndQueue::refusedReloadAfterAColumnChangeChangesNothing_data()
{
    QTest::addColumn<QString>("hidden"); // the column "Modify Columns" hides; none: a header drag

    QTest::newRow("ID hidden") << "ID";
    QTest::newRow("Size hidden") << "Size";
    QTest::newRow("To hidden") << "To";
    QTest::newRow("Size dragged to the front") << QString();
}

// Every cell stays under its own title, the layout is not saved, and the next reload draws
// the columns as they were.
void TestWndQueue::refusedReloadAfterAColumnChangeChangesNothing()
{
    QFETCH(QString, hidden);

    Desktop desktop;
    // A layout an earlier test saved is not this test's: one of another version is not read.
    const QString version = QStringLiteral("/Admin/Mail/queue/ver");
    desktop.settings()->writeEntry(version, 1);
    auto page = makePage(&desktop);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    const QList<QStringList> shown = shownColumns(page->m_list);
    QCOMPARE(shown.size(), 6);
    QCOMPARE(shown.at(0), (QStringList{"ID", "Q'2\"", "Q100", "Q300", "Q400"}));
    QCOMPARE(shown.at(3), (QStringList{"Size", "999", "1234", "1048576", ""}));
    QVERIFY(m_server->refuse("show_queue", 111, 1));
    const int before = loads();
    DialogRecorder recorder;
    if (!hidden.isEmpty()) {
        recorder.answerDialog(hideColumnNamed(hidden));
        page->slotCols();
        QCOMPARE(recorder.dialogs.size(), 1);
    } else {
        page->m_list->header()->moveSection(3, 0);
        QTRY_COMPARE(loads(), before + 1);
    }
    // Refused in silence; once the page has its answer the header is as it was.
    QTRY_COMPARE(page->m_list->header()->logicalIndex(0), 0);
    QCOMPARE(loads(), before + 1);
    QCOMPARE(recorder.messages.size(), 0);
    QCOMPARE(shownColumns(page->m_list), shown);
    QCOMPARE(desktop.settings()->readNumEntry(version, -1), 1);

    page->slotRefresh();
    QCOMPARE(loads(), before + 2);
    QCOMPARE(shownColumns(page->m_list), shown);
}

QTEST_MAIN(TestWndQueue)
#include "tst_wndqueue.moc"
