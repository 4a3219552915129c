#include "desktop.h"
#include "dialogrecorder.h"
#include "logfixture.h"
#include "logpager.h"
#include "settingsstore.h"
#include "wndlog.h"

#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer's own count (GCC ships no header that declares it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace {

// The bytes the process's heap hands out now: what lines the view still holds cost. Under
// AddressSanitizer a freed block stops counting when it is freed, not when it is reused.
qint64 heapInUse()
{
#if defined(__SANITIZE_ADDRESS__)
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
#endif
}

// Whether every row the view shows is cached and no load runs.
bool showsItsRows(const WndLog& view)
{
    const LogPager* pager = view.pager();
    if (view.isLoading() || pager->isLoading())
        return false;
    const qint64 end = std::min<qint64>(view.topRow() + view.visibleRows(), pager->count());
    return pager->covers(view.topRow(), end);
}

} // namespace

class tst_WndLog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void opensAtTheEndWithOneScreen_data();
    void opensAtTheEndWithOneScreen();
    void scrolling_data();
    void scrolling();
    void aLogOfNoLinesRequestsNothing();
    void growth_data();
    void growth();
    void followsFromTheEmptyRowJustInView_data();
    void followsFromTheEmptyRowJustInView();
    void theWidthCoversTheLongestCachedLine_data();
    void theWidthCoversTheLongestCachedLine();
    void theWidthFollowsRowsBroughtAbove();
    void aLongLineAppendedIsFollowedWhole_data();
    void aLongLineAppendedIsFollowedWhole();
    void longLinesGoWithTheCache();
    void shrinkOrRotationScrollsToTheEnd_data();
    void shrinkOrRotationScrollsToTheEnd();
    void refusedLoadIsNotRepeatedOnEveryPaint();
    void shortAnswersFillTheView_data();
    void shortAnswersFillTheView();
    void closeDuringALoad();
    void deletedDuringItsLoad();
    void lostConnectionInTwoViewsShowsOneBox();
    void clearLog_data();
    void clearLog();
    void namesAndPlaces_data();
    void namesAndPlaces();
    void settingsOnlyWithAWorkspace_data();
    void settingsOnlyWithAWorkspace();

private:
    std::unique_ptr<WndLog> showView(const QString& name);
    bool settle(const WndLog& view);

    LogFixture m_fix;
};

void tst_WndLog::initTestCase()
{
    QVERIFY(m_fix.start());
    m_fix.server->addSyntheticLog(QStringLiteral("huge"), 1000000000u);
}

void tst_WndLog::init()
{
    m_fix.server->clearControls();
    m_fix.server->addLog(QStringLiteral("short"), shortLines(0, ShortLines));
    m_fix.server->addLog(QStringLiteral("empty"), {});
    if (m_fix.connection()->m_lost || m_fix.connection()->m_state != DBConn::Connected)
        QVERIFY(m_fix.connect());
    // Notices of the changes above reach no view of this test.
    QTest::qWait(250);
    m_fix.mark();
}

void tst_WndLog::cleanup()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::unique_ptr<WndLog> tst_WndLog::showView(const QString& name)
{
    std::unique_ptr<WndLog> view(createLogView(nullptr, m_fix.connection(), name, Qt::Widget));
    view->resize(400, 300);
    view->show();
    if (!QTest::qWaitForWindowExposed(view.get()))
        return nullptr;
    return view;
}

bool tst_WndLog::settle(const WndLog& view)
{
    if (!QTest::qWaitFor([&] { return view.pager()->isOpen() && showsItsRows(view); }, 5000))
        return false;
    // Nothing more follows.
    QTest::qWait(50);
    return showsItsRows(view);
}

void tst_WndLog::opensAtTheEndWithOneScreen_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<quint32>("count");
    QTest::newRow("a thousand lines") << "big" << BigLines;
    QTest::newRow("a thousand million lines") << "huge" << 1000000000u;
    QTest::newRow("fewer lines than the view shows") << "short" << quint32(ShortLines);
}

