#include "listpage.h"

#include "carriedout.h"
#include "dbctrl.h"
#include "dbrow.h"
#include "dbtable.h"
#include "dialogseam.h"
#include "editedkey.h"
#include "rowcells.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QTreeWidget>

#include <utility>

struct ListPage::HoldState
{
    bool pageAlive = true;
    int holds = 0;
    bool resetPutOff = false;
};

ListPage::RowHold::RowHold(ListPage* page)
    : m_page(page)
    , m_state(page->m_holds)
{
    ++m_state->holds;
}

ListPage::RowHold::~RowHold()
{
    if (!m_state->pageAlive || --m_state->holds > 0)
        return;
    if (std::exchange(m_state->resetPutOff, false))
        m_page->resetNow();
}

bool ListPage::RowHold::rowsWent() const
{
    return !m_state->pageAlive || m_state->resetPutOff;
}

struct ListPage::ListState
{
    ListState(const ListSetup& setup, QWidget* page)
        : setup(setup)
        , layout(&cols, setup.view, page)
    {
    }

    ListSetup setup;
    Cols cols;
    ListLayout layout; // after the model it binds
};

ListPage::ListPage(QWidget* page, DBConn* conn, DBCtrl* ctrl, Desktop* desktop, Menu menu)
    : m_conn(conn)
    , m_ctrl(ctrl)
    , m_desktop(desktop)
    , m_page(page)
    , m_menu(menu)
    , m_holds(std::make_shared<HoldState>())
{
}

ListPage::~ListPage()
{
    m_holds->pageAlive = false;
    for (const QMetaObject::Connection& connection : std::as_const(m_connections))
        QObject::disconnect(connection);
    // The page's form is a base destroyed after this one and takes the lists with it. A shown
    // list is hidden then and lays its items out once more, and the items read rows and
    // column models that are gone by that time: they go first, without a word to the page,
    // which is half destroyed.
    for (const std::unique_ptr<ListState>& list : m_lists)
        list->layout.dropItems();
}

QString ListPage::caption()
{
    return QCoreApplication::translate("ListPage", "Ornel Corvane Administration");
}

int ListPage::addList(const ListSetup& setup)
{
    auto list = std::make_unique<ListState>(setup, m_page);
    list->layout.setStorage(m_desktop, QStringLiteral("Admin/Mail"), setup.key, setup.version);
    list->layout.setPopup(this);
    // A status page follows its header before it asks for its rows, and whatever the
    // answer; an editable page from its list's first build, which a failed load prevents.
    if (m_menu == Menu::Status)
        list->layout.followHeader();
    const int number = int(m_lists.size());
    m_connections.append(QObject::connect(&list->layout, &ListLayout::fillItems, m_page,
                                          [this, number] { fillItems(number); }));
    list->layout.setRebuild([this, number] { return rebuildList(number); });
    m_lists.push_back(std::move(list));
    return number;
}

ListPage::ListState& ListPage::state(int list) const
{
    Q_ASSERT(list >= 0 && list < int(m_lists.size()));
    return *m_lists.at(size_t(list));
}

Cols& ListPage::cols(int list)
{
    return state(list).cols;
}

ListLayout& ListPage::layout(int list)
{
    return state(list).layout;
}

QTreeWidget* ListPage::view(int list) const
{
    return state(list).setup.view;
}

void ListPage::loadLayouts()
{
    for (const auto& list : m_lists)
        list->layout.load();
}

bool ListPage::refreshList(int list, const TableLoad& load)
{
    const QPointer<QWidget> page(m_page);
    // A status list only shows its rows: they need no originals.
    const bool loaded = read(*load.table, load, DBTable::WithoutOriginals);
    if (!page || !loaded)
        return false;
    updateView(list);
    updateButtons(list);
    return true;
}

bool ListPage::read(DBTable& into, const TableLoad& load, int flags) const
{
    return load.function ? into.function(m_page, m_conn, load.name, load.columns, flags)
                         : into.select(m_page, m_conn, load.name, load.columns, flags);
}

bool ListPage::rebuildList(int list)
{
    updateView(list);
    return true;
}

bool ListPage::loadTables(const QList<TableLoad>& loads)
{
    const QPointer<QWidget> page(m_page);
    const bool loaded = readTables(loads, false);
    if (page)
        m_loadFailed = !loaded;
    return loaded;
}

bool ListPage::reloadTables(const QList<TableLoad>& loads)
{
    return readTables(loads, true);
}

bool ListPage::readTables(const QList<TableLoad>& loads, bool shown)
{
    const QPointer<QWidget> page(m_page);
    const int flags = DBTable::WaitWithProgress | DBTable::ReportRefusal;
    // A load starts by dropping the table's rows: shown tables keep theirs until every
    // answer is in, and a failed load leaves all of them as they were.
    std::vector<std::unique_ptr<DBTable>> answers;
    for (const TableLoad& load : loads) {
        if (shown)
            answers.push_back(std::make_unique<DBTable>());
        const bool loaded = read(shown ? *answers.back() : *load.table, load, flags);
        // The page may have been closed while it waited; then it is half destroyed.
        if (!page || !loaded)
            return false;
    }
    if (shown) {
        letGoOfItems();
        for (qsizetype i = 0; i < loads.size(); ++i)
            loads.at(i).table->swap(*answers.at(size_t(i)));
    }
    return true;
}

