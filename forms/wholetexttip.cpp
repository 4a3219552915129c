#include "wholetexttip.h"

#include "shortenedtext.h"
#include "tiplinebreaker.h"
#include "tipmetrics.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QTextBoundaryFinder>
#include <QToolTip>

#include <algorithm>
#include <climits>
#include <optional>

namespace WholeTextTip {

namespace {

// How much a tip in some room may hold: lines, and pixels to a line.
struct Capacity
{
    int lines = 0;
    int widest = 0;

    bool holdsAnything() const { return lines > 0 && widest > 0; }
};

// The first lines that tell `text` in lines of at most `lineLength` characters, as many as
// the capacity holds; `whole` says whether they hold it all.
QStringList firstLines(const QString& text, const QFontMetrics& metrics, const Capacity& capacity, int lineLength,
                       bool* whole)
{
    TipLineBreaker breaker(text, metrics, capacity.widest, lineLength);
    QStringList lines;
    do
        lines.append(breaker.next());
    while (!breaker.atEnd() && lines.size() < capacity.lines);
    *whole = breaker.atEnd();
    return lines;
}

bool holdsWhole(const QString& text, const QFontMetrics& metrics, const Capacity& capacity, int lineLength)
{
    bool whole = false;
    firstLines(text, metrics, capacity, lineLength, &whole);
    return whole;
}

// The lines that tell `text` as far as the capacity holds it; where they do not hold it all,
// the last of them ends with an ellipsis, after as much of its line as the room then holds.
QStringList tell(const QString& text, const QFontMetrics& metrics, const Capacity& capacity, int lineLength)
{
    bool whole = false;
    QStringList lines = firstLines(text, metrics, capacity, lineLength, &whole);
    if (whole)
        return lines;
    const QString ellipsis(QChar(0x2026));
    QString& last = lines.last();
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, last);
    characters.toEnd();
    while (!last.isEmpty() && metrics.horizontalAdvance(last + ellipsis) > capacity.widest) {
        characters.toPreviousBoundary();
        last.truncate(characters.position());
    }
    last += ellipsis;
    return lines;
}

// How much there is of a text to tell: its characters as a reader counts them, and its width
// laid end to end on one line.
struct TextAmount
{
    qint64 characters = 0;
    qint64 width = 0;
};

TextAmount amountOf(const QString& text, const QFontMetrics& metrics)
{
    TextAmount amount{0, metrics.horizontalAdvance(text)};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    while (finder.toNextBoundary() > 0)
        ++amount.characters;
    return amount;
}

// The fewest characters to a line, from TipLineLength up, with which the capacity holds the
// whole text; none when it cannot hold it at all, or not in fewer than `narrower`.
std::optional<int> narrowestWholeLines(const QString& text, const TextAmount& amount, const QFontMetrics& metrics,
                                       const Capacity& capacity, int narrower)
{
    constexpr int Narrowest = ShortenedText::TipLineLength;
    // The text's lines laid end to end fill the room's at the most, and in lines of so many
    // characters they hold no more than so many each: neither needs them broken to know.
    if (!capacity.holdsAnything() || amount.width > qint64(capacity.lines) * capacity.widest)
        return {};
    const qint64 fewest = (amount.characters + capacity.lines - 1) / capacity.lines;
    if (fewest >= narrower)
        return {};
    if (fewest <= Narrowest && holdsWhole(text, metrics, capacity, Narrowest))
        return Narrowest;
    // No line holds more characters than the text has, nor than its room has pixels.
    const int widest = int(qMin<qint64>(qMin<qint64>(text.size(), capacity.widest), INT_MAX));
    int fails = int(qMin<qint64>(qMax<qint64>(Narrowest, fewest - 1), widest));
    // Lines break after blanks, so the text needs a little more than the fewest: looked for
    // in growing steps from there, then between the last two.
    int holds = fails;
    for (int step = qMax(8, fails / 32); holds < widest; step *= 2) {
        holds = qMin(widest, fails + step);
        if (holdsWhole(text, metrics, capacity, holds))
            break;
        if (holds == widest)
            return {};
        fails = holds;
    }
    if (holds <= fails)
        return {};
    while (holds - fails > 1) {
        const int middle = fails + (holds - fails) / 2;
        (holdsWhole(text, metrics, capacity, middle) ? holds : fails) = middle;
    }
    return holds;
}

enum class Side { Below, Above, Right, Left };

struct Room
{
    Side side = Side::Below;
    QRect rect;
};

// The rooms beside the pointer within the screen's free area, in the order a tip is looked
// for in: below it, as tips usually are, above it, and to either side.
QList<Room> roomsBeside(const QPoint& pointer, const QRect& free)
{
    const QRect reach(pointer - QPoint(PointerReachBefore, PointerReachBefore),
                      pointer + QPoint(PointerReachAfter, PointerReachAfter));
    const QList<Room> rooms{
        {Side::Below, QRect(QPoint(free.left(), reach.bottom() + 1), free.bottomRight())},
        {Side::Above, QRect(free.topLeft(), QPoint(free.right(), reach.top() - 1))},
        {Side::Right, QRect(QPoint(reach.right() + 1, free.top()), free.bottomRight())},
        {Side::Left, QRect(free.topLeft(), QPoint(reach.left() - 1, free.bottom()))},
    };
    QList<Room> valid;
    std::copy_if(rooms.cbegin(), rooms.cend(), std::back_inserter(valid),
                 [](const Room& room) { return room.rect.isValid(); });
    return valid;
}

// Where a tip of `size` goes in its room: as near the pointer as the room lets it.
QPoint placeIn(const Room& room, const QSize& size, const QPoint& pointer)
{
    const QRect& r = room.rect;
    const int x = qMax(r.left(), qMin(pointer.x(), r.right() + 1 - size.width()));
    const int y = qMax(r.top(), qMin(pointer.y(), r.bottom() + 1 - size.height()));
    switch (room.side) {
    case Side::Below:
        return {x, r.top()};
    case Side::Above:
        return {x, r.bottom() + 1 - size.height()};
    case Side::Right:
        return {r.left(), y};
    case Side::Left:
        return {r.right() + 1 - size.width(), y};
    }
    return r.topLeft();
}

// The text as told beside the pointer: its room and its lines.
struct Telling
{
    Room room;
    QStringList lines;
};

// Tells `text` in the room where it is told whole in the narrowest lines; else in the room
// that holds the most of it.
Telling tellIn(const QList<Room>& rooms, const QString& text, const TextAmount& amount, const TipMetrics& tip,
               const QFontMetrics& metrics)
{
    const auto capacityOf = [&tip](const Room& room) {
        return Capacity{(room.rect.height() - tip.frame().height()) / tip.lineHeight(),
                        room.rect.width() - tip.frame().width()};
    };
    std::optional<Room> chosen;
    int lineLength = INT_MAX;
    for (const Room& room : rooms) {
        const std::optional<int> narrowest = narrowestWholeLines(text, amount, metrics, capacityOf(room), lineLength);
        if (narrowest && *narrowest < lineLength) {
            chosen = room;
            lineLength = *narrowest;
        }
    }
    if (!chosen) {
        const auto area = [&capacityOf](const Room& room) {
            const Capacity capacity = capacityOf(room);
            return qint64(qMax(0, capacity.lines)) * qMax(0, capacity.widest);
        };
        chosen = *std::max_element(rooms.cbegin(), rooms.cend(),
                                   [&area](const Room& a, const Room& b) { return area(a) < area(b); });
    }
    return {*chosen, tell(text, metrics, capacityOf(*chosen), lineLength)};
}

// Tells `text` beside the pointer so that the tip, as it will show with `frame` around it,
// fits its room: where a line of characters from other fonts turns out taller or wider than
// the tips' font measures it, the text is told again in rooms as much smaller.
Telling tellFitting(const QList<Room>& rooms, const QString& text, const QMargins& frame)
{
    const TipMetrics tip;
    const QFontMetrics metrics(QToolTip::font());
    const TextAmount amount = amountOf(text, metrics);
    QMargins less = frame;
    Telling telling;
    for (int tries = 0; tries < 3; ++tries) {
        QList<Room> smaller = rooms;
        for (Room& room : smaller)
            room.rect = room.rect.marginsRemoved(less);
        telling = tellIn(smaller, text, amount, tip, metrics);
        const QSize size = tip.sizeOf(telling.lines);
        const int wider = size.width() - telling.room.rect.width();
        const int taller = size.height() - telling.room.rect.height();
        if (wider <= 0 && taller <= 0)
            break;
        less += QMargins(0, 0, qMax(0, wider), qMax(0, taller));
    }
    // The tip is placed in the whole of its room.
    telling.room = *std::find_if(rooms.cbegin(), rooms.cend(),
                                 [&telling](const Room& room) { return room.side == telling.room.side; });
    return telling;
}

QMargins frameOf(const QWidget* window)
{
    const QRect inner = window->geometry();
    const QRect outer = window->frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

// Shows the lines as the toolkit's tip, which it places where it would, and returns that tip.
QWidget* shownTip(const Telling& telling, const QPoint& pointer, QWidget* widget, const QRect& area)
{
    const QString tip = TipMetrics::markup(telling.lines);
    QToolTip::showText(pointer, tip, widget, area);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const auto* label = qobject_cast<QLabel*>(window);
        if (label && window->objectName() == QLatin1String("qtooltip_label") && label->text() == tip)
            return window;
    }
    return nullptr;
}

bool fits(const QWidget* tip, const Room& room)
{
    const QSize outer = tip->frameGeometry().size();
    return outer.width() <= room.rect.width() && outer.height() <= room.rect.height();
}

} // namespace

