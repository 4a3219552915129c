#include "dbctrl.h"
#include "dbmap.h"
#include "dbtable.h"
#include "dbtable_p.h"
#include "requestfailure.h"
#include "vexadbtypes.h"

#include "dialogrecorder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTest>

#include <cstdint>
#include <cstring>
#include <optional>

namespace {

const DBCOL exampleCols[] = {
    {VEXADB_STRING, "a", 1},
    {VEXADB_STRING, "b", 1},
    {VEXADB_STRING, "c", 0},
    {0, nullptr, 0},
};

const DBCOL keyedKinds[] = {
    {VEXADB_STRING, "name", 1},
    {VEXADB_IPADDR, "address", 1},
    {VEXADB_PORT, "port", 1},
    {VEXADB_INT, "number", 1},
    {VEXADB_INT64, "quota", 1},
    {VEXADB_STRING, "note", 0},
    {0, nullptr, 0},
};

const DBCOL keylessCols[] = {
    {VEXADB_STRING, "hostname", 0},
    {0, nullptr, 0},
};

const DBCOL cellCols[] = {
    {VEXADB_INT, "i", 0},
    {VEXADB_INT64, "q", 0},
    {VEXADB_IPADDR, "ip", 0},
    {VEXADB_PORT, "port", 0},
    {VEXADB_STRING, "s", 0},
    {VEXADB_BINARY, "bin", 0},
    {VEXADB_IDLIST, "list", 0},
    {VEXADB_PWD, "pwd", 0},
    {VEXADB_VOID, "v", 0},
    {0, nullptr, 0},
};
enum CellColumn { I, Q, Ip, Port, S, Bin, List, Pwd, Void };

const DBCOL *columnTable(int which)
{
    const DBCOL *tables[] = {exampleCols, keyedKinds, keylessCols};
    return tables[which];
}

void setTexts(DBRow *row, const QStringList &texts)
{
    for (int i = 0; i < texts.size(); ++i)
        row->m_values[i]->set(texts.at(i));
}

// What a load leaves behind: each row with its original, pairwise alike.
void loadByHand(DBTable &table, const DBCOL *cols, const QList<QStringList> &rows)
{
    table.m_cols = cols;
    table.m_table = QStringLiteral("T");
    table.m_loaded = true;
    for (const QStringList &texts : rows) {
        auto row = std::make_unique<DBRow>(cols);
        setTexts(row.get(), texts);
        table.m_orig.push_back(std::make_unique<DBRow>(*row));
        table.m_rows.push_back(std::move(row));
    }
}

QStringList describe(const DBTable::RowList &rows)
{
    QStringList lines;
    for (const auto &row : rows) {
        QStringList texts;
        for (const auto &value : row->m_values)
            texts << value->text();
        lines << QString::number(row->m_id) + QLatin1Char(':') + texts.join(QLatin1Char('|'));
    }
    return lines;
}

// Edits as a page makes them: "set ROW COLUMN TEXT", "append A B C", "remove ROW".
void edit(DBTable &table, const QStringList &script)
{
    for (const QString &line : script) {
        const QStringList words = line.split(QLatin1Char(' '));
        if (words[0] == QLatin1String("set"))
            table.m_rows[words[1].toInt()]->m_values[words[2].toInt()]->set(words.value(3));
        else if (words[0] == QLatin1String("append"))
            setTexts(table.append(), words.mid(1));
        else if (words[0] == QLatin1String("remove"))
            table.remove(table.m_rows[words[1].toInt()].get());
    }
}

const QList<QStringList> threeRows{{"1", "x", "Mail"}, {"2", "y", "Post"}, {"3", "z", "News"}};

// Answers cells as DBReq::read does, counting the reads.
struct FakeAnswer
{
    QList<std::optional<QByteArray>> cells; // one answer row
    QList<int> reads = QList<int>(16, 0);

