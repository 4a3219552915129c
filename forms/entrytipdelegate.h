#pragma once

#include <QAbstractItemDelegate>
#include <QHash>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyleOptionViewItem>

// Draws a choice box's opened list with the box's own delegate, and answers the list's
// tool-tip events: an entry the list shows shortened (by the style's ellipsis, or cut by
// the list's edge or the screen's) tells its whole text; an entry shown whole tells
// nothing. What counts is what the style draws with the very room the list gives the
// entry, whatever the list's width, scroll bar and frame.
class EntryTipDelegate : public QAbstractItemDelegate
{
    Q_OBJECT

public:
    // Serves `list`, drawing with `wrapped`; both stay the box's, and neither is owned.
    EntryTipDelegate(const QAbstractItemView* list, QAbstractItemDelegate* wrapped, QObject* parent);

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
    // Keeps the option the list paints an entry with.
    void remember(const QStyleOptionViewItem& option, const QModelIndex& index) const;
    // Whether the entry, as the list last painted it, shows all of its text within the part
    // of the list the screen shows. An entry not painted yet shows nothing to tell.
    bool drawnWhole(const QModelIndex& index) const;

    const QAbstractItemView* const m_list;
    QPointer<QAbstractItemDelegate> m_wrapped;
    // The options the list last painted its entries with: it paints an entry with other room
    // than the one it tells the delegate of on a tool-tip event.
    mutable QHash<QPersistentModelIndex, QStyleOptionViewItem> m_drawnWith;
};
