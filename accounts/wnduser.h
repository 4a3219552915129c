#pragma once

#include "authtypechoice.h"
#include "dbtable.h"
#include "listpage.h"
#include "twnduser.h"

class DBConn;
class DBCtrl;
class Desktop;
class QComboBox;

// The "Users" page: the users of one local domain at a time, chosen in the domain box and
// shared with the groups and aliases pages as the console's current domain. Users are
// edited in the edit-user dialog and removed from the list; the changes wait in the main
// window's pending list for Apply.
class WndUser : public TWndUser, public ListPage
{
    Q_OBJECT

public:
    WndUser(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
            const char* name = nullptr, Qt::WindowFlags fl = {});
    ~WndUser() override;

    // The dialogs' "Authentication:" box: the server's types, `currentId` chosen.
    void fillComboAuthTypes(QComboBox* combo, int currentId);
    // The type ID behind entry `index` of the last fill; 0 for an index it does not hold.
    int getId(unsigned index) const;
    // How many entries the last successful fill made.
    int authTypeCount() const { return int(m_authChoice.ids().size()); }

    DBTable m_users;
    DBTable m_groups;
    DBTable m_domains;
    DBTable m_languages;
    DBTable m_authTypes;
    DBTable m_templates;

public slots:
    void slotAdd() override;
    void slotCols() override;
    void slotDomainChanged(const QString& text) override;
    void slotEdit() override;
    void slotImport() override;
    void slotRemove() override;
    void slotSelectionChanged() override;

protected:
    void fillItems(int list) override;
    DBRow* rowOf(int list, QTreeWidgetItem* item) const override;
    void showItem(int list, QTreeWidgetItem* item) override;
    bool runEditDialog(int list, DBRow* row) override;
    void updateQueryAfterEdit(const DBRow* row) override;
    void afterApply() override;
    void afterReset() override;

private:
    // The template a new user starts from, asked when there are templates at all: false
    // when the administrator abandoned the addition; `chosen` stays null for "Default".
    bool chooseTemplate(DBRow** chosen);
    void warnSkippedImports(const QStringList& names);

    void updateView();

    AuthTypeChoice m_authChoice;
};
