#include "listlayout.h"

#include "cols.h"
#include "desktop.h"
#include "dialogseam.h"
#include "dlgcols.h"
#include "keyeditem.h"
#include "scopedqpointer.h"
#include "t2popup.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <utility>

ListLayout::ListLayout(Cols* model, QTreeWidget* view, QWidget* page, QObject* parent)
    : QObject(parent)
    , m_model(model)
    , m_view(view)
    , m_page(page)
{
    Q_ASSERT(model && view);
    m_model->view = view;
    QHeaderView* header = view->header();
    // A stretched last section changes its width whenever the list does, and that width
    // is not one the administrator chose (fillView() turns it off too; this covers the
    // time before the first fill).
    header->setStretchLastSection(false);
    // Any column may be dragged, the first one too, and any may be put in front of it; a
    // tree view keeps its first section in place for the tree, which a list does not draw.
    header->setFirstSectionMovable(true);
}

ListLayout::~ListLayout()
{
    if (m_savePending)
        save();
}

void ListLayout::setStorage(Desktop* desktop, const QString& section, const QString& list,
                            int version)
{
    m_desktop = desktop;
    m_section = section;
    m_list = list;
    m_version = version;
}

void ListLayout::setPopup(T2Popup* popup)
{
    m_popup = popup;
    // The header's menu is its own: until the header is followed, a right button there
    // shows nothing, not the list's menu.
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->header()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { showMenu(m_view->viewport(), pos, true); });
    if (m_followingHeader)
        connectHeaderMenu();
}

void ListLayout::followHeader()
{
    if (m_followingHeader || !m_view)
        return;
    m_followingHeader = true;
    QHeaderView* header = m_view->header();
    connect(header, &QHeaderView::sectionMoved, this, &ListLayout::onSectionMoved);
    connect(header, &QHeaderView::sectionResized, this, &ListLayout::onSectionResized);
    // The header's mouse events arrive on its viewport.
    header->viewport()->installEventFilter(this);
    if (m_popup)
        connectHeaderMenu();
}

void ListLayout::connectHeaderMenu()
{
    QHeaderView* header = m_view->header();
    connect(header, &QWidget::customContextMenuRequested, this,
            [this, header](const QPoint& pos) { showMenu(header->viewport(), pos, false); });
}

void ListLayout::setRebuild(std::function<bool()> rebuild)
{
    m_rebuild = std::move(rebuild);
}

void ListLayout::load()
{
    if (m_desktop)
        m_model->load(m_desktop, m_section, m_list, m_version);
}

void ListLayout::save()
{
    m_savePending = false;
    if (m_desktop)
        m_model->save(m_desktop, m_section, m_list, m_version);
}

// What to sort by once the columns are rebuilt: the view column that now shows the id that
// was sorted by before. A list whose sorted column went away sorts as a new list does, by
// its first column, ascending.
ListLayout::SortedBy ListLayout::followSortedColumn(const SortedBy& before,
                                                    const QList<int>& oldDisp, const Cols& model,
                                                    int columnCount)
{
    const int id = oldDisp.value(before.column, -1);
    const int column = id >= 0 ? model.dispinv.value(id, -1) : before.column;
    if (column < 0 || column >= columnCount)
        return {0, Qt::AscendingOrder};
    return {column, before.order};
}

void ListLayout::updateView()
{
    if (!m_view)
        return;
    QTreeWidget* view = m_view;
    QHeaderView* header = view->header();
    const bool sorting = view->isSortingEnabled();
    // Whether the sort arrow shows is the form's choice; switching sorting back on would
    // show it whatever that was.
    const bool arrow = sorting && header->isSortIndicatorShown();
    const SortedBy sortedBefore{header->sortIndicatorSection(), header->sortIndicatorOrder()};

    const QScopedValueRollback<bool> rebuilding(m_rebuilding, true);
    view->setSortingEnabled(false);
    // The arrow stays while the items go in unsorted, so that columns of automatic width
    // are fitted with its room: it must not cover the title it stands in.
    header->setSortIndicatorShown(arrow);
    // Quietly, before the columns go: removing a column changes the selection, and a
    // handler told of it would read items whose rows may already be gone.
    dropItems();
    m_model->clearView();
    m_model->fillView();
    const QList<int> oldDisp = std::exchange(m_builtDisp, m_model->disp);
    if (sorting)
        m_fillOrder = followSortedColumn(sortedBefore, oldDisp, *m_model, view->columnCount());
    m_rowsInOrder = 0;
    emit fillItems();
    const std::optional<SortedBy> sorted = std::exchange(m_fillOrder, std::nullopt);
    fitAutomaticColumns();
    if (sorted) {
        enableSorting(*sorted);
        header->setSortIndicatorShown(arrow);
    }
    followHeader();
    if (std::exchange(m_selectionDropped, false))
        emit view->itemSelectionChanged();
}

