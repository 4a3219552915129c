#pragma once

#include <QFont>
#include <QString>

class QWidget;

// The line a widget shows of a text it may shorten (ShortenedText::oneLine,
// ShortenedText::shortenedLine), kept for as long as the text, the widget's font and the
// room stay: a widget paints far more often than its text changes, and a stored text may be
// very long.
class ShownLine
{
public:
    QString of(const QWidget* widget, const QString& text, int room);

private:
    QString m_text;
    QFont m_font;
    int m_dpi = 0;
    int m_room = -1;
    QString m_line;
};
