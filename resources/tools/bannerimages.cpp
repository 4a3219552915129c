// Draws the nine pictures of the product page's banner and writes them as XPM files
// that forms/tdlglogo.cpp includes. The files in resources/banner/ were made with this
// program; run it again only to change them:
//
//     ornel-bannerimages resources/banner
//
// The banner is a frame round the page: a dark red column on the left with a white
// strip at its right edge, a title band along the top (lettering, a thin black rule 45
// pixels down, an emblem on the right) and a band of red stripes along the bottom. The
// 2-pixel pictures stretch sideways and the 51-by-30 one downwards, so those are drawn
// to repeat seamlessly. Lettering is drawn anti-aliased and then cut down to a small
// palette, so the files stay readable and small.

#include "outputfolder.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRadialGradient>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QColor DarkRed(0x96, 0x00, 0x18);
const QColor LightRed(0xcb, 0x80, 0x8c);
const QColor Rule(Qt::black);

constexpr int ColumnWidth = 51;
constexpr int StripWidth = 5;     // the white strip at the column's right edge
constexpr int RuleRow = 45;       // the black rule across the title band
constexpr int FirstStripe = 6;    // stripes of the bottom band: rows 6, 8, ... 22
constexpr int LastStripe = 22;

QImage blank(int width, int height, const QColor &colour = Qt::white)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void paintRow(QImage &image, int row, const QColor &colour, int fromX = 0, int toX = -1)
{
    if (toX < 0)
        toX = image.width();
    for (int x = fromX; x < toX; ++x)
        image.setPixelColor(x, row, colour);
}

void paintRule(QImage &image)
{
    paintRow(image, RuleRow, Rule);
}

void paintStripes(QImage &image, const QColor &colour, int fromX = 0, int toX = -1)
{
    for (int row = FirstStripe; row <= LastStripe; row += 2)
        paintRow(image, row, colour, fromX, toX);
}

QImage column(int height)
{
    QImage image = blank(ColumnWidth, height, DarkRed);
    for (int y = 0; y < height; ++y)
        paintRow(image, y, Qt::white, ColumnWidth - StripWidth);
    return image;
}

// Keeps the `count` most frequent colours and moves every other pixel to the nearest
// of them, so the picture has exactly that many colours (or fewer, when it had fewer).
QImage reduceColours(const QImage &source, int count)
{
    QHash<QRgb, int> frequency;
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x)
            ++frequency[source.pixel(x, y) & 0xffffff];
    }
    std::vector<std::pair<int, QRgb>> ranked;
    for (auto it = frequency.cbegin(); it != frequency.cend(); ++it)
        ranked.emplace_back(it.value(), it.key());
    // Ties broken by the colour value, so that a second run writes the same file.
    std::sort(ranked.begin(), ranked.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    if (int(ranked.size()) <= count)
        return source;
    ranked.resize(count);

    auto distance = [](QRgb a, QRgb b) {
        const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
        return dr * dr + dg * dg + db * db;
    };
    QImage result = source;
    QHash<QRgb, QRgb> nearest;
    for (int y = 0; y < result.height(); ++y) {
        for (int x = 0; x < result.width(); ++x) {
            const QRgb colour = result.pixel(x, y) & 0xffffff;
            auto found = nearest.constFind(colour);
            if (found == nearest.cend()) {
                QRgb best = ranked.front().second;
                for (const auto &entry : ranked) {
                    if (distance(colour, entry.second) < distance(colour, best))
                        best = entry.second;
                }
                found = nearest.insert(colour, best);
            }
            result.setPixel(x, y, 0xff000000 | found.value());
        }
    }
    return result;
}

QFont font(const char *family, qreal pixelSize, int weight)
{
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(qRound(pixelSize));
    f.setWeight(QFont::Weight(weight));
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// The product name set large above the rule, and the module's purpose below it.
QImage title()
{
    QImage letters = blank(278, 70);
    {
        QPainter p(&letters);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setPen(DarkRed);
        p.setFont(font("DejaVu Serif", 27, QFont::Bold));
        p.drawText(QPointF(8, 36), QStringLiteral("Ornel Corvane"));
    }
    QImage tagline = blank(278, 70);
    {
        QPainter p(&tagline);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setPen(QColor(0x50, 0x50, 0x50));
        QFont f = font("DejaVu Sans", 11, QFont::Normal);
        f.setLetterSpacing(QFont::AbsoluteSpacing, 1.2);
        p.setFont(f);
        p.drawText(QPointF(10, 62), QStringLiteral("MAIL SERVER ADMINISTRATION"));
    }
    // Each ink gets its own share of the palette: white and 15 shades of the red
    // lettering, 14 of the grey line and the rule's black, 31 in all.
    QImage image = reduceColours(letters, 16);
    const QImage grey = reduceColours(tagline, 15);
    for (int y = RuleRow + 1; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, grey.pixel(x, y));
    }
    paintRule(image);
    return image;
}

