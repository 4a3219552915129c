#include "schedtimes.h"

#include "deliverytexts.h"

#include <QCoreApplication>
#include <QRegularExpression>

using DeliveryTexts::leadingInt;

namespace {

QString word(const char* text)
{
    return QCoreApplication::translate("QObject", text);
}

} // namespace

QString getTime2Show(int minutes)
{
    return QString::asprintf("%2.2d:%2.2d", minutes / 60, minutes % 60);
}

QString getMinutes2Show(int minutes)
{
    if (minutes > 0 && minutes % 60 == 0) {
        const int hours = minutes / 60;
        return QString::number(hours) + QLatin1Char(' ') + word(hours == 1 ? "hour" : "hours");
    }
    return QString::number(minutes) + QLatin1Char(' ') + word(minutes == 1 ? "minute" : "minutes");
}

bool isTimeFormatOK(const QString& text)
{
    // The shape alone would let "99:99" or "1234" through and store a time of day that
    // does not exist; the server would never run such an action.
    static const QRegularExpression shape(QStringLiteral("^([01]?[0-9]|2[0-3]):[0-5][0-9]$"));
    return shape.match(text).hasMatch();
}

int getTime2Store(const QString& text)
{
    if (!isTimeFormatOK(text))
        return 0;
    const int colon = int(text.indexOf(QLatin1Char(':')));
    return leadingInt(text.left(colon)) * 60 + leadingInt(text.mid(colon + 1));
}

QString scheduledTimeText(const QString& timetype, const QString& time, const QString& timeint)
{
    const int minutes = leadingInt(time);
    QString text;
    switch (leadingInt(timetype)) {
    case 0: text = word("Every") + QLatin1Char(' ') + getMinutes2Show(minutes); break;
    case 1: text = word("At") + QLatin1Char(' ') + getTime2Show(minutes); break;
    }
    if (!timeint.isEmpty())
        text += QLatin1Char(' ') + word("(Valid only at time range \"") + timeint + QLatin1String("\")");
    return text;
}

QString scheduledActionText(const QString& action)
{
    static const struct { int bit; const char* text; } actions[] = {
        {1, "Send mail"}, {2, "Download POP3"}, {4, "ETRN Download"}};
    const int mask = leadingInt(action);
    QString text;
    for (const auto& a : actions) {
        if (!(mask & a.bit))
            continue;
        if (!text.isEmpty())
            text += QLatin1String(", ");
        text += word(a.text);
    }
    return text;
}
