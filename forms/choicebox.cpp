#include "choicebox.h"

#include "drawntext.h"
#include "formwidgets.h"
#include "listentrydelegate.h"
#include "shortenedtext.h"
#include "wholetexttip.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QtMath>

#include <algorithm>

namespace {

// Between a box's icon and its text, as the box itself lays them out and measures them.
constexpr int IconSpacing = 4;

} // namespace

ChoiceBox::ChoiceBox(QWidget* parent) : QComboBox(parent)
{
    followEntries();
}

// A model set in the place of the box's own tells the box nothing as it takes its place: the
// box follows the model it measures, and finds another there as it measures its entries.
void ChoiceBox::followEntries() const
{
    if (m_followed)
        disconnect(m_followed, nullptr, this, nullptr);
    m_followed = model();
    connect(m_followed, &QAbstractItemModel::rowsInserted, this, &ChoiceBox::measureEntriesAgain);
    connect(m_followed, &QAbstractItemModel::rowsRemoved, this, &ChoiceBox::measureEntriesAgain);
    connect(m_followed, &QAbstractItemModel::dataChanged, this, &ChoiceBox::measureEntriesAgain);
    connect(m_followed, &QAbstractItemModel::modelReset, this, &ChoiceBox::measureEntriesAgain);
    connect(m_followed, &QAbstractItemModel::layoutChanged, this, &ChoiceBox::measureEntriesAgain);
}

// A box measures its entries as it first shows, and by default never again: one refilled
// once shown (a list of accounts or plug-ins loaded later) would keep the room of what it
// held before. From the first change after it shows, it measures them at every change.
// Not before: the box's own way to follow its entries builds its list at once, which most
// boxes never need.
void ChoiceBox::measureEntriesAgain()
{
    m_entryWidths.reset();
    if (m_shown && sizeAdjustPolicy() == QComboBox::AdjustToContentsOnFirstShow)
        setSizeAdjustPolicy(QComboBox::AdjustToContents);
}

// The toolkit's box measures its entries as the font measures them, where the box shows
// them on one line: a line break measures nothing there, a tab as far as the next tab stop.
ChoiceBox::EntryWidths ChoiceBox::entryWidths() const
{
    if (model() != m_followed) {
        m_entryWidths.reset();
        followEntries();
        // Once shown, the toolkit's box measures the new entries only where it follows its
        // entries (measureEntriesAgain), which changes its size hint: not from within one.
        if (m_shown)
            QMetaObject::invokeMethod(const_cast<ChoiceBox*>(this), &ChoiceBox::measureEntriesAgain,
                                      Qt::QueuedConnection);
    }
    const EntryWidths::Key key{font(), logicalDpiX(), iconSize()};
    if (m_entryWidths && m_entryWidths->key == key)
        return *m_entryWidths;
    EntryWidths widths{key, 0, 0, false, false, std::nullopt};
    const QFontMetrics metrics = fontMetrics();
    for (int i = 0; i < count(); ++i) {
        const QString entry = itemText(i);
        const bool icon = !itemIcon(i).isNull();
        const int iconRoom = icon ? iconSize().width() + IconSpacing : 0;
        const int measured = metrics.boundingRect(entry).width() + iconRoom;
        const QString line = ShortenedText::oneLine(entry);
        widths.measured = qMax(widths.measured, measured);
        widths.shown = qMax(widths.shown, line == entry ? measured : metrics.boundingRect(line).width() + iconRoom);
        widths.icon = widths.icon || icon;
        widths.otherOnOneLine = widths.otherOnOneLine || line != entry;
    }
    m_entryWidths = widths;
    return widths;
}

// The toolkit's hint holds room for the widest entry, for the least length the form set
// and for the placeholder, whichever is widest; only the entries are measured anew here.
// The least size the toolkit asks for measures no entry where the form set a least length.
QSize ChoiceBox::entriesHint(QSize hint, bool least) const
{
    const bool measured = sizeAdjustPolicy() != QComboBox::AdjustToMinimumContentsLengthWithIcon
                          && !(least && minimumContentsLength() > 0);
    if (!measured || count() == 0)
        return hint;
    const EntryWidths entries = entryWidths();
    if (entries.shown == entries.measured)
        return hint;
    const QFontMetrics metrics = fontMetrics();
    int other = 0;
    if (minimumContentsLength() > 0)
        other = minimumContentsLength() * metrics.horizontalAdvance(QLatin1Char('X'))
                + (entries.icon ? iconSize().width() + IconSpacing : 0);
    if (!placeholderText().isEmpty())
        other = qMax(other, metrics.boundingRect(placeholderText()).width());
    hint.rwidth() += qMax(entries.shown, other) - qMax(entries.measured, other);
    return hint;
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
    return entriesHint(QComboBox::sizeHint()).width() > widthCap();
}

QSize ChoiceBox::sizeHint() const
{
    QSize hint = entriesHint(QComboBox::sizeHint());
    const int cap = widthCap();
    m_growth.applyLater(hint.width() > cap);
    hint.setWidth(qMin(hint.width(), cap));
    return hint;
}