void tst_WndLog::opensAtTheEndWithOneScreen()
{
    QFETCH(QString, name);
    QFETCH(quint32, count);

    const std::unique_ptr<WndLog> view = showView(name);
    QVERIFY(view);
    QVERIFY(settle(*view));
    QCOMPARE(view->pager()->count(), count);
    QVERIFY(view->showsEnd());
    QVERIFY(view->pager()->isCached(count - 1));
    // The rows in view but the empty one below the last line, 50 above them.
    const qint64 top = view->topRow();
    QCOMPARE(top, std::max<qint64>(0, qint64(count) + 1 - view->visibleRows()));
    const qint64 from = std::max<qint64>(0, top - 50);
    QCOMPARE(m_fix.statements(),
             (QStringList{LogPager::logListStatement(name),
                          LogPager::logDataStatement(name, quint64(from), quint64(count - from))}));
}

void tst_WndLog::scrolling_data()
{
    QTest::addColumn<int>("linesUp");
    QTest::addColumn<bool>("request");
    QTest::addColumn<bool>("replaces");
    QTest::newRow("inside the margin: nothing is sent") << 30 << false << false;
    QTest::newRow("above the cache: a block that ends at its first line") << 60 << true << false;
    QTest::newRow("clear of the cache: it is replaced") << 100 << true << true;
    QTest::newRow("a far jump replaces the cache") << 500000 << true << true;
}

void tst_WndLog::scrolling()
{
    QFETCH(int, linesUp);
    QFETCH(bool, request);
    QFETCH(bool, replaces);

    const QString name = QStringLiteral("big");
    const std::unique_ptr<WndLog> view = showView(name);
    QVERIFY(view);
    QVERIFY(settle(*view));
    const qint64 oldFirst = view->pager()->first();
    m_fix.mark();

    QScrollBar* bar = view->verticalScrollBar();
    bar->setValue(bar->value() - linesUp);
    QVERIFY(settle(*view));
    const QStringList sent = m_fix.statements();
    if (!request) {
        QVERIFY2(sent.isEmpty(), qPrintable(sent.join(u'\n')));
        return;
    }
    QCOMPARE(sent.size(), 1);
    const qint64 from = std::max<qint64>(0, view->topRow() - 50);
    if (replaces) {
        QVERIFY(view->pager()->first() < oldFirst - linesUp + view->visibleRows());
        QVERIFY(sent.first().startsWith(QStringLiteral("select LogData(\"big\", %1, ").arg(from)));
    } else {
        QCOMPARE(sent.first(), LogPager::logDataStatement(name, quint64(from), quint64(oldFirst - from)));
    }
}

void tst_WndLog::aLogOfNoLinesRequestsNothing()
{
    const std::unique_ptr<WndLog> view = showView(QStringLiteral("empty"));
    QVERIFY(view);
    QVERIFY(settle(*view));
    view->viewport()->repaint();
    QTest::qWait(50);
    QCOMPARE(m_fix.statements(), QStringList{LogPager::logListStatement(QStringLiteral("empty"))});
    QCOMPARE(view->topRow(), 0);
}

void tst_WndLog::growth_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("scrolledUp");
    QTest::addColumn<bool>("follows");
    QTest::newRow("at the end: it follows") << "short" << false << true;
    QTest::newRow("scrolled up: only the range grows") << "short" << true << false;
    QTest::newRow("a log that had no lines does not scroll") << "empty" << false << false;
}

