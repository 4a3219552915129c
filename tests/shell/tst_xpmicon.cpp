// The icon helper, and the shell's pictures as the code that draws them relies on them.

#include "xpmicon.h"

#include "images/checklist.xpm"
#include "images/console.xpm"
#include "images/dlgfailed.xpm"
#include "images/dlgfailedicon.xpm"
#include "images/headerleft.xpm"
#include "images/headerright.xpm"
#include "images/headertile.xpm"
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

struct Header
{
    int width = 0;
    int height = 0;
    int colours = 0;
    QByteArray firstColour;
};

Header headerOf(Xpm xpm)
{
    Header h;
    const QList<QByteArray> numbers = QByteArray(xpm[0]).split(' ');
    h.width = numbers.value(0).toInt();
    h.height = numbers.value(1).toInt();
    h.colours = numbers.value(2).toInt();
    h.firstColour = xpm[1];
    return h;
}

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
    void headerPicturesNameTheirBackground_data();
    void headerPicturesNameTheirBackground();
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

// Size, colour count and key of every picture, and what the mask leaves of it: the corners
// gone, the middle there.
void TestXpmIcon::pictures_data()
{
    QTest::addColumn<Xpm>("xpm");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("colours");
    QTest::addColumn<QByteArray>("key");

    QTest::newRow("module 16") << Xpm(ornelcon16_xpm) << QSize(16, 16) << 10 << QByteArray("Magenta");
    QTest::newRow("module 32") << Xpm(ornelcon32_xpm) << QSize(32, 32) << 13 << QByteArray("Magenta");
    QTest::newRow("module 48") << Xpm(ornelcon48_xpm) << QSize(48, 48) << 68 << QByteArray("Magenta");
    QTest::newRow("console") << Xpm(console_xpm) << QSize(16, 16) << 11 << QByteArray("Magenta");
    QTest::newRow("information") << Xpm(information_xpm) << QSize(16, 16) << 3 << QByteArray("Magenta");
    QTest::newRow("section") << Xpm(section_xpm) << QSize(16, 16) << 7 << QByteArray("Magenta");
    QTest::newRow("status") << Xpm(status_xpm) << QSize(16, 16) << 8 << QByteArray("Magenta");
    QTest::newRow("log") << Xpm(log_xpm) << QSize(16, 16) << 6 << QByteArray("None");
    QTest::newRow("checklist") << Xpm(checklist_xpm) << QSize(16, 15) << 5 << QByteArray("Gray100");
    QTest::newRow("failure picture") << Xpm(dlgfailed_xpm) << QSize(39, 40) << 4 << QByteArray("None");
    QTest::newRow("failure window icon") << Xpm(dlgfailedicon_xpm) << QSize(16, 16) << 7 << QByteArray("None");
}

void TestXpmIcon::pictures()
{
    QFETCH(Xpm, xpm);
    QFETCH(QSize, size);
    QFETCH(int, colours);
    QFETCH(QByteArray, key);

    const Header header = headerOf(xpm);
    QCOMPARE(QSize(header.width, header.height), size);
    QCOMPARE(header.colours, colours);
    QCOMPARE(header.firstColour, QByteArray("  c ") + key);

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

// The page header turns the colour named "Magenta" into its own background by writing the
// colour's text over the name in the picture's colour line, eight bytes from the "M" on:
// the name must end its line there.
void TestXpmIcon::headerPicturesNameTheirBackground_data()
{
    QTest::addColumn<Xpm>("xpm");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("colours");

    QTest::newRow("left") << Xpm(headerleft_xpm) << QSize(55, 48) << 14;
    QTest::newRow("tile") << Xpm(headertile_xpm) << QSize(2, 48) << 2;
    QTest::newRow("right") << Xpm(headerright_xpm) << QSize(64, 48) << 5;
}

void TestXpmIcon::headerPicturesNameTheirBackground()
{
    QFETCH(Xpm, xpm);
    QFETCH(QSize, size);
    QFETCH(int, colours);

    const Header header = headerOf(xpm);
    QCOMPARE(QSize(header.width, header.height), size);
    QCOMPARE(header.colours, colours);

    int magentaLines = 0;
    for (int i = 1; i <= header.colours; ++i) {
        const QByteArray line(xpm[i]);
        if (line.contains("Magenta")) {
            ++magentaLines;
            QVERIFY(line.endsWith("Magenta"));
        }
    }
    QCOMPARE(magentaLines, 1);

    // With the name replaced, the background shows in the replacing colour at the top
    // corners, where no picture is drawn.
    QList<QByteArray> copy;
    for (int i = 0; i < 1 + header.colours + header.height; ++i)
        copy.append(QByteArray(xpm[i]).replace("Magenta", "#FFFFFF"));
    QList<const char*> lines;
    for (const QByteArray& line : copy)
        lines.append(line.constData());
    const QImage image = QPixmap(lines.data()).toImage();
    QCOMPARE(image.size(), size);
    QCOMPARE(QColor(image.pixel(0, 0)), QColor(Qt::white));
    QCOMPARE(QColor(image.pixel(size.width() - 1, 0)), QColor(Qt::white));
}

QTEST_MAIN(TestXpmIcon)
#include "tst_xpmicon.moc"
