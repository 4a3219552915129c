// The groups page against the stand-in server: its domain box, list, buttons and menu; the
// pending list it hands over after removals and edits, in the order removals, group table,
// memberships; and through a main window, what Apply and Reset make of it on the server
// and on the users page.

#include "accountcolumns.h"
#include "accountrows.h"
#include "accounttexts.h"
#include "cols.h"
#include "dbctrl.h"
#include "dbrow.h"
#include "dbuserlist.h"
#include "desktop.h"
#include "dialogrecorder.h"
#include "dlgadduser.h"
#include "dlgeditgroup.h"
#include "globaldata.h"
#include "groupsfixture.h"
#include "listtexts.h"
#include "pagesession.h"
#include "qgroupitem.h"
#include "quseritem.h"
#include "settingsstore.h"
#include "shellharness.h"
#include "wizaddgroup.h"
#include "wndgroup.h"
#include "wnduser.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QTreeWidget>
#include <QSignalSpy>
#include <QtTest>

using AccountTexts::cell;

namespace {

QString removal(const QString& group, const QString& domain = QString())
{
    return QStringLiteral("UPDATE user SET groups-=\"%1\" WHERE Domain = \"%2\"").arg(group, domain);
}

QString drop(const QString& group, const QString& user)
{
    return QStringLiteral("UPDATE user SET groups -=\"%1\" WHERE name=\"%2\" AND domain=\"\"").arg(group, user);
}

QString add(const QString& group, const QString& user)
{
    return QStringLiteral("UPDATE user SET groups+=\"%1\" WHERE name=\"%2\" AND domain=\"\"").arg(group, user);
}

QString deleteGroup(const QString& group, const QString& domain = QString())
{
    return QStringLiteral("delete from group where name='%1' and domain='%2'").arg(group, domain);
}

QStringList memberNames(const QTreeWidget* list)
{
    QStringList names;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        names << cell(static_cast<QUserItem*>(list->topLevelItem(i))->row(), "name");
    return names;
}

void selectNamed(QTreeWidget* list, const QStringList& chosen)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        item->setSelected(chosen.contains(cell(static_cast<QUserItem*>(item)->row(), "name")));
    }
}

// Works the edit dialog: takes `leave` out of its members, picks `join` in the picker,
// and answers OK (or Cancel).
std::function<int(QDialog*)> editMembers(DialogRecorder& recorder, const QStringList& leave,
                                         const QStringList& join, bool ok = true,
                                         QStringList* shown = nullptr)
{
    return [&recorder, leave, join, ok, shown](QDialog* dialog) {
        auto* edit = qobject_cast<DlgEditGroup*>(dialog);
        if (shown)
            *shown = memberNames(edit->m_listUsers);
        selectNamed(edit->m_listUsers, leave);
        edit->slotRemove();
        if (!join.isEmpty()) {
            recorder.answerDialog([join](QDialog* picker) {
                auto* users = qobject_cast<DlgAddUser*>(picker);
                selectNamed(users->m_listUsers, join);
                users->m_btnOK->click();
                return users->result();
            });
            edit->slotAdd();
        }
        if (!ok)
            return int(QDialog::Rejected);
        edit->m_btnOK->click();
        return edit->result();
    };
}

// Works the add wizard: name, description and members, then "&Finish" (or "&Cancel").
std::function<int(QDialog*)> addGroup(DialogRecorder& recorder, const QString& name,
                                      const QString& description, const QStringList& join,
                                      bool finish = true)
{
    return [&recorder, name, description, join, finish](QDialog* dialog) {
        auto* wizard = qobject_cast<WizAddGroup*>(dialog);
        wizard->show();
        wizard->m_editName->setText(name);
        wizard->m_editDesk->setText(description);
        if (!join.isEmpty()) {
            recorder.answerDialog([join](QDialog* picker) {
                auto* users = qobject_cast<DlgAddUser*>(picker);
                selectNamed(users->m_listUsers, join);
                users->m_btnOK->click();
                return users->result();
            });
            wizard->slotAdd();
        }
        (finish ? wizard->helpButton() : wizard->cancelButton())->click();
        return wizard->result();
    };
}

QString insertGroup(const QString& name, const QString& description, const QString& domain = QString())
{
    return QStringLiteral("insert group set name='%1', domain='%2', description='%3', rights='0'")
        .arg(name, domain, description);
}

} // namespace

class TestWndGroup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void domainBox_data();
    void domainBox();
    void choosingDomain_data();
    void choosingDomain();
    void buttons_data();
    void buttons();
    void failedLoadLeavesThePageAsBuilt_data();
    void failedLoadLeavesThePageAsBuilt();
    void shortAnswerLeavesNothingToEdit_data();
    void shortAnswerLeavesNothingToEdit();
    void failedLoadAddsNothing_data();
    void failedLoadAddsNothing();
    void menuOnEmptySpace();
    void layoutKeptUnderVersion2();
    void activationOpensTheDialog_data();
    void activationOpensTheDialog();
    void removals_data();
    void removals();
    void edits_data();
    void edits();
    void editedThenRemoved();
    void membershipEditsKeepTheButtonsOn();
    void unreadableMembershipEditedAsAdditions();
    void twinNameIsNoDuplicate();
    void applyAndReset_data();
    void applyAndReset();
    void applyStoppedPartWay_data();
    void applyStoppedPartWay();
    void adds_data();
    void adds();
    void addedAfterRemovalStartsEmpty();
    void addedGroupReachesItsUsers();
    void addedGroupKeptWhenItsMembershipIsUnread();
    void connectionLostUnderADialog_data();
    void connectionLostUnderADialog();
    void pageClosedWhileMembersAreRead();
    void unreadableUsersOpenNoDialog_data();
    void unreadableUsersOpenNoDialog();

