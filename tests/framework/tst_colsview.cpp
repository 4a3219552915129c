#include "cols.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTreeWidget>
#include <QtTest>

using IntList = QList<int>;

namespace {

// One letter per column: S shown by default, H hidden by default; titles "Column <id>".
Cols declaredModel(const QString& shownHidden)
{
    Cols model;
    for (int id = 0; id < shownHidden.size(); ++id)
        model.add(QStringLiteral("Column %1").arg(id), shownHidden.at(id) == QLatin1Char('S'), -1, false);
    return model;
}

void apply(Cols* model, const QStringList& operations)
{
    for (const QString& operation : operations) {
        const QStringList words = operation.split(QLatin1Char(' '));
        const int arg = words.value(1).toInt();
        if (words.at(0) == QLatin1String("show"))
            model->show(arg);
        else if (words.at(0) == QLatin1String("hide"))
            model->hide(arg);
        else if (words.at(0) == QLatin1String("up"))
            model->up(arg);
        else if (words.at(0) == QLatin1String("down"))
            model->down(arg);
        else
            QFAIL(qPrintable(QStringLiteral("unknown operation ") + operation));
    }
}

QStringList visualTitles(const QTreeWidget& view)
{
    QStringList titles;
    for (int visual = 0; visual < view.header()->count(); ++visual)
        titles.append(view.headerItem()->text(view.header()->logicalIndex(visual)));
    return titles;
}

QStringList logicalTitles(const QTreeWidget& view)
{
    QStringList titles;
    for (int column = 0; column < view.columnCount(); ++column)
        titles.append(view.headerItem()->text(column));
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
    void fillViewWithoutViewDoesNothing();
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
    QTest::addColumn<QStringList>("logical");
    QTest::addColumn<QStringList>("visual");

    QTest::newRow("shown 1,0,1, order 2,0")
        << "SHS" << QStringList{"up 1"} << QStringList{"Column 0", "Column 2"}
        << QStringList{"Column 2", "Column 0"};
    QTest::newRow("declared order") << "SSS" << QStringList{}
                                    << QStringList{"Column 0", "Column 1", "Column 2"}
                                    << QStringList{"Column 0", "Column 1", "Column 2"};
    QTest::newRow("two swaps") << "SSSS" << QStringList{"down 0", "up 3"}
                               << QStringList{"Column 0", "Column 1", "Column 2", "Column 3"}
                               << QStringList{"Column 1", "Column 0", "Column 3", "Column 2"};
    QTest::newRow("shown again goes rightmost")
        << "HSHS" << QStringList{"show 0"} << QStringList{"Column 0", "Column 1", "Column 3"}
        << QStringList{"Column 1", "Column 3", "Column 0"};
    QTest::newRow("reversed") << "SSSH" << QStringList{"up 2", "up 1", "up 2"}
                              << QStringList{"Column 0", "Column 1", "Column 2"}
                              << QStringList{"Column 2", "Column 1", "Column 0"};
    QTest::newRow("all hidden") << "HH" << QStringList{} << QStringList{} << QStringList{};
}

void TestColsView::fillView()
{
    QFETCH(QString, declared);
    QFETCH(QStringList, operations);
    QFETCH(QStringList, logical);
    QFETCH(QStringList, visual);

    QTreeWidget view;
    Cols model = declaredModel(declared);
    apply(&model, operations);
    model.view = &view;
    model.clearView();
    model.fillView();

    QCOMPARE(view.columnCount(), int(logical.size()));
    QCOMPARE(logicalTitles(view), logical);
    QCOMPARE(visualTitles(view), visual);
    // Items place column id k in view column dispinv[k]: it must carry that id's title.
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
    model.add(QStringLiteral("Hidden"), false, -1, false);
    model.add(QStringLiteral("Fixed"), true, -1, false);
    model.width[2] = 80;
    model.width[1] = 300;
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

void TestColsView::fillViewWithoutViewDoesNothing()
{
    Cols model = declaredModel(QStringLiteral("SHS"));
    const Cols before = model;
    model.fillView();
    model.clearView();
    QCOMPARE(model.cols, before.cols);
    QCOMPARE(model.disp, before.disp);
    QCOMPARE(model.width, before.width);
    QCOMPARE(model.view, nullptr);
}

void TestColsView::clearViewRemovesColumnsAndItems()
{
    QTreeWidget view;
    Cols model = declaredModel(QStringLiteral("SSS"));
    model.view = &view;
    model.fillView();
    new QTreeWidgetItem(&view, QStringList{"a", "b", "c"});
    new QTreeWidgetItem(&view, QStringList{"d", "e", "f"});
    view.header()->moveSection(2, 0);

    model.clearView();
    QCOMPARE(view.columnCount(), 0);
    QCOMPARE(view.topLevelItemCount(), 0);

    // The header's old order does not leak into the next build.
    model.fillView();
    QCOMPARE(visualTitles(view), (QStringList{"Column 0", "Column 1", "Column 2"}));
}

void TestColsView::changePos_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<IntList>("cols");

    // Columns a, b, c shown and one hidden: cols = [0, 1, 2, -1].
    QTest::newRow("0 to 3: first to the end") << 0 << 3 << IntList{1, 2, 0, -1};
    QTest::newRow("2 to 0: last to the front") << 2 << 0 << IntList{2, 0, 1, -1};
    QTest::newRow("1 to 1: back where it was") << 1 << 1 << IntList{0, 1, 2, -1};
    QTest::newRow("1 to 2: before its right neighbour") << 1 << 2 << IntList{0, 1, 2, -1};
    QTest::newRow("0 to 2: one place right") << 0 << 2 << IntList{1, 0, 2, -1};
    QTest::newRow("2 to 1: one place left") << 2 << 1 << IntList{0, 2, 1, -1};
    QTest::newRow("from the hidden tail: ignored") << 3 << 0 << IntList{0, 1, 2, -1};
    QTest::newRow("past the end: ignored") << 0 << 4 << IntList{0, 1, 2, -1};
    QTest::newRow("negative: ignored") << -1 << 0 << IntList{0, 1, 2, -1};
}

void TestColsView::changePos()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(IntList, cols);

