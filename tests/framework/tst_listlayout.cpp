#include "colsfixture.h"
#include "desktop.h"
#include "dialogrecorder.h"
#include "dlgcols.h"
#include "settingsstore.h"
#include "testlistpage.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

namespace {

// Name, Domain (hidden until shown), Size, Comment.
const QList<TestColumn> columns{
    {QStringLiteral("Name"), true},
    {QStringLiteral("Domain"), false},
    {QStringLiteral("Size"), true},
    {QStringLiteral("Comment"), true},
};

const QList<QStringList> rows{
    {"carol", "east", "30", "third"},
    {"alice", "west", "10", "first"},
    {"bob", "north", "20", "second"},
};

QString layoutKey(const char* item)
{
    return QStringLiteral("/Admin/Mail/testlist/") + QLatin1String(item);
}

// The titles of the shown ids in `cols`, left to right.
QStringList titlesOf(const IntList& cols)
{
    QStringList titles;
    for (int id : cols) {
        if (id != -1)
            titles.append(columns.at(id).title);
    }
    return titles;
}

// A header position in the header's viewport, inside the section at `visual`.
QPoint insideSection(const QHeaderView* header, int visual)
{
    const int logical = header->logicalIndex(visual);
    return QPoint(header->sectionViewportPosition(logical) + header->sectionSize(logical) / 2,
                  header->height() / 2);
}

void rightClick(QWidget* widget, const QPoint& pos)
{
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &event);
}

// The room the style leaves for the title of header section `logical` as it is drawn now,
// its sort arrow taken off.
int titleRoom(const QHeaderView* header, int logical)
{
    QStyleOptionHeader option;
    option.initFrom(header);
    option.state |= QStyle::State_Horizontal;
    option.orientation = Qt::Horizontal;
    option.section = logical;
    option.text = header->model()->headerData(logical, Qt::Horizontal).toString();
    option.rect = QRect(0, 0, header->sectionSize(logical), header->height());
    if (header->isSortIndicatorShown() && header->sortIndicatorSection() == logical)
        option.sortIndicator = header->sortIndicatorOrder() == Qt::AscendingOrder ? QStyleOptionHeader::SortDown
                                                                                  : QStyleOptionHeader::SortUp;
    return header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header).width();
}

// Chooses the menu's first entry, "&Modify Columns...", once the menu is up.
void chooseFirstEntryWhenShown()
{
    QTimer::singleShot(0, [] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            QTest::keyClick(menu, Qt::Key_Down);
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
}

} // namespace

class TestListLayout : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void buildsTheDeclaredView();
    void buildsTheStoredLayoutRecordingNothing();
    void headerMove_data();
    void headerMove();
    void resizeDragSavedOnRelease();
    void layoutSurvivesRebuildingThePage();
    void modifyColumnsFromTheMenu_data();
    void modifyColumnsFromTheMenu();
    void pageClosedUnderTheDialog();
    void sortingFollowsTheColumn_data();
    void sortingFollowsTheColumn();
    void keyedRowsGoInInTheListsOrder_data();
    void keyedRowsGoInInTheListsOrder();
    void headerSortsKeyedRowsAgain();
    void sortedTitleShowsWhole_data();
    void sortedTitleShowsWhole();
    void sortArrowAsTheFormSetIt_data();
    void sortArrowAsTheFormSetIt();
    void contextMenuTargets_data();
    void contextMenuTargets();
    void selectionToldOnceTheNewItemsAreIn_data();
    void selectionToldOnceTheNewItemsAreIn();

private:
    std::unique_ptr<TestListPage> makePage();
    QString stored(const char* item) const { return m_desktop->settings()->readEntry(layoutKey(item)); }
    std::unique_ptr<Desktop> m_desktop;
};

void TestListLayout::init()
{
    QDir(QDir::homePath() + QStringLiteral("/.Ornel")).removeRecursively();
    m_desktop = std::make_unique<Desktop>();
}

std::unique_ptr<TestListPage> TestListLayout::makePage()
{
    auto page = std::make_unique<TestListPage>(m_desktop.get(), columns, rows);
    page->resize(600, 300);
    page->show();
    return page;
}

