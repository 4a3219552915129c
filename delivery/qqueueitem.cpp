#include "qqueueitem.h"

#include "cols.h"
#include "deliveryicons.h"
#include "deliverytexts.h"

#include <QCoreApplication>

using namespace DeliveryTexts;

QQueueItem::QQueueItem(QTreeWidget* list, const DBRow* row, int /*position*/, const Cols* cols)
    : DeliveryItem(list, cols, Type)
    , m_id(cell(row, "Id"))
    , m_created(cell(row, "Create"))
    , m_nextTry(cell(row, "NextTry"))
    , m_size(cell(row, "Size"))
    , m_from(cell(row, "From"))
    , m_to(cell(row, "To"))
{
}

void QQueueItem::addColumns(Cols& cols)
{
    static const char* const titles[] = {
        QT_TRANSLATE_NOOP("WndQueue", "ID"),   QT_TRANSLATE_NOOP("WndQueue", "Created"),
        QT_TRANSLATE_NOOP("WndQueue", "Next Try"), QT_TRANSLATE_NOOP("WndQueue", "Size"),
        QT_TRANSLATE_NOOP("WndQueue", "From"), QT_TRANSLATE_NOOP("WndQueue", "To"),
    };
    for (const char* title : titles)
        cols.add(QCoreApplication::translate("WndQueue", title), true, -1, false);
}

void QQueueItem::show()
{
    emitDataChanged();
}

QVariant QQueueItem::data(int column, int role) const
{
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        const QString* const texts[] = {&m_id, &m_created, &m_nextTry, &m_size, &m_from, &m_to};
        const int id = idOfColumn(column);
        if (id >= 0)
            return *texts[id];
    }
    if (role == Qt::DecorationRole && idOfColumn(column) == Id)
        return DeliveryIcons::queue();
    return DeliveryItem::data(column, role);
}

QString QQueueItem::key(int column, bool) const
{
    // Made when asked: only a sort by size needs it, and the list keeps each row's key.
    if (idOfColumn(column) == Size)
        return sizeKey(m_size);
    const QString* held = heldKey(column);
    return held ? *held : text(column);
}

const QString* QQueueItem::heldKey(int column) const
{
    const QString* const keys[] = {&m_id, &m_created, &m_nextTry, nullptr, &m_from, &m_to};
    const int id = idOfColumn(column);
    return id >= 0 ? keys[id] : nullptr;
}

int QQueueItem::idOfColumn(int column) const
{
    // The view columns show the shown ids in ascending order.
    const int id = m_cols ? m_cols->disp.value(column, -1) : -1;
    return id >= 0 && id < 6 ? id : -1;
}
