#include "wndnavigation.h"

#include "qnavigationitem.h"

#include <QIcon>
#include <QPixmap>
#include <QTimer>
#include <QTreeWidget>

WndNavigation::WndNavigation(QWidget* parent, const char* name, Qt::WindowFlags f)
    : TWndNavigation(parent, name, f)
    , m_timer(new QTimer(this))
{
    m_list->setHeaderHidden(true);
    m_list->setSortingEnabled(false);

    m_timer->setSingleShot(true);
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, &WndNavigation::slotTimerDone);
}

WndNavigation::~WndNavigation() = default;

QTreeWidgetItem* WndNavigation::addIcon(QTreeWidgetItem* after, const QPixmap& icon,
                                        const QString& title, const QString& description,
                                        QTreeWidgetItem* target)
{
    auto* row = new QNavigationItem(m_list, after, title, description, target);
    row->setIcon(0, QIcon(icon));
    return row;
}

void WndNavigation::slotNavigate(QTreeWidgetItem*)
{
    // The row reported with the signal is not used: the current row when the timer fires
    // is the one the administrator last chose.
    m_timer->start();
}

void WndNavigation::slotTimerDone()
{
    QTreeWidgetItem* current = m_list->currentItem();
    if (!current || current->type() != QNavigationItem::Type)
        return;
    QTreeWidgetItem* target = static_cast<QNavigationItem*>(current)->target();
    // The target's own tree, so that with several servers open a row always acts on the
    // window that built its page.
    if (!target || !target->treeWidget())
        return;
    target->treeWidget()->setCurrentItem(target);
}
