// The edit-group dialog against the stand-in server: its form, the members and rights it
// shows of a group, the users its picker offers, and what OK writes back.

#include "accountcolumns.h"
#include "accountrows.h"
#include "accounttexts.h"
#include "dbrow.h"
#include "dbtable.h"
#include "dbuserlist.h"
#include "dialogrecorder.h"
#include "dlgadduser.h"
#include "dlgeditgroup.h"
#include "globaldata.h"
#include "grouplistitem.h"
#include "groupsfixture.h"
#include "pagesession.h"
#include "quseritem.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

using AccountTexts::cell;

namespace {

// What the list shows, left to right as the administrator reads it.
QStringList visualRow(const QTreeWidget* list, const QTreeWidgetItem* item)
{
    QStringList texts;
    for (int visual = 0; visual < list->header()->count(); ++visual) {
        const int logical = list->header()->logicalIndex(visual);
        texts << (item ? item->text(logical) : list->headerItem()->text(logical));
    }
    return texts;
}

QStringList names(const QTreeWidget* list)
{
    QStringList shown;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        shown << cell(static_cast<QUserItem*>(list->topLevelItem(i))->row(), "name");
    return shown;
}

QStringList rowNames(const std::vector<const DBRow*>& rows)
{
    QStringList shown;
    for (const DBRow* row : rows)
        shown << cell(row, "name");
    return shown;
}

void selectNamed(QTreeWidget* list, const QStringList& chosen)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        item->setSelected(chosen.contains(cell(static_cast<QUserItem*>(item)->row(), "name")));
    }
}

QRadioButton* checkedRights(const DlgEditGroup& dialog)
{
    for (QRadioButton* button : {dialog.m_rbtnNoAcc, dialog.m_rbtnViewLogs, dialog.m_rbtnFullAcc}) {
        if (button->isChecked())
            return button;
    }
    return nullptr;
}

} // namespace

class TestDlgEditGroup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void form();
    void showsTheGroup();
    void rights_data();
    void rights();
    void pickerOffers_data();
    void pickerOffers();
    void pickedUsersJoin();
    void removingMembers();
    void usersLoadedOnce();
    void notShownWhenUnreadable_data();
    void notShownWhenUnreadable();
    void refusedMembershipOpensAsNoneRead();

private:
    DBRow* group(const QString& name, const QString& domain = QString())
    {
        for (const auto& row : m_groups->m_rows) {
            if (cell(row.get(), "name") == name && cell(row.get(), "domain") == domain)
                return row.get();
        }
        return nullptr;
    }
    std::unique_ptr<DlgEditGroup> openOn(DBRow* row)
    {
        return std::make_unique<DlgEditGroup>(m_lists.get(), row, m_session->connection(), m_users.get());
    }

    std::unique_ptr<PageSession> m_session;
    std::unique_ptr<DBUserList> m_lists;
    std::unique_ptr<DBTable> m_groups;
    std::unique_ptr<DBTable> m_users; // left to the dialogs to load
};

void TestDlgEditGroup::init()
{
    globalData.currentDomain.clear();
    m_session = std::make_unique<PageSession>();
    GroupsFixture::install(*m_session->server);
    QVERIFY(m_session->connect());
    m_lists = std::make_unique<DBUserList>(m_session->connection());
    m_groups = std::make_unique<DBTable>();
    m_users = std::make_unique<DBTable>();
    QVERIFY(m_groups->select(nullptr, m_session->connection(), "group", dbcol_group, 0));
}

void TestDlgEditGroup::cleanup()
{
    m_lists.reset();
    m_users.reset();
    m_groups.reset();
    m_session.reset();
    globalData.currentDomain.clear();
}

