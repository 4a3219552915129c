// The old toolkit's rules for choice boxes that pages and dialogs rely on.

#include "comboboxes.h"

#include <QComboBox>
#include <QtTest>

class TestComboBoxes : public QObject
{
    Q_OBJECT

private slots:
    void setCurrentText_data();
    void setCurrentText();
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
    QTest::addColumn<bool>("editable");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("entriesAfter");
    QTest::addColumn<QString>("currentText");
    QTest::addColumn<int>("currentIndex");

    const QStringList given{"en", "de", "fr"};
    QTest::newRow("entry present") << false << "de" << given << "de" << 1;
    QTest::newRow("exact match only") << false << "DE" << (given + QStringList{"DE"}) << "DE" << 3;
    QTest::newRow("unknown value kept as a new entry") << false << "cz" << (given + QStringList{"cz"}) << "cz" << 3;
    QTest::newRow("editable box shows the text") << true << "cz" << given << "cz" << 1;
}

void TestComboBoxes::setCurrentText()
{
    QFETCH(bool, editable);
    QFETCH(QString, text);
    QFETCH(QStringList, entriesAfter);
    QFETCH(QString, currentText);
    QFETCH(int, currentIndex);

    QComboBox box;
    box.addItems({"en", "de", "fr"});
    box.setEditable(editable);
    box.setCurrentIndex(1);
    ComboBoxes::setCurrentText(&box, text);
    QCOMPARE(entries(box), entriesAfter);
    QCOMPARE(box.currentText(), currentText);
    QCOMPARE(box.currentIndex(), currentIndex);
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
