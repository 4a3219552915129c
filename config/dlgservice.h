#pragma once

#include "tdlgservice.h"

#include <QString>

class DBConn;
class DBCtrl;
class DBTable;
class Desktop;

// The properties of one service: its port, a number field written as typed (NumberFields),
// with "&Default" putting back the port the service uses by default; its startup type and the one address group that alone may
// connect to it, whose groups "&Edit..." edits at once in the address-group dialog. The
// caller fills the fields before exec() and reads them after it.
//
// The address groups are the caller's copy of "ipaccesslist", which the dialog loads when
// it has not been loaded yet and again after an accepted edit; the caller keeps it for the
// next dialog.
class DlgService : public TDlgService
{
    Q_OBJECT

public:
    DlgService(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags,
               DBConn* conn, Desktop* desktop, DBCtrl* ctrl, DBTable* acl);
    ~DlgService() override;

    // The restriction shown: the check box on for a group, the groups in the choice box
    // with this one chosen. A group the server no longer has stays an entry of its own, so
    // that OK writes it back unchanged unless another is chosen.
    void setAcl(const QString& group);

    QString m_defaultPort;

public slots:
    void slotDefault() override;
    void slotEdit() override;
    void slotOK() override;
    void slotOnlyAddressGroup(bool on) override;

private:
    bool loadGroups();
    void fillGroups();

    QWidget* m_parent;
    QString m_acl;
    DBConn* m_conn;
    Desktop* m_desktop;
    DBCtrl* m_ctrl;
    DBTable* m_groups;
};