    bool read(int, int column, void *buffer, int *length)
    {
        ++reads[column];
        static_cast<char *>(buffer)[0] = '\0';
        if (column >= cells.size() || !cells[column])
            return false;
        const QByteArray &cell = *cells[column];
        const int size = *length;
        *length = int(cell.size());
        if (cell.size() > size)
            return false;
        std::memcpy(buffer, cell.constData(), cell.size());
        return true;
    }
};

template<typename T>
QByteArray bytes(T value)
{
    return QByteArray(reinterpret_cast<const char *>(&value), sizeof value);
}

QByteArray listForm(const QByteArray &text)
{
    char buffer[8192];
    return QByteArray(buffer, vexadb_str2val(VEXADB_IDLIST, text.constData(), buffer,
                                             sizeof buffer));
}

} // namespace

class TestDBTable : public QObject
{
    Q_OBJECT

private slots:
    void newTable();
    void appendAndRemove();
    void diff_data();
    void diff();
    void diffWithoutKeys();
    void diffPairsWithFirstOriginal();
    void findorig();
    void applyLocally();
    void reset();
    void checkPrimaryKey_data();
    void checkPrimaryKey();
    void copyOfRowIsDuplicate();
    void readCells_data();
    void readCells();
    void longCellsReadWhole();
    void lostConnectionReportedOnce();
    void lostConnectionOwnerGoneDuringBox();
    void refusedStatement();
    void fillCombo_data();
    void fillCombo();
    void setCheckBox_data();
    void setCheckBox();
    void mapLookups();
};

void TestDBTable::newTable()
{
    DBTable table;
    QVERIFY(table.m_table.isEmpty());
    QVERIFY(!table.m_cols);
    QVERIFY(!table.m_loaded);
    QVERIFY(table.m_rows.empty() && table.m_orig.empty());
    QVERIFY(table.diff(true)->isEmpty());
}

void TestDBTable::appendAndRemove()
{
    DBTable table;
    loadByHand(table, exampleCols, threeRows);
    const int lastId = table.m_rows.back()->m_id;

    DBRow *row = table.append();
    QCOMPARE(table.m_rows.back().get(), row);
    QCOMPARE(row->m_cols, exampleCols);
    QVERIFY(row->m_id > lastId);
    QVERIFY(row->m_values[0]->isNull());

    DBRow stranger(exampleCols);
    table.remove(&stranger);
    table.remove(table.m_orig[0].get()); // an original is not a current row
    table.remove(nullptr);
    QCOMPARE(int(table.m_rows.size()), 4);

    table.remove(table.m_rows[1].get());
    QCOMPARE(describe(table.m_rows).size(), 3);
    QVERIFY(describe(table.m_rows)[1].endsWith(":3|z|News"));
    QCOMPARE(int(table.m_orig.size()), 3);
}

void TestDBTable::diff_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QStringList>("statements");

    QTest::newRow("no edit") << QStringList() << QStringList();
    QTest::newRow("case-only change")
        << QStringList{"set 0 2 MAIL"}
        << QStringList{"update T set c='MAIL' where a='1' and b='x'"};
    QTest::newRow("change reverted")
        << QStringList{"set 0 2 Other", "set 0 2 Mail"} << QStringList();
    QTest::newRow("new row") << QStringList{"append 4 w New"}
                             << QStringList{"insert T set a='4', b='w', c='New'"};
    QTest::newRow("removed row") << QStringList{"remove 1"}
                                 << QStringList{"delete from T where a='2' and b='y'"};
    QTest::newRow("appended then removed")
        << QStringList{"append 4 w New", "remove 3"} << QStringList();
    QTest::newRow("edits in row order")
        << QStringList{"set 2 2 A", "set 0 2 B"}
        << QStringList{"update T set c='B' where a='1' and b='x'",
                       "update T set c='A' where a='3' and b='z'"};
    QTest::newRow("same key removed and added")
        << QStringList{"remove 0", "append 1 x Mail"}
        << QStringList{"delete from T where a='1' and b='x'",
                       "insert T set a='1', b='x', c='Mail'"};
    // [x y z] +w -z [x y w] x.c=M +v -y [x w v]: deletes in original order first.
    QTest::newRow("several removed and new")
        << QStringList{"append 4 w N4", "remove 2", "set 0 2 M", "append 5 v N5", "remove 1"}
        << QStringList{"delete from T where a='2' and b='y'",
                       "delete from T where a='3' and b='z'",
                       "update T set c='M' where a='1' and b='x'",
                       "insert T set a='4', b='w', c='N4'",
                       "insert T set a='5', b='v', c='N5'"};
}

