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

// The file's lines, each without its line break ("\n" or "\r\n"); a final line break
// ends the last line and starts none.
QStringList splitLines(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

// A line that begins with "[" names the group of the lines after it, closed or not:
// "[Mail]" and "[Mail" both name "Mail".
QString groupOfHeader(const QString& line)
{
    QString group = line.mid(1);
    if (group.endsWith(QLatin1Char(']')))
        group.chop(1);
    return group;
}

// A value whose last backslash escapes nothing goes on in the next line: the backslash
// escapes the line break, which the value keeps.
bool endsInOpenEscape(const QString& valueText)
{
    bool open = false;
    for (const QChar c : valueText)
        open = !open && c == QLatin1Char('\\');
    return open;
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
    QString value(text.size(), Qt::Uninitialized);
    value.resize(0);
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\')) {
            value += c;
            continue;
        }
        // A backslash at the very end escapes nothing and goes.
        if (++i == text.size())
            break;
        const QChar escaped = text.at(i);
        if (escaped == QLatin1Char('n'))
            value += QLatin1Char('\n');
        else if (escaped == QLatin1Char('0'))
            value = QString(); // what came before is dropped: "\0" is how a null value is written
        else
            value += escaped; // "\\", and any other escaped character stands for itself
    }
    return value;
}

bool read(QIODevice& device, QSettings::SettingsMap& map)
{
    const QStringList lines = splitLines(QString::fromUtf8(device.readAll()));
    QString group;
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            group = groupOfHeader(line);
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        // A line without "=" is no entry; nor is one without a key, which no write makes.
        if (equals <= 0)
            continue;
        const QString entry = line.left(equals);
        QString valueText = line.mid(equals + 1);
        while (endsInOpenEscape(valueText) && i + 1 < lines.size())
            valueText += QLatin1Char('\n') + lines.at(++i);
        const QString key = group.isEmpty() ? entry : group + QLatin1Char('/') + entry;
        map.insert(key, unescapeValue(valueText));
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
