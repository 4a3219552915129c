#pragma once

#include <QString>

class QFontMetrics;
class QHelpEvent;
class QWidget;

// What the widgets that show texts the server stores (ChoiceBox, ShortenedLabel) share: such
// a text may be of any length, and a widget that asked its layout for the room of the whole
// text would widen its dialog past the screen or its page past the window. Such a widget
// asks for the room of the whole text only up to the width of WidestText average characters
// (every text of the module's own fits within it), shows a text wider than its room
// shortened with an ellipsis, and gives the whole text as its tool tip.
namespace ShortenedText {

constexpr int WidestText = 48;

// The most room, in pixels, such a widget asks for its text in this font: `characters`
// average characters.
int widestText(const QFontMetrics& metrics, int characters = WidestText);

// The whole text as a tool tip shows it: in lines the screen can hold, broken after blanks
// where there are any.
QString wholeTextTip(const QString& text);

// Answers a tool-tip event of `widget` with the whole of `text` when the text is wider than
// `room` in `metrics`; false, doing nothing, when it fits.
bool tellWholeText(const QHelpEvent* event, QWidget* widget, const QFontMetrics& metrics,
                   const QString& text, int room);

} // namespace ShortenedText
