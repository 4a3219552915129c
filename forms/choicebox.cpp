#include "choicebox.h"

#include "entrytipdelegate.h"
#include "shortenedtext.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QKeyEvent>
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
    // The box's own model; the forms set no other.
    const QAbstractItemModel* entries = model();
    connect(entries, &QAbstractItemModel::rowsInserted, this, &ChoiceBox::measureEntriesAgain);
    connect(entries, &QAbstractItemModel::rowsRemoved, this, &ChoiceBox::measureEntriesAgain);
    connect(entries, &QAbstractItemModel::dataChanged, this, &ChoiceBox::measureEntriesAgain);
    connect(entries, &QAbstractItemModel::modelReset, this, &ChoiceBox::measureEntriesAgain);
    connect(entries, &QAbstractItemModel::layoutChanged, this, &ChoiceBox::measureEntriesAgain);
}

// A box measures its entries as it first shows, and by default never again: one refilled
// once shown (a list of accounts or plug-ins loaded later) would keep the room of what it
// held before. From the first change after it shows, it measures them at every change.
// Not before: the box's own way to follow its entries builds its list at once, which most
// boxes never need.
void ChoiceBox::measureEntriesAgain()
{
    if (m_shown && sizeAdjustPolicy() == QComboBox::AdjustToContentsOnFirstShow)
        setSizeAdjustPolicy(QComboBox::AdjustToContents);
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

bool ChoiceBox::asksLessThanItsText() const
{
    return QComboBox::sizeHint().width() > widthCap();
}

QSize ChoiceBox::sizeHint() const
{
    QSize hint = QComboBox::sizeHint();
    const int cap = widthCap();
    m_growth.applyLater(hint.width() > cap);
    hint.setWidth(qMin(hint.width(), cap));
    return hint;
}

QSize ChoiceBox::minimumSizeHint() const
{
    QSize hint = QComboBox::minimumSizeHint();
    hint.setWidth(qMin(hint.width(), widthCap()));
    return hint;
}

// The list is made ready as it opens, not before: most boxes are never opened. A view or a
// delegate set in the place of the box's own is made ready too.
void ChoiceBox::showPopup()
{
    QAbstractItemDelegate* drawing = view()->itemDelegate();
    if (drawing != m_entryTips) {
        delete m_entryTips;
        // Goes with the view, should another take its place.
        m_entryTips = new EntryTipDelegate(view(), drawing, view());
        setItemDelegate(m_entryTips);
    }
    view()->installEventFilter(this);
    QComboBox::showPopup();
}

// The box picks its list's delegate anew for another style, but only when it knows the
// delegate as its own.
void ChoiceBox::unwrapListDelegate()
{
    if (m_entryTips && view()->itemDelegate() == m_entryTips && m_entryTips->wrapped()) {
        setItemDelegate(m_entryTips->wrapped());
        delete m_entryTips;
    }
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
    if (event->type() == QEvent::StyleChange)
        unwrapListDelegate();
    if (event->type() == QEvent::Show)
        m_shown = true;
    // A tool tip of the form's own goes first.
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()
        && ShortenedText::tellWholeText(static_cast<QHelpEvent*>(event), this, fontMetrics(),
                                        wholeText(), textRoom()))
        return true;
    const bool handled = QComboBox::event(event);
    if (ShortenedGrowth::canChangeTheSizeHint(event->type()))
        m_growth.apply(asksLessThanItsText());
    return handled;
}

// The opened list keeps Escape to itself: a shortcut on Escape (a dialog's Cancel) would
// otherwise take it first and close the whole window.
bool ChoiceBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view() && event->type() == QEvent::ShortcutOverride && view()->isVisible()
        && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel)) {
        event->accept();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}
