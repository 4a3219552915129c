// The navigation list page with its form and rows, and the empty page with its form.

#include "qemptyitem.h"
#include "qnavigationitem.h"
#include "twndempty.h"
#include "twndnavigation.h"
#include "wndempty.h"
#include "wndnavigation.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

const char NavigateWarning[] = "TWndNavigation::slotNavigate(QListViewItem *): Not implemented yet!";

QStringList columnTexts(const QTreeWidget* list, int column)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts.append(list->topLevelItem(i)->text(column));
    return texts;
}

QPixmap squareIcon(const QColor& colour)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return pixmap;
}

void pressReturn(QTreeWidget* list)
{
    QTest::keyClick(list, Qt::Key_Return);
}

void doubleClick(QTreeWidget* list, QTreeWidgetItem* item)
{
    const QPoint centre = list->visualItemRect(item).center();
    // A double click is preceded by the press and release of its first click.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

// A navigation tree as a main window holds one: a grouping item with children.
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

    QTreeWidget widget;
    QTreeWidgetItem* group;
    QList<QTreeWidgetItem*> children;
};

// A page listing tree's children, as the page switch fills it.
void fillRows(WndNavigation* page, const Tree& tree)
{
    QTreeWidgetItem* after = nullptr;
    for (QTreeWidgetItem* child : tree.children)
        after = page->addIcon(after, squareIcon(Qt::red), child->text(0), QString(), child);
}

} // namespace

class tst_WndNavigation : public QObject
{
    Q_OBJECT

private slots:
    void formLayout_data();
    void formLayout();
    void formGivenName();
    void formListSortsUntilThePageSaysOtherwise();
    void formSlotComplains_data();
    void formSlotComplains();
    void formSingleClickDoesNotNavigate();

    void pageHidesHeaderAndKeepsInsertionOrder();
    void addIconPlacesAfterTheGivenRow();
    void rowsCarryIconDescriptionAndTarget();

    void navigationWaitsForTheEventLoop_data();
    void navigationWaitsForTheEventLoop();
    void navigationTakesTheCurrentRowWhenTheTimerFires();
    void navigationWithoutCurrentRowOrTargetDoesNothing_data();
    void navigationWithoutCurrentRowOrTargetDoesNothing();
    void eachPageActsOnItsOwnTree();
    void pageDestroyedBeforeTheTimerLeavesTheTreeAlone();
    void pageReplacedByItsOwnSwitch();

    void emptyFormLayout();
    void emptyFormSlotComplains();
    void emptyPageIsBlank();
    void emptyItemShowsItsTextOnlyWhenAsked();
};

void tst_WndNavigation::formLayout_data()
{
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("object name") << "objectName" << QVariant(QStringLiteral("TWndNavigation"));
    QTest::newRow("caption") << "windowTitle" << QVariant(QStringLiteral("Form1"));
    QTest::newRow("size") << "size" << QVariant(QSize(410, 239));
    QTest::newRow("list name") << "list.objectName" << QVariant(QStringLiteral("m_list"));
    QTest::newRow("columns") << "list.columns" << QVariant(QStringList{"Section", "Description"});
    QTest::newRow("frame shape") << "list.frameShape" << QVariant(int(QFrame::StyledPanel));
    QTest::newRow("frame shadow") << "list.frameShadow" << QVariant(int(QFrame::Sunken));
    QTest::newRow("first column automatic")
        << "list.resizeMode0" << QVariant(int(QHeaderView::ResizeToContents));
    QTest::newRow("second column automatic")
        << "list.resizeMode1" << QVariant(int(QHeaderView::ResizeToContents));
    QTest::newRow("layout name") << "layout.objectName" << QVariant(QStringLiteral("TWndNavigationLayout"));
    QTest::newRow("layout margin") << "layout.margins" << QVariant::fromValue(QMargins(11, 11, 11, 11));
    QTest::newRow("layout spacing") << "layout.spacing" << QVariant(11);
    QTest::newRow("list alone in (0, 0)") << "layout.cell00" << QVariant(QStringLiteral("m_list"));
    QTest::newRow("one cell") << "layout.count" << QVariant(1);
}