void TestListLayout::buildsTheDeclaredView()
{
    const auto page = makePage();
    QCOMPARE(page->headerTitles(), (QStringList{"Name", "Size", "Comment"}));
    QCOMPARE(page->fillCount, 1);
    // Filled unsorted, sorted once after.
    QVERIFY(!page->sortingDuringLastFill);
    QVERIFY(page->list()->isSortingEnabled());
    QCOMPARE(page->visibleRow(0), (QStringList{"alice", "10", "first"}));
    QCOMPARE(page->visibleRow(2), (QStringList{"carol", "30", "third"}));

    // A stretched last section would follow the list's width into the model.
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    const IntList widths = page->cols().width;
    page->resize(900, 400);
    QTest::qWait(20);
    page->resize(300, 200);
    QTest::qWait(20);
    QCOMPARE(page->cols().width, widths);
    // The administrator has changed nothing yet.
    QCOMPARE(adminFileText(), QStringLiteral("<missing>"));
}

void TestListLayout::buildsTheStoredLayoutRecordingNothing()
{
    // Domain shown at the front, Comment hidden, Name 140 pixels wide.
    SettingsStore* store = m_desktop->settings();
    store->writeEntry(layoutKey("ver"), 2);
    store->writeEntry(layoutKey("cols"), QStringLiteral("0004000100020000-001"));
    store->writeEntry(layoutKey("disp"), QStringLiteral("0004000000010002-001"));
    store->writeEntry(layoutKey("hid"), QStringLiteral("00040003-001-001-001"));
    store->writeEntry(layoutKey("show"), QStringLiteral("00040001000100010000"));
    store->writeEntry(layoutKey("width"), QStringLiteral("00040140-001-001-001"));
    const QString file = adminFileText();

    const auto page = makePage();
    QCOMPARE(page->headerTitles(), (QStringList{"Domain", "Size", "Name"}));
    QCOMPARE(page->visibleRow(0), (QStringList{"west", "10", "alice"}));
    QCOMPARE(page->list()->header()->sectionSize(page->cols().dispinv.at(0)), 140);

    // Building and rebuilding move and resize sections; none of that is recorded.
    page->setRows(rows.mid(1));
    QCoreApplication::processEvents();
    QCOMPARE(page->cols().cols, (IntList{1, 2, 0, -1}));
    QCOMPARE(page->cols().width, (IntList{140, -1, -1, -1}));
    QCOMPARE(page->list()->topLevelItemCount(), 2);
    QCOMPARE(adminFileText(), file);

    // Without a workspace nothing is loaded or saved; moves and resizes still reach the model.
    TestListPage unstored(nullptr, columns, rows);
    unstored.show();
    QCOMPARE(unstored.headerTitles(), (QStringList{"Name", "Size", "Comment"}));
    unstored.list()->header()->moveSection(0, 2);
    QTRY_COMPARE(unstored.cols().cols, (IntList{2, 3, 0, -1}));
    unstored.list()->header()->resizeSection(0, 99);
    QCOMPARE(unstored.cols().width.at(0), 99);
    QCOMPARE(adminFileText(), file);
}

void TestListLayout::headerMove_data()
{
    QTest::addColumn<bool>("mouse");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<IntList>("cols");
    QTest::addColumn<QString>("stored");

    // Shown Name, Size, Comment: cols = [0, 2, 3, -1]. Positions are the header's own:
    // where the section is and where it ends up.
    QTest::newRow("first to the end") << false << 0 << 2 << IntList{2, 3, 0, -1} << "0004000200030000-001";
    QTest::newRow("last to the front") << false << 2 << 0 << IntList{3, 0, 2, -1} << "0004000300000002-001";
    QTest::newRow("dragged with the mouse") << true << 0 << 2 << IntList{2, 3, 0, -1} << "0004000200030000-001";
}

