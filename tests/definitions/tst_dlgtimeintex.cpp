#include "activewindow.h"
#include "definitionsstandin.h"
#include "dialogrecorder.h"
#include "dlgtimeintex.h"
#include "typing.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

namespace {

const QString Load = QStringLiteral("select name, desc, type, days, start, end from timeintervals");

QStringList intervalsShown(const DlgTimeIntEx& dialog)
{
    QStringList intervals;
    for (int i = 0; i < dialog.m_list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = dialog.m_list->topLevelItem(i);
        QStringList texts;
        for (int c = 0; c < 5; ++c)
            texts.append(item->text(c));
        intervals.append(texts.join(" | "));
    }
    return intervals;
}

// "range NAME", "pick N", "desc TEXT", "type INDEX", "days DIGITS", "start N", "end N",
// "add", "edit", "remove", "removeRange".
void work(DlgTimeIntEx& dialog, const QStringList& steps)
{
    for (const QString& step : steps) {
        const QString command = step.section(' ', 0, 0);
        const QString argument = step.section(' ', 1);
        if (command == "range")
            dialog.m_comboRange->setEditText(argument);
        else if (command == "pick")
            dialog.m_list->setCurrentItem(dialog.m_list->topLevelItem(argument.toInt()));
        else if (command == "desc")
            dialog.m_editDesc->setText(argument);
        else if (command == "type")
            dialog.m_comboType->setCurrentIndex(argument.toInt());
        else if (command == "days")
            dialog.m_editDays->setText(argument);
        else if (command == "start")
            dialog.m_spinStart->setValue(argument.toInt());
        else if (command == "end")
            dialog.m_spinEnd->setValue(argument.toInt());
        else if (command == "add")
            dialog.m_btnAdd->click();
        else if (command == "edit")
            dialog.m_btnEdit->click();
        else if (command == "remove")
            dialog.m_btnRemove->click();
        else if (command == "removeRange")
            dialog.m_btnRemoveRange->click();
        else
            QFAIL(qPrintable("unknown step " + step));
    }
}

} // namespace

class TestDlgTimeIntEx : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnTheRange_data();
    void opensOnTheRange();
    void okSendsEveryChangeAtOnce_data();
    void okSendsEveryChangeAtOnce();
    void cancelSendsNothing();
    void duplicateIsRefused_data();
    void duplicateIsRefused();
    void keyHeldTwiceEditedUnchanged_data();
    void keyHeldTwiceEditedUnchanged();
    void okFailingPartWayStaysOpen();
    void entryAddedFromAnotherKeepsNothingStoredOfIt();
    void goneWhileARangeIsTyped();

private:
    std::unique_ptr<DlgTimeIntEx> open(const QString& range)
    {
        auto dialog = std::make_unique<DlgTimeIntEx>(&m_standIn->owner, nullptr, true, Qt::WindowFlags(),
                                                     m_standIn->connection(), range);
        m_standIn->mark();
        return dialog;
    }

    std::unique_ptr<DefinitionsStandIn> m_standIn;
};

void TestDlgTimeIntEx::init()
{
    m_standIn = std::make_unique<DefinitionsStandIn>();
}

void TestDlgTimeIntEx::cleanup()
{
    m_standIn.reset();
}

void TestDlgTimeIntEx::opensOnTheRange_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<QStringList>("intervals");

    QTest::newRow("weekly intervals, apart in the table")
        << "Office hours"
        << QStringList{"Weekdays | Weekly | 12345 | 480 | 1080", "Saturday | Weekly | 6 | 540 | 720"};
    QTest::newRow("daily") << "Night" << QStringList{"Every night | Daily |  | 1320 | 360"};
    QTest::newRow("a type the dialog does not name") << "Odd" << QStringList{"Stored by another tool | 7 |  | 1 | 2"};
    QTest::newRow("a new range") << "Weekend" << QStringList{};
}

void TestDlgTimeIntEx::opensOnTheRange()
{
    QFETCH(QString, range);
    QFETCH(QStringList, intervals);

    const int before = int(m_standIn->server->journal().size());
    const auto dialog = open(range);
    QCOMPARE(journalFrom(*m_standIn->server, before), QStringList{Load});
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Time Range"));
    QCOMPARE(dialog->m_comboRange->currentText(), range);
    QCOMPARE(intervalsShown(*dialog), intervals);
}

