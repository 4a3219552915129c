#include "colsfixture.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTreeWidget>

namespace {

QStringList visualTitles(const QTreeWidget& view)
{
    QStringList titles;
    for (int visual = 0; visual < view.header()->count(); ++visual)
        titles.append(view.headerItem()->text(view.header()->logicalIndex(visual)));
    return titles;
}

} // namespace

class TestColsView : public QObject
{
    Q_OBJECT

private slots:
    void fillView_data();
    void fillView();
    void fillViewWidths();
    void withoutViewNothingHappens();
    void clearViewRemovesColumnsAndItems();
    void changePos_data();
    void changePos();
    void changeSize_data();
    void changeSize();
};

void TestColsView::fillView_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<QStringList>("visual");

    QTest::newRow("shown 1,0,1, order 2,0") << "SHS" << QStringList{"up 1"} << QStringList{"C2", "C0"};
    QTest::newRow("two swaps") << "SSSS" << QStringList{"down 0", "up 3"}
                               << QStringList{"C1", "C0", "C3", "C2"};
    QTest::newRow("shown again goes rightmost") << "HSHS" << QStringList{"show 0"}
                                                << QStringList{"C1", "C3", "C0"};
    QTest::newRow("reversed") << "SSSH" << QStringList{"up 2", "up 1", "up 2"}
                              << QStringList{"C2", "C1", "C0"};
    QTest::newRow("all hidden") << "HH" << QStringList{} << QStringList{};
}

void TestColsView::fillView()
{
    QFETCH(QString, declared);
    QFETCH(QStringList, operations);
    QFETCH(QStringList, visual);

    QTreeWidget view;
    Cols model = declaredModel(declared);
    edit(&model, operations);
    model.view = &view;
    model.clearView();
    model.fillView();

    QCOMPARE(view.columnCount(), int(visual.size()));
    QCOMPARE(visualTitles(view), visual);
    // Items write column id k into view column dispinv[k]: it must carry that id's title.
    for (int id = 0; id < model.showFlags.size(); ++id) {
        if (model.showFlags.at(id))
            QCOMPARE(view.headerItem()->text(model.dispinv.at(id)), model.titles.at(id));
    }
}

void TestColsView::fillViewWidths()
{
    QTreeWidget view;
    Cols model;
    model.add(QStringLiteral("A rather long column title"), true, -1, false);
    model.add(QStringLiteral("Hidden"), false, 300, false);
    model.add(QStringLiteral("Fixed"), true, 80, false);
    model.view = &view;
    model.clearView();
    model.fillView();

    QCOMPARE(view.columnCount(), 2);
    QCOMPARE(view.header()->sectionSize(1), 80);
    // An automatic column is at least as wide as its title.
    const int titleWidth = QFontMetrics(view.header()->font()).horizontalAdvance(model.titles.at(0));
    QVERIFY2(view.header()->sectionSize(0) >= titleWidth,
             qPrintable(QStringLiteral("%1 < %2").arg(view.header()->sectionSize(0)).arg(titleWidth)));
}

void TestColsView::withoutViewNothingHappens()
{
    Cols model = declaredModel(QStringLiteral("SHS"));
    model.fillView();
    model.clearView();
    model.changePos(1, 0);
    QCOMPARE(model.cols, (IntList{2, 0, -1}));
    QCOMPARE(model.view, nullptr);
}

void TestColsView::clearViewRemovesColumnsAndItems()
{
    QTreeWidget view;
    Cols model = declaredModel(QStringLiteral("SSS"));
    model.view = &view;
    model.fillView();
    new QTreeWidgetItem(&view, QStringList{"a", "b", "c"});
    view.header()->moveSection(2, 0);

    model.clearView();
    QCOMPARE(view.columnCount(), 0);
    QCOMPARE(view.topLevelItemCount(), 0);
    // The header's old order does not leak into the next build.
    model.fillView();
    QCOMPARE(visualTitles(view), (QStringList{"C0", "C1", "C2"}));
}

void TestColsView::changePos_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<IntList>("cols");

    // Three columns shown and one hidden: cols = [0, 1, 2, -1].
    QTest::newRow("0 to 3: first to the end") << 0 << 3 << IntList{1, 2, 0, -1};
    QTest::newRow("2 to 0: last to the front") << 2 << 0 << IntList{2, 0, 1, -1};
    QTest::newRow("1 to 1: back where it was") << 1 << 1 << IntList{0, 1, 2, -1};
    QTest::newRow("1 to 2: before its right neighbour") << 1 << 2 << IntList{0, 1, 2, -1};
    // Positions the header does not have are ignored rather than written outside cols.
    QTest::newRow("from the hidden tail") << 3 << 0 << IntList{0, 1, 2, -1};
    QTest::newRow("past the end") << 0 << 4 << IntList{0, 1, 2, -1};
    QTest::newRow("negative") << -1 << 0 << IntList{0, 1, 2, -1};
}

void TestColsView::changePos()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(IntList, cols);

    QTreeWidget view;
    Cols model = declaredModel(QStringLiteral("SSSH"));
    model.view = &view;
    model.clearView();
    model.fillView();
    new QTreeWidgetItem(&view, QStringList{"a", "b", "c"});
    const Cols before = model;

    model.changePos(from, to);

    QCOMPARE(model.cols, cols);
    QCOMPARE(model.disp, before.disp);
    QCOMPARE(model.hid, before.hid);
    const bool valid = from >= 0 && from < 3 && to >= 0 && to <= 3;
    // A recorded move rebuilds the view, also when nothing moved: no items, columns in the
    // new order.
    QCOMPARE(view.topLevelItemCount(), valid ? 0 : 1);
    QStringList expected;
    for (int id : cols.mid(0, 3))
        expected.append(QStringLiteral("C%1").arg(id));
    QCOMPARE(visualTitles(view), expected);
}

void TestColsView::changeSize_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<int>("section");
    QTest::addColumn<IntList>("widths");

    QTest::newRow("id 1 hidden: section 1 is id 2") << "SHS" << QStringList{} << 1 << IntList{-1, -1, 80};
    // Moving columns changes their places in the header, not their sections.
    QTest::newRow("reordered view") << "SSS" << QStringList{"up 2", "up 1"} << 2 << IntList{-1, -1, 80};
    QTest::newRow("section past the shown ones: ignored") << "SHS" << QStringList{} << 2 << IntList{-1, -1, -1};
    QTest::newRow("negative section: ignored") << "SHS" << QStringList{} << -1 << IntList{-1, -1, -1};
}

void TestColsView::changeSize()
{
    QFETCH(QString, declared);
    QFETCH(QStringList, operations);
    QFETCH(int, section);
    QFETCH(IntList, widths);

    Cols model = declaredModel(declared);
    edit(&model, operations);
    const IntList cols = model.cols;
    model.changeSize(section, 80);
    QCOMPARE(model.width, widths);
    QCOMPARE(model.cols, cols);
}

QTEST_MAIN(TestColsView)
#include "tst_colsview.moc"
