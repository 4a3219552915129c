#include "pagefactory.h"

#include <QHash>
#include <QObject>
#include <QWidget>

namespace PageFactory {

namespace {

using Order = ArgumentOrder;

constexpr bool Bar = true;
constexpr bool NoBar = false;

// Only the two definition pages take an empty name and plain flags; the rest a null
// name and delete-on-close.
const QList<PageEntry>& table()
{
    static const QList<PageEntry> entries = {
        {PageKind::Services, "Services", Order::Standard, false, true, Bar},
        {PageKind::Domains, "Domains", Order::Standard, false, true, Bar},
        {PageKind::SmtpProperties, "SMTP Properties", Order::WithoutDesktop, false, true, Bar},
        {PageKind::Antivirus, "Antivirus", Order::Standard, false, true, Bar},
        {PageKind::Antispam, "Antispam", Order::DesktopBeforeCtrl, false, true, Bar},
        {PageKind::Backup, "Backup", Order::WithoutDesktop, false, true, Bar},
        {PageKind::InternetConnection, "Internet Connection", Order::WithoutDesktop, false, true,
         Bar},
        {PageKind::Scheduling, "Scheduling", Order::Standard, false, true, Bar},
        {PageKind::Pop3Download, "POP3 Download", Order::Standard, false, true, Bar},
        {PageKind::EtrnDownload, "ETRN Download", Order::Standard, false, true, Bar},
        {PageKind::RemoteAdministration, "Remote Administration", Order::Standard, false, true,
         Bar},
        {PageKind::AdvancedOptions, "Advanced Options", Order::Standard, false, true, Bar},
        {PageKind::TimeRanges, "Time Ranges", Order::DesktopLast, true, false, Bar},
        {PageKind::IpAddressGroups, "IP Address Groups", Order::DesktopLast, true, false, Bar},
        {PageKind::UserTemplates, "User Templates", Order::Standard, false, true, Bar},
        {PageKind::Users, "Users", Order::Standard, false, true, Bar},
        {PageKind::Groups, "Groups", Order::Standard, false, true, Bar},
        {PageKind::Aliases, "Aliases", Order::Standard, false, true, Bar},
        {PageKind::MailQueue, "Mail Queue", Order::Standard, false, true, NoBar},
        {PageKind::Connections, "Connections", Order::Standard, false, true, NoBar},
    };
    return entries;
}

const char* orderName(ArgumentOrder order)
{
    switch (order) {
    case Order::Standard:
        return "(parent, conn, ctrl, desktop, name, flags)";
    case Order::WithoutDesktop:
        return "(parent, conn, ctrl, name, flags)";
    case Order::DesktopBeforeCtrl:
        return "(parent, conn, desktop, ctrl, name, flags)";
    case Order::DesktopLast:
        return "(parent, conn, ctrl, name, flags, desktop)";
    }
    return "";
}

// Filled as the subsystems' pages register; a kind without an entry opens no page.
QHash<PageKind, Builder>& registry()
{
    static QHash<PageKind, Builder> builders;
    return builders;
}

} // namespace

const QList<PageEntry>& pages()
{
    return table();
}

const PageEntry& entry(PageKind kind)
{
    const QList<PageEntry>& entries = table();
    const int index = int(kind);
    Q_ASSERT(index >= 0 && index < entries.size() && entries.at(index).kind == kind);
    return entries.at(index);
}

QString title(PageKind kind)
{
    return QObject::tr(entry(kind).title);
}

namespace Internal {

bool registerBuilders(PageKind kind, const Builders& builders, const char* className)
{
    const PageEntry& page = entry(kind);
    const Builder& builder = builders.at(int(page.order));
    if (!builder) {
        qWarning("PageFactory: %s cannot be the page \"%s\": it has no constructor %s", className,
                 page.title, orderName(page.order));
        return false;
    }
    registry().insert(kind, builder);
    return true;
}

} // namespace Internal

void unregisterPage(PageKind kind)
{
    registry().remove(kind);
}

bool isRegistered(PageKind kind)
{
    return registry().contains(kind);
}

QWidget* build(PageKind kind, QWidget* container, DBConn* conn, DBCtrl* ctrl, Desktop* desktop)
{
    const auto found = registry().constFind(kind);
    if (found == registry().constEnd())
        return nullptr;
    const PageEntry& page = entry(kind);
    // A copy: a page's constructor runs an event loop while it loads, and a registration
    // made meanwhile must not pull the builder from under it.
    const Builder builder = found.value();
    QWidget* widget = builder({container, conn, ctrl, desktop, page.emptyName ? "" : nullptr, {}});
    if (widget && page.deleteOnClose)
        widget->setAttribute(Qt::WA_DeleteOnClose);
    return widget;
}

} // namespace PageFactory
