#include "logstore_p.h"

#include <QDateTime>
#include <QJsonObject>

#include <algorithm>

namespace StandIn {

namespace {

// Synthetic lines carry a time stamp one second apart from this moment on.
constexpr qint64 SyntheticEpoch = 1709280000; // 2024-03-01 08:00:00 UTC

} // namespace

LogStore::Log *LogStore::find(const QString &name)
{
    for (Log &log : m_logs) {
        if (log.name.compare(name, Qt::CaseInsensitive) == 0)
            return &log;
    }
    return nullptr;
}

const LogStore::Log *LogStore::find(const QString &name) const
{
    return const_cast<LogStore *>(this)->find(name);
}

LogStore::Log &LogStore::create(const QString &name)
{
    if (Log *existing = find(name)) {
        const int id = existing->id;
        *existing = Log();
        existing->name = name;
        existing->id = id;
        return *existing;
    }
    Log log;
    log.name = name;
    log.id = m_nextId++;
    m_logs.push_back(std::move(log));
    return m_logs.back();
}

void LogStore::add(const QString &name, const QStringList &lines, quint32 first)
{
    Log &log = create(name);
    log.first = log.storedBase = first;
    log.stored.assign(lines.begin(), lines.end());
    log.end = first + quint32(lines.size());
}

void LogStore::addSynthetic(const QString &name, quint32 lineCount)
{
    Log &log = create(name);
    log.first = 0;
    log.end = log.storedBase = lineCount;
}

bool LogStore::append(const QString &name, const QStringList &lines)
{
    Log *log = find(name);
    if (!log)
        return false;
    log->stored.insert(log->stored.end(), lines.begin(), lines.end());
    log->end += quint32(lines.size());
    return true;
}

bool LogStore::trim(const QString &name, quint32 count)
{
    Log *log = find(name);
    if (!log)
        return false;
    log->first += std::min(count, log->end - log->first);
    while (log->storedBase < log->first && !log->stored.empty()) {
        log->stored.pop_front();
        ++log->storedBase;
    }
    return true;
}

bool LogStore::clean(const QString &name)
{
    Log *log = find(name);
    if (!log)
        return false;
    log->stored.clear();
    log->first = log->storedBase = log->end;
    return true;
}

bool LogStore::rotate(const QString &name)
{
    Log *log = find(name);
    if (!log)
        return false;
    log->stored.clear();
    log->first = log->end = log->storedBase = 0;
    return true;
}

bool LogStore::remove(const QString &name)
{
    const auto it = std::find_if(m_logs.begin(), m_logs.end(), [&](const Log &log) {
        return log.name.compare(name, Qt::CaseInsensitive) == 0;
    });
    if (it == m_logs.end())
        return false;
    m_logs.erase(it);
    return true;
}

bool LogStore::extent(const QString &name, LogExtent *extent) const
{
    const Log *log = find(name);
    if (!log)
        return false;
    *extent = LogExtent{log->id, log->first, log->end};
    return true;
}

QString LogStore::name(const QString &name) const
{
    const Log *log = find(name);
    return log ? log->name : QString();
}

QStringList LogStore::names() const
{
    QStringList names;
    for (const Log &log : m_logs)
        names.append(log.name);
    return names;
}

QStringList LogStore::lines(const QString &name, quint64 from, quint64 count) const
{
    const Log *log = find(name);
    if (!log)
        return {};
    const quint64 begin = std::max<quint64>(from, log->first);
    const quint64 end = std::min<quint64>(from + count, log->end);
    QStringList lines;
    for (quint64 n = begin; n < end; ++n) {
        if (n < log->storedBase)
            lines.append(syntheticLine(log->name, n));
        else
            lines.append(log->stored.at(std::size_t(n - log->storedBase)));
    }
    return lines;
}

QString LogStore::syntheticLine(const QString &log, quint64 number)
{
    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(SyntheticEpoch + qint64(number % 315360000),
                                                          Qt::UTC);
    return QStringLiteral("%1 %2: synthetic line %3")
        .arg(stamp.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")), log)
        .arg(number);
}

bool LogStore::fromJson(const QJsonArray &json, LogStore *store, QString *error)
{
    LogStore loaded;
    for (const QJsonValue &value : json) {
        const QJsonObject object = value.toObject();
        const QString name = object.value(QLatin1String("name")).toString();
        if (name.isEmpty()) {
            *error = QStringLiteral("a log without a name");
            return false;
        }
        QStringList lines;
        for (const QJsonValue &line : object.value(QLatin1String("lines")).toArray())
            lines.append(line.toString());
        const qint64 first = object.value(QLatin1String("first")).toInteger(0);
        const qint64 base = object.value(QLatin1String("synthetic")).toInteger(first);
        if (first < 0 || base < 0 || first > base + lines.size() || base + lines.size() > 0xffffffffLL) {
            *error = QStringLiteral("log %1: first line outside the log").arg(name);
            return false;
        }
        Log &log = loaded.create(name);
        log.first = quint32(first);
        log.storedBase = quint32(base);
        log.stored.assign(lines.begin(), lines.end());
        log.end = log.storedBase + quint32(lines.size());
    }
    *store = std::move(loaded);
    return true;
}

QJsonArray LogStore::toJson() const
{
    QJsonArray logs;
    for (const Log &log : m_logs) {
        QJsonArray lines;
        for (const QString &line : log.stored)
            lines.append(line);
        QJsonObject object{{QLatin1String("name"), log.name},
                           {QLatin1String("first"), qint64(log.first)},
                           {QLatin1String("lines"), lines}};
        if (log.storedBase != log.first)
            object.insert(QLatin1String("synthetic"), qint64(log.storedBase));
        logs.append(object);
    }
    return logs;
}

} // namespace StandIn
