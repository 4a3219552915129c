#include "wndantispam.h"

#include "accountfields.h"
#include "cellnumbers.h"
#include "dialogseam.h"
#include "dlgfilter.h"
#include "filtercolumns.h"
#include "ipaccesslist.h"
#include "qfilteritem.h"
#include "scopedqpointer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>

WndAntispam::WndAntispam(QWidget* parent, DBConn* conn, Desktop* desktop, DBCtrl* ctrl,
                         const char* name, Qt::WindowFlags flags)
    : TWndAntispam(parent, name, flags)
    , ConfigPage(this, parent, conn, ctrl, desktop)
    , ListPage(this, conn, ctrl, desktop)
{
    if (!ConfigPage::loadTables({{&m_antispam, "antispam", dbcol_antispam, EditedRow},
                                 {&m_acl, "ipaccesslist", dbcol_ipacl, ReadOnly},
                                 {&m_filter, "HeaderFilter", dbcol_filter, Edited}}))
        return;
    // A page whose load failed shows a list without columns: they come only now.
    setUpList();
    bindCells();
    start(AllSignals);
    updateView();
    slotSelectionChanged();
}

WndAntispam::~WndAntispam() = default;

void WndAntispam::setUpList()
{
    addList({m_list, QStringLiteral("filter"), 2, m_btnEdit, m_btnRemove, &m_filter,
             tr("This item is already defined!")});
    cols().add(tr("Header"), true, -1, false);
    cols().add(tr("Type"), true, -1, false);
    cols().add(tr("Content"), true, -1, false);
    loadLayouts();
}

// What each column of the page's row is shown by, its stored value kept until one changes.
void WndAntispam::bindCells()
{
    bindCell(m_antispam, "Enabled", {m_chkEnabled});
    bindCell(m_antispam, "AllowAcl", {m_chkAddrGroup, m_addressGroup});
    bindCell(m_antispam, "AllowAuth", {m_chkAuth});
    bindCell(m_antispam, "AclBlock", {m_chkAddrGroup2, m_addressGroup2});
    bindCell(m_antispam, "DbLog", {m_chkLogRBL, m_chkLogRSS, m_chkLogDUL});
    bindCell(m_antispam, "DbBlock", {m_chkBlockRBL, m_chkBlockRSS, m_chkBlockDUL});
}

void WndAntispam::updateData()
{
    m_chkEnabled->setChecked(cellFlag(m_antispam, "Enabled"));
    const QString allowed = cell(m_antispam, "AllowAcl");
    m_chkAddrGroup->setChecked(!allowed.isEmpty());
    fillGroupBox(&m_acl, m_addressGroup, allowed);
    m_chkAuth->setChecked(cellFlag(m_antispam, "AllowAuth"));
    const QString blocked = cell(m_antispam, "AclBlock");
    m_chkAddrGroup2->setChecked(!blocked.isEmpty());
    fillGroupBox(&m_acl, m_addressGroup2, blocked);
    const qint64 logged = cellNumber(m_antispam, "DbLog");
    const qint64 block = cellNumber(m_antispam, "DbBlock");
    m_chkLogRBL->setChecked(logged & Rbl);
    m_chkLogRSS->setChecked(logged & Rss);
    m_chkLogDUL->setChecked(logged & Dul);
    m_chkBlockRBL->setChecked(block & Rbl);
    m_chkBlockRSS->setChecked(block & Rss);
    m_chkBlockDUL->setChecked(block & Dul);
}

void WndAntispam::updateObject()
{
    const bool relay = m_chkEnabled->isChecked();
    const bool byGroup = relay && m_chkAddrGroup->isChecked();
    m_chkAddrGroup->setEnabled(relay);
    m_addressGroup->setEnabled(byGroup);
    m_addressGroup2->setEnabled(m_chkAddrGroup2->isChecked());
    m_btnEdit1->setEnabled(byGroup);
    m_chkAuth->setEnabled(relay);
}

// Bits the server knows and the page does not show stay as they are: the masks are the
// stored ones with only the shown bits replaced.
int WndAntispam::mask(const char* column, int rss, int rbl, int dul)
{
    const int stored = int(CellNumbers::leadingNumber(storedCell(m_antispam, column)));
    return (stored & ~Shown) | rss | rbl | dul;
}

