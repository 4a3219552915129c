// The list-page base, on a small editable page of the tests' own whose table lives on the
// stand-in server and whose edit dialog is a script of the test.

#include "columnsdialog.h"
#include "dbctrl.h"
#include "dbrow.h"
#include "dbtable.h"
#include "dialogrecorder.h"
#include "listpage.h"
#include "listtexts.h"
#include "pagesession.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtTest>

#include <functional>
#include <utility>

using namespace StandIn;

namespace {

const DBCOL dbcol_things[] = {
    {1, "name", 1},
    {1, "domain", 1},
    {1, "note", 0},
    {0, nullptr, 0},
};

const QString Duplicate = QStringLiteral("This thing already exists!");

QString cellText(const DBRow* row, const char* column)
{
    return row->m_values.at(size_t(row->colIndex(column)))->text();
}

void setText(DBRow* row, const char* column, const QString& value)
{
    row->m_values.at(size_t(row->colIndex(column)))->set(value);
}

class ThingItem : public QTreeWidgetItem
{
public:
    ThingItem(QTreeWidget* list, DBRow* row, const Cols* cols)
        : QTreeWidgetItem(list)
        , row(row)
        , cols(cols)
    {
    }
    void show()
    {
        cols->showItem(this, [this](int id) {
            return cellText(row, id == 0 ? "name" : "note");
        });
    }
    DBRow* row;
    const Cols* cols;
};

// A row of a status list as the module's are: it keeps its texts by column id and finds
// the id a view column shows through the list's column model each time it is drawn.
class StatusItem : public QTreeWidgetItem
{
public:
    StatusItem(QStringList textsById, const Cols* cols)
        : m_texts(std::move(textsById))
        , m_cols(cols)
    {
    }
    QVariant data(int column, int role) const override
    {
        if (role == Qt::DisplayRole)
            return m_texts.value(m_cols->disp.value(column, -1));
        return QTreeWidgetItem::data(column, role);
    }

private:
    QStringList m_texts;
    const Cols* m_cols;
};

// Calls `onHide` when `watched` is hidden; not owned by it, so it outlives its destruction.
class HideWatcher : public QObject
{
public:
    HideWatcher(QWidget* watched, std::function<void()> onHide)
        : m_onHide(std::move(onHide))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide && m_onHide)
            std::exchange(m_onHide, nullptr)();
        return false;
    }

private:
    std::function<void()> m_onHide;
};

// An editable page as the module's are built: a form with a list and three buttons, one
// table, a dialog that the test scripts.
class ThingsPage : public QWidget, public ListPage
{
    Q_OBJECT

public:
    using Edit = std::function<bool(DBRow*)>;

    // With `second`, a further table of the same columns is loaded after the page's own.
    ThingsPage(DBConn* conn, DBCtrl* ctrl, Menu menu = Menu::Editing, const char* second = nullptr)
        : QWidget(nullptr)
        , ListPage(this, conn, ctrl, nullptr, menu)
        , list(new QTreeWidget(this))
        , btnAdd(new QPushButton(QStringLiteral("&Add..."), this))
        , btnEdit(new QPushButton(QStringLiteral("&Edit..."), this))
        , btnRemove(new QPushButton(QStringLiteral("&Remove"), this))
    {
        auto* box = new QVBoxLayout(this);
        box->addWidget(list);
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setRootIsDecorated(false);
        connect(list, &QTreeWidget::itemSelectionChanged, this, [this] {
            updateButtons();
            noteSelectedRows();
        });
        addList({list, QStringLiteral("things"), 1, btnEdit, btnRemove, &table, Duplicate});
        cols().add(QStringLiteral("Name"), true, -1, false);
        cols().add(QStringLiteral("Note"), true, -1, false);
        loadLayouts();
        QList<TableLoad> loads{{&table, "things", dbcol_things}};
        if (second)
            loads.append({&secondTable, second, dbcol_things});
        loaded = loadTables(loads);
        if (loaded)
            finishEditablePage();
    }

    // The dialog: each run takes the next scripted edit and records the row it opened on.
    QList<Edit> edits;
    QStringList openedOn;
    // At each change of the selection, the names in the rows behind the selected items, as
    // a page whose buttons follow their cells reads them.
    QStringList selectedRowsRead;

    // How many items the list held once its rows were replaced, before it was drawn anew.
    int itemsLeftUndrawn = -1;

