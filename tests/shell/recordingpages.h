#pragma once

// Stand-in pages with each of the four constructor argument orders of the module's
// pages. Each records what its constructor received, so that a test can tell which
// constructor the page table used and with what.

#include "pagefactory.h"

#include <QByteArray>
#include <QList>
#include <QWidget>

struct ReceivedArguments
{
    PageFactory::ArgumentOrder order;
    QWidget* self;
    QWidget* parent;
    DBConn* conn;
    DBCtrl* ctrl;
    Desktop* desktop;
    bool nullName;
    QByteArray name;
    Qt::WindowFlags flags;
};

inline QList<ReceivedArguments>& receivedArguments()
{
    static QList<ReceivedArguments> received;
    return received;
}

class RecordingPage : public QWidget
{
    Q_OBJECT

protected:
    RecordingPage(PageFactory::ArgumentOrder order, QWidget* parent, DBConn* conn, DBCtrl* ctrl,
                  Desktop* desktop, const char* name, Qt::WindowFlags flags)
        : QWidget(parent, flags)
    {
        if (name)
            setObjectName(QLatin1String(name));
        receivedArguments().append({order, this, parent, conn, ctrl, desktop, name == nullptr,
                                    QByteArray(name), flags});
    }
};

class StandardOrderPage : public RecordingPage
{
    Q_OBJECT

public:
    StandardOrderPage(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
                      const char* name, Qt::WindowFlags f)
        : RecordingPage(PageFactory::ArgumentOrder::Standard, parent, conn, ctrl, desktop, name, f)
    {
    }
};

class NoDesktopPage : public RecordingPage
{
    Q_OBJECT

public:
    NoDesktopPage(QWidget* parent, DBConn* conn, DBCtrl* ctrl, const char* name,
                  Qt::WindowFlags f)
        : RecordingPage(PageFactory::ArgumentOrder::WithoutDesktop, parent, conn, ctrl, nullptr,
                        name, f)
    {
    }
};

class DesktopFirstPage : public RecordingPage
{
    Q_OBJECT

public:
    DesktopFirstPage(QWidget* parent, DBConn* conn, Desktop* desktop, DBCtrl* ctrl,
                     const char* name, Qt::WindowFlags f)
        : RecordingPage(PageFactory::ArgumentOrder::DesktopBeforeCtrl, parent, conn, ctrl, desktop,
                        name, f)
    {
    }
};

class DesktopLastPage : public RecordingPage
{
    Q_OBJECT

public:
    DesktopLastPage(QWidget* parent, DBConn* conn, DBCtrl* ctrl, const char* name,
                    Qt::WindowFlags f, Desktop* desktop)
        : RecordingPage(PageFactory::ArgumentOrder::DesktopLast, parent, conn, ctrl, desktop, name,
                        f)
    {
    }
};

// Registers, for every page of the table, the stand-in with that page's argument order;
// undoes it when it goes.
class RecordingPagesRegistered
{
public:
    RecordingPagesRegistered()
    {
        using Order = PageFactory::ArgumentOrder;
        for (const PageFactory::PageSpec& page : PageFactory::pages()) {
            switch (page.order) {
            case Order::Standard:
                PageFactory::registerPage<StandardOrderPage>(page.kind);
                break;
            case Order::WithoutDesktop:
                PageFactory::registerPage<NoDesktopPage>(page.kind);
                break;
            case Order::DesktopBeforeCtrl:
                PageFactory::registerPage<DesktopFirstPage>(page.kind);
                break;
            case Order::DesktopLast:
                PageFactory::registerPage<DesktopLastPage>(page.kind);
                break;
            }
        }
        receivedArguments().clear();
    }

    ~RecordingPagesRegistered()
    {
        for (const PageFactory::PageSpec& page : PageFactory::pages())
            PageFactory::unregisterPage(page.kind);
        receivedArguments().clear();
    }

    RecordingPagesRegistered(const RecordingPagesRegistered&) = delete;
    RecordingPagesRegistered& operator=(const RecordingPagesRegistered&) = delete;
};
