#include "answer_p.h"
#include "cellencoder_p.h"
#include "testserver.h"
#include "textform_p.h"

#include <QtTest>

using namespace StandIn;

Q_DECLARE_METATYPE(StandIn::Answer)

class tst_Answer : public QObject
{
    Q_OBJECT

private slots:
    void cell_data();
    void cell();
    void encode_data();
    void encode();
};

void tst_Answer::cell_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");   // as a statement writes it
    QTest::addColumn<QString>("stored"); // a null string: refused
    QTest::addColumn<QByteArray>("hex"); // the cell: value length word, then the value

    QTest::newRow("STRING keeps blanks") << int(TypeString) << " x " << " x " << QByteArray("00000004" "20782000");
    QTest::newRow("STRING empty keeps its zero") << int(TypeString) << "" << "" << QByteArray("00000001" "00");
    QTest::newRow("STRING in UTF-8") << int(TypeString) << QString::fromUtf8("Žu") << QString::fromUtf8("Žu")
                                     << QByteArray("00000004" "c5bd7500");
    QTest::newRow("PWD prefix dropped, never sent") << int(TypePwd) << "NUL:secret" << "secret" << QByteArray("00000001" "00");
    QTest::newRow("PWD prefix inside") << int(TypePwd) << "xNUL:y" << "xNUL:y" << QByteArray("00000001" "00");
    QTest::newRow("INT blanks and sign") << int(TypeInt) << "  -42" << "-42" << QByteArray("00000004" "ffffffd6");
    QTest::newRow("INT plus sign, stops at a letter") << int(TypeInt) << "+12abc" << "12" << QByteArray("00000004" "0000000c");
    QTest::newRow("INT without digits") << int(TypeInt) << "abc" << "0" << QByteArray("00000004" "00000000");
    QTest::newRow("INT keeps 32 bits") << int(TypeInt) << "4294967295" << "-1" << QByteArray("00000004" "ffffffff");
    QTest::newRow("INT null") << int(TypeInt) << "" << "" << QByteArray("00000000");
    QTest::newRow("INT64 minus one") << int(TypeInt64) << "-1" << "18446744073709551615"
                                     << QByteArray("00000008" "ffffffffffffffff");
    QTest::newRow("INT64 above 32 bits") << int(TypeInt64) << "4294967296" << "4294967296"
                                         << QByteArray("00000008" "0000000100000000");
    QTest::newRow("INT64 null") << int(TypeInt64) << "" << "" << QByteArray("00000000");
    QTest::newRow("IPADDR network order") << int(TypeIpAddr) << "192.168.1.254" << "192.168.1.254"
                                          << QByteArray("00000004" "c0a801fe");
    QTest::newRow("IPADDR not an address") << int(TypeIpAddr) << "not an address" << "255.255.255.255"
                                           << QByteArray("00000004" "ffffffff");
    QTest::newRow("IPADDR octet too big") << int(TypeIpAddr) << "1.2.3.256" << "255.255.255.255"
                                          << QByteArray("00000004" "ffffffff");
    QTest::newRow("IPADDR null") << int(TypeIpAddr) << "" << "" << QByteArray("00000000");
    QTest::newRow("PORT network order") << int(TypePort) << "8080" << "8080" << QByteArray("00000002" "1f90");
    QTest::newRow("PORT low 16 bits") << int(TypePort) << "70000" << "4464" << QByteArray("00000002" "1170");
    QTest::newRow("PORT null") << int(TypePort) << "" << "" << QByteArray("00000000");
    QTest::newRow("BINARY lower-cased") << int(TypeBinary) << "FF00" << "ff00" << QByteArray("00000002" "ff00");
    QTest::newRow("BINARY empty") << int(TypeBinary) << "" << "" << QByteArray("00000000");
    QTest::newRow("BINARY odd length") << int(TypeBinary) << "abc" << QString() << QByteArray();
    QTest::newRow("BINARY not hex") << int(TypeBinary) << "zz" << QString() << QByteArray();
    QTest::newRow("IDLIST with an empty item") << int(TypeIdList) << "a,,bc" << "a,,bc"
                                               << QByteArray("00000016" "00000002" "6100" "00000001" "00" "00000003" "626300" "00000000");
    QTest::newRow("IDLIST no items") << int(TypeIdList) << "" << "" << QByteArray("00000004" "00000000");
    QTest::newRow("IDLIST Latin-1 item") << int(TypeIdList) << QString::fromUtf8("é") << QString::fromUtf8("é")
                                         << QByteArray("0000000a" "00000002" "e900" "00000000");
    QTest::newRow("VOID carries nothing") << int(TypeVoid) << "x" << "" << QByteArray("00000000");
    QTest::newRow("unknown code carries nothing") << 9 << "x" << "x" << QByteArray("00000000");
}

void tst_Answer::cell()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(QString, stored);
    QFETCH(QByteArray, hex);
    QString result;
    QCOMPARE(TextForm::normalise(type, text, &result), !stored.isNull());
    if (stored.isNull())
        return;
    QCOMPARE(result, stored);
    QCOMPARE(CellEncoder::cell(type, result).toHex(), hex);
}

void tst_Answer::encode_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QByteArray>("hex");

    QTest::newRow("refusal: header only, detail kept")
        << Answer::refusal(StatusNoTable, 7) << QByteArray("00000000" "00000000" "0000006d" "00000007");
    QTest::newRow("change done: a block without rows, count in spare word 1")
        << Answer::done(2)
        << QByteArray("00000000" "00000014" "00000000" "00000000"
                      "04" "00" "0000" "00000000" "00000002" "00000000" "00000000");
    QTest::newRow("row set: one key column, one row")
        << Answer::rowSet({{"name", TypeString, true}}, {{"a"}})
        << QByteArray("00000000" "00000026" "00000000" "00000000"
                      "04" "73" "0001" "00000001" "00000000" "00000000"
                      "0000000c" "030101" "00000005" "6e616d6500"
                      "00000002" "6100");
    QTest::newRow("row set: cells follow their column's type")
        << Answer::rowSet({{"p", TypePort, false}, {"q", TypeInt64, false}}, {{"25", "1"}, {"", "2"}})
        << QByteArray("00000000" "00000048" "00000000" "00000000"
                      "04" "73" "0002" "00000002" "00000000" "00000000"
                      "00000012" "030700" "00000002" "7000" "030300" "00000002" "7100"
                      "00000002" "0019" "00000008" "0000000000000001"
                      "00000000" "00000008" "0000000000000002");
}

void tst_Answer::encode()
{
    QFETCH(Answer, answer);
    QFETCH(QByteArray, hex);
    QCOMPARE(answer.encode().toHex(), hex);
}

QTEST_APPLESS_MAIN(tst_Answer)
#include "tst_answer.moc"
