#include "shownline.h"

#include "shortenedtext.h"

#include <QWidget>

QString ShownLine::of(const QWidget* widget, const QString& text, int room)
{
    const bool same = room == m_room && widget->logicalDpiX() == m_dpi && widget->font() == m_font
                      && (text.isSharedWith(m_text) || text == m_text);
    if (!same) {
        m_line = ShortenedText::shortenedLine(widget->fontMetrics(), ShortenedText::oneLine(text), room);
        m_text = text;
        m_font = widget->font();
        m_dpi = widget->logicalDpiX();
        m_room = room;
    }
    return m_line;
}