QSize ChoiceBox::minimumSizeHint() const
{
    QSize hint = entriesHint(QComboBox::minimumSizeHint(), true);
    hint.setWidth(qMin(hint.width(), widthCap()));
    return hint;
}

// The list is made ready as it opens, not before: most boxes are never opened. A view or a
// delegate set in the place of the box's own is made ready too.
void ChoiceBox::showPopup()
{
    QAbstractItemDelegate* drawing = view()->itemDelegate();
    if (drawing != m_listEntries) {
        delete m_listEntries;
        // Goes with the view, should another take its place.
        m_listEntries = new ListEntryDelegate(view(), drawing, view());
        setItemDelegate(m_listEntries);
    }
    view()->installEventFilter(this);
    QComboBox::showPopup();
    fitListToItsLines();
    if (isEditable())
        openListOnTheEntryShown();
}

// The toolkit opens the list on the box's current entry, which typing leaves where it was, and
// on a box with none makes its first entry current: Enter there would put that entry in place
// of the text shown. The list opens on the entry equal to that text instead, or on none.
void ChoiceBox::openListOnTheEntryShown()
{
    const int entry = entryEqualTo(this, currentText());
    QItemSelectionModel* selection = view()->selectionModel();
    if (entry < 0) {
        selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
        return;
    }
    const QModelIndex index = model()->index(entry, modelColumn(), rootModelIndex());
    selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    view()->scrollTo(index);
}

// Measured as the list opens, not before: most boxes are never opened.
int ChoiceBox::widestListedLine()
{
    entryWidths();
    std::optional<int>& listed = m_entryWidths->listed;
    if (!listed) {
        const QFontMetrics metrics = fontMetrics();
        listed = 0;
        for (int i = 0; i < count(); ++i) {
            const int iconRoom = itemIcon(i).isNull() ? 0 : iconSize().width() + IconSpacing;
            listed = qMax(*listed, metrics.horizontalAdvance(ShortenedText::oneLine(itemText(i))) + iconRoom);
        }
    }
    return *listed;
}

// A style that opens the list as a popup makes it as wide as the box or as its widest entry
// as the entry stands, where a line break measures nothing and a tab reaches the next tab
// stop: too narrow for an entry the list shows on one line, or far too wide. The list is
// made as wide as the lines it shows need, in the same way.
void ChoiceBox::fitListToItsLines()
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    if (!entryWidths().otherOnOneLine || !style()->styleHint(QStyle::SH_ComboBox_Popup, &option, this))
        return;
    const QRect room = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxListBoxPopup, this);
    const int needed =
        style()->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(widestListedLine(), 0), this).width();
    QWidget* list = view()->window();
    QRect placed = list->geometry();
    placed.setWidth(qMax(room.width() + qMax(0, needed - width()), list->minimumWidth()));
    placed.moveLeft(mapToGlobal(room.topLeft()).x());
    if (const QScreen* screen = list->screen()) {
        const QRect free = screen->availableGeometry();
        placed.setWidth(qMin(placed.width(), free.width()));
        placed.moveLeft(qBound(free.left(), placed.left(), free.right() + 1 - placed.width()));
    }
    if (placed != list->geometry())
        list->setGeometry(placed);
}

// The box picks its list's delegate anew for another style, but only when it knows the
// delegate as its own.
void ChoiceBox::unwrapListDelegate()
{
    if (m_listEntries && view()->itemDelegate() == m_listEntries && m_listEntries->wrapped()) {
        setItemDelegate(m_listEntries->wrapped());
        delete m_listEntries;
    }
}

QString ChoiceBox::wholeText() const
{
    // An editable box's line edit shows what is typed, and its placeholder itself.
    const bool placeholder = !isEditable() && currentIndex() < 0 && !placeholderText().isEmpty();
    return placeholder ? placeholderText() : currentText();
}

// The room the style gives the current text, which only the style knows: it draws a text
// wider than the box, and the room is where it cuts that text. Painting asks for it each
// time, so it is kept for as long as what the style lays the box out by stays.
int ChoiceBox::textRoom() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const RoomKey key{size(), option.currentIcon.isNull(), iconSize(), font(), logicalDpiX(),
                      style(), layoutDirection(), hasFrame()};
    if (m_textRoom && m_textRoomKey == key)
        return *m_textRoom;
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const int x = qMax(1, fontMetrics().horizontalAdvance(QLatin1Char('x')));
    option.currentText = QString(field.width() / x + 2, QLatin1Char('x'));
    const QList<DrawnText::Run> runs = DrawnText::ofPainting(this, [this, &option](QPainter* painter) {
        style()->drawControl(QStyle::CE_ComboBoxLabel, &option, painter, this);
    });
    const auto cut = std::find_if(runs.cbegin(), runs.cend(), [](const DrawnText::Run& run) { return run.clipped; });
    int room = field.width();
    if (cut != runs.cend())
        room = qFloor(cut->clip.width());
    else if (!option.currentIcon.isNull())
        room -= option.iconSize.width() + IconSpacing;
    m_textRoomKey = key;
    m_textRoom = room;
    return room;
}

