#include "carriedout.h"
#include "dbctrl.h"
#include "dbmap.h"
#include "dbtable.h"
#include "dbtable_p.h"
#include "repeatedtexts_p.h"
#include "requestfailure.h"
#include "testcolumns.h"

#include "dialogrecorder.h"
#include "tablebyhand.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRandomGenerator>
#include <QTest>

#include <cstdint>
#include <cstring>
#include <new>
#include <tuple>

using namespace testcols;

namespace {

// Keys of every kind check_primary_key may refuse.
const DBCOL keyedKinds[] = {
    {VEXADB_STRING, "name", 1}, {VEXADB_IPADDR, "address", 1}, {VEXADB_PORT, "port", 1},
    {VEXADB_INT, "number", 1},  {VEXADB_INT64, "quota", 1},    {VEXADB_STRING, "note", 0}, {0, nullptr, 0}};

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

// Edits as a page makes them: "set ROW COLUMN TEXT", "append A B C", "remove ROW", and
// "swap ROW ROW", which a page sorting its rows would do; "twin ROW TEXT" leaves two rows
// and two originals with one number, as a committed copy does, and "twinbeside ROW TEXT"
// places them right after the row and its original.
void edit(DBTable &table, const QStringList &script)
{
    for (const QString &line : script) {
        const QStringList words = line.split(QLatin1Char(' '));
        if (words[0] == QLatin1String("set"))
            table.m_rows[words[1].toInt()]->m_values[words[2].toInt()]->set(words.value(3));
        else if (words[0] == QLatin1String("append"))
            setTexts(*table.append(), words.mid(1));
        else if (words[0] == QLatin1String("remove"))
            table.remove(table.m_rows[words[1].toInt()].get());
        else if (words[0] == QLatin1String("swap"))
            std::swap(table.m_rows[words[1].toInt()], table.m_rows[words[2].toInt()]);
        else if (words[0] == QLatin1String("twinbeside")) {
            // The same, the copies right after the row and its original.
            const size_t at = size_t(words[1].toInt());
            const DBRow &row = *table.m_rows[at];
            table.m_rows.insert(table.m_rows.begin() + long(at) + 1, std::make_unique<DBRow>(row));
            auto original = std::make_unique<DBRow>(row);
            original->m_values[2]->set(words.value(2));
            table.m_orig.insert(table.m_orig.begin() + long(at) + 1, std::move(original));
        }
        else if (words[0] == QLatin1String("twin")) {
            // A copy of a row made current, and one with another third cell committed.
            const DBRow &row = *table.m_rows[words[1].toInt()];
            table.m_rows.push_back(std::make_unique<DBRow>(row));
            table.m_orig.push_back(std::make_unique<DBRow>(row));
            table.m_orig.back()->m_values[2]->set(words.value(2));
        }
    }
}

const QList<QStringList> threeRows{{"1", "x", "Mail"}, {"2", "y", "Post"}, {"3", "z", "News"}};

template<typename T>
QByteArray bytes(T value)
{
    return QByteArray(reinterpret_cast<const char *>(&value), sizeof value);
}

QByteArray listForm(const QByteArray &text)
{
    char buffer[8192];
    return QByteArray(buffer, vexadb_str2val(VEXADB_IDLIST, text.constData(), buffer, sizeof buffer));
}

const DBMAP modes[] = {
    {"0", "Disabled"}, {"1", "Enabled"}, {"X", "Extended"}, {"1", "Enabled again"},
    {"2", nullptr},    {"3", "Beyond the end"}};

} // namespace

Q_DECLARE_METATYPE(const DBCOL *)

class TestDBTable : public QObject
{
    Q_OBJECT

private slots:
    void appendAndRemove();
    void diff_data();
    void diff();
    void diffWithoutKeys();
    void diffAfterAnEditOfOneRow_data();
    void diffAfterAnEditOfOneRow();
    void resetRowMadeWhereTheEditedOneLay_data();
    void resetRowMadeWhereTheEditedOneLay();
    void editsHandedInOneByOneAgreeWithWholeDiffs_data();
    void editsHandedInOneByOneAgreeWithWholeDiffs();
    void originalsPairByIdentity();
    void twinsPairWithTheFirstOriginal_data();
    void twinsPairWithTheFirstOriginal();
    void applyAndReset();
    void carriedOutRowsBecomeStored_data();
    void carriedOutRowsBecomeStored();
    void sameStatementTwiceStoredOnce_data();
    void sameStatementTwiceStoredOnce();
    void checkPrimaryKey_data();
    void checkPrimaryKey();
    void readCells_data();
    void readCells();
    void rowShortOfCells_data();
    void rowShortOfCells();
    void repeatedTextsShared_data();
    void repeatedTextsShared();
    void lostConnectionOwnerGoneDuringBox();
    void mapLookups();
};

void TestDBTable::appendAndRemove()
{
    DBTable table;
    loadByHand(table, example, threeRows);
    DBRow *row = table.append();
    QCOMPARE(table.m_rows.back().get(), row);
    QVERIFY(row->m_cols == example && row->m_values[0]->isNull());
    // Only a current row is removed: not a stranger, not an original.
    DBRow stranger(example);
    table.remove(&stranger);
    table.remove(table.m_orig[0].get());
    table.remove(table.m_rows[1].get());
    QCOMPARE(table.m_rows.size(), size_t(3));
    QVERIFY(describe(table.m_rows)[1].endsWith(":3|z|News"));
}

