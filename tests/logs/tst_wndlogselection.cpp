#include "dialogrecorder.h"
#include "logfixture.h"
#include "logpager.h"
#include "wndlog.h"
#include "wndprogress.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

// Selecting with the mouse, the keys, copying and the font of the log viewer.
class tst_WndLogSelection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void dragCopiesTheSelectedText_data();
    void dragCopiesTheSelectedText();
    void aClickClearsTheSelection();
    void aPressBelowTheTextKeepsTheSelection();
    void releaseBelowTheViewEndsOneRowInside();
    void doubleClick_data();
    void doubleClick();
    void modifiersComeFromEachEvent();
    void keys_data();
    void keys();
    void autoScrollFollowsThePointer();
    void copyFetchesRowsThatLeftTheCache();
    void copyThroughTheRowBelowTheLastLine();
    void aLongLineIsShownAndCopiedWhole_data();
    void aLongLineIsShownAndCopiedWhole();
    void copyOfTooManyLinesIsRefused_data();
    void copyOfTooManyLinesIsRefused();
    void longCopyRunsUnderTheWaitIndicatorAndAborts();
    void abortGivesTheFocusBackToTheView_data();
    void abortGivesTheFocusBackToTheView();
    void copyWithShortAnswersMakesProgress();
    void growthDoesNotScrollUnderASelection_data();
    void growthDoesNotScrollUnderASelection();
    void renumberedLinesEndTheSelection_data();
    void renumberedLinesEndTheSelection();
    void fontChangeKeepsTheCurrentFontOnCancel_data();
    void fontChangeKeepsTheCurrentFontOnCancel();
    void menuOpensFromTheKeyboardAtTheCurrentLine_data();
    void menuOpensFromTheKeyboardAtTheCurrentLine();

private:
    std::unique_ptr<WndLog> showView(const QString& name, int viewportHeight = 200);
    bool settle(const WndLog& view);
    // The centre of character column on row, in viewport coordinates.
    static QPoint at(const WndLog& view, qint64 row, int column);
    static void mouse(WndLog& view, QEvent::Type type, const QPoint& pos,
                      Qt::MouseButtons buttons = Qt::LeftButton,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    static void drag(WndLog& view, const QPoint& from, const QPoint& to,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Selects from the start of firstRow to column 4 of lastRow, scrolling between them.
    bool selectRows(WndLog& view, qint64 firstRow, qint64 lastRow);

    LogFixture m_fix;
};

void tst_WndLogSelection::initTestCase()
{
    QVERIFY(m_fix.start());
}

void tst_WndLogSelection::init()
{
    if (m_fix.connection()->m_lost || m_fix.connection()->m_state != DBConn::Connected)
        QVERIFY(m_fix.connect());
    QApplication::clipboard()->setText(QStringLiteral("untouched"));
    m_fix.mark();
}

std::unique_ptr<WndLog> tst_WndLogSelection::showView(const QString& name, int viewportHeight)
{
    std::unique_ptr<WndLog> view(createLogView(nullptr, m_fix.connection(), name, Qt::Widget));
    view->resize(500, 300);
    view->show();
    if (!QTest::qWaitForWindowExposed(view.get()))
        return nullptr;
    view->resize(500, view->height() + viewportHeight - view->viewport()->height());
    return view;
}

bool tst_WndLogSelection::settle(const WndLog& view)
{
    return QTest::qWaitFor(
        [&] {
            const LogPager* pager = view.pager();
            const qint64 end = std::min<qint64>(view.topRow() + view.visibleRows(), pager->count());
            return pager->isOpen() && !view.isLoading() && !pager->isLoading()
                   && pager->covers(view.topRow(), end);
        },
        5000);
}

QPoint tst_WndLogSelection::at(const WndLog& view, qint64 row, int column)
{
    const int left = view.columnX(row, column);
    const int right = view.columnX(row, column + 1);
    return QPoint(2 + (left + right) / 2, int(row - view.topRow()) * view.lineHeight()
                                              + view.lineHeight() / 2);
}

void tst_WndLogSelection::mouse(WndLog& view, QEvent::Type type, const QPoint& pos,
                                Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const QPointF global = view.viewport()->mapToGlobal(QPointF(pos));
    QMouseEvent event(type, QPointF(pos), global, button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : buttons, modifiers);
    QApplication::sendEvent(view.viewport(), &event);
}

void tst_WndLogSelection::drag(WndLog& view, const QPoint& from, const QPoint& to,
                               Qt::KeyboardModifiers modifiers)
{
    mouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton, modifiers);
    mouse(view, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton, modifiers);
    mouse(view, QEvent::MouseMove, to, Qt::LeftButton, modifiers);
    mouse(view, QEvent::MouseButtonRelease, to, Qt::LeftButton, modifiers);
}

