#include "digitsvalidator.h"

namespace {

int digitCount(qint64 number)
{
    int count = 1;
    for (; number >= 10; number /= 10)
        ++count;
    return count;
}

} // namespace

DigitsValidator::DigitsValidator(qint64 top, QObject* parent)
    : QValidator(parent)
    , m_top(top)
{
}

bool DigitsValidator::isDigits(const QString& text)
{
    if (text.isEmpty() || text.size() > MaxDigits)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

QValidator::State DigitsValidator::validate(QString& input, int&) const
{
    if (input.isEmpty())
        return Intermediate;
    if (!isDigits(input))
        return Invalid;
    if (m_top == NoTop)
        return Acceptable;
    const qint64 number = input.toLongLong();
    if (number <= m_top)
        return Acceptable;
    return input.size() > digitCount(m_top) ? Invalid : Intermediate;
}
