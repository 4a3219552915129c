#pragma once

// What the layout tests look for in a window as it shows: widgets a layout gave less than
// they need, and texts shown only in part.

#include "choicebox.h"
#include "shortenedlabel.h"
#include "shownentry.h"
#include "showntip.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStringList>
#include <QTest>
#include <QTreeView>
#include <QWidget>

namespace LayoutCheck {

// "ClassName objectName" of a widget, for the reports below.
inline QString nameOf(const QWidget* widget)
{
    return QStringLiteral("%1 %2").arg(QLatin1String(widget->metaObject()->className()), widget->objectName());
}

inline QString tooSmall(const QWidget* widget, const QSize& needed)
{
    return QStringLiteral("%1 %2x%3 < %4x%5")
        .arg(nameOf(widget))
        .arg(widget->width())
        .arg(widget->height())
        .arg(needed.width())
        .arg(needed.height());
}

// A scroll area places its own parts (bars, header, viewport), and a choice or number box
// its line edit; only what the window's own layouts and code place has a size to keep.
inline bool placedByTheWindow(const QWidget* widget, const QWidget* top)
{
    for (const QWidget* above = widget->parentWidget(); above && above != top; above = above->parentWidget()) {
        if (qobject_cast<const QAbstractScrollArea*>(above) || qobject_cast<const QComboBox*>(above)
            || qobject_cast<const QAbstractSpinBox*>(above))
            return false;
    }
    return true;
}

// The shown widgets within top that it places itself, top's own windows excepted.
inline QList<const QWidget*> shownWidgets(const QWidget* top)
{
    QList<const QWidget*> shown;
    for (const QWidget* widget : top->findChildren<QWidget*>()) {
        if (widget->isVisible() && widget->window() == top->window() && placedByTheWindow(widget, top))
            shown.append(widget);
    }
    return shown;
}

// Every shown widget of top smaller than its minimum size hint.
inline QStringList squeezed(const QWidget* top)
{
    QStringList found;
    for (const QWidget* widget : shownWidgets(top)) {
        const QSize minimum = widget->minimumSizeHint();
        if (minimum.isValid() && (widget->width() < minimum.width() || widget->height() < minimum.height()))
            found.append(tooSmall(widget, minimum));
    }
    return found;
}

// The room a label or button needs to show its whole text: its size hint; a label that
// wraps its words needs its minimum width and the height its text takes at its width.
inline QSize roomForText(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget); label && label->wordWrap())
        return {label->minimumSizeHint().width(), label->heightForWidth(label->width())};
    return widget->sizeHint();
}

// The widest entry of a list's column, or its title when that is wider.
inline int widestInColumn(const QTreeView* list, int column)
{
    return qMax(static_cast<const QAbstractItemView*>(list)->sizeHintForColumn(column),
                list->header()->sectionSizeHint(column));
}

// Every shown label and button of top that is smaller than the room its text needs, every
// shown list column narrower than its widest entry and every list whose columns do not
// all fit in it side by side.
inline QStringList cutTexts(const QWidget* top)
{
    QStringList found;
    for (const QWidget* widget : shownWidgets(top)) {
        if (qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget)) {
            const QSize needed = roomForText(widget);
            if (widget->width() < needed.width() || widget->height() < needed.height())
                found.append(tooSmall(widget, needed));
        }
        const auto* list = qobject_cast<const QTreeView*>(widget);
        if (!list)
            continue;
        const QHeaderView* header = list->header();
        for (int column = 0; column < header->count(); ++column) {
            const int widest = widestInColumn(list, column);
            if (!header->isSectionHidden(column) && header->sectionSize(column) < widest)
                found.append(QStringLiteral("%1 column %2 %3 < %4")
                                 .arg(nameOf(list))
                                 .arg(column)
                                 .arg(header->sectionSize(column))
                                 .arg(widest));
        }
        if (header->length() > list->viewport()->width())
            found.append(QStringLiteral("%1 columns %2 > %3")
                             .arg(nameOf(list))
                             .arg(header->length())
                             .arg(list->viewport()->width()));
    }
    return found;
}