void TestDBTable::diff_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QStringList>("statements");

    QTest::newRow("change reverted") << QStringList{"set 0 2 Other", "set 0 2 Mail"} << QStringList();
    QTest::newRow("appended then removed") << QStringList{"append 4 w New", "remove 3"} << QStringList();
    // Deletes first: the server must be left with the row added under the same key.
    QTest::newRow("same key removed and added") << QStringList{"remove 0", "append 1 x Mail"}
                                                << QStringList{"delete from T where a='1' and b='x'",
                                                               "insert T set a='1', b='x', c='Mail'"};
    // [x y z] +w -z [x y w] x.c=M +v -y [x w v]: deletes in original order first.
    QTest::newRow("several removed and new")
        << QStringList{"append 4 w N4", "remove 2", "set 0 2 M", "append 5 v N5", "remove 1"}
        << QStringList{"delete from T where a='2' and b='y'", "delete from T where a='3' and b='z'",
                       "update T set c='M' where a='1' and b='x'", "insert T set a='4', b='w', c='N4'",
                       "insert T set a='5', b='v', c='N5'"};
    // Rows in their originals' places, but two originals share a number: the first pairs.
    QTest::newRow("twins in place") << QStringList{"twin 0 Other"}
                                    << QStringList{"delete from T where a='1' and b='x'"};
    QTest::newRow("rows swapped") << QStringList{"swap 0 1", "set 1 2 X"}
                                  << QStringList{"update T set c='X' where a='1' and b='x'"};
    // Inserts and updates follow the rows' order, wherever their originals stand.
    QTest::newRow("rows reordered")
        << QStringList{"swap 0 2", "set 0 2 Z", "set 2 2 X", "append 4 w N4", "swap 1 3"}
        << QStringList{"update T set c='Z' where a='3' and b='z'", "insert T set a='4', b='w', c='N4'",
                       "update T set c='X' where a='1' and b='x'"};
}

void TestDBTable::diff()
{
    QFETCH(QStringList, script);
    QFETCH(QStringList, statements);

    DBTable table;
    loadByHand(table, example, threeRows);
    edit(table, script);
    const QStringList rowsBefore = describe(table.m_rows);
    const QStringList originalsBefore = describe(table.m_orig);

    QCOMPARE(*table.diff(true), statements);
    // A second run gives the same list and neither run touches the rows.
    QCOMPARE(*table.diff(true), statements);
    QCOMPARE(describe(table.m_rows), rowsBefore);
    QCOMPARE(describe(table.m_orig), originalsBefore);
}

void TestDBTable::diffAfterAnEditOfOneRow_data()
{
    QTest::addColumn<QStringList>("before"); // edits, then a whole diff
    QTest::addColumn<QStringList>("after");  // edits since, the last one in the row edited
    QTest::addColumn<int>("row");            // the row edited; -1 for one of another table

    // Only the row's values changed: its statement is made, kept, replaced or dropped.
    QTest::newRow("first change") << QStringList() << QStringList{"set 1 2 Edited"} << 1;
    QTest::newRow("changed again") << QStringList{"set 1 2 Edited"} << QStringList{"set 1 2 Again"} << 1;
    QTest::newRow("change reverted") << QStringList{"set 1 2 Edited"} << QStringList{"set 1 2 Post"} << 1;
    QTest::newRow("between other statements")
        << QStringList{"set 0 2 A", "set 2 2 C", "remove 3", "append 5 v N5"} << QStringList{"set 1 2 B"} << 1;
    QTest::newRow("key changed after deletes")
        << QStringList{"remove 0", "set 2 2 C"} << QStringList{"set 0 0 22"} << 0;
    QTest::newRow("new row edited") << QStringList{"append 5 v N5", "set 0 2 A"} << QStringList{"set 3 2 Other"} << 3;
    QTest::newRow("nothing changed") << QStringList{"set 0 2 A"} << QStringList() << 2;
    QTest::newRow("row of another table") << QStringList{"set 0 2 A"} << QStringList() << -1;
    // The table is no longer as the whole diff left it: a whole diff again.
    QTest::newRow("row appended since") << QStringList{"set 0 2 A"} << QStringList{"append 5 v N5", "set 1 2 B"} << 1;
    QTest::newRow("row removed since") << QStringList{"set 0 2 A"} << QStringList{"remove 0", "set 1 2 B"} << 1;
    QTest::newRow("rows moved since") << QStringList{"set 0 2 A"} << QStringList{"swap 0 2", "set 1 2 B"} << 1;
    QTest::newRow("statements emptied since") << QStringList{"set 0 2 A"} << QStringList{"withdraw", "set 1 2 B"} << 1;
    QTest::newRow("committed since") << QStringList{"set 0 2 A"} << QStringList{"apply", "set 1 2 B"} << 1;
    QTest::newRow("restored since") << QStringList{"set 0 2 A"} << QStringList{"reset", "set 1 2 B"} << 1;
    QTest::newRow("identity taken since") << QStringList{"set 0 2 A"} << QStringList{"assign 1 0", "set 1 2 B"} << 1;
    // Another row than the one handed in is no longer the row it was: it pairs with another
    // original, or with none.
    QTest::newRow("another row's identity taken since")
        << QStringList{"set 0 2 A"} << QStringList{"assign 0 1", "set 1 2 B"} << 1;
    QTest::newRow("another row replaced where it lay")
        << QStringList{"set 0 2 A"} << QStringList{"renew 0", "set 1 2 B"} << 1;
}

