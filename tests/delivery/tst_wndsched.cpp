// The Scheduling page against the stand-in server: its cells, the check boxes that switch
// entries on and off, the scheduled action dialog it fills and reads, the dialog's checks,
// the duplicate refusal and the time ranges reloaded after "&Edit...".

#include "dbctrl.h"
#include "deliveryfixture.h"
#include "pendingapply.h"
#include "typing.h"
#include "deliverytexts.h"
#include "dialogrecorder.h"
#include "dlgsched.h"
#include "pagesession.h"
#include "qscheditem.h"
#include "wndsched.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

using DeliveryTexts::cell;
using namespace StandIn;

namespace {

using DeliveryFixture::schedColumns;
using DeliveryFixture::timeColumns;

const QList<QStringList> ranges = DeliveryFixture::timeRanges();

// What the dialog showed: description|Every or At|time text|unit or hint|actions|range|dial.
QString describe(const DlgSched* dialog)
{
    const bool every = dialog->m_comboEveryAt->currentIndex() == 0;
    return QStringList{dialog->m_editDesc->text(),
                       dialog->m_comboEveryAt->currentText(),
                       dialog->m_edit->text(),
                       every ? dialog->m_comboMin->currentText() : QStringLiteral("(hh:mm)"),
                       QString::number((dialog->m_chkSend->isChecked() ? 1 : 0)
                                       + (dialog->m_chkReceive->isChecked() ? 2 : 0)
                                       + (dialog->m_chkOdmr->isChecked() ? 4 : 0)),
                       dialog->m_chkValid->isChecked() ? dialog->m_combo->currentText() : QStringLiteral("-"),
                       dialog->m_chkDialRAS->isChecked() ? QStringLiteral("dial") : QStringLiteral("no dial")}
        .join(QLatin1Char('|'));
}

QStringList rowTexts(const QTreeWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        QStringList cells;
        for (int c = 0; c < list->columnCount(); ++c)
            cells << item->text(c);
        texts << (item->checkState(0) == Qt::Checked ? "[x] " : "[ ] ") + cells.join(QLatin1Char('|'));
    }
    return texts;
}

// The administrator's work in an open dialog, key by key.
using Typing = std::function<void(DlgSched*)>;

template<typename Field>
Typing keyOn(Field field, Qt::Key key)
{
    return [field, key](DlgSched* dialog) { QTest::keyClick(dialog->*field, key); };
}

template<typename Field>
Typing typedInto(Field field, const QString& text)
{
    return [field, text](DlgSched* dialog) { typeOver(dialog->*field, text); };
}

QStringList comboTexts(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

} // namespace

Q_DECLARE_METATYPE(Typing)

class TestWndSched : public QObject
{
    Q_OBJECT

private slots:
    // A locale whose group separator is the comma, whatever the machine's.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void init();
    void cleanup();

    void cellsAndChecks();
    void dialogOpensOnTheRow_data();
    void dialogOpensOnTheRow();
    void everyAndAtKeepTheirTexts();
    void okChecks_data();
    void okChecks();
    void intervalNumbers_data();
    void intervalNumbers();
    void unitChosenUnderAStoredInterval_data();
    void unitChosenUnderAStoredInterval();
    void storedTimes_data();
    void storedTimes();
    void toggledOnAndOffLeavesNothingPending();
    void duplicateKeys_data();
    void duplicateKeys();
    void rangesEditedAndReloaded();
    void rangesEditCancelledResets();
    void failedReloadKeepsTheRanges();
    void editOfOneActionSendsOnlyItsStatement_data();
    void editOfOneActionSendsOnlyItsStatement();
    void typedTimeOfDay_data();
    void typedTimeOfDay();
    void storedCellsKeptUntilTheirFieldIsEdited_data();
    void storedCellsKeptUntilTheirFieldIsEdited();
    void newActionTimeIsChecked();
    void storedTimeIsCheckedOnOk_data();
    void storedTimeIsCheckedOnOk();

private:
    std::unique_ptr<WndSched> makePage()
    {
        return std::make_unique<WndSched>(nullptr, m_session->connection(), m_ctrl, nullptr);
    }
    void setRows(const QList<QStringList>& rows) { m_server->setTable("scheduler", schedColumns(), rows); }

    std::unique_ptr<PageSession> m_session;
    TestServer* m_server = nullptr;
    DBCtrl* m_ctrl = nullptr;
};

void TestWndSched::init()
{
    m_session = std::make_unique<PageSession>();
    m_server = m_session->server.get();
    m_ctrl = &m_session->ctrl;
    m_server->setTable("timeintervals", timeColumns(), ranges);
    setRows({{"0", "120", "Night", "1", "nightly", "1", "5"},
             {"1", "425", "", "0", "morning", "2", "7"},
             {"0", "90", "", "1", "often", "0", "8"}});
    QVERIFY(m_session->connect());
}

void TestWndSched::cleanup()
{
    m_session.reset();
}

