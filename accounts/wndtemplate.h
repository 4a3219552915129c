#pragma once

#include "authtypechoice.h"
#include "dbtable.h"
#include "listpage.h"
#include "twndtemplate.h"

class DBConn;
class DBCtrl;
class Desktop;
class QComboBox;

// The "User Templates" page: every user template of the server, whatever its domain. A
// template is the set of defaults a new user can start from. Templates are added and
// edited in the template dialog and removed from the list; the changes wait in the main
// window's pending list for Apply. The name is the key, across all domains.
class WndTemplate : public TWndTemplate, public ListPage
{
    Q_OBJECT

public:
    WndTemplate(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
                const char* name = nullptr, Qt::WindowFlags fl = {});
    ~WndTemplate() override;

    // The dialog's "Authentication:" box: the server's types, `currentId` chosen.
    void fillComboAuthTypes(QComboBox* combo, int currentId);
    // The type ID behind entry `index` of the last fill; 0 for an index it does not hold.
    int getId(unsigned index) const;
    // How many entries the last successful fill made.
    int authTypeCount() const { return int(m_authChoice.ids().size()); }

    DBTable m_templates;
    DBTable m_domains;
    DBTable m_authTypes;
    // Loaded by the first dialog that needs them.
    DBTable m_groups;
    DBTable m_languages;

public slots:
    void slotAdd() override;
    void slotCols() override;
    void slotEdit() override;
    void slotRemove() override;
    void slotSelectionChanged() override;

protected:
    void fillItems(int list) override;
    DBRow* rowOf(int list, QTreeWidgetItem* item) const override;
    QTreeWidgetItem* newItem(int list, DBRow* row) override;
    void showItem(int list, QTreeWidgetItem* item) override;
    bool runEditDialog(int list, DBRow* row) override;

private:
    AuthTypeChoice m_authChoice;
    // The row slotAdd() has just appended, while its dialogs run: only its name is editable.
    DBRow* m_addedRow = nullptr;
};
