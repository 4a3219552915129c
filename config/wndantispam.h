#pragma once

#include "configpage.h"
#include "dbtable.h"
#include "listpage.h"
#include "twndantispam.h"

// "Antispam": relay control (who may use the server as a relay), the block lists (log and
// block for each of three lists, and a group of addresses blocked as well) and the header
// filter rules. Edits the single row of "antispam" and the rows of "HeaderFilter"; the
// address groups of "ipaccesslist" fill the two choice boxes.
//
// The widgets and the Apply/Reset cycle are the configuration page's; the rule list, its
// edit loop, its columns and its menu are the list page's.
class WndAntispam : public TWndAntispam, public ConfigPage, public ListPage
{
    Q_OBJECT

public:
    WndAntispam(QWidget* parent, DBConn* conn, Desktop* desktop, DBCtrl* ctrl, const char* name,
                Qt::WindowFlags flags);
    ~WndAntispam() override;

    void updateData() override;
    void updateObject() override;
    // Both tables' statements (the configuration page's hand-in, for both bases).
    void updateQuery() override;
    // The list rebuilt from the rule rows.
    void updateView();

    // The administrator set a rule's check box.
    void ruleToggled(const DBRow* rule);
    // The rule dialog on one rule until it is cancelled or unique; true when kept.
    bool edit(DBRow* row);

    void slotBeforeApply() override;
    void slotReset() override;

    // The bits of the block-list masks the page shows; others are kept as stored.
    enum BlockList { Rss = 1, Rbl = 2, Dul = 8, Shown = Rss | Rbl | Dul };

public slots:
    void slotRightButtonPressed(QTreeWidgetItem* item, const QPoint& pos, int column) override;
    void slotAdd() override;
    void slotChange() override;
    void slotCols() override;
    void slotEdit() override;
    void slotEdit1() override;
    void slotEdit2() override;
    void slotRemove() override;
    void slotSelectionChanged() override;

protected:
    void writeRows() override;

    void fillItems(int list) override;
    DBRow* rowOf(int list, QTreeWidgetItem* item) const override;
    QTreeWidgetItem* newItem(int list, DBRow* row) override;
    void showItem(int list, QTreeWidgetItem* item) override;
    bool runEditDialog(int list, DBRow* row) override;
    void resetTables() override;

private:
    void setUpList();
    void bindCells();
    int mask(const char* column, int rss, int rbl, int dul);
    void editAddressGroups(QComboBox* shown);

    DBTable m_antispam;
    DBTable m_acl;
    DBTable m_filter;
};