void TestWndSched::cellsAndChecks()
{
    auto page = makePage();
    QCOMPARE(page->m_list->columnCount(), 3);
    QCOMPARE(page->m_list->headerItem()->text(0), QStringLiteral("Time"));
    QCOMPARE(page->m_list->headerItem()->text(1), QStringLiteral("Action(s)"));
    QCOMPARE(page->m_list->headerItem()->text(2), QStringLiteral("Description"));
    // Sorted by the time text: "At" before "Every", "2 hours" before "90 minutes".
    QCOMPARE(rowTexts(page->m_list),
             (QStringList{"[ ] At 07:05|Send mail, Download POP3, ETRN Download|morning",
                          "[x] Every 2 hours (Valid only at time range \"Night\")|Send mail, ETRN Download|nightly",
                          "[x] Every 90 minutes||often"}));
    QCOMPARE(DeliveryFixture::statements(*m_server),
             (QStringList{"select timetype, time, timeint, enabled, desc, allowdial, action from scheduler",
                          "select name, desc, type, days, start, end from timeintervals"}));
    QVERIFY(m_ctrl->m_pending.isEmpty());
}

void TestWndSched::dialogOpensOnTheRow_data()
{
    QTest::addColumn<QStringList>("row");
    QTest::addColumn<QString>("shown");

    QTest::newRow("whole hours") << QStringList{"0", "120", "Night", "1", "nightly", "1", "5"}
                                 << "nightly|Every|2|Hours|5|Night|dial";
    QTest::newRow("minutes") << QStringList{"0", "90", "", "1", "often", "0", "3"} << "often|Every|90|Minutes|3|-|no dial";
    QTest::newRow("at") << QStringList{"1", "425", "", "1", "morning", "2", "8"} << "morning|At|07:05|(hh:mm)|0|-|dial";
    QTest::newRow("range no longer among the ranges") << QStringList{"0", "60", "Gone", "1", "", "0", "1"}
                                                     << "|Every|1|Hours|1|Gone|no dial";
}

void TestWndSched::dialogOpensOnTheRow()
{
    QFETCH(QStringList, row);
    QFETCH(QString, shown);
    setRows({row});
    auto page = makePage();
    DialogRecorder recorder;
    QStringList seen;
    recorder.answerDialog([&seen](QDialog* dialog) {
        seen << describe(qobject_cast<DlgSched*>(dialog));
        return int(QDialog::Rejected);
    });
    page->m_list->setCurrentItem(page->m_list->topLevelItem(0));
    page->slotEdit();
    QCOMPARE(seen, QStringList{shown});
}

void TestWndSched::everyAndAtKeepTheirTexts()
{
    DlgSched dialog(nullptr, nullptr, true, {}, nullptr, nullptr, nullptr);
    dialog.m_edit->setText(QStringLiteral("15"));
    dialog.m_comboEveryAt->setCurrentIndex(1);
    dialog.slotEveryAtActivated(1);
    QCOMPARE(dialog.m_edit->text(), QStringLiteral("0:00"));
    QVERIFY(dialog.m_comboMin->isHidden());
    QVERIFY(!dialog.m_label->isHidden());
    dialog.m_edit->setText(QStringLiteral("6:30"));
    dialog.m_comboEveryAt->setCurrentIndex(0);
    dialog.slotEveryAtActivated(0);
    QCOMPARE(dialog.m_edit->text(), QStringLiteral("15"));
    QVERIFY(!dialog.m_comboMin->isHidden());
    QVERIFY(dialog.m_label->isHidden());
    dialog.m_comboEveryAt->setCurrentIndex(1);
    dialog.slotEveryAtActivated(1);
    QCOMPARE(dialog.m_edit->text(), QStringLiteral("6:30"));
}

void TestWndSched::okChecks_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("time");
    QTest::addColumn<bool>("action");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("accepted");

    const QString format = "You should fill time field in the format 12:34.\nDo you want to correct the problem?";
    const QString noAction = "There's no action specified.\nDo you want to correct the problem?";
    const QString zero = "It is not possible to repeat action(s) after 0 seconds! Set different interval!";
    QTest::newRow("every 5") << 0 << "5" << true << QList<int>() << QStringList() << true;
    QTest::newRow("every 0") << 0 << "0" << true << QList<int>() << QStringList{zero} << false;
    QTest::newRow("every negative") << 0 << "-5" << true << QList<int>() << QStringList{zero} << false;
    QTest::newRow("every not a number") << 0 << "x" << true << QList<int>() << QStringList{zero} << false;
    QTest::newRow("empty, corrected") << 0 << "" << true << QList<int>{QMessageBox::Yes} << QStringList{format} << false;
    QTest::newRow("at 7:05") << 1 << "7:05" << true << QList<int>() << QStringList() << true;
    QTest::newRow("at 24:00, cancel") << 1 << "24:00" << true << QList<int>{QMessageBox::Cancel} << QStringList{format}
                                      << false;
    // "No" stays too: it would store a time nobody typed.
    QTest::newRow("at 99:99, No") << 1 << "99:99" << true << QList<int>{QMessageBox::No} << QStringList{format} << false;
    QTest::newRow("empty, No") << 0 << "" << true << QList<int>{QMessageBox::No} << QStringList{format} << false;
    QTest::newRow("no action, corrected") << 0 << "5" << false << QList<int>{QMessageBox::Yes} << QStringList{noAction}
                                          << false;
    QTest::newRow("no action, No") << 1 << "7:05" << false << QList<int>{QMessageBox::No} << QStringList{noAction} << true;
}

