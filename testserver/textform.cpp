#include "textform_p.h"

#include "testserver.h"

namespace StandIn {

quint64 TextForm::accumulateDigits(const QString &text, bool *negative)
{
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    *negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        *negative = text.at(i) == u'-';
        ++i;
    }
    quint64 value = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i)
        value = value * 10 + quint64(text.at(i).unicode() - u'0'); // wraps modulo 2^64
    return value;
}

qint32 TextForm::toInt(const QString &text)
{
    bool negative = false;
    const quint64 magnitude = accumulateDigits(text, &negative);
    const quint64 value = negative ? 0 - magnitude : magnitude;
    return qint32(quint32(value)); // keeps the low 32 bits, as a 32-bit store does
}

quint64 TextForm::toInt64(const QString &text)
{
    bool negative = false;
    const quint64 magnitude = accumulateDigits(text, &negative);
    return negative ? 0 - magnitude : magnitude;
}

quint16 TextForm::toPort(const QString &text)
{
    return quint16(quint32(toInt(text)));
}

quint32 TextForm::toAddress(const QString &text)
{
    const QStringList parts = text.trimmed().split(u'.');
    if (parts.size() != 4)
        return 0xffffffffu; // what the client makes of a text that is no address
    quint32 address = 0;
    for (const QString &part : parts) {
        bool ok = false;
        const uint octet = part.toUInt(&ok, 10);
        if (!ok || octet > 255 || part.isEmpty())
            return 0xffffffffu;
        address = address << 8 | octet;
    }
    return address;
}

QString TextForm::addressText(quint32 address)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg(address >> 16 & 0xff)
        .arg(address >> 8 & 0xff)
        .arg(address & 0xff);
}

QStringList TextForm::listItems(const QString &text)
{
    if (text.isEmpty())
        return {};
    return text.split(u',');
}

QString TextForm::joinItems(const QStringList &items)
{
    return items.join(u',');
}

bool TextForm::isHex(const QString &text)
{
    if (text.size() % 2 != 0)
        return false;
    for (QChar c : text) {
        const bool digit = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f')
                           || (c >= u'A' && c <= u'F');
        if (!digit)
            return false;
    }
    return true;
}

bool TextForm::fitsBits(const QString &text, int bits)
{
    // Read as accumulateDigits reads it, without wrapping: a number past the top stops
    // the reading at once.
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    // Both forms a client writes a number of so many bits in: signed, and unsigned.
    const quint64 top = negative ? quint64(1) << (bits - 1) : (quint64(1) << bits) - 1;
    quint64 value = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        value = value * 10 + quint64(text.at(i).unicode() - u'0');
        if (value > top)
            return false;
    }
    return true;
}

bool TextForm::normalise(int type, const QString &text, QString *stored)
{
    const bool nullNumber = text.isEmpty();
    switch (type) {
    case TypeInt:
        if (!nullNumber && !fitsBits(text, 32))
            return false;
        *stored = nullNumber ? QString() : QString::number(toInt(text));
        return true;
    case TypeInt64:
        *stored = nullNumber ? QString() : QString::number(toInt64(text));
        return true;
    case TypePort:
        if (!nullNumber && !fitsBits(text, 16))
            return false;
        *stored = nullNumber ? QString() : QString::number(toPort(text));
        return true;
    case TypeIpAddr:
        *stored = nullNumber ? QString() : addressText(toAddress(text));
        return true;
    case TypePwd:
        *stored = text.startsWith(passwordPrefix()) ? text.mid(passwordPrefix().size()) : text;
        return true;
    case TypeBinary:
        if (!isHex(text))
            return false;
        *stored = text.toLower();
        return true;
    case TypeVoid:
        stored->clear();
        return true;
    default: // STRING, IDLIST and codes the server does not interpret
        *stored = text;
        return true;
    }
}

} // namespace StandIn
