#include "carriedout.h"

#include <QTest>

namespace {

const QString B = QStringLiteral("insert alias set name='b'");
const QString C = QStringLiteral("insert alias set name='c'");

} // namespace

class TestCarriedOut : public QObject
{
    Q_OBJECT

private slots:
    void eachCopyIsTakenOnce_data()
    {
        QTest::addColumn<QStringList>("carriedOut");
        QTest::addColumn<QStringList>("asked");      // take() in this order
        QTest::addColumn<QList<bool>>("taken");      // what each take() answered
        QTest::addColumn<bool>("emptyAfter");

        // A text carried out once is taken once: a second owner of the same text still has
        // its statement to send, even while another carried-out text is left to take.
        QTest::newRow("one of two copies, and another text")
            << QStringList{B, C} << QStringList{B, B, C} << QList<bool>{true, false, true} << true;
        QTest::newRow("two of three copies")
            << QStringList{B, C, B} << QStringList{B, B, B, C} << QList<bool>{true, true, false, true} << true;
        QTest::newRow("a text not carried out") << QStringList{B} << QStringList{C, B}
                                                << QList<bool>{false, true} << true;
        QTest::newRow("nothing carried out") << QStringList() << QStringList{B} << QList<bool>{false} << true;
        QTest::newRow("one left untaken") << QStringList{B, C} << QStringList{B, B}
                                          << QList<bool>{true, false} << false;
    }

    void eachCopyIsTakenOnce()
    {
        QFETCH(QStringList, carriedOut);
        QFETCH(QStringList, asked);
        QFETCH(QList<bool>, taken);
        QFETCH(bool, emptyAfter);

        CarriedOut done(carriedOut);
        QCOMPARE(done.isEmpty(), carriedOut.isEmpty());
        QList<bool> answers;
        for (const QString &statement : asked)
            answers.append(done.take(statement));
        QCOMPARE(answers, taken);
        QCOMPARE(done.isEmpty(), emptyAfter);
    }
};

QTEST_GUILESS_MAIN(TestCarriedOut)
#include "tst_carriedout.moc"
