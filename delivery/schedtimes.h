#pragma once

#include <QString>

// How the scheduler's times read as text. A scheduled action runs either "Every" so many
// minutes (timetype 0) or "At" a time of day kept as minutes after midnight (timetype 1).

// Minutes after midnight as "HH:MM", e.g. 425 as "07:05".
QString getTime2Show(int minutes);
// An interval: whole hours as "1 hour" or "2 hours", anything else in minutes ("90
// minutes", "1 minute", "0 minutes").
QString getMinutes2Show(int minutes);
// Whether a typed time of day is H:MM or HH:MM with hours 0 to 23 and minutes 0 to 59.
bool isTimeFormatOK(const QString& text);
// A typed time of day as minutes after midnight; 0 for a text isTimeFormatOK() refuses.
int getTime2Store(const QString& text);

// The list's "Time" cell: "Every 2 hours", "At 07:05", followed by the time range when the
// action is restricted to one; nothing for the time part of an unknown type.
QString scheduledTimeText(const QString& timetype, const QString& time, const QString& timeint);
// The list's "Action(s)" cell: the actions of bits 1, 2 and 4 joined by ", ".
QString scheduledActionText(const QString& action);