bool tst_WndLogSelection::selectRows(WndLog& view, qint64 firstRow, qint64 lastRow)
{
    QScrollBar* bar = view.verticalScrollBar();
    bar->setValue(bar->maximum());
    const qint64 rowsPerStep = std::max<qint64>(1, view.topRow() / std::max(1, bar->maximum()));
    // Rows a hostile count announces are never cached: only the loads are waited for.
    const auto scrollTo = [&](qint64 row) {
        bar->setValue(int(std::min<qint64>(row / rowsPerStep, bar->maximum())));
        QTest::qWait(20);
        return QTest::qWaitFor([&] { return !view.isLoading() && !view.pager()->isLoading(); }, 5000)
               && view.topRow() <= row && row < view.topRow() + view.visibleRows();
    };
    if (!scrollTo(firstRow))
        return false;
    mouse(view, QEvent::MouseButtonPress, QPoint(1, at(view, firstRow, 0).y()));
    if (!scrollTo(lastRow))
        return false;
    mouse(view, QEvent::MouseMove, at(view, lastRow, 4));
    mouse(view, QEvent::MouseButtonRelease, at(view, lastRow, 4));
    return view.hasSelection() && view.selectionFirstRow() == firstRow
           && view.selectionLastRow() == lastRow;
}

void tst_WndLogSelection::dragCopiesTheSelectedText_data()
{
    QTest::addColumn<int>("fromLine"); // lines of the view, from its top
    QTest::addColumn<int>("fromColumn");
    QTest::addColumn<int>("toLine");
    QTest::addColumn<int>("toColumn");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QStringList>("parts"); // of the copied text, joined by CR LF

    // "short line 25", "short line 26", "short line 27" on the view's lines 3 to 5.
    QTest::newRow("line 3 to line 5: tail, whole line, head")
        << 3 << 6 << 5 << 8 << Qt::KeyboardModifiers()
        << QStringList{"line 25", "short line 26", "short li"};
    QTest::newRow("line 5 back to line 3 gives the same")
        << 5 << 8 << 3 << 6 << Qt::KeyboardModifiers()
        << QStringList{"line 25", "short line 26", "short li"};
    QTest::newRow("right to left within a line")
        << 4 << 10 << 4 << 3 << Qt::KeyboardModifiers() << QStringList{"rt line"};
    QTest::newRow("Ctrl snaps both ends to words")
        << 3 << 7 << 4 << 8 << Qt::KeyboardModifiers(Qt::ControlModifier)
        << QStringList{"line 25", "short line"};
    QTest::newRow("Shift takes whole lines")
        << 3 << 7 << 4 << 8 << Qt::KeyboardModifiers(Qt::ShiftModifier)
        << QStringList{"short line 25", "short line 26"};
}

void tst_WndLogSelection::dragCopiesTheSelectedText()
{
    QFETCH(int, fromLine);
    QFETCH(int, fromColumn);
    QFETCH(int, toLine);
    QFETCH(int, toColumn);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QStringList, parts);

    const std::unique_ptr<WndLog> view = showView(QStringLiteral("short"));
    QVERIFY(view);
    QVERIFY(settle(*view));
    view->verticalScrollBar()->setValue(22);
    QVERIFY(settle(*view));
    QCOMPARE(view->topRow(), 22);

    drag(*view, at(*view, 22 + fromLine, fromColumn), at(*view, 22 + toLine, toColumn), modifiers);
    QVERIFY(view->hasSelection());
    QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), parts.join(QLatin1String("\r\n")));
    QCOMPARE(view->copyText(), parts.join(QLatin1String("\r\n")));
}

void tst_WndLogSelection::aClickClearsTheSelection()
{
    const std::unique_ptr<WndLog> view = showView(QStringLiteral("short"));
    QVERIFY(view);
    QVERIFY(settle(*view));
    const qint64 row = view->topRow() + 2;
    drag(*view, at(*view, row, 0), at(*view, row, 5));
    QVERIFY(view->hasSelection());

    mouse(*view, QEvent::MouseButtonPress, at(*view, row, 8));
    mouse(*view, QEvent::MouseButtonRelease, at(*view, row, 8));
    QVERIFY(!view->hasSelection());
    QMenu menu;
    view->popupMenuCreate(&menu);
    QCOMPARE(menu.actions().first()->text(), QStringLiteral("&Copy"));
    QVERIFY(!menu.actions().first()->isEnabled());
    QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(view.get(), Qt::Key_Insert, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("untouched"));
}

void tst_WndLogSelection::aPressBelowTheTextKeepsTheSelection()
{
    const std::unique_ptr<WndLog> view = showView(QStringLiteral("short"), 900);
    QVERIFY(view);
    QVERIFY(settle(*view));
    QCOMPARE(view->topRow(), 0);
    drag(*view, at(*view, 3, 0), at(*view, 4, 5));
    QVERIFY(view->hasSelection());

    // The row after the last line still counts as text; the rows below it do not.
    const int below = (ShortLines + 2) * view->lineHeight();
    QVERIFY(below < view->viewport()->height());
    mouse(*view, QEvent::MouseButtonPress, QPoint(10, below));
    mouse(*view, QEvent::MouseMove, QPoint(30, below));
    mouse(*view, QEvent::MouseButtonRelease, QPoint(30, below));
    QVERIFY(view->hasSelection());
    QCOMPARE(view->selectionFirstRow(), 3);
    QCOMPARE(view->selectionLastRow(), 4);

    mouse(*view, QEvent::MouseButtonPress, at(*view, ShortLines, 0));
    mouse(*view, QEvent::MouseButtonRelease, at(*view, ShortLines, 0));
    QVERIFY(!view->hasSelection());
}