void TestDBTable::diff()
{
    QFETCH(QStringList, script);
    QFETCH(QStringList, statements);

    DBTable table;
    loadByHand(table, exampleCols, threeRows);
    edit(table, script);
    const QStringList rowsBefore = describe(table.m_rows);
    const QStringList originalsBefore = describe(table.m_orig);

    QStringList *list = table.diff(true);
    QCOMPARE(list, &table.m_statements);
    QCOMPARE(*list, statements);
    // A second run gives the same list and neither run touches the rows.
    QCOMPARE(*table.diff(true), statements);
    QCOMPARE(describe(table.m_rows), rowsBefore);
    QCOMPARE(describe(table.m_orig), originalsBefore);
}

void TestDBTable::diffWithoutKeys()
{
    DBTable table;
    loadByHand(table, keylessCols, {{"mail.example.com"}, {"old"}});
    edit(table, {"set 0 0 smtp.example.com", "remove 1"});
    QCOMPARE(*table.diff(true), (QStringList{"delete from T where ",
                                             "update T set hostname='smtp.example.com'"}));
}

void TestDBTable::diffPairsWithFirstOriginal()
{
    DBTable table;
    loadByHand(table, exampleCols, {{"1", "x", "Mail"}});
    // A second original of the same number, as a commit of a copied row leaves.
    table.m_orig.push_back(std::make_unique<DBRow>(*table.m_rows[0]));
    table.m_orig[1]->m_values[2]->set("Post");
    QCOMPARE(*table.diff(true), QStringList{"delete from T where a='1' and b='x'"});
    QVERIFY(table.m_orig[0]->m_matched);
    QVERIFY(!table.m_orig[1]->m_matched);
}

void TestDBTable::findorig()
{
    DBTable table;
    loadByHand(table, exampleCols, threeRows);
    QCOMPARE(table.findorig(table.m_rows[2]->m_id), 2);
    QVERIFY(table.m_orig[2]->m_matched);
    QVERIFY(!table.m_orig[0]->m_matched);
    QCOMPARE(table.findorig(table.append()->m_id), -1);
}

void TestDBTable::applyLocally()
{
    DBTable table;
    loadByHand(table, exampleCols, threeRows);
    const QStringList loaded = describe(table.m_orig);

    // Without statements nothing is committed, whatever the rows hold.
    edit(table, {"set 0 2 Edited"});
    table.apply(false);
    QCOMPARE(describe(table.m_orig), loaded);

    edit(table, {"remove 1", "append 4 w New"});
    const QStringList statements = *table.diff(true);
    QCOMPARE(statements.size(), 3);
    table.apply(false);
    QCOMPARE(describe(table.m_orig), describe(table.m_rows));
    QCOMPARE(table.m_statements, statements); // kept until the next diff
    QVERIFY(table.diff(true)->isEmpty());
}

void TestDBTable::reset()
{
    DBTable table;
    loadByHand(table, exampleCols, threeRows);
    const QStringList loaded = describe(table.m_orig);
    edit(table, {"set 0 2 Edited", "remove 2", "append 4 w New"});
    const QStringList statements = *table.diff(true);

    table.reset();
    QCOMPARE(describe(table.m_rows), loaded);
    QCOMPARE(describe(table.m_orig), loaded);
    QVERIFY(table.m_rows[0].get() != table.m_orig[0].get());
    QCOMPARE(table.m_statements, statements);
    QVERIFY(table.diff(true)->isEmpty());
}

