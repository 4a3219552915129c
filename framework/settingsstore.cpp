#include "settingsstore.h"

#include "qt3settingsformat_p.h"

#include <QDir>
#include <QSettings>
#include <QStringList>

#include <utility>

namespace {

const QLatin1String defaultGroup("General");

QString fileNameOf(const QString& firstKeyPart)
{
    QString name = firstKeyPart.toLower();
    for (QChar& c : name) {
        if (c.isSpace())
            c = QLatin1Char('_');
    }
    return name + QLatin1String("rc");
}

} // namespace

SettingsStore::SettingsStore(const QString& folder)
    : m_folder(folder)
{
}

SettingsStore::~SettingsStore() = default;

bool SettingsStore::locate(const QString& key, Location* location)
{
    // In the file "=" ends an entry's name and a line break ends its line: such a key
    // could not be read back.
    for (const QChar c : {QLatin1Char('='), QLatin1Char('\r'), QLatin1Char('\n')}) {
        if (key.contains(c))
            return false;
    }
    QStringList parts = key.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.size() < 2)
        return false;
    location->fileName = fileNameOf(parts.takeFirst());
    const QString group = parts.size() == 1 ? QString(defaultGroup) : parts.takeFirst();
    const QString entry = parts.join(QLatin1Char('/'));
    // Its line would read back as a comment or as a group.
    if (entry.startsWith(QLatin1Char('#')) || entry.startsWith(QLatin1Char('[')))
        return false;
    location->settingsKey = group + QLatin1Char('/') + entry;
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
    // Another store may have written the file since this one last looked; a file with
    // held writes is not looked at, as that would write them.
    if (!m_held.count(location.fileName))
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
    if (m_batches > 0) {
        m_held.insert(location.fileName);
        return true;
    }
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

SettingsStore::Batch::Batch(SettingsStore* store)
    : m_store(store)
{
    ++m_store->m_batches;
}

SettingsStore::Batch::~Batch()
{
    m_store->endBatch();
}

void SettingsStore::endBatch()
{
    if (--m_batches > 0)
        return;
    for (const QString& fileName : std::exchange(m_held, {}))
        file(fileName)->sync();
}
