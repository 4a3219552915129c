#include "wndprogress.h"

#include <QApplication>
#include <QBitmap>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QRegion>
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

void pollUntil(const QElapsedTimer &clock, qint64 ms)
{
    pollFor(clock, ms, [] { return false; });
}

QLabel *picture(WndProgress &progress)
{
    return progress.findChild<QLabel *>(QStringLiteral("txtPixmap"));
}

QPushButton *abortButton(WndProgress &progress)
{
    return progress.findChild<QPushButton *>(QStringLiteral("btnAbort"));
}

// The frame the panel shows: the one whose colours match wherever the shown picture
// is opaque; -1 for none.
int shownFrame(WndProgress &progress)
{
    const QPixmap shown = picture(progress)->pixmap();
    if (shown.isNull())
        return -1;
    const QImage image = shown.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int n = 0; n < 9; ++n) {
        const QImage candidate = QImage(QStringLiteral(":/anim_%1.png").arg(n, 2, 10, QLatin1Char('0')))
                                     .convertToFormat(QImage::Format_ARGB32);
        if (candidate.size() != image.size())
            continue;
        bool same = true;
        for (int y = 0; y < image.height() && same; ++y) {
            for (int x = 0; x < image.width() && same; ++x) {
                if (qAlpha(image.pixel(x, y)) != 0)
                    same = (image.pixel(x, y) | 0xff000000) == candidate.pixel(x, y);
            }
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
    void init();
    void cleanup();

    void appearsAfterAboutHalfASecondCentredAndAnimated();
    void goesAtOnce_data();
    void goesAtOnce();
    void clicksElsewhereSwallowedWhileAbortWorks();
    void staysUpForASecondWhileTimersAndQueuedCallsRun();
    void defaultParentStandsInForNone();
    void topLevelCentredOnScreenRefusesClose();
    void nestedWaitAbortsInnermostFirst();

private:
    std::unique_ptr<QWidget> m_parent;
};

void TestWndProgress::init()
{
    WndProgress::setDefaultParent(nullptr);
    m_parent = std::make_unique<QWidget>();
    m_parent->resize(640, 420);
    m_parent->show();
    m_parent->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_parent.get()));
}

void TestWndProgress::cleanup()
{
    m_parent.reset();
    WndProgress::setDefaultParent(nullptr);
}

void TestWndProgress::appearsAfterAboutHalfASecondCentredAndAnimated()
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
    };

    pollFor(clock, 300, [&] { noteFrame(); return false; });
    QVERIFY(!progress.isVisible());
    QVERIFY(pollFor(clock, 700, [&] { noteFrame(); return progress.isVisible(); }));
    QVERIFY2(clock.elapsed() >= 400, qPrintable(QString::number(clock.elapsed())));

    const QPoint expected(m_parent->width() / 2 - progress.width() / 2,
                          m_parent->height() / 2 - progress.height() / 2);
    QCOMPARE(progress.pos(), expected);
    QCOMPARE(progress.size(), QSize(250, 102));

    // The panel leaves the picture fewer rows than a frame has; what is cut off must
    // be masked surround only.
    QLabel *label = picture(progress);
    const QPixmap shown = label->pixmap();
    QVERIFY(!shown.mask().isNull());
    const QRect drawnAt = QStyle::alignedRect(Qt::LeftToRight, label->alignment(), shown.size(),
                                              label->contentsRect());
    const QRect opaque = QRegion(shown.mask()).boundingRect().translated(drawnAt.topLeft());
    QVERIFY2(label->contentsRect().contains(opaque),
             qPrintable(QStringLiteral("%1,%2 %3x%4").arg(opaque.x()).arg(opaque.y())
                            .arg(opaque.width()).arg(opaque.height())));

    // Shown once, never moved again.
    m_parent->resize(800, 600);
    pollFor(clock, clock.elapsed() + 400, [&] { noteFrame(); return false; });
    QCOMPARE(progress.pos(), expected);

    // One frame every 150 ms from the first tick on, starting with anim_01.
    QVERIFY2(frames.size() >= 5, qPrintable(QString::number(frames.size())));
    for (int i = 0; i < frames.size(); ++i)
        QCOMPARE(frames.at(i), (i + 1) % 9);
    // The white surround is masked away; the envelope in the middle is kept.
    const QImage image = shown.toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(100, 94)), 0);
    QCOMPARE(qAlpha(image.pixel(50, 47)), 255);
}

