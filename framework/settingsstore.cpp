#include "settingsstore.h"

#include "qt3settingsformat_p.h"

#include <QDir>
#include <QSettings>
#include <QStringList>

namespace {

const QLatin1String defaultGroup("General");

} // namespace

SettingsStore::SettingsStore(const QString& folder)
    : m_folder(folder)
{
}

SettingsStore::~SettingsStore() = default;

bool SettingsStore::locate(const QString& key, Location* location)
{
    QStringList parts = key.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.size() < 2)
        return false;
    location->fileName = parts.takeFirst().toLower() + QLatin1String("rc");
    const QString group = parts.size() == 1 ? QString(defaultGroup) : parts.takeFirst();
    location->settingsKey = group + QLatin1Char('/') + parts.join(QLatin1Char('/'));
    return true;
}

QSettings* SettingsStore::file(const QString& fileName) const
{
    auto it = m_files.find(fileName);
    if (it == m_files.end()) {
        auto settings = std::make_unique<QSettings>(m_folder + QLatin1Char('/') + fileName,
                                                    Qt3SettingsFormat::format());
        it = m_files.emplace(fileName, std::move(settings)).first;
    }
    return it->second.get();
}

QString SettingsStore::readEntry(const QString& key, const QString& def) const
{
    Location location;
    if (!locate(key, &location))
        return def;
    QSettings* settings = file(location.fileName);
    // Another store may have written the file since this one last looked.
    settings->sync();
    if (!settings->contains(location.settingsKey))
        return def;
    return settings->value(location.settingsKey).toString();
}

int SettingsStore::readNumEntry(const QString& key, int def) const
{
    bool ok = false;
    const int value = readEntry(key).toInt(&ok);
    return ok ? value : def;
}

bool SettingsStore::readBoolEntry(const QString& key, bool def) const
{
    const QString value = readEntry(key).toLower();
    if (value == QLatin1String("true") || value == QLatin1String("on")
        || value == QLatin1String("yes") || value == QLatin1String("1"))
        return true;
    if (value == QLatin1String("false") || value == QLatin1String("off")
        || value == QLatin1String("no") || value == QLatin1String("0"))
        return false;
    return def;
}

bool SettingsStore::writeEntry(const QString& key, const QString& value)
{
    Location location;
    if (!locate(key, &location))
        return false;
    if (!QDir().mkpath(m_folder))
        return false;
    QSettings* settings = file(location.fileName);
    settings->setValue(location.settingsKey, value);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

bool SettingsStore::writeEntry(const QString& key, int value)
{
    return writeEntry(key, QString::number(value));
}

bool SettingsStore::writeEntry(const QString& key, bool value)
{
    return writeEntry(key, value ? QStringLiteral("true") : QStringLiteral("false"));
}

bool SettingsStore::writeEntry(const QString& key, const char* value)
{
    return writeEntry(key, QString::fromUtf8(value));
}
