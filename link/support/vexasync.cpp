#include "vexasupport.h"
#include "vexasupport_p.h"

#include <sys/time.h>

#include <cerrno>

pthread_mutexattr_t __vexa_def_mutex;

namespace {

pthread_once_t defaultAttrOnce = PTHREAD_ONCE_INIT;

void initDefaultAttr()
{
    pthread_mutexattr_init(&__vexa_def_mutex);
    pthread_mutexattr_settype(&__vexa_def_mutex, PTHREAD_MUTEX_RECURSIVE);
}

// Code that reads __vexa_def_mutex directly (the connection's queue mutex) runs
// after static construction, so setting it up here covers it.
const bool defaultAttrReady = (vexa_default_mutex_attr(), true);

timespec deadlineAfter(int ms)
{
    if (ms < 0)
        ms = 0;
    timeval now;
    gettimeofday(&now, nullptr);
    long seconds = now.tv_sec + ms / 1000;
    long microseconds = now.tv_usec + long(ms % 1000) * 1000;
    if (microseconds >= 1000000) {
        seconds += 1;
        microseconds -= 1000000;
    }
    timespec deadline;
    deadline.tv_sec = seconds;
    deadline.tv_nsec = microseconds * 1000;
    return deadline;
}

} // namespace

const pthread_mutexattr_t *vexa_default_mutex_attr()
{
    pthread_once(&defaultAttrOnce, initDefaultAttr);
    return &__vexa_def_mutex;
}

pthread_mutex_t mutex_initializer(pthread_mutex_t *mutex)
{
    pthread_mutex_t local;
    if (!mutex)
        mutex = &local;
    pthread_mutex_init(mutex, vexa_default_mutex_attr());
    return *mutex;
}

vexa_event event_initializer(vexa_event *event)
{
    vexa_event local;
    if (!event)
        event = &local;
    pthread_mutex_init(&event->mutex, nullptr);
    pthread_cond_init(&event->cond, nullptr);
    event->signalled = 0;
    return *event;
}

int event_timedwait(vexa_event *event, int ms)
{
    if (!event)
        return 0;
    pthread_mutex_lock(&event->mutex);
    if (event->signalled) {
        pthread_mutex_unlock(&event->mutex);
        return 1;
    }
    const timespec deadline = deadlineAfter(ms);
    // A wake-up without a signal is not a signal: wait again until the deadline.
    int rc = 0;
    while (!event->signalled && rc != ETIMEDOUT)
        rc = pthread_cond_timedwait(&event->cond, &event->mutex, &deadline);
    const int result = event->signalled ? 1 : 0;
    event->signalled = 0;
    pthread_mutex_unlock(&event->mutex);
    return result;
}
