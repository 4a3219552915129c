#pragma once

#include "cellnumbers.h"
#include "rowcells.h"

#include <QString>

// How the delivery lists read their rows and turn values into cell texts and sort keys.
namespace DeliveryTexts {

using RowCells::cell;
using RowCells::setCell;
// The delivery pages read a number from the start of its cell, as C's strtol does
// ("12abc" is 12), within an int.
using CellNumbers::leadingInt;

// tr("Yes") for a number that is not 0, tr("No") for 0.
QString yesNo(int value);

// A number (a size, a count, a port, seconds) as a sort key: the number with leading zeros
// to ten digits, so that numbers sort by value up to the largest an int holds; a negative
// number sorts before every other.
QString sizeKey(const QString& text);

// Seconds as hours, minutes and seconds, "%02d:%02d:%02d"; the hours take as many digits
// as they need and are not folded into days.
QString durationText(int seconds);

// An IPv4 address in dotted notation, as the system reads one, as a sort key: the address
// as an 18-digit number, so that addresses sort by value. Any other text reads as all
// ones, as the system's inet_addr gives it, and sorts with 255.255.255.255.
QString addressKey(const QString& text);

// The text between an opening character and its closing one, such as a header name in
// "{Received}": the first character dropped, and the last one only when it is `close` and
// not the opening one itself, so a name typed without its closing character keeps its
// last letter.
QString enclosedText(const QString& text, QChar close);

// The group a recipient written "[" + name + "]" names: the text without its first and
// its last character, whatever the last one is (empty for fewer than two characters). A
// group typed without its closing bracket thus names a shorter one, which is not found:
// the dialogs ask about it instead of letting the malformed text through.
QString bracketedGroup(const QString& recipient);

} // namespace DeliveryTexts
