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
void pollUntil(const QElapsedTimer &clock, qint64 ms)
{
    while (clock.elapsed() < ms) {
        QThread::msleep(15);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

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

QLabel *picture(WndProgress &progress)
{
    return progress.findChild<QLabel *>(QStringLiteral("txtPixmap"));
}

QPushButton *abortButton(WndProgress &progress)
{
    return progress.findChild<QPushButton *>(QStringLiteral("btnAbort"));
}

QImage frame(int n)
{
    return QImage(QStringLiteral(":/anim_%1.png").arg(n, 2, 10, QLatin1Char('0')))
        .convertToFormat(QImage::Format_ARGB32);
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
        const QImage candidate = frame(n);
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

    void framesAreCompiledIn();
    void layoutNamesAndTexts_data();
    void layoutNamesAndTexts();
    void appearsAfterAboutHalfASecondCentredOnParent();
    void staysUpForASecondOnceShown();
    void goesAtOnce_data();
    void goesAtOnce();
    void clicksElsewhereSwallowedWhileAbortWorks();
    void timersAndQueuedCallsRunDuringWaitAndLinger();
    void animationAdvancesThroughFrames();
    void defaultParentStandsInForNone();
    void topLevelCentredOnPrimaryScreen();
    void closeRequestRefused();
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

void TestWndProgress::framesAreCompiledIn()
{
    // Linking the module's library registers its pictures; nobody calls Q_INIT_RESOURCE.
    QImage previous;
    for (int n = 0; n < 9; ++n) {
        const QImage image = frame(n);
        QVERIFY2(!image.isNull(), qPrintable(QStringLiteral("anim_%1").arg(n)));
        QCOMPARE(image.size(), QSize(101, 95));
        QVERIFY(image != previous);
        previous = image;
    }
}

void TestWndProgress::layoutNamesAndTexts_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("transfer") << Transferring;
    QTest::newRow("connect") << QStringLiteral("Connecting ...");
    QTest::newRow("rich text") << QStringLiteral("<b>Busy</b> &amp; waiting");
}

void TestWndProgress::layoutNamesAndTexts()
{
    QFETCH(QString, text);

    WndProgress progress(m_parent.get(), text);

    QCOMPARE(progress.parentWidget(), m_parent.get());
    QVERIFY(!progress.isVisible());
    QVERIFY(!progress.aborted());
    QCOMPARE(progress.frameShape(), QFrame::StyledPanel);
    QCOMPARE(progress.frameShadow(), QFrame::Raised);
    QCOMPARE(progress.size(), QSize(250, 102));

    auto *label = progress.findChild<QLabel *>(QStringLiteral("txtLabel"));
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    QCOMPARE(label->textFormat(), Qt::AutoText);
    QCOMPARE(label->alignment(), Qt::AlignCenter);

    QVERIFY(abortButton(progress));
    QCOMPARE(abortButton(progress)->text(), QStringLiteral("&Abort"));
    QVERIFY(picture(progress));
    QVERIFY(!picture(progress)->hasScaledContents());

    // The button sits below the text, the picture to the right of both.
    progress.show();
    QVERIFY(abortButton(progress)->geometry().top() > label->geometry().top());
    QVERIFY(picture(progress)->geometry().left() >= label->geometry().right());
    QVERIFY(picture(progress)->geometry().left() >= abortButton(progress)->geometry().right());
}

void TestWndProgress::appearsAfterAboutHalfASecondCentredOnParent()
{
    QElapsedTimer clock;
    clock.start();
    WndProgress progress(m_parent.get(), Transferring);

    pollUntil(clock, 300);
    QVERIFY(!progress.isVisible());

    QVERIFY(pollFor(clock, 700, [&] { return progress.isVisible(); }));
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
    pollUntil(clock, clock.elapsed() + 200);
    QCOMPARE(progress.pos(), expected);
}

void TestWndProgress::staysUpForASecondOnceShown()
{
    QElapsedTimer clock;
    clock.start();
    auto *progress = new WndProgress(m_parent.get(), Transferring);
    pollUntil(clock, 600);
    QVERIFY(progress->isVisible());

    delete progress;
    QVERIFY2(clock.elapsed() >= 900, qPrintable(QString::number(clock.elapsed())));
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

void TestWndProgress::timersAndQueuedCallsRunDuringWaitAndLinger()
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
    QVERIFY(queuedCallRan);
    QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));

    const int ticksBeforeLinger = ticks;
    delete progress; // lingers for about 400 ms more
    QVERIFY2(ticks >= ticksBeforeLinger + 5, qPrintable(QString::number(ticks)));
}

void TestWndProgress::animationAdvancesThroughFrames()
{
    QElapsedTimer clock;
    clock.start();
    WndProgress progress(m_parent.get(), Transferring);
    QList<int> sequence;
    pollFor(clock, 1000, [&] {
        const int n = shownFrame(progress);
        if (n >= 0 && (sequence.isEmpty() || sequence.constLast() != n))
            sequence.append(n);
        return false;
    });

    // One frame every 150 ms from the first tick on, starting with anim_01.
    QVERIFY2(sequence.size() >= 5, qPrintable(QString::number(sequence.size())));
    for (int i = 0; i < sequence.size(); ++i)
        QCOMPARE(sequence.at(i), (i + 1) % 9);

    // The white surround is masked away; the envelope in the middle is kept.
    const QImage shown = picture(progress)->pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(qAlpha(shown.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(shown.pixel(100, 94)), 0);
    QCOMPARE(qAlpha(shown.pixel(50, 47)), 255);
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

void TestWndProgress::topLevelCentredOnPrimaryScreen()
{
    QElapsedTimer clock;
    clock.start();
    WndProgress progress(nullptr, QStringLiteral("Connecting ..."));
    QVERIFY(progress.isWindow());

    QVERIFY(pollFor(clock, 2000, [&] { return progress.isVisible(); }));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(progress.pos(), QPoint(screen.x() + screen.width() / 2 - progress.width() / 2,
                                    screen.y() + screen.height() / 2 - progress.height() / 2));
}

void TestWndProgress::closeRequestRefused()
{
    QElapsedTimer clock;
    clock.start();
    WndProgress progress(nullptr, Transferring);
    QVERIFY(pollFor(clock, 2000, [&] { return progress.isVisible(); }));

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
