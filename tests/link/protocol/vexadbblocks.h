#pragma once

// Statement answers for the protocol client's tests and benchmark: answers built field by
// field, and real ones captured before any parse.

#include "vexadbparse_p.h"
#include "vexadbsocket_p.h"

#include <QByteArray>
#include <QList>

namespace vexablocks {

inline QByteArray be16(quint16 value) { return QByteArray(1, char(value >> 8)) + char(value); }
inline QByteArray be32(quint32 value) { return be16(quint16(value >> 16)) + be16(quint16(value)); }

// A value as this machine stores it, as the parse leaves numbers.
template<typename T>
QByteArray native(T value)
{
    return QByteArray(reinterpret_cast<const char *>(&value), int(sizeof value));
}

inline QByteArray text(const QByteArray &value) { return value + QByteArray(1, '\0'); }
inline QByteArray cell(const QByteArray &value) { return be32(quint32(value.size())) + value; }

// A column descriptor: a fixed part of `fixed` bytes, the name length word, the name bytes as given.
inline QByteArray rawDescriptor(int fixed, int type, quint32 nameLength, const QByteArray &name, int flags = 0)
{
    const QByteArray head = QByteArray(1, char(fixed)) + char(type) + char(flags);
    return head + QByteArray(qMax(0, fixed - 3), '\x7f') + be32(nameLength) + name;
}

inline QByteArray descriptor(int type, const QByteArray &name, int flags = 0)
{
    return rawDescriptor(3, type, quint32(name.size() + 1), text(name), flags);
}

// A list as the parse leaves it: items of {length + 1 in host order, characters, zero}, then 0.
inline QByteArray list(const QList<QByteArray> &items)
{
    QByteArray out;
    for (const QByteArray &item : items)
        out += native<quint32>(item.size() + 1) + text(item);
    return out + QByteArray(4, '\0');
}

struct BlockParts
{
    int headerWords = 4;
    int kind = 115;
    int columns = 0;
    quint32 rows = 0;
    QByteArray descriptors;
    qint64 descriptorBytes = -1;   // E; -1: the size of descriptors
    QByteArray cells;              // every row's cells back to back
};

inline QByteArray block(const BlockParts &p)
{
    const qint64 e = p.descriptorBytes < 0 ? p.descriptors.size() : p.descriptorBytes;
    return QByteArray(1, char(p.headerWords)) + char(p.kind) + be16(quint16(p.columns)) + be32(p.rows)
           + QByteArray(8, '\0') + QByteArray(4 * qMax(0, p.headerWords - 4), '\0')
           + be32(quint32(e)) + p.descriptors + p.cells;
}

// The answer header and the block; `size` overrides D.
inline QByteArray answer(const QByteArray &block, qint64 size = -1)
{
    return be32(0) + be32(quint32(size < 0 ? block.size() : size)) + be32(0) + be32(0) + block;
}

// Two columns (a STRING name and an INT number) and two rows.
inline BlockParts twoRows()
{
    BlockParts parts;
    parts.columns = 2;
    parts.rows = 2;
    parts.descriptors = descriptor(1, "name", 1) + descriptor(2, "n");
    parts.cells = cell(text("alice")) + cell(be32(7)) + cell(text("bob")) + cell(be32(0xfffffff9));
    return parts;
}

// Sends one statement through the socket layer; the answer as it arrived (header and
// block, deciphered), before any parse touched it.
inline QByteArray rawAnswer(vexadb_handle h, const QByteArray &statement)
{
    vexadb_sock *sock = &cl_get(h)->sock;
    const QByteArray header = be32(0x01000000) + be32(quint32(statement.size() + 1)) + be32(0);
    QByteArray answerHeader(VEXADB_ANSWER_HEADER, '\0');
    if (!vexadb_sock_writes(sock, header.constData(), header.size())
        || !vexadb_sock_writes(sock, statement.constData(), statement.size() + 1)
        || !vexadb_sock_reads(sock, answerHeader.data(), answerHeader.size()))
        return QByteArray();
    vexadb_answer_header decoded;
    vexadb_decode_answer_header(reinterpret_cast<const unsigned char *>(answerHeader.constData()), &decoded);
    QByteArray body(decoded.status == 0 ? int(decoded.size) : 0, '\0');
    if (!vexadb_sock_reads(sock, body.data(), body.size()))
        return QByteArray();
    return answerHeader + body;
}

} // namespace vexablocks
