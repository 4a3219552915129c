#pragma once

#include "shownlistpage.h"
#include "twnddomain.h"

// The domains page: the server's domains with their type, the domain an alias belongs
// to, the forwarding host and the authentication realms. It lists them only.
class WndDomain : public TWndDomain, public ShownListPage
{
    Q_OBJECT

public:
    WndDomain(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop, const char* name,
              Qt::WindowFlags f);
    ~WndDomain() override;

    // The label of a stored domain type; a type without one shows as stored.
    static QString typeName(const QString& storedType);

public slots:
    void slotCols() override;

protected:
    QStringList textsById(const DBRow* row) const override;
};
