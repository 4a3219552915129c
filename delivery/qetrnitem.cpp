#include "qetrnitem.h"

#include "cols.h"
#include "deliveryicons.h"
#include "deliverytexts.h"

#include <QCoreApplication>

using namespace DeliveryTexts;

QEtrnItem::QEtrnItem(QTreeWidget* list, DBRow* row, const Cols* cols)
    : DeliveryItem(list, cols, Type)
    , m_row(row)
{
}

void QEtrnItem::addColumns(Cols& cols)
{
    cols.add(QCoreApplication::translate("WndEtrn", "Server"), true, -1, false);
    cols.add(QCoreApplication::translate("WndEtrn", "Domain(s)"), true, -1, false);
    cols.add(QCoreApplication::translate("WndEtrn", "Authentication"), false, -1, false);
    cols.add(QCoreApplication::translate("WndEtrn", "User"), false, -1, false);
}

QString QEtrnItem::cellText(int id) const
{
    switch (id) {
    case Server: return cell(m_row, "server");
    case Domains: return cell(m_row, "domain");
    case Authentication: return yesNo(leadingInt(cell(m_row, "auth")));
    case User: return cell(m_row, "user");
    }
    return QString();
}

void QEtrnItem::show()
{
    m_cols->showItem(this, [this](int id) { return cellText(id); });
    setIconOfFirst(DeliveryIcons::etrn());
}

QString QEtrnItem::key(int column, bool) const
{
    const QString blanks(16, QLatin1Char(' '));
    return text(column) + blanks + textOfId(Server) + blanks + textOfId(Domains);
}
