#pragma once

#include <QValidator>
#include <QtGlobal>

// The validator of every number field: it takes the decimal digits 0-9 a person types and
// nothing else, whatever the locale (no group separators, no sign, no blanks, no digits of
// another script), so that the text shown is always exactly the number that is written.
//
// With a top, it lets through what the toolkit's integer validator from 0 to that top lets
// through while typing: any number of no more digits than the top has, in range or not
// (a number above the top stays as typed, Intermediate), and beyond that only a number up to
// the top written with leading zeros. A keystroke is refused, never a number cut or put
// back: what the field shows is what was typed. Without a top it takes any number of up to
// MaxDigits digits, so every text reads exactly as a 64-bit number.
class DigitsValidator : public QValidator
{
    Q_OBJECT

public:
    static constexpr int MaxDigits = 18;
    static constexpr qint64 NoTop = -1;

    DigitsValidator(qint64 top, QObject* parent);

    State validate(QString& input, int& pos) const override;

    qint64 top() const { return m_top; }
    void setTop(qint64 top) { m_top = top; }

    // Whether text is digits alone (at least one, at most MaxDigits), any number.
    static bool isDigits(const QString& text);

private:
    qint64 m_top;
};
