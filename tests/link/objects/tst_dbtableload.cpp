#include "carriedout.h"
#include "dbconn.h"
#include "dbctrl.h"
#include "dbreq.h"
#include "dbtable.h"
#include "progresswait.h"
#include "statementrun.h"
#include "standinconnection.h"
#include "testcolumns.h"
#include "vexadbblocks.h"

#include "dialogrecorder.h"
#include "indicatorabort.h"

#include <QRegularExpression>
#include "wndprogress.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <algorithm>

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

QList<QStringList> sortedTexts(const DBTable::RowList &rows)
{
    QList<QStringList> texts;
    for (const auto &row : rows) {
        QStringList cells;
        for (const auto &value : row->m_values)
            cells.append(value->text());
        texts.append(cells);
    }
    std::sort(texts.begin(), texts.end());
    return texts;
}

QList<QStringList> sorted(QList<QStringList> rows)
{
    std::sort(rows.begin(), rows.end());
    return rows;
}

// A pattern that matches this statement and no other.
QString exactly(const QString &statement)
{
    return QLatin1Char('^') + QRegularExpression::escape(statement) + QLatin1Char('$');
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
    void cellOfAnotherTypeKeepsItsText_data();
    void cellOfAnotherTypeKeepsItsText();
    void passwordColumnNeverTakesAStoredValue_data();
    void passwordColumnNeverTakesAStoredValue();
    void refusedLoad_data();
    void refusedLoad();
    void abortedLoadIsRefused_data();
    void abortedLoadIsRefused();
    void lostConnection_data();
    void lostConnection();
    void malformedAnswerFailsOnlyItsRequest_data();
    void malformedAnswerFailsOnlyItsRequest();
    void shortAnswerIsRefused_data();
    void shortAnswerIsRefused();
    void rowsWithoutColumnsAreRefused_data();
    void rowsWithoutColumnsAreRefused();
    void applyStoresWhatTheServerCarriedOut_data();
    void applyStoresWhatTheServerCarriedOut();
    void applyAbortedAtTheIndicator();
    void sameStatementTwiceOneCopyCarriedOut_data();
    void sameStatementTwiceOneCopyCarriedOut();

private:
    QStringList sessionJournal() const { return m_server->journal(m_server->sessions().at(0).id); }
    bool loadT(DBTable &table) { return table.select(m_owner.get(), m_conn->get(), "T", testcols::example, 3); }
    // Sends statements as the main window's Apply does, behind one indicator; how many
    // the server carried out.
    int sendAsApply(const QStringList &statements)
    {
        const ProgressWait indicator(m_owner.get(), QStringLiteral("Transfering data ..."));
        StatementRun run(m_conn->get(), indicator, [] { return true; });
        run.send(statements);
        return run.carriedOut();
    }

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

// A server may keep a column in another type than the page declares. Its cells are read as
// the answer describes them and kept as the texts the server holds, through copies, a reset
// and an update that names the row by them; never as bytes of the declared type.
void TestDBTableLoad::cellOfAnotherTypeKeepsItsText_data()
{
    QTest::addColumn<int>("sentType");
    QTest::addColumn<int>("declaredType");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("read");

    QTest::newRow("a word in an INT column") << int(TypeString) << int(VEXADB_INT) << "abc" << "abc";
    QTest::newRow("a four-byte text in an INT column") << int(TypeString) << int(VEXADB_INT) << "007" << "007";
    QTest::newRow("a number as text in an INT column") << int(TypeString) << int(VEXADB_INT) << "12" << "12";
    QTest::newRow("an empty text in an INT column") << int(TypeString) << int(VEXADB_INT) << "" << "";
    QTest::newRow("an INT in a STRING column") << int(TypeInt) << int(VEXADB_STRING) << "5" << "5";
    QTest::newRow("an INT in an INT64 column") << int(TypeInt) << int(VEXADB_INT64) << "-1" << "-1";
    QTest::newRow("an INT64 beyond an INT column")
        << int(TypeInt64) << int(VEXADB_INT) << "4294967296" << "4294967296";
    QTest::newRow("a PORT in an INT column") << int(TypePort) << int(VEXADB_INT) << "8080" << "8080";
    QTest::newRow("an address in a STRING column")
        << int(TypeIpAddr) << int(VEXADB_STRING) << "10.0.0.1" << "10.0.0.1";
    QTest::newRow("an address as text in an IPADDR column")
        << int(TypeString) << int(VEXADB_IPADDR) << "10.0.0.1" << "10.0.0.1";
    QTest::newRow("a list in a STRING column") << int(TypeIdList) << int(VEXADB_STRING) << "staff" << "staff";
    QTest::newRow("a password in a STRING column: nothing sent")
        << int(TypePwd) << int(VEXADB_STRING) << "secret" << "";
}

void TestDBTableLoad::cellOfAnotherTypeKeepsItsText()
{
    QFETCH(int, sentType);
    QFETCH(int, declaredType);
    QFETCH(QString, stored);
    QFETCH(QString, read);

    m_server->setTable("mixed", {{"k", TypeString, true}, {"c", sentType, false}, {"d", TypeString, false}},
                       {{"k1", stored, "x"}});
    const DBCOL cols[] = {{VEXADB_STRING, "k", 1}, {declaredType, "c", 1}, {VEXADB_STRING, "d", 0},
                          {0, nullptr, 0}};
    DialogRecorder dialogs;
    DBTable table;
    QVERIFY(table.select(m_owner.get(), m_conn->get(), "mixed", cols, 3));
    QCOMPARE(textsOf(table), (QList<QStringList>{{"k1", read, "x"}}));
    QCOMPARE(*table.diff(true), QStringList());
    table.m_rows[0]->m_values[2]->set(QStringLiteral("y"));
    table.reset();
    QCOMPARE(textsOf(table), (QList<QStringList>{{"k1", read, "x"}}));
    QCOMPARE(*table.diff(true), QStringList());

    table.m_rows[0]->m_values[2]->set(QStringLiteral("y"));
    const QStringList update{"update mixed set d='y' where k='k1' and c='" + read + "'"};
    QCOMPARE(*table.diff(true), update);
    if (sentType == TypePwd)
        return; // the server's password is no text to name the row by
    QVERIFY(table.apply(true));
    QCOMPARE(dialogs.messageTexts(), QStringList());
    QCOMPARE(m_server->rows("mixed"), (QList<QStringList>{{"k1", stored, "y"}}));
}

void TestDBTableLoad::passwordColumnNeverTakesAStoredValue_data()
{
    QTest::addColumn<int>("sentType");
    QTest::addColumn<QString>("stored");

    QTest::newRow("sent as a password") << int(TypePwd) << "secret";
    QTest::newRow("sent as a string") << int(TypeString) << "secret";
    QTest::newRow("sent as an empty string") << int(TypeString) << "";
    QTest::newRow("sent as a number") << int(TypeInt) << "1234";
    QTest::newRow("sent as bytes") << int(TypeBinary) << "736563726574";
    QTest::newRow("sent as a list") << int(TypeIdList) << "secret";
}

// Whatever type the answer gives a column the page declares as a password, the row holds no
// password: nothing stored is shown, compared or written back.
void TestDBTableLoad::passwordColumnNeverTakesAStoredValue()
{
    QFETCH(int, sentType);
    QFETCH(QString, stored);

    m_server->setTable("mixed", {{"k", TypeString, true}, {"pass", sentType, false}, {"d", TypeString, false}},
                       {{"k1", stored, "x"}});
    const DBCOL cols[] = {{VEXADB_STRING, "k", 1}, {VEXADB_PWD, "pass", 0}, {VEXADB_STRING, "d", 0},
                          {0, nullptr, 0}};
    DialogRecorder dialogs;
    DBTable table;
    QVERIFY(table.select(m_owner.get(), m_conn->get(), "mixed", cols, 3));
    QCOMPARE(dialogs.messageTexts(), QStringList());
    QCOMPARE(textsOf(table), (QList<QStringList>{{"k1", "", "x"}}));
    QVERIFY(table.m_rows[0]->m_values[1]->isNull());
    table.m_rows[0]->m_values[2]->set(QStringLiteral("y"));
    QCOMPARE(*table.diff(true), QStringList{"update mixed set d='y' where k='k1'"});
    table.m_rows[0]->m_values[1]->set(QStringLiteral("NUL:new"));
    QVERIFY(table.diff(true)->value(0).contains(QLatin1String("pass=")));
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

// An answer with fewer columns than the load asked for (a server of another version, or one
// that answers short) is refused whole: no cell it did not carry is left null to be written
// back, nor to stand in a key.
void TestDBTableLoad::shortAnswerIsRefused_data()
{
    QTest::addColumn<bool>("isFunction");
    QTest::addColumn<QStringList>("omitted"); // names; empty: the last `count`
    QTest::addColumn<int>("count");
    QTest::addColumn<QByteArray>("where");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QStringList>("messages");

    const QString lacks = QStringLiteral("Query failed: The server's answer lacks these columns of %1: %2");
    QTest::newRow("a data column") << false << QStringList{"c"} << 0 << QByteArray() << 3
                                   << QStringList{lacks.arg("T", "c")};
    QTest::newRow("the first key column") << false << QStringList{"a"} << 0 << QByteArray() << 3
                                          << QStringList{lacks.arg("T", "a")};
    QTest::newRow("the second key column") << false << QStringList{"B"} << 0 << QByteArray() << 2
                                           << QStringList{lacks.arg("T", "b")};
    QTest::newRow("both key columns") << false << QStringList{"a", "b"} << 0 << QByteArray() << 3
                                      << QStringList{lacks.arg("T", "a, b")};
    QTest::newRow("the last, by count") << false << QStringList() << 1 << QByteArray() << 3
                                        << QStringList{lacks.arg("T", "c")};
    QTest::newRow("no row matched") << false << QStringList{"c"} << 0 << QByteArray("a='none'") << 3
                                    << QStringList{lacks.arg("T", "c")};
    QTest::newRow("not told with flags 0") << false << QStringList{"a"} << 0 << QByteArray() << 0
                                           << QStringList();
    QTest::newRow("a function's answer") << true << QStringList() << 1 << QByteArray() << 3
                                         << QStringList{lacks.arg("get_auth_types()", "Name")};
}

void TestDBTableLoad::shortAnswerIsRefused()
{
    QFETCH(bool, isFunction);
    QFETCH(QStringList, omitted);
    QFETCH(int, count);
    QFETCH(QByteArray, where);
    QFETCH(int, flags);
    QFETCH(QStringList, messages);

    // A table that held rows before: a refused load leaves it none.
    DBTable table;
    QVERIFY(isFunction ? table.function(m_owner.get(), m_conn->get(), "get_auth_types()", authCols, 3)
                       : loadT(table));
    QVERIFY(!table.m_rows.empty());
    m_ctrl->set(QStringList{QStringLiteral("kept")}, false);

    DBTable fresh;
    DialogRecorder dialogs;
    for (DBTable *loaded : {&fresh, &table}) {
        QVERIFY(omitted.isEmpty() ? m_server->omitColumns("^select", count, 1)
                                  : m_server->omitColumns("^select", omitted, 1));
        QVERIFY(isFunction
                    ? !loaded->function(m_owner.get(), m_conn->get(), "get_auth_types()", authCols, flags)
                    : !loaded->select(m_owner.get(), m_conn->get(), "T", testcols::example, flags,
                                      where.isNull() ? nullptr : where.constData()));
        QVERIFY(loaded->m_rows.empty());
        QVERIFY(loaded->m_orig.empty());
        QVERIFY(loaded->diff(true)->isEmpty());
    }
    QVERIFY(!fresh.m_loaded);
    QCOMPARE(dialogs.messageTexts(), messages + messages);
    for (const DialogRecorder::Message &message : dialogs.messages) {
        QCOMPARE(message.icon, QMessageBox::Warning);
        QCOMPARE(message.caption, BoxCaption);
        QCOMPARE(message.parent.data(), m_owner.get());
    }
    // A refusal is not a loss: the pending list stays, and the session goes on.
    QVERIFY(!m_conn->get()->m_lost);
    QCOMPARE(m_owner->windowTitle(), OwnerTitle);
    QCOMPARE(m_ctrl->m_pending, QStringList{QStringLiteral("kept")});
    DBTable again;
    QVERIFY(loadT(again));
    QCOMPARE(textsOf(again), m_server->rows("T"));
    for (const QString &statement : sessionJournal())
        QVERIFY2(statement.startsWith(QLatin1String("select ")), qPrintable(statement));
}

void TestDBTableLoad::rowsWithoutColumnsAreRefused_data()
{
    QTest::addColumn<quint32>("declared");
    QTest::newRow("0 rows") << quint32(0);
    QTest::newRow("3 rows") << quint32(3);
    QTest::newRow("2^31 + 5 rows") << quint32(0x80000005u);
    QTest::newRow("2^32 - 1 rows") << quint32(0xffffffffu);
}

void TestDBTableLoad::rowsWithoutColumnsAreRefused()
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

    // Short of every column the table asked for: refused, with no row built.
    m_ctrl->set(QStringList{QStringLiteral("delete from alias where lhs='x'")}, false);
    DialogRecorder dialogs;
    DBTable table;
    QVERIFY(!loadT(table));
    QVERIFY(!table.m_loaded);
    QCOMPARE(table.m_rows.size(), size_t(0));
    QVERIFY(table.diff(true)->isEmpty());
    QCOMPARE(dialogs.messageTexts(),
             QStringList{QStringLiteral("Query failed: The server's answer lacks these columns of T: a, b, c")});
    QVERIFY(!m_conn->get()->m_lost);
    QCOMPARE(m_owner->windowTitle(), OwnerTitle);
    QCOMPARE(m_ctrl->m_pending.size(), 1);

    // The session goes on: the next statement reaches the server and is answered.
    DBTable again;
    QVERIFY(loadT(again));
    QCOMPARE(textsOf(again), m_server->rows("T"));
    QCOMPARE(sessionJournal(), QStringList(3, QStringLiteral("select a, b, c from T")));
}

void TestDBTableLoad::applyStoresWhatTheServerCarriedOut_data()
{
    QTest::addColumn<int>("refused"); // the statement the server refuses, from 1
    for (int k = 1; k <= 4; ++k)
        QTest::addRow("statement %d of 4 refused", k) << k;
}

// Row c removed, row a changed, rows d and e added; the server refuses one of the four
// statements. What it carried out is stored at once: the next apply, after one more edit,
// sends only what it did not, and the server ends up holding what the table shows.
void TestDBTableLoad::applyStoresWhatTheServerCarriedOut()
{
    QFETCH(int, refused);

    DBTable table;
    QVERIFY(loadT(table));
    table.remove(table.m_rows[2].get());
    table.m_rows[0]->m_values[2]->set(QStringLiteral("xa"));
    testcols::setTexts(*table.append(), {"d", "4", "w"});
    testcols::setTexts(*table.append(), {"e", "5", "v"});
    const QStringList statements{"delete from T where a='c' and b='3'", "update T set c='xa' where a='a' and b='1'",
                                 "insert T set a='d', b='4', c='w'", "insert T set a='e', b='5', c='v'"};
    QCOMPARE(*table.diff(true), statements);
    QVERIFY(m_server->refuse(exactly(statements.at(refused - 1)), 111, 1));
    m_ctrl->set(QStringList{QStringLiteral("kept")}, false);

    DialogRecorder dialogs;
    int mark = int(m_server->journal().size());
    QVERIFY(!table.apply(true));
    QCOMPARE(dialogs.messageTexts(), QStringList{QStringLiteral("Query failed: Query not possible")});
    QCOMPARE(dialogs.messages.at(0).icon, QMessageBox::Warning);
    QCOMPARE(journalFrom(*m_server, mark), statements.mid(0, refused));
    // The rest is still the table's difference, and the originals are what the server holds.
    QCOMPARE(table.m_statements, statements.mid(refused - 1));
    QCOMPARE(*table.diff(true), statements.mid(refused - 1));
    QCOMPARE(sortedTexts(table.m_orig), sorted(m_server->rows("T")));
    QCOMPARE(m_ctrl->m_pending, QStringList{QStringLiteral("kept")});

    // One more edit, and everything accepted.
    table.m_rows[0]->m_values[2]->set(QStringLiteral("xa2"));
    const QStringList rest = *table.diff(true);
    for (const QString &carriedOut : statements.mid(0, refused - 1))
        QVERIFY2(!rest.contains(carriedOut), qPrintable(carriedOut));
    m_server->clearControls();
    mark = int(m_server->journal().size());
    QVERIFY(table.apply(true));
    QCOMPARE(journalFrom(*m_server, mark), rest);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(sorted(m_server->rows("T")), sortedTexts(table.m_rows));
    QVERIFY(table.diff(true)->isEmpty());
}

// "&Abort" while the server keeps silent about the second statement: the wait ends at once as
// a refused statement without a text, nothing more is sent, and only the first is stored.
void TestDBTableLoad::applyAbortedAtTheIndicator()
{
    DBTable table;
    QVERIFY(loadT(table));
    for (const auto &row : table.m_rows)
        row->m_values[2]->set("x" + row->m_values[0]->text());
    const QStringList statements = *table.diff(true);
    QCOMPARE(statements.size(), 3);
    QVERIFY(m_server->silence(exactly(statements.at(1)), 1));
    m_owner->resize(400, 300);
    m_owner->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_owner.get()));

    DialogRecorder dialogs;
    IndicatorAbort administrator;
    const int mark = int(m_server->journal().size());
    QVERIFY(!table.apply(true));
    QVERIFY(administrator.clicked());
    QCOMPARE(administrator.shownText(), QStringLiteral("Transfering data ..."));
    QCOMPARE(dialogs.messageTexts(), QStringList{QStringLiteral("Query failed: ")});
    QCOMPARE(dialogs.messages.at(0).parent.data(), m_owner.get());
    QCOMPARE(journalFrom(*m_server, mark), statements.mid(0, 2));
    // Whether the server carries the aborted statement out is not known: it stays.
    QCOMPARE(table.m_statements, statements.mid(1));
    QCOMPARE(*table.diff(true), statements.mid(1));
    QCOMPARE(m_server->rows("T"), (QList<QStringList>{{"a", "1", "xa"}, {"b", "2", "y"}, {"c", "3", "z"}}));
    QVERIFY(!m_conn->get()->m_lost);
}

