#pragma once

#include <QRect>
#include <QString>

class QPoint;
class QWidget;

// The tool tip that tells a stored text whole where a widget shows it shortened.
//
// It shows the text literally, in lines of at most ShortenedText::TipLineLength characters
// (tiplinebreaker.h); where that many lines would be taller than the room beside the
// pointer, the lines widen toward the width of the screen first. It lies beside the
// pointer, never under it, so that it stays while the pointer rests on what it tells, and
// within the screen's free area. Only a text that no tip beside the pointer could hold is
// told as far as the largest such room holds, ending with an ellipsis.
namespace WholeTextTip {

// How far a pointer's shape may reach from its hot spot, which the tip keeps clear of: an
// arrow reaches down and to the right, a text cursor also up and to the left.
constexpr int PointerReachBefore = 16;
constexpr int PointerReachAfter = 32;

// Shows `text` whole as the tool tip of `widget` for the pointer at `pointer` (global).
// With `area` (in the widget's coordinates), the tip goes once the mouse leaves it.
void show(const QPoint& pointer, const QString& text, QWidget* widget, const QRect& area = {});

} // namespace WholeTextTip
