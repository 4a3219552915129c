#pragma once

#include <QValidator>
#include <QtGlobal>

// The validator of every number field: it takes the decimal digits 0-9 a person types and
// nothing else, whatever the locale (no group separators, no sign, no blanks, no digits of
// another script), so that the text shown is always exactly the number that is written.
//
// The range is not enforced while typing: a number outside it stays as typed (Intermediate),
// because refusing the keystroke or cutting the number would put a number nobody entered in
// the field. Whoever writes the field asks about such a number instead (numberfields.h).
// At most MaxDigits digits are taken, so every text reads exactly as a 64-bit number.
class DigitsValidator : public QValidator
{
    Q_OBJECT

public:
    static constexpr int MaxDigits = 18;

    DigitsValidator(qint64 bottom, qint64 top, QObject* parent);

    State validate(QString& input, int& pos) const override;

    qint64 bottom() const { return m_bottom; }
    qint64 top() const { return m_top; }
    void setRange(qint64 bottom, qint64 top);

    // Whether text is digits alone (at least one, at most MaxDigits), any number.
    static bool isDigits(const QString& text);

private:
    qint64 m_bottom;
    qint64 m_top;
};