void WndAntispam::writeRows()
{
    writeFlag(m_antispam, "Enabled", m_chkEnabled->isChecked());
    writeCell(m_antispam, "AllowAcl",
              m_chkAddrGroup->isChecked() ? m_addressGroup->currentText() : QString());
    writeCell(m_antispam, "AclBlock",
              m_chkAddrGroup2->isChecked() ? m_addressGroup2->currentText() : QString());
    writeFlag(m_antispam, "AllowAuth", m_chkAuth->isChecked());
    auto bit = [](const QCheckBox* box, int value) { return box->isChecked() ? value : 0; };
    writeCell(m_antispam, "DbLog",
              QString::number(mask("DbLog", bit(m_chkLogRSS, Rss), bit(m_chkLogRBL, Rbl),
                                   bit(m_chkLogDUL, Dul))));
    writeCell(m_antispam, "DbBlock",
              QString::number(mask("DbBlock", bit(m_chkBlockRSS, Rss), bit(m_chkBlockRBL, Rbl),
                                   bit(m_chkBlockDUL, Dul))));
}

void WndAntispam::slotChange()
{
    if (handChangeIn())
        updateObject();
}

void WndAntispam::updateQuery()
{
    ConfigPage::updateQuery();
}

void WndAntispam::ruleToggled(const DBRow* rule)
{
    updateQueryAfterEditOf(rule);
}

void WndAntispam::updateView()
{
    ListPage::updateView(0);
}

void WndAntispam::fillItems(int)
{
    QList<QTreeWidgetItem*> items;
    items.reserve(int(m_filter.m_rows.size()));
    for (const auto& row : m_filter.m_rows) {
        auto* item = new QFilterItem(nullptr, row.get(), &cols(), this);
        item->show();
        items.append(item);
    }
    m_list->addTopLevelItems(items);
    // A refill follows a reset or a change of the columns: the pending list is the
    // difference of the rows the list now shows.
    updateQuery();
}

DBRow* WndAntispam::rowOf(int, QTreeWidgetItem* item) const
{
    return static_cast<QFilterItem*>(item)->row();
}

QTreeWidgetItem* WndAntispam::newItem(int, DBRow* row)
{
    // A rule just added is on.
    ::setCell(row, "enabled", QStringLiteral("1"));
    return new QFilterItem(m_list, row, &cols(), this);
}

void WndAntispam::showItem(int, QTreeWidgetItem* item)
{
    static_cast<QFilterItem*>(item)->show();
}

bool WndAntispam::runEditDialog(int list, DBRow* row)
{
    ScopedQPointer<DlgFilter> dialog(new DlgFilter(this, nullptr, true, {}));
    dialog->showRow(row, isNewRow(list, row));
    if (Dialogs::exec(dialog.get()) != QDialog::Accepted || !dialog)
        return false;
    dialog->writeRow(row);
    return true;
}

bool WndAntispam::edit(DBRow* row)
{
    return ListPage::edit(0, row);
}

void WndAntispam::slotBeforeApply()
{
    if (m_chkEnabled->isChecked() && !m_chkAddrGroup->isChecked() && !m_chkAuth->isChecked())
        askToCorrect(tr("This settings doesn't make sense.\nYou should choose users who can send "
                        "e-mail or disable antispam.\nDo you want to correct the problem?"),
                     m_chkEnabled);
}

void WndAntispam::slotReset()
{
    // Not while the rule dialog holds a rule.
    answerReset();
}

void WndAntispam::resetTables()
{
    ConfigPage::slotReset();
    updateView();
}

void WndAntispam::slotRightButtonPressed(QTreeWidgetItem* item, const QPoint& pos, int)
{
    showPopupMenu(this, pos, item);
}

void WndAntispam::slotAdd()
{
    if (!isReady())
        return;
    addRow(0, [](DBRow* row) {
        ::setCell(row, "header", QString());
        ::setCell(row, "type", QStringLiteral("0"));
    });
}

void WndAntispam::slotCols()
{
    if (isReady())
        modifyColumns();
}

void WndAntispam::slotEdit()
{
    if (isReady())
        editCurrent();
}

// Both boxes list the groups, whichever of them the editor was opened from: neither may
// keep offering a group the editor removed or renamed.
void WndAntispam::editAddressGroups(QComboBox* shown)
{
    ConfigPage::editAddressGroups(
        &m_acl, shown->currentText(),
        {{m_addressGroup, &m_antispam, "AllowAcl"}, {m_addressGroup2, &m_antispam, "AclBlock"}});
}

void WndAntispam::slotEdit1()
{
    editAddressGroups(m_addressGroup);
}

void WndAntispam::slotEdit2()
{
    editAddressGroups(m_addressGroup2);
}

void WndAntispam::slotRemove()
{
    if (isReady())
        removeSelected();
}

void WndAntispam::slotSelectionChanged()
{
    if (listCount() > 0)
        updateButtons();
}
