#include "charwidths.h"
#include "lineedges.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QtTest>

#include <vector>

namespace {

// The edges as the viewer measured a line before it kept only every so many: each
// character's advance added up in order, every edge rounded on its own.
std::vector<int> walkedEdges(const QString& text, const QFont& font)
{
    const QFontMetricsF metrics(font);
    std::vector<int> edges{0};
    qreal width = 0;
    for (const QChar c : text) {
        width += metrics.horizontalAdvance(c);
        edges.push_back(qRound(width));
    }
    return edges;
}

// The first character whose right edge lies right of x, or the length.
int walkedColumn(const std::vector<int>& edges, int x)
{
    for (std::size_t n = 1; n < edges.size(); ++n) {
        if (edges[n] > x)
            return int(n) - 1;
    }
    return int(edges.size()) - 1;
}

} // namespace

// The character edges of one line, kept every so many characters, against a walk of the
// whole line.
class tst_LineEdges : public QObject
{
    Q_OBJECT

private slots:
    void edgesAndColumns_data();
    void edgesAndColumns();
    void aFontChangeMeasuresAnew();
};

void tst_LineEdges::edgesAndColumns_data()
{
    QTest::addColumn<QString>("text");

    const QString mixed = QStringLiteral("iW .x\u0161\u20ac\u00c5mM1");
    QTest::newRow("empty") << QString();
    QTest::newRow("one character") << QStringLiteral("W");
    QTest::newRow("one short of a step") << mixed.repeated(103).left(LineEdges::StepChars - 1);
    QTest::newRow("exactly a step") << mixed.repeated(103).left(LineEdges::StepChars);
    QTest::newRow("one past a step") << mixed.repeated(103).left(LineEdges::StepChars + 1);
    QTest::newRow("several steps and a part") << mixed.repeated(500).left(4 * LineEdges::StepChars + 517);
    QTest::newRow("narrow and wide in runs")
        << QString(1500, u'i') + QString(1500, u'W') + QString(700, u' ') + QString(900, u'm');
}

void tst_LineEdges::edgesAndColumns()
{
    QFETCH(QString, text);
    QFont font = QApplication::font();
    font.setPointSizeF(9.5); // fractional advances
    const CharWidths widths(font);
    const LineEdges edges(text, widths);
    const std::vector<int> walked = walkedEdges(text, font);

    QCOMPARE(edges.width(), walked.back());
    for (int n = 0; n <= text.size(); ++n)
        QCOMPARE(edges.edge(n), walked[std::size_t(n)]);
    QCOMPARE(edges.edge(-5), 0);
    QCOMPARE(edges.edge(int(text.size()) + 5), walked.back());
    for (int x = -3; x <= walked.back() + 3; x += x < 40 || x > walked.back() - 40 ? 1 : 5)
        QCOMPARE(edges.columnAt(x), walkedColumn(walked, x));
    QVERIFY(edges.text().constData() == text.constData());
}

// Widths belong to one font: a view that changes its font measures with new ones.
void tst_LineEdges::aFontChangeMeasuresAnew()
{
    QFont small = QApplication::font();
    small.setPixelSize(10);
    QFont large = small;
    large.setPixelSize(30);
    const QString text = QString(3000, u'W');
    const CharWidths smallWidths(small);
    const CharWidths largeWidths(large);
    const LineEdges smallEdges(text, smallWidths);
    const LineEdges largeEdges(text, largeWidths);
    QCOMPARE(smallEdges.width(), walkedEdges(text, small).back());
    QCOMPARE(largeEdges.width(), walkedEdges(text, large).back());
    QVERIFY(largeEdges.width() > 2 * smallEdges.width());
}

QTEST_MAIN(tst_LineEdges)
#include "tst_lineedges.moc"
