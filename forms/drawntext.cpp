#include "drawntext.h"

#include <QAbstractItemDelegate>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionViewItem>
#include <QWidget>

namespace DrawnText {

namespace {

// Notes the text runs a painter draws and draws nothing. It claims every feature, so that
// the painter hands it text as text, not as the outlines of its glyphs.
class TextNotingEngine : public QPaintEngine
{
public:
    TextNotingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    Type type() const override { return QPaintEngine::User; }

    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}

    void drawTextItem(const QPointF& at, const QTextItem& item) override
    {
        const QTransform toWidget = widgetTransform();
        const QRectF box(at.x(), at.y() - item.ascent(), item.width(), item.ascent() + item.descent());
        const QRectF extent = toWidget.mapRect(box);
        // A glyph's bearings may reach past where its run begins or ends, or fall short of it.
        const QRectF ink = toWidget.mapRect(QFontMetricsF(item.font()).boundingRect(item.text()).translated(at));
        QRectF clip;
        bool clipped = false;
        if (painter()->hasClipping()) {
            clip = toWidget.mapRect(painter()->clipBoundingRect());
            clipped = !ink.isEmpty() && (ink.left() < clip.left() || ink.right() > clip.right());
        }
        runs.append({item.text(), extent, ink, clip, clipped});
    }

    QList<Run> runs;

private:
    // From what the painter is given to the widget's own pixels. The painter's transform
    // ends in the device's pixels, which a scaled screen makes larger than the widget's:
    // everything the widget lays out is in the widget's own.
    QTransform widgetTransform() const
    {
        const qreal ratio = qMax(qreal(1), painter()->device()->devicePixelRatio());
        return painter()->combinedTransform() * QTransform::fromScale(1 / ratio, 1 / ratio);
    }
};

// A device as large as any entry, whose fonts measure as on `like`.
class TextNotingDevice : public QPaintDevice
{
public:
    explicit TextNotingDevice(const QWidget* like) : m_like(like) {}

    QPaintEngine* paintEngine() const override { return &m_engine; }
    const QList<Run>& runs() const { return m_engine.runs; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        constexpr int Side = 1 << 20;
        switch (metric) {
        case PdmWidth:
        case PdmHeight:
            return Side;
        case PdmWidthMM:
            return Side * 254 / (10 * m_like->logicalDpiX());
        case PdmHeightMM:
            return Side * 254 / (10 * m_like->logicalDpiY());
        case PdmNumColors:
            return m_like->colorCount();
        case PdmDepth:
            return m_like->depth();
        case PdmDpiX:
            return m_like->logicalDpiX();
        case PdmDpiY:
            return m_like->logicalDpiY();
        case PdmPhysicalDpiX:
            return m_like->physicalDpiX();
        case PdmPhysicalDpiY:
            return m_like->physicalDpiY();
        case PdmDevicePixelRatio:
            return m_like->devicePixelRatio();
        case PdmDevicePixelRatioScaled:
            return int(m_like->devicePixelRatioF() * devicePixelRatioFScale());
        }
        return 0;
    }

private:
    const QWidget* const m_like;
    mutable TextNotingEngine m_engine;
};

} // namespace

QList<Run> ofPainting(const QWidget* like, const std::function<void(QPainter*)>& paint)
{
    TextNotingDevice device(like);
    QPainter painter(&device);
    paint(&painter);
    painter.end();
    return device.runs();
}

QList<Run> ofEntry(const QAbstractItemDelegate* delegate, const QStyleOptionViewItem& option,
                   const QModelIndex& index, const QWidget* like)
{
    return ofPainting(like, [&](QPainter* painter) { delegate->paint(painter, option, index); });
}

// Rendering polishes a widget not polished yet and sends it its paint event, as showing it
// would; it changes nothing of what it shows.
QList<Run> ofWidget(const QWidget* widget)
{
    auto* drawn = const_cast<QWidget*>(widget);
    return ofPainting(widget, [drawn](QPainter* painter) {
        drawn->render(painter, QPoint(), QRegion(), QWidget::RenderFlags());
    });
}

} // namespace DrawnText
