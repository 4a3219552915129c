#include "sortkey.h"

#include <QCollator>
#include <QLocale>

namespace {

bool isDigitsOnly(const QString& text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// The collation of the locale the application runs under. Made on first use, after the
// application object exists, and made again only when the default locale has changed.
const QCollator& collator()
{
    struct Collation
    {
        QLocale source;
        QCollator collator;
    };
    thread_local std::optional<Collation> held;
    const QLocale current;
    if (!held || held->source != current)
        held.emplace(Collation{current, QCollator(current.collation())});
    return held->collator;
}

} // namespace

SortKey::SortKey(const QString& text)
    : m_text(text)
    , m_digitsOnly(isDigitsOnly(text))
{
}

int SortKey::compare(const SortKey& other) const
{
    if (m_digitsOnly && other.m_digitsOnly)
        return QString::compare(m_text, other.m_text);
    return collated().compare(other.collated());
}

const QCollatorSortKey& SortKey::collated() const
{
    if (!m_collated)
        m_collated.emplace(collator().sortKey(m_text));
    return *m_collated;
}

int compareAsSortKeys(const QString& a, const QString& b)
{
    return SortKey(a).compare(SortKey(b));
}
