#include "qgroupitem.h"

#include "accounticons.h"
#include "accounttexts.h"
#include "cols.h"

#include <QCoreApplication>

using namespace AccountTexts;

QGroupItem::QGroupItem(QTreeWidget* list, DBRow* row, Cols* cols)
    : AccountItem(list, row, cols)
{
}

void QGroupItem::addColumns(Cols& cols)
{
    cols.add(QCoreApplication::translate("WndGroup", "Name"), true, -1, false);
    cols.add(QCoreApplication::translate("WndGroup", "Description"), true, -1, false);
    cols.add(QCoreApplication::translate("WndGroup", "Rights"), false, -1, false);
}

void QGroupItem::show()
{
    forgetKeys();
    m_cols->showItem(this, [this](int id) {
        switch (id) {
        case Name: return cell(m_row, "name");
        case Description: return cell(m_row, "description");
        case Rights: return rightsLabel(wholeNumber(m_row, "rights"));
        }
        return QString();
    });
    setIconOfFirst(AccountIcons::group());
}

void QGroupItem::show_min()
{
    forgetKeys();
    m_cols->showItem(this, [this](int id) {
        switch (id) {
        case Name: return QLatin1Char('[') + cell(m_row, "name") + QLatin1Char(']');
        case Description: return cell(m_row, "description");
        }
        return QString();
    });
    setIconOfFirst(AccountIcons::group());
}

QString QGroupItem::key(int column, bool) const
{
    return textKey(text(column), textOfId(Name));
}
