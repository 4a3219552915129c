#include "wndtimeint.h"

#include "dbrow.h"
#include "dialogseam.h"
#include "dlgtimeintex.h"
#include "timeintervals.h"

#include <QPushButton>
#include <QTreeWidget>

WndTimeInt::WndTimeInt(QWidget* parent, DBConn* conn, DBCtrl* ctrl, const char* name,
                       Qt::WindowFlags f, Desktop* desktop)
    : TWndTimeInt(parent, name, f)
    , SetListPage(this, conn, ctrl, desktop, {"timeintervals", dbcol_time, "name"})
{
    addSetList(m_list, QStringLiteral("Time Intervals"), m_btnEdit, m_btnRemove);
    cols().add(tr("Name"), true, -1, false);
    cols().add(tr("Type"), true, -1, false);
    cols().add(tr("Time"), true, -1, false);
    start();
}

WndTimeInt::~WndTimeInt() = default;

QStringList WndTimeInt::headingTexts(const QString& range) const
{
    return {range, QString(), QString()};
}

// Days, start and end as the server stores them.
QStringList WndTimeInt::entryTexts(const DBRow* row) const
{
    const QString days = row->m_values[TimeDays]->text();
    const QString span = tr("%1 - %2").arg(row->m_values[TimeStart]->text(),
                                           row->m_values[TimeEnd]->text());
    return {row->m_values[TimeDesc]->text(), timeTypeName(row->m_values[TimeType]->text()),
            days.isEmpty() ? span : tr("Days %1, %2").arg(days, span)};
}

bool WndTimeInt::runSetDialog(const QString& range)
{
    DlgTimeIntEx dialog(this, nullptr, true, {}, m_conn, range);
    if (!dialog.isLoaded())
        return false;
    return Dialogs::exec(&dialog) == QDialog::Accepted;
}

void WndTimeInt::slotAdd()
{
    addSet();
}

void WndTimeInt::slotCols()
{
    modifyColumns();
}

void WndTimeInt::slotEdit()
{
    editCurrentSet();
}

void WndTimeInt::slotRemove()
{
    removeSelectedSets();
}

void WndTimeInt::slotSelectionChanged()
{
    updateSetButtons(m_btnEdit);
}
