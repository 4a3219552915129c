// The number fields' rule: digits alone whatever the locale, typed as an integer validator up
// to the field's top lets them be typed, written as shown, and stopped only where the column
// cannot hold the number, with the administrator sent to the field.

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
    void fits_data();
    void fits();
    void beyondColumnText_data();
    void beyondColumnText();
    void confirmFits_data();
    void confirmFits();
};

void TestNumberFields::typedKeyByKey_data()
{
    QTest::addColumn<qint64>("top");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    const qint64 any = DigitsValidator::NoTop;
    QTest::newRow("a port") << qint64(65535) << "587" << "587";
    QTest::newRow("a group separator") << qint64(65535) << "1,234" << "1234";
    QTest::newRow("above the top, as many digits as it has") << qint64(65535) << "70000" << "70000";
    QTest::newRow("a digit more than the top has") << qint64(65535) << "655350" << "65535";
    QTest::newRow("leading zeros of a number up to the top")
        << qint64(65535) << "0000080" << "0000080";
    QTest::newRow("a million and one") << qint64(1000000) << "1000001" << "1000001";
    QTest::newRow("the largest of seven digits") << qint64(1000000) << "9999999" << "9999999";
    QTest::newRow("an eighth digit") << qint64(1000000) << "10000001" << "1000000";
    QTest::newRow("a decimal point") << qint64(1000000) << "4.5" << "45";
    QTest::newRow("signs and blanks") << qint64(1000000) << " -+12 " << "12";
    QTest::newRow("a PIN of five digits") << qint64(9999) << "12345" << "1234";
    QTest::newRow("no top: any number") << any << "70000000000" << "70000000000";
    QTest::newRow("no top: a group separator") << any << "110,1110" << "1101110";
    QTest::newRow("no top: no more than eighteen digits")
        << any << "1234567890123456789" << "123456789012345678";
}

void TestNumberFields::typedKeyByKey()
{
    QFETCH(qint64, top);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QLineEdit field;
    if (top == DigitsValidator::NoTop)
        NumberFields::acceptAnyDigits(&field);
    else
        NumberFields::acceptDigits(&field, top);
    typeOver(&field, typed);
    QCOMPARE(field.text(), shown);
}

void TestNumberFields::fits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("factor");
    QTest::addColumn<bool>("fits");

    QTest::newRow("nothing") << "" << qint64(1048576) << true;
    QTest::newRow("the top") << "2147483647" << qint64(1) << true;
    QTest::newRow("one past the top") << "2147483648" << qint64(1) << false;
    QTest::newRow("2047 MB") << "2047" << qint64(1048576) << true;
    QTest::newRow("2048 MB") << "2048" << qint64(1048576) << false;
    QTest::newRow("596523 hours") << "596523" << qint64(3600) << true;
    QTest::newRow("596524 hours") << "596524" << qint64(3600) << false;
    QTest::newRow("eighteen nines") << "999999999999999999" << qint64(1) << false;
    QTest::newRow("a text the program set") << "-5" << qint64(86400) << true;
}

void TestNumberFields::fits()
{
    QFETCH(QString, text);
    QFETCH(qint64, factor);
    QFETCH(bool, fits);
    QLineEdit field;
    NumberFields::acceptAnyDigits(&field);
    field.setText(text);
    QCOMPARE(NumberFields::fits(&field, factor, NumberFields::IntColumnTop), fits);
}

void TestNumberFields::beyondColumnText_data()
{
    QTest::addColumn<qint64>("factor");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("text");

    QTest::newRow("without a unit")
        << qint64(1) << QString() << "Messages must be a number from 0 to 2147483647.";
    QTest::newRow("in hours") << qint64(60) << "Hours"
                              << "Messages must be a number from 0 to 35791394 Hours.";
}

void TestNumberFields::beyondColumnText()
{
    QFETCH(qint64, factor);
    QFETCH(QString, unit);
    QFETCH(QString, text);
    QCOMPARE(NumberFields::beyondColumnText(QStringLiteral("Messages"), factor,
                                            NumberFields::IntColumnTop, unit),
             text);
}

// Told once, with one button, and sent to the field on its tab, whatever the answer; a number
// that fits goes on without a box.
void TestNumberFields::confirmFits_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("goesOn");

    QTest::newRow("fits") << "2147483647" << int(QMessageBox::Ok) << true;
    QTest::newRow("beyond, OK") << "2147483648" << int(QMessageBox::Ok) << false;
    QTest::newRow("beyond, the box closed") << "2147483648" << int(QMessageBox::Cancel) << false;
}

void TestNumberFields::confirmFits()
{
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(bool, goesOn);

    QTabWidget tabs;
    auto* first = new QWidget;
    auto* second = new QWidget;
    auto* field = new QLineEdit(second);
    (new QVBoxLayout(second))->addWidget(field);
    tabs.addTab(first, QStringLiteral("First"));
    tabs.addTab(second, QStringLiteral("Second"));
    tabs.show();
    NumberFields::acceptAnyDigits(field);
    typeOver(field, typed);
    tabs.setCurrentWidget(first);

    DialogRecorder recorder;
    recorder.answer(answer);
    QCOMPARE(NumberFields::confirmFits(QStringLiteral("Messages"), field, 1,
                                       NumberFields::IntColumnTop),
             goesOn);
    QCOMPARE(recorder.messages.size(), goesOn ? 0 : 1);
    for (const DialogRecorder::Message& message : std::as_const(recorder.messages)) {
        QCOMPARE(message.caption, QStringLiteral("Ornel Corvane Administration"));
        QCOMPARE(message.text, QStringLiteral("Messages must be a number from 0 to 2147483647."));
        QCOMPARE(message.buttons, Dialogs::Buttons(QMessageBox::Ok));
    }
    QCOMPARE(tabs.currentWidget() == second, !goesOn);
    QCOMPARE(tabs.focusWidget() == field, !goesOn);
    QCOMPARE(field->text(), typed);
}

QTEST_MAIN(TestNumberFields)
#include "tst_numberfields.moc"