private:
    std::unique_ptr<WndGroup> makePage(Desktop* desktop = nullptr)
    {
        return std::make_unique<WndGroup>(nullptr, m_session->connection(), m_ctrl, desktop);
    }
    void editGroup(WndGroup* page, const QString& name)
    {
        page->m_list->setCurrentItem(itemNamed(page->m_list, name));
        page->slotEdit();
    }
    int membershipQueries() const
    {
        int queries = 0;
        for (const auto& entry : m_server->journal())
            queries += entry.statement.startsWith(QLatin1String("SELECT name FROM user")) ? 1 : 0;
        return queries;
    }

    std::unique_ptr<PageSession> m_session;
    StandIn::TestServer* m_server = nullptr;
    DBCtrl* m_ctrl = nullptr;
};

void TestWndGroup::init()
{
    globalData.currentDomain.clear();
    m_session = std::make_unique<PageSession>();
    m_server = m_session->server.get();
    m_ctrl = &m_session->ctrl;
    GroupsFixture::install(*m_server);
    QVERIFY(m_session->connect());
}

void TestWndGroup::cleanup()
{
    m_session.reset();
    globalData.currentDomain.clear();
}

void TestWndGroup::domainBox_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("shownDomain");
    QTest::addColumn<QStringList>("groups");

    QTest::newRow("primary, as a new window has it")
        << "" << "corvane.example"
        << QStringList{"empty", GroupsFixture::QuotedGroup, "solo", "staff", "support"};
    QTest::newRow("another local domain") << "lakeside.example" << "lakeside.example" << QStringList{"staff"};
}

void TestWndGroup::domainBox()
{
    QFETCH(QString, current);
    QFETCH(QString, shownDomain);
    QFETCH(QStringList, groups);

    globalData.currentDomain = current;
    auto page = makePage();
    QCOMPARE(page->m_comboDomain->count(), 2); // the alias and forwarding domains are left out
    QCOMPARE(page->m_comboDomain->currentText(), shownDomain);
    QCOMPARE(listedNames(page->m_list), groups);
    QCOMPARE(page->m_list->headerItem()->text(1), QStringLiteral("Description"));
    QCOMPARE(page->windowTitle(), QStringLiteral("Groups"));
}

void TestWndGroup::choosingDomain_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("groups");

    QTest::newRow("primary stored as empty") << "corvane.example" << "" << 5;
    QTest::newRow("local domain stored by name") << "lakeside.example" << "lakeside.example" << 1;
}

void TestWndGroup::choosingDomain()
{
    QFETCH(QString, chosen);
    QFETCH(QString, stored);
    QFETCH(int, groups);

    globalData.currentDomain = QStringLiteral("lakeside.example");
    auto page = makePage();
    page->slotDomainChanged(chosen);
    QCOMPARE(globalData.currentDomain, stored);
    QCOMPARE(page->m_list->topLevelItemCount(), groups);
    QCOMPARE(page->m_comboDomain->currentText(), chosen);
}

void TestWndGroup::buttons_data()
{
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<bool>("edit");
    QTest::addColumn<bool>("remove");

    QTest::newRow("none") << QStringList() << false << false;
    QTest::newRow("one") << QStringList{"staff"} << true << true;
    QTest::newRow("two") << QStringList{"staff", "solo"} << false << true;
}

void TestWndGroup::buttons()
{
    QFETCH(QStringList, selected);
    QFETCH(bool, edit);
    QFETCH(bool, remove);

    auto page = makePage();
    for (const QString& name : selected)
        itemNamed(page->m_list, name)->setSelected(true);
    QCOMPARE(page->m_btnEdit->isEnabled(), edit);
    QCOMPARE(page->m_btnRemove->isEnabled(), remove);
    QVERIFY(page->m_btnAdd->isEnabled());
}

void TestWndGroup::failedLoadLeavesThePageAsBuilt_data()
{
    QTest::addColumn<QString>("refused");
    QTest::addColumn<int>("loads"); // tables asked for
    QTest::newRow("group table") << "from group$" << 1;
    QTest::newRow("domain table") << "from domain$" << 2;
}

