// The membership lists against the stand-in server: one query per group and domain, the
// statements that turn the members the server reported into the members chosen, and what
// the server's users belong to once those statements have run.

#include "accountcolumns.h"
#include "accounttexts.h"
#include "dbrow.h"
#include "dbtable.h"
#include "dbuserlist.h"
#include "dialogrecorder.h"
#include "grouplistitem.h"
#include "groupsfixture.h"
#include "pagesession.h"

#include <QtTest>

using AccountTexts::cell;

namespace {

const QString Jurgen = QStringLiteral("J\u00fcrgen");

QString drop(const QString& group, const QString& user, const QString& domain = QString())
{
    return QStringLiteral("UPDATE user SET groups -=\"%1\" WHERE name=\"%2\" AND domain=\"%3\"").arg(group, user, domain);
}

QString add(const QString& group, const QString& user, const QString& domain = QString())
{
    return QStringLiteral("UPDATE user SET groups+=\"%1\" WHERE name=\"%2\" AND domain=\"%3\"").arg(group, user, domain);
}

std::unique_ptr<DBRow> userRow(const QString& name)
{
    auto row = std::make_unique<DBRow>(dbcol_user_min);
    row->m_values[size_t(row->colIndex("name"))]->set(name);
    return row;
}

QStringList memberNames(const DBUserList& lists)
{
    QStringList names;
    for (int i = 0; i < lists.users(); ++i)
        names << cell(lists.getUserFromGroup(i).get(), "name");
    return names;
}

// Gives the active group exactly `names` as members, as the groups page stores a list.
void storeMembers(DBUserList& lists, const QStringList& names)
{
    lists.clearUsers();
    for (const QString& name : names)
        lists.append(userRow(name).get());
}

} // namespace

class TestDBUserList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void membersAsTheServerHasThem_data();
    void membersAsTheServerHasThem();
    void oneQueryPerGroup();
    void sameNameInTwoDomains();
    void statements_data();
    void statements();
    void statementsRepeatable();
    void nothingActive();
    void connectionLostKeepsNothing();
    void refusedQueryKeepsTheGroupUnread();
    void clearAsksAgain();
    void removedGroupForgotten();
    void serverFollowsTheStatements_data();
    void serverFollowsTheStatements();

private:
    StandIn::TestServer& server() { return *m_session->server; }
    int queriesSent() const
    {
        int queries = 0;
        for (const auto& entry : m_session->server->journal())
            queries += entry.statement.startsWith(QLatin1String("SELECT name FROM user")) ? 1 : 0;
        return queries;
    }

    std::unique_ptr<PageSession> m_session;
    std::unique_ptr<DBUserList> m_lists;
    DBTable m_users;
};

void TestDBUserList::init()
{
    m_session = std::make_unique<PageSession>();
    GroupsFixture::install(server());
    QVERIFY(m_session->connect());
    m_lists = std::make_unique<DBUserList>(m_session->connection());
    QVERIFY(m_users.select(nullptr, m_session->connection(), "user", dbcol_user_min, 0));
}

void TestDBUserList::cleanup()
{
    m_lists.reset();
    m_session.reset();
}

void TestDBUserList::membersAsTheServerHasThem_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("fullNames");

    QTest::newRow("whole names, UTF-8")
        << "staff" << "" << QStringList{"ann", "bob", Jurgen, GroupsFixture::longName(), "o'neil"}
        << QStringList{"Ann Lee", "Bob Okafor", "J\u00fcrgen Wei\u00df", "Long Name", "Pat O'Neil"};
    QTest::newRow("full names of the group's own domain")
        << "staff" << "lakeside.example" << QStringList{"dan", "ann"} << QStringList{"Dan Ross", "Ann Lakeside"};
    QTest::newRow("name that needs escaping") << GroupsFixture::QuotedGroup << "" << QStringList{"o'neil"}
                                              << QStringList{"Pat O'Neil"};
    QTest::newRow("no members") << "empty" << "" << QStringList() << QStringList();
}

void TestDBUserList::membersAsTheServerHasThem()
{
    QFETCH(QString, group);
    QFETCH(QString, domain);
    QFETCH(QStringList, names);
    QFETCH(QStringList, fullNames);

    QVERIFY(m_lists->setActiveGroup(group, domain, &m_users));
    QCOMPARE(memberNames(*m_lists), names);
    QStringList shownFullNames;
    for (int i = 0; i < m_lists->users(); ++i)
        shownFullNames << cell(m_lists->getUserFromGroup(i).get(), "fullname");
    QCOMPARE(shownFullNames, fullNames);
    QCOMPARE(m_lists->active()->loadedNames(), names);
}

void TestDBUserList::oneQueryPerGroup()
{
    QVERIFY(m_lists->setActiveGroup("staff", "", &m_users));
    storeMembers(*m_lists, {"ann"});
    QVERIFY(m_lists->setActiveGroup("support", "", &m_users));
    QVERIFY(m_lists->setActiveGroup("staff", "", &m_users));

    QCOMPARE(queriesSent(), 2);
    // Made active again with the members as last stored.
    QCOMPARE(memberNames(*m_lists), QStringList{"ann"});
    QCOMPARE(m_lists->count(), 2);
}

