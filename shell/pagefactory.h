#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include <array>
#include <functional>
#include <type_traits>

class DBConn;
class DBCtrl;
class Desktop;
class QWidget;

// The pages that items of the navigation tree open in a page container, in the order of
// the tree. The grouping items, the product item, the checklist and the logs open pages
// of the main window's own and are not listed here.
enum class PageKind {
    Services,
    Domains,
    SmtpProperties,
    Antivirus,
    Antispam,
    Backup,
    InternetConnection,
    Scheduling,
    Pop3Download,
    EtrnDownload,
    RemoteAdministration,
    AdvancedOptions,
    TimeRanges,
    IpAddressGroups,
    UserTemplates,
    Users,
    Groups,
    Aliases,
    MailQueue,
    Connections,
};

// How each page is built. The pages came from different hands and their constructors
// take the same things in four different orders; the table below knows each page's order,
// its object name and close behaviour, and whether the Apply/Reset bar goes with it, so
// that the page switch builds every page the same way.
//
// A page class joins with registerPage<Page>(kind), which checks at compile time which
// orders Page can be built with and refuses the registration when the table's order for
// kind is not among them. Until a kind has a page, build() returns null.
namespace PageFactory {

enum class ArgumentOrder {
    Standard,          // container, connection, controller, workspace, name, flags
    WithoutDesktop,    // container, connection, controller, name, flags
    DesktopBeforeCtrl, // container, connection, workspace, controller, name, flags
    DesktopLast,       // container, connection, controller, name, flags, workspace
};

struct PageEntry
{
    PageKind kind;
    const char* title; // the tree item's title, untranslated
    ArgumentOrder order;
    bool emptyName;     // the empty string as object name, else none (null)
    bool deleteOnClose; // closing the page deletes it
    bool showsBar;      // the page edits through the pending list
};

// Every kind, in the order of the tree.
const QList<PageEntry>& pages();
const PageEntry& entry(PageKind kind);
// The title translated in the global context: the caption of the page's header row.
QString title(PageKind kind);

struct PageArguments
{
    QWidget* parent;
    DBConn* conn;
    DBCtrl* ctrl;
    Desktop* desktop;
    const char* name;
    Qt::WindowFlags flags;
};

using Builder = std::function<QWidget*(const PageArguments&)>;
using Builders = std::array<Builder, 4>; // one per ArgumentOrder, empty where not possible

namespace Internal {
bool registerBuilders(PageKind kind, const Builders& builders, const char* className);
} // namespace Internal

template<class Page>
Builders buildersFor()
{
    using Flags = Qt::WindowFlags;
    Builders builders;
    if constexpr (std::is_constructible_v<Page, QWidget*, DBConn*, DBCtrl*, Desktop*,
                                          const char*, Flags>) {
        builders[int(ArgumentOrder::Standard)] = [](const PageArguments& a) -> QWidget* {
            return new Page(a.parent, a.conn, a.ctrl, a.desktop, a.name, a.flags);
        };
    }
    if constexpr (std::is_constructible_v<Page, QWidget*, DBConn*, DBCtrl*, const char*, Flags>) {
        builders[int(ArgumentOrder::WithoutDesktop)] = [](const PageArguments& a) -> QWidget* {
            return new Page(a.parent, a.conn, a.ctrl, a.name, a.flags);
        };
    }
    if constexpr (std::is_constructible_v<Page, QWidget*, DBConn*, Desktop*, DBCtrl*,
                                          const char*, Flags>) {
        builders[int(ArgumentOrder::DesktopBeforeCtrl)] = [](const PageArguments& a) -> QWidget* {
            return new Page(a.parent, a.conn, a.desktop, a.ctrl, a.name, a.flags);
        };
    }
    if constexpr (std::is_constructible_v<Page, QWidget*, DBConn*, DBCtrl*, const char*, Flags,
                                          Desktop*>) {
        builders[int(ArgumentOrder::DesktopLast)] = [](const PageArguments& a) -> QWidget* {
            return new Page(a.parent, a.conn, a.ctrl, a.name, a.flags, a.desktop);
        };
    }
    return builders;
}

// Makes Page the page of kind, replacing an earlier registration. False, with a warning,
// when Page has no constructor with kind's argument order.
template<class Page>
bool registerPage(PageKind kind)
{
    return Internal::registerBuilders(kind, buildersFor<Page>(), Page::staticMetaObject.className());
}

void unregisterPage(PageKind kind);
bool isRegistered(PageKind kind);

// kind's page, a child of container, built with container, the three pointers and the
// table's name and flags; null when kind has no page yet. The caller adds it to the
// container's layout.
QWidget* build(PageKind kind, QWidget* container, DBConn* conn, DBCtrl* ctrl, Desktop* desktop);

} // namespace PageFactory