void TestWndGroup::failedLoadLeavesThePageAsBuilt()
{
    QFETCH(QString, refused);
    QFETCH(int, loads);

    QVERIFY(m_server->refuse(refused, 109));
    DialogRecorder recorder;
    auto page = makePage();
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(int(m_server->journal().size()), loads);
    QCOMPARE(page->m_comboDomain->count(), 0);
    QCOMPARE(page->m_list->columnCount(), 0);
    QVERIFY(page->m_btnEdit->isEnabled());
    QVERIFY(page->m_btnRemove->isEnabled());
    // Not following the controller: a reset leaves the page alone.
    m_ctrl->reset();
    QCOMPARE(page->m_comboDomain->count(), 0);
}

// An answer without a column the page asked for is a failed load: no group is listed, so no
// edit writes a cell the server did not send (rights) or names a group by a key it did not
// send (name, domain).
void TestWndGroup::shortAnswerLeavesNothingToEdit_data()
{
    QTest::addColumn<QString>("omitted");
    QTest::newRow("rights") << "rights";
    QTest::newRow("the key's name") << "name";
    QTest::newRow("the key's domain") << "domain";
}

void TestWndGroup::shortAnswerLeavesNothingToEdit()
{
    QFETCH(QString, omitted);

    QVERIFY(m_server->omitColumns("from group$", QStringList{omitted}, 1));
    DialogRecorder recorder;
    auto page = makePage();
    QCOMPARE(recorder.messageTexts(),
             QStringList{"Query failed: The server's answer lacks these columns of group: " + omitted});
    QCOMPARE(int(m_server->journal().size()), 1); // the load stopped at the group table
    QCOMPARE(page->m_list->topLevelItemCount(), 0);

    // What the administrator might do next: Edit whatever is listed, OK untouched.
    recorder.answerDialog(editMembers(recorder, {}, {}));
    if (QTreeWidgetItem* first = page->m_list->topLevelItem(0)) {
        page->m_list->setCurrentItem(first);
        page->slotEdit();
    }
    QCOMPARE(m_ctrl->m_pending, QStringList());
    for (const auto& entry : m_server->journal())
        QVERIFY2(entry.statement.startsWith(QLatin1String("select "), Qt::CaseInsensitive),
                 qPrintable(entry.statement));
}

void TestWndGroup::failedLoadAddsNothing_data()
{
    QTest::addColumn<QString>("pattern"); // the load that fails
    QTest::addColumn<bool>("shortOfAColumn"); // else refused

    QTest::newRow("groups short of a column") << "from group$" << true;
    QTest::newRow("groups refused") << "from group$" << false;
    QTest::newRow("domains refused") << "from domain$" << false;
}

// Add on a page whose load failed adds no group: the insert would go into a table the page
// never loaded, or one it does not commit on Apply, and so be sent again on every Apply.
void TestWndGroup::failedLoadAddsNothing()
{
    QFETCH(QString, pattern);
    QFETCH(bool, shortOfAColumn);

    if (shortOfAColumn)
        QVERIFY(m_server->omitColumns(pattern, QStringList{"rights"}, 1));
    else
        QVERIFY(m_server->refuse(pattern, 109, 1));
    DialogRecorder recorder;
    auto page = makePage();
    QCOMPARE(recorder.messages.size(), 1);
    const size_t groups = page->m_groups.m_rows.size();
    const int asked = int(m_server->journal().size());

    recorder.answerDialog(addGroup(recorder, "team", "Our team", {"cid"}));
    QVERIFY(page->m_btnAdd->isEnabled());
    page->m_btnAdd->click();
    QCOMPARE(recorder.dialogs.size(), 0);
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(page->m_groups.m_rows.size(), groups);
    QCOMPARE(page->m_list->topLevelItemCount(), 0);
    QCOMPARE(m_ctrl->m_pending, QStringList());
    QCOMPARE(int(m_server->journal().size()), asked);
}

void TestWndGroup::menuOnEmptySpace()
{
    auto page = makePage();
    QMenu menu;
    QVERIFY(page->fillPopupMenu(menu, page.get(), nullptr));
    QStringList entries;
    for (QAction* action : menu.actions())
        entries << (action->isSeparator() ? QStringLiteral("-") : action->text() + (action->isEnabled() ? "" : " (off)"));
    QCOMPARE(entries, (QStringList{"&Add...", "&Edit... (off)", "&Remove (off)", "-", "&Modify Columns..."}));
}

void TestWndGroup::layoutKeptUnderVersion2()
{
    Desktop desktop;
    Cols stored;
    QGroupItem::addColumns(stored);
    stored.show(stored.hid.indexOf(QGroupItem::Rights));
    stored.save(&desktop, QStringLiteral("Admin/Mail"), QStringLiteral("group"), 2);

    auto page = makePage(&desktop);
    QStringList shown;
    for (int i = 0; i < page->m_list->columnCount(); ++i)
        shown << page->m_list->headerItem()->text(i);
    QCOMPARE(shown, (QStringList{"Name", "Description", "Rights"}));
    QCOMPARE(itemNamed(page->m_list, "solo")->text(2), QStringLiteral("Read/write access"));

    DialogRecorder recorder;
    recorder.answerDialog(QDialog::Accepted);
    page->slotCols();
    QCOMPARE(desktop.settings()->readNumEntry(QStringLiteral("/Admin/Mail/group/ver"), -1), 2);
}

