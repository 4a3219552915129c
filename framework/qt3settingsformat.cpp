#include "qt3settingsformat_p.h"

#include <QIODevice>
#include <QMap>
#include <QStringList>

namespace Qt3SettingsFormat {

namespace {

const QLatin1String nullValueText("\\0");

// A QSettings key is "group/entry"; the entry itself may hold further slashes.
void splitKey(const QString& key, QString* group, QString* entry)
{
    const int slash = key.indexOf(QLatin1Char('/'));
    if (slash < 0) {
        group->clear();
        *entry = key;
    } else {
        *group = key.left(slash);
        *entry = key.mid(slash + 1);
    }
}

void writeEntries(QString* text, const QMap<QString, QString>& entries)
{
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        *text += it.key() + QLatin1Char('=') + escapeValue(it.value()) + QLatin1Char('\n');
}

bool isGroupLine(const QString& line)
{
    return line.size() >= 2 && line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'));
}

} // namespace

QSettings::Format format()
{
    static const QSettings::Format registered =
        QSettings::registerFormat(QStringLiteral("rc"), read, write, Qt::CaseSensitive);
    return registered;
}

QString escapeValue(const QString& value)
{
    if (value.isNull())
        return nullValueText;
    QString escaped;
    escaped.reserve(value.size());
    for (const QChar c : value) {
        if (c == QLatin1Char('\\'))
            escaped += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            escaped += QLatin1String("\\n");
        else
            escaped += c;
    }
    return escaped;
}

QString unescapeValue(const QString& text)
{
    if (text == nullValueText)
        return QString();
    QString value(text.size(), Qt::Uninitialized);
    value.resize(0);
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar next = text.at(i + 1);
            if (next == QLatin1Char('\\')) {
                value += QLatin1Char('\\');
                ++i;
                continue;
            }
            if (next == QLatin1Char('n')) {
                value += QLatin1Char('\n');
                ++i;
                continue;
            }
        }
        // An unknown escape is kept as it stands rather than losing characters.
        value += c;
    }
    return value;
}

bool read(QIODevice& device, QSettings::SettingsMap& map)
{
    const QString text = QString::fromUtf8(device.readAll());
    QString group;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (isGroupLine(trimmed)) {
            group = trimmed.mid(1, trimmed.size() - 2);
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString entry = line.left(equals).trimmed();
        if (entry.isEmpty())
            continue;
        const QString key = group.isEmpty() ? entry : group + QLatin1Char('/') + entry;
        map.insert(key, unescapeValue(line.mid(equals + 1)));
    }
    return true;
}

bool write(QIODevice& device, const QSettings::SettingsMap& map)
{
    // Regroup first: sorting "group/entry" keys as whole strings would put "Mail Log/x"
    // before "Mail/y", while the files list whole groups in order of their names.
    QMap<QString, QMap<QString, QString>> groups;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        QString group;
        QString entry;
        splitKey(it.key(), &group, &entry);
        groups[group].insert(entry, it.value().toString());
    }

    QString text;
    // Entries outside any group can only come from a file edited by hand; they go first so
    // that reading the file back puts them where they were.
    writeEntries(&text, groups.value(QString()));
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        if (it.key().isEmpty())
            continue;
        text += QLatin1Char('[') + it.key() + QLatin1String("]\n");
        writeEntries(&text, it.value());
        text += QLatin1Char('\n');
    }
    const QByteArray bytes = text.toUtf8();
    return device.write(bytes) == bytes.size();
}

} // namespace Qt3SettingsFormat