void TestDBUserList::sameNameInTwoDomains()
{
    QVERIFY(m_lists->setActiveGroup("staff", "", &m_users));
    storeMembers(*m_lists, {});
    QVERIFY(m_lists->setActiveGroup("staff", "lakeside.example", &m_users));
    storeMembers(*m_lists, {"dan"});

    QCOMPARE(queriesSent(), 2);
    QCOMPARE(m_lists->count(), 2);
    QCOMPARE(*m_lists->getSQL(), (QStringList{drop("staff", "ann"), drop("staff", "bob"), drop("staff", Jurgen),
                                              drop("staff", GroupsFixture::longName()), drop("staff", "o\\'neil"),
                                              drop("staff", "ann", "lakeside.example")}));
}

void TestDBUserList::statements_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("members"); // as stored after the server's
    QTest::addColumn<QStringList>("statements");

    const QStringList staff{"ann", "bob", Jurgen, GroupsFixture::longName(), "o'neil"};
    QTest::newRow("members unchanged") << "staff" << staff << QStringList();
    QTest::newRow("same members in another order")
        << "staff" << QStringList{"o'neil", Jurgen, "ann", GroupsFixture::longName(), "bob"} << QStringList();
    QTest::newRow("one dropped") << "staff" << QStringList{"ann", Jurgen, GroupsFixture::longName(), "o'neil"}
                                 << QStringList{drop("staff", "bob")};
    QTest::newRow("name outside ASCII dropped")
        << "staff" << QStringList{"ann", "bob", GroupsFixture::longName(), "o'neil"} << QStringList{drop("staff", Jurgen)};
    QTest::newRow("all dropped, in the server's order")
        << "solo" << QStringList() << QStringList{drop("solo", "Ann")};
    QTest::newRow("case counts: Ann for ann, drop first")
        << "solo" << QStringList{"ann"} << QStringList{drop("solo", "Ann"), add("solo", "ann")};
    QTest::newRow("two added to an empty group")
        << "empty" << QStringList{"cid", "bob"} << QStringList{add("empty", "cid"), add("empty", "bob")};
    QTest::newRow("listed twice, added twice")
        << "empty" << QStringList{"cid", "cid"} << QStringList{add("empty", "cid"), add("empty", "cid")};
    QTest::newRow("every value escaped")
        << GroupsFixture::QuotedGroup << QStringList{"x\"y\\z"}
        << QStringList{drop("say \\\"hi\\\" \\\\ o\\'clock", "o\\'neil"), add("say \\\"hi\\\" \\\\ o\\'clock", "x\\\"y\\\\z")};
}

void TestDBUserList::statements()
{
    QFETCH(QString, group);
    QFETCH(QStringList, members);
    QFETCH(QStringList, statements);

    QVERIFY(m_lists->setActiveGroup(group, "", &m_users));
    storeMembers(*m_lists, members);
    QCOMPARE(*m_lists->getSQL(), statements);
}

void TestDBUserList::statementsRepeatable()
{
    QVERIFY(m_lists->setActiveGroup("solo", "", &m_users));
    storeMembers(*m_lists, {"bob"});
    QVERIFY(m_lists->setActiveGroup("staff", "", &m_users));
    storeMembers(*m_lists, {"ann", "bob", Jurgen, GroupsFixture::longName()});
    const QStringList expected{drop("solo", "Ann"), add("solo", "bob"), drop("staff", "o\\'neil")};
    QCOMPARE(*m_lists->getSQL(), expected);
    QCOMPARE(*m_lists->getSQL(), expected);
}

void TestDBUserList::nothingActive()
{
    m_lists->append(userRow("ann").get());
    m_lists->clearUsers();
    QCOMPARE(m_lists->users(), 0);
    QCOMPARE(m_lists->count(), 0);
    QVERIFY(m_lists->getUserFromGroup(0) == nullptr);
    QCOMPARE(*m_lists->getSQL(), QStringList());
}

void TestDBUserList::connectionLostKeepsNothing()
{
    QVERIFY(server().dropAt("SELECT name FROM user", 1));
    DialogRecorder recorder;
    QVERIFY(!m_lists->setActiveGroup("staff", "", &m_users));
    // The console's box alone: a loss is told once.
    QCOMPARE(recorder.messageTexts(),
             QStringList{"Connection failed!\nConsole was disconnected from 127.0.0.1."});
    QCOMPARE(m_lists->count(), 0);
    QVERIFY(!m_lists->active());
    QCOMPARE(m_lists->users(), 0);
}

