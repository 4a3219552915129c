// A module for testing the console host: it exports the real one's three symbols and
// writes every call it gets, a line each, to $ORNEL_FAKE_RECORD. $ORNEL_FAKE_WINDOW chooses
// what module_connect opens: "none" (as after a failed connection), "failure" (the same,
// after a modal dialog telling why, as the real failure dialog does), "stay" (the default),
// or "close:MS", a window that closes itself after MS milliseconds and, like the real main
// window, asks for the unload from inside its closing, or "box:MS", a window that puts up
// a modal message box of no parent after MS milliseconds (as a refused statement does) and
// touches itself once the box has returned. As its window closes it writes where the
// console's window lay as the window system first showed it and where it lies now, each with
// the free area of its screen. $ORNEL_FAKE_POINTER ("x,y") puts the pointer there as the
// module is loaded, before the console shows. Its tree: "Alpha", "Beta" > "Gamma", "Delta",
// "DELTA"; beside it a page whose list shows "Gamma" too.

#include "desktop.h"
#include "ornelplugin.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

#include <optional>

#include <dlfcn.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

int windowsAlive = 0;

void record(const QString& line)
{
    QFile file(qEnvironmentVariable("ORNEL_FAKE_RECORD"));
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(line.toUtf8() + '\n');
}

QString text(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The console's window as the window system first shows it: "shown=x,y wxh inner=x,y wxh
// free=x,y wxh", the same parts as the console's geometry at the end. The host shows its
// window before it calls module_connect, so this watches from module_init on.
class FirstShowWatch : public QObject
{
public:
    QString shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && shown.isEmpty()) {
            // The QWindow's own show comes right before the window system is asked to map it,
            // with the geometry it will show at.
            auto* window = qobject_cast<QWindow*>(watched);
            if (window && isConsole(window)) {
                const QRect free = window->screen() ? window->screen()->availableGeometry() : QRect();
                shown = QStringLiteral("shown=%1 inner=%2 free=%3")
                            .arg(text(window->frameGeometry()), text(window->geometry()), text(free));
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static bool isConsole(const QWindow* window)
    {
        for (const QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->windowHandle() == window && qobject_cast<const QMainWindow*>(widget))
                return true;
        }
        return false;
    }
};

FirstShowWatch firstShowWatch;

// Where an administrator's pointer rests as the console starts, when the test says.
void placePointer()
{
    const QStringList at = qEnvironmentVariable("ORNEL_FAKE_POINTER").split(u',');
    if (at.size() == 2)
        QCursor::setPos(at.at(0).toInt(), at.at(1).toInt());
}

// Whether the handle the host passed is the one dlopen() gave it for this library.
bool isOwnHandle(DLLHANDLE handle)
{
    Dl_info info{};
    void* own = dladdr(reinterpret_cast<void*>(&record), &info) && info.dli_fname
                    ? dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD)
                    : nullptr;
    if (own)
        dlclose(own);
    return own && own == handle;
}

// What the host left unread on a socket it handed over.
QString describeSocket(qint32 socket)
{
    if (socket == 0)
        return QStringLiteral("0");
    timeval timeout{};
    timeout.tv_sec = 2;
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    char buffer[64];
    const ssize_t n = recv(socket, buffer, sizeof buffer, 0);
    close(socket);
    return QStringLiteral("open,rest=%1").arg(QString::fromLatin1(buffer, n > 0 ? int(n) : 0));
}

// The host looks for the navigation tree among the window's children.
class FakeWindow : public QWidget
{
public:
    FakeWindow(Desktop* desktop, DLLHANDLE handle) : m_desktop(desktop), m_handle(handle)
    {
        ++windowsAlive;
        setAttribute(Qt::WA_DeleteOnClose);
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, QColor(0x12, 0xab, 0x34)); // for the screenshot test to find
        setPalette(palette);
        setAutoFillBackground(true);
        // A page beside the navigation lists one of its items, as the module's group pages
        // do. It is made first: the window's children name its list before the tree.
        auto* page = new QWidget(this);
        auto* list = new QTreeWidget(page);
        new QTreeWidgetItem(list, {QStringLiteral("Gamma")});
        (new QVBoxLayout(page))->addWidget(list);
        auto* tree = new QTreeWidget(this);
        tree->setMaximumWidth(120);
        new QTreeWidgetItem(tree, {QStringLiteral("Alpha")});
        auto* beta = new QTreeWidgetItem(tree, {QStringLiteral("Beta")});
        for (const char* title : {"Gamma", "Delta", "DELTA"})
            new QTreeWidgetItem(beta, {QString::fromLatin1(title)});
        connect(tree, &QTreeWidget::currentItemChanged, this, [](QTreeWidgetItem* item) {
            record(QStringLiteral("current=%1").arg(item ? item->text(0) : QString()));
        });
        auto* layout = new QHBoxLayout(this);
        layout->addWidget(tree);
        layout->addWidget(page);
        resize(400, 300);
    }

    ~FakeWindow() override
    {
        --windowsAlive;
        record(QStringLiteral("window destroyed"));
    }

    // Runs in the library's code: were the library unloaded under the box, returning from
    // it would crash.
    void runBox()
    {
        record(QStringLiteral("box"));
        const QPointer<FakeWindow> self(this);
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Error"), QStringLiteral("Operation failed."),
                        QMessageBox::Ok);
        box.exec();
        record(QStringLiteral("box ended window=%1").arg(self ? QStringLiteral("alive") : QStringLiteral("gone")));
        if (self)
            self->setWindowTitle(QStringLiteral("after the box"));
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        recordConsoleGeometry();
        record(QStringLiteral("close_dll"));
        m_desktop->close_dll(m_handle);
        event->accept();
    }

