#include "wndservice.h"

#include "cellnumbers.h"
#include "configcolumns.h"
#include "dbreq.h"
#include "dbrow.h"
#include "dbval.h"
#include "dialogseam.h"
#include "dlgservice.h"
#include "escape.h"
#include "ownrequest.h"
#include "qserviceitem.h"
#include "scopedqpointer.h"
#include "untouchedfields.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

#include <cstring>

namespace {

const char* const ServiceTables[WndService::ServiceCount] = {
    "service-smtp",    "service-pop3",    "service-pop3s",     "service-imap",
    "service-imaps",   "service-webmail", "service-webmails",  "service-sieve",
};

DBRow* firstRow(const DBTable& table)
{
    return table.m_rows.empty() ? nullptr : table.m_rows.front().get();
}

void setCell(DBRow* row, const char* column, const QString& text)
{
    const int index = row ? row->colIndex(column) : -1;
    if (index >= 0)
        row->m_values[size_t(index)]->set(text);
}

} // namespace

WndService::WndService(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
                       const char* name, Qt::WindowFlags flags)
    : TWndService(parent, name, flags)
    , ListPage(this, conn, ctrl, desktop)
{
    addList({m_list, QStringLiteral("service"), 3, nullptr, nullptr, nullptr, QString()});
    cols().add(tr("Service"), true, -1, false);
    cols().add(tr("Status"), true, -1, false);
    cols().add(tr("Startup Type"), true, -1, false);
    cols().add(tr("Port"), true, -1, false);
    cols().add(tr("Limit access"), true, -1, false);
    cols().add(tr("Default Port"), false, -1, false);
    loadLayouts();

    QList<TableLoad> loads;
    for (int index = 0; index < ServiceCount; ++index) {
        Service& service = m_services.at(size_t(index));
        loads.append({&service.config, ServiceTables[index], dbcol_service});
        loads.append({&service.run, ServiceTables[index], dbcol_service_run});
    }
    if (!loadTables(loads))
        return;
    updateView();
    followApplyAndReset();
    slotSelectionChanged();
}

WndService::~WndService() = default;

const char* WndService::serviceTable(int index)
{
    return ServiceTables[index];
}

void WndService::fillItems(int)
{
    // Eight services or none: a table that does not hold exactly its one row is not a
    // service the page can show.
    for (const Service& service : m_services) {
        if (service.config.m_rows.size() != 1)
            return;
    }
    for (int index = 0; index < ServiceCount; ++index) {
        auto* item = new QServiceItem(m_list, firstRow(m_services.at(size_t(index)).config),
                                      QString::fromLatin1(ServiceTables[index]), &cols(), index,
                                      &m_lamps);
        item->setRunning(isRunning(index));
        item->show();
    }
}

bool WndService::isRunning(int index)
{
    // Only "1" runs: any other state the server stores, or none at all, shows as stopped.
    return QServiceItem::cellText(firstRow(m_services.at(size_t(index)).run), "running")
        == QLatin1String("1");
}

QServiceItem* WndService::serviceItem(int index) const
{
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        auto* item = static_cast<QServiceItem*>(m_list->topLevelItem(i));
        if (item->type() == QServiceItem::Type && item->index() == index)
            return item;
    }
    return nullptr;
}

DBRow* WndService::rowOf(int, QTreeWidgetItem* item) const
{
    return item && item->type() == QServiceItem::Type ? static_cast<QServiceItem*>(item)->row()
                                                      : nullptr;
}

void WndService::showItem(int, QTreeWidgetItem* item)
{
    if (item && item->type() == QServiceItem::Type)
        static_cast<QServiceItem*>(item)->show();
}

QList<DBTable*> WndService::pendingTables() const
{
    QList<DBTable*> tables;
    for (const Service& service : m_services)
        tables.append(const_cast<DBTable*>(&service.config));
    return tables;
}

void WndService::afterApply()
{
    // The address-group dialog has written its own changes already; the groups only take
    // their current rows as loaded. The ports went out with the apply: the next start
    // sends none again.
    if (m_acl.m_loaded)
        m_acl.apply(false);
    forgetChangedPorts();
    updateView();
    slotSelectionChanged();
}

