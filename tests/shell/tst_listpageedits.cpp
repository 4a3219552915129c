// Every list page's add and edit paths in a main window on the stand-in server, the pages
// registered as the module registers them: the connection lost while a dialog or wizard
// loads or is open, keys the server holds twice, and Alt+A, which is the wait indicator's
// "&Abort" while a load waits and the users page's "&Add..." otherwise.

#include "dbcol.h"
#include "dbctrl.h"
#include "dbtable.h"
#include "dialogrecorder.h"
#include "dlgimport.h"
#include "dlgimport2.h"
#include "dlgipgroup.h"
#include "dlgtimeintex.h"
#include "listpage.h"
#include "shellharness.h"
#include "vexadbtypes.h"
#include "wndprogress.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

namespace {

const char* const Users = "Domain Settings/Users";
const char* const Groups = "Domain Settings/Groups";
const char* const Templates = "Configuration/Definitions/User Templates";
const char* const Services = "Configuration/Services";
const char* const Antispam = "Configuration/Antispam";
const char* const Antivirus = "Configuration/Antivirus";
const char* const Pop3 = "Configuration/POP3 Download";
const char* const Etrn = "Configuration/ETRN Download";
const char* const Scheduling = "Configuration/Scheduling";
const char* const AddressGroups = "Configuration/Definitions/IP Address Groups";
const char* const TimeRanges = "Configuration/Definitions/Time Ranges";

// The domain an import lists accounts from.
const char* const NtDomain = "CORVANE";

// What another window's request (a log window's, say) would run into: a load of its own.
const char* const ProbeCall = "probe_connection()";
const DBCOL ProbeColumns[] = {{VEXADB_STRING, "probe", 0}, {0, nullptr, 0}};

QString classOf(const QObject* object)
{
    return QString::fromLatin1(object->metaObject()->className());
}

// The page the window shows: the one widget that is a list page.
QWidget* listPageWidget(const WndMain* window)
{
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (dynamic_cast<ListPage*>(widget))
            return widget;
    }
    return nullptr;
}

QTreeWidgetItem* itemShowing(const QTreeWidget* list, const QString& text)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (text.isEmpty() || list->topLevelItem(i)->text(0) == text)
            return list->topLevelItem(i);
    }
    return nullptr;
}

int lostConnectionBoxes(const DialogRecorder& recorder)
{
    int boxes = 0;
    for (const QString& text : recorder.messageTexts())
        boxes += text.startsWith(QLatin1String("Connection failed!")) ? 1 : 0;
    return boxes;
}

// The boxes a page or dialog shows of its own when a call fails ("Operation failed.",
// "Import from ... failed!"), all captioned "Error". After a lost connection the console's
// box has said it all.
int ownFailureBoxes(const DialogRecorder& recorder)
{
    int boxes = 0;
    for (const DialogRecorder::Message& message : recorder.messages)
        boxes += message.caption == QLatin1String("Error") ? 1 : 0;
    return boxes;
}

// As the administrator does: a wizard gets a name, an import its domain and every account
// it lists, and the dialog its OK. A definition dialog whose table did not load does not
// open at all.
int accept(QDialog* dialog)
{
    if (const auto* ranges = qobject_cast<DlgTimeIntEx*>(dialog); ranges && !ranges->isLoaded())
        return QDialog::Rejected;
    if (const auto* groups = qobject_cast<DlgIPGroup*>(dialog); groups && !groups->isLoaded())
        return QDialog::Rejected;
    const QPointer<QDialog> alive(dialog);
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("m_editName"));
    if (name && name->text().isEmpty())
        name->setText(QStringLiteral("newcomer"));
    if (auto* source = qobject_cast<DlgImport*>(dialog))
        source->m_editDomain->setText(QString::fromLatin1(NtDomain));
    if (auto* found = qobject_cast<DlgImport2*>(dialog)) {
        for (int i = 0; i < found->m_list->topLevelItemCount(); ++i)
            found->m_list->topLevelItem(i)->setCheckState(0, Qt::Checked);
    }
    auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("m_btnOK"));
    if (ok && ok->isEnabled())
        ok->click();
    if (alive && dialog->result() != QDialog::Accepted)
        dialog->accept();
    return alive ? dialog->result() : int(QDialog::Rejected);
}

} // namespace