void tst_WndLogSelection::releaseBelowTheViewEndsOneRowInside()
{
    const std::unique_ptr<WndLog> view = showView(QStringLiteral("big"));
    QVERIFY(view);
    QVERIFY(settle(*view));
    const qint64 start = 400000;
    view->verticalScrollBar()->setValue(int(start));
    QVERIFY(settle(*view));

    mouse(*view, QEvent::MouseButtonPress, at(*view, start + 1, 2));
    mouse(*view, QEvent::MouseMove, at(*view, start + 3, 2));
    mouse(*view, QEvent::MouseButtonRelease, QPoint(20, view->viewport()->height() + 5));
    QCOMPARE(view->topRow(), start + 1);
    QVERIFY(view->hasSelection());
    QCOMPARE(view->selectionFirstRow(), start + 1);
    QCOMPARE(view->selectionLastRow(), view->topRow() + view->visibleRows() - 1);
}

void tst_WndLogSelection::doubleClick_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("copied"); // empty: nothing is selected

    QTest::newRow("a word") << 7 << Qt::KeyboardModifiers() << "line";
    QTest::newRow("the first word") << 0 << Qt::KeyboardModifiers() << "short";
    QTest::newRow("the last word") << 12 << Qt::KeyboardModifiers() << "30";
    QTest::newRow("a blank selects nothing") << 5 << Qt::KeyboardModifiers() << "";
    QTest::newRow("with Ctrl the whole line") << 7 << Qt::KeyboardModifiers(Qt::ControlModifier)
                                              << "short line 30";
}

void tst_WndLogSelection::doubleClick()
{
    QFETCH(int, column);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, copied);

    const std::unique_ptr<WndLog> view = showView(QStringLiteral("short"));
    QVERIFY(view);
    QVERIFY(settle(*view));
    QVERIFY(view->topRow() <= 30);
    const QPoint pos = at(*view, 30, column);
    mouse(*view, QEvent::MouseButtonPress, pos, Qt::LeftButton, modifiers);
    mouse(*view, QEvent::MouseButtonRelease, pos, Qt::LeftButton, modifiers);
    mouse(*view, QEvent::MouseButtonDblClick, pos, Qt::LeftButton, modifiers);
    mouse(*view, QEvent::MouseButtonRelease, pos, Qt::LeftButton, modifiers);
    QCOMPARE(view->hasSelection(), !copied.isEmpty());
    view->slotCopyText();
    QCOMPARE(QApplication::clipboard()->text(), copied.isEmpty() ? QStringLiteral("untouched") : copied);
}

// A Ctrl that was down for Ctrl+C and has been released does not snap a later drag.
void tst_WndLogSelection::modifiersComeFromEachEvent()
{
    const std::unique_ptr<WndLog> view = showView(QStringLiteral("short"));
    QVERIFY(view);
    QVERIFY(settle(*view));
    const qint64 row = view->topRow() + 1;
    QTest::keyPress(view.get(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyRelease(view.get(), Qt::Key_Control, Qt::ControlModifier);
    drag(*view, at(*view, row, 7), at(*view, row, 9));
    view->slotCopyText();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("in"));
}

void tst_WndLogSelection::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("pixels"); // that the view moves down, on a 400-pixel view

    const int page = 400 - 16; // a page less one line of 16 pixels
    QTest::newRow("Down") << int(Qt::Key_Down) << Qt::KeyboardModifiers() << 16;
    QTest::newRow("Shift+Down") << int(Qt::Key_Down) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 160;
    QTest::newRow("Up") << int(Qt::Key_Up) << Qt::KeyboardModifiers() << -16;
    QTest::newRow("Shift+Up") << int(Qt::Key_Up) << Qt::KeyboardModifiers(Qt::ShiftModifier) << -160;
    QTest::newRow("PageDown") << int(Qt::Key_PageDown) << Qt::KeyboardModifiers() << page;
    QTest::newRow("Shift+PageDown") << int(Qt::Key_PageDown) << Qt::KeyboardModifiers(Qt::ShiftModifier) << 10 * page;
    QTest::newRow("PageUp") << int(Qt::Key_PageUp) << Qt::KeyboardModifiers() << -page;
    QTest::newRow("Shift+PageUp") << int(Qt::Key_PageUp) << Qt::KeyboardModifiers(Qt::ShiftModifier) << -10 * page;
}

void tst_WndLogSelection::keys()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, pixels);

    const std::unique_ptr<WndLog> view = showView(QStringLiteral("big"), 400);
    QVERIFY(view);
    QVERIFY(settle(*view));
    // A font whose lines are 16 pixels high.
    QFont font = view->font();
    for (int size = 8; size < 24; ++size) {
        font.setPixelSize(size);
        if (QFontMetrics(font).height() == 16)
            break;
    }
    if (QFontMetrics(font).height() != 16)
        QSKIP("no font with 16-pixel lines");
    DialogRecorder recorder;
    recorder.answerFont(font);
    view->slotSelectFont();
    QCOMPARE(view->lineHeight(), 16);
    QCOMPARE(view->viewport()->height(), 400);

    const qint64 start = 500000;
    view->verticalScrollBar()->setValue(int(start));
    QVERIFY(settle(*view));
    drag(*view, at(*view, start + 1, 0), at(*view, start + 2, 3));
    QVERIFY(view->hasSelection());
    QTest::keyClick(view.get(), Qt::Key(key), modifiers);
    QCOMPARE(view->topRow(), start + pixels / 16);
    QVERIFY(!view->hasSelection());

    view->horizontalScrollBar()->setValue(100);
    QTest::keyClick(view.get(), Qt::Key_Home);
    QCOMPARE(view->topRow(), 0);
    QCOMPARE(view->horizontalScrollBar()->value(), 0);
    view->horizontalScrollBar()->setValue(100);
    QTest::keyClick(view.get(), Qt::Key_End);
    QVERIFY(view->showsEnd());
    QCOMPARE(view->horizontalScrollBar()->value(), 0);
}