// Every shown plain label or choice box of top narrower than its text: it shows the text in
// part with nothing to tell the rest. A ShortenedLabel or a ChoiceBox shows an ellipsis
// instead and tells the whole text as its tool tip.
inline QStringList cutWithoutTheRest(const QWidget* top)
{
    QStringList found;
    for (const QWidget* field : shownWidgets(top)) {
        const bool plainLabel = qobject_cast<const QLabel*>(field) && !qobject_cast<const ShortenedLabel*>(field);
        const bool plainBox = qobject_cast<const QComboBox*>(field) && !qobject_cast<const ChoiceBox*>(field);
        if ((plainLabel || plainBox) && field->width() < field->sizeHint().width())
            found.append(tooSmall(field, field->sizeHint()));
    }
    return found;
}

// Every shown choice box of top that is not a ChoiceBox: a box that shows the toolkit's way
// a text wider than itself, cut with nothing to tell the rest.
inline QStringList plainBoxes(const QWidget* top)
{
    QStringList found;
    for (const QWidget* field : shownWidgets(top)) {
        if (qobject_cast<const QComboBox*>(field) && !qobject_cast<const ChoiceBox*>(field))
            found.append(nameOf(field));
    }
    return found;
}

// Every line break a text may hold.
inline const QRegularExpression& lineBreaks()
{
    static const QRegularExpression breaks(QStringLiteral("\\r\\n|[\\r\\n\\x{2028}\\x{2029}]"));
    return breaks;
}

// The text as a tool tip's lines hold it, one after the other: without its line breaks.
inline QString withoutLineBreaks(QString text)
{
    return text.remove(lineBreaks());
}

// Every shown label or choice box of top whose text is a stored one holding a line break
// (longtexts.h) and that does not show it on one line: a label or box of the toolkit's,
// which draws the lines over one another, or a shortening one whose shown text holds a break.
inline QStringList storedLinesNotOnOne(const QWidget* top)
{
    static const QRegularExpression stored(QStringLiteral("[\\r\\n\\x{2028}\\x{2029}]abcdefghij"));
    QStringList found;
    for (const QWidget* field : shownWidgets(top)) {
        const auto* label = qobject_cast<const QLabel*>(field);
        const auto* box = qobject_cast<const QComboBox*>(field);
        const QString text = label ? label->text() : box ? box->currentText() : QString();
        if (!text.contains(stored) || (box && box->isEditable()))
            continue;
        if (!qobject_cast<const ShortenedLabel*>(field) && !qobject_cast<const ChoiceBox*>(field))
            found.append(nameOf(field) + QStringLiteral(" of the toolkit's"));
        else if (label ? static_cast<const ShortenedLabel*>(label)->shownText().contains(lineBreaks())
                       : static_cast<const ChoiceBox*>(box)->shownText().contains(lineBreaks()))
            found.append(nameOf(field) + QStringLiteral(" shows a line break"));
    }
    return found;
}

// The whole text of a ChoiceBox or ShortenedLabel.
inline QString wholeText(const QWidget* field)
{
    if (const auto* label = qobject_cast<const QLabel*>(field))
        return label->text();
    return static_cast<const QComboBox*>(field)->currentText();
}

// What of it the field shows: an editable box's line edit as much as its width holds.
inline QString shownText(const QWidget* field)
{
    if (const auto* label = qobject_cast<const ShortenedLabel*>(field))
        return label->shownText();
    const auto* box = static_cast<const ChoiceBox*>(field);
    if (const QLineEdit* edit = box->lineEdit())
        return edit->fontMetrics().elidedText(edit->text(), Qt::ElideRight, edit->contentsRect().width());
    return box->shownText();
}

// The shown ChoiceBoxes and ShortenedLabels of top that show their text shortened.
inline QList<QWidget*> shortenedFields(const QWidget* top)
{
    QList<QWidget*> found;
    for (const QWidget* field : shownWidgets(top)) {
        const bool shortening = qobject_cast<const ChoiceBox*>(field) || qobject_cast<const ShortenedLabel*>(field);
        if (shortening && shownText(field) != QString(wholeText(field)).replace(lineBreaks(), QStringLiteral(" ")))
            found.append(const_cast<QWidget*>(field));
    }
    return found;
}

