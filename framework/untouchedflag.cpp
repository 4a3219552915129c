#include "untouchedflag.h"

void UntouchedFlag::show(const QString& stored, bool shownOn)
{
    m_stored = stored;
    m_shownOn = shownOn;
}

QString UntouchedFlag::textFor(bool on) const
{
    if (on == m_shownOn)
        return m_stored;
    return on ? QStringLiteral("1") : QStringLiteral("0");
}
