#pragma once

#include "configpage.h"
#include "dbtable.h"
#include "twndremote.h"

// "Remote Administration": whether consoles may administer the server from the network,
// and whether only from the hosts of one address group. Edits the single row of
// "administration"; the address groups of "ipaccesslist" fill the choice box, and "&Edit"
// edits them at once in the address-group dialog.
class WndRemote : public TWndRemote, public ConfigPage
{
    Q_OBJECT

public:
    WndRemote(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop, const char* name,
              Qt::WindowFlags flags);
    ~WndRemote() override;

    void updateData() override;
    void updateObject() override;

public slots:
    void slotChange() override;
    void slotEdit() override;

protected:
    void writeRows() override;

private:
    DBTable m_remote;
    DBTable m_acl;
};
