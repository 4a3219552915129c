#pragma once

#include <QDate>
#include <QString>

// The name a backup folder gets on a given day from its name format, as the Backup page
// previews it: "%%" is a percent sign, "%Y" the year, "%W" the week (01 to 54), "%M" the
// month number, "%m" the month's short name, "%D" the day of the month, "%d" the day's
// short name. Names are English whatever the locale: the server names the folders so.
namespace BackupPreview {

QString folderName(const QString& format, const QDate& date);

// The week of the year as the server counts it: (day of the year from 0 + weekday, Monday
// 1 to Sunday 7) / 7 + 1. It runs from 1 to 54: a Sunday 1 January is in week 2, and the
// last day or two of some years are in week 54.
int weekNumber(const QDate& date);

QString shortMonthName(int month);     // 1 "Jan" .. 12 "Dec"
QString shortDayName(int dayOfWeek);   // 1 "Mon" .. 7 "Sun"

} // namespace BackupPreview
