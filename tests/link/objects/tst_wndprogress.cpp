#include "activewindow.h"
#include "indicatorabort.h"
#include "inputblocker.h"
#include "progresswait.h"
#include "wndprogress.h"

#include <QApplication>
#include <QBitmap>
#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <memory>

namespace {

const QString Transferring = QStringLiteral("Transfering data ...");

// The way the waits poll: sleep 15 ms, then handle events for up to 10 ms.
template<typename Predicate>
bool pollFor(const QElapsedTimer &clock, qint64 deadlineMs, Predicate done)
{
    while (!done()) {
        if (clock.elapsed() >= deadlineMs)
            return false;
        QThread::msleep(15);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

QPixmap shownPicture(WndProgress &progress)
{
    return progress.findChild<QLabel *>(QStringLiteral("txtPixmap"))->pixmap();
}

QPushButton *abortButton(WndProgress &progress)
{
    return progress.findChild<QPushButton *>(QStringLiteral("btnAbort"));
}

// The animation frame shown: the one whose colours match wherever the shown picture is
// opaque; -1 for none.
int shownFrame(WndProgress &progress)
{
    const QPixmap shown = shownPicture(progress);
    const QImage image = shown.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int n = 0; n < 9 && !shown.isNull(); ++n) {
        const QImage frame = QImage(QStringLiteral(":/anim_%1.png").arg(n, 2, 10, QLatin1Char('0')))
                                 .convertToFormat(QImage::Format_ARGB32);
        bool same = frame.size() == image.size();
        for (int y = 0; y < image.height() && same; ++y) {
            for (int x = 0; x < image.width() && same; ++x)
                same = qAlpha(image.pixel(x, y)) == 0 || (image.pixel(x, y) | 0xff000000) == frame.pixel(x, y);
        }
        if (same)
            return n;
    }
    return -1;
}

} // namespace

class TestWndProgress : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        WndProgress::setDefaultParent(nullptr);
        m_parent = std::make_unique<QWidget>();
        m_parent->resize(640, 420);
        m_parent->show();
        m_parent->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_parent.get()));
    }

    void cleanup() { m_parent.reset(); }

    void appearsAfterAboutHalfASecondCentredAndAnimated()
    {
        QElapsedTimer clock;
        clock.start();
        // Shown as given: plain or rich text.
        const QString text = QStringLiteral("<b>Busy</b> &amp; waiting");
        WndProgress progress(m_parent.get(), text);
        QCOMPARE(progress.findChild<QLabel *>(QStringLiteral("txtLabel"))->text(), text);
        QCOMPARE(abortButton(progress)->text(), QStringLiteral("&Abort"));
        QVERIFY(!progress.aborted());
        QList<int> frames;
        auto noteFrame = [&] {
            const int n = shownFrame(progress);
            if (n >= 0 && (frames.isEmpty() || frames.constLast() != n))
                frames.append(n);
            return false;
        };

        pollFor(clock, 300, noteFrame);
        QVERIFY(!progress.isVisible());
        QVERIFY(pollFor(clock, 700, [&] { noteFrame(); return progress.isVisible(); }));
        QVERIFY2(clock.elapsed() >= 400, qPrintable(QString::number(clock.elapsed())));
        const QPoint centred(m_parent->width() / 2 - progress.width() / 2, m_parent->height() / 2 - progress.height() / 2);
        QCOMPARE(progress.pos(), centred);
        QCOMPARE(progress.size(), QSize(250, 102));

        // Shown once, never moved again.
        m_parent->resize(800, 600);
        pollFor(clock, clock.elapsed() + 400, noteFrame);
        QCOMPARE(progress.pos(), centred);

        // One frame every 150 ms from the first tick on, starting with anim_01.
        QVERIFY2(frames.size() >= 5, qPrintable(QString::number(frames.size())));
        for (int i = 0; i < frames.size(); ++i)
            QCOMPARE(frames.at(i), (i + 1) % 9);
        // The white surround is masked away; the envelope in the middle is kept.
        const QImage image = shownPicture(progress).toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(50, 47)), 255);
    }

    void goesAtOnce_data()
    {
        QTest::addColumn<int>("lifetimeMs");
        QTest::addColumn<bool>("abort");
        QTest::newRow("never shown") << 100 << false;
        QTest::newRow("aborted once shown") << 600 << true;
    }

    void goesAtOnce()
    {
        QFETCH(int, lifetimeMs);
        QFETCH(bool, abort);
        QElapsedTimer clock;
        clock.start();
        auto *progress = new WndProgress(m_parent.get(), Transferring);
        pollFor(clock, lifetimeMs, [] { return false; });
        if (abort) {
            QVERIFY(progress->isVisible());
            QTest::mouseClick(abortButton(*progress), Qt::LeftButton);
            QVERIFY(progress->aborted());
            QVERIFY(!progress->isVisible());
        }
        QElapsedTimer destruction;
        destruction.start();
        delete progress;
        // A lingering panel would take until about a second after it was made.
        QVERIFY2(destruction.elapsed() < 250, qPrintable(QString::number(destruction.elapsed())));
    }

    void clicksElsewhereSwallowedWhileAbortWorks()
    {
        auto *other = new QPushButton(QStringLiteral("Other"), m_parent.get());
        other->setGeometry(5, 5, 80, 30);
        other->show();
        QSignalSpy otherClicked(other, &QPushButton::clicked);
        QElapsedTimer clock;
        clock.start();
        auto progress = std::make_unique<WndProgress>(m_parent.get(), Transferring);
        QVERIFY(pollFor(clock, 2000, [&] { return progress->isVisible(); }));
        QTest::mouseClick(other, Qt::LeftButton);
        QTest::keyClick(other, Qt::Key_Space);
        QCOMPARE(otherClicked.size(), 0);
        QVERIFY(!progress->aborted());
        // Through the parent's window, as the window system delivers it.
        QPushButton *abort = abortButton(*progress);
        QTest::mouseClick(m_parent->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          abort->mapTo(m_parent.get(), abort->rect().center()));
        QVERIFY(progress->aborted());
        QVERIFY(!progress->isVisible());
        progress.reset();
        QTest::mouseClick(other, Qt::LeftButton);
        QCOMPARE(otherClicked.size(), 1);
    }

    void staysUpForASecondWhileTimersAndQueuedCallsRun()
    {
        int ticks = 0;
        QTimer elsewhere;
        elsewhere.setTimerType(Qt::PreciseTimer);
        QObject::connect(&elsewhere, &QTimer::timeout, [&] { ++ticks; });
        elsewhere.start(20);
        QElapsedTimer clock;
        clock.start();
        auto *progress = new WndProgress(m_parent.get(), Transferring);
        bool queuedCallRan = false;
        QMetaObject::invokeMethod(m_parent.get(), [&] { queuedCallRan = true; }, Qt::QueuedConnection);
        pollFor(clock, 600, [] { return false; });
        QVERIFY(progress->isVisible());
        QVERIFY(queuedCallRan);
        QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
        const int ticksBeforeLinger = ticks;
        delete progress;  // lingers for about 400 ms more, so that it can be read
        QVERIFY2(clock.elapsed() >= 900, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(ticks >= ticksBeforeLinger + 5, qPrintable(QString::number(ticks)));
    }

    // The default parent stands in for none and goes with its window; without either the
    // indicator is a window of its own, centred on the screen, that only "&Abort" ends.
    void withoutParent()
    {
        WndProgress::setDefaultParent(m_parent.get());
        QCOMPARE(WndProgress(nullptr, Transferring).parentWidget(), m_parent.get());
        m_parent.reset();
        QCOMPARE(WndProgress::defaultParent(), nullptr);

        QElapsedTimer clock;
        clock.start();
        WndProgress progress(nullptr, QStringLiteral("Connecting ..."));
        QVERIFY(progress.isWindow());
        QVERIFY(pollFor(clock, 2000, [&] { return progress.isVisible(); }));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(progress.pos(), QPoint(screen.x() + screen.width() / 2 - progress.width() / 2,
                                        screen.y() + screen.height() / 2 - progress.height() / 2));
        QVERIFY(!progress.close());
        QVERIFY(progress.isVisible() && !progress.aborted());
    }

    // A wait's indicator made late looks as the one made up front: shown at about 450 ms,
    // centred, the animation already at anim_03 and going on, up until about a second.
    void waitMakesThePanelWhenItIsDue()
    {
        QElapsedTimer clock;
        clock.start();
        auto wait = std::make_unique<ProgressWait>(m_parent.get(), Transferring);
        auto panels = [] {
            int count = 0;
            for (QWidget *widget : QApplication::allWidgets())
                count += qobject_cast<WndProgress *>(widget) != nullptr;
            return count;
        };
        pollFor(clock, 350, [&] { return panels() > 0; });
        QCOMPARE(panels(), 0);
        QVERIFY(pollFor(clock, 1000, [&] { return wait->panel() && wait->panel()->isVisible(); }));
        QVERIFY2(clock.elapsed() >= 440, qPrintable(QString::number(clock.elapsed())));
        WndProgress &panel = *wait->panel();
        QCOMPARE(panel.parentWidget(), m_parent.get());
        QCOMPARE(panel.pos(), QPoint(m_parent->width() / 2 - panel.width() / 2,
                                     m_parent->height() / 2 - panel.height() / 2));
        QCOMPARE(panel.findChild<QLabel *>(QStringLiteral("txtLabel"))->text(), Transferring);
        QList<int> frames{shownFrame(panel)};
        pollFor(clock, 3000, [&] {
            if (shownFrame(panel) != frames.constLast())
                frames.append(shownFrame(panel));
            return frames.size() >= 3;
        });
        QCOMPARE(frames, QList<int>({3, 4, 5}));
        wait.reset();
        QVERIFY2(clock.elapsed() >= 950, qPrintable(QString::number(clock.elapsed())));
    }

    // The panel of an outer wait that shows while an inner wait runs takes no input until
    // the inner wait ends, as when it was made first.
    void outerPanelBlockedUntilTheInnerWaitEnds()
    {
        QElapsedTimer clock;
        clock.start();
        ProgressWait outer(m_parent.get(), Transferring);
        auto inner = std::make_unique<InputBlocker>();
        QVERIFY(pollFor(clock, 1000, [&] { return outer.panel() && outer.panel()->isVisible(); }));
        QTest::mouseClick(abortButton(*outer.panel()), Qt::LeftButton);
        QVERIFY(!outer.aborted());
        inner.reset();
        QTest::mouseClick(abortButton(*outer.panel()), Qt::LeftButton);
        QVERIFY(outer.aborted());
    }

    void panelPlacedByTheDialogsUpAsTheWaitBegan_data()
    {
        QTest::addColumn<bool>("boxOpened"); // else the dialog in front goes
        QTest::newRow("a box opened over the dialog in front") << true;
        QTest::newRow("the dialog in front gone") << false;
    }

    // Two modal dialogs are up as a wait over the main window begins, and something changes
    // before its panel shows. A box opened meanwhile takes its own input and leaves the panel
    // on the dialog it covers, which it would otherwise take away as it closes; a dialog gone
    // meanwhile leaves the panel to the one it covered. Either way "&Abort" is clicked there.
    void panelPlacedByTheDialogsUpAsTheWaitBegan()
    {
        QFETCH(bool, boxOpened);
        QDialog under(m_parent.get());
        under.resize(360, 260);
        under.setModal(true);
        QVERIFY(showActive(&under));
        QDialog front(&under);
        front.resize(360, 260);
        front.setModal(true);
        QVERIFY(showActive(&front));
        QDialog box(&front);
        box.setModal(true);

        QElapsedTimer clock;
        clock.start();
        ProgressWait wait(m_parent.get(), Transferring);
        QTimer::singleShot(100, this, [&] { boxOpened ? box.show() : front.hide(); });
        QVERIFY(pollFor(clock, 1000, [&] { return wait.panel() && wait.panel()->isVisible(); }));
        QCOMPARE(wait.panel()->parentWidget(), boxOpened ? &front : &under);
        box.hide();
        clickWhereSeen(abortButton(*wait.panel()));
        QVERIFY(wait.aborted());
    }

private:
    std::unique_ptr<QWidget> m_parent;
};

QTEST_MAIN(TestWndProgress)
#include "tst_wndprogress.moc"