void TestWndGroup::activationOpensTheDialog_data()
{
    QTest::addColumn<bool>("byReturn");
    QTest::newRow("double click") << false;
    QTest::newRow("Return") << true;
}

void TestWndGroup::activationOpensTheDialog()
{
    QFETCH(bool, byReturn);

    auto page = makePage();
    DialogRecorder recorder;
    QTreeWidgetItem* item = itemNamed(page->m_list, QStringLiteral("solo"));
    page->m_list->setCurrentItem(item);
    if (byReturn)
        QTest::keyClick(page->m_list, Qt::Key_Return);
    else
        emit page->m_list->itemDoubleClicked(item, 0);
    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(recorder.dialogs.at(0).className, QStringLiteral("DlgEditGroup"));
}

void TestWndGroup::removals_data()
{
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("two, removals in list order before the deletes")
        << "" << QStringList{"staff", "solo"}
        << QStringList{removal("solo"), removal("staff"), deleteGroup("staff"), deleteGroup("solo")};
    QTest::newRow("nothing selected") << "" << QStringList() << QStringList();
    QTest::newRow("name escaped") << "" << QStringList{GroupsFixture::QuotedGroup}
                                  << QStringList{removal("say \\\"hi\\\" \\\\ o\\'clock"),
                                                 deleteGroup("say \\\"hi\\\" \\\\ o\\'clock")};
    QTest::newRow("own domain") << "lakeside.example" << QStringList{"staff"}
                                << QStringList{removal("staff", "lakeside.example"),
                                               deleteGroup("staff", "lakeside.example")};
}

void TestWndGroup::removals()
{
    QFETCH(QString, domain);
    QFETCH(QStringList, selected);
    QFETCH(QStringList, pending);

    globalData.currentDomain = domain;
    auto page = makePage();
    DialogRecorder recorder;
    for (const QString& name : selected)
        itemNamed(page->m_list, name)->setSelected(true);
    page->slotRemove();
    QCOMPARE(recorder.messages.size(), 0);
    QCOMPARE(m_ctrl->m_pending, pending);
    QCOMPARE(page->m_list->topLevelItemCount(), (domain.isEmpty() ? 5 : 1) - int(selected.size()));
}

void TestWndGroup::edits_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("leave");
    QTest::addColumn<QStringList>("join");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("nothing changed") << "staff" << QStringList() << QStringList() << QStringList();
    QTest::newRow("one member dropped") << "staff" << QStringList{"bob"} << QStringList() << QStringList{drop("staff", "bob")};
    QTest::newRow("dropped and taken back") << "staff" << QStringList{"bob"} << QStringList{"bob"} << QStringList();
    QTest::newRow("Ann for ann: drop first")
        << "solo" << QStringList{"Ann"} << QStringList{"ann"} << QStringList{drop("solo", "Ann"), add("solo", "ann")};
    // The group had no rights stored and nobody chose any: OK writes none.
    QTest::newRow("three joined, in the list's order")
        << "empty" << QStringList() << QStringList{"cid", "bob", "J\u00fcrgen"}
        << QStringList{add("empty", "bob"), add("empty", "cid"), add("empty", "J\u00fcrgen")};
}

void TestWndGroup::edits()
{
    QFETCH(QString, group);
    QFETCH(QStringList, leave);
    QFETCH(QStringList, join);
    QFETCH(QStringList, pending);

    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(editMembers(recorder, leave, join));
    editGroup(page.get(), group);
    QCOMPARE(recorder.dialogs.size(), join.isEmpty() ? 1 : 2);
    QCOMPARE(recorder.messages.size(), 0);
    QCOMPARE(m_ctrl->m_pending, pending);
}

void TestWndGroup::editedThenRemoved()
{
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(editMembers(recorder, {"bob"}, {"cid"}));
    editGroup(page.get(), "staff");
    QCOMPARE(m_ctrl->m_pending, (QStringList{drop("staff", "bob"), add("staff", "cid")}));
    recorder.answerDialog(editMembers(recorder, {}, {"bob"}));
    editGroup(page.get(), "solo");

    page->m_list->clearSelection();
    itemNamed(page->m_list, "staff")->setSelected(true);
    page->slotRemove();
    // The deleted group's membership changes go with it: none would put it back.
    QCOMPARE(m_ctrl->m_pending, (QStringList{removal("staff"), deleteGroup("staff"), add("solo", "bob")}));
}

// A membership edit while another is pending leaves the pending list non-empty all along:
// Apply and Reset are not turned off and on again because no group is removed and no group
// row changed, which the page hands in first.
void TestWndGroup::membershipEditsKeepTheButtonsOn()
{
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(editMembers(recorder, {"bob"}, {}));
    editGroup(page.get(), "staff");
    QCOMPARE(m_ctrl->m_pending, QStringList{drop("staff", "bob")});
    QSignalSpy emptiness(m_ctrl, &DBCtrl::sig_empty);
    recorder.answerDialog(editMembers(recorder, {}, {"bob"}));
    editGroup(page.get(), "solo");
    QCOMPARE(m_ctrl->m_pending, (QStringList{drop("staff", "bob"), add("solo", "bob")}));
    QCOMPARE(emptiness.size(), 0);
}

