#include "wndsched.h"

#include "deliverycolumns.h"
#include "deliverytexts.h"
#include "dialogseam.h"
#include "dlgsched.h"
#include "qscheditem.h"
#include "schedtimes.h"
#include "scopedqpointer.h"
#include "timeintervals.h"
#include "untouchedfields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace DeliveryTexts;

namespace {

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

WndSched::WndSched(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
                   const char* name, Qt::WindowFlags fl)
    : TWndSched(parent, name, fl)
    , ListPage(this, conn, ctrl, desktop)
    , m_conn(conn)
    , m_ctrl(ctrl)
{
    addList({m_list, QStringLiteral("sched"), 4, m_btnEdit, m_btnRemove, &m_table,
             tr("This item is already defined!")});
    QSchedItem::addColumns(cols());
    loadLayouts();
    if (!loadTables({{&m_table, "scheduler", dbcol_sched}, {&m_times, "timeintervals", dbcol_time}}))
        return;
    finishEditablePage();
}

WndSched::~WndSched() = default;

void WndSched::fillItems(int)
{
    for (const auto& row : m_table.m_rows)
        (new QSchedItem(m_list, row.get(), &cols(), this))->show();
}

DBRow* WndSched::rowOf(int, QTreeWidgetItem* item) const
{
    return static_cast<QSchedItem*>(item)->row();
}

QTreeWidgetItem* WndSched::newItem(int, DBRow* row)
{
    return new QSchedItem(m_list, row, &cols(), this);
}

void WndSched::showItem(int, QTreeWidgetItem* item)
{
    static_cast<QSchedItem*>(item)->show();
}

void WndSched::fillDialog(DlgSched* dialog, const DBRow* row)
{
    UntouchedFields& untouched = dialog->m_untouched;
    // A description longer than the field holds shows cut.
    dialog->m_editDesc->setText(cell(row, "desc"));
    untouched.remember(QStringLiteral("desc"), cell(row, "desc"), {dialog->m_editDesc});
    const int minutes = leadingInt(cell(row, "time"));
    switch (leadingInt(cell(row, "timetype"))) {
    case 0: {
        dialog->m_comboEveryAt->setCurrentIndex(0);
        dialog->updateEveryAt(0);
        const bool hours = minutes > 0 && minutes % 60 == 0;
        dialog->m_comboMin->setCurrentIndex(hours ? 1 : 0);
        dialog->m_everyText = QString::number(hours ? minutes / 60 : minutes);
        dialog->m_edit->setText(dialog->m_everyText);
        break;
    }
    case 1:
        dialog->m_comboEveryAt->setCurrentIndex(1);
        dialog->updateEveryAt(1);
        dialog->m_atText = getTime2Show(minutes);
        dialog->m_edit->setText(dialog->m_atText);
        break;
    }
    // The mode, the number and the unit stand for both columns together.
    const std::initializer_list<const QWidget*> timeFields{dialog->m_comboEveryAt, dialog->m_edit,
                                                           dialog->m_comboMin};
    untouched.remember(QStringLiteral("timetype"), cell(row, "timetype"), timeFields);
    untouched.remember(QStringLiteral("time"), cell(row, "time"), timeFields);
    const int action = leadingInt(cell(row, "action"));
    dialog->m_chkSend->setChecked(action & 1);
    dialog->m_chkReceive->setChecked(action & 2);
    dialog->m_chkOdmr->setChecked(action & 4);
    untouched.remember(QStringLiteral("action"), cell(row, "action"),
                       {dialog->m_chkSend, dialog->m_chkReceive, dialog->m_chkOdmr});
    // Also a range the ranges no longer hold: it stays the choice.
    const QString range = cell(row, "timeint");
    dialog->setTimeint(range);
    dialog->m_chkValid->setChecked(!range.isEmpty());
    dialog->slotValidChecked();
    dialog->m_chkDialRAS->setChecked(leadingInt(cell(row, "allowdial")) != 0);
    untouched.remember(QStringLiteral("allowdial"), cell(row, "allowdial"), {dialog->m_chkDialRAS});
}

void WndSched::readDialog(const DlgSched* dialog, DBRow* row)
{
    const UntouchedFields& untouched = dialog->m_untouched;
    setCell(row, "desc", untouched.value(QStringLiteral("desc"), dialog->m_editDesc->text()));
    const bool every = dialog->m_comboEveryAt->currentIndex() == 0;
    const QString text = dialog->m_edit->text();
    const int factor = dialog->m_comboMin->currentIndex() == 1 ? 60 : 1;
    const QString time = every ? QString::number(leadingInt(text) * factor)
                               : QString::number(getTime2Store(text));
    setCell(row, "timetype", untouched.value(QStringLiteral("timetype"), flag(!every)));
    setCell(row, "time", untouched.value(QStringLiteral("time"), time));
    const int action = (dialog->m_chkSend->isChecked() ? 1 : 0)
                       + (dialog->m_chkReceive->isChecked() ? 2 : 0)
                       + (dialog->m_chkOdmr->isChecked() ? 4 : 0);
    setCell(row, "action", untouched.value(QStringLiteral("action"), QString::number(action)));
    setCell(row, "timeint", dialog->m_chkValid->isChecked() ? dialog->m_combo->currentText() : QString());
    setCell(row, "allowdial", untouched.value(QStringLiteral("allowdial"), flag(dialog->m_chkDialRAS->isChecked())));
}

bool WndSched::runEditDialog(int list, DBRow* row)
{
    ScopedQPointer<DlgSched> dialog(new DlgSched(this, nullptr, true, {}, m_conn, m_ctrl, &m_times));
    fillDialog(dialog.get(), row);
    dialog->setNewRow(isNewRow(list, row));
    if (Dialogs::exec(dialog.get()) != QDialog::Accepted || !dialog)
        return false;
    readDialog(dialog.get(), row);
    return true;
}

void WndSched::slotAdd()
{
    addRow(0, [](DBRow* row) {
        setCell(row, "timeint", QString());
        setCell(row, "enabled", QStringLiteral("1"));
    });
}

void WndSched::slotCols()
{
    modifyColumns();
}

void WndSched::slotEdit()
{
    editCurrent();
}

void WndSched::slotRemove()
{
    removeSelected();
}

void WndSched::slotSelectionChanged()
{
    updateButtons();
}