void TestWndSched::okChecks()
{
    QFETCH(int, mode);
    QFETCH(QString, time);
    QFETCH(bool, action);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, messages);
    QFETCH(bool, accepted);

    DialogRecorder recorder;
    for (int answer : answers)
        recorder.answer(answer);
    DlgSched dialog(nullptr, nullptr, true, {}, nullptr, nullptr, nullptr);
    dialog.m_comboEveryAt->setCurrentIndex(mode);
    dialog.m_edit->setText(time);
    dialog.m_chkSend->setChecked(action);
    dialog.m_rbtnOK->click();
    QCOMPARE(recorder.messageTexts(), messages);
    for (const DialogRecorder::Message& message : std::as_const(recorder.messages)) {
        QCOMPARE(message.caption, QStringLiteral("Ornel Corvane Administration"));
        QVERIFY(!message.parent);
    }
    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
}

// An interval takes the digits typed and nothing else, whatever the locale, and is written
// as the number shown in the unit shown; one the column cannot hold in that unit keeps the
// dialog open on OK, whatever the answer to the box, with the time left as it was.
void TestWndSched::intervalNumbers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("answer"); // to the box, when one is shown
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("time");

    const QString hours = QStringLiteral("Interval must be a number from 0 to 35791394 Hours.");
    const QString minutes =
        QStringLiteral("Interval must be a number from 0 to 2147483647 Minutes.");
    const int ok = QMessageBox::Ok, closed = QMessageBox::Cancel;
    QTest::newRow("hours, a group separator") << "1,5" << 1 << ok << QStringList{} << true << "900";
    QTest::newRow("minutes, a group separator")
        << "2,000" << 0 << ok << QStringList{} << true << "2000";
    QTest::newRow("beyond the column in hours, OK")
        << "40000000" << 1 << ok << QStringList{hours} << false << "120";
    QTest::newRow("beyond the column in hours, the box closed")
        << "40000000" << 1 << closed << QStringList{hours} << false << "120";
    QTest::newRow("the same number in minutes")
        << "40000000" << 0 << ok << QStringList{} << true << "40000000";
    QTest::newRow("the column's top in minutes")
        << "2147483647" << 0 << ok << QStringList{} << true << "2147483647";
    QTest::newRow("beyond the column in minutes")
        << "2147483648" << 0 << ok << QStringList{minutes} << false << "120";
}

void TestWndSched::intervalNumbers()
{
    QFETCH(QString, typed);
    QFETCH(int, unit);
    QFETCH(int, answer);
    QFETCH(QStringList, asked);
    QFETCH(bool, accepted);
    QFETCH(QString, time);

    setRows({{"0", "120", "", "1", "nightly", "0", "5"}});
    auto page = makePage();
    DialogRecorder recorder;
    bool closed = false;
    recorder.answerDialog([&](QDialog* opened) {
        auto* dialog = qobject_cast<DlgSched*>(opened);
        QTest::keyClick(dialog->m_edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(dialog->m_edit, typed);
        dialog->m_comboMin->setCurrentIndex(unit);
        recorder.answer(answer);
        dialog->m_rbtnOK->click();
        closed = dialog->result() == QDialog::Accepted;
        return dialog->result();
    });
    page->m_list->setCurrentItem(page->m_list->topLevelItem(0));
    page->slotEdit();
    QCOMPARE(recorder.messageTexts(), asked);
    QCOMPARE(closed, accepted);
    QCOMPARE(cell(page->m_table.m_rows.front().get(), "time"), time);
}

// A unit chosen under an interval left alone makes the number the administrator's: one the
// time column cannot hold in that unit keeps the dialog open, never written wrapped round or
// cut.
void TestWndSched::unitChosenUnderAStoredInterval_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("answer"); // to the box, when one is shown
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("time");

    const QString hours = QStringLiteral("Interval must be a number from 0 to 35791394 Hours.");
    const int ok = QMessageBox::Ok, closed = QMessageBox::Cancel;
    QTest::newRow("minutes beyond the column in hours, OK")
        << "40000001" << 1 << ok << QStringList{hours} << false << "40000001";
    QTest::newRow("minutes beyond the column in hours, the box closed")
        << "40000001" << 1 << closed << QStringList{hours} << false << "40000001";
    QTest::newRow("2 hours made minutes") << "120" << 0 << ok << QStringList{} << true << "2";
    QTest::newRow("90 minutes made hours") << "90" << 1 << ok << QStringList{} << true << "5400";
}