void TestDBTable::diffAfterAnEditOfOneRow()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(int, row);

    DBTable table;
    loadByHand(table, example, {{"1", "x", "Mail"}, {"2", "y", "Post"}, {"3", "z", "News"}, {"4", "w", "Web"}});
    edit(table, before);
    table.diff(true);
    for (const QString &line : after) {
        if (line == QLatin1String("withdraw"))
            table.m_statements.clear();
        else if (line == QLatin1String("apply"))
            QVERIFY(table.apply(false));
        else if (line == QLatin1String("reset"))
            table.reset();
        else if (line.startsWith(QLatin1String("assign ")))
            *table.m_rows[line.section(' ', 1, 1).toInt()] = *table.m_rows[line.section(' ', 2, 2).toInt()];
        else if (line.startsWith(QLatin1String("renew "))) {
            // A new row where a freed one lay, as an allocator may place it: same address,
            // another identity, no original.
            DBRow *place = table.m_rows[size_t(line.section(' ', 1, 1).toInt())].get();
            place->~DBRow();
            new (place) DBRow(example);
            setTexts(*place, {"9", "n", "New"});
        }
        else
            edit(table, {line});
    }
    DBRow stranger(example);
    const QStringList fromOneRow = *table.diffAfterEditOf(row < 0 ? &stranger : table.m_rows[size_t(row)].get(), true);
    QCOMPARE(fromOneRow, *table.diff(true));
    // Once more from the row alone, now that the list is the whole diff's: made from that
    // row alone, it misses a change elsewhere that nobody told of.
    if (row >= 0) {
        const int elsewhere = row == 0 ? 1 : 0;
        edit(table, {QStringLiteral("set %1 2 Untold").arg(elsewhere)});
        const QStringList untold = *table.diffAfterEditOf(table.m_rows[size_t(row)].get(), true);
        QVERIFY(!untold.join('\n').contains(QLatin1String("Untold")));
        QVERIFY(table.diff(true)->join('\n').contains(QLatin1String("Untold")));
    }
    // Once more from the row alone, now that the list is the whole diff's.
    if (row >= 0) {
        edit(table, {QStringLiteral("set %1 2 Last").arg(row)});
        const QStringList again = *table.diffAfterEditOf(table.m_rows[size_t(row)].get(), true);
        QCOMPARE(again, *table.diff(true));
    }
}

void TestDBTable::resetRowMadeWhereTheEditedOneLay_data()
{
    QTest::addColumn<bool>("ownRow");      // the row handed in: the table's, or another table's
    QTest::addColumn<QString>("note");     // typed into the row's third cell after the reset
    QTest::addColumn<QStringList>("list"); // what the table hands over then

    // A page with two tables hands each edited row to both: the one without it keeps its list.
    QTest::newRow("a row of another table") << false << QString() << QStringList();
    QTest::newRow("the restored row edited")
        << true << "Post" << QStringList{"update T set c='Post' where a='1' and b='x'"};
}

// A reset makes the row anew, and an allocator may place it where the edited row lay, with
// the same identity: the list the last diff left must not be taken for the table's then.
void TestDBTable::resetRowMadeWhereTheEditedOneLay()
{
    QFETCH(bool, ownRow);
    QFETCH(QString, note);
    QFETCH(QStringList, list);

    DBTable table;
    loadByHand(table, example, {{"1", "x", "Mail"}});
    edit(table, {"set 0 2 Edited"});
    QCOMPARE(*table.diff(true), QStringList{"update T set c='Edited' where a='1' and b='x'"});

    // The edited row is kept aside while the reset makes its copy, and the copy is then made
    // again in the edited row's place.
    std::unique_ptr<DBRow> place = std::move(table.m_rows[0]);
    table.m_rows[0] = std::make_unique<DBRow>(*place);
    table.reset();
    QCOMPARE(table.m_rows.size(), size_t(1));
    place->~DBRow();
    new (place.get()) DBRow(*table.m_rows[0]);
    table.m_rows[0] = std::move(place);
    QCOMPARE(describe(table.m_rows), describe(table.m_orig));

    DBRow stranger(example);
    DBRow *handed = ownRow ? table.m_rows[0].get() : &stranger;
    if (!note.isEmpty())
        edit(table, {QStringLiteral("set 0 2 ") + note});
    QCOMPARE(*table.diffAfterEditOf(handed, true), list);
    QCOMPARE(*table.diff(true), list);
}

