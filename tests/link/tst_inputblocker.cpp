#include "inputblocker.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDialog>
#include <QHash>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Counts what actually reaches it, after every event filter.
class RecordingWidget : public QWidget
{
public:
    explicit RecordingWidget(QWidget *parent = nullptr)
        : QWidget(parent)
    {
        setAcceptDrops(true);
        setFocusPolicy(Qt::StrongFocus);
    }

    int received(QEvent::Type type) const { return m_received.value(type); }
    QHash<int, int> receivedSoFar() const { return m_received; }
    int paints = 0;
    int closes = 0;

protected:
    bool event(QEvent *event) override
    {
        ++m_received[event->type()];
        return QWidget::event(event);
    }
    void paintEvent(QPaintEvent *) override { ++paints; }
    void closeEvent(QCloseEvent *event) override
    {
        ++closes;
        event->accept();
    }
    void dragEnterEvent(QDragEnterEvent *event) override { event->acceptProposedAction(); }

private:
    QHash<int, int> m_received;
};

enum class Input {
    Click,
    ClickThroughWindow,
    DragMove,
    Wheel,
    Key,
    Shortcut,
    ContextMenu,
    DragEnter,
    Close,
    CloseFromWindowSystem,
};

// A top-level window holding the widget that input is aimed at.
struct Scene
{
    Scene()
    {
        window.resize(300, 200);
        target = new RecordingWidget(&window);
        target->setGeometry(50, 50, 100, 80);
        shortcut = new QShortcut(QKeySequence(QStringLiteral("Ctrl+K")), &window);
    }

    RecordingWidget window;
    RecordingWidget *target;
    QShortcut *shortcut;
};