private:
    // Where the console's window lies, with and without its frame, and the free area of its
    // screen: "console=x,y wxh inner=x,y wxh free=x,y wxh", after where it first showed.
    void recordConsoleGeometry()
    {
        if (!firstShowWatch.shown.isEmpty())
            record(firstShowWatch.shown);
        const QWidget* console = window();
        const QRect free = console->screen() ? console->screen()->availableGeometry() : QRect();
        record(QStringLiteral("console=%1 inner=%2 free=%3")
                   .arg(text(console->frameGeometry()), text(console->geometry()), text(free)));
    }

    Desktop* m_desktop;
    DLLHANDLE m_handle;
};

// The failure dialog's parts: a caption, a bold headline, the cause and, in a frame, the
// reasons, one a line; the picture beside the headline has no text.
void showFailure(QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Fake Console"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* picture = new QLabel(&dialog);
    picture->setPixmap(QPixmap(16, 16));
    layout->addWidget(picture);
    layout->addWidget(new QLabel(QStringLiteral("<b>Failed to connect.</b>"), &dialog));
    layout->addWidget(new QLabel(QStringLiteral("Connection has failed with error code 7."), &dialog));
    auto* frame = new QGroupBox(&dialog);
    (new QVBoxLayout(frame))->addWidget(new QLabel(QStringLiteral("Possible reasons:\n- one\n- two"), frame));
    layout->addWidget(frame);
    auto* hidden = new QLabel(QStringLiteral("not shown"), &dialog);
    hidden->hide();
    dialog.exec();
    record(QStringLiteral("failure dialog closed"));
}

std::optional<ModuleDescriptor> descriptor;

// Runs when the library is unloaded, or at exit when it never was.
struct UnloadRecorder
{
    ~UnloadRecorder()
    {
        record(QStringLiteral("unloaded app=%1 windows=%2")
                   .arg(QCoreApplication::instance() ? QStringLiteral("alive") : QStringLiteral("gone"))
                   .arg(windowsAlive));
    }
} unloadRecorder;

} // namespace

extern "C" {

const InitInterface init_interface = {FAKE_VERSION, module_init, module_connect};

ModuleDescriptor* module_init()
{
    record(QStringLiteral("module_init"));
    qApp->installEventFilter(&firstShowWatch);
    placePointer();
    if (!descriptor)
        descriptor.emplace();
    descriptor->productName = QStringLiteral("Fake");
    descriptor->module_connect = module_connect;
    return &*descriptor;
}

void module_connect(Desktop* desktop, qint32 socket, const char* host, const char* port,
                    const char* user, const char* password, quint32 reserved, DLLHANDLE handle,
                    qint32 mode)
{
    record(QStringLiteral("module_connect desktop=%1|socket=%2|host=%3|port=%4|user=%5|password=%6|reserved=%7|handle=%8|mode=%9")
               .arg(desktop ? QString::fromLatin1(desktop->metaObject()->className()) : QStringLiteral("null"),
                    describeSocket(socket), QString::fromLocal8Bit(host), QString::fromLocal8Bit(port),
                    QString::fromLocal8Bit(user), QString::fromLocal8Bit(password),
                    QString::number(reserved),
                    isOwnHandle(handle) ? QStringLiteral("own") : QStringLiteral("other"),
                    QString::number(mode)));

    const QString behaviour = qEnvironmentVariable("ORNEL_FAKE_WINDOW", QStringLiteral("stay"));
    if (behaviour == QLatin1String("failure"))
        showFailure(desktop);
    if (behaviour == QLatin1String("none") || behaviour == QLatin1String("failure"))
        return;
    auto* window = new FakeWindow(desktop, handle);
    QMdiSubWindow* frame = desktop->addSubWindow(window);
    desktop->addWindow(window);
    frame->show();
    if (behaviour.startsWith(QLatin1String("close:")))
        QTimer::singleShot(behaviour.mid(6).toInt(), window, [window] { window->close(); });
    if (behaviour.startsWith(QLatin1String("box:")))
        QTimer::singleShot(behaviour.mid(4).toInt(), window, [window] { window->runBox(); });
}

} // extern "C"
