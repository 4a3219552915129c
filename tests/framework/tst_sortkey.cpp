// The order of list rows by their keys: as the locale the tests run in (English) orders
// text, whether a key is compared through its collation key or as it stands.

#include "sortkey.h"

#include <QCollator>
#include <QRandomGenerator>
#include <QtTest>

#include <algorithm>

namespace {

// Every pair of `texts` compares through the sort keys as the collation compares it.
void expectCollationOrder(const QStringList& texts)
{
    const QCollator collator(QLocale().collation());
    const auto sign = [](int n) { return (n > 0) - (n < 0); };
    for (const QString& a : texts) {
        for (const QString& b : texts) {
            if (sign(compareAsSortKeys(a, b)) != sign(collator.compare(a, b)))
                QFAIL(qPrintable(QStringLiteral("\"%1\" and \"%2\"").arg(a, b)));
        }
    }
}

} // namespace

class tst_SortKey : public QObject
{
    Q_OBJECT

private slots:
    void orderAsAPersonReadsIt_data();
    void orderAsAPersonReadsIt();
    void sameOrderAsTheCollationItself();
    void longKeysOfOneBeginning_data();
    void longKeysOfOneBeginning();
};

void tst_SortKey::orderAsAPersonReadsIt_data()
{
    QTest::addColumn<QStringList>("sorted");

    QTest::newRow("case and accents after the letter")
        << QStringList{"007", "admin", "Admin", "alice", "jurgen", "j\u00fcrgen", "J\u00fcrgen", "Oskar", "zed", "Zed"};
    QTest::newRow("digits as their characters, before letters")
        << QStringList{"0", "007", "0070", "1", "10", "9", "a10x", "a9", "b"};
    QTest::newRow("blanks, then punctuation, then letters")
        << QStringList{"a b", "a_b", "a-b", "ab", "ab c", "abc", "ABC"};
    QTest::newRow("capitals and digits, as queue ids are")
        << QStringList{"0A", "1B", "A7F3C2019", "a7f3c2020", "A7F3C2031", "ABC", "abd", "Q00003039", "Q010EECFD", "Z"};
    QTest::newRow("padded numbers and words") << QStringList{"-0000000005", "0000000003", "a000001", "b000001", "x"};
}

void tst_SortKey::orderAsAPersonReadsIt()
{
    QFETCH(QStringList, sorted);
    // Every order the rows could come in sorts the same.
    QStringList shuffled = sorted;
    std::reverse(shuffled.begin(), shuffled.end());
    for (int round = 0; round < sorted.size(); ++round) {
        std::rotate(shuffled.begin(), shuffled.begin() + 1, shuffled.end());
        QList<SortKey> keys;
        for (const QString& text : std::as_const(shuffled))
            keys.append(SortKey(text));
        std::stable_sort(keys.begin(), keys.end(),
                         [](const SortKey& a, const SortKey& b) { return a.compare(b) < 0; });
        QStringList texts;
        for (const SortKey& key : std::as_const(keys))
            texts.append(key.text());
        QCOMPARE(texts, sorted);
    }
    for (int i = 1; i < sorted.size(); ++i) {
        QVERIFY(compareAsSortKeys(sorted.at(i - 1), sorted.at(i)) < 0);
        QVERIFY(compareAsSortKeys(sorted.at(i), sorted.at(i - 1)) > 0);
    }
}

// Whether a key is compared through its collation key or as it stands, two keys order as
// the locale's collation orders their texts: many short keys of blanks, digits, letters of
// both cases and some other characters, every pair.
void tst_SortKey::sameOrderAsTheCollationItself()
{
    const QString alphabet = QStringLiteral(" 0123456789abcxyzABCXYZ-_.@\u00e4\u00c4");
    QRandomGenerator random(37);
    QStringList texts{"", "ab", "aB", "Ab", "AB", "a b", "ab ", "a1", "A1", "1a", "1A"};
    while (texts.size() < 600) {
        QString text;
        for (int length = int(random.bounded(7)); length > 0; --length)
            text += alphabet.at(int(random.bounded(alphabet.size())));
        texts.append(text);
    }
    expectCollationOrder(texts);
}

// Keys longer than the head a key compares by first, many alike in their first eight
// characters: they still order as the collation orders their texts.
void tst_SortKey::longKeysOfOneBeginning_data()
{
    QTest::addColumn<QString>("beginning");
    QTest::addColumn<QString>("alphabet");
    QTest::newRow("queue ids") << "Q0000" << "0123456789ABCDEFabcdef";
    QTest::newRow("words with blanks and case") << "user" << " aAbB1";
    QTest::newRow("digits alone") << "000000" << "0123456789";
    QTest::newRow("a character beyond one byte late") << "abcdefgh" << "a\u00e4\u0101b";
    QTest::newRow("a character beyond one byte early") << "ab\u0101" << "aAb";
}

void tst_SortKey::longKeysOfOneBeginning()
{
    QFETCH(QString, beginning);
    QFETCH(QString, alphabet);
    QRandomGenerator random(41);
    QStringList texts{beginning};
    while (texts.size() < 300) {
        QString text = beginning;
        for (int length = 1 + int(random.bounded(7)); length > 0; --length)
            text += alphabet.at(int(random.bounded(alphabet.size())));
        texts.append(text);
    }
    expectCollationOrder(texts);
}

QTEST_GUILESS_MAIN(tst_SortKey)
#include "tst_sortkey.moc"
