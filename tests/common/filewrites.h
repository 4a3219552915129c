#pragma once

// Counts how often files of one folder are put in place, as the file system reports it: a
// file made, or written beside its place and renamed over it (as QSaveFile, and so
// QSettings, writes every file), counts once each time; so does a lock file taken. A file
// opened for writing and closed unwritten, as QSettings does to see that it may write,
// counts nothing. No file is touched or read to count.

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QString>

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

class FileWrites
{
public:
    // The folder must exist.
    explicit FileWrites(const QString& folder)
        : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (m_fd >= 0
            && inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_CREATE | IN_MOVED_TO) < 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~FileWrites()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileWrites(const FileWrites&) = delete;
    FileWrites& operator=(const FileWrites&) = delete;

    bool isValid() const { return m_fd >= 0; }

    // The times `name` was put in place since the last call (or the start).
    int take(const QString& name)
    {
        collect();
        return m_counts.take(name);
    }

private:
    void collect()
    {
        alignas(inotify_event) char buffer[16 * 1024];
        for (;;) {
            const ssize_t size = ::read(m_fd, buffer, sizeof buffer);
            if (size < 0 && errno == EINTR)
                continue;
            if (size <= 0)
                return;
            for (ssize_t at = 0; at < size;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0)
                    ++m_counts[QFile::decodeName(event->name)];
                at += ssize_t(sizeof(inotify_event)) + event->len;
            }
        }
    }

    int m_fd;
    QHash<QString, int> m_counts;
};
