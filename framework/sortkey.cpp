#include "sortkey.h"

#include <QCollator>
#include <QLocale>

namespace {

// The collation of the locale the application runs under, as it is when the first key is
// made (after the application object exists): a long sort makes a key per row, and asking
// for the locale each time would cost as much as the key. Lists sort on the GUI thread
// only. A plain static, not a thread-local one: the module must be unloadable, and a
// thread-local object with a destructor would keep it loaded for the thread's life.
struct Collation
{
    Collation()
        : collator(QLocale().collation())
        , lowerCaseInCodeOrder(collator.locale().language() == QLocale::English
                               || collator.locale().language() == QLocale::C)
    {
    }

    QCollator collator;
    // Blanks, digits and the small letters a to z order as their character codes do: true
    // of English, not of every language (Danish puts "aa" after "z").
    bool lowerCaseInCodeOrder;
};

const Collation& collation()
{
    static const Collation held;
    return held;
}

// Texts the collation orders exactly as their characters' codes: there a plain
// comparison gives the same order for much less than a collation key costs.
bool comparesAsCodes(const QString& text)
{
    const bool letters = collation().lowerCaseInCodeOrder;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool plain = (u >= '0' && u <= '9') || (letters && (u == ' ' || (u >= 'a' && u <= 'z')));
        if (!plain)
            return false;
    }
    return true;
}

} // namespace

SortKey::SortKey(const QString& text)
    : m_text(text)
    , m_codeOrder(comparesAsCodes(text))
{
}

int SortKey::compare(const SortKey& other) const
{
    if (m_codeOrder && other.m_codeOrder)
        return QString::compare(m_text, other.m_text);
    return collated().compare(other.collated());
}

const QCollatorSortKey& SortKey::collated() const
{
    if (!m_collated)
        m_collated.emplace(collation().collator.sortKey(m_text));
    return *m_collated;
}

int compareAsSortKeys(const QString& a, const QString& b)
{
    return SortKey(a).compare(SortKey(b));
}
