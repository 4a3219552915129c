#include "digitsvalidator.h"

DigitsValidator::DigitsValidator(qint64 bottom, qint64 top, QObject* parent)
    : QValidator(parent)
    , m_bottom(bottom)
    , m_top(top)
{
}

void DigitsValidator::setRange(qint64 bottom, qint64 top)
{
    m_bottom = bottom;
    m_top = top;
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
    const qint64 number = input.toLongLong();
    return number >= m_bottom && number <= m_top ? Acceptable : Intermediate;
}
