#pragma once

#include <QFontMetricsF>

#include <array>
#include <memory>

class QFont;

// The advance of each character in one font, asked of the font the first time a character
// is met and remembered after. Log lines are measured as the sum of their characters'
// advances, so that a line of any length costs one lookup a character and is never laid
// out whole.
class CharWidths
{
public:
    explicit CharWidths(const QFont& font);

    // Inline: a line of megabytes asks once a character.
    qreal advance(QChar c) const
    {
        const Page* page = m_pages[c.unicode() >> 8].get();
        if (page) {
            const qreal width = (*page)[c.unicode() & 0xff];
            if (width >= 0)
                return width;
        }
        return measure(c);
    }

private:
    // 256 characters a page; a page is made when one of its characters is first met.
    using Page = std::array<qreal, 256>;

    qreal measure(QChar c) const;

    QFontMetricsF m_metrics;
    mutable std::array<std::unique_ptr<Page>, 256> m_pages;
};
