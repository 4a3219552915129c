#include "wholetexttip.h"

#include "shortenedtext.h"
#include "tiplinebreaker.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTextBoundaryFinder>
#include <QToolTip>

#include <algorithm>
#include <climits>
#include <optional>

namespace WholeTextTip {

namespace {

// The lines as a tool tip shows them as they stand: a tip takes markup, so every line is
// given as markup that holds the line as text; "pre" keeps every blank and breaks no line
// but those given. The two characters that stand for a frame's edges in the tip's document
// would be taken for edges and lost; the replacement character says something stood there.
QString markup(const QStringList& lines)
{
    QStringList escaped;
    escaped.reserve(lines.size());
    for (QString line : lines) {
        line.replace(QChar(0xFDD0), QChar::ReplacementCharacter).replace(QChar(0xFDD1), QChar::ReplacementCharacter);
        escaped.append(line.toHtmlEscaped());
    }
    return QStringLiteral("<p style=\"white-space:pre\">") + escaped.join(QLatin1String("<br>"))
           + QStringLiteral("</p>");
}

// What a tip takes around its lines, and the height of a line, learnt from a label set up
// as the toolkit sets up its tool tips, before any tip shows.
class TipMetrics
{
public:
    TipMetrics()
    {
        QLabel label;
        label.setFont(QToolTip::font());
        label.ensurePolished();
        label.setMargin(1 + label.style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth, nullptr, &label));
        label.setFrameStyle(QFrame::NoFrame);
        label.setAlignment(Qt::AlignLeft);
        label.setIndent(1);
        label.setWordWrap(true);
        const QFontMetrics metrics(label.font());
        // As the toolkit sizes its tips, for fonts of a small descent too.
        const QSize extra(1, metrics.descent() == 2 && metrics.ascent() >= 11 ? 1 : 0);
        const auto size = [&label, &extra](const QStringList& lines) {
            label.setText(markup(lines));
            return label.sizeHint() + extra;
        };
        const QString x = QStringLiteral("x");
        const QSize one = size({x});
        m_lineHeight = qMax(1, size({x, x}).height() - one.height());
        m_frame = QSize(one.width() - metrics.horizontalAdvance(x), one.height() - m_lineHeight);
    }

    QSize frame() const { return m_frame; }
    int lineHeight() const { return m_lineHeight; }

private:
    QSize m_frame;
    int m_lineHeight = 1;
};

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

    TextAmount(const QString& text, const QFontMetrics& metrics) : width(metrics.horizontalAdvance(text))
    {
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
        while (finder.toNextBoundary() > 0)
            ++characters;
    }
};

// The fewest characters to a line, from TipLineLength up, with which the capacity holds the
// whole text; none when it cannot hold it at all, or not in fewer than `narrower`.
std::optional<int> narrowestWholeLines(const QString& text, const TextAmount& amount, const QFontMetrics& metrics,
                                       const Capacity& capacity, int narrower = INT_MAX)
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
    // No line holds more characters than the text has.
    const int widest = int(qMin<qsizetype>(text.size(), INT_MAX));
    int fails = int(qMin<qint64>(qMax<qint64>(Narrowest, fewest - 1), widest));
    // Lines break after blanks, so the text needs a little more than the fewest: looked
    // for in growing steps from there, then between the last two.
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

// The toolkit's tip showing `tip`, which it places over the pointer where it does not fit
// below it.
QWidget* shownTip(const QString& tip)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        const auto* label = qobject_cast<QLabel*>(window);
        if (label && window->objectName() == QLatin1String("qtooltip_label") && label->text() == tip)
            return window;
    }
    return nullptr;
}

// The text as told beside the pointer: the room, how much it holds, the longest line
// allowed and the lines.
struct Telling
{
    Room room;
    Capacity capacity;
    int lineLength = INT_MAX;
    QStringList lines;
};

// Tells `text` in the room beside the pointer where it is told whole in the narrowest
// lines; else in the room that holds the most of it.
Telling tellBeside(const QString& text, const QList<Room>& rooms, const TipMetrics& tip,
                   const QFontMetrics& metrics)
{
    const auto capacityOf = [&tip](const Room& room) {
        return Capacity{(room.rect.height() - tip.frame().height()) / tip.lineHeight(),
                        room.rect.width() - tip.frame().width()};
    };
    const TextAmount amount(text, metrics);
    Telling telling{rooms.first(), {}, INT_MAX, {}};
    bool whole = false;
    for (const Room& room : rooms) {
        const std::optional<int> narrowest =
            narrowestWholeLines(text, amount, metrics, capacityOf(room), telling.lineLength);
        if (narrowest && *narrowest < telling.lineLength) {
            telling.room = room;
            telling.lineLength = *narrowest;
            whole = true;
        }
    }
    if (!whole) {
        const auto area = [&capacityOf](const Room& room) {
            const Capacity capacity = capacityOf(room);
            return qint64(qMax(0, capacity.lines)) * qMax(0, capacity.widest);
        };
        telling.room = *std::max_element(rooms.cbegin(), rooms.cend(),
                                         [&area](const Room& a, const Room& b) { return area(a) < area(b); });
    }
    telling.capacity = capacityOf(telling.room);
    telling.lines = tell(text, metrics, telling.capacity, telling.lineLength);
    return telling;
}

} // namespace

void show(const QPoint& pointer, const QString& text, QWidget* widget, const QRect& area)
{
    const QScreen* screen = QGuiApplication::screenAt(pointer);
    if (!screen)
        screen = widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    const QRect free = screen ? screen->availableGeometry() : QRect(pointer, QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    const QList<Room> rooms = roomsBeside(pointer, free);
    if (rooms.isEmpty())
        return;

    const TipMetrics tipMetrics;
    const QFontMetrics metrics(QToolTip::font());
    // The lines are measured in the tip's font, but characters of other fonts may make a
    // line taller or wider than that, and the window system may frame the tip: where it
    // turns out larger than its room, it is told again in rooms as much smaller.
    QMargins less;
    Telling telling;
    QWidget* shown = nullptr;
    for (int tries = 0; tries < 3; ++tries) {
        QList<Room> smaller = rooms;
        for (Room& room : smaller)
            room.rect = room.rect.marginsRemoved(less);
        telling = tellBeside(text, smaller, tipMetrics, metrics);
        const QString tip = markup(telling.lines);
        QToolTip::showText(pointer, tip, widget, area);
        shown = shownTip(tip);
        if (!shown)
            return;
        const QSize outer = shown->frameGeometry().size();
        const int taller = outer.height() - telling.room.rect.height();
        const int wider = outer.width() - telling.room.rect.width();
        if (taller <= 0 && wider <= 0)
            break;
        less += QMargins(0, 0, qMax(0, wider), qMax(0, taller));
    }
    const QSize outer = shown->frameGeometry().size();
    // Placed in the whole of its room, as near the pointer as it lets it.
    const auto room = std::find_if(rooms.cbegin(), rooms.cend(),
                                   [&telling](const Room& each) { return each.side == telling.room.side; });
    const QPoint place = placeIn(*room, outer, pointer);
    // Within the free area whatever happens.
    shown->move(qMax(free.left(), qMin(place.x(), free.right() + 1 - outer.width())),
                qMax(free.top(), qMin(place.y(), free.bottom() + 1 - outer.height())));
}

} // namespace WholeTextTip
