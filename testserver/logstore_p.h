#pragma once

#include "testserver.h"

#include <QJsonArray>
#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace StandIn {

// The server's logs. Line numbers are absolute: a log holds the lines
// [first, end). Lines below a log's stored base are synthetic, computed from
// their number, so a log of any length costs no memory; lines from the base on
// are stored. Ids are given in order of creation and stay with their log.
//
// JSON form, an array of logs:
//   {"name": "smtp", "first": 0, "lines": ["...", ...]}
//   {"name": "big", "synthetic": 100000000, "first": 0, "lines": []}
// "synthetic" is the stored base (lines below it are computed); it defaults
// to "first".
class LogStore
{
public:
    void add(const QString &name, const QStringList &lines, quint32 first);
    void addSynthetic(const QString &name, quint32 lineCount);
    bool append(const QString &name, const QStringList &lines);
    bool trim(const QString &name, quint32 count);
    bool clean(const QString &name);   // first = end: the numbering carries on
    bool rotate(const QString &name);  // empty, numbering restarts at 0
    bool remove(const QString &name);

    bool extent(const QString &name, LogExtent *extent) const;
    QString name(const QString &name) const; // the log's own spelling
    QStringList names() const;
    // Lines [from, from + count) that lie inside the log.
    QStringList lines(const QString &name, quint64 from, quint64 count) const;

    static QString syntheticLine(const QString &log, quint64 number);

    static bool fromJson(const QJsonArray &json, LogStore *store, QString *error);
    QJsonArray toJson() const;

private:
    struct Log
    {
        QString name;
        int id = 0;
        quint32 first = 0;
        quint32 end = 0;
        quint32 storedBase = 0;   // invariant: storedBase + stored.size() == end
        std::deque<QString> stored;
    };

    Log *find(const QString &name);
    const Log *find(const QString &name) const;
    Log &create(const QString &name);

    std::vector<Log> m_logs;
    int m_nextId = 0;
};

} // namespace StandIn