void TestDBTable::editsHandedInOneByOneAgreeWithWholeDiffs_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed = 1; seed <= 6; ++seed)
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

// Two tables edited alike, step by step as a page edits them: one hands in each edit of a
// row from that row alone, the other makes its whole difference every time. The lists must
// never part, whatever the edits (keys changed and changed back, rows added, removed,
// committed, reset). Few texts, so that edits often undo each other or meet another key.
void TestDBTable::editsHandedInOneByOneAgreeWithWholeDiffs()
{
    QFETCH(quint32, seed);
    QRandomGenerator random(seed);
    const QStringList texts{"1", "2", "x", "y", "Mail", "Post"};
    const auto anyText = [&] { return texts.at(int(random.bounded(texts.size()))); };
    QList<QStringList> rows;
    for (int i = 0; i < 12; ++i)
        rows.append({anyText(), QString::number(i), anyText()});
    DBTable byRow;
    DBTable whole;
    loadByHand(byRow, example, rows);
    loadByHand(whole, example, rows);
    byRow.diff(true);

    for (int step = 0; step < 300; ++step) {
        const int count = int(whole.m_rows.size());
        const quint32 kind = random.bounded(20u);
        QString line;
        if (kind < 15 && count > 0) {
            const int row = int(random.bounded(count));
            line = QStringLiteral("set %1 %2 %3").arg(row).arg(random.bounded(3)).arg(anyText());
            edit(byRow, {line});
            edit(whole, {line});
            byRow.diffAfterEditOf(byRow.m_rows[size_t(row)].get(), true);
        } else {
            if (kind < 17)
                line = QStringLiteral("append %1 n%2 %3").arg(anyText()).arg(step).arg(anyText());
            else if (kind < 18 && count > 0)
                line = QStringLiteral("remove %1").arg(random.bounded(count));
            if (!line.isEmpty()) {
                edit(byRow, {line});
                edit(whole, {line});
            } else if (kind == 18) {
                line = QStringLiteral("apply");
                QVERIFY(byRow.apply(false));
                QVERIFY(whole.apply(false));
            } else {
                line = QStringLiteral("reset");
                byRow.reset();
                whole.reset();
            }
            byRow.diff(true);
        }
        whole.diff(true);
        QVERIFY2(byRow.m_statements == whole.m_statements,
                 qPrintable(QStringLiteral("step %1, %2:\n%3\n-- against --\n%4")
                                .arg(step)
                                .arg(line, byRow.m_statements.join('\n'), whole.m_statements.join('\n'))));
    }
}

void TestDBTable::diffWithoutKeys()
{
    DBTable table;
    loadByHand(table, keyless, {{"mail.example.com"}, {"old"}});
    edit(table, {"set 0 0 smtp.example.com", "remove 1"});
    QCOMPARE(*table.diff(true), (QStringList{"delete from T where ", "update T set hostname='smtp.example.com'"}));
}

void TestDBTable::originalsPairByIdentity()
{
    DBTable table;
    loadByHand(table, example, threeRows);
    QCOMPARE(table.findorig(table.append()->m_id), -1);
    table.m_rows.pop_back();
    // Of two originals with one number (a committed copy leaves them) the first pairs, here and in diff.
    table.m_orig.push_back(std::make_unique<DBRow>(*table.m_rows[0]));
    table.m_orig.back()->m_values[2]->set("Post");
    QCOMPARE(table.findorig(table.m_rows[0]->m_id), 0);
    QVERIFY(table.m_orig[0]->m_matched && !table.m_orig[1]->m_matched);
    QCOMPARE(*table.diff(true), QStringList{"delete from T where a='1' and b='x'"});
}

void TestDBTable::twinsPairWithTheFirstOriginal_data()
{
    QTest::addColumn<QString>("twin");         // the edit that makes the twins
    QTest::addColumn<int>("edited");           // the twin then edited and handed in alone
    QTest::addColumn<QStringList>("statements"); // before the edit
    QTest::addColumn<QStringList>("afterEdit");

    // Two rows with one number side by side, as a committed copy leaves them, and their two
    // originals: both rows pair with the first original, wherever in the table they stand, so
    // the second original is deleted and an edit of either row updates against the first.
    const QList<QStringList> keys{{"1", "x"}, {"2", "y"}, {"3", "z"}};
    const QStringList where{"at the start", "in the middle", "at the end"};
    for (int at = 0; at < 3; ++at) {
        const QString key = QStringLiteral("a='%1' and b='%2'").arg(keys[at][0], keys[at][1]);
        const QStringList removal{QStringLiteral("delete from T where ") + key};
        const QString update = QStringLiteral("update T set c='Again' where ") + key;
        for (int which = 0; which < 2; ++which) {
            QTest::addRow("%s, the %s twin edited", qPrintable(where[at]), which == 0 ? "first" : "last")
                << QStringLiteral("twinbeside %1 Other").arg(at) << at + which << removal << removal + QStringList{update};
        }
    }
}