class TestListPageEdits : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void connectionLostUnderADialog_data();
    void connectionLostUnderADialog();
    void unchangedKeyIsNoDuplicate_data();
    void unchangedKeyIsNoDuplicate();
    void abortKeyEndsALoadOverAPage_data();
    void abortKeyEndsALoadOverAPage();
    void addKeyOpensTheAddPathWithoutAWait();

private:
    // Opens the page at path and makes the item showing `item` (the first for an empty
    // text) the current one of the list named `list`.
    bool open(const QString& path, const QString& list, const QString& item);
    void probeConnection();
    // The console's window active and the page's list in focus, as after a click on it.
    bool focusList();

    std::unique_ptr<WindowOnStandIn> m_standIn;
    StandIn::TestServer* m_server = nullptr;
    WndMain* m_window = nullptr;
    QPointer<QWidget> m_page;
    QTreeWidget* m_list = nullptr;
};

void TestListPageEdits::init()
{
    m_standIn = std::make_unique<WindowOnStandIn>();
    m_server = m_standIn->server.get();
    m_window = m_standIn->window;
    QVERIFY(m_window);
    m_server->setNtDomain(QString::fromLatin1(NtDomain), {{"newcomer", "New Comer", "Imported"}});
}

void TestListPageEdits::cleanup()
{
    m_standIn.reset();
    m_page.clear();
    m_list = nullptr;
}

bool TestListPageEdits::open(const QString& path, const QString& list, const QString& item)
{
    choose(m_window, path);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_page = listPageWidget(m_window);
    m_list = m_page ? m_page->findChild<QTreeWidget*>(list) : nullptr;
    if (!m_list)
        return false;
    QTreeWidgetItem* current = itemShowing(m_list, item);
    if (current)
        m_list->setCurrentItem(current);
    return current != nullptr;
}

bool TestListPageEdits::focusList()
{
    QWidget* top = m_window->window();
    top->activateWindow();
    if (!QTest::qWaitForWindowActive(top))
        return false;
    m_list->setFocus();
    return QApplication::focusWidget() == m_list;
}

void TestListPageEdits::probeConnection()
{
    DBTable probe;
    probe.function(nullptr, m_window->getConnection(), ProbeCall, ProbeColumns, 0);
}

