// The delivery pages in a main window, built through the page table: where they stand in
// the tree, whether the Apply/Reset bar goes with them, ETRN changes applied (also by an
// apply the server stops part-way), and the Scheduling page, which hands nothing over until
// the administrator changes something.

#include "deliveryfixture.h"
#include "dialogrecorder.h"
#include "dlgetrn.h"
#include "dlgsched.h"
#include "shellharness.h"
#include "wndconnection.h"
#include "wndetrn.h"
#include "wndqueue.h"
#include "wndsched.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>

namespace {

// The top-level entry whose column `column` reads `text`.
QTreeWidgetItem* itemReading(const QTreeWidget* list, int column, const QString& text)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(column) == text)
            return list->topLevelItem(i);
    }
    return nullptr;
}

// As typed over the field's whole text.
void typeInto(QLineEdit* field, const QString& text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
}

// The ETRN dialog's answer: the fields typed over, then OK.
std::function<int(QDialog*)> etrnTyped(const QList<QPair<const char*, QString>>& fields)
{
    return [fields](QDialog* dialog) {
        for (const auto& field : fields)
            typeInto(dialog->findChild<QLineEdit*>(QLatin1String(field.first)), field.second);
        static_cast<DlgEtrn*>(dialog)->m_btnOK->click();
        return dialog->result();
    };
}

// The ETRN entries as the server holds them, or as the page shows them: server, domain,
// authentication and user (a password is never read back).
QList<QStringList> etrnEntries(const QList<QStringList>& rows)
{
    QList<QStringList> entries;
    for (const QStringList& row : rows)
        entries.append(row.mid(0, 4));
    std::sort(entries.begin(), entries.end());
    return entries;
}

QList<QStringList> etrnEntries(const DBTable& table)
{
    QList<QStringList> rows;
    for (const auto& row : table.m_rows) {
        QStringList texts;
        for (const auto& value : row->m_values)
            texts.append(value->text());
        rows.append(texts);
    }
    return etrnEntries(rows);
}

} // namespace

class TestDeliveryPages : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openFromTheTree_data();
    void openFromTheTree();
    void etrnRemovalApplied();
    void etrnApplyStoppedPartWay_data();
    void etrnApplyStoppedPartWay();
    void schedulingPendsOnlyWhatIsToggled();
    void schedulingDialogKeepsWhatItCannotShow_data();
    void schedulingDialogKeepsWhatItCannotShow();

private:
    WndSched* openScheduling(ConsoleStandIn& console, WndMain** window);

    std::unique_ptr<StandIn::TestServer> m_server;
};

void TestDeliveryPages::init()
{
    m_server = startStandIn();
    DeliveryFixture::install(*m_server);
    PageFactory::registerPage<WndEtrn>(PageKind::EtrnDownload);
    PageFactory::registerPage<WndQueue>(PageKind::MailQueue);
    PageFactory::registerPage<WndConnection>(PageKind::Connections);
    PageFactory::registerPage<WndSched>(PageKind::Scheduling);
    m_server->setTable("timeintervals", DeliveryFixture::timeColumns(), DeliveryFixture::timeRanges());
}

void TestDeliveryPages::cleanup()
{
    m_server.reset();
}

void TestDeliveryPages::openFromTheTree_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("pageClass");
    QTest::addColumn<bool>("bar");
    QTest::addColumn<int>("rows");

    QTest::newRow("ETRN") << "Configuration/ETRN Download" << "WndEtrn" << true << 3;
    QTest::newRow("queue") << "Status/Mail Queue" << "WndQueue" << false << 4;
    QTest::newRow("connections") << "Status/Connections" << "WndConnection" << false << 4;
}

void TestDeliveryPages::openFromTheTree()
{
    QFETCH(QString, path);
    QFETCH(QString, pageClass);
    QFETCH(bool, bar);
    QFETCH(int, rows);

    ConsoleStandIn console;
    WndMain* window = console.open(m_server->port());
    QVERIFY(window);
    choose(window, path);
    QWidget* page = nullptr;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (QLatin1String(widget->metaObject()->className()) == pageClass)
            page = widget;
    }
    QVERIFY(page);
    QCOMPARE(window->getApplyButton()->isVisibleTo(window), bar);
    QCOMPARE(page->findChild<QTreeWidget*>(QStringLiteral("m_list"))->topLevelItemCount(), rows);
}

void TestDeliveryPages::etrnRemovalApplied()
{
    ConsoleStandIn console;
    WndMain* window = console.open(m_server->port());
    QVERIFY(window);
    choose(window, QStringLiteral("Configuration/ETRN Download"));
    auto* page = window->findChild<WndEtrn*>();
    QVERIFY(page);
    page->m_list->topLevelItem(2)->setSelected(true);
    page->slotRemove();
    const int before = int(m_server->journal().size());
    window->apply();
    QCOMPARE(journalFrom(*m_server, before),
             QStringList{"delete from odmr where server='relay.example' and domain='corvane.example'"});
    QCOMPARE(m_server->rows("odmr").size(), 2);
    QVERIFY(page->m_table.diff(true)->isEmpty());
}

