#include "dbconn.h"
#include "dbctrl.h"
#include "dbtable.h"
#include "standinconnection.h"
#include "vexadbtypes.h"

#include "dialogrecorder.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace StandIn;

namespace {

const DBCOL dbcol_alias[] = {
    {VEXADB_STRING, "lhs", 1},
    {VEXADB_STRING, "rhs", 1},
    {VEXADB_STRING, "domain", 1},
    {0, nullptr, 0},
};

const DBCOL dbcol_auth[] = {
    {VEXADB_INT, "ID", 1},
    {VEXADB_STRING, "Name", 0},
    {0, nullptr, 0},
};

// Every kind of cell, keyed by its first column.
const DBCOL dbcol_every[] = {
    {VEXADB_STRING, "s", 1},
    {VEXADB_STRING, "t", 0},
    {VEXADB_INT, "i", 0},
    {VEXADB_INT64, "l", 0},
    {VEXADB_IPADDR, "a", 0},
    {VEXADB_PORT, "p", 0},
    {VEXADB_BINARY, "b", 0},
    {VEXADB_IDLIST, "d", 0},
    {VEXADB_PWD, "w", 0},
    {0, nullptr, 0},
};

const DBCOL dbcol_hosts[] = {
    {VEXADB_STRING, "name", 1},
    {VEXADB_STRING, "note", 0},
    {0, nullptr, 0},
};

const QString BoxCaption = QStringLiteral("Ornel Corvane Administration");
const QString LostText = QStringLiteral("Connection failed!\nConsole was disconnected from 127.0.0.1.");
const QString OwnerTitle = QStringLiteral("Corvane at 127.0.0.1");

enum class Route { Select, Function, Apply };

QList<QStringList> textsOf(const DBTable &table)
{
    QList<QStringList> rows;
    for (const auto &row : table.m_rows) {
        QStringList texts;
        for (const auto &value : row->m_values)
            texts.append(value->text());
        rows.append(texts);
    }
    return rows;
}

const DBRow *rowWithKey(const DBTable &table, const QString &key)
{
    for (const auto &row : table.m_rows) {
        if (row->m_values[0]->text() == key)
            return row.get();
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Route)

// What a page has until the main window exists: a plain owner widget and a
// pending-change controller, attached to the connection before anything loads.
class TestDBTableLoad : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadStatement_data();
    void loadStatement();
    void loadedRowsAndOriginals();
    void cellSurvivesARoundTrip_data();
    void cellSurvivesARoundTrip();
    void refusedLoad_data();
    void refusedLoad();
    void lostConnection_data();
    void lostConnection();
    void applyStopsAtTheFirstRefusal();

private:
    QStringList sessionJournal() const;

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ScopedConnection> m_conn;
    std::unique_ptr<QWidget> m_owner;
    std::unique_ptr<DBCtrl> m_ctrl;
};

void TestDBTableLoad::init()
{
    m_server = startStandIn();
    m_server->setTable("every",
                       {{"s", TypeString, true}, {"t", TypeString, false}, {"i", TypeInt, false},
                        {"l", TypeInt64, false}, {"a", TypeIpAddr, false}, {"p", TypePort, false},
                        {"b", TypeBinary, false}, {"d", TypeIdList, false}, {"w", TypePwd, false}});
    m_server->setTable("hosts", {{"name", TypeString, true}, {"note", TypeString, false}},
                       {{"a", "1"}, {"b", "2"}, {"c", "3"}});
    m_conn = std::make_unique<ScopedConnection>(m_server->port());
    QVERIFY(m_conn->connect());
    m_owner = std::make_unique<QWidget>();
    m_owner->setWindowTitle(OwnerTitle);
    m_ctrl = std::make_unique<DBCtrl>();
    m_conn->get()->m_owner = m_owner.get();
    m_conn->get()->m_ctrl = m_ctrl.get();
}

void TestDBTableLoad::cleanup()
{
    m_conn.reset();
    m_ctrl.reset();
    m_owner.reset();
    m_server.reset();
}

QStringList TestDBTableLoad::sessionJournal() const
{
    return m_server->journal(m_server->sessions().at(0).id);
}

void TestDBTableLoad::loadStatement_data()
{
    QTest::addColumn<bool>("isFunction");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("where");
    QTest::addColumn<QByteArray>("fields");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("rows");

    QTest::newRow("table") << false << QByteArray("alias") << QByteArray() << QByteArray() << 3
                           << "select lhs, rhs, domain from alias" << 6;
    QTest::newRow("table, no indicator")
        << false << QByteArray("alias") << QByteArray() << QByteArray() << 2
        << "select lhs, rhs, domain from alias" << 6;
    QTest::newRow("filtered table")
        << false << QByteArray("alias") << QByteArray("rhs='admin'") << QByteArray() << 3
        << "select lhs, rhs, domain from alias where rhs='admin'" << 2;
    QTest::newRow("own field list")
        << false << QByteArray("alias") << QByteArray() << QByteArray("lhs, rhs, domain") << 3
        << "select lhs, rhs, domain from alias" << 6;
    QTest::newRow("function") << true << QByteArray("get_auth_types()") << QByteArray()
                              << QByteArray() << 3 << "select get_auth_types()" << 4;
}

void TestDBTableLoad::loadStatement()
{
    QFETCH(bool, isFunction);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, where);
    QFETCH(QByteArray, fields);
    QFETCH(int, flags);
    QFETCH(QString, statement);
    QFETCH(int, rows);

