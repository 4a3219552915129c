#include "dbuserlist.h"

#include "accountcolumns.h"
#include "accountfields.h"
#include "accounttexts.h"
#include "carriedout.h"
#include "dbconn.h"
#include "dbreq.h"
#include "dbrow.h"
#include "dbtable.h"
#include "escape.h"
#include "grouplistitem.h"
#include "ownrequest.h"
#include "textcell.h"

#include <QHash>

using AccountTexts::cell;

namespace {

// A member name at its full length, as UTF-8 like every other text cell.
QString nameCell(DBReq& request, int row)
{
    int needed = 0;
    QByteArray name = readTextCell(request, row, 0, 256, &needed);
    if (needed > 0)
        name = readTextCell(request, row, 0, needed);
    return QString::fromUtf8(name);
}

// The users of one domain by name, for the members' full names and descriptions.
QHash<QString, const DBRow*> usersByName(const DBTable* users, const QString& domain)
{
    QHash<QString, const DBRow*> byName;
    if (!users)
        return byName;
    for (const auto& row : users->m_rows) {
        if (cell(row.get(), "domain") == domain)
            byName.insert(cell(row.get(), "name"), row.get()); // the first of a name wins
    }
    return byName;
}

constexpr const char* DropChange = "groups -=";
constexpr const char* AddChange = "groups+=";

QString membershipStatement(const char* change, const GroupListItem* entry, const QString& user)
{
    return QStringLiteral("UPDATE user SET %1\"%2\" WHERE name=\"%3\" AND domain=\"%4\"")
        .arg(QLatin1String(change), escape(entry->group()), escape(user), escape(entry->domain()));
}

} // namespace

DBUserList::DBUserList(DBConn* conn)
    : m_conn(conn)
    , m_alive(std::make_shared<bool>(true))
{
}

DBUserList::~DBUserList()
{
    *m_alive = false;
}

GroupListItem* DBUserList::findGroup(const QString& group, const QString& domain) const
{
    for (const auto& entry : m_entries) {
        if (entry->group() == group && entry->domain() == domain)
            return entry.get();
    }
    return nullptr;
}

bool DBUserList::setActiveGroup(const QString& group, const QString& domain, const DBTable* users)
{
    if (GroupListItem* entry = findGroup(group, domain)) {
        m_active = entry;
        return true;
    }
    auto entry = std::make_unique<GroupListItem>(group, domain);
    // A group deleted since the last Apply has no members once its removal has run.
    if (!m_deleted.contains({group, domain})) {
        switch (loadMembers(entry.get(), users)) {
        case Read::Gone:
            return false;
        case Read::Lost:
            m_active = nullptr;
            return false;
        case Read::Members:
        case Read::Refused:
            break;
        }
    }
    m_active = entry.get();
    m_entries.push_back(std::move(entry));
    return true;
}

DBUserList::Read DBUserList::loadMembers(GroupListItem* entry, const DBTable* users)
{
    DBReq request(QStringLiteral("SELECT name FROM user WHERE groups=\"%1\" AND domain=\"%2\"")
                      .arg(escape(entry->group()), escape(entry->domain())),
                  false);
    m_conn->insert(&request);
    // The page that owns the lists, and the users table, may be closed during the wait,
    // and during the box that tells a failure.
    const std::shared_ptr<bool> alive = m_alive;
    request.wait(false, nullptr);
    if (!*alive)
        return Read::Gone;
    if (request.m_status != 0) {
        const bool lost = request.m_status == 1;
        reportOwnRequestFailure(m_conn, request);
        if (!*alive)
            return Read::Gone;
        return lost ? Read::Lost : Read::Refused;
    }
    const int rows = request.rowCount();
    const QHash<QString, const DBRow*> known =
        rows > 0 ? usersByName(users, entry->domain()) : QHash<QString, const DBRow*>();
    for (int i = 0; i < rows; ++i) {
        const QString name = nameCell(request, i);
        auto member = std::make_unique<DBRow>(dbcol_user_min);
        setCell(member.get(), "name", name);
        if (const DBRow* user = known.value(name)) {
            setCell(member.get(), "fullname", cell(user, "fullname"));
            setCell(member.get(), "description", cell(user, "description"));
        }
        entry->addLoadedName(name);
        entry->appendMember(std::move(member));
    }
    return Read::Members;
}

int DBUserList::users() const
{
    return m_active ? m_active->memberCount() : 0;
}

std::unique_ptr<DBRow> DBUserList::getUserFromGroup(int i) const
{
    if (!m_active || i < 0 || i >= m_active->memberCount())
        return nullptr;
    return std::make_unique<DBRow>(*m_active->member(i));
}

bool DBUserList::existInGroup(const QString& name, const GroupListItem* entry) const
{
    return entry && entry->hasMember(name);
}

bool DBUserList::existInOriginal(const QString& name, const GroupListItem* entry) const
{
    return entry && entry->wasLoaded(name);
}

void DBUserList::append(const DBRow* user)
{
    if (m_active && user)
        m_active->appendMember(std::make_unique<DBRow>(*user));
}

void DBUserList::clearUsers()
{
    if (m_active)
        m_active->clearMembers();
}

void DBUserList::removeGroup(const QString& group, const QString& domain)
{
    m_deleted.insert({group, domain});
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if ((*it)->group() == group && (*it)->domain() == domain) {
            if (m_active == it->get())
                m_active = nullptr;
            m_entries.erase(it);
            return;
        }
    }
}

void DBUserList::clear()
{
    m_active = nullptr;
    m_entries.clear();
    m_deleted.clear();
}

QStringList* DBUserList::getSQL()
{
    m_statements.clear();
    for (const auto& entry : m_entries) {
        for (const QString& name : droppedNames(entry.get()))
            m_statements.append(membershipStatement(DropChange, entry.get(), name));
        for (const QString& name : addedNames(entry.get()))
            m_statements.append(membershipStatement(AddChange, entry.get(), name));
    }
    return &m_statements;
}

void DBUserList::storeCarriedOut(CarriedOut& done)
{
    for (const auto& entry : m_entries) {
        for (const QString& name : droppedNames(entry.get())) {
            if (done.take(membershipStatement(DropChange, entry.get(), name)))
                entry->removeLoadedName(name);
        }
        for (const QString& name : addedNames(entry.get())) {
            if (!entry->wasLoaded(name) && done.take(membershipStatement(AddChange, entry.get(), name)))
                entry->addLoadedName(name);
        }
    }
}

QStringList DBUserList::droppedNames(const GroupListItem* entry) const
{
    QStringList names;
    for (const QString& name : entry->loadedNames()) {
        if (!existInGroup(name, entry))
            names.append(name);
    }
    return names;
}

QStringList DBUserList::addedNames(const GroupListItem* entry) const
{
    QStringList names;
    for (int i = 0; i < entry->memberCount(); ++i) {
        const QString name = cell(entry->member(i), "name");
        if (!existInOriginal(name, entry))
            names.append(name);
    }
    return names;
}