void ListLayout::addRows(QList<QTreeWidgetItem*> rows)
{
    if (!m_view)
        return;
    // Only rows that make up the whole list can be in its order.
    const bool first = m_view->topLevelItemCount() == 0;
    const bool ordered = m_fillOrder && first && m_rowsInOrder == 0
        && KeyedItem::sortInListOrder(rows, m_fillOrder->column, m_fillOrder->order);
    m_view->addTopLevelItems(rows);
    m_rowsInOrder = ordered ? m_view->topLevelItemCount() : -1;
}

void ListLayout::enableSorting(const SortedBy& sorted)
{
    QHeaderView* header = m_view->header();
    const int rows = m_view->topLevelItemCount();
    if (rows == 0 || m_rowsInOrder != rows) {
        header->setSortIndicator(sorted.column, sorted.order);
        m_view->setSortingEnabled(true);
        return;
    }
    // Turning sorting on sorts by the arrow's column, except at column -1, where the list
    // keeps its rows as they are (QTreeView::sortByColumn); the arrow then goes to its
    // column without the header announcing it, which would have the list sort again.
    header->setSortIndicator(-1, sorted.order);
    m_view->setSortingEnabled(true);
    const QSignalBlocker quiet(header);
    header->setSortIndicator(sorted.column, sorted.order);
}

bool ListLayout::modifyColumns()
{
    // The dialog is watched, and so is the binding: the page may be closed under the
    // dialog (a lost connection closes the main window), taking both with it.
    const QPointer<ListLayout> self(this);
    ScopedQPointer<DlgCols> dialog(new DlgCols(m_page, nullptr, true, {}));
    dialog->setCols(*m_model);
    const int result = Dialogs::exec(dialog.get());
    const bool accepted = result == QDialog::Accepted && self && dialog;
    const Cols chosen = accepted ? dialog->getCols() : Cols();
    dialog.reset();
    if (!accepted)
        return false;
    const Cols before(*m_model);
    *m_model = chosen;
    return rebuildAndSave(before);
}

void ListLayout::dropItems()
{
    if (!m_view)
        return;
    m_selectionDropped = m_selectionDropped || m_view->selectionModel()->hasSelection();
    const QSignalBlocker quietView(m_view);
    const QSignalBlocker quietSelection(m_view->selectionModel());
    m_view->clear();
}

bool ListLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (m_view && watched == m_view->header()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress
            && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_headerPressed = true;
        } else if (event->type() == QEvent::MouseButtonRelease
                   && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            m_headerPressed = false;
            savePending();
        }
    }
    return QObject::eventFilter(watched, event);
}

void ListLayout::onSectionMoved(int /*logicalIndex*/, int oldVisualIndex, int newVisualIndex)
{
    if (m_rebuilding)
        return;
    // The model counts a move to the right up to the position before which the column
    // goes, as the header did in Qt 3.
    const int to = newVisualIndex > oldVisualIndex ? newVisualIndex + 1 : newVisualIndex;
    QMetaObject::invokeMethod(
        this, [this, from = oldVisualIndex, to] { applyMove(from, to); }, Qt::QueuedConnection);
}

void ListLayout::applyMove(int from, int to)
{
    // Only recorded: the header shows the move already, and the items stay until the
    // rebuild replaces them, or for good when its rows do not come.
    const Cols before(*m_model);
    m_model->move(from, to);
    rebuildAndSave(before);
}

bool ListLayout::rebuildAndSave(const Cols& before)
{
    if (!m_rebuild) {
        updateView();
        save();
        return true;
    }
    const QPointer<ListLayout> self(this);
    const bool rebuilt = m_rebuild();
    if (!self)
        return false;
    if (!rebuilt) {
        keepShownLayout(before);
        return false;
    }
    save();
    return true;
}

void ListLayout::keepShownLayout(const Cols& before)
{
    // Assignment keeps the model's view.
    *m_model = before;
    if (!m_view)
        return;
    const QScopedValueRollback<bool> rebuilding(m_rebuilding, true);
    m_model->placeSections();
}

void ListLayout::onSectionResized(int logicalIndex, int /*oldSize*/, int newSize)
{
    // A section the header hides reports a width of 0, which is no width of the column.
    if (m_rebuilding || newSize <= 0)
        return;
    m_model->changeSize(logicalIndex, newSize);
    saveSoon();
}

void ListLayout::fitAutomaticColumns()
{
    for (int column = 0; column < m_view->columnCount(); ++column) {
        const int id = m_model->disp.value(column, -1);
        if (id >= 0 && m_model->width.value(id) < 0)
            m_view->resizeColumnToContents(column);
    }
}

// A drag of a section's edge resizes it at every mouse move; the layout is written once,
// when the button is released.
void ListLayout::saveSoon()
{
    m_savePending = true;
    savePending();
}

void ListLayout::savePending()
{
    if (m_savePending && !m_headerPressed)
        save();
}

void ListLayout::showMenu(QWidget* area, const QPoint& pos, bool onItems)
{
    if (!m_popup)
        return;
    QTreeWidgetItem* item = onItems ? m_view->itemAt(pos) : nullptr;
    // The menu's entries may close the page and this binding with it: nothing of this
    // object is used once the menu has run.
    m_popup->showPopupMenu(m_page, area->mapToGlobal(pos), item);
}
