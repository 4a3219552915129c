#pragma once

#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class CarriedOut;
class DBConn;
class DBRow;
class DBTable;
class GroupListItem;

// The membership changes of the groups page. Group members are not part of a group's row:
// each user lists its groups in the IDLIST column `groups` of "user". For every group
// touched since the last Apply or Reset the list keeps one entry (its members as the
// server reported them and as they are now) and turns the difference into statements that
// add the group to, or take it from, each user concerned.
//
// An entry is named by its group and domain together. One entry at a time is active: the
// one users(), getUserFromGroup(), append() and clearUsers() work on.
class DBUserList
{
public:
    explicit DBUserList(DBConn* conn);
    ~DBUserList();
    DBUserList(const DBUserList&) = delete;
    DBUserList& operator=(const DBUserList&) = delete;

    // Makes the group's entry active. The first time, the entry is made and the server is asked for
    // the members (the indicator shows once the wait lasts); `users` (rows of dbcol_user_min, may
    // be empty) gives their full names and descriptions. A failed query is told as a window's own
    // request tells it (ownrequest.h). Refused, the entry stays, active, with no member read: the
    // members appended then are all additions, and the members the server holds stay untouched.
    // True when the entry is active. False when none is: the connection was lost (its report drops
    // every pending change, this group's too), or this object went with its owner during the
    // query's wait and must not be used.
    bool setActiveGroup(const QString& group, const QString& domain, const DBTable* users);
    GroupListItem* findGroup(const QString& group, const QString& domain) const;

    // The active entry's members now; 0 with none active.
    int users() const;
    // A copy (values and identity) of member i of the active entry, for the caller.
    std::unique_ptr<DBRow> getUserFromGroup(int i) const;
    bool existInGroup(const QString& name, const GroupListItem* entry) const;
    bool existInOriginal(const QString& name, const GroupListItem* entry) const;
    // A copy of the row joins the active entry's members; no check for a name listed
    // already. Nothing with none active.
    void append(const DBRow* user);
    // The active entry's members go; what the server reported stays.
    void clearUsers();

    // The group is being deleted, and with it its name from every user's list of the
    // domain: its entry goes, so no addition puts the deleted group back. Until the next
    // clear() the group counts as having no members on the server, so a group of that name
    // added again starts empty instead of from the memberships the deletion removes.
    void removeGroup(const QString& group, const QString& domain);

    // Every entry goes; none is active. The next setActiveGroup() asks the server again.
    void clear();

    // The entries' statements in the order the groups were first touched, each group's
    // drops before its additions. Rebuilt at every call; the list stays the object's.
    QStringList* getSQL();
    // After an apply that stopped part-way: each of getSQL()'s statements that `done` holds
    // was carried out, and is taken from it; the server now reports the membership that
    // statement made (a name dropped or added), so getSQL() gives it no more.
    void storeCarriedOut(CarriedOut& done);

    int count() const { return int(m_entries.size()); }
    GroupListItem* at(int i) const { return m_entries.at(size_t(i)).get(); }
    GroupListItem* active() const { return m_active; }

private:
    // Of an entry, in getSQL()'s order: the names the server reported that are no members
    // now, and the members the server did not report.
    QStringList droppedNames(const GroupListItem* entry) const;
    QStringList addedNames(const GroupListItem* entry) const;

    enum class Read { Members, Refused, Lost, Gone };
    Read loadMembers(GroupListItem* entry, const DBTable* users);

    DBConn* m_conn; // not owned
    std::vector<std::unique_ptr<GroupListItem>> m_entries;
    GroupListItem* m_active = nullptr;
    QSet<QPair<QString, QString>> m_deleted; // (group, domain) deleted since clear()
    QStringList m_statements;
    // Cleared by the destructor, so that a query whose wait let the owner go notices.
    std::shared_ptr<bool> m_alive;
};
