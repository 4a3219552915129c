#pragma once

#include <QString>
#include <QtGlobal>

class QLineEdit;

// The rule of every field that takes a number, in pages, dialogs and wizards alike.
//
// A number field takes only the digits a person types (DigitsValidator), whatever the
// locale: no group separators, so that "1,234" can never be typed and read back as 1. What
// is written is exactly the number the field shows: its text, or, for an amount in a unit,
// that number of the unit, never a number read from part of the text nor one cut to the
// column's size. A number outside the field's range is not written: before the page applies
// or the dialog closes, the administrator is asked about it ("... must be a number from 0
// to 65535.\nDo you want to correct the problem?"). Yes or Cancel: the focus goes to the
// field, its tab brought forward (FieldFocus). No: everything else goes on and the number
// is left out: the column keeps what it held, and a page shows, once applied, what the
// server holds.
//
// An empty field is no number, but is written as it stands: the checks that require a
// value ask for it themselves. So is a text nobody has typed in since the program set it
// (QLineEdit::isModified): that is what the server holds, or a value the program proposes,
// even when it lies outside the range.
namespace NumberFields {

// Makes `field` a number field for numbers from bottom to top (again, after a field that
// takes a number only in one of its modes took other text: setValidator(nullptr)).
void acceptDigits(QLineEdit* field, qint64 bottom, qint64 top);
// A field whose range depends on another widget (an amount's unit) changes it.
void setRange(QLineEdit* field, qint64 bottom, qint64 top);
qint64 bottom(const QLineEdit* field);
qint64 top(const QLineEdit* field);

// Whether the field shows a number of its range.
bool holdsNumber(const QLineEdit* field);
// Whether the field's text may be written: a number of its range, nothing, or a text the
// administrator has not edited.
bool isWritable(const QLineEdit* field);

// "<what> must be a number from <bottom> to <top>[ <unit>].\nDo you want to correct the
// problem?"
QString rangeQuestion(const QString& what, const QLineEdit* field, const QString& unit = {});

// The check a dialog runs on OK for one field: true when the dialog may go on (the field is
// writable, or the administrator answered No and the number is to be left out); false, with
// the focus on the field, when the administrator wants to correct it, and also when the
// field went while the question was up.
bool confirmWritable(const QString& what, QLineEdit* field, const QString& unit = {});

} // namespace NumberFields
