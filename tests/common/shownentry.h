#pragma once

// Whether a list shows an entry whole, judged from what it paints: the row it shows is the
// row its delegate draws in a list wide enough for any text, and that row draws nothing
// beyond what the list shows. A style's ellipsis and a cut at the list's edge both fail it.

#include <QAbstractItemView>
#include <QImage>
#include <QListView>

namespace ShownEntry {

inline bool whole(QAbstractItemView* list, const QModelIndex& index)
{
    const QRect row = list->visualRect(index);
    const int shownWidth = list->viewport()->width();
    const QImage shown = list->viewport()->grab(QRect(0, row.y(), shownWidth, row.height())).toImage();

    QListView wide;
    wide.setFrameShape(QFrame::NoFrame);
    wide.setModel(list->model());
    wide.setRootIndex(list->rootIndex());
    wide.setItemDelegate(list->itemDelegate());
    wide.setFont(list->font());
    wide.setPalette(list->palette());
    wide.resize(shownWidth * 4, row.height() * 2);
    wide.scrollTo(index, QAbstractItemView::PositionAtTop);
    const QRect wideRow = wide.visualRect(index);
    if (wideRow.height() != row.height())
        return false;
    const QImage drawn = wide.viewport()->grab(QRect(0, wideRow.y(), wide.width(), row.height())).toImage();
    wide.setItemDelegate(nullptr);

    // Pictures count the screen's pixels, which a scaled screen makes smaller than the list's.
    if (drawn.copy(0, 0, shown.width(), shown.height()) != shown)
        return false;
    // Beyond the list's edge the wide row shows its background alone.
    const QImage beyond = drawn.copy(shown.width(), 0, drawn.width() - shown.width(), shown.height());
    for (int y = 0; y < beyond.height(); ++y) {
        const QRgb background = beyond.pixel(beyond.width() - 1, y);
        for (int x = 0; x < beyond.width(); ++x) {
            if (beyond.pixel(x, y) != background)
                return false;
        }
    }
    return true;
}

} // namespace ShownEntry
