// Draws the console shell's larger pictures and writes them in the forms the module
// compiles in: the 32 and 48 pixel module icons, the three pictures of a page's header
// row, the connection-failure dialog's picture and the splash image. Those files in
// resources/images/ and resources/splash.png were made with this program; run it again
// only to change them:
//
//     ornel-shellart resources
//
// The 16-pixel pictures (the small module icon, the tree icons, the failure dialog's
// window icon) are drawn by hand, pixel by pixel, in their XPM files: smooth drawing
// turns to mud at that size.
//
// XPM pictures with a key colour list it first, as character blank named "Magenta":
// the module masks that colour away from the corners inwards, and the page header
// replaces the name with its own background colour. Edges are drawn smooth and then
// settled against a light grey, because an XPM pixel is either fully there or not.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRadialGradient>
#include <QRectF>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>
#include <vector>

namespace {

// Characters for XPM pixels: printable, none of them special inside a C string, and no
// question mark (trigraphs). Blank is kept for the key colour.
const char PixelChars[] = ".+@#$%&*=-;>,')!~{]^/(_:<[}|1234567890abcdefghijklmnopqrstuvwxyz"
                          "ABCDEFGHIJKLMNOPQRSTUVWXYZ`";

const QColor Navy(0x2b, 0x3a, 0x55);
const QColor Cream(0xfb, 0xf3, 0xdc);
const QColor Flap(0xf1, 0xe2, 0xb8);
const QColor Accent(0x1f, 0x6f, 0xd0);
const QColor Ring(0xd5, 0xdc, 0xe6);
const QColor Settle(0xf0, 0xf0, 0xf0);

// ---------------------------------------------------------------------------------------
// Colour reduction

struct Rgb
{
    int r, g, b;
    bool operator<(const Rgb &o) const { return std::tie(r, g, b) < std::tie(o.r, o.g, o.b); }
    bool operator==(const Rgb &o) const { return r == o.r && g == o.g && b == o.b; }
};

Rgb toRgb(QRgb c) { return {qRed(c), qGreen(c), qBlue(c)}; }

int distance2(const Rgb &a, const Rgb &b)
{
    const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
    return 2 * dr * dr + 4 * dg * dg + 3 * db * db;
}

int nearest(const std::vector<Rgb> &palette, const Rgb &c)
{
    int best = 0;
    int bestDistance = distance2(palette[0], c);
    for (int i = 1; i < int(palette.size()); ++i) {
        const int d = distance2(palette[i], c);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

struct Weighted
{
    Rgb colour;
    int count;
};

// Median cut over the distinct colours, then a few rounds of k-means; deterministic, so
// running the program twice writes the same files.
std::vector<Rgb> reducePalette(const std::map<Rgb, int> &histogram, int wanted)
{
    std::vector<Weighted> colours;
    for (const auto &[colour, count] : histogram)
        colours.push_back({colour, count});
    if (int(colours.size()) <= wanted) {
        std::vector<Rgb> exact;
        for (const Weighted &w : colours)
            exact.push_back(w.colour);
        return exact;
    }

    std::vector<std::vector<Weighted>> boxes{colours};
    while (int(boxes.size()) < wanted) {
        int widestBox = -1, widestRange = 0, widestChannel = 0;
        for (int i = 0; i < int(boxes.size()); ++i) {
            if (boxes[i].size() < 2)
                continue;
            for (int channel = 0; channel < 3; ++channel) {
                int lo = 255, hi = 0;
                for (const Weighted &w : boxes[i]) {
                    const int v = channel == 0 ? w.colour.r : channel == 1 ? w.colour.g : w.colour.b;
                    lo = std::min(lo, v);
                    hi = std::max(hi, v);
                }
                if (hi - lo > widestRange) {
                    widestBox = i;
                    widestRange = hi - lo;
                    widestChannel = channel;
                }
            }
        }
        if (widestBox < 0)
            break;
        std::vector<Weighted> box = boxes[widestBox];
        std::sort(box.begin(), box.end(), [widestChannel](const Weighted &a, const Weighted &b) {
            const auto key = [widestChannel](const Rgb &c) {
                return widestChannel == 0 ? c.r : widestChannel == 1 ? c.g : c.b;
            };
            return key(a.colour) != key(b.colour) ? key(a.colour) < key(b.colour) : a.colour < b.colour;
        });
        long total = 0;
        for (const Weighted &w : box)
            total += w.count;
        long running = 0;
        size_t cut = 1;
        for (size_t i = 0; i + 1 < box.size(); ++i) {
            running += box[i].count;
            cut = i + 1;
            if (running * 2 >= total)
                break;
        }
        boxes[widestBox].assign(box.begin(), box.begin() + long(cut));
        boxes.emplace_back(box.begin() + long(cut), box.end());
    }

    std::vector<Rgb> palette;
    for (const auto &box : boxes) {
        double r = 0, g = 0, b = 0, n = 0;
        for (const Weighted &w : box) {
            r += w.colour.r * double(w.count);
            g += w.colour.g * double(w.count);
            b += w.colour.b * double(w.count);
            n += w.count;
        }
        palette.push_back({int(std::lround(r / n)), int(std::lround(g / n)), int(std::lround(b / n))});
    }
    for (int round = 0; round < 8; ++round) {
        std::vector<double> sr(palette.size()), sg(palette.size()), sb(palette.size()), sn(palette.size());
        for (const Weighted &w : colours) {
            const int i = nearest(palette, w.colour);
            sr[i] += w.colour.r * double(w.count);
            sg[i] += w.colour.g * double(w.count);
            sb[i] += w.colour.b * double(w.count);
            sn[i] += w.count;
        }
        for (size_t i = 0; i < palette.size(); ++i) {
            if (sn[i] > 0)
                palette[i] = {int(std::lround(sr[i] / sn[i])), int(std::lround(sg[i] / sn[i])),
                              int(std::lround(sb[i] / sn[i]))};
        }
    }
    // Two clusters may meet on one colour; the files list each colour once.
    std::sort(palette.begin(), palette.end());
    palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
    return palette;
}

// Pixels at least half covered become solid, their colour settled against light grey;
// the rest are left out. Returns the solid colours, or an invalid colour for left out.
QVector<QColor> settle(const QImage &argb)
{
    QVector<QColor> pixels;
    const QImage image = argb.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            const int a = qAlpha(c);
            if (a < 128) {
                pixels.append(QColor());
                continue;
            }
            const auto blend = [a](int fg, int bg) { return (fg * a + bg * (255 - a)) / 255; };
            pixels.append(QColor(blend(qRed(c), Settle.red()), blend(qGreen(c), Settle.green()),
                                 blend(qBlue(c), Settle.blue())));
        }
    }
    return pixels;
}

enum class Key { Magenta, None };

// Writes an XPM with at most `colours` colours, counting the key colour when it is used.
bool writeXpm(const QString &path, const char *name, const QImage &argb, int colours, Key key,
              const std::vector<Rgb> &fixedPalette = {})
{
    const QVector<QColor> pixels = settle(argb);
    std::map<Rgb, int> histogram;
    bool anyLeftOut = false;
    for (const QColor &c : pixels) {
        if (c.isValid())
            ++histogram[{c.red(), c.green(), c.blue()}];
        else
            anyLeftOut = true;
    }
    const int keySlots = anyLeftOut ? 1 : 0;
    const std::vector<Rgb> palette
        = fixedPalette.empty() ? reducePalette(histogram, colours - keySlots) : fixedPalette;

    std::vector<int> index;
    std::vector<bool> used(palette.size());
    for (const QColor &c : pixels) {
        if (!c.isValid()) {
            index.push_back(-1);
            continue;
        }
        const int i = nearest(palette, {c.red(), c.green(), c.blue()});
        used[size_t(i)] = true;
        index.push_back(i);
    }
    std::vector<int> charOf(palette.size(), -1);
    int next = 0;
    for (size_t i = 0; i < palette.size(); ++i) {
        if (used[i])
            charOf[i] = next++;
    }
    if (next > int(sizeof PixelChars) - 1) {
        std::fprintf(stderr, "%s: too many colours\n", name);
        return false;
    }

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray out = "/* XPM */\nstatic const char* const ";
    out += name;
    out += "[] = {\n";
    out += QByteArray("\"") + QByteArray::number(argb.width()) + ' ' + QByteArray::number(argb.height())
           + ' ' + QByteArray::number(next + keySlots) + " 1\",\n";
    if (keySlots)
        out += key == Key::Magenta ? "\"  c Magenta\",\n" : "\"  c None\",\n";
    for (size_t i = 0; i < palette.size(); ++i) {
        if (charOf[i] < 0)
            continue;
        out += QByteArray("\"") + PixelChars[charOf[i]] + " c "
               + QColor(palette[i].r, palette[i].g, palette[i].b).name(QColor::HexRgb).toUpper().toLatin1()
               + "\",\n";
    }
    for (int y = 0; y < argb.height(); ++y) {
        out += '"';
        for (int x = 0; x < argb.width(); ++x) {
            const int i = index[size_t(y * argb.width() + x)];
            out += i < 0 ? ' ' : PixelChars[charOf[size_t(i)]];
        }
        out += y + 1 < argb.height() ? "\",\n" : "\"\n";
    }
    out += "};\n";
    return file.write(out) == out.size();
}

QImage transparentCanvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// ---------------------------------------------------------------------------------------
// Shared motifs

// A closed envelope with its flap; `r` is the body.
void drawEnvelope(QPainter &p, const QRectF &r, qreal line)
{
    p.setPen(QPen(Navy, line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Cream);
    p.drawRect(r);
    QPainterPath flap;
    flap.moveTo(r.topLeft());
    flap.lineTo(r.center().x(), r.top() + r.height() * 0.58);
    flap.lineTo(r.topRight());
    flap.closeSubpath();
    p.setBrush(Flap);
    p.drawPath(flap);
}

// The monitor of the module icons: a bezel, a blue screen with an envelope on it, a neck
// and a foot, drawn on a 48-unit square scaled to the icon.
QImage drawModuleIcon(int size)
{
    QImage image = transparentCanvas(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 48.0;
    p.scale(s, s);
    const qreal line = std::max(1.0 / s, 1.6);

    // Foot and neck.
    p.setPen(QPen(Navy, line));
    QLinearGradient foot(0, 38, 0, 46);
    foot.setColorAt(0, QColor(0x9a, 0xa5, 0xb4));
    foot.setColorAt(1, QColor(0x5d, 0x69, 0x7a));
    p.setBrush(foot);
    p.drawRect(QRectF(20, 35, 8, 6));
    p.drawRoundedRect(QRectF(10, 40, 28, 6), 2, 2);

    // Bezel.
    QLinearGradient bezel(0, 2, 0, 36);
    bezel.setColorAt(0, QColor(0xc8, 0xcf, 0xd9));
    bezel.setColorAt(1, QColor(0x7c, 0x88, 0x99));
    p.setBrush(bezel);
    p.drawRoundedRect(QRectF(2, 3, 44, 33), 3, 3);

    // Screen.
    QLinearGradient screen(0, 7, 0, 31);
    screen.setColorAt(0, QColor(0x6f, 0xa8, 0xe8));
    screen.setColorAt(1, QColor(0x15, 0x4f, 0xa0));
    p.setBrush(screen);
    p.setPen(QPen(Navy, line * 0.8));
    p.drawRect(QRectF(6, 7, 36, 25));

    drawEnvelope(p, QRectF(13, 12, 22, 15), line * 0.9);
    // A red stamp in the envelope's corner.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc8, 0x32, 0x2b));
    p.drawRect(QRectF(29.5, 13.8, 4, 3.6));
    return image;
}

// The emblem of the page header: the envelope inside the ring of the wait indicator,
// with a bright arc on the ring.
void drawEmblem(QPainter &p, const QPointF &centre, qreal radius, qreal ringWidth, qreal envelopeWidth)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Ring, ringWidth));
    p.drawEllipse(centre, radius, radius);
    QPen arc(Accent, ringWidth);
    arc.setCapStyle(Qt::RoundCap);
    p.setPen(arc);
    const QRectF ring(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    p.drawArc(ring, 60 * 16, 110 * 16);
    const qreal h = envelopeWidth * 0.66;
    drawEnvelope(p, QRectF(centre.x() - envelopeWidth / 2, centre.y() - h / 2, envelopeWidth, h),
                 std::max(1.5, envelopeWidth / 22));
}

// ---------------------------------------------------------------------------------------
// Page header

constexpr int HeaderHeight = 48;
constexpr int RuleRows = 2;
const QColor Rule = Accent;

QImage drawHeaderLeft()
{
    QImage image = transparentCanvas(55, HeaderHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawEmblem(p, QPointF(27.5, 22.5), 17, 4, 20);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(0, HeaderHeight - RuleRows, 55, RuleRows, Rule);
    return image;
}

QImage drawHeaderTile()
{
    QImage image = transparentCanvas(2, HeaderHeight);
    QPainter p(&image);
    p.fillRect(0, HeaderHeight - RuleRows, 2, RuleRows, Rule);
    return image;
}

// Quarter rings fading out towards the caption, the rule running on below them.
QImage drawHeaderRight()
{
    QImage image = transparentCanvas(64, HeaderHeight);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor tints[] = {QColor(0xbf, 0xd5, 0xf0), QColor(0x8d, 0xb5, 0xe6), QColor(0x55, 0x8f, 0xdb)};
    const QPointF centre(70, HeaderHeight - 1);
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(tints[i], 5, Qt::SolidLine, Qt::FlatCap));
        const qreal r = 52 - i * 13;
        p.drawEllipse(centre, r, r);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(0, HeaderHeight - RuleRows, 64, RuleRows, Rule);
    return image;
}

// ---------------------------------------------------------------------------------------
// Connection-failure dialog: a warning sign with its shadow.

QImage drawFailurePicture()
{
    QImage image = transparentCanvas(39, 40);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const auto triangle = [](qreal dx, qreal dy) {
        QPainterPath path;
        path.moveTo(18 + dx, 2 + dy);
        path.lineTo(35 + dx, 34 + dy);
        path.lineTo(1 + dx, 34 + dy);
        path.closeSubpath();
        return path;
    };
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9c, 0x9c, 0x9c));
    p.drawPath(triangle(2, 3));
    p.setPen(QPen(Qt::black, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xff, 0xff, 0x00));
    p.drawPath(triangle(0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    QPainterPath bar;
    bar.moveTo(16, 12);
    bar.lineTo(20, 12);
    bar.lineTo(19, 25);
    bar.lineTo(17, 25);
    bar.closeSubpath();
    p.drawPath(bar);
    p.drawEllipse(QPointF(18, 29.5), 2.1, 2.1);
    return image;
}

// ---------------------------------------------------------------------------------------
// Splash

QImage drawSplash()
{
    const int w = 400, h = 290;
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(0x12, 0x34, 0x66));
    sky.setColorAt(1, QColor(0x1f, 0x6f, 0xd0));
    p.fillRect(image.rect(), sky);

    // Wide faint rings behind the emblem.
    for (int i = 0; i < 4; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 18 + 8 * i), 10));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(96, 118), 150 - 28 * i, 150 - 28 * i);
    }
    QRadialGradient glow(QPointF(96, 118), 70);
    glow.setColorAt(0, QColor(255, 255, 255, 70));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(QPointF(96, 118), 70, 70);
    drawEmblem(p, QPointF(96, 118), 50, 9, 58);

    p.setPen(Qt::white);
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(34);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(170, 70, 225, 44), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Ornel"));
    p.drawText(QRectF(170, 108, 225, 44), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Corvane"));
    QFont sub(QStringLiteral("DejaVu Sans"));
    sub.setPixelSize(15);
    p.setFont(sub);
    p.setPen(QColor(0xd5, 0xe4, 0xf7));
    p.drawText(QRectF(171, 152, 225, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Mail server administration"));

    // Footer band.
    p.fillRect(QRectF(0, h - 44, w, 44), QColor(0x0d, 0x26, 0x4a));
    p.fillRect(QRectF(0, h - 44, w, 2), Accent);
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(12);
    p.setFont(small);
    p.setPen(QColor(0xb8, 0xc8, 0xdd));
    p.drawText(QRectF(16, h - 42, w - 32, 42), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Administration module 5.0"));
    p.drawText(QRectF(16, h - 42, w - 32, 42), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Loading ..."));
    return image;
}

// An 8-bit palette PNG: the module's splash is small that way.
bool writeIndexedPng(const QString &path, const QImage &rgb)
{
    std::map<Rgb, int> histogram;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            ++histogram[toRgb(rgb.pixel(x, y))];
    const std::vector<Rgb> palette = reducePalette(histogram, 256);
    QVector<QRgb> table;
    for (const Rgb &c : palette)
        table.append(qRgb(c.r, c.g, c.b));
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    indexed.setColorTable(table);
    for (int y = 0; y < rgb.height(); ++y) {
        uchar *line = indexed.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            line[x] = uchar(nearest(palette, toRgb(rgb.pixel(x, y))));
    }
    return indexed.save(path, "PNG", 0);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RESOURCES-FOLDER\n", argv[0]);
        return 2;
    }
    // The splash's text needs fonts, and fonts need the application object; no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QDir root(QString::fromLocal8Bit(argv[1]));
    if (!root.exists(QStringLiteral("images"))) {
        std::fprintf(stderr, "%s: no images folder\n", argv[1]);
        return 1;
    }
    const auto image = [&root](const char *file) {
        return root.filePath(QStringLiteral("images/") + QLatin1String(file));
    };

    bool ok = true;
    ok &= writeXpm(image("ornelcon32.xpm"), "ornelcon32_xpm", drawModuleIcon(32), 13, Key::Magenta);
    ok &= writeXpm(image("ornelcon48.xpm"), "ornelcon48_xpm", drawModuleIcon(48), 68, Key::Magenta);
    ok &= writeXpm(image("headerleft.xpm"), "headerleft_xpm", drawHeaderLeft(), 14, Key::Magenta);
    ok &= writeXpm(image("headertile.xpm"), "headertile_xpm", drawHeaderTile(), 2, Key::Magenta);
    ok &= writeXpm(image("headerright.xpm"), "headerright_xpm", drawHeaderRight(), 5, Key::Magenta);
    ok &= writeXpm(image("dlgfailed.xpm"), "dlgfailed_xpm", drawFailurePicture(), 4, Key::None,
                   {{0x00, 0x00, 0x00}, {0x9c, 0x9c, 0x9c}, {0xff, 0xff, 0x00}});
    ok &= writeIndexedPng(root.filePath(QStringLiteral("splash.png")), drawSplash());
    if (!ok) {
        std::fprintf(stderr, "%s: could not write every picture\n", argv[0]);
        return 1;
    }
    return 0;
}
