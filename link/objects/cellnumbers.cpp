#include "cellnumbers.h"

#include "rowcells.h"

#include <limits>

namespace CellNumbers {

namespace {

// C's isspace in the "C" locale.
bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || (c >= QLatin1Char('\t') && c <= QLatin1Char('\r'));
}

} // namespace

qint64 leadingNumber(const QString& text)
{
    const qsizetype length = text.size();
    qsizetype i = 0;
    while (i < length && isBlank(text.at(i)))
        ++i;
    bool negative = false;
    if (i < length && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    // Summed below zero: the negative range reaches one further than the positive.
    constexpr qint64 lowest = std::numeric_limits<qint64>::min();
    qint64 value = 0;
    for (; i < length && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'); ++i) {
        const int digit = text.at(i).unicode() - '0';
        if (value < (lowest + digit) / 10) {
            value = lowest;
            break;
        }
        value = value * 10 - digit;
    }
    if (negative)
        return value;
    return value == lowest ? std::numeric_limits<qint64>::max() : -value;
}

int leadingInt(const QString& text)
{
    return int(qBound(qint64(std::numeric_limits<int>::min()), leadingNumber(text),
                      qint64(std::numeric_limits<int>::max())));
}

int wholeNumber(const QString& text)
{
    return text.toInt();
}

int wholeNumber(const DBRow* row, const char* name)
{
    return wholeNumber(RowCells::cell(row, name));
}

} // namespace CellNumbers
