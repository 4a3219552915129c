// Where the runs of text a painting draws are told to lie: in the pixels of the widget that
// draws them, however the painter was moved or scaled before the text was drawn, and on a
// screen of any scale, which makes the device's pixels larger than the widget's.

#include "drawntext.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTest>
#include <QWidget>

namespace {

// Draws one text where it is told, with its painter moved, scaled and clipped first, as a
// style draws a widget's text.
class Sign : public QWidget
{
public:
    QTransform moved;
    QRectF clip; // in the moved painter's coordinates; none where null
    QPointF at;
    QString text;

    void drawOn(QPainter* painter) const
    {
        painter->setWorldTransform(moved, true);
        if (!clip.isNull())
            painter->setClipRect(clip);
        painter->drawText(at, text);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        drawOn(&painter);
    }
};

// Whether a and b differ by less than the 64th of a pixel text is laid out by.
bool near(const QRectF& a, const QRectF& b)
{
    constexpr qreal Step = 1.0 / 64;
    return qAbs(a.left() - b.left()) < Step && qAbs(a.top() - b.top()) < Step && qAbs(a.right() - b.right()) < Step
           && qAbs(a.bottom() - b.bottom()) < Step;
}

QString shown(const QRectF& r)
{
    return QStringLiteral("(%1, %2) %3 x %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

class tst_DrawnText : public QObject
{
    Q_OBJECT

private slots:
    void runsInTheWidgetsPixels_data();
    void runsInTheWidgetsPixels();
};

void tst_DrawnText::runsInTheWidgetsPixels_data()
{
    QTest::addColumn<bool>("rendered"); // drawn by a widget rendered with the painter
    QTest::addColumn<QTransform>("before"); // what the painter was moved by before
    QTest::addColumn<QTransform>("moved");  // what the drawing moves its painter by
    QTest::addColumn<QRectF>("clip");
    QTest::addColumn<QPointF>("origin");     // where the run begins on its base line
    QTest::addColumn<QSizeF>("magnified");   // how much wider and higher than the font draws it
    QTest::addColumn<QRectF>("clipShown");
    QTest::addColumn<bool>("clipped");

    const QTransform none;
    const QRectF noClip;
    // The text is drawn at (4, 20) in the coordinates it is drawn in.
    QTest::newRow("as it stands")
        << false << none << none << noClip << QPointF(4, 20) << QSizeF(1, 1) << noClip << false;
    QTest::newRow("moved") << false << none << QTransform::fromTranslate(30, 12) << noClip << QPointF(34, 32)
                           << QSizeF(1, 1) << noClip << false;
    QTest::newRow("moved back") << false << none << QTransform::fromTranslate(-3, -15) << noClip << QPointF(1, 5)
                                << QSizeF(1, 1) << noClip << false;
    QTest::newRow("scaled") << false << none << QTransform::fromScale(2, 2) << noClip << QPointF(8, 40) << QSizeF(2, 2)
                            << noClip << false;
    QTest::newRow("scaled unevenly") << false << none << QTransform::fromScale(1.5, 3) << noClip << QPointF(6, 60)
                                     << QSizeF(1.5, 3) << noClip << false;
    QTest::newRow("moved, then scaled") << false << none << QTransform::fromTranslate(30, 12).scale(2, 2) << noClip
                                        << QPointF(38, 52) << QSizeF(2, 2) << noClip << false;
    QTest::newRow("scaled, then moved") << false << none << QTransform::fromScale(2, 2).translate(30, 12) << noClip
                                        << QPointF(68, 64) << QSizeF(2, 2) << noClip << false;
    QTest::newRow("moved, clipped within the text")
        << false << none << QTransform::fromTranslate(30, 12) << QRectF(0, 0, 20, 40) << QPointF(34, 32)
        << QSizeF(1, 1) << QRectF(30, 12, 20, 40) << true;
    QTest::newRow("scaled, clipped within the text")
        << false << none << QTransform::fromScale(2, 2) << QRectF(0, 0, 20, 40) << QPointF(8, 40) << QSizeF(2, 2)
        << QRectF(0, 0, 40, 80) << true;
    QTest::newRow("moved and scaled, a clip the text fits in")
        << false << none << QTransform::fromTranslate(30, 12).scale(2, 2) << QRectF(0, 0, 400, 40) << QPointF(38, 52)
        << QSizeF(2, 2) << QRectF(30, 12, 800, 80) << false;

    // A widget lays its text out in its own pixels, wherever it is rendered to.
    QTest::newRow("a widget, rendered as it stands")
        << true << none << none << noClip << QPointF(4, 20) << QSizeF(1, 1) << noClip << false;
    QTest::newRow("a widget, rendered moved and scaled")
        << true << QTransform::fromTranslate(50, 9).scale(3, 2) << none << noClip << QPointF(4, 20) << QSizeF(1, 1)
        << noClip << false;
    QTest::newRow("a widget moving and clipping its painter, rendered moved and scaled")
        << true << QTransform::fromTranslate(50, 9).scale(3, 2) << QTransform::fromTranslate(30, 12).scale(2, 2)
        << QRectF(0, 0, 20, 40) << QPointF(38, 52) << QSizeF(2, 2) << QRectF(30, 12, 40, 80) << true;
}

// A run drawn after the painter was moved or scaled lies, from where it begins to where the
// next would, over what its glyphs cover and within its clip, where the widget shows it:
// mapped as the painter mapped it, in the widget's pixels, not in the screen's.
void tst_DrawnText::runsInTheWidgetsPixels()
{
    QFETCH(bool, rendered);
    QFETCH(QTransform, before);
    QFETCH(QTransform, moved);
    QFETCH(QRectF, clip);
    QFETCH(QPointF, origin);
    QFETCH(QSizeF, magnified);
    QFETCH(QRectF, clipShown);
    QFETCH(bool, clipped);

    Sign sign;
    sign.moved = moved;
    sign.clip = clip;
    sign.at = QPointF(4, 20);
    sign.text = QStringLiteral("Office LAN");
    sign.resize(300, 100);
    sign.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sign));

    const QList<DrawnText::Run> runs = DrawnText::ofPainting(&sign, [&](QPainter* painter) {
        painter->setWorldTransform(before);
        painter->setFont(sign.font());
        if (rendered)
            sign.render(painter, QPoint(), QRegion(), QWidget::RenderFlags());
        else
            sign.drawOn(painter);
    });
    QCOMPARE(runs.size(), 1);
    const DrawnText::Run& run = runs.first();
    QCOMPARE(run.text, sign.text);

    const QFontMetricsF metrics(sign.font(), &sign);
    const qreal wide = magnified.width();
    const qreal high = magnified.height();
    const QRectF extent(origin.x(), origin.y() - high * metrics.ascent(), wide * metrics.horizontalAdvance(sign.text),
                        high * (metrics.ascent() + metrics.descent()));
    QVERIFY2(near(run.extent, extent), qPrintable(shown(run.extent) + " not " + shown(extent)));
    const QRectF glyphs = metrics.boundingRect(sign.text);
    const QRectF ink(origin.x() + wide * glyphs.x(), origin.y() + high * glyphs.y(), wide * glyphs.width(),
                     high * glyphs.height());
    QVERIFY2(near(run.ink, ink), qPrintable(shown(run.ink) + " not " + shown(ink)));
    QCOMPARE(run.clip.isNull(), clipShown.isNull());
    QVERIFY2(near(run.clip, clipShown), qPrintable(shown(run.clip) + " not " + shown(clipShown)));
    QCOMPARE(run.clipped, clipped);
}

QTEST_MAIN(tst_DrawnText)
#include "tst_drawntext.moc"