// The server refuses to read the members: the edit goes on as with none read, as Add does.
// What the administrator typed is kept, the users added become additions, and no member the
// server holds is dropped; until Apply or Reset the group is not asked for again.
void TestWndGroup::unreadableMembershipEditedAsAdditions()
{
    auto page = makePage();
    QVERIFY(m_server->refuse("^SELECT name FROM user", 109, 1));
    DialogRecorder recorder;
    QStringList shown{"not opened"};
    recorder.answerDialog([&recorder, &shown](QDialog* dialog) {
        qobject_cast<DlgEditGroup*>(dialog)->m_editDesk->setText("Everyone");
        return editMembers(recorder, {}, {"cid"}, true, &shown)(dialog);
    });
    editGroup(page.get(), "staff");
    QCOMPARE(recorder.messageTexts(), QStringList{"Operation failed."});
    QCOMPARE(recorder.messages.at(0).caption, QStringLiteral("Error"));
    QCOMPARE(shown, QStringList{});
    QCOMPARE(m_ctrl->m_pending,
             (QStringList{"update group set description='Everyone' where name='staff' and domain=''",
                          add("staff", "cid")}));

    recorder.answerDialog(editMembers(recorder, {}, {}, true, &shown));
    editGroup(page.get(), "staff");
    QCOMPARE(shown, QStringList{"cid"});
    QCOMPARE(membershipQueries(), 1);
    QCOMPARE(recorder.messages.size(), 1);
}

// The server holds "staff" and "Staff", one key to a comparison without case. The dialog
// cannot change the name: its edit is kept at once, members and all.
void TestWndGroup::twinNameIsNoDuplicate()
{
    QList<QStringList> groups = m_server->rows("group");
    groups.append({"Staff", "", "Same name, other case", "0"});
    m_server->setTable("group", m_server->columns("group"), groups);
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(editMembers(recorder, {"bob"}, {}));
    editGroup(page.get(), "staff");

    QCOMPARE(recorder.messages.size(), 0);
    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(m_ctrl->m_pending, QStringList{drop("staff", "bob")});
}

void TestWndGroup::applyAndReset_data()
{
    QTest::addColumn<bool>("apply");
    QTest::newRow("apply") << true;
    QTest::newRow("reset") << false;
}

void TestWndGroup::applyAndReset()
{
    QFETCH(bool, apply);

    // Through a main window, which sends on Apply. The server takes ann and Ann for one
    // key and would refuse any update of every user of the domain while both are there.
    QList<QStringList> userRows = m_server->rows("user");
    userRows.removeIf([](const QStringList& user) { return user.at(0) == QLatin1String("Ann"); });
    m_server->setTable("user", m_server->columns("user"), userRows);
    m_session->conn.reset();
    PageFactory::registerPage<WndGroup>(PageKind::Groups);
    PageFactory::registerPage<WndUser>(PageKind::Users);
    ConsoleStandIn console;
    WndMain* window = console.open(m_server->port());
    QVERIFY(window);
    choose(window, QStringLiteral("Domain Settings/Groups"));
    auto* page = window->findChild<WndGroup*>();
    QVERIFY(page);
    DialogRecorder recorder;
    recorder.answerDialog(editMembers(recorder, {"bob", "J\u00fcrgen"}, {"cid"}));
    editGroup(page, "staff");
    recorder.answerDialog(editMembers(recorder, {}, {"o'neil"}));
    editGroup(page, "solo");
    page->m_list->clearSelection();
    itemNamed(page->m_list, "support")->setSelected(true);
    page->slotRemove();
    const QStringList pending{removal("support"), deleteGroup("support"),
                              drop("staff", "bob"), drop("staff", "J\u00fcrgen"), add("staff", "cid"),
                              add("solo", "o\\'neil")};
    QCOMPARE(window->getDBCtrl()->m_pending, pending);
    const int journalBefore = int(m_server->journal().size());
    const int queriesBefore = membershipQueries();

    if (apply) {
        window->apply();
        QCOMPARE(journalFrom(*m_server, journalBefore), pending);
        using GroupsFixture::groupsOf;
        QCOMPARE(groupsOf(*m_server, "bob", ""), QStringList());
        QCOMPARE(groupsOf(*m_server, "J\u00fcrgen", ""), QStringList());
        QCOMPARE(groupsOf(*m_server, "cid", ""), QStringList{"staff"});
        QCOMPARE(groupsOf(*m_server, "o'neil", ""), (QStringList{"staff", GroupsFixture::QuotedGroup, "solo"}));
        QCOMPARE(m_server->rows("group").size(), 5);
        QCOMPARE(page->m_list->topLevelItemCount(), 4);
    } else {
        window->reset();
        QCOMPARE(journalFrom(*m_server, journalBefore), QStringList());
        QCOMPARE(listedNames(page->m_list),
                 (QStringList{"empty", GroupsFixture::QuotedGroup, "solo", "staff", "support"}));
    }
    QVERIFY(window->getDBCtrl()->m_pending.isEmpty());
    QVERIFY(page->m_removals.isEmpty());
    QCOMPARE(page->m_lists->count(), 0);

    // The next dialog asks the server again and shows what it holds now.
    QStringList shown;
    recorder.answerDialog(editMembers(recorder, {}, {}, false, &shown));
    editGroup(page, "staff");
    QCOMPARE(membershipQueries(), queriesBefore + 1);
    QCOMPARE(shown, apply ? (QStringList{GroupsFixture::longName(), "ann", "cid", "o'neil"})
                          : (QStringList{GroupsFixture::longName(), "ann", "bob", "J\u00fcrgen", "o'neil"}));

    // The users page reads the memberships the server now holds.
    choose(window, QStringLiteral("Domain Settings/Users"));
    auto* users = window->findChild<WndUser*>();
    QVERIFY(users);
    for (const auto& row : users->m_users.m_rows) {
        if (cell(row.get(), "name") == QLatin1String("cid"))
            QCOMPARE(cell(row.get(), "groups"), apply ? QStringLiteral("staff") : QString());
    }
}

