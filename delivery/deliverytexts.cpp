#include "deliverytexts.h"

#include "dbrow.h"

#include <QCoreApplication>

#include <arpa/inet.h>
#include <climits>

namespace DeliveryTexts {

QString yesNo(int value)
{
    return value != 0 ? QCoreApplication::translate("DeliveryTexts", "Yes")
                      : QCoreApplication::translate("DeliveryTexts", "No");
}

QString sizeKey(const QString& text)
{
    const int size = leadingInt(text);
    if (size < 0)
        return QStringLiteral("-%1").arg(qint64(INT_MAX) + size, 10, 10, QLatin1Char('0'));
    return QStringLiteral("%1").arg(size, 10, 10, QLatin1Char('0'));
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
