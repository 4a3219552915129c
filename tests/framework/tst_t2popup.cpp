#include "t2popup.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

namespace {

// A page's side of the menu: the slots the entries call.
class Receiver : public QWidget
{
    Q_OBJECT

public:
    int colsCalls = 0;
    int addCalls = 0;
    bool deleteOnCols = false;

public slots:
    void slotCols()
    {
        ++colsCalls;
        if (deleteOnCols)
            delete this;
    }
    void slotAdd() { ++addCalls; }
};

class DefaultPopup : public T2Popup
{
};

// An override that records what it was given and either shows nothing or builds a page's
// menu.
class CustomPopup : public T2Popup
{
public:
    bool show = false;
    int fillCalls = 0;
    QTreeWidgetItem* lastItem = nullptr;
    QWidget* lastReceiver = nullptr;

    bool fillPopupMenu(QMenu& menu, QWidget* receiver, QTreeWidgetItem* item) override
    {
        ++fillCalls;
        lastItem = item;
        lastReceiver = receiver;
        if (!show)
            return false;
        QObject::connect(menu.addAction(QStringLiteral("&Add...")), SIGNAL(triggered()),
                         receiver, SLOT(slotAdd()));
        QAction* edit = menu.addAction(QStringLiteral("&Edit..."));
        edit->setEnabled(item != nullptr);
        menu.addSeparator();
        QObject::connect(menu.addAction(QStringLiteral("&Modify Columns...")),
                         SIGNAL(triggered()), receiver, SLOT(slotCols()));
        return true;
    }
};

struct ShownMenu
{
    bool seen = false;
    QStringList texts;
    QPoint position;
    QObject* parent = nullptr;
    bool mouseTracking = false;
};

// Once the menu is up, notes what it shows and works it with the keyboard as the
// administrator would: `keys` ends with Return (choose) or Escape (dismiss).
void workMenuWhenShown(ShownMenu* shown, QList<Qt::Key> keys)
{
    QTimer::singleShot(0, [shown, keys] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        shown->seen = true;
        for (QAction* action : menu->actions())
            shown->texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        shown->position = menu->pos();
        shown->parent = menu->parent();
        shown->mouseTracking = menu->hasMouseTracking();
        for (Qt::Key key : keys)
            QTest::keyClick(menu, key);
    });
}

} // namespace

class TestT2Popup : public QObject
{
    Q_OBJECT

private slots:
    void defaultMenuHasOneEntry();
    void showPopupMenu_data();
    void showPopupMenu();
    void overrideReturningFalseShowsNothing();
    void receiverDestroyedWhileMenuRuns();
    void entryMayCloseTheReceiver();
};

void TestT2Popup::defaultMenuHasOneEntry()
{
    Receiver receiver;
    DefaultPopup popup;
    QMenu menu;
    QVERIFY(popup.fillPopupMenu(menu, &receiver, nullptr));
    QCOMPARE(menu.actions().size(), 1);
    QAction* entry = menu.actions().first();
    QCOMPARE(entry->text(), QStringLiteral("&Modify Columns..."));
    QVERIFY(entry->shortcut().isEmpty());
    entry->trigger();
    QCOMPARE(receiver.colsCalls, 1);
}

void TestT2Popup::showPopupMenu_data()
{
    QTest::addColumn<bool>("custom");
    QTest::addColumn<bool>("onItem");
    QTest::addColumn<QList<Qt::Key>>("keys");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("colsCalls");
    QTest::addColumn<int>("addCalls");

    const QStringList defaultMenu{"&Modify Columns..."};
    const QStringList pageMenu{"&Add...", "&Edit...", "-", "&Modify Columns..."};
    QTest::newRow("default, chosen")
        << false << false << QList<Qt::Key>{Qt::Key_Down, Qt::Key_Return} << defaultMenu << 1 << 0;
    QTest::newRow("default, dismissed")
        << false << true << QList<Qt::Key>{Qt::Key_Down, Qt::Key_Escape} << defaultMenu << 0 << 0;
    QTest::newRow("page menu, first entry")
        << true << true << QList<Qt::Key>{Qt::Key_Down, Qt::Key_Return} << pageMenu << 0 << 1;
    // On empty space "&Edit..." is disabled: the keyboard passes over it and the separator.
    QTest::newRow("page menu on empty space, second enabled entry")
        << true << false << QList<Qt::Key>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return} << pageMenu << 1 << 0;
}

