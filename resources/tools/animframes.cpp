// Draws the nine frames of the wait indicator's animation: a closed envelope inside a
// ring on which a short bright arc travels once round per cycle. The pictures in
// resources/anim/ were made with this program; run it again only to change them:
//
//     ornel-animframes resources/anim
//
// The corners stay pure white: the indicator masks each frame heuristically from its
// corner colour, so everything white that touches the edge becomes transparent. The
// drawing keeps to the middle 72 rows: the indicator's 250 x 102 panel leaves its
// picture 80 rows, and the rest of the 95 is cut off.

#include "outputfolder.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRectF>

#include <cstdio>

namespace {

constexpr int FrameCount = 9;
constexpr int Width = 101;
constexpr int Height = 95;

const QPointF Centre(Width / 2.0, Height / 2.0);
constexpr qreal RingRadius = 33.0;
constexpr qreal RingWidth = 6.0;

void drawRing(QPainter &p)
{
    p.setPen(QPen(QColor(0xd5, 0xdc, 0xe6), RingWidth));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(Centre, RingRadius, RingRadius);
}

// The arc's head leads clockwise; its tail fades into the ring in a few steps.
void drawArc(QPainter &p, int frame)
{
    const QRectF ring(Centre.x() - RingRadius, Centre.y() - RingRadius, 2 * RingRadius,
                      2 * RingRadius);
    const qreal head = 90.0 - frame * (360.0 / FrameCount);
    const int steps = 6;
    const qreal stepSpan = 17.0;
    for (int i = steps - 1; i >= 0; --i) {
        QColor colour(0x1f, 0x6f, 0xd0);
        colour = QColor::fromRgbF(1.0 - (1.0 - colour.redF()) * (steps - i) / steps,
                                  1.0 - (1.0 - colour.greenF()) * (steps - i) / steps,
                                  1.0 - (1.0 - colour.blueF()) * (steps - i) / steps);
        QPen pen(colour, RingWidth);
        pen.setCapStyle(i == 0 ? Qt::RoundCap : Qt::FlatCap);
        p.setPen(pen);
        // Qt angles run counter-clockwise in sixteenths of a degree; the tail lies
        // counter-clockwise of the head.
        p.drawArc(ring, qRound((head + i * stepSpan) * 16), qRound(stepSpan * 16));
    }
}

void drawEnvelope(QPainter &p)
{
    const QRectF body(Centre.x() - 22, Centre.y() - 15, 44, 30);
    const QColor outline(0x2b, 0x3a, 0x55);
    p.setPen(QPen(outline, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xfb, 0xf3, 0xdc));
    p.drawRoundedRect(body, 2.5, 2.5);

    // Closed flap and the two folds below it.
    QPainterPath flap;
    flap.moveTo(body.topLeft() + QPointF(1, 1));
    flap.lineTo(QPointF(body.center().x(), body.center().y() + 3));
    flap.lineTo(body.topRight() + QPointF(-1, 1));
    p.setBrush(QColor(0xf1, 0xe2, 0xb8));
    p.drawPath(flap);
    p.setBrush(Qt::NoBrush);
    p.drawLine(body.bottomLeft() + QPointF(2, -2),
               QPointF(body.center().x() - 6, body.center().y() - 1));
    p.drawLine(body.bottomRight() + QPointF(-2, -2),
               QPointF(body.center().x() + 6, body.center().y() - 1));
}

QImage drawFrame(int frame)
{
    QImage image(Width, Height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawRing(p);
    drawArc(p, frame);
    drawEnvelope(p);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    const std::optional<QDir> folder = outputFolder(argc, argv);
    if (!folder)
        return 2;
    const QDir& out = *folder;
    for (int frame = 0; frame < FrameCount; ++frame) {
        const QString name = out.filePath(QStringLiteral("anim_%1.png").arg(frame, 2, 10, QLatin1Char('0')));
        if (!drawFrame(frame).save(name, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
