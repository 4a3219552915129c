#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class DBRow;

// One group whose members were shown or edited since the last Apply or Reset: the names
// the server listed as members when the group was first touched, and the members as they
// are now. Names compare exactly, letter case included.
//
// A group may have tens of thousands of members: whether a name is among either side is
// answered from a set, never by walking the members.
class GroupListItem
{
public:
    GroupListItem(const QString& group, const QString& domain);
    ~GroupListItem();
    GroupListItem(const GroupListItem&) = delete;
    GroupListItem& operator=(const GroupListItem&) = delete;

    const QString& group() const { return m_group; }
    const QString& domain() const { return m_domain; }

    // The members now, in the order they were put in; rows of dbcol_user_min, owned.
    int memberCount() const { return int(m_members.size()); }
    const DBRow* member(int i) const { return m_members.at(size_t(i)).get(); }
    // Takes the row; a name already among the members is listed again.
    void appendMember(std::unique_ptr<DBRow> row);
    void clearMembers();
    bool hasMember(const QString& name) const { return m_memberNames.contains(name); }

    // The names the server reported, in its order; set when the group is first touched,
    // and changed only by a change the server carried out.
    const QStringList& loadedNames() const { return m_loaded; }
    void addLoadedName(const QString& name);
    void removeLoadedName(const QString& name);
    bool wasLoaded(const QString& name) const { return m_loadedSet.contains(name); }

private:
    QString m_group;
    QString m_domain;
    std::vector<std::unique_ptr<DBRow>> m_members;
    QStringList m_loaded;
    QSet<QString> m_memberNames;
    QSet<QString> m_loadedSet;
};