void TestDBTable::twinsPairWithTheFirstOriginal()
{
    QFETCH(QString, twin);
    QFETCH(int, edited);
    QFETCH(QStringList, statements);
    QFETCH(QStringList, afterEdit);

    DBTable table;
    loadByHand(table, example, threeRows);
    edit(table, {twin});
    QCOMPARE(table.m_rows.size(), size_t(4));
    QCOMPARE(*table.diff(true), statements);

    // Handed in from the row alone, as a page does after an edit: the same pairing.
    edit(table, {QStringLiteral("set %1 2 Again").arg(edited)});
    QCOMPARE(*table.diffAfterEditOf(table.m_rows[size_t(edited)].get(), true), afterEdit);
    QCOMPARE(*table.diff(true), afterEdit);
}

void TestDBTable::applyAndReset()
{
    DBTable table;
    loadByHand(table, example, threeRows);
    const QStringList loaded = describe(table.m_orig);
    // Without statements nothing is committed, whatever the rows hold.
    edit(table, {"set 0 2 Edited"});
    QVERIFY(table.apply(false));
    QCOMPARE(describe(table.m_orig), loaded);

    edit(table, {"remove 2", "append 4 w New"});
    const QStringList statements = *table.diff(true);
    table.reset();
    QCOMPARE(describe(table.m_rows), loaded);
    QCOMPARE(describe(table.m_orig), loaded);
    QVERIFY(table.m_rows[0].get() != table.m_orig[0].get());
    QCOMPARE(table.m_statements, statements); // kept until the next diff

    edit(table, {"remove 1", "append 4 w New"});
    QCOMPARE(table.diff(true)->size(), 2);
    QVERIFY(table.apply(false)); // not sending: nothing can fail
    QCOMPARE(describe(table.m_orig), describe(table.m_rows));
    QVERIFY(table.diff(true)->isEmpty());
}

void TestDBTable::carriedOutRowsBecomeStored_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QStringList>("statements"); // the difference the script makes
    QTest::addColumn<int>("carriedOut");         // how many of them, from the first
    QTest::addColumn<QStringList>("again");      // the same rows edited once more afterwards
    QTest::addColumn<QStringList>("next");       // the difference then

    const QString deleteY = QStringLiteral("delete from T where a='2' and b='y'");
    const QString deleteZ = QStringLiteral("delete from T where a='3' and b='z'");
    const QString updateX = QStringLiteral("update T set c='M' where a='1' and b='x'");
    const QString insertW = QStringLiteral("insert T set a='4', b='w', c='N4'");
    const QString insertV = QStringLiteral("insert T set a='5', b='v', c='N5'");
    const QStringList mixed{deleteY, deleteZ, updateX, insertW, insertV};
    const QStringList script{"append 4 w N4", "remove 2", "set 0 2 M", "append 5 v N5", "remove 1"};
    // Rows now: x, w, v. Edited once more: x back to what was loaded, w anew. A stored
    // update makes x's return an update of its own, a stored insert makes w's edit an update.
    const QStringList again{"set 0 2 Mail", "set 1 2 W2"};
    const QString xBack = QStringLiteral("update T set c='Mail' where a='1' and b='x'");
    const QString wStored = QStringLiteral("update T set c='W2' where a='4' and b='w'");
    const QString wNew = QStringLiteral("insert T set a='4', b='w', c='W2'");
    const QList<QStringList> next{
        {deleteY, deleteZ, wNew, insertV},
        {deleteZ, wNew, insertV},
        {wNew, insertV},
        {xBack, wNew, insertV},
        {xBack, wStored, insertV},
        {xBack, wStored},
    };
    for (int k = 0; k <= mixed.size(); ++k) {
        QTest::addRow("deletes, update, inserts: %d carried out", k)
            << script << mixed << k << again << next.at(k);
    }

    // A key changed: the original takes the new key, and the next update names it.
    const QString rekey = QStringLiteral("update T set a='9', c='K' where a='1' and b='x'");
    QTest::newRow("key changed, carried out")
        << QStringList{"set 0 0 9", "set 0 2 K"} << QStringList{rekey} << 1 << QStringList{"set 0 2 L"}
        << QStringList{"update T set c='L' where a='9' and b='x'"};
    QTest::newRow("key changed, refused")
        << QStringList{"set 0 0 9", "set 0 2 K"} << QStringList{rekey} << 0 << QStringList{"set 0 2 L"}
        << QStringList{"update T set a='9', c='L' where a='1' and b='x'"};
    // The same key removed and added: the delete went through, the insert did not.
    QTest::newRow("same key removed and added, delete carried out")
        << QStringList{"remove 0", "append 1 x Mail"}
        << QStringList{"delete from T where a='1' and b='x'", "insert T set a='1', b='x', c='Mail'"} << 1
        << QStringList{"set 2 2 Again"} << QStringList{"insert T set a='1', b='x', c='Again'"};
}