void TestWndSched::unitChosenUnderAStoredInterval()
{
    QFETCH(QString, stored);
    QFETCH(int, unit);
    QFETCH(int, answer);
    QFETCH(QStringList, asked);
    QFETCH(bool, accepted);
    QFETCH(QString, time);

    setRows({{"0", stored, "", "1", "nightly", "0", "5"}});
    auto page = makePage();
    DialogRecorder recorder;
    bool closed = false;
    int shownUnit = -1;
    recorder.answerDialog([&](QDialog* opened) {
        auto* dialog = qobject_cast<DlgSched*>(opened);
        shownUnit = dialog->m_comboMin->currentIndex();
        dialog->m_comboMin->setCurrentIndex(unit);
        emit dialog->m_comboMin->activated(unit);
        recorder.answer(answer);
        dialog->m_rbtnOK->click();
        closed = dialog->result() == QDialog::Accepted;
        return dialog->result();
    });
    page->m_list->setCurrentItem(page->m_list->topLevelItem(0));
    page->slotEdit();
    QCOMPARE(shownUnit, 1 - unit);
    QCOMPARE(recorder.messageTexts(), asked);
    QCOMPARE(closed, accepted);
    QCOMPARE(cell(page->m_table.m_rows.front().get(), "time"), time);
}

void TestWndSched::storedTimes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QString>("stored");

    QTest::newRow("2 hours") << 0 << "2" << 1 << "timetype='0', time='120'";
    QTest::newRow("45 minutes") << 0 << "45" << 0 << "timetype='0', time='45'";
    QTest::newRow("at 07:05") << 1 << "07:05" << 0 << "timetype='1', time='425'";
    QTest::newRow("at 23:59") << 1 << "23:59" << 0 << "timetype='1', time='1439'";
}

void TestWndSched::storedTimes()
{
    QFETCH(int, mode);
    QFETCH(QString, time);
    QFETCH(int, unit);
    QFETCH(QString, stored);

    setRows({});
    auto page = makePage();
    DialogRecorder recorder;
    QStringList seen;
    recorder.answerDialog([&](QDialog* opened) {
        auto* dialog = qobject_cast<DlgSched*>(opened);
        seen << describe(dialog);
        dialog->m_comboEveryAt->setCurrentIndex(mode);
        dialog->slotEveryAtActivated(mode);
        dialog->m_edit->setText(time);
        dialog->m_comboMin->setCurrentIndex(unit);
        dialog->m_chkReceive->setChecked(true);
        dialog->m_rbtnOK->click();
        return dialog->result();
    });
    page->slotAdd();
    QCOMPARE(seen, QStringList{"|Every|0|Minutes|0|-|no dial"});
    QCOMPARE(m_ctrl->m_pending,
             QStringList{"insert scheduler set " + stored
                         + ", timeint='', enabled='1', desc='', allowdial='0', action='2'"});
    QCOMPARE(page->m_list->topLevelItem(0)->checkState(0), Qt::Checked);
}

void TestWndSched::toggledOnAndOffLeavesNothingPending()
{
    auto page = makePage();
    QTreeWidgetItem* morning = page->m_list->topLevelItem(0);
    morning->setCheckState(0, Qt::Checked);
    QCOMPARE(m_ctrl->m_pending,
             QStringList{"update scheduler set enabled='1' where timetype='1' and time='425' and timeint=''"});
    morning->setCheckState(0, Qt::Unchecked);
    QVERIFY(m_ctrl->m_pending.isEmpty());
}

void TestWndSched::duplicateKeys_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("range");
    QTest::addColumn<bool>("duplicate");

    QTest::newRow("same range, other case") << QStringList{"0", "60", "night", "1", "", "0", "1"} << 0 << "60"
                                            << "Night" << true;
    QTest::newRow("same everything") << QStringList{"0", "60", "Night", "1", "", "0", "1"} << 0 << "60" << "Night"
                                     << true;
    QTest::newRow("every 60 and at 01:00") << QStringList{"0", "60", "", "1", "", "0", "1"} << 1 << "01:00" << ""
                                           << false;
}

void TestWndSched::duplicateKeys()
{
    QFETCH(QStringList, existing);
    QFETCH(int, mode);
    QFETCH(QString, time);
    QFETCH(QString, range);
    QFETCH(bool, duplicate);

    setRows({existing});
    auto page = makePage();
    DialogRecorder recorder;
    QStringList seen;
    recorder.answerDialog([&](QDialog* opened) {
        auto* dialog = qobject_cast<DlgSched*>(opened);
        dialog->m_comboEveryAt->setCurrentIndex(mode);
        dialog->slotEveryAtActivated(mode);
        dialog->m_edit->setText(time);
        dialog->m_chkSend->setChecked(true);
        dialog->m_chkValid->setChecked(!range.isEmpty());
        dialog->m_combo->setCurrentText(range);
        dialog->m_rbtnOK->click();
        return dialog->result();
    });
    // The reopened dialog shows what was entered; cancelling it drops the new row.
    recorder.answerDialog([&seen](QDialog* opened) {
        seen << describe(qobject_cast<DlgSched*>(opened));
        return int(QDialog::Rejected);
    });
    page->slotAdd();
    if (duplicate) {
        QCOMPARE(recorder.messageTexts(), QStringList{"This item is already defined!"});
        QCOMPARE(seen, QStringList{"|Every|1|Hours|1|" + range + "|no dial"});
        QVERIFY(m_ctrl->m_pending.isEmpty());
        QCOMPARE(page->m_table.m_rows.size(), size_t(1));
    } else {
        QVERIFY(recorder.messageTexts().isEmpty());
        QCOMPARE(m_ctrl->m_pending.size(), 1);
        QCOMPARE(page->m_table.m_rows.size(), size_t(2));
    }
}

