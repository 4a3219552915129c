#pragma once

#include <QString>

class QFontMetrics;

// What the widgets that show texts the server stores (ChoiceBox, ShortenedLabel) share: such
// a text may be of any length and hold line breaks, and a widget that asked its layout for
// the room of the whole text would widen its dialog past the screen or its page past the
// window. Such a widget shows the text on one line, asks for the room of that line only up
// to the width of WidestText average characters (every text of the module's own fits within
// it), shows a line wider than its room shortened with an ellipsis, takes a share of the
// room its layout has to spare while it does (ShortenedGrowth), and gives the whole text as
// its tool tip exactly when what it shows is not all of it.
namespace ShortenedText {

constexpr int WidestText = 48;

// A tool tip's lines hold at most this many characters as a reader counts them, unless the
// tip would not fit on the screen otherwise.
constexpr int TipLineLength = 80;

// How many characters of `text` the line break at `at` takes: 2 for CR LF, 1 for a CR, LF,
// U+2028 or U+2029 standing alone, 0 where no line break stands.
qsizetype lineBreakAt(const QString& text, qsizetype at);

// The most room, in pixels, such a widget asks for its text in this font: `characters`
// average characters.
int widestText(const QFontMetrics& metrics, int characters = WidestText);

// `text` as a single line shows it: each line break it holds (lineBreakAt) as a blank, as a
// choice box's list shows a line feed, and each tab as a blank, as the toolkit draws a line
// without tab stops. A string terminator (U+009C) would end what the toolkit draws of a
// line; it shows as the replacement character.
QString oneLine(const QString& text);

// `line`, a single line, as a room of `room` pixels in `metrics` shows it: whole when it
// fits, else its beginning and an ellipsis.
QString shortenedLine(const QFontMetrics& metrics, const QString& line, int room);

} // namespace ShortenedText
