#include "inputblocker.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QHash>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <memory>

namespace {

// Counts the events that actually reach it, after every event filter.
class RecordingWidget : public QWidget
{
public:
    using QWidget::QWidget;

    int received(QEvent::Type type) const { return m_received.value(type); }
    QHash<int, int> receivedSoFar() const { return m_received; }

protected:
    bool event(QEvent *event) override
    {
        ++m_received[event->type()];
        return QWidget::event(event);
    }

private:
    QHash<int, int> m_received;
};

enum class Input { Click, DragMove, Key, Shortcut, Close, CloseFromWindowSystem };

// A shown top-level window holding the widget that input is aimed at.
struct Scene
{
    Scene()
    {
        window.resize(300, 200);
        target->setGeometry(50, 50, 100, 80);
        target->setFocusPolicy(Qt::StrongFocus);
        window.show();
        window.activateWindow();
        active = QTest::qWaitForWindowActive(&window);
    }

    RecordingWidget window;
    RecordingWidget *target = new RecordingWidget(&window);
    QShortcut *shortcut = new QShortcut(QKeySequence(QStringLiteral("Ctrl+K")), &window);
    bool active = false;
};

// Sends one kind of input and returns how much of it took effect.
int deliver(Input input, Scene &scene)
{
    RecordingWidget *target = scene.target;
    const QPoint inside(10, 10);
    auto took = [target, before = target->receivedSoFar()](QEvent::Type type) {
        return target->received(type) - before.value(type);
    };
    const int closes = scene.window.received(QEvent::Close);
    switch (input) {
    case Input::Click:
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, inside);
        return took(QEvent::MouseButtonRelease);
    case Input::DragMove: {
        QMouseEvent move(QEvent::MouseMove, inside, target->mapToGlobal(inside), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        return took(QEvent::MouseMove);
    }
    case Input::Key:
        QTest::keyClick(target, Qt::Key_A);
        return took(QEvent::KeyPress);
    case Input::Shortcut: {
        QSignalSpy activated(scene.shortcut, &QShortcut::activated);
        QTest::keyClick(&scene.window, Qt::Key_K, Qt::ControlModifier);
        return int(activated.size());
    }
    case Input::Close:
        scene.window.close();
        break;
    case Input::CloseFromWindowSystem: {
        QCloseEvent close;
        QApplication::sendEvent(scene.window.windowHandle(), &close);
        break;
    }
    }
    return scene.window.received(QEvent::Close) - closes;
}

// Where a key is typed while a panel with "&Abort" is the allowed widget and the window
// behind it holds "&Add..." and "&Delete" of its own.
enum class KeyTarget { Window, FocusBehind, AllowedButton };

// Animated as a shortcut presses a button: its click comes this long after the key.
constexpr int AnimatedClickMs = 100;

} // namespace

Q_DECLARE_METATYPE(Input)
Q_DECLARE_METATYPE(KeyTarget)
Q_DECLARE_METATYPE(Qt::Key)

class TestInputBlocker : public QObject
{
    Q_OBJECT

private slots:
    void inputSwallowed_data()
    {
        QTest::addColumn<Input>("input");
        QTest::newRow("mouse click") << Input::Click;
        QTest::newRow("move with a button held") << Input::DragMove;
        QTest::newRow("key") << Input::Key;
        QTest::newRow("shortcut") << Input::Shortcut;
        QTest::newRow("close") << Input::Close;
        QTest::newRow("close from the window system") << Input::CloseFromWindowSystem;
    }

    void inputSwallowed()
    {
        QFETCH(Input, input);
        {
            Scene scene;
            QVERIFY(scene.active);
            QCOMPARE(deliver(input, scene), 1);  // the input itself works
        }
        Scene scene;
        QVERIFY(scene.active);
        {
            InputBlocker block;
            QVERIFY(InputBlocker::isBlocking());
            QCOMPARE(deliver(input, scene), 0);
            QVERIFY(scene.window.isVisible());
        }
        QVERIFY(!InputBlocker::isBlocking());
    }

    void everythingButInputPasses()
    {
        Scene scene;
        QVERIFY(scene.active);
        RecordingWidget &window = scene.window;
        window.setMouseTracking(true);
        InputBlocker block;
        const int paints = window.received(QEvent::Paint);
        window.update();
        QTRY_VERIFY(window.received(QEvent::Paint) > paints);
        // A move without a button only hovers.
        QMouseEvent hover(QEvent::MouseMove, QPointF(5, 5), QPointF(window.mapToGlobal(QPoint(5, 5))), Qt::NoButton,
                          Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &hover);
        QCOMPARE(window.received(QEvent::MouseMove), 1);
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(10);
        bool queuedCallRan = false;
        QMetaObject::invokeMethod(&window, [&] { queuedCallRan = true; }, Qt::QueuedConnection);
        QPointer<QObject> doomed = new QObject;
        doomed->deleteLater();
        QTRY_VERIFY(ticks >= 3);
        QTRY_VERIFY(queuedCallRan);
        QTRY_VERIFY(doomed.isNull());
    }