void tst_WndLogSelection::autoScrollFollowsThePointer()
{
    const std::unique_ptr<WndLog> view = showView(QStringLiteral("big"));
    QVERIFY(view);
    QVERIFY(settle(*view));
    const qint64 start = 600000;
    view->verticalScrollBar()->setValue(int(start));
    QVERIFY(settle(*view));
    const int lineHeight = view->lineHeight();

    mouse(*view, QEvent::MouseButtonPress, at(*view, start + 2, 3));
    // Above the view: one step at once, 30 pixels.
    mouse(*view, QEvent::MouseMove, QPoint(20, -10));
    QCOMPARE(view->topRow(), start - 30 / lineHeight);
    // The selection follows to the row under the pointer, just above the view.
    QCOMPARE(view->selectionFirstRow(), view->topRow() - 1);
    // Then 30 pixels every 50 ms.
    QTRY_VERIFY_WITH_TIMEOUT(view->topRow() <= start - 3 * 30 / lineHeight, 2000);
    QCOMPARE(view->selectionFirstRow(), view->topRow() - 1);

    // Back inside: the scrolling stops at the next step.
    mouse(*view, QEvent::MouseMove, QPoint(20, 2 * lineHeight));
    QTest::qWait(60);
    const qint64 stopped = view->topRow();
    QTest::qWait(200);
    QCOMPARE(view->topRow(), stopped);
    mouse(*view, QEvent::MouseButtonRelease, QPoint(20, 2 * lineHeight));
    QVERIFY(view->hasSelection());
    QCOMPARE(view->selectionFirstRow(), stopped + 2);
    QCOMPARE(view->selectionLastRow(), start + 2);
}

void tst_WndLogSelection::copyFetchesRowsThatLeftTheCache()
{
    const std::unique_ptr<WndLog> view = showView(QStringLiteral("big"));
    QVERIFY(view);
    QVERIFY(settle(*view));
    const qint64 first = 700000;
    const qint64 last = first + 5000;
    view->verticalScrollBar()->setValue(int(first));
    QVERIFY(settle(*view));
    mouse(*view, QEvent::MouseButtonPress, at(*view, first, 6));
    // Held while the view moves far away.
    view->verticalScrollBar()->setValue(int(last - 1));
    QVERIFY(settle(*view));
    mouse(*view, QEvent::MouseMove, at(*view, last, 4));
    mouse(*view, QEvent::MouseButtonRelease, at(*view, last, 4));
    QVERIFY(view->hasSelection());
    QVERIFY(!view->pager()->isCached(first));

    m_fix.mark();
    QSignalSpy finished(view.get(), &WndLog::copyFinished);
    view->slotCopyText();
    QVERIFY(finished.wait(10000) || finished.count() == 1);
    QCOMPARE(finished.first().first().toBool(), true);

    const QStringList lines = QApplication::clipboard()->text().split(QLatin1String("\r\n"));
    QCOMPARE(lines.size(), 5001);
    const QString firstLine = StandIn::TestServer::syntheticLine(QStringLiteral("big"), quint64(first));
    const QString lastLine = StandIn::TestServer::syntheticLine(QStringLiteral("big"), quint64(last));
    QCOMPARE(lines.first(), firstLine.mid(6));
    QCOMPARE(lines.at(2500), StandIn::TestServer::syntheticLine(QStringLiteral("big"), quint64(first + 2500)));
    QCOMPARE(lines.last(), lastLine.left(4));
    const QStringList expected{
        LogPager::logDataStatement(QStringLiteral("big"), quint64(first), 5000),
        LogPager::logDataStatement(QStringLiteral("big"), quint64(last), 1)};
    QCOMPARE(m_fix.statements(), expected);
}

// The empty row below the last line adds nothing; the last line is taken whole.
void tst_WndLogSelection::copyThroughTheRowBelowTheLastLine()
{
    const std::unique_ptr<WndLog> view = showView(QStringLiteral("short"), 900);
    QVERIFY(view);
    QVERIFY(settle(*view));
    QCOMPARE(view->topRow(), 0);
    drag(*view, at(*view, ShortLines - 2, 6), at(*view, ShortLines, 3));
    QCOMPARE(view->selectionLastRow(), ShortLines);
    QSignalSpy finished(view.get(), &WndLog::copyFinished);
    view->slotCopyText();
    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(finished.constFirst().constFirst().toBool(), true);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("line 38\r\nshort line 39"));
}

void tst_WndLogSelection::aLongLineIsShownAndCopiedWhole_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("one character past ten thousand") << 10001;
    QTest::newRow("a megabyte") << 1024 * 1024;
    QTest::newRow("six megabytes") << 6 * 1024 * 1024;
}

