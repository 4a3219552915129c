// Every column an account dialog fills from a stored cell and writes back, stored as a value
// its widgets cannot show exactly (a number beyond a check box or the rights buttons, a type
// the choice does not list, a language in capitals, groups out of order, nothing at all).
// The dialog is opened from its page in a main window, as the administrator opens it, and
// Apply sends what OK made of the row: with another field edited the column keeps what the
// server holds; worked in its own widget it is written as the widget shows it, and Apply is
// on before it is pressed.

#include "dbctrl.h"
#include "dialogrecorder.h"
#include "globaldata.h"
#include "listtexts.h"
#include "shellharness.h"
#include "templatesfixture.h"
#include "typing.h"
#include "widgetactions.h"
#include "usersfixture.h"
#include "wndgroup.h"
#include "wndtemplate.h"
#include "wnduser.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

namespace {

// What the administrator does to the column's own widget, in the rows' words.
WidgetActions press(const char* widget)
{
    return {Admin::click(QLatin1String(widget))};
}

WidgetActions choose(const char* widget, const QString& entry)
{
    return {Admin::choose(QLatin1String(widget), entry)};
}

WidgetActions typeIn(const char* widget, const QString& text)
{
    return {Admin::type(QLatin1String(widget), text)};
}

// The entry selected in the list, then "Remove" pressed.
WidgetActions removeEntry(const char* list, const QString& entry)
{
    return {Admin::select(QLatin1String(list), entry), Admin::click(QStringLiteral("m_btnRemove"))};
}

// One of the three pages and the row "odd" its dialog edits: ordinary values everywhere but
// in the column a test row stores oddly.
struct AccountsPage
{
    QString table;
    QList<StandIn::Column> columns;
    QStringList row;
    QString where;       // the statement's end that names the row
    QString otherField;  // the text field edited beside the column
    QString otherColumn; // the column it writes
    std::function<QWidget*(WndMain*)> open;
};

AccountsPage usersPage()
{
    return {QStringLiteral("user"), UsersFixture::userColumns(), UsersFixture::user("odd", "", "Odd One"),
            QStringLiteral(" where name='odd' and domain=''"), QStringLiteral("m_editFull"),
            QStringLiteral("fullname"), [](WndMain* window) {
                return openPage<WndUser>(window, QStringLiteral("Domain Settings/Users"));
            }};
}

// Bound to the primary domain by its name, so that its groups can be edited.
AccountsPage templatesPage()
{
    return {QStringLiteral("template"), TemplatesFixture::templateColumns(),
            TemplatesFixture::templateRow("odd", "corvane.example", "Odd one", "staff"),
            QStringLiteral(" where tempname='odd'"), QStringLiteral("m_editDesk"),
            QStringLiteral("description"), [](WndMain* window) {
                return openPage<WndTemplate>(window,
                                             QStringLiteral("Configuration/Definitions/User Templates"));
            }};
}

AccountsPage groupsPage()
{
    return {QStringLiteral("group"),
            {{"name", StandIn::TypeString, true}, {"domain", StandIn::TypeString, true},
             {"description", StandIn::TypeString}, {"rights", StandIn::TypeInt}},
            {"odd", "", "Odd group", "0"},
            QStringLiteral(" where name='odd' and domain=''"), QStringLiteral("m_editDesk"),
            QStringLiteral("description"), [](WndMain* window) {
                return openPage<WndGroup>(window, QStringLiteral("Domain Settings/Groups"));
            }};
}

AccountsPage accountsPage(const QString& table)
{
    if (table == QLatin1String("user"))
        return usersPage();
    return table == QLatin1String("template") ? templatesPage() : groupsPage();
}

int columnIndex(const QList<StandIn::Column>& columns, const QString& name)
{
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).name == name)
            return i;
    }
    return -1;
}

// Works the dialog, then presses OK; the dialog's answer is what OK made of it.
std::function<int(QDialog*)> workAndOk(std::function<void(QDialog*)> work)
{
    return [work](QDialog* dialog) {
        work(dialog);
        QTest::keyClick(dialog->findChild<QPushButton*>(QStringLiteral("m_btnOK")), Qt::Key_Space);
        return dialog->result();
    };
}

} // namespace

class TestAccountsStoredValues : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { globalData.currentDomain.clear(); }

    void columnKeptWhileAnotherFieldChanges_data() { addRows(); }
    void columnKeptWhileAnotherFieldChanges();
    void columnWrittenAsItsWidgetShows_data() { addRows(); }
    void columnWrittenAsItsWidgetShows();

private:
    static void addRows();
    // The row "odd" stored with `stored` in `column`, its dialog opened from the page with
    // the Return key on its entry, worked by `work` and accepted with OK.
    static void editOddRow(WindowOnStandIn& session, const AccountsPage& page, const QString& column,
                           const QString& stored, std::function<void(QDialog*)> work);
};

void TestAccountsStoredValues::initTestCase()
{
    PageFactory::registerPage<WndUser>(PageKind::Users);
    PageFactory::registerPage<WndTemplate>(PageKind::UserTemplates);
    PageFactory::registerPage<WndGroup>(PageKind::Groups);
}