void WndService::afterReset()
{
    if (m_acl.m_loaded)
        m_acl.reset();
    // The ports are back as the server has them: nothing waits for a start any more.
    forgetChangedPorts();
    ListPage::afterReset();
    slotSelectionChanged();
}

// Only Apply and Reset: a rebuild after a column change keeps what waits for a start.
void WndService::forgetChangedPorts()
{
    for (Service& service : m_services)
        service.portChanged = false;
}

void WndService::slotSelectionChanged()
{
    const auto* item = static_cast<QServiceItem*>(m_list->currentItem());
    if (!item || item->type() != QServiceItem::Type) {
        m_btnStart->setEnabled(false);
        m_btnStop->setEnabled(false);
        m_btnProp->setEnabled(false);
        return;
    }
    m_btnProp->setEnabled(true);
    m_btnStart->setEnabled(!item->running());
    m_btnStop->setEnabled(item->running());
}

void WndService::slotStart()
{
    auto* item = static_cast<QServiceItem*>(m_list->currentItem());
    if (item && item->type() == QServiceItem::Type)
        startStop(true, item);
}

void WndService::slotStop()
{
    auto* item = static_cast<QServiceItem*>(m_list->currentItem());
    if (item && item->type() == QServiceItem::Type)
        startStop(false, item);
}

void WndService::slotProp()
{
    editCurrent();
}

void WndService::slotCols()
{
    modifyColumns();
}

void WndService::slotRightButtonPressed(QTreeWidgetItem* item, const QPoint& pos, int)
{
    showPopupMenu(this, pos, item);
}

void WndService::slotContextMenuRequested(QTreeWidgetItem*, const QPoint&, int)
{
}

bool WndService::runEditDialog(int, DBRow* row)
{
    auto* item = static_cast<QServiceItem*>(m_list->currentItem());
    if (!item || item->type() != QServiceItem::Type || item->row() != row)
        return false;
    const int index = item->index();
    const QPointer<QWidget> page(this);
    const ScopedQPointer<DlgService> dialog(
        new DlgService(this, nullptr, true, {}, m_conn, m_desktop, m_ctrl, &m_acl));
    if (!page || !dialog || heldRowsWent())
        return false;

    const QString port = QServiceItem::cellText(row, "port");
    const QString name = QServiceItem::cellText(row, "name");
    dialog->m_labelName->setText(QServiceItem::cellText(row, "fullname"));
    dialog->m_editPort->setText(port);
    dialog->m_comboStartup->addItem(tr("Automatic"));
    dialog->m_comboStartup->addItem(tr("Manual"));
    const QString autostart = QServiceItem::cellText(row, "autostart");
    dialog->m_comboStartup->setCurrentIndex(CellNumbers::leadingNumber(autostart) == 1 ? 0 : 1);
    // The choice shows anything but 1 as "Manual": left alone, it keeps what is stored.
    UntouchedFields untouched;
    untouched.remember(QStringLiteral("autostart"), autostart, {dialog->m_comboStartup});
    dialog->m_defaultPort = QServiceItem::cellText(row, "defaultport");
    dialog->setAcl(QServiceItem::cellText(row, "acl"));
    const bool smtp = name == QLatin1String("SMTP");
    dialog->m_chkOnlyAddressGroup->setVisible(!smtp);
    dialog->m_comboAddressGroup->setVisible(!smtp);
    dialog->m_btnEdit->setVisible(!smtp);
    dialog->m_label->setVisible(smtp);

    const int result = Dialogs::exec(dialog.get());
    if (!page || !dialog || result != QDialog::Accepted)
        return false;

    // Read before any question: the dialog may go while one is up.
    const QString newPort = dialog->m_editPort->text();
    const bool manual = dialog->m_comboStartup->currentIndex() == 1;
    const QString acl = dialog->m_chkOnlyAddressGroup->isChecked()
        ? dialog->m_comboAddressGroup->currentText()
        : QString();
    Service& service = m_services.at(size_t(index));
    if (newPort != port) {
        service.portChanged = true;
        if (item->running()) {
            Dialogs::warning(nullptr, caption(),
                             tr("Service is running and using the old port.\nYou should stop "
                                "and re-start the service!"),
                             QMessageBox::Ok);
            if (!page)
                return false;
        }
        setCell(row, "port", newPort);
    } else {
        service.portChanged = false;
    }
    setCell(row, "autostart", untouched.value(QStringLiteral("autostart"),
                                              manual ? QStringLiteral("0") : QStringLiteral("1")));
    setCell(row, "acl", acl);
    return true;
}

