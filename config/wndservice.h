#pragma once

#include "dbtable.h"
#include "listpage.h"
#include "qserviceitem.h"
#include "twndservice.h"

#include <array>
#include <optional>

class DBReq;

// "Services": the mail server's eight network services in a fixed order, each started and
// stopped at once from here, its properties (port, startup, address group) edited in the
// service dialog and kept in the main window's pending list for Apply.
//
// Each service's table is read twice: its configuration, which is edited, and its running
// state, which only starting, stopping and reading the state back change. The page's own
// requests (port update, start, stop, state query) go out one at a time; while one waits
// the list and the buttons are disabled, and the page may be closed under it.
class WndService : public TWndService, public ListPage
{
    Q_OBJECT

public:
    static constexpr int ServiceCount = 8;

    WndService(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
               const char* name = nullptr, Qt::WindowFlags flags = {});
    ~WndService() override;

    // The server table of the service at index ("service-smtp" first).
    static const char* serviceTable(int index);

    // Starts (or stops) the item's service and reads its state back; a port accepted in
    // the dialog since the last start goes out before a start.
    void startStop(bool start, QServiceItem* item);

    // The item of the service at index; null while the list has none.
    QServiceItem* serviceItem(int index) const;
    // Whether a port accepted in the dialog still waits for the next start.
    bool portChanged(int index) const { return m_services.at(size_t(index)).portChanged; }

    bool fillPopupMenu(QMenu& menu, QWidget* receiver, QTreeWidgetItem* item) override;

    // The address groups, loaded by the first service dialog.
    DBTable m_acl;

public slots:
    void slotContextMenuRequested(QTreeWidgetItem* item, const QPoint& pos, int column) override;
    void slotCols() override;
    void slotProp() override;
    void slotRightButtonPressed(QTreeWidgetItem* item, const QPoint& pos, int column) override;
    void slotSelectionChanged() override;
    void slotStart() override;
    void slotStop() override;

protected:
    void fillItems(int list) override;
    DBRow* rowOf(int list, QTreeWidgetItem* item) const override;
    void showItem(int list, QTreeWidgetItem* item) override;
    bool runEditDialog(int list, DBRow* row) override;
    QList<DBTable*> pendingTables() const override;
    void afterApply() override;
    void afterReset() override;

private:
    struct Service
    {
        DBTable config;
        DBTable run;
        // Kept by the page, not the item: a rebuild of the list must not lose it.
        bool portChanged = false;
    };

    bool isRunning(int index);
    void forgetChangedPorts();
    // Sends one statement of the page's own and waits for it; false when it failed (told
    // as ownrequest.h says: a lost connection once, by the console's report of it) or when
    // the page went away meanwhile (*gone then). A failure never ends a start or a stop.
    bool sendNow(DBReq& request, bool* gone);
    bool send(const QString& statement, bool* gone);
    // The state query's answer into the run copy; a failed query keeps the state known
    // and gives none.
    std::optional<qint32> readState(int index, bool* gone);
    void setBusy(bool busy);

    std::array<Service, ServiceCount> m_services;
    QServiceItem::Lamps m_lamps;
};
