#include "wndqueue.h"

#include "dbreq.h"
#include "deliverycolumns.h"
#include "deliverytexts.h"
#include "dialogseam.h"
#include "escape.h"
#include "ownrequest.h"
#include "qqueueitem.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTreeWidget>

namespace {

QString operationFailed()
{
    return QCoreApplication::translate("WndQueue", "Operation failed.");
}

QString errorCaption()
{
    return QCoreApplication::translate("WndQueue", "Error");
}

} // namespace

WndQueue::WndQueue(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
                   const char* name, Qt::WindowFlags fl)
    : TWndQueue(parent, name, fl)
    , ListPage(this, conn, ctrl, desktop, Menu::Status)
{
    // With single selection a message is chosen or none: the two message buttons follow.
    ListSetup list;
    list.view = m_list;
    list.key = QStringLiteral("queue");
    list.version = 2;
    list.editButton = m_btnRejuvenate;
    list.removeButton = m_btnRemove;
    addList(list);
    QQueueItem::addColumns(cols());
    loadLayouts();
    slotRefresh();
}

WndQueue::~WndQueue() = default;

void WndQueue::fillItems(int)
{
    // Made apart and put in at once, in the order shown: a queue may hold a hundred thousand
    // messages.
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(m_table.m_rows.size()));
    int position = 0;
    for (const auto& row : m_table.m_rows) {
        auto* item = new QQueueItem(nullptr, row.get(), position++, &cols());
        item->show();
        items.append(item);
    }
    ListPage::layout().addRows(items);
}

bool WndQueue::rebuildList(int)
{
    return refreshList(0, {&m_table, "show_queue()", dbcol_queue, true});
}

void WndQueue::slotRefresh()
{
    rebuildList(0);
}

void WndQueue::slotSelectionChanged()
{
    updateButtons();
}

void WndQueue::slotCols()
{
    modifyColumns();
}

void WndQueue::slotQueue()
{
    runFunction(QStringLiteral("run_queue()"));
}

void WndQueue::slotPOP3()
{
    runFunction(QStringLiteral("run_pop3()"));
}

void WndQueue::slotETRN()
{
    runFunction(QStringLiteral("run_odmr()"));
}

void WndQueue::runFunction(const QString& call)
{
    // A table of the call's own: the page may go while it waits, the table does not.
    DBTable result;
    const QByteArray callText = call.toLatin1();
    const bool loaded = result.function(this, m_conn, callText.constData(), dbcol_ret,
                                        DBTable::WaitWithProgress | DBTable::ReportRefusal);
    const bool started = loaded && !result.m_rows.empty()
        && DeliveryTexts::leadingInt(DeliveryTexts::cell(result.m_rows.front().get(), "result")) == 1;
    // Without a parent: the boxes stand on their own, even when the page went meanwhile.
    if (started) {
        Dialogs::information(nullptr, caption(),
                             tr("Action started.\nYou can view its results in the log window."),
                             QMessageBox::Ok);
    } else {
        Dialogs::warning(nullptr, errorCaption(), operationFailed(), QMessageBox::Ok);
    }
}

void WndQueue::slotRejuvenate()
{
    actOnMessage("queue_rejuvenate");
}

void WndQueue::slotRemove()
{
    if (Dialogs::warning(this, caption(), tr("Message will be deleted.\nDo you want to proceed?"),
                         QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    actOnMessage("queue_remove");
}

void WndQueue::actOnMessage(const char* function)
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    // The item's own copy: the table may have been emptied by a reload that failed.
    const QString id = static_cast<QQueueItem*>(selected.first())->messageId();
    DBReq request(QStringLiteral("SELECT %1(\"%2\")").arg(QLatin1String(function), escape(id)),
                  false);
    // Reloaded whatever the outcome, unless the page went meanwhile.
    if (sendOwnRequest(m_conn, request, this) != OwnRequest::OwnerGone)
        slotRefresh();
}
