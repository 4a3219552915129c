#include "untouchedflag.h"

UntouchedFlag::UntouchedFlag(const QString& stored, bool storedOn)
    : m_stored(stored)
    , m_storedOn(storedOn)
{
}

QString UntouchedFlag::textFor(bool on) const
{
    if (m_stored && on == m_storedOn)
        return *m_stored;
    return on ? QStringLiteral("1") : QStringLiteral("0");
}
