#pragma once

#include <QSettings>

// The text layout the console's settings files have always had, so that layouts stored by
// earlier consoles survive: "[Group]" lines, "entry=value" lines, groups and entries in
// sorted order, a blank line after each group, backslashes and new lines in values escaped
// ("\\" and "\n"), a null value written as "\0". Qt's own INI format writes other text.
namespace Qt3SettingsFormat {

// The format registered with QSettings; registered once, on first use.
QSettings::Format format();

bool read(QIODevice& device, QSettings::SettingsMap& map);
bool write(QIODevice& device, const QSettings::SettingsMap& map);

QString escapeValue(const QString& value);
QString unescapeValue(const QString& text);

} // namespace Qt3SettingsFormat
