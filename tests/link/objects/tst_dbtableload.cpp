#include "dbconn.h"
#include "dbctrl.h"
#include "dbreq.h"
#include "dbtable.h"
#include "standinconnection.h"
#include "testcolumns.h"
#include "vexadbblocks.h"

#include "dialogrecorder.h"

#include "wndprogress.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace StandIn;

namespace {

const DBCOL authCols[] = {{VEXADB_INT, "ID", 1}, {VEXADB_STRING, "Name", 0}, {0, nullptr, 0}};

const QString BoxCaption = QStringLiteral("Ornel Corvane Administration");
const QString OwnerTitle = QStringLiteral("Corvane at 127.0.0.1");

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

// How the server loses the session: it closes the connection, sends half an answer and
// then closes, or declares a block too large to be read.
enum class Loss { Drop, CutAnswer, HugeBlock };

} // namespace

Q_DECLARE_METATYPE(Loss)

// A plain owner widget and a pending-change controller stand in for the main window.
class TestDBTableLoad : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadStatement_data();
    void loadStatement();
    void cellSurvivesARoundTrip_data();
    void cellSurvivesARoundTrip();
    void refusedLoad_data();
    void refusedLoad();
    void abortedLoadIsRefused_data();
    void abortedLoadIsRefused();
    void lostConnection_data();
    void lostConnection();
    void malformedAnswerFailsOnlyItsRequest_data();
    void malformedAnswerFailsOnlyItsRequest();
    void rowsWithoutColumnsLoadAsNone_data();
    void rowsWithoutColumnsLoadAsNone();
    void applyStopsAtTheFirstRefusal();

private:
    QStringList sessionJournal() const { return m_server->journal(m_server->sessions().at(0).id); }
    bool loadT(DBTable &table) { return table.select(m_owner.get(), m_conn->get(), "T", testcols::example, 3); }

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<ScopedConnection> m_conn;
    std::unique_ptr<QWidget> m_owner;
    std::unique_ptr<DBCtrl> m_ctrl;
};

void TestDBTableLoad::init()
{
    m_server = startStandIn();
    m_server->setTable("every", {{"s", TypeString, true}, {"t", TypeString, false}, {"i", TypeInt, false},
                                 {"l", TypeInt64, false}, {"a", TypeIpAddr, false}, {"p", TypePort, false},
                                 {"b", TypeBinary, false}, {"d", TypeIdList, false}, {"w", TypePwd, false},
                                 {"v", TypeVoid, false}});
    m_server->setTable("T", {{"a", TypeString, true}, {"b", TypeString, true}, {"c", TypeString, false}},
                       {{"a", "1", "x"}, {"b", "2", "y"}, {"c", "3", "z"}});
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

void TestDBTableLoad::loadStatement_data()
{
    QTest::addColumn<bool>("isFunction");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("where");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<bool>("shownOnly");

    QTest::newRow("table") << false << QByteArray("alias") << QByteArray() << "select lhs, rhs, domain from alias"
                           << false;
    QTest::newRow("filtered") << false << QByteArray("alias") << QByteArray("rhs='admin'")
                              << "select lhs, rhs, domain from alias where rhs='admin'" << false;
    QTest::newRow("function") << true << QByteArray("get_auth_types()") << QByteArray() << "select get_auth_types()"
                              << false;
    QTest::newRow("table shown only") << false << QByteArray("alias") << QByteArray()
                                      << "select lhs, rhs, domain from alias" << true;
    QTest::newRow("function shown only") << true << QByteArray("get_auth_types()") << QByteArray()
                                         << "select get_auth_types()" << true;
}

void TestDBTableLoad::loadStatement()
{
    QFETCH(bool, isFunction);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, where);
    QFETCH(QString, statement);
    QFETCH(bool, shownOnly);

    DialogRecorder dialogs;
    DBTable table;
    const int flags = 3 | (shownOnly ? DBTable::WithoutOriginals : 0);
    QVERIFY(isFunction ? table.function(m_owner.get(), m_conn->get(), name.constData(), authCols, flags)
                       : table.select(m_owner.get(), m_conn->get(), name.constData(), testcols::alias, flags,
                                      where.isNull() ? nullptr : where.constData()));
    QVERIFY(table.m_loaded);
    QCOMPARE(sessionJournal(), QStringList{statement});
    QVERIFY(dialogs.messages.isEmpty());

    QList<QStringList> expected = isFunction ? QList<QStringList>{{"0", "Internal"}, {"1", "NT domain"},
                                                                  {"2", "PAM"}, {"3", "Kerberos 5"}}
                                             : m_server->rows("alias");
    if (!where.isNull())
        expected.removeIf([](const QStringList &row) { return row.at(1) != "admin"; });
    QCOMPARE(textsOf(table), expected);
    if (shownOnly)
        QVERIFY(table.m_orig.empty());
    else
        QVERIFY(table.diff(true)->isEmpty());  // every row has its original
}