void TestListPageEdits::connectionLostUnderADialog_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("list");   // the list the action works on
    QTest::addColumn<QString>("action"); // the page's slot
    QTest::addColumn<QString>("item");   // made current first: the first item for ""
    QTest::addColumn<QString>("lostAt"); // the statement the server drops
    // Where the drop is armed: in the handler of the dialog of this class, or before the
    // action when empty. In that handler a "probe" is another window's request.
    QTest::addColumn<QString>("armIn");
    QTest::addColumn<bool>("probe");
    // The buttons the administrator clicks, in this order, in the dialog of the class named
    // first, before it is accepted: an "Edit..." that opens a definition dialog.
    QTest::addColumn<QStringList>("clicks");

    const QString list = QStringLiteral("m_list");
    const QString probe = QString::fromLatin1(ProbeCall).replace(QStringLiteral("()"), QString());
    auto atLoad = [&](const QByteArray& name, const char* page, const QString& onList,
                      const char* action, const QString& item, const QByteArray& lostAt) {
        QTest::newRow(name.constData()) << page << onList << action << item
                                        << QString::fromLatin1(lostAt) << QString() << false << QStringList();
    };
    auto whileOpen = [&](const QByteArray& name, const char* page, const QString& onList,
                         const char* action, const char* dialog) {
        QTest::newRow(name.constData())
            << page << onList << action << QString() << probe << dialog << true << QStringList();
    };
    auto underEdit = [&](const QByteArray& name, const char* page, const char* action,
                         const QString& item, const char* lostAt, const char* armIn,
                         const QStringList& clicks) {
        QTest::newRow(name.constData())
            << page << list << action << item << lostAt << armIn << false << clicks;
    };
    const QStringList editGroups{"DlgService", "m_btnEdit"};
    const QStringList editRanges{"DlgSched", "m_chkValid", "m_btnEdit"};

    atLoad("users: add, the wizard's groups", Users, list, "slotAdd", {}, "from group$");
    atLoad("users: add, the wizard's authentication types", Users, list, "slotAdd", {}, "get_auth_types");
    whileOpen("users: add, the wizard open", Users, list, "slotAdd", "WizAddUser");
    atLoad("users: edit, the dialog's groups", Users, list, "slotEdit", {}, "from group$");
    atLoad("users: edit, the dialog's languages", Users, list, "slotEdit", {}, "get_languages");
    atLoad("users: edit, the dialog's authentication types", Users, list, "slotEdit", {}, "get_auth_types");
    whileOpen("users: edit, the dialog open", Users, list, "slotEdit", "DlgEditUser");
    atLoad("users: import, the accounts", Users, list, "slotImport", {}, "ImportNtUsers");
    whileOpen("users: import, the accounts listed", Users, list, "slotImport", "DlgImport2");

    atLoad("groups: add, the users", Groups, list, "slotAdd", {}, "from user$");
    atLoad("groups: add, the new group's members", Groups, list, "slotAdd", {}, "^SELECT name FROM user");
    whileOpen("groups: add, the wizard open", Groups, list, "slotAdd", "WizAddGroup");
    atLoad("groups: edit, the users", Groups, list, "slotEdit", {}, "from user$");
    atLoad("groups: edit, the members", Groups, list, "slotEdit", {}, "^SELECT name FROM user");
    whileOpen("groups: edit, the dialog open", Groups, list, "slotEdit", "DlgEditGroup");

    for (const char* action : {"slotAdd", "slotEdit"}) {
        const QByteArray verb = action == QByteArray("slotAdd") ? "add" : "edit";
        atLoad("templates: " + verb + ", the groups", Templates, list, action, {}, "from group$");
        atLoad("templates: " + verb + ", the languages", Templates, list, action, {}, "get_languages");
        atLoad("templates: " + verb + ", the authentication types", Templates, list, action, {}, "get_auth_types");
        whileOpen("templates: " + verb + ", the dialog open", Templates, list, action, "DlgEditTemplate");
        whileOpen("antispam: " + verb + ", the dialog open", Antispam, list, action, "DlgFilter");
        whileOpen("antivirus: " + verb + ", the dialog open", Antivirus, list, action, "DlgAttach");
        whileOpen("ETRN: " + verb + ", the dialog open", Etrn, list, action, "DlgEtrn");
    }

    const QString imap = QStringLiteral("IMAP Server");
    atLoad("services: edit, the address groups", Services, list, "slotProp", imap, "from ipaccesslist$");
    underEdit("services: edit, the address-group dialog's load", Services, "slotProp", imap,
              "from ipaccesslist$", "DlgService", editGroups);
    underEdit("services: edit, the address groups read again", Services, "slotProp", imap,
              "from ipaccesslist$", "DlgIPGroup", editGroups);
    QTest::newRow("services: edit, the dialog open")
        << Services << list << "slotProp" << imap << probe << "DlgService" << true << QStringList();

    // Both POP3 lists look recipients up in the same four tables, loaded when first needed.
    const QString rules = QStringLiteral("m_list_2");
    const QList<QPair<QByteArray, QByteArray>> lookups{
        {"domain", "domains"}, {"user", "users"}, {"group", "groups"}, {"alias", "aliases"}};
    for (const auto& [table, tables] : lookups) {
        const QByteArray lostAt = "from " + table + '$';
        atLoad("POP3 accounts: add, the " + tables, Pop3, list, "slotAdd", {}, lostAt);
        atLoad("POP3 accounts: edit, the " + tables, Pop3, list, "slotEdit", {}, lostAt);
        atLoad("POP3 rules: add, the " + tables, Pop3, rules, "slotAdd2", {}, lostAt);
        atLoad("POP3 rules: edit, the " + tables, Pop3, rules, "slotEdit2", {}, lostAt);
    }
    whileOpen("POP3 accounts: add, the dialog open", Pop3, list, "slotAdd", "DlgPop3");
    whileOpen("POP3 accounts: edit, the dialog open", Pop3, list, "slotEdit", "DlgPop3");
    whileOpen("POP3 rules: add, the dialog open", Pop3, rules, "slotAdd2", "DlgRule");
    whileOpen("POP3 rules: edit, the dialog open", Pop3, rules, "slotEdit2", "DlgRule");

    for (const char* action : {"slotAdd", "slotEdit"}) {
        const QByteArray verb = action == QByteArray("slotAdd") ? "add" : "edit";
        underEdit("scheduling: " + verb + ", the time-range dialog's load", Scheduling, action, {},
                  "from timeintervals$", "DlgSched", editRanges);
        underEdit("scheduling: " + verb + ", the time ranges read again", Scheduling, action, {},
                  "from TimeIntervals$", "DlgTimeIntEx", editRanges);
        whileOpen("scheduling: " + verb + ", the dialog open", Scheduling, list, action, "DlgSched");

        atLoad("address groups: " + verb + ", the dialog's load", AddressGroups, list, action, {},
               "from ipaccesslist$");
        underEdit("address groups: " + verb + ", the page reads again", AddressGroups, action, {},
                  "from ipaccesslist$", "DlgIPGroup", {});
        whileOpen("address groups: " + verb + ", the dialog open", AddressGroups, list, action,
                  "DlgIPGroup");
        atLoad("time ranges: " + verb + ", the dialog's load", TimeRanges, list, action, {},
               "from timeintervals$");
        underEdit("time ranges: " + verb + ", the page reads again", TimeRanges, action, {},
                  "from timeintervals$", "DlgTimeIntEx", {});
        whileOpen("time ranges: " + verb + ", the dialog open", TimeRanges, list, action,
                  "DlgTimeIntEx");
    }
}