void TestDBTable::checkPrimaryKey_data()
{
    QTest::addColumn<int>("cols");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QStringList>("candidate");
    QTest::addColumn<bool>("nocase");
    QTest::addColumn<bool>("withReason");
    QTest::addColumn<bool>("unique");
    QTest::addColumn<int>("reason"); // -1: left as it was

    const QList<QStringList> kinds{{"host", "10.0.0.1", "25", "1", "1", "a"}};
    QTest::newRow("unique") << 0 << threeRows << QStringList{"1", "w", "Mail"} << true << true
                            << true << 0;
    QTest::newRow("duplicate") << 0 << threeRows << QStringList{"2", "y", "Other"} << true
                               << true << false << 0;
    QTest::newRow("case only, nocase") << 0 << threeRows << QStringList{"2", "Y", "Post"}
                                       << true << false << false << -1;
    QTest::newRow("case only, exact") << 0 << threeRows << QStringList{"2", "Y", "Post"}
                                      << false << false << true << -1;
    QTest::newRow("non-Latin case, nocase")
        << 0 << QList<QStringList>{{"\xc3\x84rger", "\xd0\x9f", ""}}
        << QStringList{"\xc3\xa4RGER", "\xd0\xbf", "x"} << true << false << false << -1;
    QTest::newRow("separator inside a value")
        << 0 << QList<QStringList>{{"a###b", "c", ""}} << QStringList{"a", "b###c", ""}
        << true << true << true << 0;
    QTest::newRow("empty key text") << 0 << threeRows << QStringList{"4", "", "New"} << true
                                    << true << false << 10;
    QTest::newRow("empty text before a later zero")
        << 1 << kinds << QStringList{"", "0.0.0.0", "0", "0", "0", ""} << true << true << false
        << 10;
    QTest::newRow("null address") << 1 << kinds
                                  << QStringList{"mx", "0.0.0.0", "25", "1", "1", ""} << true
                                  << true << false << 11;
    QTest::newRow("port zero") << 1 << kinds << QStringList{"mx", "10.0.0.2", "0", "1", "1", ""}
                               << true << true << false << 12;
    QTest::newRow("port no number") << 1 << kinds
                                    << QStringList{"mx", "10.0.0.2", "abc", "1", "1", ""}
                                    << true << true << false << 12;
    QTest::newRow("number zero") << 1 << kinds
                                 << QStringList{"mx", "10.0.0.2", "25", "0", "1", ""} << true
                                 << true << false << 13;
    QTest::newRow("64-bit zero") << 1 << kinds
                                 << QStringList{"mx", "10.0.0.2", "25", "1", "0", ""} << true
                                 << true << false << 13;
    QTest::newRow("zeros unchecked without reason")
        << 1 << kinds << QStringList{"mx", "0.0.0.0", "0", "0", "0", ""} << true << false
        << true << -1;
    QTest::newRow("typed duplicate") << 1 << kinds
                                     << QStringList{"HOST", "10.0.0.1", "25", "1", "1", "b"}
                                     << true << true << false << 0;
    QTest::newRow("no key column, other rows")
        << 2 << QList<QStringList>{{"a"}} << QStringList{"b"} << true << true << false << -1;
    QTest::newRow("no key column, alone")
        << 2 << QList<QStringList>() << QStringList{"b"} << true << true << true << -1;
}

void TestDBTable::checkPrimaryKey()
{
    QFETCH(int, cols);
    QFETCH(QList<QStringList>, rows);
    QFETCH(QStringList, candidate);
    QFETCH(bool, nocase);
    QFETCH(bool, withReason);
    QFETCH(bool, unique);
    QFETCH(int, reason);

    DBTable table;
    loadByHand(table, columnTable(cols), rows);
    DBRow *row = table.append();
    setTexts(row, candidate);

    int given = -1;
    QCOMPARE(table.check_primary_key(row, withReason ? &given : nullptr, nocase), unique);
    QCOMPARE(given, reason);
}