void TestDlgTimeIntEx::okSendsEveryChangeAtOnce_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("sent");

    QTest::newRow("an interval added")
        << "Office hours" << QStringList{"desc Lunch", "type 1", "days 135", "start 720", "end 780", "add"}
        << QStringList{"insert timeintervals set name='Office hours', desc='Lunch', type='1', days='135', "
                       "start='720', end='780'"};
    QTest::newRow("an absolute interval of a new range")
        << "" << QStringList{"range Closure", "desc Summer", "type 2", "start 1785542400", "end 1786752000", "add"}
        << QStringList{"insert timeintervals set name='Closure', desc='Summer', type='2', days='', "
                       "start='1785542400', end='1786752000'"};
    QTest::newRow("the same description under another type")
        << "Office hours" << QStringList{"desc Weekdays", "type 0", "start 1", "end 2", "add"}
        << QStringList{"insert timeintervals set name='Office hours', desc='Weekdays', type='0', days='', "
                       "start='1', end='2'"};
    QTest::newRow("the end of an interval changed")
        << "Office hours" << QStringList{"pick 0", "end 1020", "edit"}
        << QStringList{"update timeintervals set end='1020' where name='Office hours' and desc='Weekdays' and type='1'"};
    QTest::newRow("days changed")
        << "Office hours" << QStringList{"pick 1", "days 67", "edit"}
        << QStringList{"update timeintervals set days='67' where name='Office hours' and desc='Saturday' and type='1'"};
    QTest::newRow("a stored type kept when another field changes")
        << "Odd" << QStringList{"pick 0", "start 5", "edit"}
        << QStringList{"update timeintervals set start='5' where name='Odd' and desc='Stored by another tool' and type='7'"};
    QTest::newRow("weekly made daily")
        << "Office hours" << QStringList{"pick 1", "type 0", "edit"}
        << QStringList{"update timeintervals set type='0' where name='Office hours' and desc='Saturday' and type='1'"};
    QTest::newRow("an interval removed")
        << "Night" << QStringList{"pick 0", "remove"}
        << QStringList{"delete from timeintervals where name='Night' and desc='Every night' and type='0'"};
    QTest::newRow("a whole range removed")
        << "Office hours" << QStringList{"removeRange"}
        << QStringList{"delete from timeintervals where name='Office hours' and desc='Weekdays' and type='1'",
                       "delete from timeintervals where name='Office hours' and desc='Saturday' and type='1'"};
}

void TestDlgTimeIntEx::okSendsEveryChangeAtOnce()
{
    QFETCH(QString, range);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, sent);

    DialogRecorder recorder;
    const auto dialog = open(range);
    work(*dialog, steps);
    QCOMPARE(m_standIn->journalSinceMark(), QStringList{});

    dialog->m_btnOK->click();
    QCOMPARE(m_standIn->journalSinceMark(), sent);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(recorder.messageTexts(), QStringList{});
}

void TestDlgTimeIntEx::cancelSendsNothing()
{
    DialogRecorder recorder;
    const auto dialog = open("Office hours");
    work(*dialog, {"desc Lunch", "add", "pick 0", "remove", "range Night", "removeRange"});

    dialog->m_btnCancel->click();
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QCOMPARE(m_standIn->journalSinceMark(), QStringList{});
}

void TestDlgTimeIntEx::duplicateIsRefused_data()
{
    QTest::addColumn<QStringList>("steps");

    QTest::newRow("same description and type") << QStringList{"desc Weekdays", "type 1", "add"};
    QTest::newRow("description in other letter case") << QStringList{"desc WEEKDAYS", "type 1", "add"};
    QTest::newRow("changed into its neighbour") << QStringList{"pick 1", "desc weekdays", "edit"};
}

void TestDlgTimeIntEx::duplicateIsRefused()
{
    QFETCH(QStringList, steps);

    DialogRecorder recorder;
    const auto dialog = open("Office hours");
    work(*dialog, steps);
    QCOMPARE(recorder.messageTexts(), QStringList{"This item is already defined!"});
    QCOMPARE(recorder.messages.at(0).caption, QStringLiteral("Warning"));
    QCOMPARE(dialog->m_list->topLevelItemCount(), 2);

    dialog->m_btnOK->click();
    QCOMPARE(m_standIn->journalSinceMark(), QStringList{});
}

