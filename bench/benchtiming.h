#pragma once

// Timing of a list fill repeated a few times, reported beside a bare reference.

#include "benchgoal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>

#include <algorithm>
#include <cstdio>
#include <functional>

// Microseconds: a short fill would read as 0 ms.
struct Times
{
    qint64 best = 0;
    qint64 median = 0;
};

inline double milliseconds(qint64 microseconds)
{
    return double(microseconds) / 1000.0;
}

// Runs `timed` `runs` times, letting queued events run between runs; `timed` returns the
// microseconds of the part it measured itself.
inline Times measureTimed(int runs, const std::function<qint64()>& timed)
{
    QList<qint64> times;
    for (int run = 0; run < runs; ++run) {
        times.append(timed());
        QCoreApplication::processEvents();
    }
    std::sort(times.begin(), times.end());
    return {times.first(), times.at(times.size() / 2)};
}

// Runs `fill` `runs` times, letting queued events run between runs.
inline Times measure(int runs, const std::function<void()>& fill)
{
    return measureTimed(runs, [&fill] {
        QElapsedTimer timer;
        timer.start();
        fill();
        return timer.nsecsElapsed() / 1000;
    });
}

inline void report(const char* what, const Times& times, const Times& bare)
{
    std::printf("%-44s best %9.2f ms  median %9.2f ms  (%.2f x bare)\n", what,
                milliseconds(times.best), milliseconds(times.median),
                bare.median > 0 ? double(times.median) / double(bare.median) : 0.0);
}