// Sends one kind of input and returns how much of it took effect.
int deliver(Input input, Scene &scene)
{
    RecordingWidget *target = scene.target;
    const QPoint inside(10, 10);
    const QPoint global = target->mapToGlobal(inside);
    const QHash<int, int> received = target->receivedSoFar();
    auto took = [&](QEvent::Type type) { return target->received(type) - received.value(type); };
    const int closes = scene.window.closes;
    switch (input) {
    case Input::Click:
        QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, inside);
        return took(QEvent::MouseButtonRelease);
    case Input::ClickThroughWindow:
        QTest::mouseClick(scene.window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          target->mapTo(&scene.window, inside));
        return took(QEvent::MouseButtonPress);
    case Input::DragMove: {
        QMouseEvent move(QEvent::MouseMove, inside, global, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        return took(QEvent::MouseMove);
    }
    case Input::Wheel: {
        QWheelEvent wheel(inside, global, QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &wheel);
        return took(QEvent::Wheel);
    }
    case Input::Key:
        QTest::keyClick(target, Qt::Key_A);
        return took(QEvent::KeyPress);
    case Input::Shortcut: {
        QSignalSpy activated(scene.shortcut, &QShortcut::activated);
        QTest::keyClick(&scene.window, Qt::Key_K, Qt::ControlModifier);
        return int(activated.size());
    }
    case Input::ContextMenu: {
        QContextMenuEvent menu(QContextMenuEvent::Mouse, inside, global);
        QApplication::sendEvent(target, &menu);
        return took(QEvent::ContextMenu);
    }
    case Input::DragEnter: {
        QMimeData data;
        QDragEnterEvent enter(inside, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(target, &enter);
        return enter.isAccepted() ? 1 : 0;
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
    return scene.window.closes - closes;
}

void showAndActivate(QWidget &window)
{
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

} // namespace

Q_DECLARE_METATYPE(Input)

class TestInputBlocker : public QObject
{
    Q_OBJECT

private slots:
    void inputSwallowed_data();
    void inputSwallowed();
    void everythingButInputPasses();
    void allowedWidgetReceivesInput();
    void nestedBlockersLetOnlyTheInnermostAllowedWidget();
    void closeIsAskedAgainAfterOutermostBlock();
    void closeOfDestroyedWindowIsDropped();
    void modalWindowOpenedDuringBlockReceivesInput();
    void modalWindowOpenBeforeBlockIsBlocked();
};

void TestInputBlocker::inputSwallowed_data()
{
    QTest::addColumn<Input>("input");

    QTest::newRow("mouse click") << Input::Click;
    QTest::newRow("mouse click through the window") << Input::ClickThroughWindow;
    QTest::newRow("move with a button held") << Input::DragMove;
    QTest::newRow("wheel") << Input::Wheel;
    QTest::newRow("key") << Input::Key;
    QTest::newRow("shortcut") << Input::Shortcut;
    QTest::newRow("context menu") << Input::ContextMenu;
    QTest::newRow("drag enter") << Input::DragEnter;
    QTest::newRow("close") << Input::Close;
    QTest::newRow("close from the window system") << Input::CloseFromWindowSystem;
}

void TestInputBlocker::inputSwallowed()
{
    QFETCH(Input, input);

    {
        Scene scene;
        showAndActivate(scene.window);
        QCOMPARE(deliver(input, scene), 1); // the input itself works
    }

    Scene scene;
    showAndActivate(scene.window);
    {
        InputBlocker block;
        QVERIFY(InputBlocker::isBlocking());
        QCOMPARE(deliver(input, scene), 0);
        QVERIFY(scene.window.isVisible());
    }
    QVERIFY(!InputBlocker::isBlocking());
}

void TestInputBlocker::everythingButInputPasses()
{
    int fds[2];
    QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    const std::unique_ptr<int, void (*)(int *)> closer(fds, [](int *f) {
        ::close(f[0]);
        ::close(f[1]);
    });
    QSocketNotifier notifier(fds[0], QSocketNotifier::Read);
    QSignalSpy activated(&notifier, &QSocketNotifier::activated);
    RecordingWidget window;
    window.setMouseTracking(true);
    window.resize(200, 100);
    showAndActivate(window);

    InputBlocker block;

    window.paints = 0;
    window.update();
    QTRY_VERIFY(window.paints > 0);

    QMouseEvent hover(QEvent::MouseMove, QPointF(5, 5), QPointF(window.mapToGlobal(QPoint(5, 5))),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &hover);
    QCOMPARE(window.received(QEvent::MouseMove), 1);

    const int entersBefore = window.received(QEvent::Enter);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(window.mapToGlobal(QPoint(5, 5))));
    QApplication::sendEvent(&window, &enter);
    QCOMPARE(window.received(QEvent::Enter), entersBefore + 1);

    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    bool queuedCallRan = false;
    QMetaObject::invokeMethod(&window, [&] { queuedCallRan = true; }, Qt::QueuedConnection);
    QPointer<QObject> doomed = new QObject;
    doomed->deleteLater();

    QCOMPARE(::write(fds[1], "x", 1), ssize_t(1));

    QTRY_VERIFY(ticks >= 3);
    QTRY_VERIFY(queuedCallRan);
    QTRY_VERIFY(doomed.isNull());
    QTRY_VERIFY(activated.size() > 0);
}

void TestInputBlocker::allowedWidgetReceivesInput()
{
    Scene scene;
    auto *panel = new QWidget(&scene.window);
    panel->setGeometry(160, 50, 120, 100);
    auto *button = new QPushButton(QStringLiteral("&Go"), panel);
    auto *edit = new QLineEdit(panel);
    auto *layout = new QVBoxLayout(panel);
    layout->addWidget(button);
    layout->addWidget(edit);
    showAndActivate(scene.window);
    QSignalSpy clicked(button, &QPushButton::clicked);
    // A mnemonic clicks through a short animation, on a timer.
    QTest::keyClick(&scene.window, Qt::Key_G, Qt::AltModifier);
    QTRY_COMPARE(clicked.size(), 1);
    clicked.clear();

    InputBlocker block(panel);
    QCOMPARE(block.allowed(), panel);

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicked.size(), 1);
    QTest::mouseClick(scene.window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      button->mapTo(&scene.window, button->rect().center()));
    QCOMPARE(clicked.size(), 2);
    QTest::keyClicks(edit, QStringLiteral("abc"));
    QCOMPARE(edit->text(), QStringLiteral("abc"));
    QTest::keyClick(&scene.window, Qt::Key_G, Qt::AltModifier); // the button's mnemonic
    QTRY_COMPARE(clicked.size(), 3);

    QCOMPARE(deliver(Input::Click, scene), 0);
    QCOMPARE(deliver(Input::Key, scene), 0);
    QCOMPARE(deliver(Input::Shortcut, scene), 0);
}

void TestInputBlocker::nestedBlockersLetOnlyTheInnermostAllowedWidget()
{
    QWidget window;
    window.resize(300, 100);
    auto *outerButton = new QPushButton(QStringLiteral("outer"), &window);
    outerButton->setGeometry(10, 10, 100, 30);
    auto *innerButton = new QPushButton(QStringLiteral("inner"), &window);
    innerButton->setGeometry(150, 10, 100, 30);
    showAndActivate(window);
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

void TestInputBlocker::closeIsAskedAgainAfterOutermostBlock()
{
    Scene scene;
    showAndActivate(scene.window);

    auto outer = std::make_unique<InputBlocker>();
    {
        InputBlocker inner;
        QCOMPARE(deliver(Input::CloseFromWindowSystem, scene), 0);
        QCOMPARE(deliver(Input::Close, scene), 0);
    }
    QCoreApplication::processEvents();
    QVERIFY(scene.window.isVisible());
    QCOMPARE(scene.window.closes, 0);

    outer.reset();
    QCOMPARE(scene.window.closes, 0); // not from within the wait that ended
    QTRY_VERIFY(!scene.window.isVisible());
    QCOMPARE(scene.window.closes, 1); // two refused requests, one close
}

void TestInputBlocker::closeOfDestroyedWindowIsDropped()
{
    auto scene = std::make_unique<Scene>();
    showAndActivate(scene->window);
    {
        InputBlocker block;
        QCOMPARE(deliver(Input::Close, *scene), 0);
        scene.reset();
    }
    QTest::qWait(20); // the queued request finds no window and does nothing
}

void TestInputBlocker::modalWindowOpenedDuringBlockReceivesInput()
{
    Scene scene;
    showAndActivate(scene.window);
    InputBlocker block;

    QDialog dialog(&scene.window);
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QTimer::singleShot(0, &dialog, [&] {
        QTest::mouseClick(scene.target, Qt::LeftButton); // still blocked
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    // A timer that fires after 2 s would reject the dialog if the click were lost.
    QTimer::singleShot(2000, &dialog, &QDialog::reject);

    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(scene.target->received(QEvent::MouseButtonPress), 0);
}

void TestInputBlocker::modalWindowOpenBeforeBlockIsBlocked()
{
    Scene scene;
    showAndActivate(scene.window);
    QDialog dialog(&scene.window);
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    dialog.setModal(true);
    dialog.show();
    QTRY_COMPARE(QApplication::activeModalWidget(), &dialog);
    QSignalSpy clicked(ok, &QPushButton::clicked);

    InputBlocker block;
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(clicked.size(), 0);
}

QTEST_MAIN(TestInputBlocker)
#include "tst_inputblocker.moc"