void TestDBTableLoad::cellSurvivesARoundTrip_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");

    using namespace testcols;
    QTest::newRow("quotes") << int(T) << QStringLiteral("it's 'quoted', say \"hi\"");
    QTest::newRow("backslashes") << int(T) << QStringLiteral("C:\\dir\\ and \\n as text\\");
    QTest::newRow("new lines and tabs") << int(T) << QStringLiteral("one\ntwo\r\nthree\tfour");
    QTest::newRow("4097-byte text") << int(T) << QString(4097, u'x');
    QTest::newRow("INT64 maximum") << int(L) << QStringLiteral("9223372036854775807");
    QTest::newRow("IPADDR") << int(A) << QStringLiteral("192.168.10.20");
    QTest::newRow("PORT") << int(P) << QStringLiteral("65535");
    QTest::newRow("IDLIST") << int(D) << QStringLiteral("staff,sales,admins");
    QTest::newRow("BINARY of 3000 bytes") << int(B) << QStringLiteral("00ff10a5").repeated(750);
}

void TestDBTableLoad::cellSurvivesARoundTrip()
{
    QFETCH(int, column);
    QFETCH(QString, text);

    DialogRecorder dialogs;
    DBTable table;
    QVERIFY(table.select(m_owner.get(), m_conn->get(), "every", testcols::everyType, 3));
    DBRow *row = table.append();
    row->m_values[testcols::S]->set(QStringLiteral("key"));
    row->m_values[column]->set(text);
    table.diff(true);
    QVERIFY(table.apply(true));
    QCOMPARE(dialogs.messageTexts(), QStringList());

    DBTable reloaded;
    QVERIFY(reloaded.select(m_owner.get(), m_conn->get(), "every", testcols::everyType, 3));
    QCOMPARE(reloaded.m_rows.size(), size_t(1));
    QCOMPARE(reloaded.m_rows[0]->m_values[column]->text(), text);
}

void TestDBTableLoad::refusedLoad_data()
{
    QTest::addColumn<bool>("isFunction");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("table, flags 0") << false << 0 << QStringList();
    QTest::newRow("table, flags 2") << false << 2 << QStringList{"Query failed: Table does not exists"};
    QTest::newRow("function, flags 3") << true << 3 << QStringList{"Query failed: Function does not exists"};
}

void TestDBTableLoad::refusedLoad()
{
    QFETCH(bool, isFunction);
    QFETCH(int, flags);
    QFETCH(QStringList, messages);

    m_ctrl->set(QStringList{QStringLiteral("delete from alias where lhs='x'")}, false);
    DialogRecorder dialogs;
    DBTable table;
    QVERIFY(isFunction ? !table.function(m_owner.get(), m_conn->get(), "nosuchfunction()", authCols, flags)
                       : !table.select(m_owner.get(), m_conn->get(), "nosuchtable", testcols::alias, flags));
    QVERIFY(!table.m_loaded);
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

void TestDBTableLoad::abortedLoadIsRefused_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QStringList>("messages");

    // Without the indicator flag (a dialog's own load) as with it: the indicator shows, and
    // its Abort refuses the load.
    QTest::newRow("flags 0") << 0 << QStringList();
    QTest::newRow("flags 2") << 2 << QStringList{"Query failed: "};
    QTest::newRow("flags 3") << 3 << QStringList{"Query failed: "};
}

