#include "cellencoder_p.h"
#include "testserver.h"

#include <QtTest>

using namespace StandIn;

class tst_CellEncoder : public QObject
{
    Q_OBJECT

private slots:
    void cell_data();
    void cell();
};

void tst_CellEncoder::cell_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QByteArray>("hex"); // value length word, then the value

    QTest::newRow("STRING") << int(TypeString) << "abc" << QByteArray("00000004" "61626300");
    QTest::newRow("STRING empty keeps its zero") << int(TypeString) << "" << QByteArray("00000001" "00");
    QTest::newRow("STRING in UTF-8") << int(TypeString) << QString::fromUtf8("Žu") << QByteArray("00000004" "c5bd7500");
    QTest::newRow("PWD is never sent back") << int(TypePwd) << "secret" << QByteArray("00000001" "00");
    QTest::newRow("INT") << int(TypeInt) << "25" << QByteArray("00000004" "00000019");
    QTest::newRow("INT negative") << int(TypeInt) << "-1" << QByteArray("00000004" "ffffffff");
    QTest::newRow("INT big-endian") << int(TypeInt) << "305419896" << QByteArray("00000004" "12345678");
    QTest::newRow("INT null") << int(TypeInt) << "" << QByteArray("00000000");
    QTest::newRow("INT64 maximum") << int(TypeInt64) << "18446744073709551615" << QByteArray("00000008" "ffffffffffffffff");
    QTest::newRow("INT64 quota") << int(TypeInt64) << "209715200" << QByteArray("00000008" "000000000c800000");
    QTest::newRow("INT64 above 32 bits") << int(TypeInt64) << "4294967296" << QByteArray("00000008" "0000000100000000");
    QTest::newRow("INT64 null") << int(TypeInt64) << "" << QByteArray("00000000");
    QTest::newRow("IPADDR network order") << int(TypeIpAddr) << "10.0.0.1" << QByteArray("00000004" "0a000001");
    QTest::newRow("IPADDR high octets") << int(TypeIpAddr) << "192.168.1.254" << QByteArray("00000004" "c0a801fe");
    QTest::newRow("IPADDR null") << int(TypeIpAddr) << "" << QByteArray("00000000");
    QTest::newRow("PORT network order") << int(TypePort) << "8080" << QByteArray("00000002" "1f90");
    QTest::newRow("PORT 25") << int(TypePort) << "25" << QByteArray("00000002" "0019");
    QTest::newRow("PORT null") << int(TypePort) << "" << QByteArray("00000000");
    QTest::newRow("BINARY") << int(TypeBinary) << "ff00" << QByteArray("00000002" "ff00");
    QTest::newRow("BINARY empty") << int(TypeBinary) << "" << QByteArray("00000000");
    QTest::newRow("IDLIST with an empty item") << int(TypeIdList) << "a,,bc"
                                               << QByteArray("00000016" "00000002" "6100" "00000001" "00" "00000003" "626300" "00000000");
    QTest::newRow("IDLIST one item") << int(TypeIdList) << "staff" << QByteArray("0000000e" "00000006" "737461666600" "00000000");
    QTest::newRow("IDLIST no items") << int(TypeIdList) << "" << QByteArray("00000004" "00000000");
    QTest::newRow("IDLIST Latin-1 item") << int(TypeIdList) << QString::fromUtf8("é") << QByteArray("0000000a" "00000002" "e900" "00000000");
    QTest::newRow("VOID carries nothing") << int(TypeVoid) << "x" << QByteArray("00000000");
    QTest::newRow("unknown code carries nothing") << 9 << "x" << QByteArray("00000000");
}

void tst_CellEncoder::cell()
{
    QFETCH(int, type);
    QFETCH(QString, stored);
    QFETCH(QByteArray, hex);
    QCOMPARE(CellEncoder::cell(type, stored).toHex(), hex);
}

QTEST_APPLESS_MAIN(tst_CellEncoder)
#include "tst_cellencoder.moc"