void tst_WndLog::growth()
{
    QFETCH(QString, name);
    QFETCH(bool, scrolledUp);
    QFETCH(bool, follows);

    const std::unique_ptr<WndLog> view = showView(name);
    QVERIFY(view);
    QVERIFY(settle(*view));
    if (scrolledUp)
        view->verticalScrollBar()->setValue(0);
    QVERIFY(settle(*view));
    const quint32 before = view->pager()->count();
    // Following the end also brings the view back to the left edge.
    view->horizontalScrollBar()->setValue(100);
    QCOMPARE(view->horizontalScrollBar()->value(), 100);

    QStringList added;
    for (int i = 0; i < 60; ++i)
        added.append(QStringLiteral("added %1").arg(i));
    QVERIFY(m_fix.server->appendLogLines(name, added));
    QTRY_COMPARE(view->pager()->count(), before + 60);
    QVERIFY(settle(*view));
    QCOMPARE(view->showsEnd(), follows);
    QCOMPARE(view->horizontalScrollBar()->value(), follows ? 0 : 100);
    if (follows) {
        QCOMPARE(view->pager()->line(before + 59), QStringLiteral("added 59"));
    } else {
        QCOMPARE(view->topRow(), 0);
    }
    QVERIFY(m_fix.traceLines().contains(QStringLiteral("update packet for log id=%1, offset=0, count=%2 (total=%2)")
                                            .arg(m_fix.logId(name)).arg(before + 60)));
}

void tst_WndLog::followsFromTheEmptyRowJustInView_data()
{
    QTest::addColumn<int>("belowLastLine"); // pixels of the view below the last line
    QTest::addColumn<bool>("follows");

    QTest::newRow("a pixel of the empty row in view: it follows") << 1 << true;
    QTest::newRow("the last line at the bottom edge: it stays") << 0 << false;
}

// The view follows the log's growth while it shows the empty row below the last line, and
// one pixel of that row is enough.
void tst_WndLog::followsFromTheEmptyRowJustInView()
{
    QFETCH(int, belowLastLine);
    QFETCH(bool, follows);

    const std::unique_ptr<WndLog> view = showView(QStringLiteral("short"));
    QVERIFY(view);
    const int rows = 10;
    const int height = rows * view->lineHeight() + belowLastLine;
    view->resize(view->width(), view->height() + height - view->viewport()->height());
    QTRY_COMPARE(view->viewport()->height(), height);
    QVERIFY(settle(*view));
    QCOMPARE(view->visibleRows(), rows);
    view->verticalScrollBar()->setValue(ShortLines - rows);
    QVERIFY(settle(*view));
    QCOMPARE(view->topRow(), qint64(ShortLines - rows));
    QCOMPARE(view->showsEnd(), follows);

    QVERIFY(m_fix.server->appendLogLines(QStringLiteral("short"), shortLines(ShortLines, 5)));
    QTRY_COMPARE(view->pager()->count(), quint32(ShortLines + 5));
    QVERIFY(settle(*view));
    QCOMPARE(view->topRow(), qint64(follows ? ShortLines + 5 + 1 - rows : ShortLines - rows));
}

void tst_WndLog::theWidthCoversTheLongestCachedLine_data()
{
    QTest::addColumn<int>("longest"); // characters of the longest line, 'W's
    QTest::addColumn<QString>("then"); // what happens after the view has opened
    QTest::addColumn<bool>("fixedWidth"); // afterwards the area is 3000 pixels wide

    QTest::newRow("short lines: 3000 pixels") << 20 << "" << true;
    QTest::newRow("a line wider than 3000 pixels") << 900 << "" << false;
    QTest::newRow("a wide line that arrives later") << 20 << "append" << false;
    QTest::newRow("a larger font") << 600 << "font" << false;
    QTest::newRow("the wide line rotated away") << 900 << "rotate" << true;
}

