#pragma once

#include <QAbstractItemDelegate>
#include <QHash>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyleOptionViewItem>

class QAbstractProxyModel;

// Draws a choice box's opened list with the box's own delegate, each entry on one line as
// the closed box shows its current one (ShortenedText::oneLine): the box's own delegate would
// draw a stored line break as a second line, a blank, two blanks or nothing, depending on
// the break and the style. The entries themselves, and so the value picked, stay as stored.
// It answers the list's tool-tip events too: an entry the list shows shortened (by the
// style's ellipsis, or cut by the list's edge or the screen's) tells its whole text; an
// entry shown whole tells nothing. What counts is what the style draws with the very room
// the list gives the entry, whatever the list's width, scroll bar and frame.
class ListEntryDelegate : public QAbstractItemDelegate
{
    Q_OBJECT

public:
    // Serves `list`, drawing with `wrapped`; both stay the box's, and neither is owned.
    ListEntryDelegate(const QAbstractItemView* list, QAbstractItemDelegate* wrapped, QObject* parent);

    // The delegate this one draws with.
    QAbstractItemDelegate* wrapped() const { return m_wrapped; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override;
    QList<int> paintingRoles() const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    // The entry at `index` as the list shows it: one line, no break of its own.
    QModelIndex shownAsOneLine(const QModelIndex& index) const;
    // Keeps the option the list paints an entry with.
    void remember(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    // Whether the entry, as the list last painted it, shows all of its text within the part
    // of the list the screen shows. An entry not painted yet shows nothing to tell.
    bool drawnWhole(const QModelIndex& index) const;

    const QAbstractItemView* const m_list;
    QPointer<QAbstractItemDelegate> m_wrapped;
    QAbstractProxyModel* const m_oneLineEntries; // over the list's entries; a child of this
    // The options the list last painted its entries with: it paints an entry with other room
    // than the one it tells the delegate of on a tool-tip event.
    mutable QHash<QPersistentModelIndex, QStyleOptionViewItem> m_drawnWith;
};