// An apply stopped after the first statements: the rows behind exactly those become stored,
// the table's difference is the rest, and the next edit's difference is made against what
// the server now holds.
void TestDBTable::carriedOutRowsBecomeStored()
{
    QFETCH(QStringList, script);
    QFETCH(QStringList, statements);
    QFETCH(int, carriedOut);
    QFETCH(QStringList, again);
    QFETCH(QStringList, next);

    DBTable table;
    loadByHand(table, example, threeRows);
    edit(table, script);
    QCOMPARE(*table.diff(true), statements);

    // A statement of another owner in between is left for that owner.
    const QString foreign = QStringLiteral("update user set groups+=\"staff\" where name=\"ann\"");
    QStringList sent = statements.mid(0, carriedOut);
    sent.insert(sent.size() / 2, foreign);
    CarriedOut done(sent);
    QCOMPARE(table.storeCarriedOut(done), carriedOut);
    QCOMPARE(table.m_statements, statements.mid(carriedOut));
    QVERIFY(done.take(foreign));
    QVERIFY(done.isEmpty());
    QCOMPARE(*table.diff(true), statements.mid(carriedOut));
    // Nothing is stored twice.
    CarriedOut sentAgain(statements.mid(0, carriedOut));
    QCOMPARE(table.storeCarriedOut(sentAgain), 0);

    // Edited once more and handed in from each edited row alone, as a page does: the same
    // list as a whole difference.
    for (const QString &line : again) {
        edit(table, {line});
        table.diffAfterEditOf(table.m_rows[size_t(line.section(' ', 1, 1).toInt())].get(), true);
    }
    QCOMPARE(table.m_statements, next);
    QCOMPARE(*table.diff(true), next);
}

void TestDBTable::sameStatementTwiceStoredOnce_data()
{
    QTest::addColumn<QStringList>("carriedOut");
    QTest::addColumn<QStringList>("rest"); // the difference afterwards
    QTest::addColumn<QStringList>("stored"); // the rows given originals, by their cells

    const QString insertW = QStringLiteral("insert T set a='4', b='w', c='N4'");
    const QString insertV = QStringLiteral("insert T set a='5', b='v', c='N5'");
    QTest::newRow("one copy and the other insert")
        << QStringList{insertW, insertV} << QStringList{insertW} << QStringList{"4|w|N4", "5|v|N5"};
    QTest::newRow("the other insert and one copy")
        << QStringList{insertV, insertW} << QStringList{insertW} << QStringList{"4|w|N4", "5|v|N5"};
    QTest::newRow("one copy") << QStringList{insertW} << QStringList{insertW, insertV} << QStringList{"4|w|N4"};
    QTest::newRow("both copies") << QStringList{insertW, insertW} << QStringList{insertV}
                                 << QStringList{"4|w|N4", "4|w|N4"};
}

// Two new rows alike make the same insert twice. Where one of them was carried out, only one
// row becomes stored: the other insert is still to be sent.
void TestDBTable::sameStatementTwiceStoredOnce()
{
    QFETCH(QStringList, carriedOut);
    QFETCH(QStringList, rest);
    QFETCH(QStringList, stored);

    DBTable table;
    loadByHand(table, example, threeRows);
    edit(table, {"append 4 w N4", "append 4 w N4", "append 5 v N5"});
    const QStringList statements = *table.diff(true);
    QCOMPARE(statements.size(), 3);
    QCOMPARE(statements.at(0), statements.at(1));

    CarriedOut done(carriedOut);
    QCOMPARE(table.storeCarriedOut(done), int(carriedOut.size()));
    QVERIFY(done.isEmpty());
    QCOMPARE(table.m_statements, rest);
    QCOMPARE(*table.diff(true), rest);
    // The originals the loaded rows have, then those of the rows stored.
    const QStringList described = describe(table.m_orig);
    QStringList originals;
    for (qsizetype i = threeRows.size(); i < described.size(); ++i)
        originals << described.at(i).section(QLatin1Char(':'), 1);
    originals.sort();
    QCOMPARE(originals, stored);
}

void TestDBTable::checkPrimaryKey_data()
{
    QTest::addColumn<const DBCOL *>("cols");
    QTest::addColumn<QString>("rows");      // rows split by ';', cells by '|'
    QTest::addColumn<QString>("candidate");
    QTest::addColumn<bool>("nocase");
    QTest::addColumn<bool>("unique");
    QTest::addColumn<int>("reason"); // -1: no reason asked for

    // Column by column: a joined "###" form would make "a###b|c" and "a|b###c" alike.
    const DBCOL *const ex = example;
    const DBCOL *const typed = keyedKinds;
    const DBCOL *const noKey = keyless;
    const QString rows = "1|x|Mail;2|y|Post;a###b|c|";
    const QString kinds = "host|10.0.0.1|25|1|1|a";
    QTest::newRow("unique") << ex << rows << "1|w|Mail" << true << true << 0;
    QTest::newRow("duplicate") << ex << rows << "2|y|Other" << true << false << 0;
    QTest::newRow("case only, nocase") << ex << rows << "2|Y|Post" << true << false << -1;
    QTest::newRow("case only, exact") << ex << rows << "2|Y|Post" << false << true << -1;
    QTest::newRow("separator inside a value") << ex << rows << "a|b###c|" << true << true << 0;
    QTest::newRow("empty key text") << ex << rows << "4||New" << true << false << 10;
    QTest::newRow("null address") << typed << kinds << "mx|0.0.0.0|25|1|1|" << true << false << 11;
    QTest::newRow("port zero") << typed << kinds << "mx|10.0.0.2|0|1|1|" << true << false << 12;
    QTest::newRow("number zero") << typed << kinds << "mx|10.0.0.2|25|0|1|" << true << false << 13;
    QTest::newRow("zeros unchecked without reason") << typed << kinds << "mx|0.0.0.0|0|0|0|" << true << true << -1;
    QTest::newRow("no key column, other rows") << noKey << "a" << "b" << true << false << -1;
}

