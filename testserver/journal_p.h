#pragma once

#include "testserver.h"

#include <QList>
#include <QString>

#include <cstdio>

namespace StandIn {

// Every statement received, in order of arrival, with its session; optionally
// also written to a file as it arrives, one JSON object a line:
//   {"session":3,"statement":"select name from user"}
// Not thread-safe: the server records under its lock.
class Journal
{
public:
    Journal() = default;
    ~Journal();
    Journal(const Journal &) = delete;
    Journal &operator=(const Journal &) = delete;

    bool openFile(const QString &path, QString *error);
    bool isFileOpen() const { return m_file != nullptr; }
    void record(quint32 session, const QString &statement);

    const QList<JournalEntry> &entries() const { return m_entries; }
    QStringList statements(quint32 session) const;

private:
    QList<JournalEntry> m_entries;
    std::FILE *m_file = nullptr;
};

} // namespace StandIn
