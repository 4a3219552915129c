#pragma once

#include <QList>
#include <QRectF>
#include <QString>

#include <functional>

class QAbstractItemDelegate;
class QModelIndex;
class QPainter;
class QStyleOptionViewItem;
class QWidget;

// What a widget or delegate draws of a text, learnt by letting it paint onto a device that
// draws nothing and notes each run of text: how a style shortens a text, and with what
// room, is the style's own affair, and this asks the style itself.
namespace DrawnText {

// Where a run lies is told in the widget's own pixels, wherever the painter was turned or
// moved to and however much larger a scaled screen makes the device's pixels.
struct Run
{
    QString text;
    QRectF extent; // from where the run begins to where the next would
    QRectF ink;    // what its glyphs cover there
    QRectF clip;   // the painter's clip as the run is drawn; null where nothing clips
    bool clipped;  // the painter's clip cuts some of its ink
};

// The runs of text `paint` draws with the painter it is given, on a device measuring fonts
// as `like` does.
QList<Run> ofPainting(const QWidget* like, const std::function<void(QPainter*)>& paint);

// The runs of text `delegate` draws for the entry at `index` with `option`, on a device
// measuring fonts as `like` does.
QList<Run> ofEntry(const QAbstractItemDelegate* delegate, const QStyleOptionViewItem& option,
                   const QModelIndex& index, const QWidget* like);

// The runs of text `widget` draws itself at its present size, its children left out.
QList<Run> ofWidget(const QWidget* widget);

} // namespace DrawnText
