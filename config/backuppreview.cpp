#include "backuppreview.h"

#include <functional>

namespace BackupPreview {

namespace {

QString twoDigits(int number)
{
    return QString::asprintf("%02d", number);
}

// Replaces every code in text by what value gives, searching again from where each
// replacement starts, as the server's passes do; no replacement holds a percent sign, so
// the search always moves on.
void replaceCode(QString& text, const QString& code, const std::function<QString()>& value)
{
    qsizetype at = text.indexOf(code);
    while (at >= 0) {
        text.replace(at, code.size(), value());
        at = text.indexOf(code, at);
    }
}

} // namespace

QString shortMonthName(int month)
{
    static const char* const names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return month >= 1 && month <= 12 ? QLatin1String(names[month - 1]) : QString();
}

QString shortDayName(int dayOfWeek)
{
    static const char* const names[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    return dayOfWeek >= 1 && dayOfWeek <= 7 ? QLatin1String(names[dayOfWeek - 1]) : QString();
}

int weekNumber(const QDate& date)
{
    return (date.dayOfYear() - 1 + date.dayOfWeek()) / 7 + 1;
}

QString folderName(const QString& format, const QDate& date)
{
    QString text = format;
    // An escaped percent sign is searched past, so "%%%%" gives "%%".
    const QString percent = QStringLiteral("%%");
    for (qsizetype at = text.indexOf(percent); at >= 0; at = text.indexOf(percent, at + 1))
        text.replace(at, 2, QStringLiteral("%"));

    replaceCode(text, QStringLiteral("%Y"), [&] { return QString::number(date.year()); });
    replaceCode(text, QStringLiteral("%W"), [&] { return twoDigits(weekNumber(date)); });
    replaceCode(text, QStringLiteral("%M"), [&] { return twoDigits(date.month()); });
    replaceCode(text, QStringLiteral("%m"), [&] { return shortMonthName(date.month()); });
    replaceCode(text, QStringLiteral("%D"), [&] { return twoDigits(date.day()); });
    replaceCode(text, QStringLiteral("%d"), [&] { return shortDayName(date.dayOfWeek()); });
    return text;
}

} // namespace BackupPreview