void TestDBTableLoad::sameStatementTwiceOneCopyCarriedOut_data()
{
    QTest::addColumn<QStringList>("carriedOut"); // by an earlier apply
    QTest::addColumn<QStringList>("rest");       // what the next apply sends

    const QString insertB = QStringLiteral("insert K set hostname='b', maxsize='2'");
    const QString insertC = QStringLiteral("insert K set hostname='c', maxsize='3'");
    QTest::newRow("one copy and the other insert") << QStringList{insertB, insertC} << QStringList{insertB};
    QTest::newRow("one copy") << QStringList{insertB} << QStringList{insertB, insertC};
    QTest::newRow("both copies") << QStringList{insertB, insertB} << QStringList{insertC};
}

// A table without a key holds two rows alike: their insert is pending twice. An earlier apply
// got one copy through (with what else it names), and the page stored what it carried out, as
// every page does. The other copy is still pending, and the next apply sends it: the server
// ends up with both rows.
void TestDBTableLoad::sameStatementTwiceOneCopyCarriedOut()
{
    QFETCH(QStringList, carriedOut);
    QFETCH(QStringList, rest);

    m_server->setTable("K", {{"hostname", TypeString, false}, {"maxsize", TypeInt, false}}, {{"a", "1"}});
    DBTable table;
    QVERIFY(table.select(m_owner.get(), m_conn->get(), "K", testcols::keyless, 3));
    testcols::setTexts(*table.append(), {"b", "2"});
    testcols::setTexts(*table.append(), {"b", "2"});
    testcols::setTexts(*table.append(), {"c", "3"});
    const QStringList pending = *table.diff(true);
    QCOMPARE(pending.size(), 3);
    QCOMPARE(pending.at(1), pending.at(0));
    m_ctrl->set(pending, false);
    connect(m_ctrl.get(), &DBCtrl::sig_carried_out, this, [&table](const QStringList &statements) {
        CarriedOut done(statements);
        table.storeCarriedOut(done);
    });
    connect(m_ctrl.get(), &DBCtrl::sig_apply, this, [&table] { table.apply(false); });

    int mark = int(m_server->journal().size());
    QCOMPARE(sendAsApply(carriedOut), int(carriedOut.size()));
    QCOMPARE(journalFrom(*m_server, mark), carriedOut);
    m_ctrl->carriedOut(carriedOut);
    QCOMPARE(m_ctrl->m_pending, rest);
    QCOMPARE(table.m_statements, rest);
    QCOMPARE(*table.diff(true), rest);

    mark = int(m_server->journal().size());
    QCOMPARE(sendAsApply(m_ctrl->m_pending), int(rest.size()));
    m_ctrl->apply();
    QCOMPARE(journalFrom(*m_server, mark), rest);
    QCOMPARE(sorted(m_server->rows("K")), (QList<QStringList>{{"a", "1"}, {"b", "2"}, {"b", "2"}, {"c", "3"}}));
    QCOMPARE(sorted(m_server->rows("K")), sortedTexts(table.m_orig));
    QVERIFY(table.diff(true)->isEmpty());
}

QTEST_MAIN(TestDBTableLoad)
#include "tst_dbtableload.moc"
