#pragma once

#include <QList>
#include <QRectF>
#include <QString>

class QAbstractItemDelegate;
class QModelIndex;
class QStyleOptionViewItem;
class QWidget;

// What a delegate draws of an entry, learnt by letting it paint onto a device that draws
// nothing and notes each run of text: how the style shortens an entry (and with what room)
// is the style's own affair, and this asks the style itself.
namespace DrawnText {

struct Run
{
    QString text;
    QRectF extent; // in the coordinates the entry is painted in
    bool clipped;  // the painter's clip cuts it
};

// The runs of text `delegate` draws for the entry at `index` with `option`, on a device
// measuring fonts as `like` does.
QList<Run> ofEntry(const QAbstractItemDelegate* delegate, const QStyleOptionViewItem& option,
                   const QModelIndex& index, const QWidget* like);

} // namespace DrawnText