// The view scrolls sideways over the whole line and draws its end there; a copy takes the
// line as the server sent it.
void tst_WndLogSelection::aLongLineIsShownAndCopiedWhole()
{
    QFETCH(int, length);
    QString line(length, u'x');
    for (int i = 0; i + 6 <= length - 7; i += 100)
        line.replace(i, 6, QString::number(100000 + i / 100 % 900000));
    line.replace(length - 7, 7, QStringLiteral("the end"));
    m_fix.server->addLog(QStringLiteral("long"), {QStringLiteral("first"), line, QStringLiteral("last")});
    const std::unique_ptr<WndLog> view = showView(QStringLiteral("long"));
    QVERIFY(view);
    QVERIFY(settle(*view));
    QCOMPARE(view->topRow(), 0);
    QCOMPARE(view->pager()->line(1), line);

    // The area reaches from the text's left margin to past the line's last character.
    QScrollBar* bar = view->horizontalScrollBar();
    const int lineWidth = view->columnX(1, length);
    QCOMPARE(bar->maximum() + view->viewport()->width(), lineWidth + 4);
    bar->setValue(bar->maximum());
    int from = 0;
    int to = 0;
    QVERIFY(view->shownColumns(1, &from, &to));
    QCOMPARE(to, length);
    QVERIFY2(from > length - view->viewport()->width(), qPrintable(QString::number(from)));
    QVERIFY(line.mid(from).endsWith(QStringLiteral("the end")));
    // What it reports is what it draws: the end of the line's row holds text, the rows of the
    // short lines around it are blank this far right.
    const QImage image = view->viewport()->grab().toImage();
    const QColor base = view->viewport()->palette().color(QPalette::Base);
    const auto inked = [&](int row, int left, int right) {
        for (int y = row * view->lineHeight(); y < (row + 1) * view->lineHeight(); ++y) {
            for (int x = left; x < right; ++x) {
                if (image.pixelColor(x, y) != base)
                    return true;
            }
        }
        return false;
    };
    const int right = view->viewport()->width();
    const int endWidth = lineWidth - view->columnX(1, length - 7);
    QVERIFY(inked(1, right - 2 - endWidth, right - 2));
    QVERIFY(!inked(0, 0, right));
    QVERIFY(!inked(2, 0, right));

    // Three whole lines, and the long line alone.
    bar->setValue(0);
    drag(*view, at(*view, 0, 1), at(*view, 2, 1), Qt::ShiftModifier);
    QVERIFY(view->hasSelection());
    QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("first\r\n") + line + QStringLiteral("\r\nlast"));
    mouse(*view, QEvent::MouseButtonDblClick, at(*view, 1, 3), Qt::LeftButton, Qt::ControlModifier);
    QVERIFY(view->hasSelection());
    QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), line);
}

void tst_WndLogSelection::copyOfTooManyLinesIsRefused_data()
{
    QTest::addColumn<quint32>("announced"); // lines a notice announces; 0: the log's own
    QTest::addColumn<qint64>("firstRow");
    QTest::addColumn<qint64>("lastRow");
    QTest::addColumn<bool>("refused");

    const qint64 limit = WndLog::MaxCopyLines;
    QTest::newRow("two thousand million lines announced")
        << 0x7fffffffu << qint64(0) << qint64(0x7ffffffe) << true;
    QTest::newRow("one line more than the limit") << 0u << qint64(5) << qint64(5 + limit) << true;
    QTest::newRow("as many lines as the limit") << 0u << qint64(5) << qint64(5 + limit - 1) << false;
}

// Nothing is fetched or reserved for a range beyond the limit: a box says why.
void tst_WndLogSelection::copyOfTooManyLinesIsRefused()
{
    QFETCH(quint32, announced);
    QFETCH(qint64, firstRow);
    QFETCH(qint64, lastRow);
    QFETCH(bool, refused);

    const QString name = QStringLiteral("vast");
    m_fix.server->addSyntheticLog(name, 3000000);
    std::unique_ptr<WndLog> view = showView(name);
    QVERIFY(view);
    QVERIFY(settle(*view));
    if (announced) {
        QByteArray datagram(1, char(17));
        datagram += StandIn::TestServer::logUpdateRecord(m_fix.logId(name), 0, announced);
        QCOMPARE(m_fix.server->pushDatagram(datagram), 1);
        QTRY_COMPARE(view->pager()->count(), announced);
    }
    QVERIFY(selectRows(*view, firstRow, lastRow));

    m_fix.mark();
    DialogRecorder dialogs;
    QSignalSpy finished(view.get(), &WndLog::copyFinished);
    QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier);
    const QStringList loads = m_fix.statements().filter(QStringLiteral("LogData"));
    if (!refused) {
        // Started: the first block is asked for. The view going with it ends the copy.
        QTRY_VERIFY(!m_fix.statements().filter(QStringLiteral("LogData")).isEmpty());
        QCOMPARE(m_fix.statements().filter(QStringLiteral("LogData")).constFirst(),
                 LogPager::logDataStatement(name, quint64(firstRow), 5000));
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(finished.isEmpty());
        view.reset();
        const qsizetype asked = m_fix.statements().filter(QStringLiteral("LogData")).size();
        QTest::qWait(200);
        QCOMPARE(m_fix.statements().filter(QStringLiteral("LogData")).size(), asked);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("untouched"));
        return;
    }
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.constFirst().constFirst().toBool(), false);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.constFirst().icon, QMessageBox::Warning);
    QCOMPARE(dialogs.messages.constFirst().caption, QStringLiteral("Ornel Administration Console"));
    QCOMPARE(dialogs.messages.constFirst().text,
             QStringLiteral("The selection holds %1 lines; at most %2 lines can be copied at once.\n"
                            "Select fewer lines and copy again.")
                 .arg(lastRow - firstRow + 1)
                 .arg(WndLog::MaxCopyLines));
    QCOMPARE(dialogs.messages.constFirst().parent, view.get());
    QTest::qWait(100);
    QVERIFY(loads.isEmpty());
    QVERIFY(m_fix.statements().filter(QStringLiteral("LogData")).isEmpty());
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("untouched"));
    QVERIFY(view->hasSelection());
}

