#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class DBRow;
class DBTable;

// How new rows of the "user" table get their values: added by hand (before the add-user
// wizard) or imported from a Windows NT domain.
namespace NewUsers {

// What every new user holds before anything else: 20 messages a page, "Sent Items",
// "Drafts", English.
void writeDefaults(DBRow* user);
// A template's settings into a user about to be added: the description and the eleven
// settings a template holds, each as written, empty ones included.
void copyTemplate(DBRow* user, const DBRow* templ);

// The call that lists the accounts of an NT domain for a mail domain, both quoted for
// the statement.
QString importCall(const QString& ntDomain, const QString& mailDomain);

// Appends one user of `domain` per account (rows of the import's answer: username,
// fullname, description) in the order given, with the import's values and then those of
// the template, when there is one. An account whose name is empty, is already a user
// of the domain (letter case aside) or came earlier in the list is not added: it would
// make a statement the server refuses, and Apply would stop half-way. Returns those
// names, in the order given.
QStringList importUsers(DBTable& users, const QList<DBRow*>& accounts, const DBRow* templ,
                        const QString& domain);

} // namespace NewUsers