    // The page's table read again from the server and shown; with `then`, a further table
    // read in the same go.
    void reload(const char* then = nullptr)
    {
        QList<TableLoad> loads{{&table, "things", dbcol_things}};
        if (then)
            loads.append({&secondTable, then, dbcol_things});
        if (!reloadTables(loads))
            return;
        itemsLeftUndrawn = list->topLevelItemCount();
        updateView();
    }

    ThingItem* itemNamed(const QString& name) const
    {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            auto* item = static_cast<ThingItem*>(list->topLevelItem(i));
            if (cellText(item->row, "name") == name)
                return item;
        }
        return nullptr;
    }

    QStringList shownNames() const
    {
        QStringList names;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            names << list->topLevelItem(i)->text(0);
        names.sort();
        return names;
    }

    DBTable table;
    DBTable secondTable;
    QTreeWidget* list;
    QPushButton* btnAdd;
    QPushButton* btnEdit;
    QPushButton* btnRemove;
    bool loaded = false;

    using ListPage::addRow;
    using ListPage::edit;
    using ListPage::editCurrent;
    using ListPage::removeSelected;
    using ListPage::cols;

    // Counts the menus asked for; shows them only when showMenus.
    bool fillPopupMenu(QMenu& menu, QWidget* receiver, QTreeWidgetItem* item) override
    {
        ++menusAsked;
        return ListPage::fillPopupMenu(menu, receiver, item) && showMenus;
    }
    int menusAsked = 0;
    bool showMenus = true;

public slots:
    void slotAdd() {}
    void slotEdit() {}
    void slotRemove() {}
    void slotRefresh() {}
    void slotCols() {}

protected:
    void noteSelectedRows()
    {
        QStringList names;
        for (QTreeWidgetItem* item : list->selectedItems())
            names << cellText(rowOf(0, item), "name");
        names.sort();
        selectedRowsRead << names.join(QLatin1Char(','));
    }

    void afterReset() override
    {
        itemsLeftUndrawn = list->topLevelItemCount();
        ListPage::afterReset();
    }

    void fillItems(int) override
    {
        for (const auto& row : table.m_rows)
            (new ThingItem(list, row.get(), &cols()))->show();
    }
    DBRow* rowOf(int, QTreeWidgetItem* item) const override
    {
        return static_cast<ThingItem*>(item)->row;
    }
    QTreeWidgetItem* newItem(int, DBRow* row) override { return new ThingItem(list, row, &cols()); }
    void showItem(int, QTreeWidgetItem* item) override { static_cast<ThingItem*>(item)->show(); }
    bool runEditDialog(int, DBRow* row) override
    {
        openedOn << cellText(row, "name") + QLatin1Char('/') + cellText(row, "note");
        // An empty step cancels without typing.
        const Edit step = edits.isEmpty() ? Edit() : edits.takeFirst();
        return step && step(row);
    }
};

// A status page as the module's are built: no edits, its rows asked of the server when it
// is built, on "&Refresh" and after every change of its columns.
class StatusPage : public QWidget, public ListPage
{
    Q_OBJECT

public:
    StatusPage(DBConn* conn, DBCtrl* ctrl)
        : QWidget(nullptr)
        , ListPage(this, conn, ctrl, nullptr, Menu::Status)
        , list(new QTreeWidget(this))
    {
        auto* box = new QVBoxLayout(this);
        box->addWidget(list);
        ListSetup setup;
        setup.view = list;
        setup.key = QStringLiteral("status");
        setup.version = 1;
        addList(setup);
        cols().add(QStringLiteral("Name"), true, -1, false);
        cols().add(QStringLiteral("Note"), true, -1, false);
        slotRefresh();
    }

    QStringList shownNames()
    {
        QStringList names;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            names << list->topLevelItem(i)->text(cols().dispinv.at(0));
        names.sort();
        return names;
    }

    DBTable table;
    QTreeWidget* list;
    bool lastRefresh = false;

    using ListPage::cols;
    using ListPage::modifyColumns;

public slots:
    void slotRefresh() { lastRefresh = refreshList(0, {&table, "things", dbcol_things}); }
    void slotCols() { modifyColumns(); }

protected:
    void fillItems(int) override
    {
        // Copies of the texts: a refused reload empties the table under the items.
        for (const auto& row : table.m_rows)
            list->addTopLevelItem(new StatusItem({cellText(row.get(), "name"), cellText(row.get(), "note")}, &cols()));
    }
    bool rebuildList(int) override
    {
        slotRefresh();
        return lastRefresh;
    }
};

