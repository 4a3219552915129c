#include "qconnectionitem.h"

#include "cols.h"
#include "deliveryicons.h"
#include "deliverytexts.h"

#include <QCoreApplication>

using namespace DeliveryTexts;

QConnectionItem::QConnectionItem(QTreeWidget* list, const DBRow* row, int /*position*/,
                                 const Cols* cols)
    : DeliveryItem(list, cols, Type)
    , m_texts{cell(row, "protocol"),
              yesNo(leadingInt(cell(row, "secure"))),
              durationText(leadingInt(cell(row, "time"))),
              cell(row, "from"),
              cell(row, "user"),
              cell(row, "info")}
    , m_timeKey(sizeKey(cell(row, "time")))
    , m_addressKey(addressKey(m_texts[From]))
{
}

void QConnectionItem::addColumns(Cols& cols)
{
    static const char* const titles[] = {
        QT_TRANSLATE_NOOP("WndConnection", "Protocol"), QT_TRANSLATE_NOOP("WndConnection", "Secure"),
        QT_TRANSLATE_NOOP("WndConnection", "Time"),     QT_TRANSLATE_NOOP("WndConnection", "From"),
        QT_TRANSLATE_NOOP("WndConnection", "User"),     QT_TRANSLATE_NOOP("WndConnection", "Info"),
    };
    for (const char* title : titles)
        cols.add(QCoreApplication::translate("WndConnection", title), true, -1, false);
}

void QConnectionItem::show()
{
    m_cols->showItem(this, [this](int id) { return m_texts[id]; });
    setIconOfFirst(DeliveryIcons::connection());
}

QString QConnectionItem::key(int column, bool) const
{
    const QString* held = heldKey(column);
    return held ? *held : text(column);
}

const QString* QConnectionItem::heldKey(int column) const
{
    // The view columns show the shown ids in ascending order.
    const int id = m_cols ? m_cols->disp.value(column, -1) : -1;
    if (id == From)
        return &m_addressKey;
    if (id == Time)
        return &m_timeKey;
    return id >= 0 && id < 6 ? &m_texts[id] : nullptr;
}
