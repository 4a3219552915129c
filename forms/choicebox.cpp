#include "choicebox.h"

#include "shortenedtext.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolTip>

namespace {

// What a line edit leaves free on each side of its text.
constexpr int LineEditMargin = 2;

} // namespace

ChoiceBox::ChoiceBox(QWidget* parent) : QComboBox(parent)
{
    view()->viewport()->installEventFilter(this);
}

int ChoiceBox::widthCap() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QSize text(ShortenedText::widestText(fontMetrics()), fontMetrics().height());
    return style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, this).width();
}

QSize ChoiceBox::sizeHint() const
{
    QSize hint = QComboBox::sizeHint();
    hint.setWidth(qMin(hint.width(), widthCap()));
    return hint;
}

QSize ChoiceBox::minimumSizeHint() const
{
    QSize hint = QComboBox::minimumSizeHint();
    hint.setWidth(qMin(hint.width(), widthCap()));
    return hint;
}

int ChoiceBox::textRoom() const
{
    // An editable box's text is its line edit's, inside the edit's own margin on each side.
    if (lineEdit())
        return lineEdit()->contentsRect().width() - 2 * LineEditMargin;
    QStyleOptionComboBox option;
    initStyleOption(&option);
    int room = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this).width();
    if (!option.currentIcon.isNull())
        room -= option.iconSize.width() + 4;
    return room;
}

// QComboBox's own painting, the current text shortened to the room it has. An editable
// box's text is its line edit's, which scrolls.
void ChoiceBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0 && !placeholderText().isEmpty()) {
        option.palette.setBrush(QPalette::ButtonText, option.palette.placeholderText());
        option.currentText = placeholderText();
    }
    if (!isEditable())
        option.currentText = fontMetrics().elidedText(option.currentText, Qt::ElideRight, textRoom());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

bool ChoiceBox::event(QEvent* event)
{
    // A tool tip of the form's own goes first.
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()
        && ShortenedText::tellWholeText(static_cast<QHelpEvent*>(event), this, fontMetrics(),
                                        currentText(), textRoom()))
        return true;
    return QComboBox::event(event);
}

// The opened list's entries tell their whole text too.
bool ChoiceBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ToolTip || watched != view()->viewport())
        return QComboBox::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = view()->indexAt(help->pos());
    if (!index.isValid()
        || !ShortenedText::tellWholeText(help, view(), view()->fontMetrics(),
                                         index.data(Qt::DisplayRole).toString(),
                                         view()->visualRect(index).width()))
        QToolTip::hideText();
    return true;
}
