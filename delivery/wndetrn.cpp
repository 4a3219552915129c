#include "wndetrn.h"

#include "deliverycolumns.h"
#include "deliverytexts.h"
#include "dialogseam.h"
#include "dlgetrn.h"
#include "passwordplaceholder.h"
#include "qetrnitem.h"
#include "scopedqpointer.h"
#include "untouchedfields.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace DeliveryTexts;

WndEtrn::WndEtrn(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
                 const char* name, Qt::WindowFlags fl)
    : TWndEtrn(parent, name, fl)
    , ListPage(this, conn, ctrl, desktop)
{
    addList({m_list, QStringLiteral("etrn"), 2, m_btnEdit, m_btnRemove, &m_table,
             tr("This item is already defined!")});
    QEtrnItem::addColumns(cols());
    loadLayouts();
    if (!loadTables({{&m_table, "odmr", dbcol_etrn}}))
        return;
    finishEditablePage();
}

WndEtrn::~WndEtrn() = default;

void WndEtrn::fillItems(int)
{
    for (const auto& row : m_table.m_rows)
        (new QEtrnItem(m_list, row.get(), &cols()))->show();
}

DBRow* WndEtrn::rowOf(int, QTreeWidgetItem* item) const
{
    return static_cast<QEtrnItem*>(item)->row();
}

QTreeWidgetItem* WndEtrn::newItem(int, DBRow* row)
{
    return new QEtrnItem(m_list, row, &cols());
}

void WndEtrn::showItem(int, QTreeWidgetItem* item)
{
    static_cast<QEtrnItem*>(item)->show();
}

bool WndEtrn::runEditDialog(int list, DBRow* row)
{
    ScopedQPointer<DlgEtrn> dialog(new DlgEtrn(this, nullptr, true, {}));
    dialog->m_editServer->setText(cell(row, "server"));
    dialog->m_editDomain->setText(cell(row, "domain"));
    dialog->m_editUser->setText(cell(row, "user"));
    // Never the stored password: only whether it is retyped.
    dialog->m_editPass->setText(passwordPlaceholder());
    const bool auth = leadingInt(cell(row, "auth")) != 0;
    dialog->m_chkAuth->setChecked(auth);
    // Also when the box kept its state: the fields follow it from the start.
    dialog->slotAuthToggled(auth);
    UntouchedFields untouched;
    untouched.setNewRow(isNewRow(list, row));
    untouched.remember(QStringLiteral("auth"), cell(row, "auth"), {dialog->m_chkAuth});

    if (Dialogs::exec(dialog.get()) != QDialog::Accepted || !dialog)
        return false;
    setCell(row, "server", dialog->m_editServer->text());
    setCell(row, "domain", dialog->m_editDomain->text());
    setCell(row, "auth", untouched.value(QStringLiteral("auth"), dialog->m_chkAuth->isChecked()
                                                                     ? QStringLiteral("1")
                                                                     : QStringLiteral("0")));
    setCell(row, "user", dialog->m_editUser->text());
    if (dialog->m_editPass->text() != passwordPlaceholder())
        setCell(row, "password", QLatin1String("NUL:") + dialog->m_editPass->text());
    return true;
}

void WndEtrn::slotAdd()
{
    // A new entry carries an empty password unless one is typed.
    addRow(0, [](DBRow* row) { setCell(row, "password", QStringLiteral("NUL:")); });
}

void WndEtrn::slotCols()
{
    modifyColumns();
}

void WndEtrn::slotEdit()
{
    editCurrent();
}

void WndEtrn::slotRemove()
{
    removeSelected();
}

void WndEtrn::slotSelectionChanged()
{
    updateButtons();
}