// A lost connection drops the pending list and restores every table of the page: the rows
// a dialog or wizard works on must outlive it, the path that added or edited stops, and the
// page goes on showing what it loaded. The loss is told once, by the console's box alone.
void TestListPageEdits::connectionLostUnderADialog()
{
    QFETCH(QString, page);
    QFETCH(QString, list);
    QFETCH(QString, action);
    QFETCH(QString, item);
    QFETCH(QString, lostAt);
    QFETCH(QString, armIn);
    QFETCH(bool, probe);
    QFETCH(QStringList, clicks);

    QVERIFY(open(page, list, item));
    const int shown = m_list->topLevelItemCount();
    DBCtrl* ctrl = m_window->getDBCtrl();

    DialogRecorder recorder;
    auto work = [&](QDialog* dialog) {
        const QString name = classOf(dialog);
        if (name == armIn) {
            QVERIFY(m_server->dropAt(lostAt, 1));
            if (probe)
                probeConnection();
        }
        if (!clicks.isEmpty() && name == clicks.first()) {
            for (const QString& button : clicks.mid(1)) {
                auto* clicked = dialog->findChild<QAbstractButton*>(button);
                QVERIFY(clicked && clicked->isEnabled());
                clicked->click();
            }
        }
    };
    for (int dialogs = 0; dialogs < 8; ++dialogs) {
        recorder.answerDialog([&work](QDialog* dialog) {
            work(dialog);
            return accept(dialog);
        });
    }
    if (armIn.isEmpty())
        QVERIFY(m_server->dropAt(lostAt, 1));
    QVERIFY(QMetaObject::invokeMethod(m_page, action.toLatin1().constData(), Qt::DirectConnection));

    QVERIFY(m_page);
    QCOMPARE(lostConnectionBoxes(recorder), 1);
    QCOMPARE(ownFailureBoxes(recorder), 0);
    QVERIFY(m_window->windowTitle().endsWith(QLatin1String(" - NOT CONNECTED!")));
    QVERIFY(ctrl->m_pending.isEmpty());
    // What the page's tables hold is what it loaded: nothing to hand over.
    dynamic_cast<ListPage*>(m_page.data())->updateQuery();
    QCOMPARE(ctrl->m_pending, QStringList());
    QCOMPARE(m_list->topLevelItemCount(), shown);
}