void TestWndSched::rangesEditedAndReloaded()
{
    setRows({{"0", "60", "Office", "1", "", "0", "1"}});
    auto page = makePage();
    DialogRecorder recorder;
    QStringList choices;
    QString current;
    recorder.answerDialog([&](QDialog* opened) {
        auto* dialog = qobject_cast<DlgSched*>(opened);
        dialog->m_combo->setCurrentText(QStringLiteral("Night"));
        // The range dialog has written a new range to the server.
        recorder.answerDialog([this](QDialog*) {
            m_server->setTable("timeintervals", timeColumns(),
                               ranges + QList<QStringList>{{"Weekend", "w", "1", "67", "0", "1440"}});
            return int(QDialog::Accepted);
        });
        dialog->m_btnEdit->click();
        choices = comboTexts(dialog->m_combo);
        current = dialog->m_combo->currentText();
        return int(QDialog::Rejected);
    });
    page->m_list->setCurrentItem(page->m_list->topLevelItem(0));
    page->slotEdit();
    QCOMPARE(choices, (QStringList{"", "Night", "Office", "Weekend"}));
    // The row's range again, not the one chosen before Edit.
    QCOMPARE(current, QStringLiteral("Office"));
    QCOMPARE(page->m_times.m_rows.size(), size_t(3));
}

void TestWndSched::rangesEditCancelledResets()
{
    auto page = makePage();
    // A change of the page's copy that the cancelled range dialog must not leave behind.
    page->m_times.m_rows.pop_back();
    DialogRecorder recorder;
    QStringList choices;
    recorder.answerDialog([&](QDialog* opened) {
        auto* dialog = qobject_cast<DlgSched*>(opened);
        dialog->m_chkValid->setChecked(true);
        recorder.answerDialog(QDialog::Rejected);
        dialog->m_btnEdit->click();
        choices = comboTexts(dialog->m_combo);
        return int(QDialog::Rejected);
    });
    page->slotAdd();
    QCOMPARE(page->m_times.m_rows.size(), size_t(2));
    QCOMPARE(choices, (QStringList{"", "Night"}));
}

void TestWndSched::failedReloadKeepsTheRanges()
{
    auto page = makePage();
    DialogRecorder recorder;
    QStringList choices;
    recorder.answerDialog([&](QDialog* opened) {
        auto* dialog = qobject_cast<DlgSched*>(opened);
        dialog->m_chkValid->setChecked(true);
        recorder.answerDialog([this](QDialog*) {
            m_server->refuse(QStringLiteral("from TimeIntervals"), 111, 1);
            return int(QDialog::Accepted);
        });
        dialog->m_btnEdit->click();
        choices = comboTexts(dialog->m_combo);
        return int(QDialog::Rejected);
    });
    page->slotAdd();
    QCOMPARE(recorder.messageTexts().size(), 1);
    QVERIFY(recorder.messageTexts().at(0).startsWith(QStringLiteral("Query failed: ")));
    QCOMPARE(choices, (QStringList{"", "Night", "Office"}));
    QCOMPARE(page->m_times.m_rows.size(), size_t(2));
    QCOMPARE(cell(page->m_times.m_rows.at(1).get(), "name"), QStringLiteral("Office"));
}

// Scheduled actions the server holds with an empty "enabled" or "allowdial", numbers the
// boxes show only as on or off, or flags it keeps as text, are nobody's edit: a description
// typed into one action sends that and nothing else, whatever that action's own flags hold.
void TestWndSched::editOfOneActionSendsOnlyItsStatement_data()
{
    QTest::addColumn<int>("flagType"); // how the server declares "enabled" and "allowdial"
    QTest::addColumn<QStringList>("edited"); // enabled, allowdial of the edited action
    QTest::addColumn<QList<QStringList>>("others");

    QTest::newRow("empty flags") << int(TypeInt) << QStringList{"", ""}
                                 << QList<QStringList>{{"", ""}, {"", "2"}};
    QTest::newRow("numbers neither 0 nor 1") << int(TypeInt) << QStringList{"5", "3"}
                                             << QList<QStringList>{{"2", "-1"}, {"7", ""}};
    QTest::newRow("flags kept as text by the server") << int(TypeString) << QStringList{"yes", ""}
                                                      << QList<QStringList>{{"on", "dial"}, {"", ""}};
}

void TestWndSched::editOfOneActionSendsOnlyItsStatement()
{
    QFETCH(int, flagType);
    QFETCH(QStringList, edited);
    QFETCH(QList<QStringList>, others);
    QList<Column> columns = schedColumns();
    for (Column& column : columns) {
        if (column.name == "enabled" || column.name == "allowdial")
            column.type = flagType;
    }
    m_server->setTable("scheduler", columns,
                       {{"0", "60", "", edited.at(0), "hourly", edited.at(1), "1"},
                        {"0", "120", "Night", others.at(0).at(0), "nightly", others.at(0).at(1), "5"},
                        {"1", "425", "", others.at(1).at(0), "morning", others.at(1).at(1), "7"}});
    auto page = makePage();
    QCOMPARE(m_ctrl->m_pending, QStringList());
    DialogRecorder recorder;
    recorder.answerDialog([](QDialog* dialog) {
        auto* sched = qobject_cast<DlgSched*>(dialog);
        typeOver(sched->m_editDesc, "Typed");
        QTest::mouseClick(sched->m_rbtnOK, Qt::LeftButton);
        return sched->result();
    });
    QTreeWidgetItem* item = page->m_list->findItems("hourly", Qt::MatchExactly, 2).value(0);
    QVERIFY(item);
    QCOMPARE(DeliveryFixture::editedThenApplied(page->m_list, item, page->m_btnEdit, *m_session),
             QStringList{"update scheduler set desc='Typed' where timetype='0' and time='60' and timeint=''"});
    QCOMPARE(recorder.messages.size(), 0);
}

