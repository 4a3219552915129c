#include "groupeditor.h"

#include "choicebox.h"
#include "comboboxes.h"
#include "dbrow.h"
#include "dialogseam.h"
#include "formwidgets.h"
#include "groupedtable.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QInputDialog>
#include <QPointer>
#include <QSignalBlocker>
#include <QTreeWidget>

#include <algorithm>
#include <utility>

namespace {

constexpr int RowRole = Qt::UserRole;
// The name the fields of one entry go by in m_settled.
const QString SettledFields = QStringLiteral("entry");

DBRow* rowOfItem(const QTreeWidgetItem* item)
{
    return item ? static_cast<DBRow*>(item->data(0, RowRole).value<void*>()) : nullptr;
}

} // namespace

GroupEditor::GroupEditor(QDialog* dialog, GroupedTable* table, const Widgets& widgets,
                         const EntryFields& fields)
    : QObject(dialog), m_dialog(dialog), m_table(table), m_widgets(widgets), m_fields(fields)
{
    // The box only names a set; what it offers comes from the table, never from typing.
    m_widgets.sets->setInsertPolicy(QComboBox::NoInsert);
    m_dialog->installEventFilter(this);
}

void GroupEditor::start(const QString& set)
{
    fillSets(set);
    showSet();
    fieldsSettled();
}

void GroupEditor::fieldsSettled()
{
    m_settled.remember(SettledFields, QString(),
                       QList<const QWidget*>(m_widgets.fields.cbegin(), m_widgets.fields.cend()));
}

bool GroupEditor::entryTyped() const
{
    return m_settled.isTouched(SettledFields);
}

bool GroupEditor::inEntryFields(const QWidget* widget) const
{
    return widget && std::any_of(m_widgets.fields.cbegin(), m_widgets.fields.cend(), [widget](const QWidget* field) {
               return field == widget || field->isAncestorOf(widget);
           });
}

// Return reaches the dialog when the widget that has the keys leaves it alone: a field, the
// list, the set's box; a focused button presses itself.
bool GroupEditor::eventFilter(QObject* watched, QEvent* event)
{
    // A spin box writes out its number only once it is shown: the fields settle as the
    // administrator first sees them, before anything can be typed.
    if (watched == m_dialog && event->type() == QEvent::Show && !std::exchange(m_shownOnce, true))
        fieldsSettled();
    if (watched != m_dialog || !FormWidgets::isReturnPress(event) || !entryTyped())
        return QObject::eventFilter(watched, event);
    if (inEntryFields(m_dialog->focusWidget()) && m_widgets.add->isEnabled())
        m_widgets.add->click();
    return true;
}

QString GroupEditor::currentSet() const
{
    return ChoiceBox::nameShown(m_widgets.sets);
}

void GroupEditor::fillSets(const QString& current)
{
    const QSignalBlocker blocker(m_widgets.sets);
    m_widgets.sets->clear();
    m_widgets.sets->addItems(m_table->names());
    ComboBoxes::setCurrentText(m_widgets.sets, current);
}

void GroupEditor::showSet()
{
    fillEntries(nullptr);
}

void GroupEditor::fillEntries(DBRow* selected)
{
    QTreeWidget* list = m_widgets.entries;
    const QSignalBlocker blocker(list);
    list->clear();
    for (DBRow* row : m_table->rowsOf(currentSet())) {
        auto* item = new QTreeWidgetItem(list, m_fields.listTexts(row));
        item->setData(0, RowRole, QVariant::fromValue<void*>(row));
        if (row == selected)
            list->setCurrentItem(item);
    }
    updateButtons();
}

DBRow* GroupEditor::selectedRow() const
{
    const QList<QTreeWidgetItem*> selected = m_widgets.entries->selectedItems();
    return selected.size() == 1 ? rowOfItem(selected.first()) : nullptr;
}