void TestDBTable::checkPrimaryKey()
{
    QFETCH(const DBCOL *, cols);
    QFETCH(QString, rows);
    QFETCH(QString, candidate);
    QFETCH(bool, nocase);
    QFETCH(bool, unique);
    QFETCH(int, reason);

    DBTable table;
    QList<QStringList> loaded;
    for (const QString &row : rows.split(';', Qt::SkipEmptyParts))
        loaded.append(row.split('|'));
    loadByHand(table, cols, loaded);
    DBRow *row = table.append();
    setTexts(*row, candidate.split('|'));
    int given = -1;
    QCOMPARE(table.check_primary_key(row, reason >= 0 ? &given : nullptr, nocase), unique);
    QCOMPARE(given, reason);

    // The row itself does not count, a copy of it (same identity number) does.
    if (unique) {
        DBRow copy(*row);
        QVERIFY(!table.check_primary_key(&copy, nullptr, nocase));
    }
}

void TestDBTable::readCells_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QByteArray>("cell"); // null: the answer has no such cell
    QTest::addColumn<QString>("text");    // null: the value stays null
    QTest::addColumn<int>("reads");

    QTest::newRow("INT") << int(I) << bytes<int32_t>(-42) << QString("-42") << 1;
    QTest::newRow("INT too short") << int(I) << bytes<int16_t>(42) << QString() << 1;
    QTest::newRow("INT too long") << int(I) << bytes<int64_t>(42) << QString() << 1;
    QTest::newRow("STRING") << int(S) << QByteArray("it's\0", 5) << QString("it's") << 1;
    QTest::newRow("STRING empty") << int(S) << QByteArray("\0", 1) << QString("") << 1;
    QTest::newRow("STRING without zero byte") << int(S) << QByteArray("abc") << QString("abc") << 1;
    QTest::newRow("STRING of 4096") << int(S) << QByteArray(4096, 'b') + '\0' << QString(4096, 'b') << 2;
    QTest::newRow("BINARY") << int(B) << QByteArray("\xff\x00\x7f", 3) << QString("ff007f") << 1;
    QTest::newRow("BINARY of 5000") << int(B) << QByteArray(5000, '\x5a') << QString("5a").repeated(5000) << 2;
    QTest::newRow("IDLIST") << int(D) << listForm("a,,bc") << QString("a,,bc") << 1;
    QByteArray longList = "x";
    while (listForm(longList + ",item").size() <= 4096)
        longList += ",item";
    QTest::newRow("IDLIST as long as a list value") << int(D) << listForm(longList) << QString(longList) << 1;
    // Longer than a list value holds: null rather than cut short.
    QTest::newRow("IDLIST too long") << int(D) << listForm(longList + ",item") << QString() << 2;
    QTest::newRow("PWD never read") << int(W) << QByteArray("secret\0", 7) << QString() << 0;
}

void TestDBTable::readCells()
{
    QFETCH(int, column);
    QFETCH(QByteArray, cell);
    QFETCH(QString, text);
    QFETCH(int, reads);

    // Answers as DBReq::read does: the cell when it fits, else its length.
    QList<int> readsOf(EveryTypeCount, 0);
    DBRow row(everyType);
    readAnswerRow(&row, 0, [&](int, int c, void *buffer, int *length) {
        ++readsOf[c];
        const int room = *length;
        *length = int(cell.size());
        if (c != column || cell.isNull() || cell.size() > room)
            return false;
        std::memcpy(buffer, cell.constData(), size_t(cell.size()));
        return true;
    });
    QCOMPARE(row.m_values[column]->isNull(), text.isNull());
    QCOMPARE(row.m_values[column]->text(), text);
    QCOMPARE(readsOf[column], reads);
    QCOMPARE(readsOf[W] + readsOf[V], 0);
}

// An answer row that carries fewer cells than the row has columns: the first column read
// (PWD and VOID are not) whose cell did not come is named. A cell that came but does not fit
// its kind, or is empty, was carried: its value stays null, and that is no gap.
void TestDBTable::rowShortOfCells_data()
{
    QTest::addColumn<int>("carried");   // cells 0 .. carried-1 arrive
    QTest::addColumn<QByteArray>("cell"); // what each of them holds
    QTest::addColumn<int>("firstMissing");

    QTest::newRow("every cell") << int(EveryTypeCount) << QByteArray() << -1;
    QTest::newRow("all but PWD and VOID, never read") << int(W) << QByteArray() << -1;
    QTest::newRow("no IDLIST cell") << int(D) << QByteArray() << int(D);
    QTest::newRow("the key alone") << int(T) << QByteArray() << int(T);
    QTest::newRow("not even the key") << 0 << QByteArray() << int(S);
    QTest::newRow("no INT64 cell after a bad INT cell") << int(L) << QByteArray(3, 'x') << int(L);
    QTest::newRow("cells too long for their kind") << int(W) << QByteArray(9, 'x') << -1;
    QTest::newRow("cells longer than a first read") << int(W) << QByteArray(5000, 'x') << -1;
}

