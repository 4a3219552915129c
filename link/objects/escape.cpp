#include "escape.h"

namespace {

struct EscapePair
{
    char16_t character;
    char16_t replacement;
};

// The statement parser reads exactly these pairs back.
constexpr EscapePair escapePairs[] = {
    {u'\\', u'\\'},
    {u'"', u'"'},
    {u'\'', u'\''},
    {u'\n', u'n'},
    {u'\r', u'r'},
    {u'\t', u't'},
};

char16_t replacementFor(char16_t c)
{
    for (const EscapePair &pair : escapePairs) {
        if (pair.character == c)
            return pair.replacement;
    }
    return 0;
}

} // namespace

QString escape(const QString &text)
{
    QString escaped;
    if (text.isEmpty())
        return escaped;
    escaped.reserve(text.size() + text.size() / 8 + 2);
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code == 0)
            continue;
        if (const char16_t replacement = replacementFor(code)) {
            escaped.append(QLatin1Char('\\'));
            escaped.append(QChar(replacement));
        } else {
            escaped.append(c);
        }
    }
    return escaped;
}
