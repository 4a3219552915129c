// The memory that lets a dialog write back a stored value its fields cannot show: for each
// kind of widget a field may consist of, what value() gives when the field is left alone,
// changed, or changed and changed back.

#include "untouchedfields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QWidget>
#include <QtTest>

#include <functional>

namespace {

// A dialog's worth of widgets: a check box, three radio buttons, a choice box with two
// entries and a line edit, each filled as a page would fill them.
struct Widgets
{
    Widgets()
    {
        for (QRadioButton* button : {&none, &read, &write})
            button->setParent(&dialog);
        none.setChecked(true);
        box.addItems({"Plain", "APOP"});
        edit.setText("5");
        spin.setRange(0, 2359);
        spin.setValue(700);
        for (const char* method : {"PLAIN", "LOGIN"}) {
            auto* item = new QTreeWidgetItem(&list, QStringList{method});
            item->setCheckState(0, Qt::Checked);
        }
    }

    QWidget dialog;
    QCheckBox check{&dialog};
    QRadioButton none;
    QRadioButton read;
    QRadioButton write;
    QComboBox box{&dialog};
    QLineEdit edit{&dialog};
    QSpinBox spin{&dialog};
    QTreeWidget list{&dialog};
};

using Change = std::function<void(Widgets&)>;

} // namespace

class TestUntouchedFields : public QObject
{
    Q_OBJECT

private slots:
    void value_data();
    void value();
    void forgottenNameGivesTheEditedValue();
    void settledFieldKeepsWhatTheServerNowHolds();
    void refilledWidgetIsMeasuredAnew_data();
    void refilledWidgetIsMeasuredAnew();
};

void TestUntouchedFields::value_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<Change>("change");
    QTest::addColumn<bool>("touched");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("newRow");

    const Change nothing = [](Widgets&) {};
    QTest::newRow("untouched: the stored value") << "77" << nothing << false << "77" << false;
    // A null cell the server holds is no 0 anybody entered.
    QTest::newRow("untouched, stored empty: kept empty") << "" << nothing << false << "" << false;
    QTest::newRow("changed, stored empty: the field's value")
        << "" << Change([](Widgets& w) { w.check.setChecked(true); }) << true << "edited" << false;
    // A new row's insert carries every cell: what the field shows.
    QTest::newRow("new row, untouched, stored empty: the field's value")
        << "" << nothing << false << "edited" << true;
    QTest::newRow("new row, untouched, a preset: the preset") << "1" << nothing << false << "1" << true;
    QTest::newRow("check box toggled") << "77" << Change([](Widgets& w) { w.check.setChecked(true); }) << true
                                       << "edited" << false;
    QTest::newRow("check box toggled and back") << "77" << Change([](Widgets& w) {
        w.check.setChecked(true);
        w.check.setChecked(false);
    }) << false << "77" << false;
    QTest::newRow("another radio button") << "77" << Change([](Widgets& w) { w.write.setChecked(true); }) << true
                                          << "edited" << false;
    QTest::newRow("the same radio button chosen again")
        << "77" << Change([](Widgets& w) { w.none.setChecked(true); }) << false << "77" << false;
    QTest::newRow("another entry") << "77" << Change([](Widgets& w) { w.box.setCurrentIndex(1); }) << true
                                   << "edited" << false;
    QTest::newRow("an entry's text changed under it")
        << "77" << Change([](Widgets& w) { w.box.setItemText(0, "Other"); }) << true << "edited" << false;
    QTest::newRow("text typed") << "77" << Change([](Widgets& w) { w.edit.setText("6"); }) << true << "edited" << false;
    QTest::newRow("text typed over with the same") << "77" << Change([](Widgets& w) { w.edit.setText("5"); })
                                                   << false << "77" << false;
    // A spin box shows a stored 2500 as its top: only a step of the administrator's counts.
    QTest::newRow("spin box stepped") << "2500" << Change([](Widgets& w) { w.spin.stepDown(); }) << true
                                      << "edited" << false;
    QTest::newRow("spin box stepped and back") << "2500" << Change([](Widgets& w) {
        w.spin.stepDown();
        w.spin.stepUp();
    }) << false << "2500" << false;
    QTest::newRow("a list entry's check turned off")
        << "PLAIN,CRAM" << Change([](Widgets& w) { w.list.topLevelItem(1)->setCheckState(0, Qt::Unchecked); })
        << true << "edited" << false;
    QTest::newRow("a list entry's check turned off and on")
        << "PLAIN,CRAM" << Change([](Widgets& w) {
               w.list.topLevelItem(1)->setCheckState(0, Qt::Unchecked);
               w.list.topLevelItem(1)->setCheckState(0, Qt::Checked);
           }) << false << "PLAIN,CRAM" << false;
}

