#pragma once

#include "desktop_global.h"

#include <QString>

#include <map>
#include <memory>

class QSettings;

// The console's settings store. A key such as "/Admin/Mail/user/ver" is read as
// file / group / entry: the first part names the file (lower case, "rc" appended, in the
// store's folder: "adminrc"), the second the group ("[Mail]"), the rest the entry
// ("user/ver"). A key of two parts goes to the group "General"; a key of one part is not
// valid (reads give the default, writes fail). Empty parts are dropped, so "//Admin/Mail/x"
// and "/Admin/Mail/x" are one key. Every write reaches the file before it returns, so a
// second store on the same folder, or the next console after a crash, sees it.
class ORNEL_DESKTOP_EXPORT SettingsStore
{
public:
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

    QString m_folder;
    // One QSettings per file, made on first use; owned here.
    mutable std::map<QString, std::unique_ptr<QSettings>> m_files;
};