void TestDBTable::copyOfRowIsDuplicate()
{
    DBTable table;
    loadByHand(table, exampleCols, threeRows);
    DBRow copy(*table.m_rows[1]);
    int reason = -1;
    QVERIFY(table.check_primary_key(table.m_rows[1].get(), &reason, true));
    QCOMPARE(reason, 0);
    QVERIFY(!table.check_primary_key(&copy, nullptr, true));
}

void TestDBTable::readCells_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QByteArray>("cell"); // null: the answer has no such cell
    QTest::addColumn<bool>("isNull");
    QTest::addColumn<QString>("text");

    QTest::newRow("INT") << int(I) << bytes<int32_t>(-42) << false << QString("-42");
    QTest::newRow("INT wrong size") << int(I) << bytes<int16_t>(42) << true << QString();
    QTest::newRow("INT too long") << int(I) << bytes<int64_t>(42) << true << QString();
    QTest::newRow("INT missing") << int(I) << QByteArray() << true << QString();
    QTest::newRow("INT64 maximum") << int(Q) << bytes<int64_t>(INT64_MAX) << false
                                   << QString("9223372036854775807");
    QTest::newRow("INT64 -1") << int(Q) << bytes<int64_t>(-1) << false
                              << QString("18446744073709551615");
    QTest::newRow("INT64 wrong size") << int(Q) << bytes<int32_t>(1) << true << QString();
    QTest::newRow("IPADDR") << int(Ip) << QByteArray("\x0a\x00\x00\x01", 4) << false
                            << QString("10.0.0.1");
    QTest::newRow("IPADDR wrong size") << int(Ip) << QByteArray("\x0a\x00\x00", 3) << true
                                       << QString();
    QTest::newRow("PORT") << int(Port) << QByteArray("\x1f\x90", 2) << false << QString("8080");
    QTest::newRow("PORT wrong size") << int(Port) << QByteArray("\x1f", 1) << true << QString();
    QTest::newRow("STRING") << int(S) << QByteArray("it's\0", 5) << false << QString("it's");
    QTest::newRow("STRING UTF-8") << int(S) << QByteArray("Gr\xc3\xbc\xc3\x9f" "e\0", 7)
                                  << false << QString::fromUtf8("Gr\xc3\xbc\xc3\x9f" "e");
    QTest::newRow("STRING empty") << int(S) << QByteArray("\0", 1) << false << QString("");
    QTest::newRow("STRING without zero byte") << int(S) << QByteArray("abc") << false
                                              << QString("abc");
    QTest::newRow("STRING inner zero byte") << int(S) << QByteArray("ab\0cd\0", 6) << false
                                            << QString("ab");
    QTest::newRow("STRING missing") << int(S) << QByteArray() << true << QString();
    QTest::newRow("BINARY") << int(Bin) << QByteArray("\xff\x00\x7f", 3) << false
                            << QString("ff007f");
    QTest::newRow("BINARY empty") << int(Bin) << QByteArray("") << false << QString("");
    QTest::newRow("IDLIST") << int(List) << listForm("a,,bc") << false << QString("a,,bc");
    QTest::newRow("IDLIST missing") << int(List) << QByteArray() << true << QString();
    QTest::newRow("PWD never read") << int(Pwd) << QByteArray("secret\0", 7) << true
                                    << QString();
    QTest::newRow("VOID never read") << int(Void) << QByteArray("x\0", 2) << true << QString();
}

void TestDBTable::readCells()
{
    QFETCH(int, column);
    QFETCH(QByteArray, cell);
    QFETCH(bool, isNull);
    QFETCH(QString, text);

    FakeAnswer answer;
    answer.cells = QList<std::optional<QByteArray>>(Void + 1, std::nullopt);
    if (!cell.isNull())
        answer.cells[column] = cell;
    DBRow row(cellCols);
    readAnswerRow(&row, 0, [&answer](int r, int c, void *buffer, int *length) {
        return answer.read(r, c, buffer, length);
    });

    QCOMPARE(row.m_values[column]->isNull(), isNull);
    QCOMPARE(row.m_values[column]->text(), text);
    QCOMPARE(answer.reads[Pwd] + answer.reads[Void], 0);
}

