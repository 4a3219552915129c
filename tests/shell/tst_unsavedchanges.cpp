// What the administrator typed on a page outlives a save that does not go through, in a main
// window on the stand-in server: a statement the server refuses as the page is left or the
// window closes keeps the page and the window on what was typed, and an apply a page's own
// check withdraws leaves what the page shows pending, however the apply started. Leaving the
// page or closing the window then asks about it; nothing goes to the server that the
// administrator did not confirm.

#include "dialogrecorder.h"
#include "shellharness.h"
#include "typing.h"
#include "wndavir.h"
#include "wndsmtp.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

const QString UnsavedQuestion = QStringLiteral(
    "You have modified some data in the current view.\nSave changes on 127.0.0.1?");
const QString Refused = QStringLiteral("Query failed: Wrong SQL query");
// The relay's host name and port go in one statement; the server refuses the port.
const QString Relay = QStringLiteral("update relay set ServerName='relay2.example', ServerPort='70000'");
const QString FillAddress =
    QStringLiteral("You should fill administrator's address.\nDo you want to correct the problem?");

// The unsaved-changes prompt's buttons, by their place.
enum UnsavedAnswer { Yes = 0, No = 1, Cancel = 2 };
// The page's own question asks with the toolkit's buttons.
constexpr int Correct = QMessageBox::Yes;

} // namespace

class TestUnsavedChanges : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void refusedSaveKeepsWhatWasTyped_data();
    void refusedSaveKeepsWhatWasTyped();
    void withdrawnApplyLeavesTheEditsPending_data();
    void withdrawnApplyLeavesTheEditsPending();

private:
    int mark() const { return int(m_server->journal().size()); }
    // Leaves the page as the administrator does: "close" the window, "Down" from the current
    // item of the tree, or a "click" on the item at path.
    void leaveBy(const QString& way, const QString& path) const;
    // The statements the server received since `from`, but what pages read.
    QStringList changesSince(int from) const;
    bool openAndEditAntivirus();

    std::unique_ptr<WindowOnStandIn> m_standIn;
    StandIn::TestServer* m_server = nullptr;
    QPointer<WndMain> m_window;
};

void TestUnsavedChanges::init()
{
    m_standIn = std::make_unique<WindowOnStandIn>();
    m_server = m_standIn->server.get();
    m_window = m_standIn->window;
    QVERIFY(m_window);
}

void TestUnsavedChanges::cleanup()
{
    m_standIn.reset();
}

QStringList TestUnsavedChanges::changesSince(int from) const
{
    QStringList changes;
    for (const QString& statement : journalFrom(*m_server, from)) {
        if (!statement.startsWith(QLatin1String("select "), Qt::CaseInsensitive))
            changes.append(statement);
    }
    return changes;
}

void TestUnsavedChanges::leaveBy(const QString& way, const QString& path) const
{
    QTreeWidget* tree = m_window->getTree();
    if (way == QLatin1String("close")) {
        m_window->close();
    } else if (way == QLatin1String("Down")) {
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Down);
    } else {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                          tree->visualItemRect(treeItem(m_window, path)).center());
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestUnsavedChanges::refusedSaveKeepsWhatWasTyped_data()
{
    QTest::addColumn<QString>("way");        // of leaving the page (leaveBy)
    QTest::addColumn<QString>("target");     // the item left for
    QTest::addColumn<int>("again");          // the answer to the second leaving's prompt
    QTest::addColumn<QStringList>("sent");   // by the second leaving
    QTest::addColumn<QStringList>("boxes");  // of the second leaving
    QTest::addColumn<bool>("left");

    const QString antivirus = QStringLiteral("Configuration/Antivirus");
    const QString pop3 = QStringLiteral("Configuration/POP3 Download");
    const QStringList asked{UnsavedQuestion};
    const QStringList tryAgain{UnsavedQuestion, Refused};
    QTest::newRow("closing, No closes without sending") << "close" << "" << int(No) << QStringList{} << asked << true;
    QTest::newRow("closing, Yes tries again") << "close" << "" << int(Yes) << QStringList{Relay} << tryAgain << false;
    QTest::newRow("closing, Cancel stays") << "close" << "" << int(Cancel) << QStringList{} << asked << false;
    QTest::newRow("Down to a configuration page, No leaves without sending")
        << "Down" << antivirus << int(No) << QStringList{} << asked << true;
    QTest::newRow("Down, Yes tries again") << "Down" << antivirus << int(Yes) << QStringList{Relay} << tryAgain
                                           << false;
    QTest::newRow("a click on a list page, No leaves without sending")
        << "click" << pop3 << int(No) << QStringList{} << asked << true;
    QTest::newRow("a click, Cancel stays") << "click" << pop3 << int(Cancel) << QStringList{} << asked << false;
}