void tst_WndNavigation::formLayout()
{
    QFETCH(QString, property);
    QFETCH(QVariant, expected);

    TWndNavigation form;
    auto* layout = qobject_cast<QGridLayout*>(form.layout());
    QVERIFY(layout);
    QHeaderView* header = form.m_list->header();

    const QHash<QString, QVariant> actual{
        {"objectName", form.objectName()},
        {"windowTitle", form.windowTitle()},
        {"size", form.size()},
        {"list.objectName", form.m_list->objectName()},
        {"list.columns", QStringList{form.m_list->headerItem()->text(0),
                                     form.m_list->headerItem()->text(1)}},
        {"list.frameShape", int(form.m_list->frameShape())},
        {"list.frameShadow", int(form.m_list->frameShadow())},
        {"list.resizeMode0", int(header->sectionResizeMode(0))},
        {"list.resizeMode1", int(header->sectionResizeMode(1))},
        {"layout.objectName", layout->objectName()},
        {"layout.margins", QVariant::fromValue(layout->contentsMargins())},
        {"layout.spacing", layout->spacing()},
        {"layout.cell00", layout->itemAtPosition(0, 0) && layout->itemAtPosition(0, 0)->widget()
                              ? layout->itemAtPosition(0, 0)->widget()->objectName()
                              : QString()},
        {"layout.count", layout->count()},
    };
    QVERIFY2(actual.contains(property), qPrintable(property));
    QCOMPARE(actual.value(property), expected);
    QCOMPARE(form.m_list->columnCount(), 2);
}

void tst_WndNavigation::formGivenName()
{
    TWndNavigation form(nullptr, "Chosen");
    QCOMPARE(form.objectName(), QStringLiteral("Chosen"));
    WndNavigation page(nullptr);
    QCOMPARE(page.objectName(), QStringLiteral("TWndNavigation"));
}

void tst_WndNavigation::formListSortsUntilThePageSaysOtherwise()
{
    TWndNavigation form;
    for (const char* title : {"b", "c", "a"})
        new QTreeWidgetItem(form.m_list, {QString::fromLatin1(title)});
    QCOMPARE(columnTexts(form.m_list, 0), QStringList({"a", "b", "c"}));
    QVERIFY(!form.m_list->isHeaderHidden());
}

void tst_WndNavigation::formSlotComplains_data()
{
    QTest::addColumn<bool>("byReturn");
    QTest::newRow("Return") << true;
    QTest::newRow("double click") << false;
}

void tst_WndNavigation::formSlotComplains()
{
    QFETCH(bool, byReturn);

    TWndNavigation form;
    auto* row = new QTreeWidgetItem(form.m_list, {QStringLiteral("row")});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.m_list->setCurrentItem(row);

    // Exactly one complaint: the ignored message is used up, a second one fails.
    QTest::ignoreMessage(QtWarningMsg, NavigateWarning);
    QTest::failOnWarning(NavigateWarning);
    if (byReturn)
        pressReturn(form.m_list);
    else
        doubleClick(form.m_list, row);
    QCoreApplication::processEvents();
}

void tst_WndNavigation::formSingleClickDoesNotNavigate()
{
    Tree tree;
    WndNavigation page(nullptr);
    fillRows(&page, tree);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));

    QTreeWidgetItem* row = page.m_list->topLevelItem(1);
    QTest::mouseClick(page.m_list->viewport(), Qt::LeftButton, {},
                      page.m_list->visualItemRect(row).center());
    QCOMPARE(page.m_list->currentItem(), row);
    QTest::qWait(20);
    QCOMPARE(tree.widget.currentItem(), tree.group);
}

void tst_WndNavigation::pageHidesHeaderAndKeepsInsertionOrder()
{
    WndNavigation page(nullptr);
    QVERIFY(page.m_list->isHeaderHidden());
    QVERIFY(!page.m_list->isSortingEnabled());

    const QStringList titles{"Services", "Domains", "SMTP Properties", "Antivirus", "Antispam",
                             "Backup", "Internet Connection", "Scheduling", "POP3 Download",
                             "ETRN Download", "Remote Administration", "Advanced Options",
                             "Definitions"};
    QTreeWidgetItem* after = nullptr;
    for (const QString& title : titles)
        after = page.addIcon(after, squareIcon(Qt::red), title, QString(), nullptr);
    QCOMPARE(columnTexts(page.m_list, 0), titles);
}

void tst_WndNavigation::addIconPlacesAfterTheGivenRow()
{
    WndNavigation page(nullptr);
    QTreeWidgetItem* first = page.addIcon(nullptr, QPixmap(), "first", QString(), nullptr);
    QTreeWidgetItem* last = page.addIcon(first, QPixmap(), "last", QString(), nullptr);
    page.addIcon(first, QPixmap(), "middle", QString(), nullptr);
    page.addIcon(nullptr, QPixmap(), "top", QString(), nullptr);
    QCOMPARE(columnTexts(page.m_list, 0), QStringList({"top", "first", "middle", "last"}));
    QCOMPARE(page.m_list->indexOfTopLevelItem(last), 3);
}

