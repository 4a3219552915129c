#pragma once

#include <QString>

class DBTable;

// Whether a local address exists, asked of tables the caller has loaded: a user, a group
// or an alias of a domain. Names and domains are compared exactly (letter case counts);
// the primary domain is the empty text, as its rows carry it. An empty or unloaded table,
// or one without the columns asked about, holds nothing.
bool isInUsers(DBTable* users, QString name, DBTable* domains, QString domain);
bool isInGroups(DBTable* groups, QString name, DBTable* domains, QString domain);
bool isInAliases(DBTable* aliases, QString lhs, DBTable* domains, QString domain);

// The domain as the rows of the other tables carry it. Every domain is stored under its
// own name, so the text comes back unchanged; the lookups pass through here all the same,
// so that a domain stored under another form is changed in one place.
QString convertDomain(DBTable* domains, QString domain);