void TestDBTable::longCellsReadWhole()
{
    const QByteArray text4095(4095, 'a');
    const QByteArray text4096(4096, 'b');
    const QByteArray binary(5000, '\x5a');
    QByteArray longList = "x";
    while (listForm(longList + ",item").size() <= 4096)
        longList += ",item";

    struct Case { int column; QByteArray cell; int reads; bool isNull; QString text; };
    const Case cases[] = {
        {S, text4095 + '\0', 1, false, QString::fromLatin1(text4095)},
        {S, text4096 + '\0', 2, false, QString::fromLatin1(text4096)},
        {Bin, QByteArray(2047, '\x01'), 1, false, QString(4094 / 2, QChar('0')).replace("0", "01")},
        {Bin, binary, 2, false, QString(10000 / 2, QChar('5')).replace("5", "5a")},
        {List, listForm(longList), 1, false, QString::fromLatin1(longList)},
        {List, listForm(longList + ",item"), 2, true, QString()},
    };
    for (const Case &c : cases) {
        FakeAnswer answer;
        answer.cells = QList<std::optional<QByteArray>>(Void + 1, std::nullopt);
        answer.cells[c.column] = c.cell;
        DBRow row(cellCols);
        readAnswerRow(&row, 0, [&answer](int r, int col, void *buffer, int *length) {
            return answer.read(r, col, buffer, length);
        });
        QCOMPARE(answer.reads[c.column], c.reads);
        QCOMPARE(row.m_values[c.column]->isNull(), c.isNull);
        QCOMPARE(row.m_values[c.column]->text(), c.text);
    }
}

void TestDBTable::lostConnectionReportedOnce()
{
    DialogRecorder dialogs;
    QWidget owner;
    owner.setWindowTitle("Ornel Corvane - mail.example.com");
    DBCtrl ctrl;
    ctrl.set(QStringList{"delete from alias where lhs='a'"}, false);
    QStringList emitted;
    connect(&ctrl, &DBCtrl::sig_empty, this, [&emitted](bool e) { emitted << (e ? "empty" : "full"); });
    connect(&ctrl, &DBCtrl::sig_reset, this, [&emitted] { emitted << "reset"; });
    bool lost = false;

    reportLostConnection(&owner, lost, &ctrl, "mail.example.com");
    QVERIFY(lost);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].icon, QMessageBox::Critical);
    QCOMPARE(dialogs.messages[0].parent.data(), &owner);
    QCOMPARE(dialogs.messages[0].caption, QString("Ornel Corvane Administration"));
    QCOMPARE(dialogs.messages[0].text,
             QString("Connection failed!\nConsole was disconnected from mail.example.com."));
    QCOMPARE(dialogs.messages[0].buttons, Dialogs::Buttons(QMessageBox::Ok));
    QCOMPARE(owner.windowTitle(), QString("Ornel Corvane - mail.example.com - NOT CONNECTED!"));
    QVERIFY(ctrl.m_pending.isEmpty());
    QCOMPARE(emitted, (QStringList{"empty", "reset"}));

    // A second loss: no box, no second mark, but the pages restore again.
    ctrl.set(QStringList{"insert alias set lhs='b'"}, false);
    emitted.clear();
    reportLostConnection(&owner, lost, &ctrl, "mail.example.com");
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(owner.windowTitle(), QString("Ornel Corvane - mail.example.com - NOT CONNECTED!"));
    QVERIFY(ctrl.m_pending.isEmpty());
    QCOMPARE(emitted, (QStringList{"empty", "reset"}));
}

void TestDBTable::lostConnectionOwnerGoneDuringBox()
{
    auto *owner = new QWidget;
    auto *ctrl = new DBCtrl;
    bool lost = false;
    int nestedBoxes = -1;
    {
        DialogRecorder dialogs;
        // While the box is up, another failure arrives and the main window goes.
        Dialogs::setMessageHook([&](const Dialogs::MessageRequest &) {
            DialogRecorder nested;
            reportLostConnection(owner, lost, nullptr, "h");
            nestedBoxes = int(nested.messages.size());
            delete owner;
            delete ctrl;
            return int(QMessageBox::Ok);
        });
        reportLostConnection(owner, lost, ctrl, "h");
    }
    QCOMPARE(nestedBoxes, 0);
    QVERIFY(lost);
}

