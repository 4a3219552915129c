#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

class QFontMetrics;
class QHelpEvent;
class QPoint;
class QWidget;

// What the widgets that show texts the server stores (ChoiceBox, ShortenedLabel) share: such
// a text may be of any length, and a widget that asked its layout for the room of the whole
// text would widen its dialog past the screen or its page past the window. Such a widget
// asks for the room of the whole text only up to the width of WidestText average characters
// (every text of the module's own fits within it), shows a text wider than its room
// shortened with an ellipsis, takes a share of the room its layout has to spare while it
// does (ShortenedGrowth), and gives the whole text as its tool tip.
namespace ShortenedText {

constexpr int WidestText = 48;

// A tool tip's lines hold at most this many characters as a reader counts them.
constexpr int TipLineLength = 80;

// The most room, in pixels, such a widget asks for its text in this font: `characters`
// average characters.
int widestText(const QFontMetrics& metrics, int characters = WidestText);

// The lines a tool tip tells `text` in. A line holds at most TipLineLength characters as a
// reader counts them (grapheme clusters: an emoji sequence, a letter with its accents) and
// is at most `widest` pixels wide in `metrics`, unless a single character is wider. It ends
// after the last blank it holds, but for one it begins with, or else after its last whole
// character; a line break of the text's own (CR, LF, CR LF, U+2028, U+2029) ends a line too
// and is dropped. The lines together hold every other character of the text, in its order.
QStringList tipLines(const QString& text, const QFontMetrics& metrics, int widest);

// Shows `text` whole as the tool tip of `widget` at `globalPos`, in the tip lines of the
// tool tips' font that the widget's screen holds, literally: whatever the text holds (`<`,
// `&`, tags, entities, runs of blanks) is text, never markup. With `area` (in the widget's
// coordinates), the tip goes once the mouse leaves it.
void showWholeText(const QPoint& globalPos, const QString& text, QWidget* widget, const QRect& area = {});

// Answers a tool-tip event of `widget` with the whole of `text` when the text is wider than
// `room` in `metrics`; false, doing nothing, when it fits.
bool tellWholeText(const QHelpEvent* event, QWidget* widget, const QFontMetrics& metrics,
                   const QString& text, int room);

} // namespace ShortenedText