// A copy that takes a while shows "Transfering data ..." with "&Abort"; Abort stops asking
// and leaves the clipboard alone.
void tst_WndLogSelection::longCopyRunsUnderTheWaitIndicatorAndAborts()
{
    const std::unique_ptr<WndLog> view = showView(QStringLiteral("big"));
    QVERIFY(view);
    QVERIFY(settle(*view));
    QVERIFY(selectRows(*view, 100000, 150000));
    QVERIFY(m_fix.server->delay(QStringLiteral("LogData"), 200));
    m_fix.mark();
    QSignalSpy finished(view.get(), &WndLog::copyFinished);
    view->slotCopyText();

    WndProgress* indicator = nullptr;
    QTRY_VERIFY((indicator = view->findChild<WndProgress*>()) && indicator->isVisible());
    QCOMPARE(indicator->findChild<QLabel*>(QStringLiteral("txtLabel"))->text(),
             QStringLiteral("Transfering data ..."));
    auto* abort = indicator->findChild<QPushButton*>(QStringLiteral("btnAbort"));
    QVERIFY(abort);
    QCOMPARE(abort->text(), QStringLiteral("&Abort"));
    QVERIFY(finished.isEmpty());
    QTest::mouseClick(abort, Qt::LeftButton);
    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(finished.constFirst().constFirst().toBool(), false);
    QVERIFY(!view->findChild<WndProgress*>());

    const int asked = int(m_fix.statements().filter(QStringLiteral("LogData")).size());
    QVERIFY2(asked >= 2 && asked < 10, qPrintable(QString::number(asked)));
    QTest::qWait(600);
    QCOMPARE(m_fix.statements().filter(QStringLiteral("LogData")).size(), asked);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("untouched"));
    // The view takes input again, and a later copy runs to its end.
    QVERIFY(view->hasSelection());
    m_fix.server->clearControls();
    view->slotCopyText();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 2, 10000);
    QCOMPARE(finished.last().constFirst().toBool(), true);
    QCOMPARE(QApplication::clipboard()->text().count(QLatin1String("\r\n")), 50000);
}

void tst_WndLogSelection::abortGivesTheFocusBackToTheView_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("toTheEnd"); // the view's top row after the key: the last, or one up

    QTest::newRow("Up scrolls the view a row up") << int(Qt::Key_Up) << false;
    QTest::newRow("End scrolls the view to the end") << int(Qt::Key_End) << true;
}