void TestDBTable::rowShortOfCells()
{
    QFETCH(int, carried);
    QFETCH(QByteArray, cell);
    QFETCH(int, firstMissing);

    // Answers as DBReq::read does: a cell out of the answer's range fails and leaves the
    // length as it was; a cell too long for the buffer fails with its length.
    DBRow row(everyType);
    const int missing = readAnswerRow(&row, 0, [&](int, int c, void *buffer, int *length) {
        if (c >= carried)
            return false;
        const int room = *length;
        *length = int(cell.size());
        if (cell.size() > room)
            return false;
        std::memcpy(buffer, cell.constData(), size_t(cell.size()));
        return true;
    });
    QCOMPARE(missing, firstMissing);
    for (int c = carried; c < EveryTypeCount; ++c)
        QVERIFY(row.m_values[c]->isNull());
}

// Rows read in order through one RepeatedTexts: a STRING cell with the bytes of the one
// above it shares its text, any other has a text of its own, and every text reads as the
// cell says.
void TestDBTable::repeatedTextsShared_data()
{
    QTest::addColumn<QList<QByteArray>>("cells"); // one per row, column S
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<bool>>("sharedWithAbove");

    QTest::newRow("a run, then another text")
        << QList<QByteArray>{"lake", "lake", QByteArray("lake\0", 5), "hill"}
        << QStringList{"lake", "lake", "lake", "hill"} << QList<bool>{false, true, true, false};
    QTest::newRow("a prefix is not the text")
        << QList<QByteArray>{"ab", "a", "ab", "ab"} << QStringList{"ab", "a", "ab", "ab"}
        << QList<bool>{false, false, false, true};
    QTest::newRow("not across another text")
        << QList<QByteArray>{"x", "y", "x"} << QStringList{"x", "y", "x"}
        << QList<bool>{false, false, false};
    QTest::newRow("empty texts stay values")
        << QList<QByteArray>{QByteArray("\0", 1), QByteArray("\0", 1), "\xc3\xa4"}
        << QStringList{"", "", "\u00e4"} << QList<bool>{false, true, false};
}

void TestDBTable::repeatedTextsShared()
{
    QFETCH(QList<QByteArray>, cells);
    QFETCH(QStringList, texts);
    QFETCH(QList<bool>, sharedWithAbove);

    RepeatedTexts repeated;
    std::vector<std::unique_ptr<DBRow>> rows;
    for (int r = 0; r < cells.size(); ++r) {
        rows.push_back(std::make_unique<DBRow>(everyType));
        readAnswerRow(rows.back().get(), r, [&](int answerRow, int c, void *buffer, int *length) {
            const QByteArray &cell = cells.at(answerRow);
            const int room = *length;
            *length = int(cell.size());
            if (c != S || cell.size() > room)
                return false;
            std::memcpy(buffer, cell.constData(), size_t(cell.size()));
            return true;
        }, &repeated);
    }
    for (int r = 0; r < cells.size(); ++r) {
        const QString text = rows[size_t(r)]->m_values[S]->text();
        QVERIFY(!text.isNull());
        QCOMPARE(text, texts.at(r));
        if (r > 0 && !text.isEmpty()) {
            const QString above = rows[size_t(r) - 1]->m_values[S]->text();
            QCOMPARE(text.constData() == above.constData(), sharedWithAbove.at(r));
        }
    }
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

void TestDBTable::mapLookups()
{
    // Labels in table order up to the null label; the last exact match of the stored text is current.
    using Current = std::pair<const char *, int>;
    for (const auto &[value, current] : {Current("1", 3), Current("x", 0), Current(nullptr, 0)}) {
        QComboBox combo;
        ::fillCombo(&combo, modes, value);
        QCOMPARE(combo.count(), 4);
        QCOMPARE(combo.currentIndex(), current);
    }
    const DBMAP emptyMap[] = {{"0", nullptr}, {"0", "Hidden"}};
    QCOMPARE(map2str(modes, "x"), QString("Extended"));
    QCOMPARE(map2str(modes, "3"), QString(""));
    QCOMPARE(map2str(emptyMap, "0"), QString(""));
    QCOMPARE(str2map(modes, "ENABLED again"), QString("1"));
    QCOMPARE(str2map(modes, "Beyond the end"), QString(""));

    // "0" is off, any other text on, when sense is true; sense false turns both round.
    using Check = std::tuple<const char *, bool, bool>;
    for (const auto &[text, sense, checked] : {Check("0", false, true), Check("1", true, true),
                                               Check("yes", false, false), Check(nullptr, true, false)}) {
        QCheckBox box;
        box.setChecked(!checked);
        ::setCheckBox(&box, text, sense);
        QCOMPARE(box.isChecked(), checked);
    }
}

QTEST_MAIN(TestDBTable)
#include "tst_dbtable.moc"
