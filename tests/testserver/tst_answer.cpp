#include "answer_p.h"

#include <QtTest>

using namespace StandIn;

Q_DECLARE_METATYPE(StandIn::Answer)

class tst_Answer : public QObject
{
    Q_OBJECT

private slots:
    void encode_data();
    void encode();
};

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
    QTest::newRow("row set: two columns, no rows")
        << Answer::rowSet({{"ID", TypeInt, true}, {"Name", TypeString, false}}, {})
        << QByteArray("00000000" "0000002a" "00000000" "00000000"
                      "04" "73" "0002" "00000000" "00000000" "00000000"
                      "00000016" "030201" "00000003" "494400" "030100" "00000005" "4e616d6500");
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
