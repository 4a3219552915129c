// How a dialog is fitted to what it shows before it opens (see dialogseam.h).

#include "dialogseam.h"

#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QList>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTreeView>

#include <algorithm>

namespace Dialogs {

namespace {

// The width of the screen the dialog opens on; 0 when there is none.
int screenWidth(const QDialog *dialog)
{
    const QScreen *screen = dialog->screen() ? dialog->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().width() : 0;
}

// The widest entry of the list's column, or its title when that is wider.
int widestEntry(const QTreeView *list, int column)
{
    return qMax(static_cast<const QAbstractItemView *>(list)->sizeHintForColumn(column),
                list->header()->sectionSizeHint(column));
}

// Whether the list sets the column's width itself from what it holds or from the room left.
bool sizedByTheList(const QHeaderView *header, int column)
{
    const bool stretchedLast = header->stretchLastSection() && header->visualIndex(column) == header->count() - 1;
    return stretchedLast || header->sectionResizeMode(column) != QHeaderView::Interactive;
}

// Widens the list's columns to their widest entries (up to at most each) and returns the
// width the columns take side by side.
int widenColumns(QTreeView *list, int most)
{
    QHeaderView *header = list->header();
    int total = 0;
    for (int column = 0; column < header->count(); ++column) {
        if (header->isSectionHidden(column))
            continue;
        const int needed = qMin(widestEntry(list, column), most);
        if (sizedByTheList(header, column)) {
            total += needed;
            continue;
        }
        if (header->sectionSize(column) < needed)
            header->resizeSection(column, needed);
        total += header->sectionSize(column);
    }
    return total;
}

// Every size the dialog's layouts hold is measured anew: a field's new limits reach the
// layouts above it only through events, and until then they lay the dialog out after the old.
void remeasure(QDialog *dialog)
{
    for (QWidget *widget : dialog->findChildren<QWidget *>())
        widget->updateGeometry();
    for (QLayout *layout : dialog->findChildren<QLayout *>())
        layout->invalidate();
}

// The least width the dialog's layouts give it now.
int leastWidth(QDialog *dialog)
{
    remeasure(dialog);
    return qMax(dialog->minimumSizeHint().width(), dialog->minimumWidth());
}

bool isList(const QWidget *field)
{
    return qobject_cast<const QAbstractItemView *>(field) != nullptr;
}

// The room a field asks for: a box's or label's text, a list's columns.
int askedWidth(const QWidget *field)
{
    if (isList(field))
        return field->minimumWidth();
    return qMax(field->sizeHint().width(), field->minimumSizeHint().width());
}

// The fields that may give up room, widest first.
QList<QWidget *> fieldsAskingMoreThan(QDialog *dialog, int share)
{
    QList<QWidget *> fields;
    for (QWidget *field : dialog->findChildren<QWidget *>()) {
        const bool holdsText = qobject_cast<QComboBox *>(field) || qobject_cast<QLabel *>(field);
        if ((holdsText || isList(field)) && askedWidth(field) > share)
            fields.append(field);
    }
    std::stable_sort(fields.begin(), fields.end(),
                     [](const QWidget *a, const QWidget *b) { return askedWidth(a) > askedWidth(b); });
    return fields;
}

void giveUpRoom(QWidget *field, int share)
{
    if (isList(field))
        field->setMinimumWidth(share);
    else if (field->maximumWidth() > share)
        field->setMaximumWidth(share);
}

} // namespace

void showListsWhole(QDialog *dialog)
{
    const int screen = screenWidth(dialog);
    for (QTreeView *list : dialog->findChildren<QTreeView *>()) {
        const int columns = widenColumns(list, screen > 0 ? screen : QWIDGETSIZE_MAX);
        // Room for the vertical bar too: the list may hold more rows than it shows.
        const int bar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list->verticalScrollBar());
        const int needed = qMin(columns + 2 * list->frameWidth() + bar, list->maximumWidth());
        if (list->minimumWidth() < needed)
            list->setMinimumWidth(needed);
    }
}

void keepWithinScreen(QDialog *dialog)
{
    const int room = screenWidth(dialog);
    if (room <= 0)
        return;
    // A third: a row may hold a label and two such fields side by side.
    const int share = room / 3;
    bool gaveUp = false;
    for (QWidget *field : fieldsAskingMoreThan(dialog, share)) {
        if (leastWidth(dialog) <= room)
            return;
        giveUpRoom(field, share);
        gaveUp = true;
    }
    // The last field to give up room is measured by nothing above.
    if (gaveUp)
        remeasure(dialog);
}

void fitToContents(QDialog *dialog)
{
    dialog->ensurePolished();
    showListsWhole(dialog);
    keepWithinScreen(dialog);
}

} // namespace Dialogs