    QTreeWidget view;
    Cols model = declaredModel(QStringLiteral("SSSH"));
    model.view = &view;
    model.fillView();
    new QTreeWidgetItem(&view, QStringList{"a", "b", "c"});
    const IntList disp = model.disp;
    const IntList hid = model.hid;

    model.changePos(from, to);

    QCOMPARE(model.cols, cols);
    QCOMPARE(model.disp, disp);
    QCOMPARE(model.hid, hid);
    QStringList expected;
    for (int id : cols) {
        if (id != -1)
            expected.append(QStringLiteral("Column %1").arg(id));
    }
    const bool valid = from >= 0 && from < 3 && to >= 0 && to <= 3;
    if (valid) {
        // The view is rebuilt, even when nothing moved: no items, columns in the new order.
        QCOMPARE(view.topLevelItemCount(), 0);
        QCOMPARE(visualTitles(view), expected);
    } else {
        QCOMPARE(view.topLevelItemCount(), 1);
    }
}

void TestColsView::changeSize_data()
{
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QStringList>("operations");
    QTest::addColumn<int>("section");
    QTest::addColumn<int>("width");
    QTest::addColumn<IntList>("widths");

    QTest::newRow("id 1 hidden: section 1 is id 2")
        << "SHS" << QStringList{} << 1 << 80 << IntList{-1, -1, 80};
    QTest::newRow("section 0") << "SHS" << QStringList{} << 0 << 50 << IntList{50, -1, -1};
    // Moving columns changes their places in the header, not their sections.
    QTest::newRow("reordered view") << "SSS" << QStringList{"up 2", "up 1"} << 2 << 90
                                    << IntList{-1, -1, 90};
    QTest::newRow("shown again after hiding")
        << "SSS" << QStringList{"hide 0", "show 0"} << 0 << 70 << IntList{70, -1, -1};
    QTest::newRow("section past the shown ones: ignored")
        << "SHS" << QStringList{} << 2 << 80 << IntList{-1, -1, -1};
    QTest::newRow("negative section: ignored")
        << "SHS" << QStringList{} << -1 << 80 << IntList{-1, -1, -1};
}

void TestColsView::changeSize()
{
    QFETCH(QString, declared);
    QFETCH(QStringList, operations);
    QFETCH(int, section);
    QFETCH(int, width);
    QFETCH(IntList, widths);

    Cols model = declaredModel(declared);
    apply(&model, operations);
    const IntList cols = model.cols;
    model.changeSize(section, width);
    QCOMPARE(model.width, widths);
    QCOMPARE(model.cols, cols);
}

QTEST_MAIN(TestColsView)
#include "tst_colsview.moc"
