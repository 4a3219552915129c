#pragma once

// The process's memory as the kernel counts it (/proc/self/status): what the benchmarks
// report as the memory a load or a view costs.

#include <QByteArray>
#include <QFile>
#include <QList>

// A "kB" line of /proc/self/status, such as VmRSS or VmHWM; -1 when it cannot be read.
inline qint64 statusKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').constFirst().toLongLong();
    }
    return -1;
}

// From here on VmHWM is the peak since this call, not since the process began (a child
// process starts with its parent's peak). False when the kernel did not take it.
inline bool resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}