void WndService::setBusy(bool busy)
{
    m_list->setEnabled(!busy);
    if (busy) {
        m_btnStart->setEnabled(false);
        m_btnStop->setEnabled(false);
        m_btnProp->setEnabled(false);
    } else {
        slotSelectionChanged();
    }
}

bool WndService::sendNow(DBReq& request, bool* gone)
{
    const OwnRequest outcome = sendOwnRequest(m_conn, request, this);
    *gone = outcome == OwnRequest::OwnerGone;
    return outcome == OwnRequest::Answered;
}

bool WndService::send(const QString& statement, bool* gone)
{
    DBReq request(statement, false);
    return sendNow(request, gone);
}

std::optional<qint32> WndService::readState(int index, bool* gone)
{
    const QString table = QString::fromLatin1(ServiceTables[index]);
    DBReq request(QStringLiteral("SELECT running FROM ") + table, false);
    if (!sendNow(request, gone))
        return std::nullopt;
    char buffer[128];
    int length = sizeof buffer;
    if (!request.read(0, 0, buffer, &length))
        return std::nullopt;
    qint32 value = 0;
    std::memcpy(&value, buffer, sizeof value);
    setCell(firstRow(m_services.at(size_t(index)).run), "running", QString::number(value, 10));
    return value;
}

void WndService::startStop(bool start, QServiceItem* item)
{
    if (!item)
        return;
    // The item and its row may be rebuilt while a request waits; the service is named by
    // its index, and its texts are taken before anything is sent.
    const int index = item->index();
    Service& service = m_services.at(size_t(index));
    const QString table = QString::fromLatin1(ServiceTables[index]);
    const QString port = QServiceItem::cellText(item->row(), "port");
    const QString name = QServiceItem::cellText(item->row(), "name");
    const bool sendPort = start && service.portChanged;
    bool gone = false;
    setBusy(true);

    if (sendPort) {
        send(QStringLiteral("UPDATE ") + table + QStringLiteral(" SET port = '") + escape(port)
                 + QLatin1Char('\''),
             &gone);
        if (gone)
            return;
        // Also after a failure: the administrator has been told and starts again at will.
        service.portChanged = false;
    }
    const QString function = start ? QStringLiteral("start_service") : QStringLiteral("stop_service");
    send(QStringLiteral("SELECT ") + function + QStringLiteral("(\"") + escape(name)
             + QStringLiteral("\")"),
         &gone);
    if (gone)
        return;
    const std::optional<qint32> state = readState(index, &gone);
    if (gone)
        return;

    if (QServiceItem* shown = serviceItem(index)) {
        // The answer just read runs when it is not 0; without one, the state stored.
        shown->setRunning(state ? *state != 0 : isRunning(index));
        shown->show();
    }
    setBusy(false);
}

bool WndService::fillPopupMenu(QMenu& menu, QWidget* receiver, QTreeWidgetItem* item)
{
    if (item && item->type() == QServiceItem::Type) {
        // Ids number the entries in the order they were put in, separators included.
        auto addEntry = [&menu, receiver](const QString& text, const char* slot) {
            QAction* action = menu.addAction(text);
            action->setData(int(menu.actions().size()) - 1);
            QObject::connect(action, SIGNAL(triggered()), receiver, slot);
            return action;
        };
        const bool running = static_cast<QServiceItem*>(item)->running();
        addEntry(tr("&Start"), SLOT(slotStart()))->setEnabled(!running);
        addEntry(tr("St&op"), SLOT(slotStop()))->setEnabled(running);
        menu.addSeparator();
        addEntry(tr("&Properties..."), SLOT(slotProp()));
        menu.addSeparator();
    }
    return T2Popup::fillPopupMenu(menu, receiver, item);
}