ThingsPage::Edit rename(const QString& name)
{
    return [name](DBRow* row) {
        setText(row, "name", name);
        return true;
    };
}

ThingsPage::Edit note(const QString& value)
{
    return [value](DBRow* row) {
        setText(row, "note", value);
        return true;
    };
}

// Types into the dialog and then cancels it.
ThingsPage::Edit cancelAfter(const ThingsPage::Edit& typing)
{
    return [typing](DBRow* row) {
        typing(row);
        return false;
    };
}

} // namespace

class TestListPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void buttonsFollowSelection_data();
    void buttonsFollowSelection();
    void failedLoadLeavesPageUnfinished();
    void headerFollowedOnlyOnceLoaded_data();
    void headerFollowedOnlyOnceLoaded();
    void menus_data();
    void menus();
    void editLoop_data();
    void editLoop();
    void removalsAreHandedOverAndReset();
    void applyCommitsTables();
    void rowsReplacedUnderASelection_data();
    void rowsReplacedUnderASelection();
    void resetUnderADialogDoneOnceItCloses_data();
    void resetUnderADialogDoneOnceItCloses();
    void editOpensTheRowEditActsOn_data();
    void editOpensTheRowEditActsOn();
    void reloadFailingPartWayKeepsTheList();
    void addKeepsOrDropsTheRow_data();
    void addKeepsOrDropsTheRow();
    void failedLoadEditsNothing_data();
    void failedLoadEditsNothing();
    void cancelRestoresANullCellExactly();
    void statusPageRefreshesQuietly();
    void statusPageAsksAgainAfterColumnChanges();
    void statusPageKeepsItsLayoutWhenTheReloadIsRefused_data();
    void statusPageKeepsItsLayoutWhenTheReloadIsRefused();
    void itemsGoBeforeTheListIsHiddenOnDestruction();

private:
    std::unique_ptr<ThingsPage> makePage(ListPage::Menu menu = ListPage::Menu::Editing,
                                         const char* second = nullptr)
    {
        return std::make_unique<ThingsPage>(m_session->connection(), m_ctrl, menu, second);
    }

    std::unique_ptr<PageSession> m_session;
    TestServer* m_server = nullptr;
    DBCtrl* m_ctrl = nullptr;
};

void TestListPage::init()
{
    m_session = std::make_unique<PageSession>();
    m_server = m_session->server.get();
    m_ctrl = &m_session->ctrl;
    m_server->setTable("things", {{"name", TypeString, true}, {"domain", TypeString, true}, {"note", TypeString, false}},
                       {{"ann", "", "a"}, {"bob", "", "b"}, {"cid", "", "c"}, {"ann", "x.example", "d"}});
    QVERIFY(m_session->connect());
}

void TestListPage::cleanup()
{
    m_session.reset();
}

void TestListPage::buttonsFollowSelection_data()
{
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<bool>("editEnabled");
    QTest::addColumn<bool>("removeEnabled");

    QTest::newRow("none") << QStringList() << false << false;
    QTest::newRow("one") << QStringList{"bob"} << true << true;
    QTest::newRow("two") << QStringList{"ann", "cid"} << false << true;
}

void TestListPage::buttonsFollowSelection()
{
    QFETCH(QStringList, selected);
    QFETCH(bool, editEnabled);
    QFETCH(bool, removeEnabled);

    auto page = makePage();
    QVERIFY(page->loaded);
    for (const QString& name : selected)
        page->itemNamed(name)->setSelected(true);
    QCOMPARE(page->btnEdit->isEnabled(), editEnabled);
    QCOMPARE(page->btnRemove->isEnabled(), removeEnabled);
    QVERIFY(page->btnAdd->isEnabled());
}

void TestListPage::failedLoadLeavesPageUnfinished()
{
    QVERIFY(m_server->refuse("from things", 109));
    DialogRecorder recorder;
    auto page = makePage();
    QVERIFY(!page->loaded);
    QCOMPARE(recorder.messages.size(), 1); // the table layer's failure box
    QCOMPARE(page->list->headerItem()->text(0), QStringLiteral("1")); // the view's own, not "Name"
    QCOMPARE(page->list->topLevelItemCount(), 0);
    QVERIFY(page->btnEdit->isEnabled());
    QVERIFY(page->btnRemove->isEnabled());
    // Not following Apply and Reset: a reset redraws nothing.
    m_ctrl->reset();
    QCOMPARE(page->list->headerItem()->text(0), QStringLiteral("1"));
}