void ListPage::finishEditablePage()
{
    for (int list = 0; list < listCount(); ++list)
        updateView(list);
    followApplyAndReset();
    for (int list = 0; list < listCount(); ++list)
        updateButtons(list);
}

void ListPage::followApplyAndReset()
{
    if (!m_ctrl)
        return;
    m_connections.append(
        QObject::connect(m_ctrl, &DBCtrl::sig_apply, m_page, [this] { applyTables(); }));
    m_connections.append(
        QObject::connect(m_ctrl, &DBCtrl::sig_reset, m_page, [this] { answerReset(); }));
    m_connections.append(QObject::connect(m_ctrl, &DBCtrl::sig_carried_out, m_page,
                                          [this](const QStringList& statements) {
                                              CarriedOut done(statements);
                                              storeCarriedOut(done);
                                          }));
}

void ListPage::updateView(int list)
{
    state(list).layout.updateView();
}

void ListPage::updateButtons(int list)
{
    const ListSetup& setup = state(list).setup;
    int selected = 0;
    const QList<QTreeWidgetItem*> items = setup.view->selectedItems();
    for (QTreeWidgetItem* item : items) {
        if (!item->parent())
            ++selected;
    }
    if (setup.editButton)
        setup.editButton->setEnabled(selected == 1);
    if (setup.removeButton)
        setup.removeButton->setEnabled(selected > 0);
}

QTreeWidgetItem* ListPage::itemToEdit(int list) const
{
    QTreeWidget* listView = view(list);
    QTreeWidgetItem* selected = nullptr;
    for (QTreeWidgetItem* item : listView->selectedItems()) {
        if (item->parent())
            continue;
        if (selected)
            return listView->currentItem();
        selected = item;
    }
    return selected ? selected : listView->currentItem();
}

void ListPage::editCurrent(int list)
{
    if (!canEdit(list))
        return;
    QTreeWidgetItem* item = itemToEdit(list);
    if (!item)
        return;
    DBRow* row = rowOf(list, item);
    if (!row || !edit(list, row))
        return;
    showItem(list, item);
    updateQueryAfterEdit(row);
}

void ListPage::removeSelected(int list)
{
    if (!canEdit(list))
        return;
    const ListSetup& setup = state(list).setup;
    // In list order, top-level entries only: the lists are flat.
    QList<QTreeWidgetItem*> chosen;
    for (int i = 0; i < setup.view->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = setup.view->topLevelItem(i);
        if (item->isSelected())
            chosen.append(item);
    }
    for (QTreeWidgetItem* item : std::as_const(chosen)) {
        DBRow* row = rowOf(list, item);
        delete item;
        if (setup.table && row)
            setup.table->remove(row);
    }
    updateQuery();
}

DBRow* ListPage::appendRow(int list)
{
    DBTable* table = state(list).setup.table;
    Q_ASSERT(table);
    return table->append();
}

DBRow* ListPage::keepAddedRow(int list, DBRow* row)
{
    const RowHold hold = holdRows();
    const bool kept = editRow(list, row, true);
    if (hold.rowsWent())
        return nullptr;
    if (!kept) {
        state(list).setup.table->remove(row);
        return nullptr;
    }
    QTreeWidgetItem* item = newItem(list, row);
    if (item)
        showItem(list, item);
    updateQuery();
    return row;
}

void ListPage::modifyColumns()
{
    layout(currentList()).modifyColumns();
}

bool ListPage::edit(int list, DBRow* row)
{
    return editRow(list, row, false);
}

bool ListPage::editRow(int list, DBRow* row, bool added)
{
    const RowHold hold = holdRows();
    const ListSetup setup = state(list).setup;
    // The row as it was before any dialog: what a cancel anywhere in the chain restores,
    // so values refused as a duplicate never stay behind in the row.
    const DBRow before(*row);
    for (;;) {
        const bool accepted = runEditDialog(list, row);
        // A dialog's load that found the connection lost has had the tables reset: the row
        // goes once the hold ends, and the edit with it.
        if (hold.rowsWent())
            return false;
        if (!accepted) {
            restoreRow(row, before);
            return false;
        }
        if (!setup.table
            || (added ? setup.table->check_primary_key(row, nullptr, true)
                      : editedKeyAccepted(*setup.table, row, before)))
            return true;
        Dialogs::warning(m_page, caption(), setup.duplicateText, QMessageBox::Ok);
        if (hold.rowsWent())
            return false;
    }
}

bool ListPage::canEdit(int list) const
{
    const DBTable* table = state(list).setup.table;
    return !m_loadFailed && (!table || table->m_loaded);
}

