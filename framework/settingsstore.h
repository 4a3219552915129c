#pragma once

#include "desktop_global.h"

#include <QString>

#include <map>
#include <memory>
#include <set>

class QSettings;

// The console's settings store. A key such as "/Admin/Mail/user/ver" is read as
// file / group / entry: the first part names the file (lower case, "rc" appended, in the
// store's folder: "adminrc"), the second the group ("[Mail]"), the rest the entry
// ("user/ver"). A key of two parts goes to the group "General"; white space in the first
// part becomes "_" in the file's name ("/My Tool/x/y" is in "my_toolrc"). Empty parts are
// dropped, so "//Admin/Mail/x" and "/Admin/Mail/x" are one key. A key of one part is not
// valid, nor is one the file could not give back as the same entry: one holding "=", a
// carriage return or a new line, or whose entry begins with "#" or "[". Reads of an invalid
// key give the default, writes fail.
//
// Every write reaches the file before it returns, so a second store on the same folder,
// or the next console after a crash, sees it; writes made under a Batch reach it together.
class ORNEL_DESKTOP_EXPORT SettingsStore
{
public:
    // The writes to the store made while a Batch of it lives are held and reach each file
    // they touch in one write when the outermost Batch ends: a save of several entries
    // locks and rewrites the file once, not once per entry. Reads in the meantime see the
    // held writes. A write under a Batch tells only whether its key is valid.
    class ORNEL_DESKTOP_EXPORT Batch
    {
    public:
        explicit Batch(SettingsStore* store);
        ~Batch();

        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        SettingsStore* m_store;
    };

    // The files live in `folder`, which is created on the first write.
    explicit SettingsStore(const QString& folder);
    ~SettingsStore();

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    QString folder() const { return m_folder; }

    QString readEntry(const QString& key, const QString& def = QString()) const;
    // The default also answers an entry that is not a whole number.
    int readNumEntry(const QString& key, int def = 0) const;
    // "true", "on", "yes" and "1" read as true, "false", "off", "no" and "0" as false (any
    // case); anything else gives the default.
    bool readBoolEntry(const QString& key, bool def = false) const;

    bool writeEntry(const QString& key, const QString& value);
    bool writeEntry(const QString& key, int value);
    bool writeEntry(const QString& key, bool value);
    // Without it a string literal would pick the bool overload.
    bool writeEntry(const QString& key, const char* value);

private:
    struct Location
    {
        QString fileName;
        QString settingsKey; // "group/entry" inside that file
    };

    static bool locate(const QString& key, Location* location);
    QSettings* file(const QString& fileName) const;
    void endBatch();

    QString m_folder;
    // One QSettings per file, made on first use; owned here.
    mutable std::map<QString, std::unique_ptr<QSettings>> m_files;
    int m_batches = 0;
    // The files with writes held by the open batches.
    std::set<QString> m_held;
};