namespace {

// The statements of a removal, a deletion and membership changes of two groups, in the order
// the page hands them in.
QStringList removalDeletionAndMemberships()
{
    return {removal("support"), deleteGroup("support"), drop("staff", "bob"), drop("staff", "J\u00fcrgen"),
            add("staff", "cid"), add("solo", "o\\'neil")};
}

} // namespace

void TestWndGroup::applyStoppedPartWay_data()
{
    QTest::addColumn<int>("refused");      // the statement the server refuses, from 1
    QTest::addColumn<QStringList>("rest"); // what the next Apply sends, after one more edit

    // The edit afterwards: bob joins "empty", whose empty rights OK leaves alone.
    const QStringList statements = removalDeletionAndMemberships();
    for (int refused = 1; refused <= statements.size(); ++refused) {
        // Removals, the group table, then the memberships in the order the groups were
        // touched; of the first six, those the server did not carry out.
        const QStringList left = statements.mid(refused - 1);
        QStringList rest;
        for (const QString& statement : left.mid(0, 2)) {
            if (statement.startsWith(QLatin1String("UPDATE user SET groups-=")))
                rest.append(statement);
        }
        if (left.contains(deleteGroup("support")))
            rest.append(deleteGroup("support"));
        for (const QString& statement : left) {
            if (statement.contains(QLatin1String("AND domain")))
                rest.append(statement);
        }
        rest.append(add("empty", "bob"));
        QTest::addRow("statement %d of 6 refused", refused) << refused << rest;
    }
}

// A group removed and two groups' members changed; the server refuses one statement of the
// six, whichever it is. What it carried out is stored, the page's own statements (the
// removal from the users' lists, the membership changes) as well as its table's rows: after
// one more edit the next Apply sends each of the rest once, and the server holds what the
// page shows.
void TestWndGroup::applyStoppedPartWay()
{
    QFETCH(int, refused);
    QFETCH(QStringList, rest);

    // Through a main window, which sends on Apply; without Ann, as applyAndReset() explains.
    QList<QStringList> userRows = m_server->rows("user");
    userRows.removeIf([](const QStringList& user) { return user.at(0) == QLatin1String("Ann"); });
    m_server->setTable("user", m_server->columns("user"), userRows);
    m_session->conn.reset();
    PageFactory::registerPage<WndGroup>(PageKind::Groups);
    ConsoleStandIn console;
    WndMain* window = console.open(m_server->port());
    QVERIFY(window);
    auto* page = openPage<WndGroup>(window, QStringLiteral("Domain Settings/Groups"));
    QVERIFY(page);
    DialogRecorder recorder;
    recorder.answerDialog(editMembers(recorder, {"bob", "J\u00fcrgen"}, {"cid"}));
    editGroup(page, "staff");
    recorder.answerDialog(editMembers(recorder, {}, {"o'neil"}));
    editGroup(page, "solo");
    page->m_list->clearSelection();
    itemNamed(page->m_list, "support")->setSelected(true);
    page->m_btnRemove->click();
    const QStringList statements = removalDeletionAndMemberships();
    QCOMPARE(window->getDBCtrl()->m_pending, statements);

    const QString stopper = statements.at(refused - 1);
    QVERIFY(m_server->refuse('^' + QRegularExpression::escape(stopper) + '$', 111, 1));
    int mark = int(m_server->journal().size());
    window->getApplyButton()->click();
    QCOMPARE(recorder.messageTexts(), QStringList{"Query failed: Query not possible"});
    QCOMPARE(journalFrom(*m_server, mark), statements.mid(0, refused));
    QCOMPARE(window->getDBCtrl()->m_pending, statements.mid(refused - 1));

    recorder.answerDialog(editMembers(recorder, {}, {"bob"}));
    editGroup(page, "empty");
    QCOMPARE(window->getDBCtrl()->m_pending, rest);
    mark = int(m_server->journal().size());
    window->getApplyButton()->click();
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(journalFrom(*m_server, mark), rest);
    QVERIFY(window->getDBCtrl()->m_pending.isEmpty());

    using GroupsFixture::groupsOf;
    QCOMPARE(groupsOf(*m_server, "bob", ""), QStringList{"empty"});
    QCOMPARE(groupsOf(*m_server, "J\u00fcrgen", ""), QStringList());
    QCOMPARE(groupsOf(*m_server, "cid", ""), QStringList{"staff"});
    QCOMPARE(groupsOf(*m_server, "o'neil", ""), (QStringList{"staff", GroupsFixture::QuotedGroup, "solo"}));
    QStringList groups;
    for (const QStringList& group : m_server->rows("group")) {
        if (group.at(1).isEmpty())
            groups.append(group.at(0));
    }
    groups.sort();
    QCOMPARE(groups, listedNames(page->m_list));
}

