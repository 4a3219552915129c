// The number fields' rule: digits alone whatever the locale, the range asked about and never
// cut, and the question that sends the administrator to the field.

#include "dialogrecorder.h"
#include "digitsvalidator.h"
#include "numberfields.h"
#include "typing.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QtTest>

class TestNumberFields : public QObject
{
    Q_OBJECT

private slots:
    // A locale whose group separator is the comma, whatever the machine's.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void typedKeyByKey_data();
    void typedKeyByKey();
    void textTheProgramSetIsWrittenAsItStands();
    void rangeFollowsTheUnit();
    void question_data();
    void question();
    void answers_data();
    void answers();
};

void TestNumberFields::typedKeyByKey_data()
{
    QTest::addColumn<qint64>("top");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("holdsNumber");
    QTest::addColumn<bool>("writable");

    QTest::newRow("a port") << qint64(65535) << "587" << "587" << true << true;
    QTest::newRow("the highest port") << qint64(65535) << "65535" << "65535" << true << true;
    QTest::newRow("a group separator") << qint64(65535) << "1,234" << "1234" << true << true;
    QTest::newRow("separators in the middle")
        << qint64(65535) << "110,1110" << "1101110" << false << false;
    QTest::newRow("beyond 16 bits, shown as typed")
        << qint64(65535) << "70000" << "70000" << false << false;
    QTest::newRow("a decimal point") << qint64(1000000) << "4.5" << "45" << true << true;
    QTest::newRow("signs and blanks") << qint64(1000000) << " -+12 " << "12" << true << true;
    QTest::newRow("a grouped million") << qint64(1000000) << "1,000,000" << "1000000" << true
                                       << true;
    QTest::newRow("no more than eighteen digits")
        << qint64(1000000) << "1234567890123456789" << "123456789012345678" << false << false;
}

void TestNumberFields::typedKeyByKey()
{
    QFETCH(qint64, top);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, holdsNumber);
    QFETCH(bool, writable);
    QLineEdit field;
    NumberFields::acceptDigits(&field, 0, top);
    typeOver(&field, typed);
    QCOMPARE(field.text(), shown);
    QCOMPARE(NumberFields::holdsNumber(&field), holdsNumber);
    QCOMPARE(NumberFields::isWritable(&field), writable);
}

// What the program put into the field (the stored value, a proposed default) is written as
// it stands, in range or not: only what the administrator types is checked.
void TestNumberFields::textTheProgramSetIsWrittenAsItStands()
{
    QLineEdit field;
    NumberFields::acceptDigits(&field, 0, 1000000);
    field.setText(QStringLiteral("-1"));
    QVERIFY(!NumberFields::holdsNumber(&field));
    QVERIFY(NumberFields::isWritable(&field));
    typeOver(&field, QStringLiteral("2000000"));
    QVERIFY(!NumberFields::isWritable(&field));
    field.setText(QStringLiteral("2000000"));
    QVERIFY(NumberFields::isWritable(&field));
}

void TestNumberFields::rangeFollowsTheUnit()
{
    QLineEdit field;
    NumberFields::acceptDigits(&field, 0, 1000000);
    typeOver(&field, QStringLiteral("3000"));
    QVERIFY(NumberFields::isWritable(&field));
    NumberFields::setRange(&field, 0, 2047);
    QCOMPARE(NumberFields::top(&field), qint64(2047));
    QVERIFY(!NumberFields::isWritable(&field));
}

void TestNumberFields::question_data()
{
    QTest::addColumn<qint64>("bottom");
    QTest::addColumn<qint64>("top");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("text");

    QTest::newRow("without a unit")
        << qint64(0) << qint64(65535) << QString()
        << "Port must be a number from 0 to 65535.\nDo you want to correct the problem?";
    QTest::newRow("with a unit")
        << qint64(1) << qint64(2047) << "MB"
        << "Port must be a number from 1 to 2047 MB.\nDo you want to correct the problem?";
}

void TestNumberFields::question()
{
    QFETCH(qint64, bottom);
    QFETCH(qint64, top);
    QFETCH(QString, unit);
    QFETCH(QString, text);
    QLineEdit field;
    NumberFields::acceptDigits(&field, bottom, top);
    QCOMPARE(NumberFields::rangeQuestion(QStringLiteral("Port"), &field, unit), text);
}

// Asked only about a number out of range; Yes and Cancel send the administrator to the
// field, on its tab; No lets the dialog go on.
void TestNumberFields::answers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("asked");
    QTest::addColumn<bool>("goesOn");

    QTest::newRow("in range") << "8080" << int(QMessageBox::Yes) << 0 << true;
    QTest::newRow("out of range, Yes") << "70000" << int(QMessageBox::Yes) << 1 << false;
    QTest::newRow("out of range, Cancel") << "70000" << int(QMessageBox::Cancel) << 1 << false;
    QTest::newRow("out of range, No") << "70000" << int(QMessageBox::No) << 1 << true;
}

void TestNumberFields::answers()
{
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(int, asked);
    QFETCH(bool, goesOn);

    QTabWidget tabs;
    auto* first = new QWidget;
    auto* second = new QWidget;
    auto* field = new QLineEdit(second);
    (new QVBoxLayout(second))->addWidget(field);
    tabs.addTab(first, QStringLiteral("First"));
    tabs.addTab(second, QStringLiteral("Second"));
    tabs.show();
    NumberFields::acceptDigits(field, 0, 65535);
    typeOver(field, typed);

    DialogRecorder recorder;
    recorder.answer(answer);
    QCOMPARE(NumberFields::confirmWritable(QStringLiteral("Port"), field), goesOn);
    QCOMPARE(recorder.messages.size(), asked);
    for (const DialogRecorder::Message& message : std::as_const(recorder.messages)) {
        QCOMPARE(message.caption, QStringLiteral("Ornel Corvane Administration"));
        QCOMPARE(message.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    }
    const bool sentToTheField = asked == 1 && !goesOn;
    QCOMPARE(tabs.currentWidget() == second, sentToTheField);
    QCOMPARE(tabs.focusWidget() == field, sentToTheField);
}

QTEST_MAIN(TestNumberFields)
#include "tst_numberfields.moc"
