#include "qtemplateitem.h"

#include "accounticons.h"
#include "accounttexts.h"
#include "cols.h"

#include <QCoreApplication>

using namespace AccountTexts;

QTemplateItem::QTemplateItem(QTreeWidget* list, DBRow* row, Cols* cols)
    : AccountItem(list, row, cols)
{
}

void QTemplateItem::addColumns(Cols& cols)
{
    static const char* const titles[] = {
        QT_TRANSLATE_NOOP("WndTemplate", "Name"),
        QT_TRANSLATE_NOOP("WndTemplate", "Description"),
        QT_TRANSLATE_NOOP("WndTemplate", "Authentication"),
        QT_TRANSLATE_NOOP("WndTemplate", "Rights"),
        QT_TRANSLATE_NOOP("WndTemplate", "Quota"),
        QT_TRANSLATE_NOOP("WndTemplate", "Quota (messages)"),
        QT_TRANSLATE_NOOP("WndTemplate", "Sent Folder"),
        QT_TRANSLATE_NOOP("WndTemplate", "Draft Folder"),
        QT_TRANSLATE_NOOP("WndTemplate", "Hide Folder List"),
        QT_TRANSLATE_NOOP("WndTemplate", "Show Only Subcribed"),
        QT_TRANSLATE_NOOP("WndTemplate", "Msgs. per Page"),
        QT_TRANSLATE_NOOP("WndTemplate", "Language"),
    };
    for (int id = Name; id <= Language; ++id)
        cols.add(QCoreApplication::translate("WndTemplate", titles[id]), id <= Description, -1,
                 false);
}

QString QTemplateItem::defaultText()
{
    return QCoreApplication::translate("QObject", "Default");
}

QString QTemplateItem::fullText(int id, const DBTable& authTypes) const
{
    switch (id) {
    case Name: return cell(m_row, "tempname");
    case Description: return cell(m_row, "description");
    }
    return settingText(m_row, Setting(id - Authentication), authTypes);
}

void QTemplateItem::show(const DBTable& authTypes)
{
    forgetKeys();
    m_cols->showItem(this, [&](int id) { return fullText(id, authTypes); });
    setIconOfFirst(AccountIcons::userTemplate());
}

void QTemplateItem::show_min()
{
    forgetKeys();
    if (!m_row) {
        setText(0, defaultText());
        return;
    }
    setText(0, cell(m_row, "tempname"));
    setText(1, cell(m_row, "description"));
    setIcon(0, AccountIcons::userTemplate());
}

QString QTemplateItem::key(int column, bool) const
{
    if (!m_cols) {
        const QString cellText = text(column);
        return cellText == defaultText() ? QString(16, QLatin1Char(' ')) : cellText;
    }
    return settingsKey(column, Quota, QuotaMessages, MsgsPerPage);
}
