#pragma once

#include <QString>
#include <QStringList>

namespace StandIn {

// The text forms in which values arrive in statements and are kept in tables:
// INT signed decimal, INT64 unsigned decimal, IPADDR dotted quad, PORT decimal,
// IDLIST items joined by ",", BINARY hexadecimal, PWD the text after "NUL:".
// An empty text is a null number, address, port or list. Numbers are read the
// way the client reads them (leading blanks, a sign, digits up to the first
// other character), so whatever it writes is kept as it meant it.
class TextForm
{
public:
    // The stored form of a value that arrived for a column of this type; false
    // when the text cannot be a value of the type (BINARY that is not hex, an INT or a
    // PORT number beyond the bits the column holds: such a value is refused, never
    // stored cut).
    static bool normalise(int type, const QString &text, QString *stored);

    static qint32 toInt(const QString &text);
    static quint64 toInt64(const QString &text);
    static quint16 toPort(const QString &text);
    // Network order packed into a host integer, first octet most significant.
    static quint32 toAddress(const QString &text);
    static QString addressText(quint32 address);

    static QStringList listItems(const QString &text); // empty text: no items
    static QString joinItems(const QStringList &items);

    static bool isHex(const QString &text);

    // The password prefix that marks a changed password in a statement.
    static QString passwordPrefix() { return QStringLiteral("NUL:"); }

    // Whether the number a text reads as (as toInt reads it) is one of so many bits, signed
    // or unsigned.
    static bool fitsBits(const QString &text, int bits);

private:
    static quint64 accumulateDigits(const QString &text, bool *negative);
};

} // namespace StandIn