    DialogRecorder dialogs;
    DBTable table;
    const bool loaded = isFunction
        ? table.function(m_owner.get(), m_conn->get(), name.constData(), dbcol_auth, flags)
        : table.select(m_owner.get(), m_conn->get(), name.constData(), dbcol_alias, flags,
                       where.isNull() ? nullptr : where.constData(),
                       fields.isNull() ? nullptr : fields.constData());
    QVERIFY(loaded);
    QVERIFY(table.m_loaded);
    QCOMPARE(sessionJournal(), QStringList{statement});
    QCOMPARE(int(table.m_rows.size()), rows);
    QVERIFY(dialogs.messages.isEmpty());
}

void TestDBTableLoad::loadedRowsAndOriginals()
{
    DBTable table;
    QVERIFY(table.select(m_owner.get(), m_conn->get(), "alias", dbcol_alias, 3));
    QList<QStringList> expected = m_server->rows("alias");
    QCOMPARE(textsOf(table), expected);
    QCOMPARE(table.m_orig.size(), table.m_rows.size());
    for (size_t i = 0; i < table.m_rows.size(); ++i)
        QCOMPARE(table.m_orig[i]->m_id, table.m_rows[i]->m_id);
    QVERIFY(table.diff(true)->isEmpty());

    DBTable auth;
    QVERIFY(auth.function(m_owner.get(), m_conn->get(), "get_auth_types()", dbcol_auth, 3));
    QCOMPARE(textsOf(auth), (QList<QStringList>{{"0", "Internal"}, {"1", "NT domain"},
                                                {"2", "PAM"}, {"3", "Kerberos 5"}}));
}

void TestDBTableLoad::cellSurvivesARoundTrip_data()
{
    QTest::addColumn<QByteArray>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("loaded");

    auto same = [](const char *name, const char *column, const QString &text) {
        QTest::newRow(name) << QByteArray(column) << text << text;
    };
    same("apostrophes", "t", QStringLiteral("it's 'quoted'"));
    same("double quotes", "t", QStringLiteral("say \"hi\""));
    same("backslashes", "t", QStringLiteral("C:\\dir\\ and \\n as text\\"));
    same("new lines and tabs", "t", QStringLiteral("one\ntwo\r\nthree\tfour"));
    same("non-Latin text", "t", QString::fromUtf8("Zoë ☃ 漢字"));
    same("4096-byte text", "t", QString(4096, u'y'));
    same("4097-byte text", "t", QString(4097, u'x'));
    same("INT maximum", "i", QStringLiteral("2147483647"));
    same("INT minimum", "i", QStringLiteral("-2147483648"));
    same("INT64 maximum", "l", QStringLiteral("9223372036854775807"));
    same("IPADDR", "a", QStringLiteral("192.168.10.20"));
    same("PORT", "p", QStringLiteral("65535"));
    same("IDLIST", "d", QStringLiteral("staff,sales,admins"));
    same("BINARY", "b", QStringLiteral("00ff10a5"));
    same("BINARY of 3000 bytes", "b", QStringLiteral("a5").repeated(3000));
    // Named in the statements, but a password's value never reaches a row.
    QTest::newRow("PWD") << QByteArray("w") << QStringLiteral("secret") << QString();
}

