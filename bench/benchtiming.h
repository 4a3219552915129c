#pragma once

// Timing of a list fill repeated a few times, reported beside a bare reference.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>

#include <algorithm>
#include <cstdio>
#include <functional>

struct Times
{
    qint64 best = 0;
    qint64 median = 0;
};

// Runs `fill` `runs` times, letting queued events run between runs.
inline Times measure(int runs, const std::function<void()>& fill)
{
    QList<qint64> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        fill();
        times.append(timer.elapsed());
        QCoreApplication::processEvents();
    }
    std::sort(times.begin(), times.end());
    return {times.first(), times.at(times.size() / 2)};
}

inline void report(const char* what, const Times& times, const Times& bare)
{
    std::printf("%-44s best %6lld ms  median %6lld ms  (%.2f x bare)\n", what,
                static_cast<long long>(times.best), static_cast<long long>(times.median),
                bare.median > 0 ? double(times.median) / double(bare.median) : 0.0);
}