void TestT2Popup::showPopupMenu()
{
    QFETCH(bool, custom);
    QFETCH(bool, onItem);
    QFETCH(QList<Qt::Key>, keys);
    QFETCH(QStringList, texts);
    QFETCH(int, colsCalls);
    QFETCH(int, addCalls);

    Receiver receiver;
    QTreeWidget list;
    QTreeWidgetItem* item = onItem ? new QTreeWidgetItem(&list, QStringList{"entry"}) : nullptr;
    DefaultPopup defaultPopup;
    CustomPopup customPopup;
    customPopup.show = true;
    T2Popup* popup = custom ? static_cast<T2Popup*>(&customPopup) : &defaultPopup;

    ShownMenu shown;
    workMenuWhenShown(&shown, keys);
    const QPoint pos(120, 90);
    popup->showPopupMenu(&receiver, pos, item);

    QVERIFY(shown.seen);
    QCOMPARE(shown.texts, texts);
    QCOMPARE(shown.position, pos);
    QVERIFY(shown.mouseTracking);
    QCOMPARE(receiver.colsCalls, colsCalls);
    QCOMPARE(receiver.addCalls, addCalls);
    if (custom)
        QCOMPARE(customPopup.lastItem, item);
    // The menu lived only for the call, and not as the page's child, which an entry may close.
    QCOMPARE(shown.parent, nullptr);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
}

void TestT2Popup::overrideReturningFalseShowsNothing()
{
    Receiver receiver;
    QTreeWidget list;
    auto* item = new QTreeWidgetItem(&list, QStringList{"entry"});
    CustomPopup popup;

    // Had a menu been run, its event loop would have fired this timer.
    bool loopRan = false;
    QTimer::singleShot(0, [&loopRan] {
        loopRan = true;
        if (QWidget* menu = QApplication::activePopupWidget())
            menu->close();
    });
    popup.showPopupMenu(&receiver, QPoint(10, 10), item);

    QCOMPARE(popup.fillCalls, 1);
    QCOMPARE(popup.lastItem, item);
    QCOMPARE(popup.lastReceiver, &receiver);
    QVERIFY(!loopRan);
    QCOMPARE(receiver.findChildren<QMenu*>().size(), 0);
    QTRY_VERIFY(loopRan);
}

void TestT2Popup::receiverDestroyedWhileMenuRuns()
{
    // The page may go while its menu is up (a lost connection closes the main window from
    // a timer); the menu closes with it.
    QPointer<Receiver> receiver = new Receiver;
    DefaultPopup popup;
    bool menuWasUp = false;
    QTimer::singleShot(0, [&receiver, &menuWasUp] {
        menuWasUp = qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr;
        delete receiver.data();
    });
    popup.showPopupMenu(receiver, QPoint(50, 50), nullptr);
    QVERIFY(menuWasUp);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
}

void TestT2Popup::entryMayCloseTheReceiver()
{
    // The chosen entry closes the page itself, while the menu is still handling the choice.
    QPointer<Receiver> receiver = new Receiver;
    receiver->deleteOnCols = true;
    DefaultPopup popup;
    ShownMenu shown;
    workMenuWhenShown(&shown, {Qt::Key_Down, Qt::Key_Return});
    popup.showPopupMenu(receiver, QPoint(50, 50), nullptr);
    QVERIFY(shown.seen);
    QVERIFY(receiver.isNull());
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
}

QTEST_MAIN(TestT2Popup)
#include "tst_t2popup.moc"
