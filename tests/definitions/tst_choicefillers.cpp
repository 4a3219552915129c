#include "ipaccesslist.h"
#include "tablebyhand.h"
#include "timeintervals.h"

#include <QComboBox>
#include <QtTest>

namespace {

enum class Filler { AddressGroups, TimeRanges };

// A table of the filler's kind whose rows carry these names; the other cells are filled.
void loadNames(DBTable& table, Filler filler, const QStringList& names)
{
    QList<QStringList> rows;
    for (int i = 0; i < names.size(); ++i) {
        if (filler == Filler::AddressGroups)
            rows.append({names.at(i), QStringLiteral("10.0.0.%1").arg(i), "entry"});
        else
            rows.append({names.at(i), QStringLiteral("interval %1").arg(i), "1", "12345", "480", "1080"});
    }
    loadByHand(table, filler == Filler::AddressGroups ? dbcol_ipacl : dbcol_time, rows);
}

void fill(Filler filler, DBTable* table, QComboBox* combo, const QString& current, bool withEmpty)
{
    if (filler == Filler::AddressGroups)
        fillComboFromAcl(table, combo, current, withEmpty);
    else
        fillComboFromTime(table, combo, current, withEmpty);
}

QStringList entriesOf(const QComboBox& combo)
{
    QStringList entries;
    for (int i = 0; i < combo.count(); ++i)
        entries.append(combo.itemText(i));
    return entries;
}

} // namespace

Q_DECLARE_METATYPE(Filler)

class TestChoiceFillers : public QObject
{
    Q_OBJECT

private slots:
    void fillsNamesOnceInRowOrder_data();
    void fillsNamesOnceInRowOrder();
    void replacesWhatTheBoxHeld_data();
    void replacesWhatTheBoxHeld();
};

void TestChoiceFillers::fillsNamesOnceInRowOrder_data()
{
    QTest::addColumn<Filler>("filler");
    QTest::addColumn<QStringList>("names"); // of the rows, in row order
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("withEmpty");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<int>("chosen");

    for (Filler filler : {Filler::AddressGroups, Filler::TimeRanges}) {
        const char* kind = filler == Filler::AddressGroups ? "groups: " : "ranges: ";
        auto row = [kind](const char* name) -> QTestData& { return QTest::newRow(qPrintable(kind + QString::fromLatin1(name))); };
        const QStringList names{"Office", "Relays", "Office", "Blocked", "Relays"};
        const QStringList once{"Office", "Relays", "Blocked"};

        row("row order, each name once") << filler << names << "Office" << false << once << 0;
        row("current in the middle") << filler << names << "Blocked" << false << once << 2;
        row("current after the empty entry")
            << filler << names << "Relays" << true << QStringList{"", "Office", "Relays", "Blocked"} << 2;
        row("unknown current keeps the first") << filler << names << "Lab" << false << once << 0;
        row("unknown current keeps the empty entry")
            << filler << names << "Lab" << true << QStringList{"", "Office", "Relays", "Blocked"} << 0;
        row("letter case counts") << filler << names << "blocked" << false << once << 0;
        row("names differing in case are two") << filler << QStringList{"lab", "Lab"} << "Lab" << false
                                               << QStringList{"lab", "Lab"} << 1;
        row("empty current chooses the empty entry") << filler << names << "" << true
                                                     << QStringList{"", "Office", "Relays", "Blocked"} << 0;
        row("an empty name beside the empty entry stands once")
            << filler << QStringList{"", "Office"} << "Office" << true << QStringList{"", "Office"} << 1;
        row("no rows") << filler << QStringList{} << "Office" << false << QStringList{} << -1;
        row("no rows, with the empty entry") << filler << QStringList{} << "Office" << true << QStringList{""} << 0;
    }
}

void TestChoiceFillers::fillsNamesOnceInRowOrder()
{
    QFETCH(Filler, filler);
    QFETCH(QStringList, names);
    QFETCH(QString, current);
    QFETCH(bool, withEmpty);
    QFETCH(QStringList, entries);
    QFETCH(int, chosen);

    DBTable table;
    loadNames(table, filler, names);
    QComboBox combo;
    fill(filler, &table, &combo, current, withEmpty);
    QCOMPARE(entriesOf(combo), entries);
    QCOMPARE(combo.currentIndex(), chosen);
}

void TestChoiceFillers::replacesWhatTheBoxHeld_data()
{
    QTest::addColumn<Filler>("filler");
    QTest::newRow("groups") << Filler::AddressGroups;
    QTest::newRow("ranges") << Filler::TimeRanges;
}

void TestChoiceFillers::replacesWhatTheBoxHeld()
{
    QFETCH(Filler, filler);

    QComboBox combo;
    combo.addItems({"stale", "Office"});
    combo.setCurrentIndex(1);
    DBTable table;
    loadNames(table, filler, {"Relays"});
    fill(filler, &table, &combo, "Office", false);
    QCOMPARE(entriesOf(combo), QStringList{"Relays"});
    QCOMPARE(combo.currentIndex(), 0);

    // A table that was never loaded leaves the box with only what the caller asked for.
    DBTable unloaded;
    fill(filler, &unloaded, &combo, "Relays", true);
    QCOMPARE(entriesOf(combo), QStringList{""});
}

QTEST_MAIN(TestChoiceFillers)
#include "tst_choicefillers.moc"
