// The icon helper, and the shell's icons as it masks them.

#include "xpmicon.h"

#include "images/checklist.xpm"
#include "images/console.xpm"
#include "images/dlgfailed.xpm"
#include "images/dlgfailedicon.xpm"
#include "images/information.xpm"
#include "images/log.xpm"
#include "images/ornelcon16.xpm"
#include "images/ornelcon32.xpm"
#include "images/ornelcon48.xpm"
#include "images/section.xpm"
#include "images/status.xpm"

#include <QImage>
#include <QPixmap>
#include <QtTest>

using Xpm = const char* const*;
Q_DECLARE_METATYPE(Xpm)

namespace {

// A 6 x 6 picture: a magenta background, a black ring, and magenta again inside the ring,
// where the edge cannot reach it.
const char* const ringXpm[] = {
    "6 6 2 1",
    "  c Magenta",
    ". c #000000",
    "      ",
    " .... ",
    " .  . ",
    " .  . ",
    " .... ",
    "      ",
};

// The same ring with a transparent background: its transparent pixels read as black.
const char* const transparentRingXpm[] = {
    "6 6 2 1",
    "  c None",
    ". c #000000",
    "      ",
    " .... ",
    " .  . ",
    " .  . ",
    " .... ",
    "      ",
};

bool opaque(const QImage& image, int x, int y)
{
    return qAlpha(image.pixel(x, y)) == 255;
}

} // namespace

class TestXpmIcon : public QObject
{
    Q_OBJECT

private slots:
    void keyColourConnectedToTheEdgeGoes();
    void picturesWithTransparencyKeepTheirOutline();
    void pictures_data();
    void pictures();
};

void TestXpmIcon::keyColourConnectedToTheEdgeGoes()
{
    const QImage image = xpmIcon(ringXpm).toImage();
    QCOMPARE(image.size(), QSize(6, 6));
    QVERIFY(!opaque(image, 0, 0));
    QVERIFY(!opaque(image, 5, 3));
    QVERIFY(opaque(image, 1, 1));
    // Tight clipping: the magenta inside the ring is not the background.
    QVERIFY(opaque(image, 2, 2));
    QCOMPARE(QColor(image.pixel(2, 2)), QColor(Qt::magenta));
}

void TestXpmIcon::picturesWithTransparencyKeepTheirOutline()
{
    const QImage image = xpmIcon(transparentRingXpm).toImage();
    QVERIFY(!opaque(image, 0, 0));
    QVERIFY(!opaque(image, 2, 2));
    QVERIFY(opaque(image, 1, 1));
    QVERIFY(opaque(image, 4, 4));
    QCOMPARE(QColor(image.pixel(1, 1)), QColor(Qt::black));
}

// Every icon loses its background at the corners and keeps its middle.
void TestXpmIcon::pictures_data()
{
    QTest::addColumn<Xpm>("xpm");
    QTest::addColumn<QSize>("size");

    QTest::newRow("console") << Xpm(console_xpm) << QSize(16, 16);
    QTest::newRow("information") << Xpm(information_xpm) << QSize(16, 16);
    QTest::newRow("section") << Xpm(section_xpm) << QSize(16, 16);
    QTest::newRow("status") << Xpm(status_xpm) << QSize(16, 16);
    QTest::newRow("log") << Xpm(log_xpm) << QSize(16, 16);
    QTest::newRow("checklist") << Xpm(checklist_xpm) << QSize(16, 15);
    QTest::newRow("failure picture") << Xpm(dlgfailed_xpm) << QSize(39, 40);
    QTest::newRow("failure window icon") << Xpm(dlgfailedicon_xpm) << QSize(16, 16);
}

void TestXpmIcon::pictures()
{
    QFETCH(Xpm, xpm);
    QFETCH(QSize, size);

    const QPixmap pixmap = xpmIcon(xpm);
    QCOMPARE(pixmap.size(), size);
    const QImage image = pixmap.toImage();
    const int right = size.width() - 1;
    const int bottom = size.height() - 1;
    QVERIFY(!opaque(image, 0, 0));
    QVERIFY(!opaque(image, right, 0));
    QVERIFY(!opaque(image, 0, bottom));
    QVERIFY(!opaque(image, right, bottom));
    QVERIFY(opaque(image, size.width() / 2, size.height() / 2));
}

QTEST_MAIN(TestXpmIcon)
#include "tst_xpmicon.moc"