void TestWndGroup::adds_data()
{
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("join");
    QTest::addColumn<bool>("finish");
    QTest::addColumn<QStringList>("pending");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("three members: the insert, then three additions")
        << "" << "team" << QStringList{"cid", "bob", "J\u00fcrgen"} << true
        << QStringList{insertGroup("team", "Our team"), add("team", "bob"), add("team", "cid"),
                       add("team", "J\u00fcrgen")}
        << QStringList();
    QTest::newRow("no members") << "" << "team" << QStringList() << true
                                << QStringList{insertGroup("team", "Our team")} << QStringList();
    QTest::newRow("another domain's")
        << "lakeside.example" << "staff2" << QStringList{"dan"} << true
        << QStringList{insertGroup("staff2", "Our team", "lakeside.example"),
                       "UPDATE user SET groups+=\"staff2\" WHERE name=\"dan\" AND domain=\"lakeside.example\""}
        << QStringList();
    QTest::newRow("cancelled") << "" << "team" << QStringList{"cid"} << false << QStringList() << QStringList();
    QTest::newRow("name of a group in another case")
        << "" << "STAFF" << QStringList{"cid"} << true << QStringList() << QStringList{"This group already exists!"};
}

void TestWndGroup::adds()
{
    QFETCH(QString, domain);
    QFETCH(QString, name);
    QFETCH(QStringList, join);
    QFETCH(bool, finish);
    QFETCH(QStringList, pending);
    QFETCH(QStringList, messages);

    globalData.currentDomain = domain;
    auto page = makePage();
    const int groups = int(page->m_groups.m_rows.size());
    const QStringList listed = listedNames(page->m_list);
    DialogRecorder recorder;
    recorder.answerDialog(addGroup(recorder, name, QStringLiteral("Our team"), join, finish));
    page->slotAdd();

    QCOMPARE(recorder.dialogs.at(0).className, QStringLiteral("WizAddGroup"));
    QCOMPARE(recorder.messageTexts(), messages);
    if (!messages.isEmpty())
        QCOMPARE(recorder.messages.at(0).caption, QStringLiteral("Ornel Corvane Administration"));
    QCOMPARE(m_ctrl->m_pending, pending);
    const bool kept = !pending.isEmpty();
    QCOMPARE(int(page->m_groups.m_rows.size()), groups + (kept ? 1 : 0));
    QCOMPARE(page->m_list->topLevelItemCount(), int(listed.size()) + (kept ? 1 : 0));
    if (!kept) {
        // No trace: the row is gone and no membership was touched.
        QCOMPARE(page->m_groups.diff(true)->size(), 0);
        QCOMPARE(page->m_lists->count(), 0);
        QCOMPARE(membershipQueries(), 0);
    }
}

void TestWndGroup::addedAfterRemovalStartsEmpty()
{
    auto page = makePage();
    DialogRecorder recorder;
    itemNamed(page->m_list, "solo")->setSelected(true);
    page->slotRemove();
    recorder.answerDialog(addGroup(recorder, "solo", "Again", {"cid"}));
    page->slotAdd();

    // The removal empties the group on the server: the new one is not read from there.
    QCOMPARE(membershipQueries(), 0);
    QCOMPARE(m_ctrl->m_pending, (QStringList{removal("solo"), deleteGroup("solo"),
                                             insertGroup("solo", "Again"), add("solo", "cid")}));
}

void TestWndGroup::addedGroupReachesItsUsers()
{
    m_session->conn.reset();
    PageFactory::registerPage<WndGroup>(PageKind::Groups);
    ConsoleStandIn console;
    WndMain* window = console.open(m_server->port());
    QVERIFY(window);
    choose(window, QStringLiteral("Domain Settings/Groups"));
    auto* page = window->findChild<WndGroup*>();
    QVERIFY(page);
    DialogRecorder recorder;
    recorder.answerDialog(addGroup(recorder, "team", "", {"cid", "J\u00fcrgen", GroupsFixture::LongName}));
    page->slotAdd();
    window->apply();

    QCOMPARE(recorder.messages.size(), 0);
    using GroupsFixture::groupsOf;
    QCOMPARE(groupsOf(*m_server, "cid", ""), QStringList{"team"});
    QCOMPARE(groupsOf(*m_server, "J\u00fcrgen", ""), (QStringList{"staff", "team"}));
    QCOMPARE(groupsOf(*m_server, GroupsFixture::longName(), ""), (QStringList{"staff", "team"}));
    QCOMPARE(groupsOf(*m_server, "bob", ""), (QStringList{"support", "staff"}));
    QVERIFY(m_server->rows("group").contains(QStringList{"team", "", "", "0"}));
    QVERIFY(window->getDBCtrl()->m_pending.isEmpty());
}

