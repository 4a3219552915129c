#pragma once

#include "untouchedfields.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class DBRow;
class GroupedTable;
class QAbstractButton;
class QComboBox;
class QDialog;
class QTreeWidget;
class QTreeWidgetItem;

// The editing both definition dialogs share: an editable box that names the set (address
// group or time range), the list of the set's entries, fields for one entry, and the
// buttons that add, change and remove entries and rename or remove a whole set. OK sends
// every change at once. A dialog supplies its widgets and how an entry meets its fields.
//
// The fields show an entry as well as their widgets can (a number beyond a spin box, a type
// the box does not name, blanks around a text the dialog trims). "&Edit" writes the entry
// the fields were filled from, so a field the administrator left alone keeps the entry's
// text exactly, whichever other field was changed (UntouchedFields, remembered when the
// entry is shown). "&Add" makes a new entry of what the fields show.
//
// Return in an entry's fields adds what they show, as "&Add" does, once the administrator has
// typed into them. Return anywhere else, on no button, presses the dialog's default button
// (OK), but never over an entry typed and not yet added or written: the dialog stays.
//
// An OK the server refuses part-way leaves the dialog open on the entries as edited. Once
// the server has carried out any of its changes, the dialog ends Accepted however it is
// closed (closingResult, from the dialog's done()): whoever opened it reads the table again
// when it is accepted, and the server now holds what the opener's copy lacks.
class GroupEditor : public QObject
{
    Q_OBJECT

public:
    struct Widgets
    {
        QComboBox* sets;
        QTreeWidget* entries;
        QAbstractButton* add;
        QAbstractButton* edit;
        QAbstractButton* remove;
        QAbstractButton* renameSet;
        QAbstractButton* removeSet;
        QList<QWidget*> fields; // of one entry
    };

    struct EntryFields
    {
        std::function<QStringList(const DBRow*)> listTexts; // the entry's list columns
        // The entry into the fields, each remembered in `shown` with the widgets that show it.
        std::function<void(const DBRow*, UntouchedFields& shown)> show;
        // The fields into the entry, each through `shown` (UntouchedFields::value).
        std::function<void(DBRow*, const UntouchedFields& shown)> write;
        std::function<bool()> complete; // every required field filled
    };

    // `table` stays the dialog's; it is loaded or not when the editor starts.
    GroupEditor(QDialog* dialog, GroupedTable* table, const Widgets& widgets,
                const EntryFields& fields);

    // Fills the box with the sets and shows `set`, which may be a new name.
    void start(const QString& set);
    // The set the list shows: the set the box's text names, in any letters and without the
    // blanks around it, or that text without them for a new set.
    QString currentSet() const;

    // The dialog's slots.
    void showSet();
    void entrySelected();
    void fieldsChanged();
    void addEntry();
    void editEntry();
    void removeEntry();
    void renameSet();
    void removeSet();
    // Sends and closes with Accepted, or stays open when the server did not take it all.
    void accept();
    // The result the dialog closes with when it is closed with `result`.
    int closingResult(int result) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DBRow* selectedRow() const;
    void fillSets(const QString& current);
    void fillEntries(DBRow* selected);
    // Warns of a key another entry has; before: the entry as it was, for an edit.
    bool refuseClash(DBRow* row, const DBRow* before = nullptr);
    void updateButtons();

    // The entry into the fields, remembering what they show of it.
    void showEntry(const DBRow* row);
    // What the fields show now is no entry typed: it is shown, added or written.
    void fieldsSettled();
    // The administrator has typed into the fields since they last settled.
    bool entryTyped() const;
    bool inEntryFields(const QWidget* widget) const;

    QDialog* m_dialog;
    GroupedTable* m_table;
    Widgets m_widgets;
    EntryFields m_fields;
    UntouchedFields m_shown; // the fields as the last entry shown filled them
    UntouchedFields m_settled; // the fields as they last settled
    bool m_shownOnce = false;
};
