#include "sortkey.h"

#include <QCollator>
#include <QLocale>

namespace {

// Which keys may be compared without their collation key, and how; see sortkey.h.
enum class Shortcut {
    Everything, // the "C" locale: the collation is the order of the character codes
    AsciiWords, // English: keys of blanks, digits and the letters a to z and A to Z
    Digits,     // any other language: keys of digits alone
};

// The collation of the locale the application runs under, as it is when the first key is
// made (after the application object exists): a long sort makes a key per row, and asking
// for the locale each time would cost as much as the key. Lists sort on the GUI thread
// only. A plain static, not a thread-local one: the module must be unloadable, and a
// thread-local object with a destructor would keep it loaded for the thread's life.
struct Collation
{
    Collation()
        : collator(QLocale().collation())
        , shortcut(shortcutOf(collator.locale().language()))
    {
    }

    static Shortcut shortcutOf(QLocale::Language language)
    {
        if (language == QLocale::C)
            return Shortcut::Everything;
        // Not every language orders the letters a to z as English does (Danish puts "aa"
        // after "z").
        return language == QLocale::English ? Shortcut::AsciiWords : Shortcut::Digits;
    }

    QCollator collator;
    Shortcut shortcut;
};

const Collation& collation()
{
    static const Collation held;
    return held;
}

bool isAsciiWord(const QString& text, bool lettersToo)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool digit = u >= '0' && u <= '9';
        const bool wordPart = u == ' ' || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
        if (!digit && !(lettersToo && wordPart))
            return false;
    }
    return true;
}

bool needsNoCollationKey(const QString& text)
{
    switch (collation().shortcut) {
    case Shortcut::Everything: return true;
    case Shortcut::AsciiWords: return isAsciiWord(text, true);
    case Shortcut::Digits: return isAsciiWord(text, false);
    }
    return false;
}

// The first eight characters of a text as compare() orders them (small letters for capitals
// when `fold`), the first in the highest byte, a shorter text padded with zero bytes: two
// heads that differ order their texts as comparing the characters' codes does. Only
// characters of one byte fit; false for a text that has another among its first eight.
bool headOf(const QString& text, bool fold, quint64* head)
{
    constexpr int Characters = 8;
    quint64 packed = 0;
    for (int i = 0; i < Characters; ++i) {
        char16_t u = i < text.size() ? text.at(i).unicode() : 0;
        if (u > 0xff)
            return false;
        if (fold && u >= 'A' && u <= 'Z')
            u += 'a' - 'A';
        packed = packed << 8 | u;
    }
    *head = packed;
    return true;
}

} // namespace

SortKey::SortKey(const QString& text)
    : m_text(text)
    , m_plain(needsNoCollationKey(text))
    // English collation orders blanks, digits and letters first as the letters' codes do
    // regardless of case (blanks, then digits, then a to z), and only then, at the first
    // letter whose case differs, a small letter before its capital. Compared ignoring case,
    // such keys of ASCII alone order as their small-letter forms do, which thus need no copy.
    , m_fold(m_plain && collation().shortcut == Shortcut::AsciiWords)
{
    m_hasHead = m_plain && headOf(m_text, m_fold, &m_head);
}

int SortKey::compare(const SortKey& other) const
{
    if (m_hasHead && other.m_hasHead && m_head != other.m_head)
        return m_head < other.m_head ? -1 : 1;
    if (m_plain && other.m_plain) {
        const int folded = QString::compare(m_text, other.m_text,
                                            m_fold ? Qt::CaseInsensitive : Qt::CaseSensitive);
        return folded != 0 ? folded : QString::compare(other.m_text, m_text);
    }
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
