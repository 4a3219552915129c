#include "testserver.h"
#include "textform_p.h"

#include <QtTest>

using namespace StandIn;

class tst_TextForm : public QObject
{
    Q_OBJECT

private slots:
    void normalise_data();
    void normalise();
    void listItems_data();
    void listItems();
};

void tst_TextForm::normalise_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("stored");

    QTest::newRow("INT leading blanks and sign") << int(TypeInt) << "  -42" << true << "-42";
    QTest::newRow("INT stops at a letter") << int(TypeInt) << "12abc" << true << "12";
    QTest::newRow("INT without digits") << int(TypeInt) << "abc" << true << "0";
    QTest::newRow("INT plus sign") << int(TypeInt) << "+7" << true << "7";
    QTest::newRow("INT keeps 32 bits") << int(TypeInt) << "4294967295" << true << "-1";
    QTest::newRow("INT empty is null") << int(TypeInt) << "" << true << "";
    QTest::newRow("INT64 minus one") << int(TypeInt64) << "-1" << true << "18446744073709551615";
    QTest::newRow("INT64 blanks") << int(TypeInt64) << "  99" << true << "99";
    QTest::newRow("INT64 empty is null") << int(TypeInt64) << "" << true << "";
    QTest::newRow("PORT low 16 bits") << int(TypePort) << "70000" << true << "4464";
    QTest::newRow("PORT") << int(TypePort) << "8080" << true << "8080";
    QTest::newRow("IPADDR") << int(TypeIpAddr) << "10.0.0.1" << true << "10.0.0.1";
    QTest::newRow("IPADDR not an address") << int(TypeIpAddr) << "not an address" << true << "255.255.255.255";
    QTest::newRow("IPADDR three parts") << int(TypeIpAddr) << "1.2.3" << true << "255.255.255.255";
    QTest::newRow("IPADDR octet too big") << int(TypeIpAddr) << "1.2.3.256" << true << "255.255.255.255";
    QTest::newRow("IPADDR empty is null") << int(TypeIpAddr) << "" << true << "";
    QTest::newRow("PWD prefix dropped") << int(TypePwd) << "NUL:secret" << true << "secret";
    QTest::newRow("PWD prefix only") << int(TypePwd) << "NUL:" << true << "";
    QTest::newRow("PWD without prefix") << int(TypePwd) << "plain" << true << "plain";
    QTest::newRow("PWD prefix inside") << int(TypePwd) << "xNUL:y" << true << "xNUL:y";
    QTest::newRow("BINARY lower-cased") << int(TypeBinary) << "FF00" << true << "ff00";
    QTest::newRow("BINARY empty") << int(TypeBinary) << "" << true << "";
    QTest::newRow("BINARY odd length") << int(TypeBinary) << "abc" << false << "";
    QTest::newRow("BINARY not hex") << int(TypeBinary) << "zz" << false << "";
    QTest::newRow("IDLIST as written") << int(TypeIdList) << "a,b" << true << "a,b";
    QTest::newRow("STRING keeps blanks") << int(TypeString) << " x " << true << " x ";
}

void tst_TextForm::normalise()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QString, stored);
    QString result;
    QCOMPARE(TextForm::normalise(type, text, &result), accepted);
    if (accepted)
        QCOMPARE(result, stored);
}

void tst_TextForm::listItems_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("empty text, no items") << "" << QStringList();
    QTest::newRow("one") << "staff" << QStringList{"staff"};
    QTest::newRow("empty item kept") << "a,,bc" << QStringList{"a", "", "bc"};
    QTest::newRow("blanks kept") << " a , b" << QStringList{" a ", " b"};
}

void tst_TextForm::listItems()
{
    QFETCH(QString, text);
    QFETCH(QStringList, items);
    QCOMPARE(TextForm::listItems(text), items);
    QCOMPARE(TextForm::joinItems(items), text);
}

QTEST_APPLESS_MAIN(tst_TextForm)
#include "tst_textform.moc"
