#include "vexasupport.h"

#include <sys/select.h>

#include <ctime>

namespace {

// A monotonic source: the clocks measure intervals, which a change of the
// time of day must not turn negative.
uint64_t nowMicroseconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint64_t(now.tv_sec) * 1000000u + uint64_t(now.tv_nsec) / 1000u;
}

} // namespace

uint32_t milisec()
{
    static const uint64_t base = nowMicroseconds();
    return uint32_t((nowMicroseconds() - base) / 1000u);
}

uint64_t milisec64()
{
    static const uint64_t base = nowMicroseconds();
    return (nowMicroseconds() - base) / 1000u;
}

int msleep(int ms)
{
    timeval timeout;
    timeout.tv_sec = ms / 1000;
    timeout.tv_usec = (ms % 1000) * 1000;
    return select(0, nullptr, nullptr, nullptr, &timeout);
}
