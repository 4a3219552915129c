#include "charwidths.h"

namespace {

// No advance is negative: this marks one not yet asked for.
constexpr qreal Unmeasured = -1;

} // namespace

CharWidths::CharWidths(const QFont& font)
    : m_metrics(font)
{
}

qreal CharWidths::measure(QChar c) const
{
    const char16_t code = c.unicode();
    std::unique_ptr<Page>& page = m_pages[code >> 8];
    if (!page) {
        page = std::make_unique<Page>();
        page->fill(Unmeasured);
    }
    qreal& width = (*page)[code & 0xff];
    if (width < 0)
        width = m_metrics.horizontalAdvance(c);
    return width;
}