// SMTP Properties with a valid host name and a relay port the server refuses, typed key by key;
// the page left or the window closed, and Yes answered. The page stays on what was typed, still
// pending, in the window: no configuration page opens in its place and drops it, and no list
// page carries it unseen. Leaving again asks again.
void TestUnsavedChanges::refusedSaveKeepsWhatWasTyped()
{
    QFETCH(QString, way);
    QFETCH(QString, target);
    QFETCH(int, again);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, boxes);
    QFETCH(bool, left);

    auto* page = openPage<WndSmtp>(m_window, QStringLiteral("Configuration/SMTP Properties"));
    QVERIFY(page);
    QTreeWidgetItem* smtp = m_window->getCurrentItem();
    typeOver(page->m_editHostname, QStringLiteral("relay2.example"));
    typeOver(page->m_editPort, QStringLiteral("70000"));

    int from = mark();
    {
        DialogRecorder recorder;
        recorder.answer(Yes);
        leaveBy(way, target);
        QCOMPARE(recorder.messageTexts(), (QStringList{UnsavedQuestion, Refused}));
    }
    QCOMPARE(changesSince(from), QStringList{Relay});
    QTest::qWait(20);
    QVERIFY(m_window);
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_window->getCurrentItem(), smtp);
    QCOMPARE(m_window->getTree()->currentItem(), smtp);
    QCOMPARE(m_window->getTree()->selectedItems(), QList<QTreeWidgetItem*>{smtp});
    QCOMPARE(m_window->findChild<WndSmtp*>(), page);
    QCOMPARE(page->m_editHostname->text(), QStringLiteral("relay2.example"));
    QCOMPARE(page->m_editPort->text(), QStringLiteral("70000"));
    QCOMPARE(m_window->getDBCtrl()->m_pending, QStringList{Relay});
    QVERIFY(m_window->getApplyButton()->isEnabled());

    from = mark();
    DialogRecorder recorder;
    recorder.answer(again);
    leaveBy(way, target);
    QCOMPARE(recorder.messageTexts(), boxes);
    QCOMPARE(changesSince(from), sent);
    if (way == QLatin1String("close")) {
        if (left)
            QTRY_VERIFY(m_window.isNull());
        else
            QVERIFY(m_window->isVisible());
    } else {
        QCOMPARE(m_window->getCurrentItem(), left ? treeItem(m_window, target) : smtp);
        QTRY_COMPARE(m_window->getTree()->selectedItems(), QList<QTreeWidgetItem*>{m_window->getCurrentItem()});
        // Nothing of SMTP Properties rides along to another page.
        QCOMPARE(m_window->getApplyButton()->isEnabled(), !left);
    }
    if (left)
        return;
    QCOMPARE(page->m_editHostname->text(), QStringLiteral("relay2.example"));
    QCOMPARE(page->m_editPort->text(), QStringLiteral("70000"));
    QCOMPARE(m_window->getDBCtrl()->m_pending, QStringList{Relay});
}

