#pragma once

// The sweep over stored values that a dialog's widgets cannot show exactly (2 or -1 behind a
// check box or a radio pair, a number no entry of a choice stands for, an empty cell, a word
// in a number column, a number beyond a spin box). Each row stores one such value in one
// column of a row and says what the administrator does to that column's own widget and what
// that writes. Two checks run over the same rows:
// - another field of the row edited: the column keeps its stored text, so exactly that other
//   field's change goes to the server;
// - the column's own widget changed: it writes what the widget shows (nothing when the widget
//   ends up showing what the stored text showed), and Apply turns on.
// The dialog is opened from its page as the administrator opens it; the pages differ in how
// they are built and applied, which each test supplies.

#include "dialogrecorder.h"
#include "storedrow.h"
#include "widgetactions.h"

#include <QAbstractButton>
#include <QDialog>
#include <QTest>
#include <QTreeWidget>

#include <functional>
#include <memory>

// How the dialog of one kind of row is reached from its page and made to write.
struct DialogPath
{
    QString list;       // the page's list, whose first entry is edited; none: its current one
    QString editButton; // on the page: opens the dialog on the current entry
    QString okButton;   // the dialog's OK
    QString entryList;  // a set dialog's list of entries, the first of which is edited
    QString entryEdit;  // a set dialog's button that writes the fields into that entry
};

// One kind of row swept: the row as stored, the way to its dialog, and the other field each
// row edits to see that its own column keeps its text. `other` writes `otherWrites`; in rows
// of the column it writes (`otherColumn`), `otherAlt` writing `otherAltWrites` stands in.
struct SweptRow
{
    StoredRow row;
    DialogPath path;
    WidgetActions other;
    QString otherWrites;
    QString otherColumn;
    WidgetActions otherAlt;
    QString otherAltWrites;
    // The column a list entry's check box stands for: its rows act on the page's list.
    QString listColumn;

    bool editsItsOwnOther(const QString& column) const { return column == otherColumn; }
    const WidgetActions& otherEdit(const QString& column) const
    {
        return editsItsOwnOther(column) ? otherAlt : other;
    }
    // What the other edit sends: that field's change and nothing else.
    QStringList otherStatements(const StoredRow& stored, const QString& column) const
    {
        return {stored.update(editsItsOwnOther(column) ? otherAltWrites : otherWrites)};
    }
};

namespace DialogSweep {

inline void addColumns()
{
    QTest::addColumn<QString>("kind");          // the kind of row, as the test names it
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("type");              // how the server declares the column; 0: as usual
    QTest::addColumn<QString>("stored");
    QTest::addColumn<WidgetActions>("action");  // on the column's own widget
    QTest::addColumn<QString>("written");       // the column's text after the action
}

inline void addRow(const QString& kind, const QString& column, int type, const QString& stored,
                   const WidgetActions& action, const QString& written)
{
    const QString name = QStringLiteral("%1: %2 stored '%3' (type %4), %5 -> '%6'")
                             .arg(kind, column, stored, QString::number(type), describe(action), written);
    QTest::newRow(qPrintable(name)) << kind << column << type << stored << action << written;
}

// What the column's own action sends: its new text, or nothing when it writes the stored one.
inline QStringList ownStatements(const StoredRow& stored, const QString& column, const QString& written)
{
    if (written == stored.texts.value(stored.indexOf(column)))
        return {};
    return {stored.update(StoredRow::assignment(column, written))};
}

inline QAbstractButton* button(QWidget* root, const QString& name)
{
    return root->findChild<QAbstractButton*>(name);
}

// Picks the first entry of the list: the row swept is the only one its table holds (on a
// definition page, the heading of its set).
inline bool pickFirstEntry(QWidget* root, const QString& list)
{
    auto* view = root->findChild<QTreeWidget*>(list);
    QTreeWidgetItem* entry = view ? view->topLevelItem(0) : nullptr;
    if (!entry)
        return false;
    view->setCurrentItem(entry);
    return true;
}

// Opens the dialog from `page` on the first entry of its list (or the current one), does `actions` in it (for a
// set dialog: on its first entry, written into it with the entry's button) and presses OK.
// Every question the dialog asks on the way is answered No, as an administrator who means
// the value asked about answers it. `aroundOk` runs just before and just after OK, while the
// dialog is up. True when every action could be done and the dialog was accepted.
inline bool editThroughDialog(QWidget* page, const DialogPath& path, const WidgetActions& actions,
                              DialogRecorder& recorder,
                              const std::function<void(bool afterOk)>& aroundOk = {})
{
    if (!path.list.isEmpty() && !pickFirstEntry(page, path.list))
        return false;
    QAbstractButton* edit = button(page, path.editButton);
    if (!edit || !edit->isEnabled())
        return false;
    // Held by value: the handler stays queued should the page open no dialog.
    const auto done = std::make_shared<bool>(false);
    recorder.answerDialog([done, path, actions, aroundOk](QDialog* dialog) {
        DialogRecorder questions;
        for (int i = 0; i < 4; ++i)
            questions.answer(QMessageBox::No);
        if (!path.entryList.isEmpty() && !pickFirstEntry(dialog, path.entryList))
            return int(QDialog::Rejected);
        if (!performAll(dialog, actions))
            return int(QDialog::Rejected);
        if (!path.entryEdit.isEmpty()) {
            QAbstractButton* entryEdit = button(dialog, path.entryEdit);
            if (!entryEdit || !entryEdit->isEnabled())
                return int(QDialog::Rejected);
            QTest::keyClick(entryEdit, Qt::Key_Space);
        }
        QAbstractButton* ok = button(dialog, path.okButton);
        if (!ok)
            return int(QDialog::Rejected);
        if (aroundOk)
            aroundOk(false);
        QTest::keyClick(ok, Qt::Key_Space);
        if (aroundOk)
            aroundOk(true);
        *done = dialog->result() == QDialog::Accepted;
        return dialog->result();
    });
    QTest::keyClick(edit, Qt::Key_Space);
    return *done;
}

} // namespace DialogSweep
