#include "shortenedlabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>

ShortenedLabel::ShortenedLabel(QWidget* parent, int widestText)
    : QLabel(parent), m_widestText(widestText)
{
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

QSize ShortenedLabel::sizeHint() const
{
    QSize hint = QLabel::sizeHint();
    if (showsPlainLine())
        hint.setWidth(qMin(hint.width(), widthCap()));
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

void ShortenedLabel::paintEvent(QPaintEvent* event)
{
    const QRect room = textRoom();
    if (!showsPlainLine() || fontMetrics().horizontalAdvance(text()) <= room.width()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, room, QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(),
                          fontMetrics().elidedText(text(), Qt::ElideRight, room.width()),
                          foregroundRole());
}

bool ShortenedLabel::event(QEvent* event)
{
    // A tool tip of the form's own goes first.
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty() && showsPlainLine()
        && ShortenedText::tellWholeText(static_cast<QHelpEvent*>(event), this, fontMetrics(),
                                        text(), textRoom().width()))
        return true;
    return QLabel::event(event);
}
