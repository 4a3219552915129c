// The icon helper, and the shell's icons as it masks them.

#include "xpmicon.h"

#include "images/checklist.xpm"
#include "images/console.xpm"
#include "images/dlgfailed.xpm"

#include <QImage>
#include <QPixmap>
#include <QtTest>

using Xpm = const char* const*;
Q_DECLARE_METATYPE(Xpm)

namespace {

// A 6 x 6 black ring on a magenta background, with magenta inside the ring where the edge
// cannot reach it; and the same ring on a transparent background.
const char* const ringXpm[] = {"6 6 2 1", "  c Magenta", ". c #000000", "      ", " .... ",
                               " .  . ", " .  . ", " .... ", "      "};
const char* const transparentRingXpm[] = {"6 6 2 1", "  c None", ". c #000000", "      ",
                                          " .... ", " .  . ", " .  . ", " .... ", "      "};

bool opaque(const QImage& image, int x, int y)
{
    return qAlpha(image.pixel(x, y)) == 255;
}

} // namespace

class TestXpmIcon : public QObject
{
    Q_OBJECT

private slots:
    void rings_data();
    void rings();
    void pictures_data();
    void pictures();
};

void TestXpmIcon::rings_data()
{
    QTest::addColumn<Xpm>("xpm");
    QTest::addColumn<bool>("insideOpaque");

    // Tight clipping: magenta inside the ring is not the background.
    QTest::newRow("magenta background") << Xpm(ringXpm) << true;
    // A picture with its own transparency keeps it.
    QTest::newRow("transparent background") << Xpm(transparentRingXpm) << false;
}

void TestXpmIcon::rings()
{
    QFETCH(Xpm, xpm);
    QFETCH(bool, insideOpaque);

    const QImage image = xpmIcon(xpm).toImage();
    QCOMPARE(image.size(), QSize(6, 6));
    QVERIFY(!opaque(image, 0, 0));
    QVERIFY(!opaque(image, 5, 3));
    QVERIFY(opaque(image, 1, 1));
    QCOMPARE(QColor(image.pixel(1, 1)), QColor(Qt::black));
    QCOMPARE(opaque(image, 2, 2), insideOpaque);
}

// Every icon loses its background at the corners and keeps its middle.
void TestXpmIcon::pictures_data()
{
    QTest::addColumn<Xpm>("xpm");
    QTest::addColumn<QSize>("size");

    QTest::newRow("console") << Xpm(console_xpm) << QSize(16, 16);
    QTest::newRow("checklist") << Xpm(checklist_xpm) << QSize(16, 15);
    QTest::newRow("failure picture") << Xpm(dlgfailed_xpm) << QSize(39, 40);
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
    for (const QPoint& corner : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)})
        QVERIFY(!opaque(image, corner.x(), corner.y()));
    QVERIFY(opaque(image, size.width() / 2, size.height() / 2));
}

QTEST_MAIN(TestXpmIcon)
#include "tst_xpmicon.moc"
