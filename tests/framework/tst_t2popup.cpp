#include "t2popup.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QtTest>

namespace {

int colsCalls = 0;

// A page's side of the menu: the slot the default entry calls, which may close the page.
class Receiver : public QWidget
{
    Q_OBJECT

public:
    bool deleteOnCols = false;

public slots:
    void slotCols()
    {
        ++colsCalls;
        if (deleteOnCols)
            delete this;
    }
};

class DefaultPopup : public T2Popup
{
};

} // namespace

class TestT2Popup : public QObject
{
    Q_OBJECT

private slots:
    void showPopupMenu_data();
    void showPopupMenu();
};

void TestT2Popup::showPopupMenu_data()
{
    QTest::addColumn<bool>("entryClosesPage");
    QTest::addColumn<bool>("pageGoesWhileUp");

    QTest::newRow("the entry chosen") << false << false;
    // The chosen entry closes the page itself, while the menu still handles the choice.
    QTest::newRow("the entry closes the page") << true << false;
    // A lost connection closes the main window from a timer; the menu closes with it.
    QTest::newRow("the page goes while the menu is up") << false << true;
}

void TestT2Popup::showPopupMenu()
{
    QFETCH(bool, entryClosesPage);
    QFETCH(bool, pageGoesWhileUp);

    QPointer<Receiver> receiver = new Receiver;
    receiver->deleteOnCols = entryClosesPage;
    colsCalls = 0;
    QStringList texts;
    QPoint position;
    QObject* parent = this;
    bool lingered = false;
    // Once the menu is up, note what it shows, then choose its entry from the keyboard.
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            texts.append(action->text());
        position = menu->pos();
        parent = menu->parent();
        if (pageGoesWhileUp) {
            delete receiver.data();
            QTimer::singleShot(1000, menu, [menu, &lingered] {
                lingered = true;
                menu->close();
            });
            return;
        }
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    DefaultPopup popup;
    popup.showPopupMenu(receiver, QPoint(120, 90), nullptr);

    QCOMPARE(texts, QStringList{"&Modify Columns..."});
    QCOMPARE(position, QPoint(120, 90));
    QVERIFY(!lingered);
    QCOMPARE(colsCalls, pageGoesWhileUp ? 0 : 1);
    QCOMPARE(receiver.isNull(), entryClosesPage || pageGoesWhileUp);
    // The menu lived only for the call, and not as the page's child, which an entry may close.
    QCOMPARE(parent, nullptr);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
    delete receiver.data();
}

QTEST_MAIN(TestT2Popup)
#include "tst_t2popup.moc"