void TestAccountsStoredValues::addRows()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<WidgetActions>("actions");
    QTest::addColumn<QString>("written");

    // The columns the user and template dialogs share, in the table `table`.
    const auto addShared = [](const QString& table) {
        const QByteArray of = table.toLatin1() + ": ";
        const auto row = [&of](const char* name) -> QTestData& {
            return QTest::newRow((of + name).constData());
        };
        row("auth_type 99, beyond the types") << table << "auth_type" << "99"
                                              << choose("m_auth", "Windows NT domain") << "1";
        row("auth_type empty") << table << "auth_type" << "" << choose("m_auth", "Linux PAM") << "2";
        row("groups out of order") << table << "groups" << "support,staff"
                                   << removeEntry("m_listGroups", "[support]") << "staff";
        row("rights 2, the write bit alone") << table << "rights" << "2" << press("m_rbtnViewLogs") << "1";
        row("rights -1") << table << "rights" << "-1" << press("m_rbtnNoAcc") << "0";
        row("rights empty") << table << "rights" << "" << press("m_rbtnFullAcc") << "3";
        row("qstorage 1536, no whole KB") << table << "qstorage" << "1536" << typeIn("m_editDiskSpace", "2")
                                          << "2048";
        row("qstorage empty") << table << "qstorage" << "" << choose("m_comboKB", "MB") << "0";
        row("qmessage empty") << table << "qmessage" << "" << typeIn("m_editNumMess", "5") << "5";
        row("msgperpage empty") << table << "msgperpage" << "" << typeIn("m_editNumMsg", "30") << "30";
        row("hidefldlist 2") << table << "hidefldlist" << "2" << press("m_chkShowFldList") << "0";
        row("hidefldlist empty") << table << "hidefldlist" << "" << press("m_chkShowFldList") << "1";
        row("showsub 2") << table << "showsub" << "2" << press("m_chkShowSub") << "0";
        row("showsub -1") << table << "showsub" << "-1" << press("m_chkShowSub") << "0";
        row("showsub empty") << table << "showsub" << "" << press("m_chkShowSub") << "1";
        row("preflang in capitals") << table << "preflang" << "FR" << choose("m_comboLang", "de") << "de";
        row("preflang not offered") << table << "preflang" << "pt" << choose("m_comboLang", "de") << "de";
        row("preflang empty") << table << "preflang" << "" << choose("m_comboLang", "fr") << "fr";
    };

    const QString user = QStringLiteral("user");
    addShared(user);
    QTest::newRow("user: account_enabled 2")
        << user << "account_enabled" << "2" << press("m_chkDisabled") << "0";
    QTest::newRow("user: account_enabled -1")
        << user << "account_enabled" << "-1" << press("m_chkDisabled") << "0";
    QTest::newRow("user: account_enabled empty")
        << user << "account_enabled" << "" << press("m_chkDisabled") << "1";
    QTest::newRow("user: groups with an empty name")
        << user << "groups" << "staff," << removeEntry("m_listGroups", "[]") << "staff";

    const QString templ = QStringLiteral("template");
    addShared(templ);
    QTest::newRow("template: domain no longer offered")
        << templ << "domain" << "gone.example" << choose("m_comboDomain", "lakeside.example")
        << "lakeside.example";
    QTest::newRow("template: domain empty")
        << templ << "domain" << "" << choose("m_comboDomain", "corvane.example") << "corvane.example";

    const QString group = QStringLiteral("group");
    QTest::newRow("group: rights 2, the write bit alone")
        << group << "rights" << "2" << press("m_rbtnViewLogs") << "1";
    QTest::newRow("group: rights -1") << group << "rights" << "-1" << press("m_rbtnNoAcc") << "0";
    QTest::newRow("group: rights empty") << group << "rights" << "" << press("m_rbtnFullAcc") << "3";
}

void TestAccountsStoredValues::editOddRow(WindowOnStandIn& session, const AccountsPage& page,
                                          const QString& column, const QString& stored,
                                          std::function<void(QDialog*)> work)
{
    UsersFixture::install(*session.server);
    QStringList row = page.row;
    const int index = columnIndex(page.columns, column);
    QVERIFY2(index >= 0, qPrintable(column));
    row[index] = stored;
    session.server->setTable(page.table.toLatin1().constData(), page.columns, {row});

    QWidget* shown = page.open(session.window);
    QVERIFY(shown);
    auto* list = shown->findChild<QTreeWidget*>(QStringLiteral("m_list"));
    QVERIFY(list && itemNamed(list, QStringLiteral("odd")));
    DialogRecorder recorder;
    recorder.answerDialog(workAndOk(std::move(work)));
    list->setCurrentItem(itemNamed(list, QStringLiteral("odd")));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(recorder.messages.size(), 0);
}

void TestAccountsStoredValues::columnKeptWhileAnotherFieldChanges()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, stored);

    const AccountsPage page = accountsPage(table);
    WindowOnStandIn session;
    QVERIFY(session.window);
    const QString typed = QStringLiteral("Typed over");
    const QString field = page.otherField;
    editOddRow(session, page, column, stored, [field, typed](QDialog* dialog) {
        typeOver(dialog->findChild<QLineEdit*>(field), typed);
    });
    if (QTest::currentTestFailed())
        return;
    const QStringList sent{
        QStringLiteral("update %1 set %2='%3'%4").arg(table, page.otherColumn, typed, page.where)};
    QCOMPARE(applied(session.window, *session.server), sent);
}

void TestAccountsStoredValues::columnWrittenAsItsWidgetShows()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QString, stored);
    QFETCH(WidgetActions, actions);
    QFETCH(QString, written);

    const AccountsPage page = accountsPage(table);
    WindowOnStandIn session;
    QVERIFY(session.window);
    editOddRow(session, page, column, stored,
               [actions](QDialog* dialog) { QVERIFY2(performAll(dialog, actions), qPrintable(describe(actions))); });
    if (QTest::currentTestFailed())
        return;
    const QStringList sent{
        QStringLiteral("update %1 set %2='%3'%4").arg(table, column, written, page.where)};
    QCOMPARE(session.window->getDBCtrl()->m_pending, sent);
    QVERIFY(session.window->getApplyButton()->isEnabled());
    QCOMPARE(applied(session.window, *session.server), sent);
}

QTEST_MAIN(TestAccountsStoredValues)
#include "tst_accountsstoredvalues.moc"