QString ChoiceBox::shownText() const
{
    if (isEditable())
        return currentText();
    return m_shownLine.of(this, wholeText(), textRoom());
}

// An editable box's line edit shows its text as it will and scrolls through it: whether it
// shows it all is seen in what it draws.
bool ChoiceBox::showsItAll() const
{
    if (const QLineEdit* edit = lineEdit()) {
        const QList<DrawnText::Run> runs = DrawnText::ofWidget(edit);
        return std::none_of(runs.cbegin(), runs.cend(), [](const DrawnText::Run& run) { return run.clipped; });
    }
    return shownText() == ShortenedText::oneLine(wholeText());
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
    // Laid out in the text's own direction, as a label and a line edit lay theirs out: a
    // text that begins in Arabic or Hebrew then ends, ellipsis and all, at the left. The box
    // itself, its picture and the room keep the box's direction.
    painter.setLayoutDirection(wholeText().isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void ChoiceBox::makeEditable(Entries entries)
{
    m_entries = entries;
    setEditable(true);
    followLetterRule();
}

// The toolkit's editable box, as its field loses the focus (to its own list, say), makes the
// entry equal to its text the current one, in that entry's letters, and reports it chosen.
// How it matches is its completer's, there and as it completes what is typed; the toolkit's
// own ignores letter case, which a box of values must not: a stored "x-envelope-to" would
// become "X-Envelope-To" at a look at the list.
void ChoiceBox::followLetterRule()
{
    if (QCompleter* completer = lineEdit() ? lineEdit()->completer() : nullptr)
        completer->setCaseSensitivity(m_entries == Entries::Names ? Qt::CaseInsensitive : Qt::CaseSensitive);
}

bool ChoiceBox::holdsNames(const QComboBox* box)
{
    if (const auto* choice = qobject_cast<const ChoiceBox*>(box))
        return choice->m_entries == Entries::Names;
    const QCompleter* completer = box->lineEdit() ? box->lineEdit()->completer() : nullptr;
    return completer && completer->caseSensitivity() == Qt::CaseInsensitive;
}

int ChoiceBox::entryEqualTo(const QComboBox* box, const QString& text)
{
    const int sameLetters = box->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (sameLetters >= 0 || !holdsNames(box))
        return sameLetters;
    const int otherLetters = box->findText(text, Qt::MatchFixedString);
    const QString name = text.trimmed();
    if (otherLetters >= 0 || name == text)
        return otherLetters;
    // Blanks around a name are no part of it.
    const int nameInItsLetters = box->findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    return nameInItsLetters >= 0 ? nameInItsLetters : box->findText(name, Qt::MatchFixedString);
}

QString ChoiceBox::nameShown(const QComboBox* box)
{
    const QString text = box->currentText();
    const int entry = entryEqualTo(box, text);
    return entry >= 0 ? box->itemText(entry) : text.trimmed();
}

// The toolkit's box takes the entry equal to the text typed as its field is left or Return is
// pressed, in other letters too (its completer's rule), but not a name with blanks around it:
// the field is given that name first, which the toolkit then finds. Other texts are left to the
// toolkit, so that Return on a completion it offers still only takes the completion.
void ChoiceBox::spellTheNameTyped()
{
    const QString text = currentText();
    if (m_entries != Entries::Names || !lineEdit() || text == text.trimmed())
        return;
    const int entry = entryEqualTo(this, text);
    if (entry >= 0)
        lineEdit()->setText(itemText(entry));
}

// Whether the focus leaves the field itself, as the toolkit's field judges it: not for the
// field's own menu.
bool ChoiceBox::leavesTheField(const QFocusEvent* event) const
{
    const QWidget* popup = QApplication::activePopupWidget();
    return event->reason() != Qt::PopupFocusReason || !popup || popup->parentWidget() != lineEdit();
}

bool ChoiceBox::event(QEvent* event)
{
    if (event->type() == QEvent::StyleChange)
        unwrapListDelegate();
    // Should the box have been given another field since it was made editable.
    if (event->type() == QEvent::FocusIn)
        followLetterRule();
    if (event->type() == QEvent::Show)
        m_shown = true;
    if ((event->type() == QEvent::FocusOut && leavesTheField(static_cast<QFocusEvent*>(event)))
        || FormWidgets::isReturnPress(event))
        spellTheNameTyped();
    // A tool tip of the form's own goes first.
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty() && !showsItAll()) {
        WholeTextTip::show(static_cast<QHelpEvent*>(event)->globalPos(), wholeText(), this);
        return true;
    }
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
    // Enter on a list opened on no entry keeps the text shown, as Escape does; the list would
    // otherwise stay open and wait for an entry.
    if (watched == view() && isEditable() && FormWidgets::isReturnPress(event) && view()->isVisible()
        && !view()->currentIndex().isValid()) {
        hidePopup();
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}
