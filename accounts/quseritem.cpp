#include "quseritem.h"

#include "accounticons.h"
#include "accounttexts.h"
#include "cols.h"
#include "dbtable.h"

#include <QCoreApplication>

using namespace AccountTexts;

QUserItem::QUserItem(QTreeWidget* list, DBRow* row, Cols* cols)
    : AccountItem(list, row, cols)
{
}

void QUserItem::addColumns(Cols& cols)
{
    static const char* const titles[] = {
        QT_TRANSLATE_NOOP("WndUser", "Name"),
        QT_TRANSLATE_NOOP("WndUser", "Fullname"),
        QT_TRANSLATE_NOOP("WndUser", "Description"),
        QT_TRANSLATE_NOOP("WndUser", "Authentication"),
        QT_TRANSLATE_NOOP("WndUser", "Account Enabled"),
        QT_TRANSLATE_NOOP("WndUser", "Rights"),
        QT_TRANSLATE_NOOP("WndUser", "Quota"),
        QT_TRANSLATE_NOOP("WndUser", "Quota (messages)"),
        QT_TRANSLATE_NOOP("WndUser", "Sent Folder"),
        QT_TRANSLATE_NOOP("WndUser", "Draft Folder"),
        QT_TRANSLATE_NOOP("WndUser", "Hide Folder List"),
        QT_TRANSLATE_NOOP("WndUser", "Show Only Subcribed"),
        QT_TRANSLATE_NOOP("WndUser", "Msgs. per Page"),
        QT_TRANSLATE_NOOP("WndUser", "Language"),
    };
    for (int id = Name; id <= Language; ++id)
        cols.add(QCoreApplication::translate("WndUser", titles[id]), id <= Description, -1, false);
}

void QUserItem::addMemberColumns(Cols& cols)
{
    cols.add(QCoreApplication::translate("QUserItem", "Name"), true, -1, false);
    cols.add(QCoreApplication::translate("QUserItem", "Description"), true, -1, false);
    cols.add(QCoreApplication::translate("QUserItem", "Full Name"), true, -1, false);
    cols.down(1); // visual order: name, full name, description
}

QString QUserItem::fullText(int id, const DBTable& authTypes) const
{
    switch (id) {
    case Name: return cell(m_row, "name");
    case Fullname: return cell(m_row, "fullname");
    case Description: return cell(m_row, "description");
    case Authentication: return settingText(m_row, Setting::Authentication, authTypes);
    case AccountEnabled: return yesNo(wholeNumber(m_row, "account_enabled"));
    }
    // The rest are the settings a template holds too, in the same order.
    return settingText(m_row, Setting(int(Setting::Rights) + id - Rights), authTypes);
}

void QUserItem::show(const DBTable& authTypes)
{
    forgetKeys();
    m_cols->showItem(this, [&](int id) { return fullText(id, authTypes); });
    setIconOfFirst(AccountIcons::user());
}

void QUserItem::show_min()
{
    forgetKeys();
    m_cols->showItem(this, [this](int id) {
        switch (id) {
        case MinName: return cell(m_row, "name");
        case MinDescription: return cell(m_row, "description");
        case MinFullname: return cell(m_row, "fullname");
        }
        return QString();
    });
    setIconOfFirst(AccountIcons::user());
}

QString QUserItem::key(int column, bool) const
{
    return settingsKey(column, Quota, QuotaMessages, MsgsPerPage);
}

void FindFullDesc(const DBTable* users, const QString& name, QString& fullname,
                  QString& description)
{
    fullname.clear();
    description.clear();
    if (!users)
        return;
    for (const auto& row : users->m_rows) {
        if (cell(row.get(), "name") == name) {
            fullname = cell(row.get(), "fullname");
            description = cell(row.get(), "description");
            return;
        }
    }
}
