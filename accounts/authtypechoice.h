#pragma once

#include <QList>
#include <QString>

class DBConn;
class QComboBox;

// The "Authentication:" choice box of the user and template dialogs, which their page fills
// for them: one entry per type the server offers, in the server's order, and the type ID
// behind each entry. A page holds one and forwards its fillComboAuthTypes() and getId().
class AuthTypeChoice
{
public:
    explicit AuthTypeChoice(DBConn* conn = nullptr) : m_conn(conn) {}
    void setConnection(DBConn* conn) { m_conn = conn; }

    // Asks the server "SELECT get_auth_types()" and appends one entry per row to `box`
    // (which the dialogs hand over empty), making current the entry of the type `currentId`
    // (the last one, should several rows carry it). Entry i reads AUTH_NAMES[i], the fifth
    // its empty text; rows past the labels (the sixth on) show the server's own name of
    // the type, as the lists do. A failure is told as every window's own request tells it
    // (ownrequest.h); the box and the IDs then stay as they were, and so they do when the
    // box goes during the wait.
    void fillComboAuthTypes(QComboBox* box, int currentId);

    // The type ID behind entry `index` of the last fill; 0 for an index it does not hold.
    int getId(unsigned index) const;
    const QList<int>& ids() const { return m_ids; }

    // What entry `row` of an answer reads: AUTH_NAMES by position, past it the server's name.
    static QString label(int row, const QString& serverName);

private:
    DBConn* m_conn; // not owned
    QList<int> m_ids;
};