void TestListPageEdits::unchangedKeyIsNoDuplicate_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("table");
    // The key column whose text the twin has in capitals; none: the twin is an exact copy.
    QTest::addColumn<QString>("capitalised");
    QTest::addColumn<QString>("duplicateText");

    const QString list = QStringLiteral("m_list");
    QTest::newRow("users, in another letter case")
        << Users << list << "slotEdit" << "user" << "name" << "This user already exists!";
    QTest::newRow("groups, in another letter case")
        << Groups << list << "slotEdit" << "group" << "name" << "This group already exists!";
    QTest::newRow("templates, in another letter case")
        << Templates << list << "slotEdit" << "template" << "tempname" << "This template already exists!";
    QTest::newRow("antispam rules")
        << Antispam << list << "slotEdit" << "HeaderFilter" << "" << "This item is already defined!";
    QTest::newRow("attachment filters") << Antivirus << list << "slotEdit" << "AttachFilter" << ""
                                        << "This attachment filter is already defined!";
    QTest::newRow("POP3 accounts") << Pop3 << list << "slotEdit" << "pop3" << ""
                                   << "POP3 account with this name and server is already defined!";
    QTest::newRow("POP3 sorting rules") << Pop3 << "m_list_2" << "slotEdit2" << "sort" << ""
                                        << "This sorting rule is already defined!";
    QTest::newRow("ETRN") << Etrn << list << "slotEdit" << "odmr" << "" << "This item is already defined!";
    QTest::newRow("scheduling")
        << Scheduling << list << "slotEdit" << "scheduler" << "" << "This item is already defined!";
}

// The server may hold a key twice (or in two letter cases where the page compares without
// case). An edit that leaves the key as it was is not a duplicate of the other row.
void TestListPageEdits::unchangedKeyIsNoDuplicate()
{
    QFETCH(QString, page);
    QFETCH(QString, list);
    QFETCH(QString, action);
    QFETCH(QString, table);
    QFETCH(QString, capitalised);
    QFETCH(QString, duplicateText);

    const QList<StandIn::Column> columns = m_server->columns(table);
    QList<QStringList> rows = m_server->rows(table);
    QVERIFY(!rows.isEmpty());
    QStringList twin = rows.first();
    for (int c = 0; c < columns.size(); ++c) {
        if (columns.at(c).name == capitalised)
            twin[c] = twin.at(c).toUpper();
    }
    rows.insert(1, twin);
    m_server->setTable(table, columns, rows);

    QVERIFY(open(page, list, QString()));
    // Every row in turn, the twins among them, wherever the list shows them.
    const int shown = m_list->topLevelItemCount();
    DialogRecorder recorder;
    for (int i = 0; i < shown; ++i) {
        recorder.answerDialog(accept);
        m_list->setCurrentItem(m_list->topLevelItem(i));
        QVERIFY(QMetaObject::invokeMethod(m_page, action.toLatin1().constData(), Qt::DirectConnection));
    }

    QVERIFY(!recorder.messageTexts().contains(duplicateText));
    QCOMPARE(recorder.dialogs.size(), shown);
}

void TestListPageEdits::abortKeyEndsALoadOverAPage_data()
{
    QTest::addColumn<QString>("page");     // shown behind the wait
    QTest::addColumn<QString>("item");     // made current first: the first item for ""
    QTest::addColumn<QString>("action");   // the page's slot that loads, or
    QTest::addColumn<QString>("switchTo"); // the tree item whose page loads over it
    QTest::addColumn<QString>("held");     // the statement the server never answers
    QTest::addColumn<QStringList>("dialogs"); // the classes of the dialogs opened after the wait

    // The users and groups pages hold "&Add...", the same key as the indicator's "&Abort".
    QTest::newRow("users page, its edit dialog's groups")
        << Users << "" << "slotEdit" << "" << "from group$" << QStringList();
    QTest::newRow("users page, the groups page opening")
        << Users << "" << "" << Groups << "from group$" << QStringList();
    QTest::newRow("groups page, its edit's users")
        << Groups << "" << "slotEdit" << "" << "from user$" << QStringList();
    // A page that holds no other Alt+A. The service dialog opens without the address
    // groups it could not read.
    QTest::newRow("services page, its edit dialog's address groups")
        << Services << "IMAP Server" << "slotProp" << "" << "from ipaccesslist$" << QStringList{"DlgService"};
}

