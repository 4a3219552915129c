#include "desktop.h"

#include "desktopwindow.h"
#include "settingsstore.h"

#include <QBitmap>
#include <QDir>
#include <QMdiSubWindow>
#include <QMetaType>
#include <QPainter>
#include <QPointer>

namespace {

#include "ornellogo.xpm"

// The logo's background colour, which is never drawn.
const QRgb logoBackground = 0x808080;

// Distance of the logo's top-left corner from the viewport's right and bottom edges.
const int logoRightOffset = 200;
const int logoBottomOffset = 70;

QPixmap makeLogo()
{
    QPixmap logo(ornel_logo_xpm);
    logo.setMask(logo.createMaskFromColor(QColor(logoBackground), Qt::MaskInColor));
    return logo;
}

} // namespace

class Desktop::Watcher : public QObject
{
public:
    explicit Watcher(Desktop* desktop) : m_desktop(desktop) {}
    void objectDestroyed(QObject* object) { m_desktop->forgetDestroyed(object); }

private:
    Desktop* m_desktop;
};

Desktop::Desktop(QWidget* parent)
    : QMdiArea(parent)
    , m_settings(std::make_unique<SettingsStore>(QDir::homePath() + QLatin1String("/.Ornel")))
    , m_watcher(std::make_unique<Watcher>(this))
    , m_logo(makeLogo())
{
    setObjectName(QStringLiteral("desktop"));
    // Lets the host connect to signalCloseDll(DLLHANDLE) by name, queued.
    qRegisterMetaType<DLLHANDLE>("DLLHANDLE");
}

Desktop::~Desktop()
{
    // The windows framed here would otherwise die with the base class's children, after
    // the registry is gone, while a main window still unregisters itself from its
    // destructor. They go now, with the workspace still whole. Windows that merely are
    // registered (top-level ones, say) are not the workspace's to delete.
    QList<QPointer<QMdiSubWindow>> frames;
    for (QMdiSubWindow* frame : subWindowList())
        frames.append(frame);
    for (const QPointer<QMdiSubWindow>& frame : std::as_const(frames))
        delete frame.data();
    m_watcher.reset();
    m_windows.clear();
    m_hierarchy.clear();
}

SettingsStore* Desktop::settings() const
{
    return m_settings.get();
}

void Desktop::addWindow(QWidget* w, QWidget* parent)
{
    if (!w)
        return;
    m_windows.append(w);
    watch(w);
    if (parent) {
        m_hierarchy.insert(w, parent);
        watch(parent);
    }
    emit signalWindowAdded();
}

bool Desktop::removeWindow(QWidget* w, bool notify)
{
    const bool listed = m_windows.removeOne(w);
    m_hierarchy.remove(w);
    if (notify)
        emit signalWindowRemoved();
    return listed;
}

bool Desktop::closeWindow(QWidget* w)
{
    if (!w)
        return true;
    if (m_hierarchy.contains(w))
        removeWindow(w, true);
    // The frame goes with its window; a window that is not framed by this workspace is
    // closed on its own, never whatever else happens to be its parent.
    QWidget* closing = w;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
        closing = frame;
    closing->setAttribute(Qt::WA_DeleteOnClose);
    closing->close();
    return true;
}

QWidget* Desktop::parentWindow(QWidget* w) const
{
    return m_hierarchy.value(w, w);
}

bool Desktop::activateWindow(QWidget* w)
{
    if (!w || !m_windows.contains(w))
        return false;
    if (auto* window = dynamic_cast<DesktopWindow*>(w))
        window->setWindowActive();
    else
        w->setFocus();
    return true;
}

QWidget* Desktop::activeWindow() const
{
    QMdiSubWindow* current = currentSubWindow();
    return current ? current->widget() : nullptr;
}

QWidgetList Desktop::windowList() const
{
    return m_windows;
}

QHash<QWidget*, QWidget*> Desktop::windowHierarchy() const
{
    return m_hierarchy;
}

void Desktop::close_dll(DLLHANDLE handle)
{
    emit signalCloseDll(handle);
}

void Desktop::setModuleWaiting(bool waiting)
{
    m_moduleWaiting = waiting;
}

bool Desktop::isModuleWaiting() const
{
    return m_moduleWaiting;
}

QRect Desktop::logoRect() const
{
    const QRect area = viewport()->rect();
    return QRect(area.width() - logoRightOffset, area.height() - logoBottomOffset,
                 m_logo.width(), m_logo.height());
}

void Desktop::paintEvent(QPaintEvent* event)
{
    // The base fills the background; the logo goes on top of it and under the windows.
    QMdiArea::paintEvent(event);
    QPainter painter(viewport());
    painter.drawPixmap(logoRect().topLeft(), m_logo);
}

void Desktop::watch(QWidget* w)
{
    connect(w, &QObject::destroyed, m_watcher.get(), &Watcher::objectDestroyed, Qt::UniqueConnection);
}

void Desktop::forgetDestroyed(QObject* object)
{
    // Only pointers are compared: the object is no longer a widget at this point.
    bool changed = false;
    for (qsizetype i = m_windows.size() - 1; i >= 0; --i) {
        if (static_cast<QObject*>(m_windows.at(i)) == object) {
            m_windows.removeAt(i);
            changed = true;
        }
    }
    for (auto it = m_hierarchy.begin(); it != m_hierarchy.end();) {
        if (static_cast<QObject*>(it.key()) == object || static_cast<QObject*>(it.value()) == object)
            it = m_hierarchy.erase(it);
        else
            ++it;
    }
    if (changed)
        emit signalWindowRemoved();
}