void TestListLayout::headerMove()
{
    QFETCH(bool, mouse);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(IntList, cols);
    QFETCH(QString, stored);

    const auto page = makePage();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    const int fills = page->fillCount;
    QHeaderView* header = page->list()->header();
    if (mouse) {
        const QPoint start = insideSection(header, from);
        const QPoint end = insideSection(header, to) + QPoint(header->sectionSize(header->logicalIndex(to)) / 4, 0);
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, start);
        for (int step = 1; step <= 10; ++step)
            QTest::mouseMove(header->viewport(), start + (end - start) * step / 10);
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, end);
    } else {
        // A drop in the header ends in this call and its signal.
        header->moveSection(from, to);
    }

    // Nothing is rebuilt inside the header's signal.
    QCOMPARE(page->fillCount, fills);
    QCOMPARE(page->list()->columnCount(), 3);

    QTRY_COMPARE(page->fillCount, fills + 1);
    QCOMPARE(page->cols().cols, cols);
    QCOMPARE(page->headerTitles(), titlesOf(cols));
    QCOMPARE(m_desktop->settings()->readNumEntry(layoutKey("ver"), -1), 2);
    QCOMPARE(this->stored("cols"), stored);

    // Recorded once: the rebuild's own moves add nothing.
    QTest::qWait(20);
    QCOMPARE(page->fillCount, fills + 1);
    QCOMPARE(page->cols().cols, cols);
}

void TestListLayout::resizeDragSavedOnRelease()
{
    const auto page = makePage();
    QVERIFY(QTest::qWaitForWindowExposed(page.get()));
    QHeaderView* header = page->list()->header();
    // Grab the right edge of the first section and pull it 60 pixels right, in steps.
    const int before = header->sectionSize(0);
    const QPoint edge(header->sectionViewportPosition(0) + before - 1, header->height() / 2);

    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, edge);
    for (int step = 1; step <= 6; ++step)
        QTest::mouseMove(header->viewport(), edge + QPoint(10 * step, 0));
    // Followed all the way, written not yet.
    QCOMPARE(page->cols().width.at(0), before + 60);
    QCOMPARE(stored("width"), QString());

    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, edge + QPoint(60, 0));
    QCOMPARE(stored("width"), QStringLiteral("0004%1-001-001-001").arg(before + 60, 4, 10, QLatin1Char('0')));
}

void TestListLayout::layoutSurvivesRebuildingThePage()
{
    {
        const auto page = makePage();
        QHeaderView* header = page->list()->header();
        header->moveSection(2, 0);
        QTRY_COMPARE(page->cols().cols, (IntList{3, 0, 2, -1}));
        // Size now stands elsewhere, its section is the same; the resize is saved at once,
        // and the view keeps the width it shows.
        const int fills = page->fillCount;
        header->resizeSection(page->cols().dispinv.at(2), 77);
        QCOMPARE(stored("width"), QStringLiteral("0004-001-0010077-001"));
        QTest::qWait(10);
        QCOMPARE(page->fillCount, fills);
        QCOMPARE(header->sectionSize(page->cols().dispinv.at(2)), 77);
    }
    const auto page = makePage();
    QCOMPARE(page->headerTitles(), (QStringList{"Comment", "Name", "Size"}));
    QCOMPARE(page->list()->header()->sectionSize(page->cols().dispinv.at(2)), 77);
    QCOMPARE(page->cols().width, (IntList{-1, -1, 77, -1}));
}

void TestListLayout::modifyColumnsFromTheMenu_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<IntList>("cols");

    // The administrator shows Domain and moves it one place left.
    QTest::newRow("OK") << true << IntList{0, 2, 1, 3};
    QTest::newRow("Cancel") << false << IntList{0, 2, 3, -1};
}

