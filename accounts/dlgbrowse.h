#pragma once

#include "cols.h"
#include "tdlgbrowse.h"

#include <QString>

class DBConn;
class DBTable;

// "Find User": picks a recipient of the server, a user or a group of one of its local
// domains, or takes an address typed by hand, and gives it in the form the address fields
// store (m_result): "name" or "[group]" in the primary domain, "name@domain" or
// "[group@domain]" in another, and a typed text holding "@" as it is. Blanks typed around a
// name or a domain are dropped, and a name typed in other letters is that name.
//
// The caller owns the three tables and keeps them between openings: the dialog reads from
// the server only those not loaded yet, so each is read once. Without a group table only
// users are offered. The dialog reads and writes the module's current domain (globalData).
//
//     DlgBrowse dialog(this, nullptr, true, {}, conn, &m_domains, &m_users, &m_groups);
//     if (Dialogs::exec(&dialog) == QDialog::Accepted)
//         m_editTarget->setText(dialog.m_result);
class DlgBrowse : public TDlgBrowse
{
    Q_OBJECT

public:
    // domains and users must be given, groups may be null. A table that fails to load ends
    // the set-up there (the table layer has said why): the dialog then opens empty.
    DlgBrowse(QWidget* parent, const char* name, bool modal, Qt::WindowFlags f, DBConn* conn,
              DBTable* domains, DBTable* users, DBTable* groups);
    ~DlgBrowse() override;

    // Refills the domain field, the list and the name entries for the current domain.
    void updateData();
    // True when the first domain row named `domain` is the primary domain (type 0).
    bool isDomainPrimary(const QString& domain) const;
    // What a name gets for `domain`: nothing for the primary domain, else "@" + domain.
    QString appendDomain(const QString& domain) const;

    QString m_result;

public slots:
    void slotDomainChanged(const QString& text) override;
    void slotOK() override;
    void slotSelected() override;

private:
    bool loadTables(QWidget* parent, DBConn* conn);
    void fillDomainField();
    bool isGroupEntry(const QTreeWidgetItem* item) const;

    Cols m_cols;
    DBTable* m_users;
    DBTable* m_groups;
    DBTable* m_domains;
};