// The last character of every cached line can be scrolled into view.
void tst_WndLog::theWidthCoversTheLongestCachedLine()
{
    QFETCH(int, longest);
    QFETCH(QString, then);
    QFETCH(bool, fixedWidth);

    const QString name = QStringLiteral("wide");
    QStringList lines = shortLines(0, 20);
    lines.insert(10, QString(longest, u'W'));
    m_fix.server->addLog(name, lines);
    const std::unique_ptr<WndLog> view = showView(name);
    QVERIFY(view);
    QVERIFY(settle(*view));
    if (then == QLatin1String("append")) {
        QVERIFY(m_fix.server->appendLogLines(name, {QString(1200, u'W')}));
        QTRY_COMPARE(view->pager()->count(), 22u);
    } else if (then == QLatin1String("font")) {
        QFont larger = view->font();
        larger.setPixelSize(QFontMetrics(larger).height() * 2);
        DialogRecorder dialogs;
        dialogs.answerFont(larger);
        view->slotSelectFont();
    } else if (then == QLatin1String("rotate")) {
        QVERIFY(m_fix.server->rotateLog(name));
        QVERIFY(m_fix.server->appendLogLines(name, shortLines(0, 5)));
        QTRY_COMPARE(view->pager()->count(), 5u);
    }
    QVERIFY(settle(*view));

    const QFontMetrics metrics(view->font());
    int widest = 0;
    for (qint64 row = view->pager()->first(); row < view->pager()->end(); ++row)
        widest = std::max(widest, metrics.horizontalAdvance(view->pager()->line(row)));
    const QScrollBar* bar = view->horizontalScrollBar();
    const int area = bar->maximum() + view->viewport()->width();
    if (fixedWidth) {
        QVERIFY(widest < 3000);
        QCOMPARE(area, 3000);
    } else {
        QVERIFY2(widest > 3000, qPrintable(QString::number(widest)));
        // From the text's left margin to past its last character.
        QVERIFY2(area >= widest + 2 && area <= widest + 8,
                 qPrintable(QStringLiteral("%1 for %2").arg(area).arg(widest)));
    }
}

// Lines wider than 3000 pixels above the rows the view opened with, brought in by a load
// that puts its rows above the cache: the area widens for them.
void tst_WndLog::theWidthFollowsRowsBroughtAbove()
{
    const QString name = QStringLiteral("wide above");
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines.append(QString(900, u'W'));
    lines += shortLines(300, 100);
    m_fix.server->addLog(name, lines);
    const std::unique_ptr<WndLog> view = showView(name);
    QVERIFY(view);
    QVERIFY(settle(*view));
    const qint64 oldFirst = view->pager()->first();
    QVERIFY(oldFirst >= 300);
    QCOMPARE(view->horizontalScrollBar()->maximum() + view->viewport()->width(), 3000);
    m_fix.mark();

    view->verticalScrollBar()->setValue(view->verticalScrollBar()->value() - 60);
    QVERIFY(settle(*view));
    const qint64 from = view->topRow() - 50;
    QVERIFY(from < 300);
    QCOMPARE(m_fix.statements(), QStringList{LogPager::logDataStatement(name, quint64(from), quint64(oldFirst - from))});
    QCOMPARE(view->pager()->first(), from);
    const int widest = QFontMetrics(view->font()).horizontalAdvance(lines.constFirst());
    const int area = view->horizontalScrollBar()->maximum() + view->viewport()->width();
    QVERIFY2(area >= widest + 2 && area <= widest + 8, qPrintable(QStringLiteral("%1 for %2").arg(area).arg(widest)));
}

void tst_WndLog::aLongLineAppendedIsFollowedWhole_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("twenty thousand characters") << 20000;
    QTest::newRow("three megabytes") << 3 * 1024 * 1024;
}

// A line the server appends while the view follows the end arrives whole, and the area
// widens to past its last character.
void tst_WndLog::aLongLineAppendedIsFollowedWhole()
{
    QFETCH(int, length);
    const QString name = QStringLiteral("growing wide");
    m_fix.server->addLog(name, shortLines(0, 5));
    const std::unique_ptr<WndLog> view = showView(name);
    QVERIFY(view);
    QVERIFY(settle(*view));
    QVERIFY(view->showsEnd());

    const QString line = QString(length - 3, u'W') + QStringLiteral("end");
    QVERIFY(m_fix.server->appendLogLines(name, {line, QStringLiteral("after")}));
    QTRY_COMPARE(view->pager()->count(), 7u);
    QVERIFY(settle(*view));
    QVERIFY(view->showsEnd());
    QCOMPARE(view->pager()->line(5), line);
    QCOMPARE(view->pager()->line(6), QStringLiteral("after"));
    const int area = view->horizontalScrollBar()->maximum() + view->viewport()->width();
    QCOMPARE(area, view->columnX(5, length) + 4);
    QVERIFY(area > length);
}