void TestDBTableLoad::abortedLoadIsRefused()
{
    QFETCH(int, flags);
    QFETCH(QStringList, messages);
    QVERIFY(m_server->delay("from T", 3000, 1));
    m_ctrl->set(QStringList{QStringLiteral("delete from alias where lhs='x'")}, false);
    m_owner->show();
    WndProgress::setDefaultParent(m_owner.get());
    DialogRecorder dialogs;
    QWidget *shownOver = nullptr;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        const QWidgetList widgets = QApplication::allWidgets();
        for (QWidget *widget : widgets) {
            auto *indicator = qobject_cast<WndProgress *>(widget);
            if (indicator && indicator->isVisible() && !shownOver) {
                shownOver = indicator->parentWidget();
                QTest::mouseClick(indicator->findChild<QPushButton *>(QStringLiteral("btnAbort")), Qt::LeftButton);
            }
        }
    });
    poll.start(20);

    DBTable table;
    const bool loaded = table.select(m_owner.get(), m_conn->get(), "T", testcols::example, flags);
    WndProgress::setDefaultParent(nullptr);
    QVERIFY(!loaded);
    QCOMPARE(shownOver, m_owner.get());
    QVERIFY(!table.m_loaded);
    QVERIFY(table.m_rows.empty());
    QCOMPARE(dialogs.messageTexts(), messages);
    QVERIFY(!m_conn->get()->m_lost);
    QCOMPARE(m_ctrl->m_pending, QStringList{QStringLiteral("delete from alias where lhs='x'")});
}

void TestDBTableLoad::lostConnection_data()
{
    QTest::addColumn<Loss>("loss");
    QTest::addColumn<bool>("applying");
    QTest::newRow("loading a table") << Loss::Drop << false;
    QTest::newRow("sending a table's statements") << Loss::Drop << true;
    QTest::newRow("loading, half an answer") << Loss::CutAnswer << false;
    QTest::newRow("sending, half an answer") << Loss::CutAnswer << true;
    QTest::newRow("loading, a block above the limit") << Loss::HugeBlock << false;
}

void TestDBTableLoad::lostConnection()
{
    QFETCH(Loss, loss);
    QFETCH(bool, applying);

    DBTable edited;
    QVERIFY(loadT(edited));
    const QString statements = QStringLiteral("^update|^select");
    switch (loss) {
    case Loss::Drop: QVERIFY(m_server->dropAt(statements)); break;
    case Loss::CutAnswer: QVERIFY(m_server->malformAnswer(statements, Malformed::CutShort)); break;
    case Loss::HugeBlock:
        QVERIFY(m_server->answerRaw(statements, QByteArray::fromHex("00000000" "10000001" "00000000" "00000000")));
        break;
    }
    auto meetTheLoss = [&] {
        m_ctrl->set(QStringList{QStringLiteral("delete from alias where lhs='x'")}, false);
        if (!applying) {
            DBTable table;
            QVERIFY(!table.select(m_owner.get(), m_conn->get(), "alias", testcols::alias, 3));
            return;
        }
        edited.m_rows[0]->m_values[2]->set(edited.m_rows[0]->m_values[2]->text() + "!");
        edited.diff(true);
        QVERIFY(!edited.apply(true));
    };

    DialogRecorder dialogs;
    QSignalSpy resets(m_ctrl.get(), &DBCtrl::sig_reset);
    QSignalSpy empties(m_ctrl.get(), &DBCtrl::sig_empty);
    meetTheLoss();
    QCOMPARE(dialogs.messageTexts(),
             QStringList{QStringLiteral("Connection failed!\nConsole was disconnected from 127.0.0.1.")});
    QCOMPARE(dialogs.messages.at(0).icon, QMessageBox::Critical);
    QCOMPARE(dialogs.messages.at(0).caption, BoxCaption);
    QCOMPARE(dialogs.messages.at(0).parent.data(), m_owner.get());
    QCOMPARE(m_owner->windowTitle(), OwnerTitle + " - NOT CONNECTED!");
    QVERIFY(m_conn->get()->m_lost);
    QVERIFY(m_ctrl->m_pending.isEmpty());
    QCOMPARE(resets.count(), 1);
    QCOMPARE(empties.last().at(0).toBool(), true);

    // Gone for good: the next attempt fails at once, shows nothing, but still resets.
    meetTheLoss();
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(m_owner->windowTitle(), OwnerTitle + " - NOT CONNECTED!");
    QCOMPARE(resets.count(), 2);
    QCOMPARE(empties.last().at(0).toBool(), true);
}

void TestDBTableLoad::malformedAnswerFailsOnlyItsRequest_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("flags 3") << 3 << QStringList{"Query failed: Library error (e.g. internal error)"};
    QTest::newRow("flags 0") << 0 << QStringList();
}