void TestListLayout::modifyColumnsFromTheMenu()
{
    QFETCH(bool, accept);
    QFETCH(IntList, cols);

    const auto page = makePage();
    const int fillsBefore = page->fillCount;
    DialogRecorder recorder;
    QWidget* dialogParent = nullptr;
    recorder.answerDialog([&](QDialog* dialog) {
        auto* columnsDialog = qobject_cast<DlgCols*>(dialog);
        dialogParent = dialog->parentWidget();
        columnsDialog->m_listHidden->item(0)->setSelected(true);
        columnsDialog->m_btnAdd->click();
        columnsDialog->m_listDisplayed->item(3)->setSelected(true);
        columnsDialog->m_btnUp->click();
        (accept ? columnsDialog->m_btnOK : columnsDialog->m_btnCancel)->click();
        return dialog->result();
    });

    // Right button on the header, then the menu's only entry.
    chooseFirstEntryWhenShown();
    QHeaderView* header = page->list()->header();
    rightClick(header->viewport(), insideSection(header, 1));

    QCOMPARE(page->slotColsCount, 1);
    QCOMPARE(recorder.dialogs.size(), 1);
    QCOMPARE(recorder.dialogs.first().className, QStringLiteral("DlgCols"));
    QCOMPARE(dialogParent, page.get());
    QCOMPARE(page->cols().cols, cols);
    QCOMPARE(page->cols().view, page->list());
    QCOMPARE(page->headerTitles(), titlesOf(cols));
    QCOMPARE(page->fillCount, fillsBefore + (accept ? 1 : 0));
    QCOMPARE(m_desktop->settings()->readNumEntry(layoutKey("ver"), -1), accept ? 2 : -1);
    if (accept)
        QCOMPARE(page->visibleRow(0), (QStringList{"alice", "10", "west", "first"}));
    // The dialog went with the call.
    QCOMPARE(page->findChildren<DlgCols*>().size(), 0);
}

void TestListLayout::pageClosedUnderTheDialog()
{
    auto page = makePage();
    DialogRecorder recorder;
    recorder.answerDialog([&page](QDialog* dialog) {
        qobject_cast<DlgCols*>(dialog)->m_btnOK->click();
        page.reset();
        return int(QDialog::Accepted);
    });
    chooseFirstEntryWhenShown();
    rightClick(page->list()->viewport(), QPoint(5, 5));
    QCOMPARE(recorder.dialogs.size(), 1);
    QVERIFY(!page);
    QCOMPARE(m_desktop->settings()->readNumEntry(layoutKey("ver"), -1), -1);
}

void TestListLayout::sortingFollowsTheColumn_data()
{
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<int>("sortedSection");
    QTest::addColumn<QStringList>("firstRow");

    // Sorted by Size (view column 1), descending, before the change.
    QTest::newRow("Domain shown: Size is view column 2")
        << QStringList{"show 0"} << 2 << QStringList{"carol", "30", "third", "east"};
    // Comment in front of Name: the fallback is the view's column 0, not the leftmost.
    QTest::newRow("Size hidden: back to the first column, ascending")
        << QStringList{"hide 1", "up 1"} << 0 << QStringList{"first", "alice"};
}

void TestListLayout::sortingFollowsTheColumn()
{
    QFETCH(QStringList, operations);
    QFETCH(int, sortedSection);
    QFETCH(QStringList, firstRow);

    const auto page = makePage();
    page->list()->sortByColumn(1, Qt::DescendingOrder);
    QCOMPARE(page->visibleRow(0), (QStringList{"carol", "30", "third"}));

    edit(&page->cols(), operations);
    page->layout().updateView();

    QCOMPARE(page->list()->header()->sortIndicatorSection(), sortedSection);
    QVERIFY(page->list()->isSortingEnabled());
    QCOMPARE(page->visibleRow(0), firstRow);
}

// Rows put in by addRows() show in the order the list's sort gives them, its arrow where the
// list sorts, and the list does not sort them once more (no key is made twice).
void TestListLayout::keyedRowsGoInInTheListsOrder_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<Qt::SortOrder>("order");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("by name") << 0 << Qt::AscendingOrder << QStringList{"alice", "bob", "carol"};
    QTest::newRow("by name, descending")
        << 0 << Qt::DescendingOrder << QStringList{"carol", "bob", "alice"};
    QTest::newRow("by comment, descending")
        << 2 << Qt::DescendingOrder << QStringList{"carol", "bob", "alice"};
    QTest::newRow("by size") << 1 << Qt::AscendingOrder << QStringList{"alice", "bob", "carol"};
}

