#include "qattachitem.h"

#include "cellnumbers.h"
#include "cols.h"
#include "rowcells.h"
#include "wndavir.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QHeaderView>
#include <QIcon>
#include <QPixmap>

namespace {

// A letter with a green figure over its left half, on magenta, which the mask takes out.
const char* const ruleIconXpm[] = {
    "16 16 5 1",
    "  c #ff00ff",
    ". c #000000",
    "+ c #ffffff",
    "g c #00a000",
    "d c #006000",
    "                ",
    "                ",
    " .............. ",
    " .g+++++++++++. ",
    " gggg++++++++.. ",
    "ggdgg+++++++.+. ",
    "gggggg+++++.++. ",
    " ggg..+...+.++. ",
    " ggg+..+++.+++. ",
    " g.g+++..+.+++. ",
    " g+g++++..+.++. ",
    " .+++++++..+.+. ",
    " .+++++++++...+ ",
    " .............. ",
    "                ",
    "                ",
};

const QIcon& ruleIcon()
{
    static const QIcon icon = [] {
        QPixmap pixmap(ruleIconXpm);
        pixmap.setMask(pixmap.createHeuristicMask(true));
        return QIcon(pixmap);
    }();
    return icon;
}

QString tr(const char* text)
{
    return QCoreApplication::translate("QAttachItem", text);
}

} // namespace

QAttachItem::QAttachItem(QTreeWidget* list, DBRow* row, Cols* cols, WndAvir* page)
    : RuleItem(list, row, cols, page)
    , m_page(page)
{
}

void QAttachItem::show()
{
    showCheck();
    m_cols->showItem(this, [this](int id) {
        switch (id) {
        case Type:
            return CellNumbers::wholeNumber(m_row, "type") == 0 ? tr("File name") : tr("MIME Type");
        case Content: return RowCells::cell(m_row, "pattern");
        case Action: return CellNumbers::wholeNumber(m_row, "action") == 0 ? tr("Accept") : tr("Block");
        }
        return QString();
    });
    if (m_cols->showFlags.value(Type) != 0)
        setIcon(m_cols->dispinv.at(Type), ruleIcon());
}

void QAttachItem::handIn()
{
    if (m_page)
        m_page->ruleToggled(m_row);
}

int QAttachItem::orderOf(const DBRow* row)
{
    return int(CellNumbers::leadingNumber(RowCells::cell(row, "order")));
}

QString QAttachItem::key(int, bool ascending) const
{
    const int position = orderOf(m_row);
    return QString::asprintf("%06d", ascending ? position : 100000 - position);
}

bool QAttachItem::operator<(const QTreeWidgetItem& other) const
{
    const auto* rule = dynamic_cast<const QAttachItem*>(&other);
    if (!rule)
        return QTreeWidgetItem::operator<(other);
    // A descending sort puts the greater first; for the rules that is the later one, so
    // it is asked the other way round.
    const QTreeWidget* list = treeWidget();
    const bool descending = list && list->header()->sortIndicatorOrder() == Qt::DescendingOrder;
    return descending ? orderOf(rule->m_row) < orderOf(m_row) : orderOf(m_row) < orderOf(rule->m_row);
}