    void allowedWidgetReceivesInput()
    {
        Scene scene;
        auto *panel = new QWidget(&scene.window);
        panel->setGeometry(160, 50, 120, 100);
        auto *button = new QPushButton(QStringLiteral("&Go"), panel);
        auto *edit = new QLineEdit(panel);
        edit->move(0, 50);
        panel->show();
        QVERIFY(scene.active);
        QSignalSpy clicked(button, &QPushButton::clicked);
        InputBlocker block(panel);
        QCOMPARE(block.allowed(), panel);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicked.size(), 1);
        // Through the window, as the window system delivers it.
        QTest::mouseClick(scene.window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          button->mapTo(&scene.window, button->rect().center()));
        QCOMPARE(clicked.size(), 2);
        QTest::keyClicks(edit, QStringLiteral("abc"));
        QCOMPARE(edit->text(), QStringLiteral("abc"));
        QTest::keyClick(&scene.window, Qt::Key_G, Qt::AltModifier);  // the button's mnemonic
        QTRY_COMPARE(clicked.size(), 3);
        QCOMPARE(deliver(Input::Click, scene), 0);
        QCOMPARE(deliver(Input::Key, scene), 0);
        QCOMPARE(deliver(Input::Shortcut, scene), 0);
    }

    void allowedButtonAnswersItsKey_data()
    {
        QTest::addColumn<KeyTarget>("target");
        QTest::addColumn<Qt::Key>("key");  // typed with Alt
        QTest::addColumn<bool>("panelShown");
        QTest::addColumn<int>("abortClicks");

        QTest::newRow("Alt+A to the window") << KeyTarget::Window << Qt::Key_A << true << 1;
        QTest::newRow("Alt+A to the widget in focus behind") << KeyTarget::FocusBehind << Qt::Key_A << true << 1;
        QTest::newRow("Alt+A to the panel's button in focus") << KeyTarget::AllowedButton << Qt::Key_A << true << 1;
        QTest::newRow("Alt+D, held only behind") << KeyTarget::FocusBehind << Qt::Key_D << true << 0;
        QTest::newRow("Alt+A, the panel hidden") << KeyTarget::Window << Qt::Key_A << false << 0;
    }

    // The allowed panel's "&Abort" takes Alt+A although the window behind it holds "&Add..."
    // under the same key; nothing behind the panel is ever pressed.
    void allowedButtonAnswersItsKey()
    {
        QFETCH(KeyTarget, target);
        QFETCH(Qt::Key, key);
        QFETCH(bool, panelShown);
        QFETCH(int, abortClicks);

        Scene scene;
        auto *add = new QPushButton(QStringLiteral("&Add..."), &scene.window);
        auto *remove = new QPushButton(QStringLiteral("&Delete"), &scene.window);
        remove->move(0, 150);
        auto *panel = new QWidget(&scene.window);
        panel->setGeometry(160, 50, 120, 100);
        auto *abort = new QPushButton(QStringLiteral("&Abort"), panel);
        add->show();
        remove->show();
        panel->setVisible(panelShown);
        QVERIFY(scene.active);
        QSignalSpy addClicked(add, &QPushButton::clicked);
        QSignalSpy removeClicked(remove, &QPushButton::clicked);
        QSignalSpy abortClicked(abort, &QPushButton::clicked);

        InputBlocker block(panel);
        QWidget *typedAt = &scene.window;
        if (target != KeyTarget::Window) {
            typedAt = target == KeyTarget::FocusBehind ? static_cast<QWidget *>(scene.target) : abort;
            typedAt->setFocus();
            QCOMPARE(QApplication::focusWidget(), typedAt);
        }
        QTest::keyClick(typedAt, key, Qt::AltModifier);
        // A pressed button clicks once its press has been shown; one that must stay unpressed
        // is given the time of three such presses.
        if (abortClicks > 0)
            QTRY_COMPARE(abortClicked.size(), abortClicks);
        else
            QTest::qWait(3 * AnimatedClickMs);

        QCOMPARE(abortClicked.size(), abortClicks);
        QCOMPARE(addClicked.size(), 0);
        QCOMPARE(removeClicked.size(), 0);
    }

    void nestedBlockersLetOnlyTheInnermostAllowedWidget()
    {
        Scene scene;
        auto *outerButton = new QPushButton(QStringLiteral("outer"), &scene.window);
        auto *innerButton = new QPushButton(QStringLiteral("inner"), &scene.window);
        innerButton->move(150, 10);
        outerButton->show();
        innerButton->show();
        QVERIFY(scene.active);
        QSignalSpy outerClicked(outerButton, &QPushButton::clicked);
        QSignalSpy innerClicked(innerButton, &QPushButton::clicked);
        // Clicks both buttons; "10" means only the outer one took its click.
        auto clickBoth = [&] {
            outerClicked.clear();
            innerClicked.clear();
            QTest::mouseClick(outerButton, Qt::LeftButton);
            QTest::mouseClick(innerButton, Qt::LeftButton);
            return QStringLiteral("%1%2").arg(outerClicked.size()).arg(innerClicked.size());
        };
        auto outer = std::make_unique<InputBlocker>(outerButton);
        QCOMPARE(clickBoth(), QStringLiteral("10"));
        auto inner = std::make_unique<InputBlocker>(innerButton);
        QCOMPARE(clickBoth(), QStringLiteral("01"));
        inner.reset();
        QVERIFY(InputBlocker::isBlocking());
        QCOMPARE(clickBoth(), QStringLiteral("10"));
        outer.reset();
        QVERIFY(!InputBlocker::isBlocking());
        QCOMPARE(clickBoth(), QStringLiteral("11"));
    }

    // Refused closes are asked again once the outermost block ends, outside the wait, and
    // only of windows that still exist.
    void closeIsAskedAgainAfterOutermostBlock()
    {
        Scene scene;
        auto destroyed = std::make_unique<Scene>();
        QVERIFY(scene.active && destroyed->active);
        auto outer = std::make_unique<InputBlocker>();
        {
            InputBlocker inner;
            QCOMPARE(deliver(Input::CloseFromWindowSystem, scene), 0);
            QCOMPARE(deliver(Input::Close, scene), 0);
            QCOMPARE(deliver(Input::Close, *destroyed), 0);
            destroyed.reset();
        }
        QCoreApplication::processEvents();
        QCOMPARE(scene.window.received(QEvent::Close), 0);
        outer.reset();
        QCOMPARE(scene.window.received(QEvent::Close), 0);  // not from within the wait that ended
        QTRY_VERIFY(!scene.window.isVisible());
        QCOMPARE(scene.window.received(QEvent::Close), 1);  // two refused requests, one close
    }

    // The code that waited goes on after its wait: a box it opens, a further wait of it. A
    // close asked during the wait comes only once that code has returned to the event loop
    // the wait was entered from, never inside the box's loop nor the further wait.
    void closeIsAskedAgainOnceTheWaiterReturned_data()
    {
        QTest::addColumn<bool>("boxAfterTheWait");
        QTest::newRow("a box after the wait") << true;
        QTest::newRow("a further wait") << false;
    }

    void closeIsAskedAgainOnceTheWaiterReturned()
    {
        QFETCH(bool, boxAfterTheWait);
        Scene scene;
        QVERIFY(scene.active);
        QPointer<QDialog> box;
        int closesMeanwhile = -1;
        // The event loop the waiting code was entered from, as a click's handler is.
        QTimer::singleShot(0, &scene.window, [&] {
            {
                InputBlocker wait;
                QCOMPARE(deliver(Input::Close, scene), 0);
            }
            if (boxAfterTheWait) {
                QDialog dialog(&scene.window);
                box = &dialog;
                QTimer::singleShot(300, &dialog, &QDialog::accept);
                dialog.exec();
            } else {
                InputBlocker further;
                QTest::qWait(300);
            }
            closesMeanwhile = scene.window.received(QEvent::Close);
            QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        });
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(closesMeanwhile, 0);
        QTRY_VERIFY(!scene.window.isVisible());
        QCOMPARE(scene.window.received(QEvent::Close), 1);
    }

    // A modal window open before the wait began is blocked; one opened during the wait takes input.
    void modalWindows()
    {
        Scene scene;
        QVERIFY(scene.active);
        QDialog before(&scene.window);
        auto *beforeOk = new QPushButton(QStringLiteral("OK"), &before);
        before.setModal(true);
        before.show();
        QTRY_COMPARE(QApplication::activeModalWidget(), &before);
        QSignalSpy beforeClicked(beforeOk, &QPushButton::clicked);
        InputBlocker block;
        QTest::mouseClick(beforeOk, Qt::LeftButton);
        QCOMPARE(beforeClicked.size(), 0);
        before.hide();
        QDialog during(&scene.window);
        auto *ok = new QPushButton(QStringLiteral("OK"), &during);
        QObject::connect(ok, &QPushButton::clicked, &during, &QDialog::accept);
        QTimer::singleShot(0, &during, [&] {
            QTest::mouseClick(scene.target, Qt::LeftButton);  // still blocked
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        QTimer::singleShot(2000, &during, &QDialog::reject);  // if the click were lost
        QCOMPARE(during.exec(), int(QDialog::Accepted));
        QCOMPARE(scene.target->received(QEvent::MouseButtonPress), 0);
    }
};

QTEST_MAIN(TestInputBlocker)
#include "tst_inputblocker.moc"
