#pragma once

#include "desktop_global.h"

#include <QHash>
#include <QMdiArea>
#include <QPixmap>
#include <QWidgetList>

#include <memory>

class SettingsStore;

// The multiple-document workspace of the console. The host creates it; the module places
// its windows in it, registers its top windows (and their detached children) in the
// window registry, keeps its settings in settings() and asks to be unloaded through
// close_dll(). The registry holds plain pointers and never deletes a window; a registered
// window that is destroyed without being removed is dropped from it all the same.
//
// The module also says here whether code of it waits with the event loop running under
// it (setModuleWaiting): a wait for the server, entered from a click as often as from a
// call of the host, runs no loop the host could see. While it waits, the host destroys
// none of the module's windows and does not unload it; a close or quit asked meanwhile
// is carried out once the wait has returned.
class ORNEL_DESKTOP_EXPORT Desktop : public QMdiArea
{
    Q_OBJECT

public:
    explicit Desktop(QWidget* parent = nullptr);
    ~Desktop() override;

    // Owned by the workspace; files in $HOME/.Ornel.
    SettingsStore* settings() const;

    void addWindow(QWidget* w, QWidget* parent = nullptr);
    bool removeWindow(QWidget* w, bool notify);
    bool closeWindow(QWidget* w);
    QWidget* parentWindow(QWidget* w) const;
    bool activateWindow(QWidget* w);
    using QMdiArea::activateWindow;
    QWidget* activeWindow() const;
    QWidgetList windowList() const;
    QHash<QWidget*, QWidget*> windowHierarchy() const;

    void close_dll(DLLHANDLE handle);

    // Set by the module while a wait of it is on the stack, cleared as the last returns.
    void setModuleWaiting(bool waiting);
    bool isModuleWaiting() const;

    // Where the logo is drawn in the viewport: 12 pixels from the right edge and 13 from
    // the bottom.
    QRect logoRect() const;

signals:
    void signalWindowAdded();
    void signalWindowRemoved();
    void signalCloseDll(DLLHANDLE handle);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    class Watcher;

    void watch(QWidget* w);
    void forgetDestroyed(QObject* object);

    std::unique_ptr<SettingsStore> m_settings;
    // Receives the registered windows' destroyed() signals; going first in the destructor,
    // it cuts them all at once.
    std::unique_ptr<Watcher> m_watcher;
    QWidgetList m_windows;
    QHash<QWidget*, QWidget*> m_hierarchy;
    QPixmap m_logo;
    bool m_moduleWaiting = false;
};