// The view measures a long line once and keeps what it measured while the pager holds the
// line; once the pager has let the long lines go, the view holds none of them either, though
// it has only short lines to measure and paint from then on.
void tst_WndLog::longLinesGoWithTheCache()
{
    constexpr int LongLines = 4;
    constexpr int LongLength = 2 * 1024 * 1024;
    const QString name = QStringLiteral("long lines on top");
    QStringList lines;
    for (int i = 0; i < LongLines; ++i)
        lines.append(QString(LongLength, QChar(u'a' + i)));
    lines += shortLines(LongLines, 1000);
    m_fix.server->addLog(name, lines);
    const std::unique_ptr<WndLog> view = showView(name);
    QVERIFY(view);
    QVERIFY(settle(*view));
    view->verticalScrollBar()->setValue(0);
    QVERIFY(settle(*view));
    QCOMPARE(view->pager()->first(), 0);
    QCOMPARE(view->pager()->line(LongLines - 1), lines.at(LongLines - 1));
    view->viewport()->repaint();
    const qint64 withLongLines = heapInUse();

    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    QVERIFY(settle(*view));
    QVERIFY(view->pager()->first() >= LongLines);
    view->viewport()->repaint();
    // The lines' texts take two bytes a character.
    const qint64 textBytes = qint64(LongLines) * LongLength * 2;
    const qint64 freed = withLongLines - heapInUse();
    QVERIFY2(freed > textBytes * 3 / 4,
             qPrintable(QStringLiteral("%1 of %2 bytes freed").arg(freed).arg(textBytes)));
}

void tst_WndLog::shrinkOrRotationScrollsToTheEnd_data()
{
    QTest::addColumn<bool>("rotate");
    QTest::addColumn<bool>("atEnd");
    QTest::newRow("shortened: at the new end") << false << true;
    // Emptied first: the lines that come after do not move a view that had none.
    QTest::newRow("rotated, then new lines: at the top") << true << false;
}

void tst_WndLog::shrinkOrRotationScrollsToTheEnd()
{
    QFETCH(bool, rotate);
    QFETCH(bool, atEnd);
    const QString name = QStringLiteral("short");
    m_fix.server->addLog(name, shortLines(0, 400));
    const std::unique_ptr<WndLog> view = showView(name);
    QVERIFY(view);
    QVERIFY(settle(*view));
    view->verticalScrollBar()->setValue(0);
    QVERIFY(settle(*view));

    if (rotate) {
        QVERIFY(m_fix.server->rotateLog(name));
        QVERIFY(m_fix.server->appendLogLines(name, shortLines(0, 30)));
    } else {
        m_fix.server->addLog(name, shortLines(0, 30));
    }
    QTRY_COMPARE(view->pager()->count(), 30u);
    QVERIFY(settle(*view));
    QCOMPARE(view->showsEnd(), atEnd);
    QCOMPARE(view->topRow(), atEnd ? 31 - view->visibleRows() : 0);
    QCOMPARE(view->pager()->line(view->topRow()), shortLines(int(view->topRow()), 1).constFirst());
}

void tst_WndLog::refusedLoadIsNotRepeatedOnEveryPaint()
{
    QVERIFY(m_fix.server->refuse(QStringLiteral("LogData"), 107));
    const std::unique_ptr<WndLog> view = showView(QStringLiteral("big"));
    QVERIFY(view);
    QTRY_VERIFY(view->pager()->isBackingOff());
    for (int i = 0; i < 20; ++i) {
        view->viewport()->repaint();
        QTest::qWait(10);
    }
    QCOMPARE(m_fix.statements().filter(QStringLiteral("LogData")).size(), 1);
    // A second later it asks again, and gets the lines once the server gives them.
    m_fix.server->clearControls();
    QVERIFY(settle(*view));
    QVERIFY(view->pager()->isCached(BigLines - 1));
}

void tst_WndLog::shortAnswersFillTheView_data()
{
    QTest::addColumn<int>("rowsPerAnswer");
    QTest::addColumn<bool>("scrollUp");
    QTest::newRow("a few rows at a time, opening") << 7 << false;
    QTest::newRow("one row at a time, opening") << 1 << false;
    QTest::newRow("a few rows at a time, scrolled up") << 7 << true;
}