void TestDBTableLoad::cellSurvivesARoundTrip()
{
    QFETCH(QByteArray, column);
    QFETCH(QString, text);
    QFETCH(QString, loaded);

    DialogRecorder dialogs;
    DBTable table;
    QVERIFY(table.select(m_owner.get(), m_conn->get(), "every", dbcol_every, 3));
    DBRow *row = table.append();
    row->m_values[0]->set(QStringLiteral("key"));
    row->m_values[row->colIndex(column.constData())]->set(text);
    QCOMPARE(table.diff(true)->size(), 1);
    table.apply(true);
    QCOMPARE(dialogs.messageTexts(), QStringList());

    DBTable reloaded;
    QVERIFY(reloaded.select(m_owner.get(), m_conn->get(), "every", dbcol_every, 3));
    const DBRow *back = rowWithKey(reloaded, QStringLiteral("key"));
    QVERIFY(back);
    const auto &value = back->m_values[back->colIndex(column.constData())];
    QCOMPARE(value->text(), loaded);
    QCOMPARE(value->isNull(), loaded.isNull());
}

void TestDBTableLoad::refusedLoad_data()
{
    QTest::addColumn<bool>("isFunction");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QStringList>("messages");

    const QStringList noTable{QStringLiteral("Query failed: Table does not exists")};
    const QStringList noFunction{QStringLiteral("Query failed: Function does not exists")};
    QTest::newRow("table, flags 0") << false << QByteArray("nosuchtable") << 0 << QStringList();
    QTest::newRow("table, flags 1") << false << QByteArray("nosuchtable") << 1 << QStringList();
    QTest::newRow("table, flags 2") << false << QByteArray("nosuchtable") << 2 << noTable;
    QTest::newRow("table, flags 3") << false << QByteArray("nosuchtable") << 3 << noTable;
    QTest::newRow("function, flags 0") << true << QByteArray("nosuchfunction()") << 0
                                       << QStringList();
    QTest::newRow("function, flags 3") << true << QByteArray("nosuchfunction()") << 3
                                       << noFunction;
}

void TestDBTableLoad::refusedLoad()
{
    QFETCH(bool, isFunction);
    QFETCH(QByteArray, name);
    QFETCH(int, flags);
    QFETCH(QStringList, messages);

    m_ctrl->set(QStringList{QStringLiteral("delete from alias where lhs='x'")}, false);
    DialogRecorder dialogs;
    DBTable table;
    const bool loaded = isFunction
        ? table.function(m_owner.get(), m_conn->get(), name.constData(), dbcol_auth, flags)
        : table.select(m_owner.get(), m_conn->get(), name.constData(), dbcol_alias, flags);

    QVERIFY(!loaded);
    QVERIFY(!table.m_loaded);
    QVERIFY(table.m_rows.empty());
    QCOMPARE(dialogs.messageTexts(), messages);
    for (const DialogRecorder::Message &message : dialogs.messages) {
        QCOMPARE(message.icon, QMessageBox::Warning);
        QCOMPARE(message.caption, BoxCaption);
        QCOMPARE(message.parent.data(), m_owner.get());
    }
    // A refusal is not a loss.
    QVERIFY(!m_conn->get()->m_lost);
    QCOMPARE(m_owner->windowTitle(), OwnerTitle);
    QCOMPARE(m_ctrl->m_pending.size(), 1);
}

void TestDBTableLoad::lostConnection_data()
{
    QTest::addColumn<Route>("route");

    QTest::newRow("loading a table") << Route::Select;
    QTest::newRow("loading a function answer") << Route::Function;
    QTest::newRow("sending a table's statements") << Route::Apply;
}

