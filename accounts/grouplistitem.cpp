#include "grouplistitem.h"

#include "accounttexts.h"
#include "dbrow.h"

GroupListItem::GroupListItem(const QString& group, const QString& domain)
    : m_group(group)
    , m_domain(domain)
{
}

GroupListItem::~GroupListItem() = default;

void GroupListItem::appendMember(std::unique_ptr<DBRow> row)
{
    m_memberNames.insert(AccountTexts::cell(row.get(), "name"));
    m_members.push_back(std::move(row));
}

void GroupListItem::clearMembers()
{
    m_members.clear();
    m_memberNames.clear();
}

void GroupListItem::addLoadedName(const QString& name)
{
    m_loaded.append(name);
    m_loadedSet.insert(name);
}

void GroupListItem::removeLoadedName(const QString& name)
{
    m_loaded.removeAll(name);
    m_loadedSet.remove(name);
}