// A server that answers fewer lines than asked: each request asks for rows not asked
// before, and the view is filled.
void tst_WndLog::shortAnswersFillTheView()
{
    QFETCH(int, rowsPerAnswer);
    QFETCH(bool, scrollUp);
    QVERIFY(m_fix.server->shortenAnswer(QStringLiteral("LogData"), rowsPerAnswer));
    const std::unique_ptr<WndLog> view = showView(QStringLiteral("big"));
    QVERIFY(view);
    QVERIFY(settle(*view));
    if (scrollUp) {
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->value() - 40);
        QVERIFY(settle(*view));
    }
    QStringList loads = m_fix.statements().filter(QStringLiteral("LogData"));
    QVERIFY(!loads.isEmpty());
    QCOMPARE(QSet<QString>(loads.cbegin(), loads.cend()).size(), loads.size());
    const qint64 top = view->topRow();
    QCOMPARE(view->pager()->line(top), StandIn::TestServer::syntheticLine(QStringLiteral("big"), quint64(top)));
    // Nothing more is asked once the rows are there.
    m_fix.mark();
    QTest::qWait(200);
    QVERIFY(m_fix.statements().isEmpty());
}

void tst_WndLog::closeDuringALoad()
{
    QVERIFY(m_fix.server->delay(QStringLiteral("LogData"), 400, 1));
    const std::unique_ptr<WndLog> view = showView(QStringLiteral("short"));
    QVERIFY(view);
    QSignalSpy closed(view.get(), &WndLog::signalWindowClosed);
    QTRY_VERIFY(view->isLoading());

    QVERIFY(!view->close());
    QVERIFY(view->isHidden());
    QVERIFY(view->isClosePending());
    QVERIFY(closed.isEmpty());
    // A refused view ignores notices.
    QVERIFY(m_fix.server->appendLogLines(QStringLiteral("short"), {QStringLiteral("late")}));
    QTRY_VERIFY(!view->isLoading());
    QTest::qWait(300);
    QCOMPARE(view->pager()->count(), quint32(ShortLines));
    QVERIFY(view->isHidden());

    QVERIFY(view->close());
    QCOMPARE(closed.size(), 1);
    QCOMPARE(closed.constFirst().at(0).value<QWidget*>(), view.get());
    QCOMPARE(closed.constFirst().at(1).toBool(), false);
}

void tst_WndLog::deletedDuringItsLoad()
{
    QVERIFY(m_fix.server->delay(QStringLiteral("LogData"), 300, 1));
    std::unique_ptr<WndLog> view = showView(QStringLiteral("big"));
    QVERIFY(view);
    QTRY_VERIFY(view->pager()->isLoading());
    view.reset();
    // The answer comes to nobody; notices too.
    QVERIFY(m_fix.server->appendLogLines(QStringLiteral("big"), {QStringLiteral("more")}));
    QTest::qWait(600);
    const std::unique_ptr<WndLog> next = showView(QStringLiteral("short"));
    QVERIFY(next);
    QVERIFY(settle(*next));
}

void tst_WndLog::lostConnectionInTwoViewsShowsOneBox()
{
    QWidget mainWindow;
    mainWindow.setWindowTitle(QStringLiteral("Ornel Corvane - 127.0.0.1"));
    m_fix.connection()->m_owner = &mainWindow;
    QVERIFY(m_fix.server->delay(QStringLiteral("LogData"), 200, 1));
    QVERIFY(m_fix.server->dropAt(QStringLiteral("LogData"), 1));
    DialogRecorder dialogs;
    const std::unique_ptr<WndLog> first = showView(QStringLiteral("big"));
    const std::unique_ptr<WndLog> second = showView(QStringLiteral("short"));
    QVERIFY(first && second);
    QTRY_VERIFY(m_fix.connection()->m_lost);
    QTest::qWait(300);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.constFirst().caption, QStringLiteral("Ornel Administration Console"));
    QCOMPARE(dialogs.messages.constFirst().text,
             QStringLiteral("Connection failed! Module was disconected from 127.0.0.1."));
    QCOMPARE(dialogs.messages.constFirst().icon, QMessageBox::Critical);
    // Over the view that met the loss.
    QVERIFY(dialogs.messages.constFirst().parent == first.get()
            || dialogs.messages.constFirst().parent == second.get());
    QCOMPARE(mainWindow.windowTitle(), QStringLiteral("Ornel Corvane - 127.0.0.1 - NOT CONNECTED!"));
    m_fix.connection()->m_owner = nullptr;
}