void TestWndGroup::addedGroupKeptWhenItsMembershipIsUnread()
{
    m_session->conn.reset();
    PageFactory::registerPage<WndGroup>(PageKind::Groups);
    ConsoleStandIn console;
    WndMain* window = console.open(m_server->port());
    QVERIFY(window);
    auto* page = openPage<WndGroup>(window, QStringLiteral("Domain Settings/Groups"));
    QVERIFY(page);
    QVERIFY(m_server->refuse("^SELECT name FROM user", 109, 1));
    DialogRecorder recorder;
    recorder.answerDialog(addGroup(recorder, "team", "Our team", {"cid", "bob"}));
    page->slotAdd();

    QCOMPARE(recorder.messageTexts(), QStringList{"Operation failed."});
    QCOMPARE(recorder.messages.at(0).caption, QStringLiteral("Error"));
    QVERIFY(itemNamed(page->m_list, "team"));
    QVERIFY(window->getApplyButton()->isEnabled());
    // The group as made, its members as additions; nothing is taken from anyone.
    QCOMPARE(applied(window, *m_server),
             (QStringList{insertGroup("team", "Our team"), add("team", "bob"), add("team", "cid")}));
    using GroupsFixture::groupsOf;
    QCOMPARE(groupsOf(*m_server, "cid", ""), QStringList{"team"});
    QCOMPARE(groupsOf(*m_server, "bob", ""), (QStringList{"support", "staff", "team"}));
}

void TestWndGroup::connectionLostUnderADialog_data()
{
    QTest::addColumn<bool>("adding");
    QTest::addColumn<QString>("lostAt");
    QTest::addColumn<int>("dialogs"); // shown before the loss

    QTest::newRow("edit, loading the users") << false << "from user$" << 0;
    QTest::newRow("edit, reading the members") << false << "^SELECT name FROM user" << 0;
    QTest::newRow("add, loading the users") << true << "from user$" << 0;
    QTest::newRow("add, reading the members") << true << "^SELECT name FROM user" << 1;
}

// The loss drops the pending list, and Reset restores the group table under the dialog:
// the rows the page held are gone and nothing may touch them any more. The console's box
// is the only one.
void TestWndGroup::connectionLostUnderADialog()
{
    QFETCH(bool, adding);
    QFETCH(QString, lostAt);
    QFETCH(int, dialogs);

    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog(addGroup(recorder, "team", "", {}));
    QVERIFY(m_server->dropAt(lostAt, 1));
    if (adding)
        page->slotAdd();
    else
        editGroup(page.get(), "staff");

    QCOMPARE(recorder.messageTexts(),
             QStringList{"Connection failed!\nConsole was disconnected from 127.0.0.1."});
    QCOMPARE(recorder.dialogs.size(), dialogs);
    QVERIFY(m_ctrl->m_pending.isEmpty());
    QCOMPARE(listedNames(page->m_list),
             (QStringList{"empty", GroupsFixture::QuotedGroup, "solo", "staff", "support"}));
    QCOMPARE(page->m_groups.diff(true)->size(), 0);
}

void TestWndGroup::pageClosedWhileMembersAreRead()
{
    WndGroup* page = makePage().release();
    const QPointer<WndGroup> alive(page);
    QVERIFY(m_server->delay("^SELECT name FROM user", 600, 1));
    QTimer::singleShot(150, page, &QObject::deleteLater);
    DialogRecorder recorder;
    editGroup(page, "staff");
    QVERIFY(!alive);
    QCOMPARE(recorder.dialogs.size(), 0);
    QCOMPARE(recorder.messages.size(), 0);
    QVERIFY(m_ctrl->m_pending.isEmpty());
}

void TestWndGroup::unreadableUsersOpenNoDialog_data()
{
    QTest::addColumn<bool>("adding");
    QTest::newRow("edit") << false;
    QTest::newRow("add") << true;
}

void TestWndGroup::unreadableUsersOpenNoDialog()
{
    QFETCH(bool, adding);

    auto page = makePage();
    QVERIFY(m_server->refuse("from user$", 109, 1));
    DialogRecorder recorder;
    if (adding)
        page->slotAdd();
    else
        editGroup(page.get(), "staff");
    QCOMPARE(recorder.messages.size(), 1); // the table layer's failure box
    QCOMPARE(recorder.dialogs.size(), 0);
    QCOMPARE(int(page->m_groups.m_rows.size()), 6);
    QVERIFY(m_ctrl->m_pending.isEmpty());
}

QTEST_MAIN(TestWndGroup)
#include "tst_wndgroup.moc"