void TestWndProgress::goesAtOnce_data()
{
    QTest::addColumn<int>("lifetimeMs");
    QTest::addColumn<bool>("abort");

    QTest::newRow("never shown") << 100 << false;
    QTest::newRow("aborted once shown") << 600 << true;
}

void TestWndProgress::goesAtOnce()
{
    QFETCH(int, lifetimeMs);
    QFETCH(bool, abort);

    QElapsedTimer clock;
    clock.start();
    auto *progress = new WndProgress(m_parent.get(), Transferring);
    pollUntil(clock, lifetimeMs);
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

void TestWndProgress::clicksElsewhereSwallowedWhileAbortWorks()
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
    QTest::mouseClick(m_parent->windowHandle(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
    QTest::keyClick(other, Qt::Key_Space);
    QCOMPARE(otherClicked.size(), 0);
    QVERIFY(!progress->aborted());

    QPushButton *abort = abortButton(*progress);
    QTest::mouseClick(m_parent->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      abort->mapTo(m_parent.get(), abort->rect().center()));
    QVERIFY(progress->aborted());
    QVERIFY(!progress->isVisible());

    progress.reset();
    QTest::mouseClick(other, Qt::LeftButton);
    QCOMPARE(otherClicked.size(), 1);
}

void TestWndProgress::staysUpForASecondWhileTimersAndQueuedCallsRun()
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
    QMetaObject::invokeMethod(m_parent.get(), [&] { queuedCallRan = true; },
                              Qt::QueuedConnection);

    pollUntil(clock, 600);
    QVERIFY(progress->isVisible());
    QVERIFY(queuedCallRan);
    QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));

    const int ticksBeforeLinger = ticks;
    delete progress; // lingers for about 400 ms more, so that it can be read
    QVERIFY2(clock.elapsed() >= 900, qPrintable(QString::number(clock.elapsed())));
    QVERIFY2(ticks >= ticksBeforeLinger + 5, qPrintable(QString::number(ticks)));
}

void TestWndProgress::defaultParentStandsInForNone()
{
    WndProgress::setDefaultParent(m_parent.get());
    QCOMPARE(WndProgress::defaultParent(), m_parent.get());
    {
        WndProgress progress(nullptr, Transferring);
        QCOMPARE(progress.parentWidget(), m_parent.get());
    }
    auto other = std::make_unique<QWidget>();
    {
        WndProgress progress(other.get(), Transferring);
        QCOMPARE(progress.parentWidget(), other.get());
    }

    m_parent.reset();
    QCOMPARE(WndProgress::defaultParent(), nullptr);
}

void TestWndProgress::topLevelCentredOnScreenRefusesClose()
{
    QElapsedTimer clock;
    clock.start();
    WndProgress progress(nullptr, QStringLiteral("Connecting ..."));
    QVERIFY(progress.isWindow());

    QVERIFY(pollFor(clock, 2000, [&] { return progress.isVisible(); }));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(progress.pos(), QPoint(screen.x() + screen.width() / 2 - progress.width() / 2,
                                    screen.y() + screen.height() / 2 - progress.height() / 2));

    // Only "&Abort" ends the wait.
    QVERIFY(!progress.close());
    QVERIFY(progress.isVisible());
    QVERIFY(!progress.aborted());
}

void TestWndProgress::nestedWaitAbortsInnermostFirst()
{
    QElapsedTimer clock;
    clock.start();
    auto outer = std::make_unique<WndProgress>(m_parent.get(), Transferring);
    QVERIFY(pollFor(clock, 2000, [&] { return outer->isVisible(); }));

    auto inner = std::make_unique<WndProgress>(nullptr, QStringLiteral("Connecting ..."));
    QVERIFY(pollFor(clock, 4000, [&] { return inner->isVisible(); }));

    QTest::mouseClick(abortButton(*outer), Qt::LeftButton);
    QVERIFY(!outer->aborted());
    QTest::mouseClick(abortButton(*inner), Qt::LeftButton);
    QVERIFY(inner->aborted());

    inner.reset();
    QTest::mouseClick(abortButton(*outer), Qt::LeftButton);
    QVERIFY(outer->aborted());
}

QTEST_MAIN(TestWndProgress)
#include "tst_wndprogress.moc"