void TestDeliveryPages::etrnApplyStoppedPartWay_data()
{
    QTest::addColumn<int>("refused");    // the statement the server refuses, from 1
    QTest::addColumn<QStringList>("rest"); // what the next Apply sends, after one more edit

    const QString removeRelay = "delete from odmr where server='relay.example' and domain='corvane.example'";
    const QString userChanged = "update odmr set user='corvane2' where server='mx.isp.example' and domain='corvane.example'";
    const QString zAdded = "insert odmr set server='etrn.example', domain='z.example', auth='0', user='', password='NUL:'";
    // The entry added as y, renamed afterwards: an update once the server holds y.
    const QString yAsRenamed = "insert odmr set server='etrn.example', domain='y2.example', auth='0', user='', password='NUL:'";
    const QString yRenamed = "update odmr set domain='y2.example' where server='etrn.example' and domain='y.example'";
    QTest::newRow("the removal refused") << 1 << QStringList{removeRelay, userChanged, yAsRenamed, zAdded};
    QTest::newRow("the change refused") << 2 << QStringList{userChanged, yAsRenamed, zAdded};
    QTest::newRow("the first addition refused") << 3 << QStringList{yAsRenamed, zAdded};
    QTest::newRow("the second addition refused") << 4 << QStringList{yRenamed, zAdded};
}

// Four changes, one of which the server refuses; one more edit; Apply again with everything
// accepted. Each statement reaches the server once, and it ends up holding what the page shows.
void TestDeliveryPages::etrnApplyStoppedPartWay()
{
    QFETCH(int, refused);
    QFETCH(QStringList, rest);

    ConsoleStandIn console;
    WndMain* window = console.open(m_server->port());
    QVERIFY(window);
    auto* page = openPage<WndEtrn>(window, QStringLiteral("Configuration/ETRN Download"));
    QVERIFY(page);
    DialogRecorder recorder;
    page->m_list->setCurrentItem(itemReading(page->m_list, 0, "relay.example"));
    page->m_btnRemove->click();
    page->m_list->setCurrentItem(itemReading(page->m_list, 1, "corvane.example"));
    recorder.answerDialog(etrnTyped({{"m_editUser", "corvane2"}}));
    page->m_btnEdit->click();
    for (const char* domain : {"y.example", "z.example"}) {
        recorder.answerDialog(etrnTyped({{"m_editServer", "etrn.example"}, {"m_editDomain", domain}}));
        page->m_btnAdd->click();
    }
    const QStringList statements{
        "delete from odmr where server='relay.example' and domain='corvane.example'",
        "update odmr set user='corvane2' where server='mx.isp.example' and domain='corvane.example'",
        "insert odmr set server='etrn.example', domain='y.example', auth='0', user='', password='NUL:'",
        "insert odmr set server='etrn.example', domain='z.example', auth='0', user='', password='NUL:'"};
    QCOMPARE(window->getDBCtrl()->m_pending, statements);

    const QString stopper = statements.at(refused - 1);
    QVERIFY(m_server->refuse('^' + QRegularExpression::escape(stopper) + '$', 111, 1));
    int mark = int(m_server->journal().size());
    window->getApplyButton()->click();
    QCOMPARE(recorder.messageTexts(), QStringList{"Query failed: Query not possible"});
    QCOMPARE(journalFrom(*m_server, mark), statements.mid(0, refused));
    QCOMPARE(window->getDBCtrl()->m_pending, statements.mid(refused - 1));
    QVERIFY(window->getApplyButton()->isEnabled());

    // y is renamed.
    page->m_list->setCurrentItem(itemReading(page->m_list, 1, "y.example"));
    recorder.answerDialog(etrnTyped({{"m_editDomain", "y2.example"}}));
    page->m_btnEdit->click();
    QCOMPARE(window->getDBCtrl()->m_pending, rest);
    mark = int(m_server->journal().size());
    window->getApplyButton()->click();
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(journalFrom(*m_server, mark), rest);
    QCOMPARE(etrnEntries(m_server->rows("odmr")), etrnEntries(page->m_table));
    QVERIFY(window->getDBCtrl()->m_pending.isEmpty());
    QVERIFY(page->m_table.diff(true)->isEmpty());
}

WndSched* TestDeliveryPages::openScheduling(ConsoleStandIn& console, WndMain** window)
{
    *window = console.open(m_server->port());
    return *window ? openPage<WndSched>(*window, QStringLiteral("Configuration/Scheduling")) : nullptr;
}

