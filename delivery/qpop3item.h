#pragma once

#include "deliveryitem.h"

class Cols;
class DBRow;

// One account of the POP3 download page: a remote mailbox the server collects mail from,
// and where that mail goes. Rows with the same text in the sorted column follow the order
// of their server and then of their user; the message limit and the port sort by value.
class QPop3Item : public DeliveryItem
{
public:
    enum { Type = DeliveryItem::Type + 4 };
    enum Column { Server, User, Delivery, Authentication, MaxMessages, Description, SslMode, Port };

    // Shows nothing until show(). The row belongs to the page's table.
    QPop3Item(QTreeWidget* list, DBRow* row, const Cols* cols);

    // Declares the list's columns: server, user, delivery and description shown.
    static void addColumns(Cols& cols);

    DBRow* row() const { return m_row; }
    // Writes the row's texts into the shown columns.
    void show();
    // The cell's text, or the value for "Max msg." and "Port", then the server and the
    // user, so that rows equal in the sorted column follow their server and user.
    QString key(int column, bool ascending) const override;

    // The stored numbers as the list and the dialog name them; a number without a name
    // gives the empty text, and a text without a number gives 0.
    static QString getAuthAsString(int type);  // 0 "Plain", 1 "APOP"
    static int getAuthAsInt(const QString& text);
    static QString getSSLAsString(int mode);   // 1 "Special port", 2 "STLS command"
    static int getSSLAsInt(const QString& text);

    // "mbox" holds either an address that receives all of the account's mail, or "{" and
    // the name of the header the sorting rules read, and "}".
    static bool listsAsHeader(const QString& mbox); // how the list reads it
    static bool opensAsHeader(const QString& mbox); // how the dialog reads it: "{" alone is an address
    static QString headerOf(const QString& mbox);
    static QString mboxOfHeader(const QString& header);
    // The "Delivery" cell: the header the rules read, or the receiving mailbox.
    static QString deliveryText(const QString& mbox);

private:
    QString cellText(int id) const;

    DBRow* m_row;
};
