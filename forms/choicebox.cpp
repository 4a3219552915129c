#include "choicebox.h"

#include "shortenedtext.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace {

// A line edit keeps this much room free on either side of its text, which it does not say.
constexpr int LineEditMargin = 2;
// Between a box's icon and its text, as the box itself lays them out.
constexpr int IconSpacing = 4;

} // namespace

ChoiceBox::ChoiceBox(QWidget* parent) : QComboBox(parent)
{
}

int ChoiceBox::widthCap() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    QSize text(ShortenedText::widestText(fontMetrics()), fontMetrics().height());
    if (!option.currentIcon.isNull())
        text.rwidth() += iconSize().width() + IconSpacing;
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

// The list is watched from its first opening on, so that a view set in its place is too.
void ChoiceBox::showPopup()
{
    view()->viewport()->installEventFilter(this);
    QComboBox::showPopup();
}

QString ChoiceBox::wholeText() const
{
    return currentIndex() < 0 && !placeholderText().isEmpty() ? placeholderText() : currentText();
}

int ChoiceBox::textRoom() const
{
    if (lineEdit())
        return lineEdit()->contentsRect().width() - 2 * LineEditMargin;
    QStyleOptionComboBox option;
    initStyleOption(&option);
    int room = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this).width();
    if (!option.currentIcon.isNull())
        room -= option.iconSize.width() + IconSpacing;
    return room;
}

int ChoiceBox::entryRoom(const QModelIndex& index) const
{
    // The item delegates' margin on either side of an entry's text.
    const int margin = view()->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view()) + 1;
    return view()->visualRect(index).width() - 2 * margin;
}

QString ChoiceBox::shownText() const
{
    if (isEditable())
        return currentText();
    return fontMetrics().elidedText(wholeText(), Qt::ElideRight, textRoom());
}

// QComboBox's own painting, but for the current text, which is shortened to its room.
void ChoiceBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0 && !placeholderText().isEmpty())
        option.palette.setBrush(QPalette::ButtonText, option.palette.placeholderText());
    option.currentText = shownText();
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

bool ChoiceBox::event(QEvent* event)
{
    // A tool tip of the form's own goes first.
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()
        && ShortenedText::tellWholeText(static_cast<QHelpEvent*>(event), this, fontMetrics(),
                                        wholeText(), textRoom()))
        return true;
    return QComboBox::event(event);
}

// An entry the opened list shows shortened tells its whole text; any other tool tip is the
// list's own.
bool ChoiceBox::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip && watched == view()->viewport()) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = view()->indexAt(help->pos());
        if (index.isValid()
            && ShortenedText::tellWholeText(help, view(), view()->fontMetrics(),
                                            index.data(Qt::DisplayRole).toString(), entryRoom(index)))
            return true;
    }
    return QComboBox::eventFilter(watched, event);
}
