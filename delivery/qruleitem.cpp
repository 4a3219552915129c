#include "qruleitem.h"

#include "cols.h"
#include "deliveryicons.h"
#include "deliverytexts.h"

#include <QCoreApplication>

using namespace DeliveryTexts;

QRuleItem::QRuleItem(QTreeWidget* list, DBRow* row, const Cols* cols)
    : DeliveryItem(list, cols, Type)
    , m_row(row)
{
}

void QRuleItem::addColumns(Cols& cols)
{
    cols.add(QCoreApplication::translate("WndPop3", "Sort Address"), true, -1, false);
    cols.add(QCoreApplication::translate("WndPop3", "Deliver To"), true, -1, false);
}

bool QRuleItem::isHidden(const DBRow* row)
{
    return cell(row, "to") == QLatin1String("@");
}

QString QRuleItem::cellText(int id) const
{
    switch (id) {
    case SortAddress: return cell(m_row, "to");
    case DeliverTo: return cell(m_row, "account");
    }
    return QString();
}

void QRuleItem::show()
{
    m_cols->showItem(this, [this](int id) { return cellText(id); });
    setIconOfFirst(DeliveryIcons::rule());
}

QString QRuleItem::key(int column, bool) const
{
    const QString blanks(16, QLatin1Char(' '));
    if (column >= 0 && column == viewColumn(SortAddress))
        return textOfId(SortAddress) + blanks + textOfId(DeliverTo);
    if (column >= 0 && column == viewColumn(DeliverTo))
        return textOfId(DeliverTo) + blanks + textOfId(SortAddress);
    return blanks;
}