// A raven's-wing disc holding a closed envelope, the product's mark.
QImage emblem()
{
    QImage image = blank(149, 70);
    paintRule(image);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(112, 35);
    const qreal radius = 30;

    QRadialGradient disc(centre + QPointF(-9, -11), radius * 1.5);
    disc.setColorAt(0.0, QColor(0xe0, 0x4a, 0x5e));
    disc.setColorAt(0.55, DarkRed);
    disc.setColorAt(1.0, QColor(0x4a, 0x00, 0x0c));
    p.setPen(QPen(QColor(0x5a, 0x00, 0x10), 1.5));
    p.setBrush(disc);
    p.drawEllipse(centre, radius, radius);

    // A wing sweeping round the lower left of the disc.
    QPainterPath wing;
    wing.moveTo(centre + QPointF(-27, 8));
    wing.cubicTo(centre + QPointF(-14, 30), centre + QPointF(14, 30), centre + QPointF(26, 12));
    wing.cubicTo(centre + QPointF(10, 22), centre + QPointF(-10, 20), centre + QPointF(-27, 8));
    QLinearGradient wingShade(centre + QPointF(-27, 8), centre + QPointF(26, 12));
    wingShade.setColorAt(0.0, QColor(0x22, 0x22, 0x2a));
    wingShade.setColorAt(1.0, QColor(0x55, 0x55, 0x66));
    p.setPen(Qt::NoPen);
    p.setBrush(wingShade);
    p.drawPath(wing);

    const QRectF envelope(centre.x() - 15, centre.y() - 13, 30, 20);
    p.setPen(QPen(QColor(0x5a, 0x00, 0x10), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QLinearGradient paper(envelope.topLeft(), envelope.bottomRight());
    paper.setColorAt(0.0, Qt::white);
    paper.setColorAt(1.0, QColor(0xf2, 0xe6, 0xd0));
    p.setBrush(paper);
    p.drawRoundedRect(envelope, 1.5, 1.5);
    QPainterPath flap;
    flap.moveTo(envelope.topLeft() + QPointF(0.8, 0.8));
    flap.lineTo(QPointF(envelope.center().x(), envelope.center().y() + 2));
    flap.lineTo(envelope.topRight() + QPointF(-0.8, 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(flap);
    p.end();
    return reduceColours(image, 256);
}

// The bottom band's stripes, with the product name signed small beneath them.
QImage mark()
{
    QImage image = blank(149, 46);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setPen(DarkRed);
        p.setFont(font("DejaVu Serif", 11, QFont::Bold));
        const QString name = QStringLiteral("Ornel Corvane");
        const qreal width = QFontMetricsF(p.font()).horizontalAdvance(name);
        p.drawText(QPointF(149 - 10 - width, 38), name);
    }
    image = reduceColours(image, 7);
    paintStripes(image, DarkRed);
    return image;
}

QImage bottomStripes(int width)
{
    QImage image = blank(width, 46);
    paintStripes(image, DarkRed);
    return image;
}

QImage bottomCorner()
{
    QImage image = column(46);
    paintStripes(image, LightRed, 0, ColumnWidth - StripWidth);
    return image;
}

QImage topFill()
{
    QImage image = blank(2, 70);
    paintRule(image);
    return image;
}

// XPM keys: one character per pixel while the palette allows, two beyond that.
QString xpmText(const QImage &image, const QString &arrayName)
{
    static const char Keys[] =
        " .+@#$%&*=-;>,')!~{]^/(_:<[}|1234567890abcdefghijklmnopqrstuvwxyz"
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ`";
    const int keyCount = int(sizeof(Keys)) - 1;

    std::vector<QRgb> palette;
    QHash<QRgb, int> index;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y) & 0xffffff;
            if (!index.contains(colour)) {
                index.insert(colour, int(palette.size()));
                palette.push_back(colour);
            }
        }
    }
    const int width = palette.size() <= size_t(keyCount) ? 1 : 2;
    auto key = [&](int i) {
        return width == 1 ? QString(QLatin1Char(Keys[i]))
                          : QString(QLatin1Char(Keys[i / keyCount])) + QLatin1Char(Keys[i % keyCount]);
    };

    QString text;
    QTextStream out(&text);
    out << "/* XPM */\n"
        << "static const char* const " << arrayName << "[] = {\n"
        << '"' << image.width() << ' ' << image.height() << ' ' << palette.size() << ' '
        << width << "\",\n";
    for (size_t i = 0; i < palette.size(); ++i) {
        out << '"' << key(int(i)) << " c "
            << QColor(palette[i]).name(QColor::HexRgb) << "\",\n";
    }
    for (int y = 0; y < image.height(); ++y) {
        out << '"';
        for (int x = 0; x < image.width(); ++x)
            out << key(index.value(image.pixel(x, y) & 0xffffff));
        out << '"' << (y + 1 < image.height() ? ",\n" : "\n");
    }
    out << "};\n";
    return text;
}

bool writeXpm(const QDir &folder, const char *name, const QImage &image)
{
    const QString arrayName = QString::fromLatin1(name) + QStringLiteral("_xpm");
    QFile file(folder.filePath(QString::fromLatin1(name) + QStringLiteral(".xpm")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    file.write(xpmText(image, arrayName).toLatin1());
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const std::optional<QDir> folder = outputFolder(argc, argv);
    if (!folder)
        return 2;
    const QDir& out = *folder;
    const struct {
        const char *name;
        QImage image;
    } pictures[] = {
        {"banner_corner_top", column(70)},
        {"banner_title", title()},
        {"banner_fill_top", topFill()},
        {"banner_emblem", emblem()},
        {"banner_column", column(30)},
        {"banner_corner_bottom", bottomCorner()},
        {"banner_stripes", bottomStripes(278)},
        {"banner_fill_bottom", bottomStripes(2)},
        {"banner_mark", mark()},
    };
    for (const auto &picture : pictures) {
        if (!writeXpm(out, picture.name, picture.image))
            return 1;
    }
    return 0;
}