void TestDlgEditGroup::form()
{
    const auto dialog = openOn(group("support"));
    QCOMPARE(dialog->objectName(), QStringLiteral("TDlgEditGroup"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Edit Group"));
    QStringList tabs;
    for (int i = 0; i < dialog->m_tab->count(); ++i)
        tabs << dialog->m_tab->tabText(i);
    QCOMPARE(tabs, (QStringList{"General", "Users", "Rights"}));
    QVERIFY(!dialog->m_editName->isEnabled());
    QVERIFY(dialog->m_btnOK->isDefault());
    QCOMPARE(dialog->m_btnAdd->text(), QStringLiteral("Add..."));
    QCOMPARE(dialog->m_btnRemove->text(), QStringLiteral("Remove"));
    QCOMPARE(dialog->m_rbtnNoAcc->text(), QStringLiteral("&No access to administration"));
    QCOMPARE(dialog->m_rbtnViewLogs->text(), QStringLiteral("&Read only access"));
    QCOMPARE(dialog->m_rbtnFullAcc->text(), QStringLiteral("Read/&write access"));
    QCOMPARE(dialog->m_listUsers->selectionMode(), QAbstractItemView::ExtendedSelection);
    // Each value under the header that names it.
    QCOMPARE(visualRow(dialog->m_listUsers, nullptr), (QStringList{"Name", "Full Name", "Description"}));
    QCOMPARE(visualRow(dialog->m_listUsers, dialog->m_listUsers->topLevelItem(0)),
             (QStringList{"bob", "Bob Okafor", ""}));
}

void TestDlgEditGroup::showsTheGroup()
{
    const auto dialog = openOn(group("staff"));
    QVERIFY(dialog->isReady());
    QCOMPARE(dialog->m_editName->text(), QStringLiteral("staff"));
    QCOMPARE(dialog->m_editDesk->text(), QStringLiteral("All staff"));
    // Sorted by name.
    QCOMPARE(names(dialog->m_listUsers),
             (QStringList{GroupsFixture::longName(), "ann", "bob", "J\u00fcrgen", "o'neil"}));
    QVERIFY(dialog->existInList("ann"));
    QVERIFY(!dialog->existInList("Ann"));
    QVERIFY(dialog->m_btnOK->isEnabled());
    QVERIFY(!dialog->m_btnRemove->isEnabled());
    selectNamed(dialog->m_listUsers, {"bob"});
    QVERIFY(dialog->m_btnRemove->isEnabled());
    QVERIFY(dialog->m_btnAdd->isEnabled());
}

void TestDlgEditGroup::rights_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown"); // the checked button's object name
    QTest::addColumn<QString>("chosen"); // empty: left as shown
    QTest::addColumn<QString>("written");

    QTest::newRow("7: read/write, other bits kept") << "7" << "m_rbtnFullAcc" << "" << "7";
    // Left alone, the buttons write back what was stored, bits they cannot show included.
    QTest::newRow("5: read only, kept") << "5" << "m_rbtnViewLogs" << "" << "5";
    QTest::newRow("2: write bit alone is none, kept") << "2" << "m_rbtnNoAcc" << "" << "2";
    QTest::newRow("77: read only, kept") << "77" << "m_rbtnViewLogs" << "" << "77";
    QTest::newRow("5: read only chosen again") << "5" << "m_rbtnViewLogs" << "m_rbtnViewLogs" << "5";
    QTest::newRow("5: none chosen writes 0") << "5" << "m_rbtnViewLogs" << "m_rbtnNoAcc" << "0";
    QTest::newRow("2: read only chosen writes 1") << "2" << "m_rbtnNoAcc" << "m_rbtnViewLogs" << "1";
    QTest::newRow("empty is none; read/write writes 3") << "" << "m_rbtnNoAcc" << "m_rbtnFullAcc" << "3";
    QTest::newRow("read/write taken down to read only") << "3" << "m_rbtnFullAcc" << "m_rbtnViewLogs" << "1";
}

void TestDlgEditGroup::rights()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    QFETCH(QString, chosen);
    QFETCH(QString, written);

    DBRow* row = group("support");
    setCells(row, {{"rights", stored}});
    const auto dialog = openOn(row);
    QCOMPARE(checkedRights(*dialog)->objectName(), shown);
    if (!chosen.isEmpty())
        dialog->findChild<QRadioButton*>(chosen)->setChecked(true);
    dialog->m_btnOK->click();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(cell(row, "rights"), written);
    // The description goes back as it was; name and domain are never written.
    QCOMPARE(cell(row, "description"), QStringLiteral("Help desk"));
    QCOMPARE(cell(row, "name"), QStringLiteral("support"));
}

void TestDlgEditGroup::pickerOffers_data()
{
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("offered");

    // ann is a member, Ann is not: names compare exactly.
    QTest::newRow("users of the domain who are not members")
        << "" << "staff" << QStringList{"Ann", "cid"};
    QTest::newRow("every user of the domain a member") << "lakeside.example" << "staff" << QStringList();
}

void TestDlgEditGroup::pickerOffers()
{
    QFETCH(QString, domain);
    QFETCH(QString, group);
    QFETCH(QStringList, offered);

    globalData.currentDomain = domain;
    const auto dialog = openOn(this->group(group, domain));
    DialogRecorder recorder;
    QStringList shown;
    bool okEnabled = true;
    recorder.answerDialog([&](QDialog* picker) {
        auto* users = qobject_cast<DlgAddUser*>(picker);
        shown = names(users->m_listUsers);
        okEnabled = users->m_btnOK->isEnabled();
        return int(QDialog::Rejected);
    });
    const QStringList before = names(dialog->m_listUsers);
    dialog->slotAdd();
    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(recorder.dialogs.at(0).caption, QStringLiteral("Add User"));
    QCOMPARE(shown, offered);
    QVERIFY(!okEnabled);
    QCOMPARE(names(dialog->m_listUsers), before);
}

