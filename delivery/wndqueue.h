#pragma once

#include "dbtable.h"
#include "listpage.h"
#include "twndqueue.h"

class DBConn;
class DBCtrl;
class Desktop;

// The "Mail Queue" page: the messages waiting in the server's queue as the server reports
// them when asked, with two actions on the chosen message ("&Try to send now", "Remove
// &from queue") and three runs the server can be asked to start (the queue, the POP3 and
// the ETRN downloads). Everything goes to the server at once; nothing waits for Apply.
class WndQueue : public TWndQueue, public ListPage
{
    Q_OBJECT

public:
    WndQueue(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
             const char* name = nullptr, Qt::WindowFlags fl = {});
    ~WndQueue() override;

    // Asks the server to start an action ("run_queue()" and its sisters) and says whether
    // it did. The list is not reloaded.
    void runFunction(const QString& call);

    DBTable m_table; // the last answer of "show_queue()"

public slots:
    void slotRejuvenate() override;
    void slotCols() override;
    void slotETRN() override;
    void slotPOP3() override;
    void slotQueue() override;
    void slotRefresh() override;
    void slotRemove() override;
    void slotSelectionChanged() override;

protected:
    void fillItems(int list) override;
    bool rebuildList(int list) override;

private:
    // Sends "SELECT <function>("<Id>")" for the chosen message as the page's own request
    // (ownrequest.h tells a failure) and reloads the list whatever the outcome. Nothing
    // without a chosen message.
    void actOnMessage(const char* function);
};
