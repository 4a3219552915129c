#pragma once

#include "configpage.h"
#include "dbtable.h"
#include "twndintercon.h"

// "Internet Connection": online or offline, and when offline whether the server dials out
// over a line of its phonebook with the line's user and password. Edits the single row of
// "connection"; the lines come from the server's "get_phonebook()" once, when the page is
// built.
class WndInterCon : public TWndInterCon, public ConfigPage
{
    Q_OBJECT

public:
    WndInterCon(QWidget* parent, DBConn* conn, DBCtrl* ctrl, const char* name,
                Qt::WindowFlags flags);
    ~WndInterCon() override;

    void updateObject() override;
    void updateData() override;

    // Fills the line box from the server's phonebook; a refusal is reported and leaves the
    // box as it was. False when the page went away while it waited.
    bool loadRASLines();
    // Makes the line named `line` the box's current entry. A line the phonebook does not
    // list stays an entry of its own, so the row keeps it until another is chosen. No line
    // at all leaves the entry shown (the first line after loading), which stands in for
    // none: the row keeps the empty line until the administrator chooses another or turns
    // on "Use RAS", which dials the line shown.
    void selectRASLines(const QString& line);

public slots:
    void slotToogleOnline(bool on) override;
    void slotToogleOffline(bool on) override;
    void slotToogleUseRas(bool on) override;
    void slotChanged() override;

protected:
    void writeRows() override;

private:
    DBTable m_connection;
};
