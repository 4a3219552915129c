#include "deliverytexts.h"

#include "dbrow.h"

#include <QCoreApplication>

#include <arpa/inet.h>
#include <climits>
#include <cstdio>

namespace DeliveryTexts {

QString yesNo(int value)
{
    return value != 0 ? QCoreApplication::translate("DeliveryTexts", "Yes")
                      : QCoreApplication::translate("DeliveryTexts", "No");
}

QString sizeKey(const QString& text)
{
    // Made for every message of a queue that may hold a hundred thousand: printed directly,
    // not through a pattern.
    const int size = leadingInt(text);
    char key[24];
    const int length = size < 0
        ? std::snprintf(key, sizeof key, "-%010lld", static_cast<long long>(qint64(INT_MAX) + size))
        : std::snprintf(key, sizeof key, "%010d", size);
    return QString::fromLatin1(key, length);
}

QString durationText(int seconds)
{
    return QString::asprintf("%02d:%02d:%02d", seconds / 3600, (seconds / 60) % 60, seconds % 60);
}

QString addressKey(const QString& text)
{
    in_addr address{};
    if (inet_aton(text.toLatin1().constData(), &address) == 0)
        address.s_addr = INADDR_NONE;
    return QString::asprintf("%018u", unsigned(ntohl(address.s_addr)));
}

QString enclosedText(const QString& text, QChar close)
{
    if (text.isEmpty())
        return QString();
    const bool closed = text.size() >= 2 && text.back() == close;
    return text.mid(1, text.size() - (closed ? 2 : 1));
}

QString bracketedGroup(const QString& recipient)
{
    return recipient.size() < 2 ? QString() : recipient.mid(1, recipient.size() - 2);
}

} // namespace DeliveryTexts