void tst_WndNavigation::rowsCarryIconDescriptionAndTarget()
{
    Tree tree;
    WndNavigation page(nullptr);
    QTreeWidgetItem* row = page.addIcon(nullptr, squareIcon(Qt::blue), "Services",
                                        "the services", tree.children.at(0));
    QCOMPARE(row->type(), int(QNavigationItem::Type));
    QCOMPARE(row->text(0), QStringLiteral("Services"));
    QCOMPARE(row->text(1), QStringLiteral("the services"));
    QCOMPARE(static_cast<QNavigationItem*>(row)->target(), tree.children.at(0));
    const QImage shown = row->icon(0).pixmap(16, 16).toImage();
    QCOMPARE(shown.pixelColor(8, 8), QColor(Qt::blue));
    QVERIFY(row->icon(1).isNull());

    // The row dies with its list and leaves its target alone.
    delete row;
    QCOMPARE(tree.group->childCount(), 3);
    QCOMPARE(tree.children.at(0)->text(0), QStringLiteral("Services"));
}

void tst_WndNavigation::navigationWaitsForTheEventLoop_data()
{
    QTest::addColumn<bool>("byReturn");
    QTest::addColumn<int>("row");
    QTest::newRow("Return on the first row") << true << 0;
    QTest::newRow("Return on the last row") << true << 2;
    QTest::newRow("double click on the second row") << false << 1;
}

void tst_WndNavigation::navigationWaitsForTheEventLoop()
{
    QFETCH(bool, byReturn);
    QFETCH(int, row);

    Tree tree;
    WndNavigation page(nullptr);
    fillRows(&page, tree);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QTreeWidgetItem* chosen = page.m_list->topLevelItem(row);
    page.m_list->setCurrentItem(chosen);

    QSignalSpy changes(&tree.widget, &QTreeWidget::currentItemChanged);
    if (byReturn)
        pressReturn(page.m_list);
    else
        doubleClick(page.m_list, chosen);
    QCOMPARE(changes.size(), 0);
    QCOMPARE(tree.widget.currentItem(), tree.group);

    QTRY_COMPARE(changes.size(), 1);
    QCOMPARE(tree.widget.currentItem(), tree.children.at(row));
}

void tst_WndNavigation::navigationTakesTheCurrentRowWhenTheTimerFires()
{
    Tree tree;
    WndNavigation page(nullptr);
    fillRows(&page, tree);
    page.m_list->setCurrentItem(page.m_list->topLevelItem(0));

    page.slotNavigate(page.m_list->topLevelItem(0));
    page.m_list->setCurrentItem(page.m_list->topLevelItem(2));
    QTRY_COMPARE(tree.widget.currentItem(), tree.children.at(2));
}

void tst_WndNavigation::navigationWithoutCurrentRowOrTargetDoesNothing_data()
{
    QTest::addColumn<bool>("withCurrentRow");
    QTest::newRow("no current row") << false;
    QTest::newRow("row without target") << true;
}

void tst_WndNavigation::navigationWithoutCurrentRowOrTargetDoesNothing()
{
    QFETCH(bool, withCurrentRow);

    Tree tree;
    WndNavigation page(nullptr);
    QTreeWidgetItem* row = page.addIcon(nullptr, QPixmap(), "Services", QString(), nullptr);
    if (withCurrentRow)
        page.m_list->setCurrentItem(row);
    else
        page.m_list->setCurrentItem(nullptr);

    QSignalSpy changes(&tree.widget, &QTreeWidget::currentItemChanged);
    page.slotNavigate(row);
    QTest::qWait(20);
    QCOMPARE(changes.size(), 0);
    QCOMPARE(tree.widget.currentItem(), tree.group);
}

void tst_WndNavigation::eachPageActsOnItsOwnTree()
{
    Tree first;
    Tree second;
    WndNavigation firstPage(nullptr);
    WndNavigation secondPage(nullptr);
    fillRows(&firstPage, first);
    fillRows(&secondPage, second);

    // The second page was built last, as by the most recently opened window; the first
    // page's rows must still act on the first tree.
    firstPage.m_list->setCurrentItem(firstPage.m_list->topLevelItem(1));
    firstPage.slotNavigate(nullptr);
    QTRY_COMPARE(first.widget.currentItem(), first.children.at(1));
    QCOMPARE(second.widget.currentItem(), second.group);

    secondPage.m_list->setCurrentItem(secondPage.m_list->topLevelItem(2));
    secondPage.slotNavigate(nullptr);
    QTRY_COMPARE(second.widget.currentItem(), second.children.at(2));
    QCOMPARE(first.widget.currentItem(), first.children.at(1));
}