// A load the server never answers: once the indicator shows, Alt+A typed where the focus is
// presses its "&Abort" (the key goes through the toolkit's shortcut map as a person's does),
// whatever the page behind holds, and the wait ends as aborted.
void TestListPageEdits::abortKeyEndsALoadOverAPage()
{
    QFETCH(QString, page);
    QFETCH(QString, item);
    QFETCH(QString, action);
    QFETCH(QString, switchTo);
    QFETCH(QString, held);
    QFETCH(QStringList, dialogs);

    QVERIFY(open(page, QStringLiteral("m_list"), item));
    QVERIFY(focusList());
    QVERIFY(m_server->silence(held, 1));
    const int journalBefore = int(m_server->journal().size());

    DialogRecorder recorder;
    QPointer<WndProgress> panel;
    QString typedAt;
    bool abortDownAfterTheKey = false;
    int abortClicks = 0;
    QTimer typist;
    connect(&typist, &QTimer::timeout, this, [&] {
        if (panel)
            return;
        for (QWidget* widget : QApplication::allWidgets()) {
            auto* shown = qobject_cast<WndProgress*>(widget);
            if (shown && shown->isVisible())
                panel = shown;
        }
        if (!panel)
            return;
        auto* abort = panel->findChild<QPushButton*>(QStringLiteral("btnAbort"));
        connect(abort, &QPushButton::clicked, this, [&abortClicks] { ++abortClicks; });
        QWidget* focus = QApplication::focusWidget();
        typedAt = focus ? QString::fromLatin1(focus->metaObject()->className()) : QString();
        QTest::keyClick(focus ? focus : m_window->window(), Qt::Key_A, Qt::AltModifier);
        // A shortcut presses its button at once and lets it go a moment later.
        abortDownAfterTheKey = abort->isDown();
        // The answer never comes: a key that missed leaves the wait to the mouse.
        if (!abortDownAfterTheKey)
            abort->click();
    });
    typist.start(20);
    if (switchTo.isEmpty())
        QVERIFY(QMetaObject::invokeMethod(m_page, action.toLatin1().constData(), Qt::DirectConnection));
    else
        choose(m_window, switchTo);
    typist.stop();

    QCOMPARE(typedAt, QStringLiteral("QTreeWidget"));
    QVERIFY(abortDownAfterTheKey);
    QCOMPARE(abortClicks, 1);
    // The aborted load failed as refused, with no text from the server.
    QCOMPARE(recorder.messageTexts(), QStringList{QStringLiteral("Query failed: ")});
    QStringList opened;
    for (const DialogRecorder::Dialog& dialog : recorder.dialogs)
        opened.append(dialog.className);
    QCOMPARE(opened, dialogs);
    const QStringList sent = journalFrom(*m_server, journalBefore);
    QCOMPARE(sent.filter(QRegularExpression(held)).size(), 1);
}

// With no wait, Alt+A is the users page's "&Add...": the add path starts with the template
// chooser (the demo data holds templates), which the recorder cancels.
void TestListPageEdits::addKeyOpensTheAddPathWithoutAWait()
{
    QVERIFY(open(Users, QStringLiteral("m_list"), QString()));
    QVERIFY(focusList());
    DialogRecorder recorder;
    QTest::keyClick(m_list, Qt::Key_A, Qt::AltModifier);
    QTRY_COMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(recorder.dialogs.first().className, QStringLiteral("DlgChooseTemp"));
    QCOMPARE(recorder.messages.size(), 0);
}

QTEST_MAIN(TestListPageEdits)
#include "tst_listpageedits.moc"
