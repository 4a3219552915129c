#include "tipmetrics.h"

#include <QFontMetrics>
#include <QStyle>
#include <QToolTip>

namespace {

// A label as the toolkit sets up its tool tips.
void setUpAsATip(QLabel* label)
{
    label->setFont(QToolTip::font());
    label->ensurePolished();
    label->setMargin(1 + label->style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth, nullptr, label));
    label->setFrameStyle(QFrame::NoFrame);
    label->setAlignment(Qt::AlignLeft);
    label->setIndent(1);
    label->setWordWrap(true);
}

// What the toolkit adds to a tip's size hint, for fonts of a small descent too.
QSize addedToTheHint(const QFontMetrics& metrics)
{
    return QSize(1, metrics.descent() == 2 && metrics.ascent() >= 11 ? 1 : 0);
}

} // namespace

TipMetrics::TipMetrics()
{
    setUpAsATip(&m_label);
    const QString x = QStringLiteral("x");
    const QSize one = sizeOf({x});
    m_lineHeight = qMax(1, sizeOf({x, x}).height() - one.height());
    m_frame = QSize(one.width() - QFontMetrics(QToolTip::font()).horizontalAdvance(x), one.height() - m_lineHeight);
}

// A tip takes markup, so every line is given as markup that holds the line as text; "pre"
// keeps every blank and breaks no line but those given. The two characters that stand for a
// frame's edges in the tip's document would be taken for edges and lost; the replacement
// character says something stood there.
QString TipMetrics::markup(const QStringList& lines)
{
    QStringList escaped;
    escaped.reserve(lines.size());
    for (QString line : lines) {
        line.replace(QChar(0xFDD0), QChar::ReplacementCharacter).replace(QChar(0xFDD1), QChar::ReplacementCharacter);
        escaped.append(line.toHtmlEscaped());
    }
    return QStringLiteral("<p style=\"white-space:pre\">") + escaped.join(QLatin1String("<br>"))
           + QStringLiteral("</p>");
}

// Lines in fonts other than the tips' own (an emoji's, a script's the font lacks) may be
// taller or wider than the tips' font measures them: only laying them out as the tip will
// tells.
QSize TipMetrics::sizeOf(const QStringList& lines) const
{
    m_label.setText(markup(lines));
    return m_label.sizeHint() + addedToTheHint(QFontMetrics(m_label.font()));
}
