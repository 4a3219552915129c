// The entries of the address-group and time-range dialogs, swept over stored values their
// fields cannot show exactly (dialogsweep.h): another field of the entry edited leaves the
// value as stored; the value's own field writes what it shows. Both dialogs send at OK, so
// what OK sends is what the sweep compares.

#include "dialogsweep.h"
#include "pagesession.h"
#include "wndipgroup.h"
#include "wndtimeint.h"

#include <QtTest>

using namespace StandIn;

namespace {

const QString AddressEntry = QStringLiteral("address group entry");
const QString TimeEntry = QStringLiteral("time range entry");

// Both pages open their set's dialog from the set's heading; the dialog writes its first
// entry with "&Edit" before OK.
const DialogPath SetDialogPath{"m_list", "m_btnEdit", "m_btnOK", "m_list", "m_btnEdit"};

SweptRow addressEntry()
{
    SweptRow swept;
    swept.row = {"ipaccesslist",
                 {{"Name", TypeString, true}, {"Value", TypeString, true}, {"Desc", TypeString, false}},
                 {"Office", "192.168.10.0/24", "Head office"},
                 {"Name", "Value"}};
    swept.path = SetDialogPath;
    swept.other = {Admin::type("m_editDesc", "Printer")};
    swept.otherWrites = "Desc='Printer'";
    swept.otherColumn = "Desc";
    swept.otherAlt = {Admin::type("m_editValue", "10.0.0.9")};
    swept.otherAltWrites = "Value='10.0.0.9'";
    return swept;
}

SweptRow timeEntry()
{
    SweptRow swept;
    swept.row = {"timeintervals",
                 {{"name", TypeString, true}, {"desc", TypeString, true}, {"type", TypeInt, true},
                  {"days", TypeString, false}, {"start", TypeInt, false}, {"end", TypeInt, false}},
                 {"Office hours", "Weekdays", "1", "12345", "480", "1080"},
                 {"name", "desc", "type"}};
    swept.path = SetDialogPath;
    swept.other = {Admin::type("m_editDesc", "Workdays")};
    swept.otherWrites = "desc='Workdays'";
    swept.otherColumn = "desc";
    swept.otherAlt = {Admin::step("m_spinEnd", 1)};
    swept.otherAltWrites = "end='1081'";
    return swept;
}

} // namespace

class tst_UntouchedDefinitionFields : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_session = std::make_unique<PageSession>();
        m_dialogs = std::make_unique<DialogRecorder>();
    }
    void cleanup()
    {
        m_page.reset();
        m_dialogs.reset();
        m_session.reset();
    }

    void otherFieldEditedKeepsTheStoredText_data() { sweep(); }
    void otherFieldEditedKeepsTheStoredText();
    void ownFieldWritesWhatItShows_data() { sweep(); }
    void ownFieldWritesWhatItShows();

private:
    static void sweep();
    bool storeAndBuild(const QString& kind, const StoredRow& row);
    // Edits the first entry through its set's dialog; the statements its OK sent.
    QStringList sentByTheDialog(const SweptRow& swept, const WidgetActions& actions);

    std::unique_ptr<PageSession> m_session;
    std::unique_ptr<DialogRecorder> m_dialogs;
    std::unique_ptr<QWidget> m_page;
};