void TestListLayout::keyedRowsGoInInTheListsOrder()
{
    QFETCH(int, column);
    QFETCH(Qt::SortOrder, order);
    QFETCH(QStringList, names);

    const auto page = makePage();
    page->keyedRows = true;
    page->list()->sortByColumn(column, order);
    page->keysMade = 0;
    page->layout().updateView();

    QStringList shown;
    for (int row = 0; row < page->list()->topLevelItemCount(); ++row)
        shown.append(page->visibleRow(row).first());
    QCOMPARE(shown, names);
    const QHeaderView* header = page->list()->header();
    QCOMPARE(header->sortIndicatorSection(), column);
    QCOMPARE(header->sortIndicatorOrder(), order);
    QVERIFY(page->list()->isSortingEnabled());
    QCOMPARE(page->keysMade, int(rows.size()));
}

// Once in, the rows are sorted by a header click as any list's rows are.
void TestListLayout::headerSortsKeyedRowsAgain()
{
    const auto page = makePage();
    page->keyedRows = true;
    page->layout().updateView();
    QCOMPARE(page->visibleRow(0).first(), QStringLiteral("alice"));

    QHeaderView* header = page->list()->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, insideSection(header, 0));
    QCOMPARE(header->sortIndicatorOrder(), Qt::DescendingOrder);
    QCOMPARE(page->visibleRow(0).first(), QStringLiteral("carol"));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, insideSection(header, 2));
    QCOMPARE(header->sortIndicatorSection(), 2);
    QCOMPARE(page->visibleRow(0), (QStringList{"alice", "10", "first"}));
}

// A rebuild sorts as before but leaves the arrow as the list's form chose: a list that keeps
// its own order whatever the header says shows none.
void TestListLayout::sortArrowAsTheFormSetIt_data()
{
    QTest::addColumn<bool>("arrow");
    QTest::newRow("shown") << true;
    QTest::newRow("hidden") << false;
}

void TestListLayout::sortArrowAsTheFormSetIt()
{
    QFETCH(bool, arrow);
    const auto page = makePage();
    QHeaderView* header = page->list()->header();
    header->setSortIndicatorShown(arrow);
    page->layout().updateView();
    QCOMPARE(header->isSortIndicatorShown(), arrow);

    header->moveSection(0, 2);
    QTRY_COMPARE(page->cols().cols, (IntList{2, 3, 0, -1}));
    QCOMPARE(header->isSortIndicatorShown(), arrow);
    QVERIFY(page->list()->isSortingEnabled());
}

void TestListLayout::sortedTitleShowsWhole_data()
{
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<int>("sortedSection");
    QTest::addColumn<Qt::SortOrder>("order");

    QTest::newRow("first column, as a new list") << QStringList{} << 0 << Qt::AscendingOrder;
    QTest::newRow("Size, descending") << QStringList{} << 1 << Qt::DescendingOrder;
    QTest::newRow("Comment in front") << QStringList{"up 2", "up 1"} << 2 << Qt::AscendingOrder;
}

void TestListLayout::sortedTitleShowsWhole()
{
    QFETCH(QStringList, operations);
    QFETCH(int, sortedSection);
    QFETCH(Qt::SortOrder, order);

    const auto page = makePage();
    QHeaderView* header = page->list()->header();
    page->list()->sortByColumn(sortedSection, order);
    edit(&page->cols(), operations);
    page->layout().updateView();

    QCOMPARE(header->sortIndicatorSection(), sortedSection);
    QVERIFY(header->isSortIndicatorShown());
    const QFontMetrics metrics = header->fontMetrics();
    for (int section = 0; section < header->count(); ++section) {
        const QString title = page->list()->headerItem()->text(section);
        QVERIFY2(header->sectionSize(section) >= header->sectionSizeHint(section), qPrintable(title));
        // Sorted by this column, as a click on its title does, without a rebuild.
        header->setSortIndicator(section, order);
        QVERIFY2(titleRoom(header, section) >= metrics.horizontalAdvance(title), qPrintable(title));
    }
}

