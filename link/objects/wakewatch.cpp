#include "wakewatch.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>

#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>

namespace {

// Made on first use, closed when the module goes (by then no worker is left to raise
// it).
struct WakeSignal
{
    WakeSignal()
        : fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
    {
    }
    ~WakeSignal()
    {
        if (fd >= 0)
            close(fd);
    }
    WakeSignal(const WakeSignal &) = delete;
    WakeSignal &operator=(const WakeSignal &) = delete;

    const int fd;
};

const WakeSignal &wakeSignal()
{
    static const WakeSignal signal;
    return signal;
}

std::atomic<WakeWatch::RaiseObserver> raiseObserver{nullptr};

// GUI thread only.
int watchers = 0;
QSocketNotifier *notifier = nullptr;

} // namespace

WakeWatch::WakeWatch()
{
    Q_ASSERT(QThread::currentThread() == QCoreApplication::instance()->thread());
    if (watchers++ > 0 || wakeSignal().fd < 0)
        return;
    notifier = new QSocketNotifier(wakeSignal().fd, QSocketNotifier::Read);
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, &WakeWatch::drain);
}

WakeWatch::~WakeWatch()
{
    if (--watchers > 0)
        return;
    delete notifier;
    notifier = nullptr;
}

void WakeWatch::raise()
{
    const int fd = wakeSignal().fd;
    if (fd < 0)
        return;
    const uint64_t one = 1;
    while (write(fd, &one, sizeof one) < 0 && errno == EINTR) {
    }
    if (const RaiseObserver observer = raiseObserver.load(std::memory_order_acquire))
        observer();
}

void WakeWatch::setRaiseObserver(RaiseObserver observer)
{
    raiseObserver.store(observer, std::memory_order_release);
}

bool WakeWatch::isAvailable()
{
    return wakeSignal().fd >= 0;
}

int WakeWatch::descriptor()
{
    return wakeSignal().fd;
}

void WakeWatch::drain()
{
    uint64_t count = 0;
    while (read(wakeSignal().fd, &count, sizeof count) < 0 && errno == EINTR) {
    }
}