void tst_WndNavigation::pageDestroyedBeforeTheTimerLeavesTheTreeAlone()
{
    Tree tree;
    auto* page = new WndNavigation(nullptr);
    fillRows(page, tree);
    page->m_list->setCurrentItem(page->m_list->topLevelItem(0));
    page->slotNavigate(nullptr);
    delete page;
    QTest::qWait(20);
    QCOMPARE(tree.widget.currentItem(), tree.group);
}

void tst_WndNavigation::pageReplacedByItsOwnSwitch()
{
    // The switch that a row starts closes the page it came from, as the main window does.
    Tree tree;
    QPointer<WndNavigation> page = new WndNavigation(nullptr);
    page->setAttribute(Qt::WA_DeleteOnClose);
    fillRows(page, tree);
    QObject::connect(&tree.widget, &QTreeWidget::currentItemChanged, page.data(),
                     [&page] { page->close(); });
    page->show();
    page->m_list->setCurrentItem(page->m_list->topLevelItem(1));
    page->slotNavigate(nullptr);
    QTRY_VERIFY(page.isNull());
    QCOMPARE(tree.widget.currentItem(), tree.children.at(1));
}

void tst_WndNavigation::emptyFormLayout()
{
    TWndEmpty form;
    QCOMPARE(form.objectName(), QStringLiteral("TWndEmpty"));
    QCOMPARE(TWndEmpty(nullptr, "given").objectName(), QStringLiteral("given"));
    QCOMPARE(form.size(), QSize(318, 121));
    QCOMPARE(form.windowTitle(), QStringLiteral("Form1"));

    QVERIFY(!form.m_combo->isEditable());
    QCOMPARE(form.m_combo->count(), 0);
    QCOMPARE(form.m_btnNavigate->text(), QStringLiteral("&Navigate"));
    QCOMPARE(form.m_btnNavigate->minimumSize(), QSize(80, 0));
    QVERIFY(!form.m_btnNavigate->isFlat());
    QCOMPARE(form.m_btnNavigate->palette().color(QPalette::Button), QColor(212, 208, 200));
    QCOMPARE(form.m_combo->nextInFocusChain(), form.m_btnNavigate);

    auto* layout = qobject_cast<QGridLayout*>(form.layout());
    QVERIFY(layout);
    QCOMPARE(layout->objectName(), QStringLiteral("TWndEmptyLayout"));
    QCOMPARE(layout->contentsMargins(), QMargins(11, 11, 11, 11));
    QCOMPARE(layout->spacing(), 6);
    QCOMPARE(layout->itemAtPosition(0, 0)->widget(), form.m_combo);
    QCOMPARE(layout->itemAtPosition(0, 1)->widget(), form.m_btnNavigate);
    QSpacerItem* across = layout->itemAtPosition(0, 2)->spacerItem();
    QSpacerItem* down = layout->itemAtPosition(1, 0)->spacerItem();
    QVERIFY(across && down);
    QCOMPARE(across->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(across->sizePolicy().verticalPolicy(), QSizePolicy::Minimum);
    QCOMPARE(down->sizePolicy().horizontalPolicy(), QSizePolicy::Minimum);
    QCOMPARE(down->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
}

void tst_WndNavigation::emptyFormSlotComplains()
{
    TWndEmpty form;
    QTest::ignoreMessage(QtWarningMsg, "TWndEmpty::slotService(): Not implemented yet!");
    form.m_btnNavigate->click();
}

void tst_WndNavigation::emptyPageIsBlank()
{
    QWidget parent;
    WndEmpty page(&parent, 7, nullptr, nullptr, nullptr);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QCOMPARE(page.parentWidget(), &parent);
    QCOMPARE(page.objectName(), QStringLiteral("TWndEmpty"));
    QVERIFY(page.isVisible());
    QVERIFY(!page.m_combo->isVisible());
    QVERIFY(!page.m_btnNavigate->isVisible());
    QCOMPARE(page.m_combo->count(), 0);
    // Overridden, so the form's complaint never comes.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    page.m_btnNavigate->click();
}

void tst_WndNavigation::emptyItemShowsItsTextOnlyWhenAsked()
{
    Tree tree;
    QTreeWidget list;
    auto* item = new QEmptyItem(&list, "Users", tree.children.at(1));
    QCOMPARE(list.topLevelItemCount(), 1);
    QCOMPARE(item->type(), int(QEmptyItem::Type));
    QCOMPARE(item->text(0), QString());
    item->show();
    QCOMPARE(item->text(0), QStringLiteral("Users"));
    QCOMPARE(item->itemText(), QStringLiteral("Users"));
    QCOMPARE(item->target(), tree.children.at(1));
}

QTEST_MAIN(tst_WndNavigation)
#include "tst_wndnavigation.moc"