// A time of day typed as H:MM or HH:MM is stored as typed. Any other text is asked about,
// and whatever the answer the dialog stays open on the time field with nothing of that OK
// taken: "No" would store a time nobody typed (00:00, or 01:34 for "1234").
void TestWndSched::typedTimeOfDay_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer"); // to the question, when one is asked
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<bool>("stays"); // open, on the time field
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("shown");

    const QString where = " where timetype='1' and time='425' and timeint=''";
    const QString desc = "desc='Morning changed'";
    QTest::newRow("H:MM") << "7:05" << 0 << QStringList() << false
                          << QStringList{"update scheduler set " + desc + where} << "At 07:05";
    QTest::newRow("HH:MM") << "07:05" << 0 << QStringList() << false
                           << QStringList{"update scheduler set " + desc + where} << "At 07:05";
    QTest::newRow("midnight") << "0:00" << 0 << QStringList() << false
                              << QStringList{"update scheduler set time='0', " + desc + where} << "At 00:00";
    QTest::newRow("last minute") << "23:59" << 0 << QStringList() << false
                                 << QStringList{"update scheduler set time='1439', " + desc + where}
                                 << "At 23:59";

    const QStringList format{"You should fill time field in the format 12:34.\nDo you want to correct the problem?"};
    const std::pair<const char*, int> answers[] = {
        {"Yes", QMessageBox::Yes}, {"No", QMessageBox::No}, {"Cancel", QMessageBox::Cancel}};
    for (const char* typed : {"99:99", "1234", "24:00", "12:60", "7:5", ""}) {
        for (const auto& [name, answer] : answers) {
            QTest::addRow("\"%s\", %s", typed, name)
                << QString::fromLatin1(typed) << answer << format << true << QStringList() << "At 07:05";
        }
    }
}

