#pragma once

#include <QString>
#include <QtGlobal>

class QLineEdit;

// The rule of every field that takes a number, in pages, dialogs and wizards alike.
//
// A number field takes only the digits a person types (DigitsValidator), whatever the
// locale: no group separators, so that "1,234" can never be typed and read back as 1. A
// field with a top takes, while typing, what an integer validator up to that top takes:
// numbers above the top of no more digits than it has stay as typed.
//
// What the field shows is what is written: its text, or, for an amount in a unit, that
// number of the unit, never a number read from part of the text nor one cut to a range.
// The console asks no question of its own about such a number: the server's answer
// decides. Only a number the console cannot hold at all is stopped: one whose product
// with its unit lies beyond the column it is written to (fits). Then the administrator is
// told so and sent back to the field, and nothing of that apply or OK goes out: a typed
// value never vanishes while the rest of an edit is sent.
namespace NumberFields {

// Makes `field` a number field that takes what an integer validator from 0 to top takes
// while typing (again, after a field that takes a number only in one of its modes took other
// text: setValidator(nullptr)).
void acceptDigits(QLineEdit* field, qint64 top);
// Makes `field` a number field for any number of digits: a field that has no range of its
// own, whose text is written as typed.
void acceptAnyDigits(QLineEdit* field);

// The number the field shows; an empty text counts as 0.
qint64 shownNumber(const QLineEdit* field);

// The highest value of a 32-bit signed column.
constexpr qint64 IntColumnTop = 2147483647;

// Whether the number shown, times factor, is a value of a column whose values go up to
// columnTop: an empty field always is.
bool fits(const QLineEdit* field, qint64 factor, qint64 columnTop);
// The highest number the field may show for such a column: columnTop / factor.
qint64 highestFitting(qint64 factor, qint64 columnTop);

// "<what> must be a number from 0 to <columnTop / factor>[ <unit>]."
QString beyondColumnText(const QString& what, qint64 factor, qint64 columnTop,
                         const QString& unit = {});

// The check a dialog runs on OK for one field: true when the number fits; otherwise the
// administrator is told (beyondColumnText, one OK button), the focus goes to the field, on
// its tab, and false: the dialog stays open and nothing is written.
bool confirmFits(const QString& what, QLineEdit* field, qint64 factor, qint64 columnTop,
                 const QString& unit = {});

} // namespace NumberFields