// Antivirus, Action tab: "only if sender is local" ticked and the administrator's address
// emptied, key by key.
bool TestUnsavedChanges::openAndEditAntivirus()
{
    auto* page = openPage<WndAvir>(m_window, QStringLiteral("Configuration/Antivirus"));
    if (!page)
        return false;
    page->findChild<QTabWidget*>()->setCurrentIndex(2);
    QCheckBox* onlyLocal = page->m_chOnlyLocal;
    if (!onlyLocal->isEnabled() || onlyLocal->isChecked() || page->m_editAdminNotify->text().isEmpty())
        return false;
    onlyLocal->click();
    typeOver(page->m_editAdminNotify, QString());
    QTest::keyClick(page->m_editAdminNotify, Qt::Key_Tab);
    return true;
}

void TestUnsavedChanges::withdrawnApplyLeavesTheEditsPending_data()
{
    QTest::addColumn<QString>("leave");        // "switch" to Backup, or "close" the window
    QTest::addColumn<QList<int>>("answers");   // to the boxes leaving shows
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("left");

    const QStringList asked{UnsavedQuestion};
    const QStringList askedAgain{UnsavedQuestion, FillAddress};
    QTest::newRow("switch, No drops the edits") << "switch" << QList<int>{No} << asked << true;
    QTest::newRow("switch, Yes: the page asks again") << "switch" << QList<int>{Yes, Correct} << askedAgain << false;
    QTest::newRow("switch, Cancel") << "switch" << QList<int>{Cancel} << asked << false;
    QTest::newRow("close, No drops the edits") << "close" << QList<int>{No} << asked << true;
    QTest::newRow("close, Yes: the page asks again") << "close" << QList<int>{Yes, Correct} << askedAgain << false;
    QTest::newRow("close, Cancel") << "close" << QList<int>{Cancel} << asked << false;
}

// Apply pressed; the page asks to correct the missing address and the administrator answers
// Yes: nothing is written, and the edits are pending again. Leaving the page or closing the
// window then asks about them; the first change of the tree after the withdrawn apply is
// turned back, as before.
void TestUnsavedChanges::withdrawnApplyLeavesTheEditsPending()
{
    QFETCH(QString, leave);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, boxes);
    QFETCH(bool, left);

    QVERIFY(openAndEditAntivirus());
    auto* page = m_window->findChild<WndAvir*>();
    const QStringList pending = m_window->getDBCtrl()->m_pending;
    QVERIFY(!pending.isEmpty());

    const int from = mark();
    {
        DialogRecorder recorder;
        recorder.answer(Correct);
        m_window->getApplyButton()->click();
        QCOMPARE(recorder.messageTexts(), QStringList{FillAddress});
    }
    QCOMPARE(changesSince(from), QStringList());
    QCOMPARE(m_window->getDBCtrl()->m_pending, pending);
    QVERIFY(m_window->getApplyButton()->isEnabled());
    QVERIFY(m_window->getResetButton()->isEnabled());

    DialogRecorder recorder;
    for (int answer : answers)
        recorder.answer(answer);
    QTreeWidgetItem* antivirus = treeItem(m_window, QStringLiteral("Configuration/Antivirus"));
    if (leave == QLatin1String("switch")) {
        choose(m_window, QStringLiteral("Configuration/Backup"));
        QCOMPARE(m_window->getCurrentItem(), antivirus);
        QCOMPARE(recorder.messageTexts(), QStringList());
        choose(m_window, QStringLiteral("Configuration/Backup"));
        QCOMPARE(m_window->getCurrentItem() != antivirus, left);
    } else {
        QCOMPARE(m_window->close(), left);
    }
    QCOMPARE(recorder.messageTexts(), boxes);
    // Nothing is written: No drops the edits, and the check withdraws every apply.
    QCOMPARE(changesSince(from), QStringList());
    if (left)
        return;
    QTest::qWait(20);
    QVERIFY(m_window);
    QCOMPARE(m_window->findChild<WndAvir*>(), page);
    QVERIFY(page->m_chOnlyLocal->isChecked());
    QCOMPARE(page->m_editAdminNotify->text(), QString());
    QCOMPARE(m_window->getDBCtrl()->m_pending, pending);
}

QTEST_MAIN(TestUnsavedChanges)
#include "tst_unsavedchanges.moc"