void TestWndSched::typedTimeOfDay()
{
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(QStringList, asked);
    QFETCH(bool, stays);
    QFETCH(QStringList, sent);
    QFETCH(QString, shown);

    setRows({{"1", "425", "", "1", "Morning mail", "0", "1"}});
    auto page = makePage();
    const int loaded = int(m_server->journal().size());
    DialogRecorder recorder;
    bool open = false;
    bool onTime = false;
    recorder.answerDialog([&](QDialog* opened) {
        auto* dialog = qobject_cast<DlgSched*>(opened);
        dialog->show();
        typeOver(dialog->m_editDesc, "Morning changed");
        typeOver(dialog->m_edit, typed);
        recorder.answer(answer);
        QTest::mouseClick(dialog->m_rbtnOK, Qt::LeftButton);
        open = dialog->isVisible();
        onTime = dialog->focusWidget() == dialog->m_edit;
        // A dialog still open is then cancelled.
        return dialog->result();
    });
    QCOMPARE(DeliveryFixture::editedThenApplied(page->m_list, page->m_list->topLevelItem(0),
                                                page->m_btnEdit, *m_session),
             sent);
    // What Apply found handed in is all the server received.
    QCOMPARE(DeliveryFixture::statements(*m_server, loaded), sent);
    QCOMPARE(recorder.messageTexts(), asked);
    for (const DialogRecorder::Message& message : std::as_const(recorder.messages)) {
        QCOMPARE(message.caption, QStringLiteral("Ornel Corvane Administration"));
        QCOMPARE(message.icon, QMessageBox::Information);
        QCOMPARE(message.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    }
    QCOMPARE(open, stays);
    QCOMPARE(onTime, stays);
    QVERIFY(m_ctrl->m_pending.isEmpty());
    QCOMPARE(page->m_list->topLevelItem(0)->text(0), shown);
}

// Every column the dialog fills from a stored cell keeps the stored text while its own
// widgets show what they showed, even where they cannot show it exactly, and is written as
// the widgets show it once they are worked. Each row starts from an hourly sending action
// and changes one cell; questions an OK raises are answered No.
void TestWndSched::storedCellsKeptUntilTheirFieldIsEdited_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QString>("textColumn"); // one the server keeps as text, if any
    QTest::addColumn<Typing>("other");       // an edit of another field
    QTest::addColumn<QString>("otherSet"); // empty: the dialog stays open, nothing goes out
    QTest::addColumn<QStringList>("otherAsked");
    QTest::addColumn<Typing>("own");         // the column's own widgets worked
    QTest::addColumn<QString>("ownSet");

    enum { TimeType, Time, TimeInt, Desc = 4, AllowDial, Action };
    const auto storing = [](int column, const QString& text) {
        QStringList row{"0", "60", "", "1", "hourly", "0", "1"};
        row[column] = text;
        return row;
    };
    const Typing description = typedInto(&DlgSched::m_editDesc, "Typed");
    const QString typedSet = "desc='Typed'";
    const Typing dial = keyOn(&DlgSched::m_chkDialRAS, Qt::Key_Space);
    const Typing atChosen = keyOn(&DlgSched::m_comboEveryAt, Qt::Key_Down);
    const QStringList noAction{"There's no action specified.\nDo you want to correct the problem?"};
    const QStringList format{"You should fill time field in the format 12:34.\nDo you want to correct the problem?"};
    const QStringList zero{"It is not possible to repeat action(s) after 0 seconds! Set different interval!"};

    QTest::newRow("desc beyond what the field holds")
        << storing(Desc, QString(40000, QLatin1Char('d'))) << "" << dial << "allowdial='1'"
        << QStringList() << description << typedSet;
    QTest::newRow("desc empty") << storing(Desc, "") << "" << dial << "allowdial='1'" << QStringList()
                                << description << typedSet;
    // A time the dialog cannot show as one stops the other edit at OK: the dialog stays open
    // and nothing goes out (storedTimeIsCheckedOnOk).
    QTest::newRow("timetype 5") << storing(TimeType, "5") << "" << description << "" << format
                                << atChosen << "timetype='1', time='0'";
    QTest::newRow("timetype empty") << storing(TimeType, "") << "" << description << typedSet
                                    << QStringList() << atChosen << "timetype='1', time='0'";
    QTest::newRow("time -1 at") << QStringList{"1", "-1", "", "1", "hourly", "0", "1"} << "" << description
                                << "" << format << typedInto(&DlgSched::m_edit, "7:05") << "time='425'";
    QTest::newRow("time 1440 at") << QStringList{"1", "1440", "", "1", "hourly", "0", "1"} << ""
                                  << description << "" << format
                                  << typedInto(&DlgSched::m_edit, "23:59") << "time='1439'";
    QTest::newRow("time -1 every") << storing(Time, "-1") << "" << description << "" << zero
                                   << typedInto(&DlgSched::m_edit, "90") << "time='90'";
    QTest::newRow("time a word") << storing(Time, "soon") << "time" << description << "" << zero
                                 << typedInto(&DlgSched::m_edit, "5") << "time='5'";
    QTest::newRow("time empty") << storing(Time, "") << "" << description << "" << zero
                                << typedInto(&DlgSched::m_edit, "5") << "time='5'";
    QTest::newRow("action 9") << storing(Action, "9") << "" << description << typedSet << QStringList()
                              << keyOn(&DlgSched::m_chkReceive, Qt::Key_Space) << "action='3'";
    QTest::newRow("action 8") << storing(Action, "8") << "" << description << typedSet << noAction
                              << keyOn(&DlgSched::m_chkOdmr, Qt::Key_Space) << "action='4'";
    QTest::newRow("action empty") << storing(Action, "") << "" << description << typedSet << noAction
                                  << keyOn(&DlgSched::m_chkSend, Qt::Key_Space) << "action='1'";
    QTest::newRow("allowdial 2") << storing(AllowDial, "2") << "" << description << typedSet
                                 << QStringList() << dial << "allowdial='0'";
    QTest::newRow("allowdial empty") << storing(AllowDial, "") << "" << description << typedSet
                                     << QStringList() << dial << "allowdial='1'";
    QTest::newRow("allowdial a word") << storing(AllowDial, "yes") << "allowdial" << description << typedSet
                                      << QStringList() << dial << "allowdial='1'";
    QTest::newRow("timeint no range holds") << storing(TimeInt, "Gone") << "" << description << typedSet
                                            << QStringList() << keyOn(&DlgSched::m_combo, Qt::Key_Up)
                                            << "timeint='Office'";
    QTest::newRow("timeint in another case") << storing(TimeInt, "night") << "" << description << typedSet
                                             << QStringList() << keyOn(&DlgSched::m_combo, Qt::Key_Up)
                                             << "timeint='Office'";
    QTest::newRow("timeint empty")
        << storing(TimeInt, "") << "" << description << typedSet << QStringList()
        << Typing([](DlgSched* dialog) {
               QTest::keyClick(dialog->m_chkValid, Qt::Key_Space);
               QTest::keyClick(dialog->m_combo, Qt::Key_Down);
           })
        << "timeint='Night'";
}