// The server refused to read the members of staff (it has five): none of them is read and
// none is dropped, the members chosen are additions, and the entry stays until clear().
void TestDBUserList::refusedQueryKeepsTheGroupUnread()
{
    QVERIFY(server().refuse("SELECT name FROM user", 106, 1));
    DialogRecorder recorder;
    QVERIFY(m_lists->setActiveGroup("staff", "", &m_users));
    QCOMPARE(recorder.messageTexts(), QStringList{"Operation failed."});
    QCOMPARE(recorder.messages.at(0).caption, QStringLiteral("Error"));
    QCOMPARE(m_lists->active()->group(), QStringLiteral("staff"));
    QCOMPARE(m_lists->active()->loadedNames(), QStringList{});
    QCOMPARE(m_lists->users(), 0);
    storeMembers(*m_lists, {"ann", "cid"});
    QCOMPARE(*m_lists->getSQL(), (QStringList{add("staff", "ann"), add("staff", "cid")}));
    // Made active again, it is not asked for again, and an entry read before stays as it is.
    QVERIFY(m_lists->setActiveGroup("solo", "", &m_users));
    storeMembers(*m_lists, {});
    QVERIFY(m_lists->setActiveGroup("staff", "", &m_users));
    QCOMPARE(memberNames(*m_lists), (QStringList{"ann", "cid"}));
    QCOMPARE(*m_lists->getSQL(), (QStringList{add("staff", "ann"), add("staff", "cid"), drop("solo", "Ann")}));
    QCOMPARE(queriesSent(), 2);
    QCOMPARE(recorder.messages.size(), 1);
}

void TestDBUserList::clearAsksAgain()
{
    QVERIFY(m_lists->setActiveGroup("staff", "", &m_users));
    storeMembers(*m_lists, {});
    m_lists->clear();
    QVERIFY(!m_lists->active());
    QCOMPARE(m_lists->count(), 0);
    QCOMPARE(*m_lists->getSQL(), QStringList());
    QVERIFY(m_lists->setActiveGroup("staff", "", &m_users));
    QCOMPARE(queriesSent(), 2);
    QCOMPARE(m_lists->users(), 5);
}

void TestDBUserList::removedGroupForgotten()
{
    QVERIFY(m_lists->setActiveGroup("staff", "", &m_users));
    storeMembers(*m_lists, {"ann", "cid"});
    QVERIFY(m_lists->setActiveGroup("solo", "", &m_users));
    m_lists->removeGroup("staff", "");

    // The deleted group's changes go with it; the other group's stay.
    QCOMPARE(m_lists->count(), 1);
    QCOMPARE(m_lists->active()->group(), QStringLiteral("solo"));
    QCOMPARE(*m_lists->getSQL(), QStringList());

    // Made again before Apply, the group starts empty: its removal empties it on the server.
    QVERIFY(m_lists->setActiveGroup("staff", "", &m_users));
    QCOMPARE(queriesSent(), 2);
    QCOMPARE(m_lists->users(), 0);
    storeMembers(*m_lists, {"ann"});
    QCOMPARE(*m_lists->getSQL(), QStringList{add("staff", "ann")});

    // Apply or Reset forgets the removal: the server is asked again.
    m_lists->clear();
    QVERIFY(m_lists->setActiveGroup("staff", "", &m_users));
    QCOMPARE(queriesSent(), 3);
    QCOMPARE(m_lists->users(), 5);
}

void TestDBUserList::serverFollowsTheStatements_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QStringList>("members");
    QTest::addColumn<QStringList>("checked"); // users of the primary domain
    QTest::addColumn<QList<QStringList>>("groupsAfter");

    QTest::newRow("one out, one in")
        << "staff" << QStringList{"ann", Jurgen, GroupsFixture::longName(), "o'neil", "cid"}
        << QStringList{"bob", "cid", Jurgen, "ann"}
        << QList<QStringList>{{"support"}, {"staff"}, {"staff"}, {"staff"}};
    QTest::newRow("names outside ASCII and at full length dropped")
        << "staff" << QStringList{"ann", "bob", "o'neil"} << QStringList{Jurgen, GroupsFixture::longName()}
        << QList<QStringList>{{}, {}};
    QTest::newRow("names outside ASCII and at full length added")
        << "empty" << QStringList{Jurgen, GroupsFixture::longName()} << QStringList{Jurgen, GroupsFixture::longName()}
        << QList<QStringList>{{"staff", "empty"}, {"staff", "empty"}};
    QTest::newRow("escaped group name") << GroupsFixture::QuotedGroup << QStringList{"cid"}
                                        << QStringList{"o'neil", "cid"}
                                        << QList<QStringList>{{"staff"}, {GroupsFixture::QuotedGroup}};
}

void TestDBUserList::serverFollowsTheStatements()
{
    QFETCH(QString, group);
    QFETCH(QStringList, members);
    QFETCH(QStringList, checked);
    QFETCH(QList<QStringList>, groupsAfter);

    QVERIFY(m_lists->setActiveGroup(group, "", &m_users));
    storeMembers(*m_lists, members);
    QVERIFY(GroupsFixture::sendAll(m_session->connection(), *m_lists->getSQL()));
    for (int i = 0; i < checked.size(); ++i)
        QCOMPARE(GroupsFixture::groupsOf(server(), checked.at(i), ""), groupsAfter.at(i));
    // The lakeside namesake is another user.
    QCOMPARE(GroupsFixture::groupsOf(server(), "ann", "lakeside.example"), QStringList{"staff"});
}

QTEST_MAIN(TestDBUserList)
#include "tst_dbuserlist.moc"