void tst_WndLog::clearLog_data()
{
    QTest::addColumn<bool>("refused");
    QTest::newRow("cleared: an empty view at the top") << false;
    QTest::newRow("refused: nothing changes") << true;
}

void tst_WndLog::clearLog()
{
    QFETCH(bool, refused);
    const QString name = QStringLiteral("short");
    m_fix.server->addLog(name, shortLines(0, 400));
    const std::unique_ptr<WndLog> view = showView(name);
    QVERIFY(view);
    QVERIFY(settle(*view));
    const qint64 top = view->topRow();
    if (refused)
        QVERIFY(m_fix.server->refuse(QStringLiteral("LogCtrl"), 111, 1));

    view->slotClearLog();
    QTRY_VERIFY(!view->pager()->isClearing());
    QVERIFY(settle(*view));
    QCOMPARE(view->pager()->count(), refused ? 400u : 0u);
    QCOMPARE(view->topRow(), refused ? top : 0);
}

void tst_WndLog::namesAndPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("inDesktop");
    QTest::addColumn<QString>("objectName");
    QTest::newRow("a log in the pane") << "smtp" << false << "Corvane_Log";
    QTest::newRow("the debug log in any case") << "DeBuG" << false << "Corvane_Debug_Log";
    QTest::newRow("in a window of its own") << "smtp" << true << "Corvane_Log";
}

void tst_WndLog::namesAndPlaces()
{
    QFETCH(QString, name);
    QFETCH(bool, inDesktop);
    QFETCH(QString, objectName);

    Desktop desktop;
    QWidget pane;
    WndLog* view = createLogView(inDesktop ? static_cast<QWidget*>(&desktop) : &pane, m_fix.connection(),
                                 name, Qt::Widget);
    QCOMPARE(view->objectName(), objectName);
    QCOMPARE(view->isDetached(), inDesktop);
    QCOMPARE(logDescriptorName(view->logDescriptor()), name);
    QCOMPARE(QByteArray(view->logDescriptor().data), "log.data." + name.toLatin1());
    QCOMPARE(QByteArray(view->logDescriptor().info), QByteArray("log.info"));
}

void tst_WndLog::settingsOnlyWithAWorkspace_data()
{
    QTest::addColumn<bool>("withWorkspace");
    QTest::newRow("with a workspace: the stored font and character set") << true;
    QTest::newRow("without: the parent's font, no recoding") << false;
}

void tst_WndLog::settingsOnlyWithAWorkspace()
{
    QFETCH(bool, withWorkspace);
    Desktop desktop;
    QFont stored(QStringLiteral("Monospace"), 17);
    desktop.settings()->writeEntry(QStringLiteral("/Admin/Logs/font"), stored.toString());
    desktop.settings()->writeEntry(QStringLiteral("/Admin/Logs/charset"), 14);
    QWidget parent;
    const DBLOG log = makeLogDescriptor(QStringLiteral("special"));
    WndLog view(&parent, m_fix.connection(), &log, "Corvane_Log", Qt::Widget,
                withWorkspace ? &desktop : nullptr);
    QCOMPARE(view.charset(), withWorkspace ? 14 : 0);
    QCOMPARE(view.font().pointSize(), withWorkspace ? 17 : parent.font().pointSize());
    // The line height follows the font.
    QCOMPARE(view.lineHeight(), QFontMetrics(view.font()).lineSpacing());
}

QTEST_MAIN(tst_WndLog)
#include "tst_wndlog.moc"
