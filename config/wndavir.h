#pragma once

#include "configpage.h"
#include "dbtable.h"
#include "listpage.h"
#include "twndavir.h"

// "Antivirus": the virus check and the plug-in that makes it, the attachment filter with
// its ordered rules, and what becomes of a rejected message. Edits the single row of
// "antivir" and the rows of "AttachFilter"; the plug-ins come from "get_avir_plugins()",
// asked once as a request of the page's own.
//
// The widgets and the Apply/Reset cycle are the configuration page's; the rule list, its
// edit loop, its columns and its menu are the list page's.
class WndAvir : public TWndAvir, public ConfigPage, public ListPage
{
    Q_OBJECT

public:
    WndAvir(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop, const char* name,
            Qt::WindowFlags flags);
    ~WndAvir() override;

    void updateData() override;
    void updateObject() override;
    // Both tables' statements (the configuration page's hand-in, for both bases).
    void updateQuery() override;

    // The administrator set a rule's check box.
    void ruleToggled(const DBRow* rule);
    // The rule dialog on one rule until it is cancelled or unique; true when kept.
    bool edit(DBRow* row);

    void slotBeforeApply() override;
    void slotReset() override;

public slots:
    void slotChange() override;
    void slotRemove() override;
    void slotAdd() override;
    void slotEdit() override;
    void slotSelectionChanged() override;
    void slotCols() override;
    void slotDown() override;
    void slotUp() override;
    void slotRightButtonPressed(QTreeWidgetItem* item, const QPoint& pos, int column) override;

protected:
    void writeRows() override;

    void fillItems(int list) override;
    DBRow* rowOf(int list, QTreeWidgetItem* item) const override;
    QTreeWidgetItem* newItem(int list, DBRow* row) override;
    void showItem(int list, QTreeWidgetItem* item) override;
    bool runEditDialog(int list, DBRow* row) override;
    void resetTables() override;

private:
    bool loadPlugins();
    void bindCells();
    void selectPlugin(const QString& id);
    // The rule at `step` places from the current one changes places with it.
    void moveCurrent(int step);
    int nextOrder() const;

    DBTable m_antivir;
    DBTable m_attach;
};
