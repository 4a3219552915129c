#pragma once

// The "Modify Columns" dialog worked as the administrator works it, for a DialogRecorder to
// run when a page opens the dialog.

#include "dlgcols.h"

#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QString>

#include <functional>

// Takes the displayed column titled `title` out of the list and presses OK. A dialog that is
// not the column dialog, or has no such column, is rejected.
inline std::function<int(QDialog*)> hideColumnNamed(const QString& title)
{
    return [title](QDialog* dialog) {
        auto* columns = qobject_cast<DlgCols*>(dialog);
        if (!columns)
            return int(QDialog::Rejected);
        const QList<QListWidgetItem*> found = columns->m_listDisplayed->findItems(title, Qt::MatchExactly);
        if (found.size() != 1)
            return int(QDialog::Rejected);
        columns->m_listDisplayed->clearSelection();
        found.first()->setSelected(true);
        columns->m_btnRemove->click();
        columns->m_btnOK->click();
        return columns->result();
    };
}