// In the main window the view stands beside the navigation tree, which is next in the focus
// chain: after "&Abort" of a copy the keys still go to the view, and none switches the page.
void tst_WndLogSelection::abortGivesTheFocusBackToTheView()
{
    QFETCH(int, key);
    QFETCH(bool, toTheEnd);

    QWidget window;
    auto* tree = new QTreeWidget(&window);
    for (const char* page : {"Users", "Groups", "Logs", "Queue"})
        new QTreeWidgetItem(tree, {QLatin1String(page)});
    tree->setCurrentItem(tree->topLevelItem(2));
    WndLog* view = createLogView(&window, m_fix.connection(), QStringLiteral("big"), Qt::Widget);
    auto* panes = new QHBoxLayout(&window);
    panes->addWidget(tree);
    panes->addWidget(view, 1);
    window.resize(700, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(settle(*view));
    QVERIFY(selectRows(*view, 100000, 150000));
    view->setFocus();
    QCOMPARE(QApplication::focusWidget(), view);

    QVERIFY(m_fix.server->delay(QStringLiteral("LogData"), 200));
    QSignalSpy finished(view, &WndLog::copyFinished);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    WndProgress* indicator = nullptr;
    QTRY_VERIFY((indicator = view->findChild<WndProgress*>()) && indicator->isVisible());
    QTest::mouseClick(indicator->findChild<QPushButton*>(QStringLiteral("btnAbort")), Qt::LeftButton);
    QTRY_COMPARE(finished.size(), 1);
    QCOMPARE(finished.constFirst().constFirst().toBool(), false);
    m_fix.server->clearControls();

    QCOMPARE(QApplication::focusWidget(), view);
    const qint64 top = view->topRow();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(tree->currentItem(), tree->topLevelItem(2));
    QCOMPARE(view->topRow(), toTheEnd ? qint64(BigLines) + 1 - view->visibleRows() : top - 1);
}

// Blocks that come back shorter than asked are continued where they ended.
void tst_WndLogSelection::copyWithShortAnswersMakesProgress()
{
    const std::unique_ptr<WndLog> view = showView(QStringLiteral("big"));
    QVERIFY(view);
    QVERIFY(settle(*view));
    const qint64 first = 200000;
    const qint64 last = first + 2000;
    QVERIFY(selectRows(*view, first, last));
    QVERIFY(m_fix.server->shortenAnswer(QStringLiteral("LogData"), 700));
    m_fix.mark();
    QSignalSpy finished(view.get(), &WndLog::copyFinished);
    view->slotCopyText();
    QVERIFY(finished.wait(10000) || finished.size() == 1);
    QCOMPARE(finished.constFirst().constFirst().toBool(), true);
    const QStringList expected{LogPager::logDataStatement(QStringLiteral("big"), quint64(first), 2001),
                               LogPager::logDataStatement(QStringLiteral("big"), quint64(first + 700), 1301),
                               LogPager::logDataStatement(QStringLiteral("big"), quint64(first + 1400), 601)};
    QCOMPARE(m_fix.statements(), expected);
    const QStringList lines = QApplication::clipboard()->text().split(QLatin1String("\r\n"));
    QCOMPARE(lines.size(), 2001);
    for (int i = 0; i < 2000; ++i)
        QCOMPARE(lines.at(i), StandIn::TestServer::syntheticLine(QStringLiteral("big"), quint64(first + i)));
    QCOMPARE(lines.last(), StandIn::TestServer::syntheticLine(QStringLiteral("big"), quint64(last)).left(4));
}

void tst_WndLogSelection::growthDoesNotScrollUnderASelection_data()
{
    QTest::addColumn<QString>("state");
    QTest::newRow("while a selection is dragged") << "dragging";
    QTest::newRow("with a selection") << "selected";
    QTest::newRow("without one the view follows") << "none";
}

// A log that grows under a selection only repaints: the rows stay where they were, and a
// drag ends on the row under the pointer.
void tst_WndLogSelection::growthDoesNotScrollUnderASelection()
{
    QFETCH(QString, state);
    const QString name = QStringLiteral("growing-") + state;
    m_fix.server->addLog(name, shortLines(0, ShortLines));
    const std::unique_ptr<WndLog> view = showView(name);
    QVERIFY(view);
    QVERIFY(settle(*view));
    QVERIFY(view->showsEnd());
    const qint64 top = view->topRow();
    const QPoint from = at(*view, top + 2, 3);
    const QPoint to = at(*view, top + 4, 6);
    if (state != QLatin1String("none")) {
        mouse(*view, QEvent::MouseButtonPress, from);
        mouse(*view, QEvent::MouseMove, to);
        if (state == QLatin1String("selected"))
            mouse(*view, QEvent::MouseButtonRelease, to);
    }

    QVERIFY(m_fix.server->appendLogLines(name, shortLines(ShortLines, 30)));
    QTRY_COMPARE(view->pager()->count(), quint32(ShortLines + 30));
    QTest::qWait(100);
    if (state == QLatin1String("none")) {
        QVERIFY(view->showsEnd());
        return;
    }
    QCOMPARE(view->topRow(), top);
    QVERIFY(!view->showsEnd());
    if (state == QLatin1String("dragging"))
        mouse(*view, QEvent::MouseButtonRelease, to);
    QVERIFY(view->hasSelection());
    QCOMPARE(view->selectionFirstRow(), top + 2);
    QCOMPARE(view->selectionLastRow(), top + 4);
    view->slotCopyText();
    const QStringList rows = shortLines(int(top + 2), 3);
    QCOMPARE(QApplication::clipboard()->text(),
             rows.at(0).mid(3) + "\r\n" + rows.at(1) + "\r\n" + rows.at(2).left(6));
}

void tst_WndLogSelection::renumberedLinesEndTheSelection_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("head trimmed") << "trim";
    QTest::newRow("rotated") << "rotate";
    QTest::newRow("cleared from the menu") << "clear";
    QTest::newRow("lines appended keep it") << "append";
}

void tst_WndLogSelection::renumberedLinesEndTheSelection()
{
    QFETCH(QString, change);
    const QString name = QStringLiteral("renumbered-") + change;
    m_fix.server->addLog(name, shortLines(0, ShortLines));
    const std::unique_ptr<WndLog> view = showView(name);
    QVERIFY(view);
    QVERIFY(settle(*view));
    const qint64 row = view->topRow() + 2;
    drag(*view, at(*view, row, 0), at(*view, row + 1, 5));
    QVERIFY(view->hasSelection());

    if (change == QLatin1String("trim"))
        QVERIFY(m_fix.server->trimLog(name, 5));
    else if (change == QLatin1String("rotate"))
        QVERIFY(m_fix.server->rotateLog(name));
    else if (change == QLatin1String("append"))
        QVERIFY(m_fix.server->appendLogLines(name, {QStringLiteral("one more")}));
    if (change == QLatin1String("clear")) {
        view->slotClearLog();
    } else {
        m_fix.server->pushLogUpdate(name);
    }
    const bool kept = change == QLatin1String("append");
    const quint32 before = quint32(ShortLines);
    QTRY_VERIFY_WITH_TIMEOUT(view->pager()->count() != before || view->pager()->base() != 0, 5000);
    QCOMPARE(view->hasSelection(), kept);
    view->slotCopyText();
    QCOMPARE(QApplication::clipboard()->text() == QLatin1String("untouched"), !kept);
}

void tst_WndLogSelection::fontChangeKeepsTheCurrentFontOnCancel_data()
{
    QTest::addColumn<bool>("accepted");
    QTest::newRow("a font chosen") << true;
    QTest::newRow("cancelled") << false;
}

