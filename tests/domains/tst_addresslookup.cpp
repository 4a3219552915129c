#include "addresslookup.h"
#include "domaincolumns.h"
#include "tablebyhand.h"
#include "vexadbtypes.h"

#include <QTest>

namespace {

const DBCOL userColumns[] = {
    {VEXADB_STRING, "name", 1}, {VEXADB_STRING, "domain", 1}, {VEXADB_STRING, "fullname", 0}, {0, nullptr, 0}};
const DBCOL groupColumns[] = {
    {VEXADB_STRING, "name", 1}, {VEXADB_STRING, "domain", 1}, {VEXADB_STRING, "description", 0}, {0, nullptr, 0}};
const DBCOL domainColumns[] = {{VEXADB_STRING, "domain", 1}, {VEXADB_INT, "type", 0}, {0, nullptr, 0}};
// A table that has the name but no domain.
const DBCOL withoutDomain[] = {{VEXADB_STRING, "name", 1}, {0, nullptr, 0}};

enum class Table { Users, Groups, Aliases };

} // namespace

Q_DECLARE_METATYPE(Table)

class TestAddressLookup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void findsExactNameAndDomain_data();
    void findsExactNameAndDomain();
    void holdsNothing_data();
    void holdsNothing();
    void convertDomainKeepsTheText_data();
    void convertDomainKeepsTheText();

private:
    bool lookUp(Table table, const QString& name, const QString& domain);

    DBTable m_users, m_groups, m_aliases, m_domains;
};

void TestAddressLookup::initTestCase()
{
    loadByHand(m_users, userColumns,
               {{"alice", "", "Alice Marlowe"}, {"Bob", "", "Bob Okafor"},
                {"hector", "lakeside.example", "Hector Ruiz"}}, "user");
    loadByHand(m_groups, groupColumns,
               {{"staff", "", "Everyone"}, {"sales", "lakeside.example", "Sales"}}, "group");
    loadByHand(m_aliases, dbcol_alias,
               {{"postmaster", "admin", ""}, {"orders", "#sales", "lakeside.example"}}, "alias");
    loadByHand(m_domains, domainColumns, {{"corvane.example", "0"}, {"lakeside.example", "1"}},
               "domain");
}

bool TestAddressLookup::lookUp(Table table, const QString& name, const QString& domain)
{
    switch (table) {
    case Table::Users:
        return isInUsers(&m_users, name, &m_domains, domain);
    case Table::Groups:
        return isInGroups(&m_groups, name, &m_domains, domain);
    case Table::Aliases:
        return isInAliases(&m_aliases, name, &m_domains, domain);
    }
    return false;
}

void TestAddressLookup::findsExactNameAndDomain_data()
{
    QTest::addColumn<Table>("table");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("domain");
    QTest::addColumn<bool>("found");

    QTest::newRow("user of the primary domain") << Table::Users << "alice" << "" << true;
    QTest::newRow("user name in other letter case") << Table::Users << "Alice" << "" << false;
    QTest::newRow("stored in capitals, asked in small") << Table::Users << "bob" << "" << false;
    QTest::newRow("stored in capitals, asked so") << Table::Users << "Bob" << "" << true;
    QTest::newRow("user of another domain, asked in the primary") << Table::Users << "hector" << "" << false;
    QTest::newRow("user of another domain") << Table::Users << "hector" << "lakeside.example" << true;
    QTest::newRow("domain in other letter case") << Table::Users << "hector" << "Lakeside.example" << false;
    QTest::newRow("primary user asked in another domain") << Table::Users << "alice" << "lakeside.example" << false;
    QTest::newRow("the primary domain by its name") << Table::Users << "alice" << "corvane.example" << false;
    QTest::newRow("empty name") << Table::Users << "" << "" << false;
    QTest::newRow("a full name is no name") << Table::Users << "Alice Marlowe" << "" << false;

    QTest::newRow("group of the primary domain") << Table::Groups << "staff" << "" << true;
    QTest::newRow("group in other letter case") << Table::Groups << "Staff" << "" << false;
    QTest::newRow("group of another domain") << Table::Groups << "sales" << "lakeside.example" << true;
    QTest::newRow("group asked in the wrong domain") << Table::Groups << "sales" << "" << false;
    QTest::newRow("a user is no group") << Table::Groups << "alice" << "" << false;

    QTest::newRow("alias of the primary domain") << Table::Aliases << "postmaster" << "" << true;
    QTest::newRow("alias in other letter case") << Table::Aliases << "Postmaster" << "" << false;
    QTest::newRow("an alias's target is no alias") << Table::Aliases << "admin" << "" << false;
    QTest::newRow("alias of another domain") << Table::Aliases << "orders" << "lakeside.example" << true;
    QTest::newRow("alias asked in the wrong domain") << Table::Aliases << "orders" << "" << false;
}

void TestAddressLookup::findsExactNameAndDomain()
{
    QFETCH(Table, table);
    QFETCH(QString, name);
    QFETCH(QString, domain);
    QFETCH(bool, found);

    QCOMPARE(lookUp(table, name, domain), found);
}

void TestAddressLookup::holdsNothing_data()
{
    QTest::addColumn<QString>("kind"); // how the table is made
    QTest::addColumn<QString>("name");

    QTest::newRow("no table") << "null" << "alice";
    QTest::newRow("never loaded") << "unloaded" << "alice";
    QTest::newRow("loaded without rows") << "empty" << "alice";
    QTest::newRow("no domain column") << "withoutDomain" << "alice";
    QTest::newRow("no name column") << "aliasColumns" << "alice";
}

void TestAddressLookup::holdsNothing()
{
    QFETCH(QString, kind);
    QFETCH(QString, name);

    DBTable table;
    DBTable* asked = &table;
    if (kind == "null")
        asked = nullptr;
    else if (kind == "empty")
        loadByHand(table, userColumns, {});
    else if (kind == "withoutDomain")
        loadByHand(table, withoutDomain, {{"alice"}});
    else if (kind == "aliasColumns")
        loadByHand(table, dbcol_alias, {{"alice", "alice", ""}});

    QVERIFY(!isInUsers(asked, name, &m_domains, QString()));
    QVERIFY(!isInGroups(asked, name, nullptr, QString()));
    if (kind != "aliasColumns")
        QVERIFY(!isInAliases(asked, name, &m_domains, QString()));
}

void TestAddressLookup::convertDomainKeepsTheText_data()
{
    QTest::addColumn<QString>("domain");
    QTest::addColumn<bool>("withDomains");

    QTest::newRow("primary, no domain table") << "" << false;
    QTest::newRow("primary") << "" << true;
    QTest::newRow("a domain of the table") << "lakeside.example" << true;
    QTest::newRow("letter case as given") << "LakeSide.Example" << true;
    QTest::newRow("a domain the table does not have") << "elsewhere.example" << true;
}

void TestAddressLookup::convertDomainKeepsTheText()
{
    QFETCH(QString, domain);
    QFETCH(bool, withDomains);

    QCOMPARE(convertDomain(withDomains ? &m_domains : nullptr, domain), domain);
}

QTEST_GUILESS_MAIN(TestAddressLookup)
#include "tst_addresslookup.moc"