bool ListPage::isNewRow(int list, const DBRow* row) const
{
    const DBTable* table = state(list).setup.table;
    return table && !table->hasOriginal(row);
}

std::optional<QString> ListPage::storedText(const DBRow* row, const char* column) const
{
    for (const auto& list : m_lists) {
        const DBTable* table = list->setup.table;
        if (const DBRow* original = table ? table->originalOf(row) : nullptr)
            return RowCells::cell(original, column);
    }
    return std::nullopt;
}

ListPage::RowHold ListPage::holdRows()
{
    return RowHold(this);
}

bool ListPage::heldRowsWent() const
{
    return m_holds->resetPutOff;
}

void ListPage::answerReset()
{
    if (m_holds->holds > 0) {
        m_holds->resetPutOff = true;
        return;
    }
    resetNow();
}

void ListPage::resetNow()
{
    // A reset replaces the rows of the pending tables, which the lists show; a page with
    // none (one that only shows a table) keeps its items.
    if (!pendingTables().isEmpty())
        letGoOfItems();
    resetTables();
}

void ListPage::letGoOfItems()
{
    for (const std::unique_ptr<ListState>& list : m_lists)
        list->layout.dropItems();
}

DBRow* ListPage::rowOf(int /*list*/, QTreeWidgetItem* /*item*/) const
{
    return nullptr;
}

void ListPage::restoreRow(DBRow* row, const DBRow& before)
{
    // Assigning the copy would mark a value that was null before null again but keep the
    // text typed since, which a string value still shows and the next difference would
    // send (a password never read from the server, say). Fresh copies of the values are
    // the row exactly as it was; the row object stays, the items point at it.
    DBRow restored(before);
    row->m_values.swap(restored.m_values);
    row->m_id = before.m_id;
}

QTreeWidgetItem* ListPage::newItem(int /*list*/, DBRow* /*row*/)
{
    return nullptr;
}

void ListPage::showItem(int /*list*/, QTreeWidgetItem* /*item*/)
{
}

bool ListPage::runEditDialog(int /*list*/, DBRow* /*row*/)
{
    return false;
}

QList<DBTable*> ListPage::pendingTables() const
{
    QList<DBTable*> tables;
    for (const auto& list : m_lists) {
        if (list->setup.table && !tables.contains(list->setup.table))
            tables.append(list->setup.table);
    }
    return tables;
}

// The tables' statements go to the controller in one list: handed in table by table, the
// list would be empty between a table with nothing pending and the next, and Apply and Reset
// would go off and on again at every edit.
void ListPage::updateQuery()
{
    if (!m_ctrl)
        return;
    QStringList statements;
    for (DBTable* table : pendingTables())
        statements += *table->diff(true);
    m_ctrl->set(statements, false);
}

void ListPage::updateQueryAfterEdit(const DBRow* /*row*/)
{
    updateQuery();
}

void ListPage::updateQueryFromRow(const DBRow* row)
{
    if (!m_ctrl)
        return;
    QStringList statements;
    for (DBTable* table : pendingTables())
        statements += *table->diffAfterEditOf(row, true);
    m_ctrl->set(statements, false);
}

void ListPage::makeDifferences()
{
    for (DBTable* table : pendingTables())
        table->diff(true);
}

void ListPage::applyTables()
{
    for (DBTable* table : pendingTables())
        table->apply(false);
    afterApply();
}

void ListPage::storeCarriedOut(CarriedOut& done)
{
    for (DBTable* table : pendingTables())
        table->storeCarriedOut(done);
}

void ListPage::resetTables()
{
    for (DBTable* table : pendingTables())
        table->reset();
    afterReset();
}

void ListPage::afterReset()
{
    for (int list = 0; list < listCount(); ++list)
        updateView(list);
}

bool ListPage::fillPopupMenu(QMenu& menu, QWidget* receiver, QTreeWidgetItem* item)
{
    // Ids number the entries in the order they were put in, separators included.
    auto addEntry = [&menu, receiver](const QString& text, const char* slot) {
        QAction* action = menu.addAction(text);
        action->setData(int(menu.actions().size()) - 1);
        QObject::connect(action, SIGNAL(triggered()), receiver, slot);
        return action;
    };
    if (m_menu == Menu::Editing) {
        addEntry(QCoreApplication::translate("ListPage", "&Add..."), SLOT(slotAdd()));
        // On the header and on empty space there is no row to act on; how many rows are
        // selected plays no part.
        addEntry(QCoreApplication::translate("ListPage", "&Edit..."), SLOT(slotEdit()))
            ->setEnabled(item != nullptr);
        addEntry(QCoreApplication::translate("ListPage", "&Remove"), SLOT(slotRemove()))
            ->setEnabled(item != nullptr);
    } else {
        addEntry(QCoreApplication::translate("ListPage", "&Refresh"), SLOT(slotRefresh()));
    }
    menu.addSeparator();
    return T2Popup::fillPopupMenu(menu, receiver, item);
}
