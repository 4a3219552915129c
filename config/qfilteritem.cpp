#include "qfilteritem.h"

#include "cellnumbers.h"
#include "cols.h"
#include "filtertypes.h"
#include "rowcells.h"
#include "wndantispam.h"

#include <QBitmap>
#include <QIcon>
#include <QPixmap>

namespace {

// A small sheet with a red bar across it, on magenta, which the mask takes out.
const char* const ruleIconXpm[] = {
    "16 16 10 1",
    "  c #ff00ff",
    ". c #000000",
    "+ c #ffffff",
    "@ c #c0c0c0",
    "# c #808080",
    "$ c #ff0000",
    "% c #800000",
    "& c #0000ff",
    "* c #000080",
    "= c #ffff00",
    "                ",
    "  ..........    ",
    "  .++++++++.#   ",
    "  .+&&&&&&+.##  ",
    "  .++++++++.... ",
    "  .+******+++@. ",
    "  .++++++++++@. ",
    "$$$$$$$$$$$$$$$ ",
    "%%%%%%%%%%%%%%% ",
    "  .+******+++@. ",
    "  .++++++++++@. ",
    "  .+==****+++@. ",
    "  .++++++++++@. ",
    "  .@@@@@@@@@@@. ",
    "  ............. ",
    "                ",
};

// Built once: every item shows the same picture.
const QIcon& ruleIcon()
{
    static const QIcon icon = [] {
        QPixmap pixmap(ruleIconXpm);
        pixmap.setMask(pixmap.createHeuristicMask(true));
        return QIcon(pixmap);
    }();
    return icon;
}

const QString sortGap(16, QLatin1Char(' '));

} // namespace

QFilterItem::QFilterItem(QTreeWidget* list, DBRow* row, Cols* cols, WndAntispam* page)
    : RuleItem(list, row, cols, page)
    , m_page(page)
{
}

void QFilterItem::show()
{
    showCheck();
    m_cols->showItem(this, [this](int id) {
        switch (id) {
        case Header: return RowCells::cell(m_row, "header");
        case Type: return FilterTypes::shortName(CellNumbers::wholeNumber(m_row, "type"));
        case Content: return RowCells::cell(m_row, "content");
        }
        return QString();
    });
    if (m_cols->showFlags.value(Header) != 0)
        setIcon(m_cols->dispinv.at(Header), ruleIcon());
}

void QFilterItem::handIn()
{
    if (m_page)
        m_page->ruleToggled(m_row);
}

QString QFilterItem::textOfId(int id) const
{
    const int column = viewColumn(id);
    return column < 0 ? QString() : text(column);
}

QString QFilterItem::key(int column, bool) const
{
    auto shownIn = [this, column](int id) {
        return m_cols->showFlags.value(id) != 0 && m_cols->dispinv.value(id, -1) == column;
    };
    if (shownIn(Header))
        return textOfId(Header) + sortGap + textOfId(Type);
    if (shownIn(Type))
        return textOfId(Type) + sortGap + textOfId(Header);
    if (shownIn(Content))
        return textOfId(Content) + sortGap + textOfId(Header);
    return sortGap;
}

