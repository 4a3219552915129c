#include "wndavir.h"

#include "dbrow.h"
#include "dialogseam.h"
#include "dlgattach.h"
#include "filtercolumns.h"
#include "qattachitem.h"
#include "rowcells.h"
#include "scopedqpointer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <algorithm>

WndAvir::WndAvir(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop, const char* name,
                 Qt::WindowFlags flags)
    : TWndAvir(parent, name, flags)
    , ConfigPage(this, parent, conn, ctrl, desktop)
    , ListPage(this, conn, ctrl, desktop)
{
    addList({m_list, QStringLiteral("attach"), 3, m_btnEdit, m_btnRemove, &m_attach,
             tr("This attachment filter is already defined!")});
    cols().add(tr("Type"), true, -1, false);
    cols().add(tr("Content"), true, -1, false);
    cols().add(tr("Action"), true, -1, false);
    loadLayouts();
    if (!ConfigPage::loadTables({{&m_antivir, "antivir", dbcol_avir, EditedRow},
                                 {&m_attach, "AttachFilter", dbcol_attach, Edited}}))
        return;
    if (!loadPlugins())
        return;
    bindCells();
    start(AllSignals);
    // The list was filled in the order the server applies the rules; from now on it keeps
    // that order, and a toggled rule never sends the list through a sort.
    m_list->setSortingEnabled(false);
    slotSelectionChanged();
}

WndAvir::~WndAvir() = default;

// The list is a request of the page's own (the indicator shows only once it lasts); a
// failure is told once and the page goes on without plug-ins, never writing the one stored.
// False when the page went away while it waited.
bool WndAvir::loadPlugins()
{
    QList<QStringList> plugins;
    const Asked asked = askServer(QStringLiteral("SELECT get_avir_plugins()"), 2, &plugins);
    if (asked == Asked::PageGone)
        return false;
    m_plugin->clear();
    // The identifier is kept whole, whatever its length.
    for (const QStringList& plugin : std::as_const(plugins))
        m_plugin->addItem(plugin.at(1), plugin.at(0));
    return true;
}

void WndAvir::selectPlugin(const QString& id)
{
    if (m_plugin->count() == 0)
        return;
    int found = -1;
    for (int i = 0; i < m_plugin->count(); ++i) {
        if (m_plugin->itemData(i).toString() == id)
            found = i;
    }
    // A plug-in the server no longer lists stays chosen under its identifier, so that a
    // change elsewhere on the page does not replace it with another.
    if (found < 0 && !id.isEmpty()) {
        m_plugin->addItem(id, id);
        found = m_plugin->count() - 1;
    }
    if (found >= 0)
        m_plugin->setCurrentIndex(found);
}

void WndAvir::updateData()
{
    m_chkCheckEnable->setChecked(cellFlag(m_antivir, "AvirEnabled"));
    selectPlugin(cell(m_antivir, "UsedPlugin"));
    (cellNumber(m_antivir, "DelayIfFailed") == 1 ? m_rbtnLeave : m_rbtnSend)->setChecked(true);
    m_chkFilterEnable->setChecked(cellFlag(m_antivir, "FilterEnabled"));
    ListPage::updateView(0);
    const QString address = cell(m_antivir, "AdminNotify");
    m_editAdminNotify->setText(address);
    m_chkForward->setChecked(!address.isEmpty());
    (cellNumber(m_antivir, "Bounce") == 0 ? m_rbtnDeliver : m_rbtnBounce)->setChecked(true);
    const qint64 notify = cellNumber(m_antivir, "SenderNotify");
    m_chkSendWarning->setChecked(notify != 0);
    m_chOnlyLocal->setChecked(notify == 2);
}

// What each column of the page's row is shown by, its stored value kept until one changes.
void WndAvir::bindCells()
{
    bindCell(m_antivir, "AvirEnabled", {m_chkCheckEnable});
    bindCell(m_antivir, "UsedPlugin", {m_plugin});
    bindCell(m_antivir, "DelayIfFailed", {m_rbtnLeave, m_rbtnSend});
    bindCell(m_antivir, "FilterEnabled", {m_chkFilterEnable});
    bindCell(m_antivir, "AdminNotify", {m_chkForward, m_editAdminNotify});
    bindCell(m_antivir, "Bounce", {m_rbtnDeliver, m_rbtnBounce});
    bindCell(m_antivir, "SenderNotify", {m_chkSendWarning, m_chOnlyLocal});
}

void WndAvir::updateObject()
{
    const bool active = m_chkCheckEnable->isChecked() || m_chkFilterEnable->isChecked();
    const bool deliver = active && m_rbtnDeliver->isChecked();
    m_plugin->setEnabled(m_chkCheckEnable->isChecked());
    m_chkForward->setEnabled(active);
    m_editAdminNotify->setEnabled(active && m_chkForward->isChecked());
    m_rbtnDeliver->setEnabled(active);
    m_chkSendWarning->setEnabled(deliver);
    m_chOnlyLocal->setEnabled(deliver && m_chkSendWarning->isChecked());
    m_rbtnBounce->setEnabled(active);
}

void WndAvir::writeRows()
{
    writeFlag(m_antivir, "AvirEnabled", m_chkCheckEnable->isChecked());
    // Without a plug-in list there is no choice to make: the stored one stays.
    if (m_plugin->count() > 0)
        writeCell(m_antivir, "UsedPlugin", m_plugin->currentData().toString());
    writeFlag(m_antivir, "FilterEnabled", m_chkFilterEnable->isChecked());
    writeFlag(m_antivir, "DelayIfFailed", m_rbtnLeave->isChecked());
    writeCell(m_antivir, "AdminNotify",
              m_chkForward->isChecked() ? m_editAdminNotify->text() : QString());
    const int notify = !m_chkSendWarning->isChecked() ? 0 : m_chOnlyLocal->isChecked() ? 2 : 1;
    writeCell(m_antivir, "SenderNotify", QString::number(notify));
    writeFlag(m_antivir, "Bounce", m_rbtnBounce->isChecked());
}