// The toolkit places a tip that does not fit below the pointer over it, where the pointer
// leaves the widget for the tip and the tip goes at once; it is moved beside the pointer.
void show(const QPoint& pointer, const QString& text, QWidget* widget, const QRect& area)
{
    const QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen)
        screen = widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    const QRect free = screen ? screen->availableGeometry() : QRect(pointer, QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    const QList<Room> rooms = roomsBeside(pointer, free);
    if (rooms.isEmpty())
        return;

    Telling telling = tellFitting(rooms, text, QMargins());
    QWidget* tip = shownTip(telling, pointer, widget, area);
    // A window system that frames its tips says how once one shows.
    if (tip && !fits(tip, telling.room) && !frameOf(tip).isNull()) {
        telling = tellFitting(rooms, text, frameOf(tip));
        tip = shownTip(telling, pointer, widget, area);
    }
    if (!tip)
        return;
    const QSize outer = tip->frameGeometry().size();
    const QPoint place = placeIn(telling.room, outer, pointer);
    // A tip larger than any room still stays on the screen.
    tip->move(qMax(free.left(), qMin(place.x(), free.right() + 1 - outer.width())),
              qMax(free.top(), qMin(place.y(), free.bottom() + 1 - outer.height())));
}

} // namespace WholeTextTip
