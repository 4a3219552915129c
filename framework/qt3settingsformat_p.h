#pragma once

#include <QSettings>

// The text layout the console's settings files have always had, so that layouts stored by
// earlier consoles survive: "[Group]" lines, "entry=value" lines, groups and entries in
// sorted order, a blank line after each group, backslashes and new lines in values escaped
// ("\\" and "\n"), a null value written as "\0". Qt's own INI format writes other text.
//
// Files written or edited otherwise are read by the rules those consoles read them by: a
// line beginning with "#" is a comment; a line beginning with "[" names the group, with or
// without its "]"; in any other line the entry's name is all that stands before the first
// "=", blanks included, and the value all after it; a backslash before any character other
// than "n" and "0" stands for that character, and one at the end of a line carries the
// value on into the next line (with the line break). Lines of neither kind are skipped.
namespace Qt3SettingsFormat {

// The format registered with QSettings; registered once, on first use.
QSettings::Format format();

bool read(QIODevice& device, QSettings::SettingsMap& map);
bool write(QIODevice& device, const QSettings::SettingsMap& map);

QString escapeValue(const QString& value);
QString unescapeValue(const QString& text);

} // namespace Qt3SettingsFormat
