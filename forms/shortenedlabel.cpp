#include "shortenedlabel.h"

#include "wholetexttip.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {

// The room the toolkit's label lays a line out in when it measures it.
constexpr int MeasuringWidth = 2000;

} // namespace

ShortenedLabel::ShortenedLabel(QWidget* parent, int widestText)
    : QLabel(parent), m_widestText(widestText)
{
    setTextFormat(Qt::PlainText);
}

bool ShortenedLabel::showsPlainLine() const
{
    const bool plain = textFormat() == Qt::PlainText
                       || (textFormat() == Qt::AutoText && !Qt::mightBeRichText(text()));
    return plain && !wordWrap();
}

Qt::LayoutDirection ShortenedLabel::textDirection() const
{
    return text().isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
}

// A label with a frame but no indent of its own keeps its text off the frame, by the width
// of an "x" as it asks for room and by half of it as it paints.
int ShortenedLabel::hintIndent() const
{
    if (indent() < 0 && frameWidth())
        return fontMetrics().horizontalAdvance(QLatin1Char('x')) - 2 * margin();
    return indent();
}

int ShortenedLabel::paintIndent() const
{
    if (indent() < 0 && frameWidth())
        return fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 - margin();
    return indent();
}

QSize ShortenedLabel::lineHint() const
{
    const int align = QStyle::visualAlignment(textDirection(), alignment());
    int horizontal = 2 * margin();
    int vertical = 2 * margin();
    if (const int indent = hintIndent(); indent > 0) {
        if (align & (Qt::AlignLeft | Qt::AlignRight))
            horizontal += indent;
        if (align & (Qt::AlignTop | Qt::AlignBottom))
            vertical += indent;
    }
    const QMargins frame = contentsMargins();
    horizontal += frame.left() + frame.right();
    vertical += frame.top() + frame.bottom();

    // Centring is left out, as the toolkit's label leaves it out: it would only round.
    const int flags = align & ~(Qt::AlignVCenter | Qt::AlignHCenter);
    const int width = MeasuringWidth - horizontal;
    const QString whole = text();
    const bool measured = (whole.isSharedWith(m_measured.text) || whole == m_measured.text)
                          && font() == m_measured.font && logicalDpiX() == m_measured.dpi
                          && flags == m_measured.flags && width == m_measured.width;
    if (!measured) {
        const QString line = ShortenedText::oneLine(whole);
        m_measured = {whole, font(), logicalDpiX(), flags, width,
                      fontMetrics().boundingRect(0, 0, width, MeasuringWidth, flags, line)};
    }
    const QSize hint(m_measured.bounds.width() + horizontal, m_measured.bounds.height() + vertical);
    return hint.expandedTo(minimumSize());
}

int ShortenedLabel::widthCap() const
{
    const QMargins frame = contentsMargins();
    int cap = ShortenedText::widestText(fontMetrics(), m_widestText) + frame.left() + frame.right() + 2 * margin();
    if (alignment() & (Qt::AlignLeft | Qt::AlignRight))
        cap += qMax(0, hintIndent());
    return cap;
}

bool ShortenedLabel::capped(int width) const
{
    return showsPlainLine() && width > widthCap();
}

bool ShortenedLabel::asksLessThanItsText() const
{
    return showsPlainLine() && capped(lineHint().width());
}

QSize ShortenedLabel::sizeHint() const
{
    if (!showsPlainLine()) {
        m_growth.applyLater(false);
        return QLabel::sizeHint();
    }
    QSize hint = lineHint();
    m_growth.applyLater(capped(hint.width()));
    if (capped(hint.width()))
        hint.setWidth(widthCap());
    return hint;
}

QSize ShortenedLabel::minimumSizeHint() const
{
    if (!showsPlainLine())
        return QLabel::minimumSizeHint();
    QSize hint = lineHint();
    hint.setWidth(qMin(hint.width(), widthCap()));
    return hint;
}

// Where the toolkit's label paints a line of plain text.
QRect ShortenedLabel::textRoom() const
{
    QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const int align = QStyle::visualAlignment(textDirection(), alignment());
    if (const int indent = paintIndent(); indent > 0) {
        if (align & Qt::AlignLeft)
            room.setLeft(room.left() + indent);
        if (align & Qt::AlignRight)
            room.setRight(room.right() - indent);
        if (align & Qt::AlignTop)
            room.setTop(room.top() + indent);
        if (align & Qt::AlignBottom)
            room.setBottom(room.bottom() - indent);
    }
    return room;
}

QString ShortenedLabel::shownText() const
{
    if (!showsPlainLine())
        return text();
    return m_shownLine.of(this, text(), textRoom().width());
}

bool ShortenedLabel::showsItAll() const
{
    return !showsPlainLine() || shownText() == ShortenedText::oneLine(text());
}

// The toolkit's label painting a line of plain text, with the line the label shows.
void ShortenedLabel::paintEvent(QPaintEvent* event)
{
    if (!showsPlainLine()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const Qt::LayoutDirection direction = textDirection();
    const int flags = QStyle::visualAlignment(direction, alignment())
                      | (direction == Qt::LeftToRight ? Qt::TextForceLeftToRight : Qt::TextForceRightToLeft);
    QStyleOption option;
    option.initFrom(this);
    style()->drawItemText(&painter, textRoom(), flags, option.palette, isEnabled(), shownText(), foregroundRole());
}

bool ShortenedLabel::event(QEvent* event)
{
    // A tool tip of the form's own goes first.
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty() && !showsItAll()) {
        WholeTextTip::show(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
        return true;
    }
    const bool handled = QLabel::event(event);
    if (ShortenedGrowth::canChangeTheSizeHint(event->type()))
        m_growth.apply(asksLessThanItsText());
    return handled;
}