void TestWndSched::storedCellsKeptUntilTheirFieldIsEdited()
{
    QFETCH(QStringList, stored);
    QFETCH(QString, textColumn);
    QFETCH(Typing, other);
    QFETCH(QString, otherSet);
    QFETCH(QStringList, otherAsked);
    QFETCH(Typing, own);
    QFETCH(QString, ownSet);

    QList<Column> columns = schedColumns();
    for (Column& column : columns) {
        if (column.name == textColumn)
            column.type = TypeString;
    }
    m_server->setTable("scheduler", columns, {stored});
    auto page = makePage();
    QVERIFY(m_ctrl->m_pending.isEmpty());
    const QString where = QStringLiteral(" where timetype='%1' and time='%2' and timeint='%3'")
                              .arg(stored.at(0), stored.at(1), stored.at(2));
    const auto working = [](const Typing& typing) {
        return [typing](QDialog* opened) {
            auto* dialog = qobject_cast<DlgSched*>(opened);
            typing(dialog);
            QTest::mouseClick(dialog->m_rbtnOK, Qt::LeftButton);
            return dialog->result();
        };
    };

    DialogRecorder recorder;
    for (int i = 0; i < otherAsked.size(); ++i)
        recorder.answer(QMessageBox::No);
    recorder.answerDialog(working(other));
    QTreeWidgetItem* item = page->m_list->topLevelItem(0);
    QCOMPARE(DeliveryFixture::editedThenApplied(page->m_list, item, page->m_btnEdit, *m_session),
             otherSet.isEmpty() ? QStringList() : QStringList{"update scheduler set " + otherSet + where});
    QCOMPARE(recorder.messageTexts(), otherAsked);

    recorder.messages.clear();
    recorder.answerDialog(working(own));
    page->m_list->setCurrentItem(item);
    QTest::mouseClick(page->m_btnEdit, Qt::LeftButton);
    QCOMPARE(recorder.messageTexts(), QStringList());
    QCOMPARE(m_ctrl->m_pending, QStringList{"update scheduler set " + ownSet + where});
}

// A new action's time is the one its field shows, untouched or not, and is checked as such:
// OK on the "0" an Add opens with refuses to repeat without pause.
void TestWndSched::newActionTimeIsChecked()
{
    setRows({});
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog([](QDialog* opened) {
        auto* dialog = qobject_cast<DlgSched*>(opened);
        QTest::keyClick(dialog->m_chkSend, Qt::Key_Space);
        QTest::mouseClick(dialog->m_rbtnOK, Qt::LeftButton);
        return dialog->result();
    });
    page->slotAdd();
    QCOMPARE(recorder.messageTexts(),
             QStringList{"It is not possible to repeat action(s) after 0 seconds! Set different interval!"});
    QVERIFY(m_ctrl->m_pending.isEmpty());
    QCOMPARE(page->m_list->topLevelItemCount(), 0);
}

// OK checks the time the dialog shows also when the administrator left it alone: an edit of
// the description alone does not go out over a stored time that is no time of day or an
// interval of 0. The administrator stays on the time field, whatever the answer; once it
// holds a time, the edit goes out with it.
void TestWndSched::storedTimeIsCheckedOnOk_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("typed"); // the time the administrator then types
    QTest::addColumn<QString>("set");

    const QStringList format{"You should fill time field in the format 12:34.\nDo you want to correct the problem?"};
    const QStringList zero{"It is not possible to repeat action(s) after 0 seconds! Set different interval!"};
    const auto stored = [](const char* timetype, const char* time) {
        return QStringList{timetype, time, "", "1", "hourly", "0", "1"};
    };
    QTest::newRow("every 0 minutes") << stored("0", "0") << zero << "15" << "time='15', desc='Typed'";
    QTest::newRow("every -1") << stored("0", "-1") << zero << "15" << "time='15', desc='Typed'";
    QTest::newRow("an unknown mode") << stored("5", "60") << format << "30"
                                     << "timetype='0', time='30', desc='Typed'";
    QTest::newRow("at -1") << stored("1", "-1") << format << "7:05" << "time='425', desc='Typed'";
    QTest::newRow("at 1440") << stored("1", "1440") << format << "23:59" << "time='1439', desc='Typed'";
    QTest::newRow("at 07:05, nothing asked") << stored("1", "425") << QStringList() << QString()
                                             << "desc='Typed'";
}

void TestWndSched::storedTimeIsCheckedOnOk()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, asked);
    QFETCH(QString, typed);
    QFETCH(QString, set);

    setRows({stored});
    auto page = makePage();
    DialogRecorder recorder;
    bool stayed = false;
    bool onTime = false;
    recorder.answerDialog([&](QDialog* opened) {
        auto* dialog = qobject_cast<DlgSched*>(opened);
        dialog->show();
        typeOver(dialog->m_editDesc, "Typed");
        // The answer that would go on with the time as shown.
        recorder.answer(QMessageBox::No);
        QTest::mouseClick(dialog->m_rbtnOK, Qt::LeftButton);
        stayed = dialog->isVisible();
        onTime = dialog->focusWidget() == dialog->m_edit;
        if (stayed) {
            typeOver(dialog->m_edit, typed);
            QTest::mouseClick(dialog->m_rbtnOK, Qt::LeftButton);
        }
        return dialog->result();
    });
    page->m_list->setCurrentItem(page->m_list->topLevelItem(0));
    QTest::mouseClick(page->m_btnEdit, Qt::LeftButton);
    QCOMPARE(recorder.messageTexts(), asked);
    QCOMPARE(stayed, !asked.isEmpty());
    QCOMPARE(onTime, !asked.isEmpty());
    const QString where = QStringLiteral(" where timetype='%1' and time='%2' and timeint=''")
                              .arg(stored.at(0), stored.at(1));
    QCOMPARE(m_ctrl->m_pending, QStringList{"update scheduler set " + set + where});
}

QTEST_MAIN(TestWndSched)
#include "tst_wndsched.moc"