void GroupEditor::entrySelected()
{
    if (DBRow* row = selectedRow())
        showEntry(row);
    updateButtons();
}

void GroupEditor::showEntry(const DBRow* row)
{
    m_shown = UntouchedFields();
    m_fields.show(row, m_shown);
    fieldsSettled();
}

void GroupEditor::fieldsChanged()
{
    updateButtons();
}

void GroupEditor::updateButtons()
{
    const bool named = !currentSet().isEmpty();
    const bool complete = m_fields.complete();
    const bool selected = selectedRow() != nullptr;
    const bool existing = named && !m_table->rowsOf(currentSet()).isEmpty();
    m_widgets.add->setEnabled(named && complete && m_table->isLoaded());
    m_widgets.edit->setEnabled(selected && complete);
    m_widgets.remove->setEnabled(selected);
    m_widgets.renameSet->setEnabled(existing);
    m_widgets.removeSet->setEnabled(existing);
}

bool GroupEditor::refuseClash(DBRow* row, const DBRow* before)
{
    if (!m_table->clashes(row, before))
        return false;
    Dialogs::warning(m_dialog, tr("Warning"), tr("This item is already defined!"));
    return true;
}

void GroupEditor::addEntry()
{
    if (currentSet().isEmpty() || !m_fields.complete())
        return;
    DBRow* row = m_table->append(currentSet());
    if (!row)
        return;
    // A new entry: nothing of it is stored to keep, every field gives what it shows.
    m_fields.write(row, UntouchedFields());
    if (refuseClash(row)) {
        m_table->remove(row);
        return;
    }
    // The new entry is the one selected now, and it holds what the fields show: nothing of
    // the entry they were filled from is to be kept when they are written into it.
    m_shown = UntouchedFields();
    fieldsSettled();
    fillSets(currentSet());
    fillEntries(row);
}

void GroupEditor::editEntry()
{
    DBRow* row = selectedRow();
    if (!row || !m_fields.complete())
        return;
    const DBRow before(*row);
    m_fields.write(row, m_shown);
    if (refuseClash(row, &before)) {
        *row = before;
        showEntry(row);
        return;
    }
    fieldsSettled();
    fillEntries(row);
}

void GroupEditor::removeEntry()
{
    for (QTreeWidgetItem* item : m_widgets.entries->selectedItems())
        m_table->remove(rowOfItem(item));
    const QString set = currentSet();
    fillSets(set);
    fillEntries(nullptr);
}

void GroupEditor::removeSet()
{
    m_table->removeSet(currentSet());
    fillSets(QString());
    fillEntries(nullptr);
}

void GroupEditor::renameSet()
{
    const QString from = currentSet();
    if (from.isEmpty())
        return;
    QInputDialog input(m_dialog);
    input.setWindowTitle(m_dialog->windowTitle());
    input.setLabelText(tr("New name:"));
    input.setTextValue(from);
    const QPointer<QDialog> alive(m_dialog);
    const int result = Dialogs::exec(&input);
    if (!alive || result != QDialog::Accepted)
        return;
    const QString to = input.textValue().trimmed();
    if (to.isEmpty() || to == from)
        return;
    // Another set of that name would take this one's entries in: refused like any clash.
    if (m_table->hasName(to) && to.compare(from, Qt::CaseInsensitive) != 0) {
        Dialogs::warning(m_dialog, tr("Warning"), tr("This item is already defined!"));
        return;
    }
    m_table->renameSet(from, to);
    fillSets(to);
    fillEntries(nullptr);
}

int GroupEditor::closingResult(int result) const
{
    return m_table->changedServer() ? int(QDialog::Accepted) : result;
}

void GroupEditor::accept()
{
    const QPointer<QDialog> alive(m_dialog);
    const bool sent = m_table->sendNow();
    // Not sent: the dialog stays open on the entries as they were edited, and the next OK
    // sends what did not get through.
    if (alive && sent)
        m_dialog->accept();
}
