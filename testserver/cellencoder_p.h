#pragma once

#include <QByteArray>
#include <QString>

namespace StandIn {

// Turns a stored text form into the bytes of an answer cell, by the column's
// type code: INT 4 bytes and INT64 8 bytes big-endian, IPADDR 4 and PORT 2 bytes
// in network order, IDLIST items each as [length incl. zero][chars][zero] then a
// zero word, STRING with its zero byte, BINARY raw. A null number, address or
// port is a cell of length 0; a password is never sent back, only an empty text.
class CellEncoder
{
public:
    static QByteArray valueBytes(int type, const QString &stored);
    // The value length word followed by the value bytes.
    static QByteArray cell(int type, const QString &stored);
    static void appendCell(QByteArray &out, int type, const QString &stored);
};

} // namespace StandIn