void TestDBTableLoad::lostConnection()
{
    QFETCH(Route, route);

    DBTable edited;
    QVERIFY(edited.select(m_owner.get(), m_conn->get(), "hosts", dbcol_hosts, 3));
    QVERIFY(m_server->dropAt("^update|^select"));

    auto meetTheLoss = [&] {
        m_ctrl->set(QStringList{QStringLiteral("delete from alias where lhs='x'")}, false);
        DBTable table;
        switch (route) {
        case Route::Select:
            return table.select(m_owner.get(), m_conn->get(), "alias", dbcol_alias, 3);
        case Route::Function:
            return table.function(m_owner.get(), m_conn->get(), "get_auth_types()", dbcol_auth, 0);
        case Route::Apply:
            edited.m_rows[0]->m_values[1]->set(edited.m_rows[0]->m_values[1]->text() + "!");
            edited.diff(true);
            edited.apply(true);
            return true;
        }
        return true;
    };

    DialogRecorder dialogs;
    QSignalSpy resets(m_ctrl.get(), &DBCtrl::sig_reset);
    QSignalSpy empties(m_ctrl.get(), &DBCtrl::sig_empty);
    QVERIFY(!meetTheLoss() || route == Route::Apply);

    QCOMPARE(dialogs.messageTexts(), QStringList{LostText});
    QCOMPARE(dialogs.messages.at(0).icon, QMessageBox::Critical);
    QCOMPARE(dialogs.messages.at(0).caption, BoxCaption);
    QCOMPARE(dialogs.messages.at(0).parent.data(), m_owner.get());
    QCOMPARE(m_owner->windowTitle(), OwnerTitle + " - NOT CONNECTED!");
    QVERIFY(m_conn->get()->m_lost);
    QVERIFY(m_ctrl->m_pending.isEmpty());
    QCOMPARE(resets.count(), 1);
    QCOMPARE(empties.last().at(0).toBool(), true);

    // The session is gone for good: the next attempt fails at once, shows nothing
    // more, but still has every page restore its tables.
    QVERIFY(!meetTheLoss() || route == Route::Apply);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(m_owner->windowTitle(), OwnerTitle + " - NOT CONNECTED!");
    QVERIFY(m_ctrl->m_pending.isEmpty());
    QCOMPARE(resets.count(), 2);
    QCOMPARE(empties.last().at(0).toBool(), true);
}

void TestDBTableLoad::applyStopsAtTheFirstRefusal()
{
    DBTable table;
    QVERIFY(table.select(m_owner.get(), m_conn->get(), "hosts", dbcol_hosts, 3));
    for (const auto &row : table.m_rows)
        row->m_values[1]->set("x" + row->m_values[0]->text());
    QCOMPARE(*table.diff(true), (QStringList{"update hosts set note='xa' where name='a'",
                                              "update hosts set note='xb' where name='b'",
                                              "update hosts set note='xc' where name='c'"}));
    QVERIFY(m_server->refuse("where name='b'", 111));
    m_ctrl->set(QStringList{QStringLiteral("kept")}, false);

    DialogRecorder dialogs;
    table.apply(true);

    QCOMPARE(dialogs.messageTexts(), QStringList{QStringLiteral("Query failed: Query not possible")});
    QCOMPARE(dialogs.messages.at(0).icon, QMessageBox::Warning);
    QCOMPARE(sessionJournal(), (QStringList{"select name, note from hosts",
                                            "update hosts set note='xa' where name='a'",
                                            "update hosts set note='xb' where name='b'"}));
    QCOMPARE(m_server->rows("hosts"),
             (QList<QStringList>{{"a", "xa"}, {"b", "2"}, {"c", "3"}}));
    // Committed before sending: the originals are what the administrator last saw.
    QVERIFY(table.diff(true)->isEmpty());
    QCOMPARE(m_ctrl->m_pending, QStringList{QStringLiteral("kept")});
    QVERIFY(!m_conn->get()->m_lost);
}

QTEST_MAIN(TestDBTableLoad)
#include "tst_dbtableload.moc"
