// The navigation list page with its form and rows, and the empty page with its form.

#include "qemptyitem.h"
#include "qnavigationitem.h"
#include "twndempty.h"
#include "twndnavigation.h"
#include "wndempty.h"
#include "wndnavigation.h"

#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

enum Action { Return, DoubleClick, Click };

void act(QTreeWidget* list, QTreeWidgetItem* item, Action action)
{
    if (action == Return) {
        QTest::keyClick(list, Qt::Key_Return);
        return;
    }
    // A double click is preceded by the press and release of its first click.
    const QPoint centre = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    if (action == DoubleClick)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

// A navigation tree as a main window holds one: a grouping item with children, and a page
// listing them as the page switch fills it.
struct Tree
{
    Tree()
    {
        widget.setColumnCount(1);
        group = new QTreeWidgetItem(&widget, {QStringLiteral("Configuration")});
        for (const char* title : {"Services", "Domains", "SMTP Properties"})
            children.append(new QTreeWidgetItem(group, {QString::fromLatin1(title)}));
        widget.setCurrentItem(group);
    }

    void fill(WndNavigation* page) const
    {
        QTreeWidgetItem* after = nullptr;
        for (QTreeWidgetItem* child : children)
            after = page->addIcon(after, QPixmap(), child->text(0), QString(), child);
    }

    QTreeWidget widget;
    QTreeWidgetItem* group;
    QList<QTreeWidgetItem*> children;
};

} // namespace

class tst_WndNavigation : public QObject
{
    Q_OBJECT

private slots:
    void formSlotComplains();
    void rowsStandWhereTheyAreAdded();
    void navigationWaitsForTheEventLoop_data();
    void navigationWaitsForTheEventLoop();
    void navigationTakesTheCurrentRowWhenTheTimerFires();
    void navigationFindingNoTargetDoesNothing_data();
    void navigationFindingNoTargetDoesNothing();
    void emptyPageAndItem();
};

void tst_WndNavigation::formSlotComplains()
{
    TWndNavigation form;
    auto* row = new QTreeWidgetItem(form.m_list, {QStringLiteral("row")});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.m_list->setCurrentItem(row);

    // Exactly one complaint: the ignored message is used up, a second one fails.
    const char warning[] = "TWndNavigation::slotNavigate(QListViewItem *): Not implemented yet!";
    QTest::ignoreMessage(QtWarningMsg, warning);
    QTest::failOnWarning(warning);
    act(form.m_list, row, Return);
    QCoreApplication::processEvents();
}

void tst_WndNavigation::rowsStandWhereTheyAreAdded()
{
    // The page keeps the order the rows are given in, though its form's list sorts.
    Tree tree;
    WndNavigation page(nullptr);
    QVERIFY(page.m_list->isHeaderHidden());
    QPixmap blue(16, 16);
    blue.fill(Qt::blue);
    QTreeWidgetItem* first = page.addIcon(nullptr, blue, "first", "the first", tree.children.at(0));
    QTreeWidgetItem* last = page.addIcon(first, QPixmap(), "last", QString(), nullptr);
    page.addIcon(first, QPixmap(), "middle", QString(), nullptr);
    page.addIcon(nullptr, QPixmap(), "top", QString(), nullptr);
    page.addIcon(last, QPixmap(), "bottom", QString(), nullptr);
    QStringList titles;
    for (int i = 0; i < page.m_list->topLevelItemCount(); ++i)
        titles << page.m_list->topLevelItem(i)->text(0);
    QCOMPARE(titles, QStringList({"top", "first", "middle", "last", "bottom"}));

    QCOMPARE(first->type(), int(QNavigationItem::Type));
    QCOMPARE(first->text(1), QStringLiteral("the first"));
    QCOMPARE(static_cast<QNavigationItem*>(first)->target(), tree.children.at(0));
    QCOMPARE(first->icon(0).pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::blue));
}

void tst_WndNavigation::navigationWaitsForTheEventLoop_data()
{
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("navigates");
    QTest::newRow("Return on the last row") << int(Return) << 2 << true;
    QTest::newRow("double click on the second row") << int(DoubleClick) << 1 << true;
    QTest::newRow("a single click only moves the current row") << int(Click) << 1 << false;
}

void tst_WndNavigation::navigationWaitsForTheEventLoop()
{
    QFETCH(int, action);
    QFETCH(int, row);
    QFETCH(bool, navigates);

    Tree tree;
    WndNavigation page(nullptr);
    tree.fill(&page);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QTreeWidgetItem* chosen = page.m_list->topLevelItem(row);
    if (action != Click)
        page.m_list->setCurrentItem(chosen);

    QSignalSpy changes(&tree.widget, &QTreeWidget::currentItemChanged);
    act(page.m_list, chosen, Action(action));
    QCOMPARE(page.m_list->currentItem(), chosen);
    QCOMPARE(changes.size(), 0);
    if (navigates) {
        QTRY_COMPARE(changes.size(), 1);
        QCOMPARE(tree.widget.currentItem(), tree.children.at(row));
    } else {
        QTest::qWait(20);
        QCOMPARE(changes.size(), 0);
    }
}

void tst_WndNavigation::navigationTakesTheCurrentRowWhenTheTimerFires()
{
    Tree tree;
    WndNavigation page(nullptr);
    tree.fill(&page);
    page.slotNavigate(page.m_list->topLevelItem(0));
    page.m_list->setCurrentItem(page.m_list->topLevelItem(2));
    QTRY_COMPARE(tree.widget.currentItem(), tree.children.at(2));
}

void tst_WndNavigation::navigationFindingNoTargetDoesNothing_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("no current row") << "no current row";
    QTest::newRow("row without target") << "no target";
    QTest::newRow("page gone before the timer") << "page gone";
}

void tst_WndNavigation::navigationFindingNoTargetDoesNothing()
{
    QFETCH(QString, situation);

    Tree tree;
    auto* page = new WndNavigation(nullptr);
    tree.fill(page);
    page->addIcon(nullptr, QPixmap(), "Without target", QString(), nullptr);
    page->m_list->setCurrentItem(page->m_list->topLevelItem(situation == "page gone" ? 1 : 0));
    if (situation == "no current row")
        page->m_list->setCurrentItem(nullptr);

    QSignalSpy changes(&tree.widget, &QTreeWidget::currentItemChanged);
    page->slotNavigate(nullptr);
    if (situation == "page gone")
        delete page;
    QTest::qWait(20);
    QCOMPARE(changes.size(), 0);
    if (situation != "page gone")
        delete page;
}

void tst_WndNavigation::emptyPageAndItem()
{
    // The form's button complains until a page overrides its slot.
    TWndEmpty form;
    QTest::ignoreMessage(QtWarningMsg, "TWndEmpty::slotService(): Not implemented yet!");
    form.m_btnNavigate->click();

    QWidget parent;
    WndEmpty page(&parent, 7, nullptr, nullptr, nullptr);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QVERIFY(page.isVisible());
    QVERIFY(!page.m_combo->isVisible());
    QVERIFY(!page.m_btnNavigate->isVisible());
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    page.m_btnNavigate->click();

    // An empty page's row shows its text only when asked.
    Tree tree;
    QTreeWidget list;
    auto* item = new QEmptyItem(&list, "Users", tree.children.at(1));
    QCOMPARE(item->type(), int(QEmptyItem::Type));
    QCOMPARE(item->text(0), QString());
    item->show();
    QCOMPARE(item->text(0), QStringLiteral("Users"));
    QCOMPARE(item->target(), tree.children.at(1));
}

QTEST_MAIN(tst_WndNavigation)
#include "tst_wndnavigation.moc"