void TestDlgTimeIntEx::keyHeldTwiceEditedUnchanged_data()
{
    QTest::addColumn<QString>("twin"); // the description of the range's second weekday interval

    QTest::newRow("an exact twin") << "Weekdays";
    QTest::newRow("a twin in capitals") << "WEEKDAYS";
}

// The server holds a key twice: an edit that leaves the key as it was is no duplicate of the
// other interval, for either of the two.
void TestDlgTimeIntEx::keyHeldTwiceEditedUnchanged()
{
    QFETCH(QString, twin);

    m_standIn->appendRow("timeintervals", {"Office hours", twin, "1", "135", "600", "660"});
    DialogRecorder recorder;
    const auto dialog = open("Office hours");
    work(*dialog, {"pick 0", "edit", "pick 2", "end 700", "edit"});
    QCOMPARE(recorder.messageTexts(), QStringList{});

    // What the server makes of a key it holds twice is its own affair.
    dialog->m_btnOK->click();
    QCOMPARE(m_standIn->journalSinceMark().value(0),
             "update timeintervals set end='700' where name='Office hours' and desc='" + twin + "' and type='1'");
}

void TestDlgTimeIntEx::okFailingPartWayStaysOpen()
{
    QVERIFY(m_standIn->server->refuse("^delete", 111, 1));
    DialogRecorder recorder;
    const auto dialog = open("Night");
    work(*dialog, {"desc Late evening", "start 1200", "end 1320", "add", "pick 0", "remove"});
    const QStringList edited = intervalsShown(*dialog);
    QSignalSpy finished(dialog.get(), &QDialog::finished);

    dialog->m_btnOK->click();
    QCOMPARE(recorder.messageTexts(), QStringList{"Query failed: Query not possible"});
    QCOMPARE(finished.count(), 0);
    // Deletes go first: refused, nothing else was sent, and the edits stay as made.
    const QString removal = "delete from timeintervals where name='Night' and desc='Every night' and type='0'";
    QCOMPARE(m_standIn->journalSinceMark(), QStringList{removal});
    QCOMPARE(intervalsShown(*dialog), edited);

    // The next OK sends all of it.
    m_standIn->mark();
    dialog->m_btnOK->click();
    QCOMPARE(m_standIn->journalSinceMark(),
             (QStringList{removal, "insert timeintervals set name='Night', desc='Late evening', type='0', "
                                   "days='', start='1200', end='1320'"}));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
}

// An entry added from the fields another entry filled holds what they show; edited next, it
// takes nothing of that other entry's stored texts (a description with blanks around it).
void TestDlgTimeIntEx::entryAddedFromAnotherKeepsNothingStoredOfIt()
{
    StandIn::TestServer& server = *m_standIn->server;
    server.setTable("timeintervals", server.columns("timeintervals"), {{"Lab", " Bench ", "0", "", "480", "600"}});
    DialogRecorder recorder;
    const auto dialog = open("Lab");
    work(*dialog, {"pick 0", "type 1", "add", "end 700", "edit"});
    QCOMPARE(recorder.messageTexts(), QStringList{});

    dialog->m_btnOK->click();
    QCOMPARE(m_standIn->journalSinceMark(),
             QStringList{"insert timeintervals set name='Lab', desc='Bench', type='1', days='', start='480', "
                         "end='700'"});
}

// Destroyed while it shows, a range typed in other letters in its focused box: as the box loses
// the focus it takes that range, and tells nobody, the form being half gone.
void TestDlgTimeIntEx::goneWhileARangeIsTyped()
{
    auto dialog = open(QStringLiteral("Night"));
    QVERIFY(showActive(dialog.get()));
    dialog->m_comboRange->setFocus();
    typeOver(dialog->m_comboRange->lineEdit(), QStringLiteral("office hours"));
    QSignalSpy taken(dialog->m_comboRange->lineEdit(), &QLineEdit::textChanged);
    const int before = int(m_standIn->server->journal().size());
    dialog.reset();
    QCOMPARE(taken.size(), 1);
    QCOMPARE(taken.first().first().toString(), QStringLiteral("Office hours"));
    QCOMPARE(journalFrom(*m_standIn->server, before), QStringList());
}

QTEST_MAIN(TestDlgTimeIntEx)
#include "tst_dlgtimeintex.moc"