void tst_WndLogSelection::fontChangeKeepsTheCurrentFontOnCancel()
{
    QFETCH(bool, accepted);
    const std::unique_ptr<WndLog> view = showView(QStringLiteral("short"));
    QVERIFY(view);
    QVERIFY(settle(*view));
    const QFont before = view->font();
    QFont larger = before;
    larger.setPixelSize(40);
    DialogRecorder recorder;
    recorder.answerFont(larger, accepted);
    view->slotSelectFont();
    QCOMPARE(recorder.fontCaptions.size(), 1);
    QCOMPARE(view->font(), accepted ? larger : before);
    QCOMPARE(view->lineHeight(), QFontMetrics(accepted ? larger : before).height());
}

void tst_WndLogSelection::menuOpensFromTheKeyboardAtTheCurrentLine_data()
{
    QTest::addColumn<QString>("asked");  // a key, or the request the window system makes
    // What the mouse did first: nothing, a "drag" over the second to the fourth line shown, a
    // "click" on the fifth, or a selection that ends "one past" the lines shown.
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("line");       // of the view, from its top, the menu opens below; -1: none

    QTest::newRow("the menu key") << "Menu" << "" << 0;
    QTest::newRow("Shift+F10") << "Shift+F10" << "" << 0;
    QTest::newRow("the menu key, a selection") << "Menu" << "drag" << 3;
    QTest::newRow("Shift+F10, a selection") << "Shift+F10" << "drag" << 3;
    QTest::newRow("the menu key, a selection ending one past the lines shown") << "Menu" << "one past" << 0;
    QTest::newRow("the menu key after a click, nothing selected") << "Menu" << "click" << 0;
    QTest::newRow("the window system's request from the keyboard") << "keyboard request" << "drag" << 3;
    // It sends the menu key itself after its request: the key goes to the menu open by then.
    QTest::newRow("the window system's request, then its menu key") << "keyboard request, menu key" << "drag" << 3;
    QTest::newRow("F10 alone") << "F10" << "" << -1;
    // The right button opens the menu as it is pressed; the request that follows, sent where
    // the pointer is, is not answered with a second one.
    QTest::newRow("the window system's request from the mouse") << "mouse request" << "" << -1;
}

// The view's menu, the only way to some of its entries, asked for without the mouse: it opens
// below the current line, at the left of its text.
void tst_WndLogSelection::menuOpensFromTheKeyboardAtTheCurrentLine()
{
    QFETCH(QString, asked);
    QFETCH(QString, before);
    QFETCH(int, line);

    const std::unique_ptr<WndLog> view = showView(QStringLiteral("short"));
    QVERIFY(view);
    QVERIFY(settle(*view));
    if (before == QLatin1String("one past")) {
        // From the fifth line down, the last line shown selected; then one line up.
        view->verticalScrollBar()->setValue(5);
        QVERIFY(settle(*view));
        const qint64 last = view->topRow() + view->visibleRows() - 1;
        drag(*view, at(*view, view->topRow() + 1, 0), at(*view, last, 2));
        QCOMPARE(view->selectionLastRow(), last);
        view->verticalScrollBar()->setValue(4);
        QVERIFY(settle(*view));
        QCOMPARE(view->selectionLastRow(), view->topRow() + view->visibleRows());
    }
    const qint64 top = view->topRow();
    if (before == QLatin1String("drag"))
        drag(*view, at(*view, top + 1, 0), at(*view, top + 3, 2));
    if (before == QLatin1String("click")) {
        mouse(*view, QEvent::MouseButtonPress, at(*view, top + 4, 2));
        mouse(*view, QEvent::MouseButtonRelease, at(*view, top + 4, 2));
    }
    QCOMPARE(view->hasSelection(), before == QLatin1String("drag") || before == QLatin1String("one past"));
    view->setFocus();
    QStringList opened;
    QPoint openedAt;
    // Each menu that opens is noted and closed; a second one would be noted as well.
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, view.get(), [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        opened.append(menu->actions().value(0) ? menu->actions().first()->text() : QString());
        openedAt = menu->pos();
        if (asked.endsWith(QLatin1String("menu key")))
            QTest::keyClick(menu, Qt::Key_Menu);
        menu->close();
    });
    closer.start();
    if (asked == QLatin1String("Menu"))
        QTest::keyClick(view.get(), Qt::Key_Menu);
    else if (asked == QLatin1String("Shift+F10"))
        QTest::keyClick(view.get(), Qt::Key_F10, Qt::ShiftModifier);
    else if (asked == QLatin1String("F10"))
        QTest::keyClick(view.get(), Qt::Key_F10);
    else {
        // The window system asks the widget with the keys from the keyboard, and the widget
        // under the pointer from the mouse: the view's viewport.
        const bool keyboard = asked.startsWith(QLatin1String("keyboard request"));
        QWidget* asking = keyboard ? static_cast<QWidget*>(view.get()) : view->viewport();
        QContextMenuEvent request(keyboard ? QContextMenuEvent::Keyboard : QContextMenuEvent::Mouse, QPoint(5, 5),
                                  asking->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(asking, &request);
    }
    QTest::qWait(50);
    if (line < 0) {
        QCOMPARE(opened, QStringList());
        return;
    }
    QCOMPARE(opened, QStringList{"&Copy"});
    QCOMPARE(openedAt, view->viewport()->mapToGlobal(QPoint(2, (line + 1) * view->lineHeight())));
}

QTEST_MAIN(tst_WndLogSelection)
#include "tst_wndlogselection.moc"
