// The old toolkit's rules for choice boxes that pages and dialogs rely on.

#include "choicebox.h"
#include "comboboxes.h"
#include "openedlist.h"

#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

class TestComboBoxes : public QObject
{
    Q_OBJECT

private slots:
    void setCurrentText_data();
    void setCurrentText();
    void editableBoxHoldsTheEntryItShows_data();
    void editableBoxHoldsTheEntryItShows();
    void fieldLeftKeepsItsLetters_data();
    void fieldLeftKeepsItsLetters();
    void setCurrentItem_data();
    void setCurrentItem();
};

namespace {

QStringList entries(const QComboBox& box)
{
    QStringList texts;
    for (int i = 0; i < box.count(); ++i)
        texts << box.itemText(i);
    return texts;
}

} // namespace

void TestComboBoxes::setCurrentText_data()
{
    QTest::addColumn<QString>("kind"); // "fixed", or editable for "values" or "names"
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("entriesAfter");
    QTest::addColumn<QString>("currentText");
    QTest::addColumn<int>("currentIndex");

    const QStringList given{"en", "de", "fr"};
    QTest::newRow("entry present") << "fixed" << given << "de" << given << "de" << 1;
    QTest::newRow("exact match only") << "fixed" << given << "DE" << (given + QStringList{"DE"}) << "DE" << 3;
    QTest::newRow("unknown value kept as a new entry") << "fixed" << given << "cz" << (given + QStringList{"cz"})
                                                       << "cz" << 3;
    QTest::newRow("values: the entry equal to the text becomes current") << "values" << given << "fr" << given
                                                                         << "fr" << 2;
    QTest::newRow("values: the first entry") << "values" << given << "en" << given << "en" << 0;
    QTest::newRow("values: letter case counts") << "values" << given << "DE" << given << "DE" << -1;
    QTest::newRow("values: a text equal to no entry stands alone") << "values" << given << "cz" << given << "cz"
                                                                   << -1;
    QTest::newRow("values: empty") << "values" << given << "" << given << "" << -1;
    QTest::newRow("names: the name in its letters") << "names" << given << "fr" << given << "fr" << 2;
    QTest::newRow("names: the name in other letters, shown in its own") << "names" << given << "DE" << given << "de"
                                                                        << 1;
    QTest::newRow("names: the one in the same letters first") << "names" << QStringList{"de", "De", "DE"} << "De"
                                                              << QStringList{"de", "De", "DE"} << "De" << 1;
    QTest::newRow("names: a text equal to no name stands alone") << "names" << given << "cz" << given << "cz" << -1;
    QTest::newRow("names: empty") << "names" << given << "" << given << "" << -1;
    QTest::newRow("names: blanks around a name") << "names" << given << " DE " << given << "de" << 1;
    const QStringList cases{"de", "De", "DE"};
    QTest::newRow("names: blanks around a name, the one in the same letters first")
        << "names" << cases << " DE " << cases << "DE" << 2;
    const QStringList blankInName{"bob ", "BOB"};
    QTest::newRow("names: the text as given before the text without its blanks")
        << "names" << blankInName << "BOB " << blankInName << "bob " << 0;
    QTest::newRow("values: blanks around an entry kept") << "values" << given << " de " << given << " de " << -1;
}

void TestComboBoxes::setCurrentText()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, given);
    QFETCH(QString, text);
    QFETCH(QStringList, entriesAfter);
    QFETCH(QString, currentText);
    QFETCH(int, currentIndex);

    ChoiceBox box;
    box.addItems(given);
    if (kind != QLatin1String("fixed"))
        box.makeEditable(kind == QLatin1String("names") ? ChoiceBox::Entries::Names : ChoiceBox::Entries::Values);
    box.setCurrentIndex(given.size() - 1);
    QSignalSpy activated(&box, &QComboBox::activated);
    ComboBoxes::setCurrentText(&box, text);
    QCOMPARE(entries(box), entriesAfter);
    QCOMPARE(box.currentText(), currentText);
    QCOMPARE(box.currentIndex(), currentIndex);
    // Filled, not chosen.
    QCOMPARE(activated.size(), 0);
}

void TestComboBoxes::editableBoxHoldsTheEntryItShows_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("highlighted"); // by the opened list; empty: none

    QTest::newRow("the first entry") << "Received" << "Received";
    QTest::newRow("an entry further down") << "X-Envelope-To" << "X-Envelope-To";
    QTest::newRow("the last entry") << "Delivered-To" << "Delivered-To";
    QTest::newRow("an entry in other letters") << "x-envelope-to" << "";
    QTest::newRow("no entry") << "X-Original-To" << "";
    QTest::newRow("nothing") << "" << "";
}

// A box given a text to show, as a dialog fills it from what the server holds: its opened list
// highlights the entry shown, and Return there keeps what the box shows, whatever it is.
void TestComboBoxes::editableBoxHoldsTheEntryItShows()
{
    QFETCH(QString, text);
    QFETCH(QString, highlighted);

    QWidget window;
    auto* box = new ChoiceBox(&window);
    box->setEditable(true);
    box->addItems({"Received", "X-Envelope-To", "Delivered-To"});
    box->setCurrentIndex(0);
    ComboBoxes::setCurrentText(box, text);
    const int index = box->currentIndex();

    const OpenedList::Look look = OpenedList::openAndReturn(box);
    QVERIFY(look.opened);
    QCOMPARE(look.highlighted, highlighted);
    QVERIFY(look.closedByReturn);
    QCOMPARE(look.heldAfterReturn, text);
    QCOMPARE(look.indexAfterReturn, index);
}

void TestComboBoxes::fieldLeftKeepsItsLetters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");

    QTest::newRow("an entry in other letters") << "x-envelope-to" << -1;
    QTest::newRow("an entry in its own letters") << "X-Envelope-To" << 1;
    QTest::newRow("no entry") << "X-Original-To" << -1;
}

// A click into the box's field and the focus moved on, as a person reading the dialog does:
// the box keeps the text it was given, letter for letter, and nothing is chosen.
void TestComboBoxes::fieldLeftKeepsItsLetters()
{
    QFETCH(QString, text);
    QFETCH(int, index);

    QWidget window;
    auto* box = new ChoiceBox(&window);
    box->setEditable(true);
    box->addItems({"Received", "X-Envelope-To", "Delivered-To"});
    auto* next = new QLineEdit(&window);
    next->move(0, 40);
    ComboBoxes::setCurrentText(box, text);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy chosen(box, &QComboBox::activated);
    QTest::mouseClick(box->lineEdit(), Qt::LeftButton);
    QVERIFY(box->hasFocus() || box->lineEdit()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(next->hasFocus());
    QCOMPARE(box->currentText(), text);
    QCOMPARE(box->currentIndex(), index);
    QCOMPARE(chosen.size(), 0);
}

void TestComboBoxes::setCurrentItem_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("currentAfter");

    QTest::newRow("in range") << 2 << 2;
    QTest::newRow("past the end ignored") << 3 << 1;
    QTest::newRow("negative ignored") << -1 << 1;
}

void TestComboBoxes::setCurrentItem()
{
    QFETCH(int, index);
    QFETCH(int, currentAfter);

    QComboBox box;
    box.addItems({"KB", "MB", "GB"});
    box.setCurrentIndex(1);
    ComboBoxes::setCurrentItem(&box, index);
    QCOMPARE(box.currentIndex(), currentAfter);
}

QTEST_MAIN(TestComboBoxes)
#include "tst_comboboxes.moc"