void TestListLayout::contextMenuTargets_data()
{
    QTest::addColumn<QString>("where");

    QTest::newRow("on an entry") << "entry";
    QTest::newRow("on empty space") << "space";
    QTest::newRow("on the header") << "header";
}

void TestListLayout::contextMenuTargets()
{
    QFETCH(QString, where);

    const auto page = makePage();
    page->showMenus = false;
    QTreeWidget* list = page->list();
    QTreeWidgetItem* entry = where == QLatin1String("entry") ? list->topLevelItem(1) : nullptr;
    if (entry)
        rightClick(list->viewport(), list->visualItemRect(entry).center());
    else if (where == QLatin1String("space"))
        rightClick(list->viewport(), QPoint(5, list->viewport()->height() - 5));
    else
        rightClick(list->header()->viewport(), insideSection(list->header(), 0));

    QCOMPARE(page->menus, 1);
    QCOMPARE(page->menuItem, entry);
    // A menu that is not to be shown is gone at once.
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
}

void TestListLayout::selectionToldOnceTheNewItemsAreIn_data()
{
    QTest::addColumn<bool>("tree");    // headings with entries below them, else rows alone
    QTest::addColumn<QString>("selected"); // "all", "one" or "none"
    QTest::addColumn<QStringList>("told");

    const QStringList once{"list of drawing 1, selected: "};
    QTest::newRow("rows, one selected") << false << "one" << once;
    QTest::newRow("rows, all selected") << false << "all" << once;
    QTest::newRow("rows, none selected: nothing to tell") << false << "none" << QStringList();
    QTest::newRow("headings and entries, one selected") << true << "one" << once;
    QTest::newRow("headings and entries, all selected") << true << "all" << once;
    QTest::newRow("headings and entries, none selected: nothing to tell") << true << "none" << QStringList();
}

// A list drawn anew while items are selected, as a page does once its rows were replaced:
// whoever follows its selection hears of it once, when only the new items are in and none
// is selected, never while the old items, whose rows may be gone, are still there.
void TestListLayout::selectionToldOnceTheNewItemsAreIn()
{
    QFETCH(bool, tree);
    QFETCH(QString, selected);
    QFETCH(QStringList, told);

    QWidget page;
    auto* view = new QTreeWidget(&page);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Cols model;
    ListLayout layout(&model, view, &page);
    model.add(QStringLiteral("Name"), true, -1, false);
    model.add(QStringLiteral("Note"), true, -1, false);
    int drawing = 0;
    QObject::connect(&layout, &ListLayout::fillItems, &page, [&] {
        for (const char* name : {"Office", "Relays"}) {
            auto* item = new QTreeWidgetItem(view, {QLatin1String(name), QString()});
            item->setData(0, Qt::UserRole, drawing);
            for (int i = 0; tree && i < 2; ++i)
                (new QTreeWidgetItem(item, {QStringLiteral("entry"), QString()}))->setData(0, Qt::UserRole, drawing);
            item->setExpanded(true);
        }
    });
    layout.updateView();
    page.show();
    if (selected == QLatin1String("all"))
        view->selectAll();
    else if (selected == QLatin1String("one"))
        view->topLevelItem(1)->setSelected(true);

    // At each telling: the drawing of the list's first item, and those of the selected items.
    QStringList tellings;
    QObject::connect(view, &QTreeWidget::itemSelectionChanged, &page, [&] {
        QStringList drawings;
        for (const QTreeWidgetItem* item : view->selectedItems())
            drawings << item->data(0, Qt::UserRole).toString();
        const QTreeWidgetItem* first = view->topLevelItem(0);
        tellings << QStringLiteral("list of drawing %1, selected: %2")
                        .arg(first ? first->data(0, Qt::UserRole).toString() : QStringLiteral("none"),
                             drawings.join(QLatin1Char(',')));
    });
    ++drawing;
    layout.updateView();
    QCOMPARE(tellings, told);
    // Drawn once more with nothing selected, it has nothing to tell.
    tellings.clear();
    layout.updateView();
    QCOMPARE(tellings, QStringList());
}

QTEST_MAIN(TestListLayout)
#include "tst_listlayout.moc"