void TestUntouchedFields::value()
{
    QFETCH(QString, stored);
    QFETCH(Change, change);
    QFETCH(bool, touched);
    QFETCH(QString, written);
    QFETCH(bool, newRow);

    Widgets w;
    UntouchedFields fields;
    fields.setNewRow(newRow);
    fields.remember("field", stored,
                    {&w.check, &w.none, &w.read, &w.write, &w.box, &w.edit, &w.spin, &w.list});
    change(w);
    QCOMPARE(fields.isTouched("field"), touched);
    QCOMPARE(fields.value("field", "edited"), written);
}

void TestUntouchedFields::forgottenNameGivesTheEditedValue()
{
    Widgets w;
    UntouchedFields fields;
    fields.remember("auth", "2", {&w.check});
    QCOMPARE(fields.value("auth_type", "0"), QStringLiteral("0"));
    QVERIFY(fields.isTouched("auth_type"));
    // Fields are kept apart: changing one leaves the other's stored value.
    fields.remember("ssl", "3", {&w.box});
    w.check.setChecked(true);
    QCOMPARE(fields.value("auth", "1"), QStringLiteral("1"));
    QCOMPARE(fields.value("ssl", "2"), QStringLiteral("3"));
}

// An apply carried the edit out: the check the field shows now is what the server holds,
// so turning it back is a change again, and leaving it writes the applied text.
void TestUntouchedFields::settledFieldKeepsWhatTheServerNowHolds()
{
    Widgets w;
    UntouchedFields fields;
    fields.remember("delay", "2", {&w.check});
    w.check.setChecked(true);
    QCOMPARE(fields.value("delay", "1"), QStringLiteral("1"));
    fields.settle("delay", "1");
    QVERIFY(!fields.isTouched("delay"));
    QCOMPARE(fields.value("delay", "edited"), QStringLiteral("1"));
    w.check.setChecked(false);
    QCOMPARE(fields.value("delay", "0"), QStringLiteral("0"));
    // A name never remembered is not made up by a settle: it stays one that gives the edited value.
    fields.settle("bounce", "1");
    QVERIFY(fields.isTouched("bounce"));
    QCOMPARE(fields.value("bounce", "0"), QStringLiteral("0"));
}

// A choice box refilled from what the server holds: what it shows after the refill is its
// untouched state, in every field it shows. The field's other widgets keep their measure, so a
// change made to them stays one.
void TestUntouchedFields::refilledWidgetIsMeasuredAnew_data()
{
    QTest::addColumn<Change>("before"); // before the refill
    QTest::addColumn<bool>("boxChanged");
    QTest::addColumn<bool>("touched"); // after the refill

    const Change nothing = [](Widgets&) {};
    QTest::newRow("nothing changed") << nothing << false << false;
    QTest::newRow("the box changed") << Change([](Widgets& w) { w.box.setCurrentIndex(1); }) << true << false;
    QTest::newRow("the check box changed") << Change([](Widgets& w) { w.check.setChecked(true); }) << false << true;
}

void TestUntouchedFields::refilledWidgetIsMeasuredAnew()
{
    QFETCH(Change, before);
    QFETCH(bool, boxChanged);
    QFETCH(bool, touched);

    Widgets w;
    UntouchedFields fields;
    fields.remember("acl", "Office LAN", {&w.check, &w.box});
    fields.remember("group", "Office LAN", {&w.box});
    before(w);
    QCOMPARE(fields.isChanged(&w.box), boxChanged);
    QVERIFY(!fields.isChanged(&w.edit));

    // The refill: another list, its first entry shown.
    w.box.clear();
    w.box.addItems({"Admin hosts", "Trusted relays"});
    QVERIFY(fields.isChanged(&w.box));
    fields.refilled(&w.box);
    QVERIFY(!fields.isChanged(&w.box));
    QVERIFY(!fields.isTouched("group"));
    QCOMPARE(fields.isTouched("acl"), touched);
    QCOMPARE(fields.value("group", "edited"), QStringLiteral("Office LAN"));
    w.box.setCurrentIndex(1);
    QVERIFY(fields.isTouched("group"));
    QVERIFY(fields.isTouched("acl"));
}

QTEST_MAIN(TestUntouchedFields)
#include "tst_untouchedfields.moc"