void TestDBTableLoad::malformedAnswerFailsOnlyItsRequest()
{
    QFETCH(int, flags);
    QFETCH(QStringList, messages);

    // The whole block arrives, declaring one row more than it holds: the stream is in
    // step, so only this request fails.
    QVERIFY(m_server->malformAnswer("^select", Malformed::RowCountBeyondBlock, 1));
    m_ctrl->set(QStringList{QStringLiteral("delete from alias where lhs='x'")}, false);
    DialogRecorder dialogs;
    DBTable table;
    QVERIFY(!table.select(m_owner.get(), m_conn->get(), "T", testcols::example, flags));
    QVERIFY(!table.m_loaded);
    QCOMPARE(dialogs.messageTexts(), messages);
    QVERIFY(!m_conn->get()->m_lost);
    QCOMPARE(m_owner->windowTitle(), OwnerTitle);
    QCOMPARE(m_ctrl->m_pending.size(), 1);

    // The next statement reaches the server and is answered.
    DBTable again;
    QVERIFY(loadT(again));
    QCOMPARE(again.m_rows.size(), size_t(3));
    QCOMPARE(sessionJournal().size(), 2);
    QCOMPARE(dialogs.messages.size(), messages.size());
}

void TestDBTableLoad::rowsWithoutColumnsLoadAsNone_data()
{
    QTest::addColumn<quint32>("declared");
    QTest::newRow("0 rows") << quint32(0);
    QTest::newRow("3 rows") << quint32(3);
    QTest::newRow("2^31 + 5 rows") << quint32(0x80000005u);
    QTest::newRow("2^32 - 1 rows") << quint32(0xffffffffu);
}

void TestDBTableLoad::rowsWithoutColumnsLoadAsNone()
{
    QFETCH(quint32, declared);

    // A row set of no column declaring that many rows: a block the wire allows, with
    // nothing past its fixed fields.
    vexablocks::BlockParts parts;
    parts.columns = 0;
    parts.rows = declared;
    QVERIFY(m_server->answerRaw("^select", vexablocks::answer(vexablocks::block(parts)), 2));

    // The request itself offers no row, before a table would build every declared one.
    {
        DBReq request(QStringLiteral("select a, b, c from T"), false);
        m_conn->get()->insert(&request);
        request.wait(false, nullptr);
        QCOMPARE(request.m_status, 0);
        QCOMPARE(request.rowCount(), 0);
    }

    m_ctrl->set(QStringList{QStringLiteral("delete from alias where lhs='x'")}, false);
    DialogRecorder dialogs;
    DBTable table;
    QVERIFY(loadT(table));
    QVERIFY(table.m_loaded);
    QCOMPARE(table.m_rows.size(), size_t(0));
    QVERIFY(table.diff(true)->isEmpty());
    QCOMPARE(dialogs.messageTexts(), QStringList());
    QVERIFY(!m_conn->get()->m_lost);
    QCOMPARE(m_owner->windowTitle(), OwnerTitle);
    QCOMPARE(m_ctrl->m_pending.size(), 1);

    // The session goes on: the next statement reaches the server and is answered.
    DBTable again;
    QVERIFY(loadT(again));
    QCOMPARE(textsOf(again), m_server->rows("T"));
    QCOMPARE(sessionJournal(), QStringList(3, QStringLiteral("select a, b, c from T")));
}

void TestDBTableLoad::applyStopsAtTheFirstRefusal()
{
    DBTable table;
    QVERIFY(loadT(table));
    for (const auto &row : table.m_rows)
        row->m_values[2]->set("x" + row->m_values[0]->text());
    QCOMPARE(table.diff(true)->size(), 3);
    QVERIFY(m_server->refuse("where a='b'", 111));
    m_ctrl->set(QStringList{QStringLiteral("kept")}, false);

    DialogRecorder dialogs;
    QVERIFY(!table.apply(true));
    QCOMPARE(dialogs.messageTexts(), QStringList{QStringLiteral("Query failed: Query not possible")});
    QCOMPARE(dialogs.messages.at(0).icon, QMessageBox::Warning);
    QCOMPARE(sessionJournal(), (QStringList{"select a, b, c from T", "update T set c='xa' where a='a' and b='1'",
                                            "update T set c='xb' where a='b' and b='2'"}));
    QCOMPARE(m_server->rows("T"), (QList<QStringList>{{"a", "1", "xa"}, {"b", "2", "y"}, {"c", "3", "z"}}));
    // Committed before sending: the originals are what the administrator last saw.
    QVERIFY(table.diff(true)->isEmpty());
    QCOMPARE(m_ctrl->m_pending, QStringList{QStringLiteral("kept")});
    QVERIFY(!m_conn->get()->m_lost);
}

QTEST_MAIN(TestDBTableLoad)
#include "tst_dbtableload.moc"