void tst_UntouchedDefinitionFields::sweep()
{
    using namespace Admin;
    using DialogSweep::addRow;
    DialogSweep::addColumns();

    // A typed value loses its blanks; a stored one keeps them until it is typed again.
    addRow(AddressEntry, "Value", TypeString, " 10.0.0.1 ", {type("m_editValue", "10.0.0.2")}, "10.0.0.2");
    addRow(AddressEntry, "Value", TypeString, "10.0.0.1 ", {type("m_editValue", "10.0.0.1")}, "10.0.0.1");
    addRow(AddressEntry, "Desc", TypeString, "", {type("m_editDesc", "Printer")}, "Printer");

    addRow(TimeEntry, "desc", TypeString, " Weekdays ", {type("m_editDesc", "Weekdays")}, "Weekdays");
    addRow(TimeEntry, "type", TypeString, "01", {choose("m_comboType", "Daily")}, "0");
    addRow(TimeEntry, "type", TypeString, "01", {choose("m_comboType", "Daily"), choose("m_comboType", "Weekly")},
           "01");
    addRow(TimeEntry, "type", TypeInt, "7", {choose("m_comboType", "Absolute")}, "2");
    addRow(TimeEntry, "type", TypeString, "", {choose("m_comboType", "Weekly")}, "1");
    addRow(TimeEntry, "days", TypeString, "9", {type("m_editDays", "67")}, "67");
    addRow(TimeEntry, "start", TypeString, "abc", {step("m_spinStart", 1)}, "1");
    addRow(TimeEntry, "start", TypeInt64, "4294967296", {step("m_spinStart", 1)}, "1");
    addRow(TimeEntry, "start", TypeInt64, "4294967296", {step("m_spinStart", 1), step("m_spinStart", -1)},
           "4294967296");
    addRow(TimeEntry, "start", TypeString, "0480", {step("m_spinStart", 1)}, "481");
    addRow(TimeEntry, "end", TypeInt, "", {step("m_spinEnd", -1)}, "-1");
}

bool tst_UntouchedDefinitionFields::storeAndBuild(const QString& kind, const StoredRow& row)
{
    row.install(*m_session->server);
    if (!m_session->connect())
        return false;
    if (kind == AddressEntry)
        m_page = std::make_unique<WndIPGroup>(nullptr, m_session->connection(), &m_session->ctrl, nullptr,
                                              Qt::WindowFlags(), nullptr);
    else
        m_page = std::make_unique<WndTimeInt>(nullptr, m_session->connection(), &m_session->ctrl, nullptr,
                                              Qt::WindowFlags(), nullptr);
    return m_session->ctrl.m_pending.isEmpty();
}

QStringList tst_UntouchedDefinitionFields::sentByTheDialog(const SweptRow& swept, const WidgetActions& actions)
{
    const TestServer& server = *m_session->server;
    int mark = 0;
    QStringList sent{QStringLiteral("(not accepted)")};
    const bool accepted = DialogSweep::editThroughDialog(
        m_page.get(), swept.path, actions, *m_dialogs, [&](bool afterOk) {
            if (!afterOk) {
                mark = int(server.journal().size());
                return;
            }
            sent.clear();
            const QList<JournalEntry> journal = server.journal();
            for (int i = mark; i < journal.size(); ++i)
                sent.append(journal.at(i).statement);
        });
    return accepted ? sent : QStringList{QStringLiteral("(not accepted)")};
}

void tst_UntouchedDefinitionFields::otherFieldEditedKeepsTheStoredText()
{
    QFETCH(QString, kind);
    QFETCH(QString, column);
    QFETCH(int, type);
    QFETCH(QString, stored);
    const SweptRow swept = kind == AddressEntry ? addressEntry() : timeEntry();
    const StoredRow row = swept.row.with(column, stored, type);
    QVERIFY(storeAndBuild(kind, row));

    QCOMPARE(sentByTheDialog(swept, swept.otherEdit(column)), swept.otherStatements(row, column));
}

void tst_UntouchedDefinitionFields::ownFieldWritesWhatItShows()
{
    QFETCH(QString, kind);
    QFETCH(QString, column);
    QFETCH(int, type);
    QFETCH(QString, stored);
    QFETCH(WidgetActions, action);
    QFETCH(QString, written);
    const SweptRow swept = kind == AddressEntry ? addressEntry() : timeEntry();
    const StoredRow row = swept.row.with(column, stored, type);
    QVERIFY(storeAndBuild(kind, row));

    QCOMPARE(sentByTheDialog(swept, action), DialogSweep::ownStatements(row, column, written));
}

QTEST_MAIN(tst_UntouchedDefinitionFields)
#include "tst_untoucheddefinitionfields.moc"