void TestDeliveryPages::schedulingPendsOnlyWhatIsToggled()
{
    // Enabled stored as 2 (shown on) and as null (shown off).
    m_server->setTable("scheduler", DeliveryFixture::schedColumns(),
                       {{"0", "60", "", "2", "two", "0", "1"}, {"1", "425", "", "", "null", "0", "1"}});
    ConsoleStandIn console;
    WndMain* window = nullptr;
    WndSched* page = openScheduling(console, &window);
    QVERIFY(page);
    const QString update = "update scheduler set enabled='0' where timetype='0' and time='60' and timeint=''";
    QTreeWidgetItem* two = itemReading(page->m_list, 2, "two");
    QTreeWidgetItem* null = itemReading(page->m_list, 2, "null");
    QCOMPARE(two->checkState(0), Qt::Checked);
    QCOMPARE(null->checkState(0), Qt::Unchecked);
    // Opened: nothing pending, and the buttons say so.
    QVERIFY(window->getDBCtrl()->m_pending.isEmpty());
    QVERIFY(!window->getApplyButton()->isEnabled());
    QVERIFY(!window->getResetButton()->isEnabled());

    two->setCheckState(0, Qt::Unchecked);
    QCOMPARE(window->getDBCtrl()->m_pending, QStringList{update});
    QVERIFY(window->getApplyButton()->isEnabled());
    QVERIFY(window->getResetButton()->isEnabled());
    // Toggled back, each row holds what it held.
    two->setCheckState(0, Qt::Checked);
    null->setCheckState(0, Qt::Checked);
    null->setCheckState(0, Qt::Unchecked);
    QVERIFY(window->getDBCtrl()->m_pending.isEmpty());
    QVERIFY(!window->getApplyButton()->isEnabled());

    // Nothing to ask about on leaving.
    DialogRecorder recorder;
    choose(window, QStringLiteral("Configuration/ETRN Download"));
    QVERIFY(recorder.messages.isEmpty());
    page = openPage<WndSched>(window, QStringLiteral("Configuration/Scheduling"));
    QVERIFY(page);
    QVERIFY(!window->getApplyButton()->isEnabled());
    itemReading(page->m_list, 2, "two")->setCheckState(0, Qt::Unchecked);
    QCOMPARE(applied(window, *m_server), QStringList{update});
    QVERIFY(!window->getApplyButton()->isEnabled());
    QVERIFY(recorder.messages.isEmpty());
}

void TestDeliveryPages::schedulingDialogKeepsWhatItCannotShow_data()
{
    using Typing = std::function<void(DlgSched*)>;
    QTest::addColumn<Typing>("typing");
    QTest::addColumn<QStringList>("sent");

    // Restricted to a range that no longer exists, allowed to dial as 77, actions 77 (send,
    // ETRN and two bits no box stands for).
    const QString where = " where timetype='0' and time='60' and timeint='Gone'";
    QTest::newRow("untouched: nothing sent") << Typing([](DlgSched*) {}) << QStringList();
    QTest::newRow("dial-up off") << Typing([](DlgSched* d) { d->m_chkDialRAS->setChecked(false); })
                                 << QStringList{"update scheduler set allowdial='0'" + where};
    QTest::newRow("sending off") << Typing([](DlgSched* d) { d->m_chkSend->setChecked(false); })
                                 << QStringList{"update scheduler set action='4'" + where};
    QTest::newRow("another range") << Typing([](DlgSched* d) { d->m_combo->setCurrentText("Night"); })
                                   << QStringList{"update scheduler set timeint='Night'" + where};
    QTest::newRow("no range") << Typing([](DlgSched* d) { d->m_chkValid->setChecked(false); })
                              << QStringList{"update scheduler set timeint=''" + where};
    QTest::newRow("every two hours") << Typing([](DlgSched* d) { d->m_edit->setText("2"); })
                                     << QStringList{"update scheduler set time='120'" + where};
}

void TestDeliveryPages::schedulingDialogKeepsWhatItCannotShow()
{
    using Typing = std::function<void(DlgSched*)>;
    QFETCH(Typing, typing);
    QFETCH(QStringList, sent);

    m_server->setTable("scheduler", DeliveryFixture::schedColumns(), {{"0", "60", "Gone", "1", "odd", "77", "77"}});
    ConsoleStandIn console;
    WndMain* window = nullptr;
    WndSched* page = openScheduling(console, &window);
    QVERIFY(page);
    DialogRecorder recorder;
    QString range;
    recorder.answerDialog([&](QDialog* opened) {
        auto* dialog = qobject_cast<DlgSched*>(opened);
        range = dialog->m_chkValid->isChecked() ? dialog->m_combo->currentText() : QString();
        typing(dialog);
        dialog->m_rbtnOK->click();
        return dialog->result();
    });
    page->m_list->setCurrentItem(page->m_list->topLevelItem(0));
    page->slotEdit();
    QCOMPARE(range, QStringLiteral("Gone"));
    QVERIFY(recorder.messages.isEmpty());
    QCOMPARE(window->getApplyButton()->isEnabled(), !sent.isEmpty());
    QCOMPARE(applied(window, *m_server), sent);
}

QTEST_MAIN(TestDeliveryPages)
#include "tst_deliverypages.moc"