void TestDBTable::refusedStatement()
{
    DialogRecorder dialogs;
    QWidget owner;
    reportRefusedStatement(&owner, "Table does not exists");
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].icon, QMessageBox::Warning);
    QCOMPARE(dialogs.messages[0].parent.data(), &owner);
    QCOMPARE(dialogs.messages[0].caption, QString("Ornel Corvane Administration"));
    QCOMPARE(dialogs.messages[0].text, QString("Query failed: Table does not exists"));
    QCOMPARE(dialogs.messages[0].buttons, Dialogs::Buttons(QMessageBox::Ok));
}

namespace {
const DBMAP modes[] = {
    {"0", "Disabled"},
    {"1", "Enabled"},
    {"X", "Extended"},
    {"1", "Enabled again"},
    {"2", nullptr},
    {"3", "Beyond the end"},
};
const DBMAP emptyMap[] = {{"0", nullptr}, {"0", "Hidden"}};
} // namespace

void TestDBTable::fillCombo_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("current");

    QTest::newRow("first") << QByteArray("0") << 0;
    QTest::newRow("last of two matches") << QByteArray("1") << 3;
    QTest::newRow("case-sensitive") << QByteArray("x") << 0;
    QTest::newRow("exact") << QByteArray("X") << 2;
    QTest::newRow("after the end") << QByteArray("3") << 0;
    QTest::newRow("null") << QByteArray() << 0;
}

void TestDBTable::fillCombo()
{
    QFETCH(QByteArray, value);
    QFETCH(int, current);

    QComboBox combo;
    ::fillCombo(&combo, modes, value.isNull() ? nullptr : value.constData());
    QCOMPARE(combo.count(), 4);
    QCOMPARE(combo.itemText(3), QString("Enabled again"));
    QCOMPARE(combo.currentIndex(), current);
}

void TestDBTable::setCheckBox_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("sense");
    QTest::addColumn<bool>("checked");

    QTest::newRow("0, sense false") << QByteArray("0") << false << true;
    QTest::newRow("0, sense true") << QByteArray("0") << true << false;
    QTest::newRow("1, sense true") << QByteArray("1") << true << true;
    QTest::newRow("1, sense false") << QByteArray("1") << false << false;
    QTest::newRow("other, sense true") << QByteArray("yes") << true << true;
    QTest::newRow("leading 0") << QByteArray("01") << false << true;
    QTest::newRow("empty, sense true") << QByteArray("") << true << false;
    QTest::newRow("empty, sense false") << QByteArray("") << false << false;
    QTest::newRow("null") << QByteArray() << true << false;
}

void TestDBTable::setCheckBox()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, sense);
    QFETCH(bool, checked);

    QCheckBox box;
    box.setChecked(!checked);
    ::setCheckBox(&box, text.isNull() ? nullptr : text.constData(), sense);
    QCOMPARE(box.isChecked(), checked);
}

void TestDBTable::mapLookups()
{
    QCOMPARE(map2str(modes, "1"), QString("Enabled"));
    QCOMPARE(map2str(modes, "x"), QString("Extended"));
    QCOMPARE(map2str(modes, "2"), QString(""));
    QCOMPARE(map2str(modes, "3"), QString(""));
    QCOMPARE(map2str(emptyMap, "0"), QString(""));
    QCOMPARE(str2map(modes, "ENABLED again"), QString("1"));
    QCOMPARE(str2map(modes, "extended"), QString("X"));
    QCOMPARE(str2map(modes, "Beyond the end"), QString(""));
    QCOMPARE(str2map(emptyMap, "Hidden"), QString(""));
}

QTEST_MAIN(TestDBTable)
#include "tst_dbtable.moc"