void TestDlgEditGroup::pickedUsersJoin()
{
    const auto dialog = openOn(group("solo"));
    DialogRecorder recorder;
    recorder.answerDialog([](QDialog* picker) {
        auto* users = qobject_cast<DlgAddUser*>(picker);
        selectNamed(users->m_listUsers, {"cid", "o'neil"});
        users->m_btnOK->click();
        return users->result();
    });
    dialog->slotAdd();
    QCOMPARE(names(dialog->m_listUsers), (QStringList{"Ann", "cid", "o'neil"}));
    QCOMPARE(visualRow(dialog->m_listUsers, dialog->m_listUsers->topLevelItem(1)),
             (QStringList{"cid", "Cid Varga", ""}));
    // A member taken from the picker is not offered again; one removed is.
    QStringList offeredAgain;
    recorder.answerDialog([&offeredAgain](QDialog* picker) {
        offeredAgain = names(qobject_cast<DlgAddUser*>(picker)->m_listUsers);
        return int(QDialog::Rejected);
    });
    dialog->slotAdd();
    QCOMPARE(offeredAgain, (QStringList{GroupsFixture::longName(), "ann", "bob", "J\u00fcrgen"}));
    selectNamed(dialog->m_listUsers, {"cid"});
    dialog->slotRemove();
    QStringList offeredAfterRemoval;
    recorder.answerDialog([&offeredAfterRemoval](QDialog* picker) {
        offeredAfterRemoval = names(qobject_cast<DlgAddUser*>(picker)->m_listUsers);
        return int(QDialog::Rejected);
    });
    dialog->slotAdd();
    QVERIFY(offeredAfterRemoval.contains("cid"));
    QVERIFY(!offeredAfterRemoval.contains("o'neil"));
    QCOMPARE(rowNames(dialog->memberRows()), (QStringList{"Ann", "o'neil"}));
}

void TestDlgEditGroup::removingMembers()
{
    const auto dialog = openOn(group("staff"));
    dialog->m_listUsers->selectAll();
    dialog->slotRemove();
    QCOMPARE(dialog->m_listUsers->topLevelItemCount(), 0);
    QVERIFY(!dialog->m_btnRemove->isEnabled());
    dialog->m_btnOK->click();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QVERIFY(dialog->memberRows().empty());
    // The dialog hands its list over; the membership lists keep theirs until the page
    // stores it.
    QCOMPARE(m_lists->users(), 5);
}

void TestDlgEditGroup::usersLoadedOnce()
{
    openOn(group("staff"));
    openOn(group("solo"));
    int loads = 0;
    for (const auto& entry : m_session->server->journal())
        loads += entry.statement.startsWith(QLatin1String("select name, domain, fullname, description from user")) ? 1 : 0;
    QCOMPARE(loads, 1);
    QVERIFY(m_users->m_loaded);
}

void TestDlgEditGroup::notShownWhenUnreadable_data()
{
    QTest::addColumn<QString>("failing");
    QTest::addColumn<bool>("lost");
    QTest::addColumn<QString>("message");

    QTest::newRow("users table refused") << "from user$" << false << "Query failed: %1";
    QTest::newRow("connection lost at the membership")
        << "^SELECT name FROM user" << true << "Connection failed!\nConsole was disconnected from 127.0.0.1.";
}

void TestDlgEditGroup::notShownWhenUnreadable()
{
    QFETCH(QString, failing);
    QFETCH(bool, lost);
    QFETCH(QString, message);

    if (lost)
        QVERIFY(m_session->server->dropAt(failing, 1));
    else
        QVERIFY(m_session->server->refuse(failing, 109, 1));
    DialogRecorder recorder;
    DBRow* row = group("staff");
    const auto dialog = openOn(row);
    QVERIFY(!dialog->isReady());
    QCOMPARE(recorder.messages.size(), 1);
    if (!message.contains("%1"))
        QCOMPARE(recorder.messages.at(0).text, message);
    QCOMPARE(dialog->m_listUsers->topLevelItemCount(), 0);
    // Even pressed, OK writes nothing that would empty the group.
    dialog->m_btnOK->click();
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QCOMPARE(cell(row, "description"), QStringLiteral("All staff"));
    QCOMPARE(m_lists->count(), 0);
}

// The server refused to read the members: the dialog opens as on a group with none read,
// and what it is given goes to the page as additions (the membership lists drop nobody).
void TestDlgEditGroup::refusedMembershipOpensAsNoneRead()
{
    QVERIFY(m_session->server->refuse("^SELECT name FROM user", 109, 1));
    DialogRecorder recorder;
    DBRow* row = group("staff");
    const auto dialog = openOn(row);
    QVERIFY(dialog->isReady());
    QCOMPARE(recorder.messageTexts(), QStringList{"Operation failed."});
    QCOMPARE(names(dialog->m_listUsers), QStringList{});
    recorder.answerDialog([](QDialog* picker) {
        auto* users = qobject_cast<DlgAddUser*>(picker);
        selectNamed(users->m_listUsers, {"cid"});
        users->m_btnOK->click();
        return users->result();
    });
    dialog->slotAdd();
    dialog->m_editDesk->setText("Everyone");
    dialog->m_btnOK->click();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(cell(row, "description"), QStringLiteral("Everyone"));
    QCOMPARE(rowNames(dialog->memberRows()), QStringList{"cid"});
    QCOMPARE(m_lists->active()->loadedNames(), QStringList{});
}

QTEST_MAIN(TestDlgEditGroup)
#include "tst_dlgeditgroup.moc"
