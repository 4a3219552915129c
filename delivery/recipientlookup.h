#pragma once

#include <QList>

class DBConn;
class DBTable;
class QWidget;

// The tables the POP3 page lends its dialogs to find local recipients in. The page owns
// them and keeps them between dialogs, so each is read from the server at most once while
// the page exists.
struct RecipientTables
{
    DBTable* domains = nullptr;
    DBTable* users = nullptr;
    DBTable* groups = nullptr;
    DBTable* aliases = nullptr;

    enum Table { Domains, Users, Groups, Aliases };

    // Reads, in the order given, each table not loaded yet, reporting a failure in the table
    // layer's box over `parent`. The first failure ends the reading: the tables after it
    // stay unread, and the next dialog tries them again. False then.
    bool loadMissing(QWidget* parent, DBConn* conn, const QList<Table>& order) const;
};
