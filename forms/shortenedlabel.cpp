#include "shortenedlabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>

ShortenedLabel::ShortenedLabel(QWidget* parent, int widestText)
    : QLabel(parent), m_widestText(widestText)
{
    setTextFormat(Qt::PlainText);
}

bool ShortenedLabel::showsPlainLine() const
{
    const bool plain = textFormat() == Qt::PlainText
                       || (textFormat() == Qt::AutoText && !Qt::mightBeRichText(text()));
    return plain && !wordWrap() && !text().contains(QLatin1Char('\n'));
}

int ShortenedLabel::widthCap() const
{
    const QMargins frame = contentsMargins();
    return ShortenedText::widestText(fontMetrics(), m_widestText) + frame.left() + frame.right() + 2 * margin();
}

bool ShortenedLabel::capped(int width) const
{
    return showsPlainLine() && width > widthCap();
}

bool ShortenedLabel::asksLessThanItsText() const
{
    return capped(QLabel::sizeHint().width());
}

QSize ShortenedLabel::sizeHint() const
{
    QSize hint = QLabel::sizeHint();
    m_growth.applyLater(capped(hint.width()));
    if (capped(hint.width()))
        hint.setWidth(widthCap());
    return hint;
}

QSize ShortenedLabel::minimumSizeHint() const
{
    QSize hint = QLabel::minimumSizeHint();
    if (showsPlainLine())
        hint.setWidth(qMin(hint.width(), widthCap()));
    return hint;
}

QRect ShortenedLabel::textRoom() const
{
    return contentsRect().adjusted(margin(), margin(), -margin(), -margin());
}

QString ShortenedLabel::shownText() const
{
    if (!showsPlainLine())
        return text();
    return fontMetrics().elidedText(text(), Qt::ElideRight, textRoom().width());
}

void ShortenedLabel::paintEvent(QPaintEvent* event)
{
    const QString shown = shownText();
    if (shown == text()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, textRoom(), QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), shown, foregroundRole());
}

bool ShortenedLabel::event(QEvent* event)
{
    // A tool tip of the form's own goes first.
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty() && showsPlainLine()
        && ShortenedText::tellWholeText(static_cast<QHelpEvent*>(event), this, fontMetrics(),
                                        text(), textRoom().width()))
        return true;
    const bool handled = QLabel::event(event);
    if (ShortenedGrowth::canChangeTheSizeHint(event->type()))
        m_growth.apply(asksLessThanItsText());
    return handled;
}
