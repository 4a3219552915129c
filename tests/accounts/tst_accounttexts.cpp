#include "accounttexts.h"

#include <QtTest>

using namespace AccountTexts;

class tst_AccountTexts : public QObject
{
    Q_OBJECT

private slots:
    void quota_data();
    void quota();
    void rights_data();
    void rights();
    void keys_data();
    void keys();
};

const qint64 KB = 1024;
const qint64 MB = KB * 1024;
const qint64 GB = MB * 1024;

// The cell and its key: the largest unit that divides the quota exactly, and keys that put
// every KB quota before every MB one whatever the numbers.
void tst_AccountTexts::quota_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");

    QTest::newRow("none") << qint64(0) << "0" << "000000";
    QTest::newRow("one byte") << qint64(1) << "0" << "000000";
    QTest::newRow("1023 bytes") << qint64(1023) << "0" << "000000";
    QTest::newRow("1 KB") << KB << "1 KB" << "a000001";
    QTest::newRow("1536 bytes, no whole KB") << qint64(1536) << "0" << "000000";
    QTest::newRow("2 KB") << 2 * KB << "2 KB" << "a000002";
    QTest::newRow("1023 KB") << 1023 * KB << "1023 KB" << "a001023";
    QTest::newRow("1 MB") << MB << "1 MB" << "b000001";
    QTest::newRow("1025 KB") << 1025 * KB << "1025 KB" << "a001025";
    QTest::newRow("1536 KB") << 1536 * KB << "1536 KB" << "a001536";
    QTest::newRow("1 GB") << GB << "1 GB" << "c000001";
    QTest::newRow("1 GB and 1 KB") << GB + KB << "1048577 KB" << "a1048577";
    QTest::newRow("1025 MB") << 1025 * MB << "1025 MB" << "b001025";
    QTest::newRow("1536 MB") << 1536 * MB << "1536 MB" << "b001536";
    QTest::newRow("5 GB") << 5 * GB << "5 GB" << "c000005";
    QTest::newRow("1 TB") << 1024 * GB << "1024 GB" << "c001024";
    QTest::newRow("minus 1 KB") << -KB << "0" << "000000";
    QTest::newRow("minus one") << qint64(-1) << "0" << "000000";
}

void tst_AccountTexts::quota()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QFETCH(QString, key);
    QCOMPARE(quotaText(bytes), text);
    QCOMPARE(quotaKey(text), key);
}

void tst_AccountTexts::rights_data()
{
    QTest::addColumn<int>("rights");
    QTest::addColumn<QString>("label");

    QTest::newRow("none") << 0 << "";
    QTest::newRow("read") << 1 << "Read only access";
    QTest::newRow("write bit alone shows like none") << 2 << "";
    QTest::newRow("read and write") << 3 << "Read/write access";
    QTest::newRow("read and a higher bit") << 5 << "Read only access";
    QTest::newRow("both and a higher bit") << 7 << "Read/write access";
    QTest::newRow("all bits") << -1 << "Read/write access";
}

void tst_AccountTexts::rights()
{
    QFETCH(int, rights);
    QFETCH(QString, label);
    QCOMPARE(rightsLabel(rights), label);
}

void tst_AccountTexts::keys_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");

    const QString blanks(16, QLatin1Char(' '));
    QTest::newRow("count") << "count" << "20" << "000020";
    QTest::newRow("count of seven digits keeps them") << "count" << "1234567" << "1234567";
    QTest::newRow("empty count") << "count" << "" << "000000";
    QTest::newRow("negative count") << "count" << "-5" << "-00005";
    QTest::newRow("count before a letter") << "count" << " 12abc" << "000012";
    QTest::newRow("quota of two characters keeps its digits") << "quota" << "KB" << "000000";
    QTest::newRow("quota in another unit") << "quota" << "3 TB" << "000003";
    QTest::newRow("unit compared exactly") << "quota" << "3 kb" << "000003";
    QTest::newRow("text") << "text" << "Sales" << "Sales" + blanks + "name";
    QTest::newRow("empty text") << "text" << "" << blanks + "name";
}

void tst_AccountTexts::keys()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, key);
    if (kind == "count")
        QCOMPARE(countKey(text), key);
    else if (kind == "quota")
        QCOMPARE(quotaKey(text), key);
    else
        QCOMPARE(textKey(text, "name"), key);
}

QTEST_GUILESS_MAIN(tst_AccountTexts)
#include "tst_accounttexts.moc"