void WndAvir::slotChange()
{
    if (handChangeIn())
        updateObject();
}

void WndAvir::updateQuery()
{
    ConfigPage::updateQuery();
}

void WndAvir::ruleToggled(const DBRow* rule)
{
    updateQueryAfterEditOf(rule);
}

void WndAvir::fillItems(int)
{
    // The rules in the order the server applies them, numerically.
    std::vector<DBRow*> rows;
    rows.reserve(m_attach.m_rows.size());
    for (const auto& row : m_attach.m_rows)
        rows.push_back(row.get());
    std::stable_sort(rows.begin(), rows.end(), [](const DBRow* a, const DBRow* b) {
        return QAttachItem::orderOf(a) < QAttachItem::orderOf(b);
    });
    QList<QTreeWidgetItem*> items;
    items.reserve(int(rows.size()));
    for (DBRow* row : rows) {
        auto* item = new QAttachItem(nullptr, row, &cols(), this);
        item->show();
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    // A refill follows a reset or a change of the columns: the pending list is the
    // difference of the rows the list now shows.
    updateQuery();
}

DBRow* WndAvir::rowOf(int, QTreeWidgetItem* item) const
{
    return static_cast<QAttachItem*>(item)->row();
}

QTreeWidgetItem* WndAvir::newItem(int, DBRow* row)
{
    // A rule just added is on.
    RowCells::setCell(row, "enabled", QStringLiteral("1"));
    return new QAttachItem(m_list, row, &cols(), this);
}

void WndAvir::showItem(int, QTreeWidgetItem* item)
{
    static_cast<QAttachItem*>(item)->show();
}

bool WndAvir::runEditDialog(int list, DBRow* row)
{
    ScopedQPointer<DlgAttach> dialog(new DlgAttach(this, nullptr, true, {}));
    dialog->showRow(row, isNewRow(list, row));
    if (Dialogs::exec(dialog.get()) != QDialog::Accepted || !dialog)
        return false;
    dialog->writeRow(row);
    return true;
}

bool WndAvir::edit(DBRow* row)
{
    return ListPage::edit(0, row);
}

void WndAvir::slotBeforeApply()
{
    bool anyOn = false;
    for (int i = 0; i < m_list->topLevelItemCount() && !anyOn; ++i)
        anyOn = static_cast<QAttachItem*>(m_list->topLevelItem(i))->isOn();
    if (m_chkFilterEnable->isChecked() && !anyOn
        && askToCorrect(tr("You have attachment filter enabled but no filter activated.\nDo you "
                           "want to correct the problem?"),
                        m_list))
        return;
    if (m_chkCheckEnable->isChecked() && m_chkForward->isChecked()
        && m_editAdminNotify->text().isEmpty())
        askToCorrect(tr("You should fill administrator's address.\nDo you want to correct the "
                        "problem?"),
                     m_editAdminNotify);
}

void WndAvir::slotReset()
{
    // Not while the rule dialog holds a rule.
    answerReset();
}

void WndAvir::resetTables()
{
    ConfigPage::slotReset();
}

// A new rule goes after every other: its order is one more than the highest.
int WndAvir::nextOrder() const
{
    int highest = 0;
    for (const auto& row : m_attach.m_rows)
        highest = std::max(highest, QAttachItem::orderOf(row.get()));
    return highest + 1;
}

void WndAvir::slotAdd()
{
    if (!isReady())
        return;
    const int order = nextOrder();
    addRow(0, [order](DBRow* row) {
        RowCells::setCell(row, "action", QStringLiteral("1"));
        RowCells::setCell(row, "order", QString::number(order));
    });
}

void WndAvir::slotEdit()
{
    if (isReady())
        editCurrent();
}

void WndAvir::slotRemove()
{
    if (isReady())
        removeSelected();
}

void WndAvir::slotSelectionChanged()
{
    updateButtons();
}

void WndAvir::slotCols()
{
    if (isReady())
        modifyColumns();
}

void WndAvir::slotUp()
{
    moveCurrent(-1);
}

void WndAvir::slotDown()
{
    moveCurrent(1);
}

void WndAvir::moveCurrent(int step)
{
    if (!isReady())
        return;
    auto* current = static_cast<QAttachItem*>(m_list->currentItem());
    if (!current)
        return;
    auto* neighbour = static_cast<QAttachItem*>(
        m_list->topLevelItem(m_list->indexOfTopLevelItem(current) + step));
    if (!neighbour)
        return;
    DBRow* moved = current->row();
    DBRow* other = neighbour->row();
    const QString movedOrder = RowCells::cell(moved, "order");
    RowCells::setCell(moved, "order", RowCells::cell(other, "order"));
    RowCells::setCell(other, "order", movedOrder);
    current->setRow(other);
    neighbour->setRow(moved);
    current->show();
    neighbour->show();
    m_list->setCurrentItem(neighbour);
    current->setSelected(false);
    neighbour->setSelected(true);
    updateQuery();
}

void WndAvir::slotRightButtonPressed(QTreeWidgetItem* item, const QPoint& pos, int)
{
    showPopupMenu(this, pos, item);
}