// A page whose load failed leaves its list header alone: no menu there, and a drag of a
// section's edge is not taken into the layout.
void TestListPage::headerFollowedOnlyOnceLoaded_data()
{
    QTest::addColumn<bool>("loaded");
    QTest::newRow("loaded") << true;
    QTest::newRow("load refused") << false;
}

void TestListPage::headerFollowedOnlyOnceLoaded()
{
    QFETCH(bool, loaded);
    if (!loaded)
        QVERIFY(m_server->refuse("from things", 109));
    DialogRecorder recorder;
    auto page = makePage();
    QCOMPARE(page->loaded, loaded);
    page->showMenus = false;
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    QHeaderView* header = page->list->header();

    QContextMenuEvent rightButton(QContextMenuEvent::Mouse, QPoint(5, 5),
                                  header->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(header->viewport(), &rightButton);
    QCOMPARE(page->menusAsked, loaded ? 1 : 0);

    header->resizeSection(0, 90);
    QCOMPARE(page->cols().width.at(0), loaded ? 90 : -1);
    // The list itself still has its menu.
    QContextMenuEvent onList(QContextMenuEvent::Mouse, QPoint(5, 5),
                             page->list->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(page->list->viewport(), &onList);
    QCOMPARE(page->menusAsked, loaded ? 2 : 1);
}

void TestListPage::menus_data()
{
    QTest::addColumn<int>("menu");
    QTest::addColumn<bool>("onRow");
    QTest::addColumn<QStringList>("entries"); // text, "-" for a separator, "!" marks disabled

    QTest::newRow("editing on a row")
        << int(ListPage::Menu::Editing) << true
        << QStringList{"&Add...", "&Edit...", "&Remove", "-", "&Modify Columns..."};
    QTest::newRow("editing on the header")
        << int(ListPage::Menu::Editing) << false
        << QStringList{"&Add...", "!&Edit...", "!&Remove", "-", "&Modify Columns..."};
    QTest::newRow("status") << int(ListPage::Menu::Status) << false
                            << QStringList{"&Refresh", "-", "&Modify Columns..."};
}

void TestListPage::menus()
{
    QFETCH(int, menu);
    QFETCH(bool, onRow);
    QFETCH(QStringList, entries);

    auto page = makePage(ListPage::Menu(menu));
    QMenu popup;
    QVERIFY(page->fillPopupMenu(popup, page.get(), onRow ? page->list->topLevelItem(0) : nullptr));
    QStringList shown;
    for (QAction* action : popup.actions()) {
        shown << (action->isSeparator() ? QStringLiteral("-")
                                        : (action->isEnabled() ? QString() : QStringLiteral("!")) + action->text());
    }
    QCOMPARE(shown, entries);
}

void TestListPage::editLoop_data()
{
    QTest::addColumn<QList<ThingsPage::Edit>>("edits");
    QTest::addColumn<QStringList>("openedOn");
    QTest::addColumn<int>("warnings");
    QTest::addColumn<QString>("rowAfter");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("cancelled")
        << QList<ThingsPage::Edit>{cancelAfter(note("zzz"))} << QStringList{"bob/b"} << 0 << "bob/b"
        << QStringList();
    QTest::newRow("kept")
        << QList<ThingsPage::Edit>{note("new")} << QStringList{"bob/b"} << 0 << "bob/new"
        << QStringList{"update things set note='new' where name='bob' and domain=''"};
    QTest::newRow("case-only change is an edit")
        << QList<ThingsPage::Edit>{rename("Bob")} << QStringList{"bob/b"} << 0 << "Bob/b"
        << QStringList{"update things set name='Bob' where name='bob' and domain=''"};
    QTest::newRow("duplicate, corrected")
        << QList<ThingsPage::Edit>{rename("ANN"), rename("dan")} << QStringList{"bob/b", "ANN/b"} << 1
        << "dan/b" << QStringList{"update things set name='dan' where name='bob' and domain=''"};
    QTest::newRow("duplicate, then cancelled")
        << QList<ThingsPage::Edit>{rename("ANN"), cancelAfter(note("zzz"))}
        << QStringList{"bob/b", "ANN/b"} << 1 << "bob/b" << QStringList();
    QTest::newRow("two duplicates, then cancelled")
        << QList<ThingsPage::Edit>{rename("ANN"), rename("Cid"), {}}
        << QStringList{"bob/b", "ANN/b", "Cid/b"} << 2 << "bob/b" << QStringList();
}

void TestListPage::editLoop()
{
    QFETCH(QList<ThingsPage::Edit>, edits);
    QFETCH(QStringList, openedOn);
    QFETCH(int, warnings);
    QFETCH(QString, rowAfter);
    QFETCH(QStringList, pending);

    auto page = makePage();
    DialogRecorder recorder;
    ThingItem* item = page->itemNamed(QStringLiteral("bob"));
    page->list->setCurrentItem(item);
    page->edits = edits;
    page->editCurrent();

    QCOMPARE(page->openedOn, openedOn);
    QCOMPARE(recorder.messages.size(), warnings);
    for (const DialogRecorder::Message& message : std::as_const(recorder.messages)) {
        QCOMPARE(message.caption, QStringLiteral("Ornel Corvane Administration"));
        QCOMPARE(message.text, Duplicate);
        QCOMPARE(message.icon, QMessageBox::Warning);
        QCOMPARE(message.parent.data(), page.get());
    }
    QCOMPARE(cellText(item->row, "name") + QLatin1Char('/') + cellText(item->row, "note"), rowAfter);
    QCOMPARE(item->text(0), cellText(item->row, "name")); // redrawn only when kept
    QCOMPARE(m_ctrl->m_pending, pending);
}

void TestListPage::removalsAreHandedOverAndReset()
{
    auto page = makePage();
    DialogRecorder recorder;
    for (const char* name : {"ann", "bob", "cid"})
        page->itemNamed(QLatin1String(name))->setSelected(true);
    page->removeSelected();

    QCOMPARE(recorder.messages.size(), 0); // no question
    QCOMPARE(page->shownNames(), QStringList{"ann"});
    QCOMPARE(m_ctrl->m_pending, (QStringList{"delete from things where name='ann' and domain=''",
                                             "delete from things where name='bob' and domain=''",
                                             "delete from things where name='cid' and domain=''"}));
    m_ctrl->reset();
    QCOMPARE(page->shownNames(), (QStringList{"ann", "ann", "bob", "cid"}));
    QCOMPARE(page->table.diff(true)->size(), 0);
}

void TestListPage::applyCommitsTables()
{
    auto page = makePage();
    page->itemNamed(QStringLiteral("cid"))->setSelected(true);
    page->removeSelected();
    QCOMPARE(m_ctrl->m_pending.size(), 1);
    m_ctrl->apply(); // the main window has sent the statements
    QCOMPARE(page->table.diff(true)->size(), 0);
    m_ctrl->reset(); // nothing left to restore
    QCOMPARE(page->shownNames(), (QStringList{"ann", "ann", "bob"}));
}

void TestListPage::rowsReplacedUnderASelection_data()
{
    QTest::addColumn<bool>("reload"); // else Reset
    QTest::addColumn<QStringList>("selected");

    QTest::newRow("Reset, every row selected") << false << QStringList{"ann", "ann", "bob", "cid"};
    QTest::newRow("Reset, one row selected") << false << QStringList{"bob"};
    QTest::newRow("the table read again, every row selected") << true << QStringList{"ann", "ann", "bob", "cid"};
    QTest::newRow("the table read again, one row selected") << true << QStringList{"cid"};
}

// Rows replaced while items are selected: no item is left standing for a row that went, and the
// page's selection handler is told once, when the list shows the new rows and nothing
// selected.
void TestListPage::rowsReplacedUnderASelection()
{
    QFETCH(bool, reload);
    QFETCH(QStringList, selected);

    auto page = makePage();
    if (selected.size() == page->list->topLevelItemCount())
        page->list->selectAll();
    else
        page->itemNamed(selected.first())->setSelected(true);
    QCOMPARE(page->selectedRowsRead.last(), selected.join(QLatin1Char(',')));
    QVERIFY(page->btnRemove->isEnabled());
    page->selectedRowsRead.clear();

    if (reload)
        page->reload();
    else
        m_ctrl->reset();

    QCOMPARE(page->itemsLeftUndrawn, 0);
    QCOMPARE(page->selectedRowsRead, QStringList{QString()});
    QCOMPARE(page->shownNames(), (QStringList{"ann", "ann", "bob", "cid"}));
    QVERIFY(!page->btnEdit->isEnabled());
    QVERIFY(!page->btnRemove->isEnabled());
}

void TestListPage::resetUnderADialogDoneOnceItCloses_data()
{
    QTest::addColumn<bool>("all"); // every row selected, else the edited one

    QTest::newRow("every row selected") << true;
    QTest::newRow("the edited row selected") << false;
}

// A reset asked for while an edit dialog is open (a lost connection resets the pending list)
// waits until the dialog has closed, and is then done as any reset is: the lists let go of
// their items before the rows go, and the edit made in the dialog stops. Done once: the next
// edit goes through.
void TestListPage::resetUnderADialogDoneOnceItCloses()
{
    QFETCH(bool, all);

    auto page = makePage();
    page->list->setCurrentItem(page->itemNamed(QStringLiteral("bob")));
    if (all)
        page->list->selectAll();
    DBCtrl* ctrl = m_ctrl;
    page->edits = {[ctrl](DBRow* row) {
        setText(row, "note", QStringLiteral("typed"));
        ctrl->reset();
        return true;
    }};
    page->editCurrent();

    QCOMPARE(page->openedOn, QStringList{"bob/b"});
    QCOMPARE(page->itemsLeftUndrawn, 0);
    QCOMPARE(m_ctrl->m_pending, QStringList());
    QCOMPARE(page->shownNames(), (QStringList{"ann", "ann", "bob", "cid"}));

    page->list->setCurrentItem(page->itemNamed(QStringLiteral("bob")));
    page->edits = {note(QStringLiteral("new"))};
    page->editCurrent();
    QCOMPARE(page->openedOn, (QStringList{"bob/b", "bob/b"}));
    QCOMPARE(m_ctrl->m_pending, QStringList{"update things set note='new' where name='bob' and domain=''"});
}

void TestListPage::editOpensTheRowEditActsOn_data()
{
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("opened"); // name/note of the row the dialog opens on

    QTest::newRow("one row, the current one") << QStringList{"bob"} << "bob" << "bob/b";
    // A Ctrl+click took the current row out of the selection.
    QTest::newRow("one row, the current one outside the selection") << QStringList{"bob"} << "cid" << "bob/b";
    // The menu, opened on a row of a selection of several.
    QTest::newRow("two rows: the current one") << QStringList{"bob", "cid"} << "cid" << "cid/c";
    QTest::newRow("none: the current one") << QStringList{} << "cid" << "cid/c";
}

void TestListPage::editOpensTheRowEditActsOn()
{
    QFETCH(QStringList, selected);
    QFETCH(QString, current);
    QFETCH(QString, opened);

    auto page = makePage();
    page->list->setCurrentItem(page->itemNamed(current), 0, QItemSelectionModel::NoUpdate);
    for (const QString& name : selected)
        page->itemNamed(name)->setSelected(true);
    page->editCurrent();
    QCOMPARE(page->openedOn, QStringList{opened});
}

// The page's table read, then a further table refused: nothing the list shows is replaced, and
// the list keeps its items and its selection.
void TestListPage::reloadFailingPartWayKeepsTheList()
{
    auto page = makePage();
    page->itemNamed(QStringLiteral("bob"))->setSelected(true);
    DialogRecorder recorder;
    page->reload("others");
    QCOMPARE(recorder.messages.size(), 1);
    QCOMPARE(page->itemsLeftUndrawn, -1);
    QCOMPARE(page->shownNames(), (QStringList{"ann", "ann", "bob", "cid"}));
    QCOMPARE(page->list->selectedItems().size(), 1);
    QCOMPARE(cellText(static_cast<ThingItem*>(page->list->selectedItems().first())->row, "name"),
             QStringLiteral("bob"));
}

void TestListPage::addKeepsOrDropsTheRow_data()
{
    QTest::addColumn<QList<ThingsPage::Edit>>("edits");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("pending");

    QTest::newRow("kept") << QList<ThingsPage::Edit>{rename("eve")} << QStringList{"ann", "ann", "bob", "cid", "eve"}
                          << QStringList{"insert things set name='eve', domain='', note='preset'"};
    QTest::newRow("cancelled") << QList<ThingsPage::Edit>{{}} << QStringList{"ann", "ann", "bob", "cid"}
                               << QStringList();
    QTest::newRow("duplicate, then cancelled")
        << QList<ThingsPage::Edit>{rename("Bob"), {}} << QStringList{"ann", "ann", "bob", "cid"} << QStringList();
}

void TestListPage::addKeepsOrDropsTheRow()
{
    QFETCH(QList<ThingsPage::Edit>, edits);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, pending);

    auto page = makePage();
    DialogRecorder recorder;
    page->edits = edits;
    page->addRow(0, [](DBRow* row) {
        setText(row, "domain", QString());
        setText(row, "note", QStringLiteral("preset"));
    });
    QCOMPARE(page->shownNames(), shown);
    QCOMPARE(m_ctrl->m_pending, pending);
    QCOMPARE(page->table.m_rows.size(), size_t(shown.size()));
}

namespace {

enum class LoadFailure { Refused, ShortOfAColumn, LaterTableRefused };
enum class EditPath { Add, EditCurrent, RemoveSelected };

} // namespace

Q_DECLARE_METATYPE(LoadFailure)
Q_DECLARE_METATYPE(EditPath)

void TestListPage::failedLoadEditsNothing_data()
{
    QTest::addColumn<LoadFailure>("failure");
    QTest::addColumn<EditPath>("path");

    const QList<std::pair<LoadFailure, const char*>> failures = {
        {LoadFailure::Refused, "load refused"},
        {LoadFailure::ShortOfAColumn, "answer short of a column"},
        {LoadFailure::LaterTableRefused, "the table loaded, a later one refused"}};
    const QList<std::pair<EditPath, const char*>> paths = {
        {EditPath::Add, "add"}, {EditPath::EditCurrent, "edit"}, {EditPath::RemoveSelected, "remove"}};
    for (const auto& [failure, failureName] : failures) {
        for (const auto& [path, pathName] : paths)
            QTest::addRow("%s, %s", failureName, pathName) << failure << path;
    }
}

// A page whose load failed hands nothing in: what it would hand in could be neither
// committed on Apply nor restored on Reset, and a table not loaded has no rows to compare
// with, so each Apply would send its inserts again. No row is added, no dialog opens.
void TestListPage::failedLoadEditsNothing()
{
    QFETCH(LoadFailure, failure);
    QFETCH(EditPath, path);

    if (failure == LoadFailure::Refused)
        QVERIFY(m_server->refuse("from things$", 109, 1));
    if (failure == LoadFailure::ShortOfAColumn)
        QVERIFY(m_server->omitColumns("from things$", QStringList{"note"}, 1));
    DialogRecorder recorder;
    auto page = makePage(ListPage::Menu::Editing, failure == LoadFailure::LaterTableRefused ? "others" : nullptr);
    QVERIFY(!page->loaded);
    QCOMPARE(recorder.messages.size(), 1);
    const size_t rows = page->table.m_rows.size();

    page->edits = {rename(QStringLiteral("dan")), rename(QStringLiteral("eve"))};
    switch (path) {
    case EditPath::Add:
        QVERIFY(!page->addRow(0, [](DBRow* row) {
            setText(row, "domain", QString());
            setText(row, "note", QStringLiteral("preset"));
        }));
        break;
    case EditPath::EditCurrent:
        page->editCurrent();
        break;
    case EditPath::RemoveSelected:
        page->list->selectAll();
        page->removeSelected();
        break;
    }
    QCOMPARE(page->openedOn, QStringList());
    QCOMPARE(page->table.m_rows.size(), rows);
    QCOMPARE(page->list->topLevelItemCount(), 0);
    QCOMPARE(m_ctrl->m_pending, QStringList());
    QCOMPARE(recorder.messages.size(), 1);
}

void TestListPage::cancelRestoresANullCellExactly()
{
    // A cell the server leaves null (a password it never sends), as loaded and as shown.
    auto page = makePage();
    ThingItem* item = page->itemNamed(QStringLiteral("bob"));
    const size_t note = size_t(item->row->colIndex("note"));
    item->row->m_values[note] = std::make_unique<DBStr>();
    for (const auto& original : page->table.m_orig) {
        if (original->m_id == item->row->m_id)
            original->m_values[note] = std::make_unique<DBStr>();
    }
    QVERIFY(page->table.diff(true)->isEmpty());

    DialogRecorder recorder;
    page->list->setCurrentItem(item);
    page->edits = {[](DBRow* row) {
                       setText(row, "note", QStringLiteral("typed"));
                       setText(row, "name", QStringLiteral("Cid"));
                       return true;
                   },
                   {}};
    page->editCurrent();
    QCOMPARE(recorder.messageTexts(), QStringList{Duplicate});
    // What was typed before the cancel reaches neither the row nor the next hand-over.
    QVERIFY(item->row->m_values[note]->isNull());
    QCOMPARE(cellText(item->row, "note"), QString());
    QCOMPARE(*page->table.diff(true), QStringList());
}

void TestListPage::statusPageRefreshesQuietly()
{
    DialogRecorder recorder;
    StatusPage page(m_session->connection(), m_ctrl);
    QVERIFY(page.lastRefresh);
    QCOMPARE(page.shownNames(), (QStringList{"ann", "ann", "bob", "cid"}));
    m_server->setTable("things", {{"name", TypeString, true}, {"domain", TypeString, true}, {"note", TypeString, false}},
                       {{"dan", "", "d"}});
    QVERIFY(m_server->refuse("from things", 109, 1));
    page.slotRefresh();
    // Refused without a box: the list keeps what it showed.
    QVERIFY(!page.lastRefresh);
    QCOMPARE(recorder.messages.size(), 0);
    QVERIFY(page.table.m_rows.empty());
    QCOMPARE(page.shownNames(), (QStringList{"ann", "ann", "bob", "cid"}));
    page.slotRefresh();
    QCOMPARE(page.shownNames(), QStringList{"dan"});
    // Nothing is handed to the pending list, and Reset redraws nothing.
    m_ctrl->reset();
    QVERIFY(m_ctrl->m_pending.isEmpty());
    QCOMPARE(page.shownNames(), QStringList{"dan"});
}

void TestListPage::statusPageAsksAgainAfterColumnChanges()
{
    StatusPage page(m_session->connection(), m_ctrl);
    page.show();
    const auto loads = [this] {
        int count = 0;
        for (const JournalEntry& entry : m_server->journal())
            count += entry.statement.contains(QLatin1String("from things")) ? 1 : 0;
        return count;
    };
    QCOMPARE(loads(), 1);
    page.list->header()->resizeSection(0, 90);
    QTest::qWait(20);
    QCOMPARE(loads(), 1);
    page.list->header()->moveSection(1, 0);
    QTRY_COMPARE(loads(), 2);
    QCOMPARE(page.list->topLevelItemCount(), 4);
    DialogRecorder recorder;
    recorder.answerDialog(QDialog::Accepted);
    page.slotCols();
    QCOMPARE(loads(), 3);
}

void TestListPage::statusPageKeepsItsLayoutWhenTheReloadIsRefused_data()
{
    QTest::addColumn<QString>("hidden"); // the column "Modify Columns" hides; none: a header drag

    QTest::newRow("the first column hidden") << "Name";
    QTest::newRow("the last column hidden") << "Note";
    QTest::newRow("the second column dragged to the front") << QString();
}

// The columns change, the server refuses the reload that follows: the list shows what it
// showed, every cell under its own title, and the next reload draws the same layout.
void TestListPage::statusPageKeepsItsLayoutWhenTheReloadIsRefused()
{
    QFETCH(QString, hidden);

    StatusPage page(m_session->connection(), m_ctrl);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    const QList<QStringList> shown = shownColumns(page.list);
    QCOMPARE(shown, (QList<QStringList>{{"Name", "ann", "bob", "cid", "ann"}, {"Note", "a", "b", "c", "d"}}));
    QVERIFY(m_server->refuse("from things", 109, 1));
    DialogRecorder recorder;
    if (!hidden.isEmpty()) {
        recorder.answerDialog(hideColumnNamed(hidden));
        page.slotCols();
        QCOMPARE(recorder.dialogs.size(), 1);
    } else {
        page.list->header()->moveSection(1, 0);
        QTRY_VERIFY(!page.lastRefresh);
    }
    QVERIFY(!page.lastRefresh);
    QCOMPARE(recorder.messages.size(), 0);
    QCOMPARE(shownColumns(page.list), shown);
    QCOMPARE(page.shownNames(), (QStringList{"ann", "ann", "bob", "cid"}));

    page.slotRefresh();
    QVERIFY(page.lastRefresh);
    QCOMPARE(shownColumns(page.list), shown);
}

// A shown page destroyed: its form, destroyed last, hides the list, which lays its items out
// once more. By then the page's rows and column models are gone, so its items must be too.
void TestListPage::itemsGoBeforeTheListIsHiddenOnDestruction()
{
    auto page = makePage();
    QVERIFY(page->loaded);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    QTreeWidget* list = page->list;
    QCOMPARE(list->topLevelItemCount(), 4);
    int itemsWhenHidden = -1;
    auto* watcher = new HideWatcher(list, [&] { itemsWhenHidden = list->topLevelItemCount(); });
    page.reset();
    delete watcher;
    QCOMPARE(itemsWhenHidden, 0);
}

QTEST_MAIN(TestListPage)
#include "tst_listpage.moc"