// Each shown choice box of top made to show its longest entry, as an administrator may
// choose it.
inline void chooseLongestEntries(const QWidget* top)
{
    for (const QWidget* shown : shownWidgets(top)) {
        auto* box = const_cast<QComboBox*>(qobject_cast<const QComboBox*>(shown));
        if (!box || box->count() == 0)
            continue;
        int longest = 0;
        for (int i = 1; i < box->count(); ++i) {
            if (box->itemText(i).size() > box->itemText(longest).size())
                longest = i;
        }
        box->setCurrentIndex(longest);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

// Every field of top showing its text shortened whose tool tip, as the administrator reads
// it, is not that text whole, each line break of its own breaking the tip's line.
inline QStringList untoldTexts(const QWidget* top)
{
    QStringList found;
    for (QWidget* field : shortenedFields(top)) {
        QWidget* under = ShownTip::textHolder(field);
        const QStringList tip = ShownTip::at(under, under->rect().center());
        if (tip.join(QString()) != withoutLineBreaks(wholeText(field)))
            found.append(QStringLiteral("%1 tells \"%2\"").arg(nameOf(field), tip.join(u'|').left(40)));
    }
    return found;
}

// Every entry of the opened list of each shown choice box of top, of those the list shows at
// once, that the list shows shortened without telling it whole, or shows whole and tells.
inline QStringList untoldEntries(const QWidget* top)
{
    QStringList found;
    for (const QWidget* shown : shownWidgets(top)) {
        auto* box = const_cast<QComboBox*>(qobject_cast<const QComboBox*>(shown));
        if (!box || !box->isEnabled() || box->count() == 0)
            continue;
        box->showPopup();
        QAbstractItemView* list = box->view();
        if (!QTest::qWaitForWindowExposed(list->window())) {
            found.append(nameOf(box) + QStringLiteral(" opens no list"));
            continue;
        }
        // No entry highlighted: the list is compared with one that highlights none.
        list->selectionModel()->clear();
        QCoreApplication::processEvents();
        const QRect listed = list->viewport()->rect();
        for (int row = 0; row < box->count(); ++row) {
            const QModelIndex index = box->model()->index(row, box->modelColumn(), box->rootModelIndex());
            const QRect entry = list->visualRect(index);
            if (entry.top() < listed.top() || entry.bottom() > listed.bottom())
                continue;
            const bool whole = ShownEntry::whole(list, index);
            const QStringList tip = ShownTip::at(list->viewport(), QPoint(listed.center().x(), entry.center().y()));
            if (tip.join(QString()) != (whole ? QString() : withoutLineBreaks(index.data().toString())))
                found.append(QStringLiteral("%1, entry %2: %3")
                                 .arg(nameOf(box))
                                 .arg(row)
                                 .arg(whole ? QLatin1String("shown whole, told") : QLatin1String("shortened, not told")));
        }
        box->hidePopup();
    }
    return found;
}

// Every field of top showing its text shortened that does not show more of it once `window`
// is made `added` pixels wider, or does not show what it showed once the window is as wide
// as before. A field the dialog's fit to the screen keeps from growing is left alone.
inline QStringList fieldsNotGrowing(QWidget* window, const QWidget* top, int added)
{
    const auto resized = [window](int width) {
        window->resize(width, window->height());
        const bool done = QTest::qWaitFor([&] { return window->width() == width; });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        return done;
    };
    struct Seen { QWidget* field; int width; QString shown; };
    QList<Seen> before;
    for (QWidget* field : shortenedFields(top)) {
        if (field->maximumWidth() == QWIDGETSIZE_MAX)
            before.append({field, field->width(), shownText(field)});
    }
    if (before.isEmpty())
        return {};
    const int opened = window->width();
    if (!resized(opened + added))
        return {QStringLiteral("%1 cannot be made wider").arg(nameOf(window))};
    QStringList found;
    for (const Seen& seen : before) {
        if (seen.field->width() <= seen.width || shownText(seen.field).size() <= seen.shown.size())
            found.append(QStringLiteral("%1 stays %2 wide").arg(nameOf(seen.field)).arg(seen.field->width()));
    }
    if (!resized(opened))
        found.append(QStringLiteral("%1 cannot be made narrower again").arg(nameOf(window)));
    for (const Seen& seen : before) {
        if (seen.field->width() != seen.width || shownText(seen.field) != seen.shown)
            found.append(QStringLiteral("%1 comes back %2 wide, not %3").arg(nameOf(seen.field)).arg(seen.field->width()).arg(seen.width));
    }
    return found;
}

} // namespace LayoutCheck
