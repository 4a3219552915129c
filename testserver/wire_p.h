#pragma once

// Big-endian integers as the protocol writes them.

#include <QByteArray>
#include <QtGlobal>

namespace StandIn::Wire {

inline void appendU8(QByteArray &out, quint8 value)
{
    out.append(char(value));
}

inline void appendU16(QByteArray &out, quint16 value)
{
    out.append(char(value >> 8));
    out.append(char(value));
}

inline void appendU32(QByteArray &out, quint32 value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char(value >> shift));
}

inline void appendU64(QByteArray &out, quint64 value)
{
    for (int shift = 56; shift >= 0; shift -= 8)
        out.append(char(value >> shift));
}

inline quint32 readU32(const unsigned char *bytes)
{
    return quint32(bytes[0]) << 24 | quint32(bytes[1]) << 16 | quint32(bytes[2]) << 8
           | quint32(bytes[3]);
}

inline quint32 readU32(const QByteArray &bytes, int offset)
{
    return readU32(reinterpret_cast<const unsigned char *>(bytes.constData()) + offset);
}

} // namespace StandIn::Wire
