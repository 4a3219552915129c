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

    qreal advance(QChar c) const;

private:
    // 256 characters a page; a page is made when one of its characters is first met.
    using Page = std::array<qreal, 256>;

    QFontMetricsF m_metrics;
    mutable std::array<std::unique_ptr<Page>, 256> m_pages;
};
