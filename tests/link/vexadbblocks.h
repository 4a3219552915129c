#pragma once

// Statement answers for the protocol client's tests and benchmark: answers
// built field by field (the 16-byte header and data blocks), a table of
// malformed answers that the client must refuse, and real answers captured as
// they arrive, before any parse touched them.

#include "vexadbparse_p.h"
#include "vexadbsocket_p.h"

#include <QByteArray>
#include <QList>

#include <cstring>

namespace vexablocks {

inline QByteArray be16(quint16 value)
{
    return QByteArray(1, char(value >> 8)) + char(value);
}

inline QByteArray be32(quint32 value)
{
    return be16(quint16(value >> 16)) + be16(quint16(value));
}

// A value as this machine stores it, as the parse leaves numbers.
template<typename T>
QByteArray native(T value)
{
    return QByteArray(reinterpret_cast<const char *>(&value), int(sizeof value));
}

inline QByteArray text(const QByteArray &value)
{
    return value + QByteArray(1, '\0');
}

inline QByteArray cell(const QByteArray &value)
{
    return be32(quint32(value.size())) + value;
}

// A column descriptor: its fixed part of `fixed` bytes, the name length word and the name bytes as given.
inline QByteArray rawDescriptor(int fixed, int type, quint32 nameLength, const QByteArray &name, int flags = 0)
{
    QByteArray out = QByteArray(1, char(fixed)) + char(type) + char(flags);
    return out + QByteArray(qMax(0, fixed - 3), '\x7f') + be32(nameLength) + name;
}

inline QByteArray descriptor(int type, const QByteArray &name, int flags = 0)
{
    return rawDescriptor(3, type, quint32(name.size() + 1), text(name), flags);
}

// A list on the wire: items of {length + 1, characters, zero}, then 0; or as
// the parse leaves it, its length words in host order.
inline QByteArray list(const QList<QByteArray> &items, bool wire)
{
    QByteArray out;
    for (const QByteArray &item : items)
        out += (wire ? be32(quint32(item.size() + 1)) : native<quint32>(item.size() + 1)) + text(item);
    return out + QByteArray(4, '\0');
}

struct BlockParts
{
    int headerWords = 4;
    int kind = 115;
    int columns = 0;
    quint32 rows = 0;
    quint32 spare1 = 0;
    quint32 spare2 = 0;
    QByteArray descriptors;
    qint64 descriptorBytes = -1;   // E; -1: the size of descriptors
    QByteArray cells;              // every row's cells back to back
};

inline QByteArray block(const BlockParts &parts)
{
    QByteArray out = QByteArray(1, char(parts.headerWords)) + char(parts.kind);
    out += be16(quint16(parts.columns)) + be32(parts.rows) + be32(parts.spare1) + be32(parts.spare2);
    out += QByteArray(4 * qMax(0, parts.headerWords - 4), '\0');
    const qint64 e = parts.descriptorBytes < 0 ? parts.descriptors.size() : parts.descriptorBytes;
    return out + be32(quint32(e)) + parts.descriptors + parts.cells;
}

// The answer header and the block; `size` overrides D.
inline QByteArray answer(const QByteArray &block, qint64 size = -1)
{
    return be32(0) + be32(quint32(size < 0 ? block.size() : size)) + be32(0) + be32(0) + block;
}

// The acknowledgement of a change: a data block of kind 0 and no rows.
inline QByteArray doneBlock(quint32 affected)
{
    BlockParts parts;
    parts.kind = 0;
    parts.spare1 = affected;
    return block(parts);
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

// One column of the given type and one row holding the given cell.
inline QByteArray oneCell(int type, const QByteArray &cellBytes)
{
    BlockParts parts;
    parts.columns = 1;
    parts.rows = 1;
    parts.descriptors = descriptor(type, "c");
    parts.cells = cellBytes;
    return answer(block(parts));
}

struct HostileAnswer
{
    const char *name;
    QByteArray bytes;   // header and block, as the stream carries them
    int expected;       // what vexadb_send_query gives
};

// Answers whose lengths reach outside their block (refused with 2), and
// unusual but sound ones beside them (accepted), so that the refusals are
// known to come from the faults and not from an over-strict parse.
inline QList<HostileAnswer> hostileAnswers()
{
    const BlockParts base = twoRows();
    const QByteArray good = block(base);
    auto with = [&](auto change) {
        BlockParts parts = base;
        change(parts);
        return answer(block(parts));
    };
    auto withDescriptors = [&](const QByteArray &descriptors) {
        return with([&](BlockParts &p) { p.descriptors = descriptors; });
    };
    auto withCells = [&](const QByteArray &cells) { return with([&](BlockParts &p) { p.cells = cells; }); };
    const QByteArray name = descriptor(1, "name");
    const QByteArray alice = cell(text("alice")) + cell(be32(7));

    return {
        {"a well-formed row set", answer(good), 0},
        {"kind 0 with no rows", answer(doneBlock(3)), 0},
        {"another kind, its counts unused", with([](BlockParts &p) { p.kind = 'u'; p.rows = 1000; }), 0},
        {"a longer header", with([](BlockParts &p) { p.headerWords = 6; }), 0},
        {"bytes after the last row", answer(good + QByteArray(9, 'x')), 0},
        {"a descriptor with a longer fixed part", withDescriptors(rawDescriptor(7, 1, 5, text("name"))
                                                                 + descriptor(2, "n")), 0},
        {"no rows and no columns", with([](BlockParts &p) { p = BlockParts(); }), 0},
        {"an unknown column type", oneCell(42, cell(be32(5))), 0},

        {"D too small for the header", answer(good.left(12)), 2},
        {"D of zero", answer(QByteArray()), 2},
        {"a header shorter than its fields", with([](BlockParts &p) { p.headerWords = 2; }), 2},
        {"a header past the block", answer("\xff" + good.mid(1)), 2},
        {"D above the limit", answer(QByteArray(), (256 << 20) + 1), 2},

        {"E past D", with([](BlockParts &p) { p.descriptorBytes = p.descriptors.size() + 1000; }), 2},
        {"E near 2^32", with([](BlockParts &p) { p.descriptorBytes = 0xfffffffc; }), 2},
        {"P too small for the type and flags", withDescriptors(rawDescriptor(2, 1, 5, "name") + name), 2},
        {"P past the descriptor area", withDescriptors(name + char(200) + QByteArray(3, '\2')), 2},
        {"N past the descriptor area", withDescriptors(name + rawDescriptor(3, 2, 40, text("n"))), 2},
        {"N past the block", withDescriptors(name + rawDescriptor(3, 2, 0xfffffff0, text("n"))), 2},
        {"a name without its zero byte", withDescriptors(name + rawDescriptor(3, 2, 1, "n")), 2},
        {"more columns than descriptors", with([](BlockParts &p) { p.columns = 3; }), 2},

        {"V past the block", withCells(alice + be32(1000) + be32(7)), 2},
        {"V near 2^32", withCells(cell(text("alice")) + be32(0xfffffffc) + be32(7)), 2},
        {"a row cut inside a length word", withCells(alice + cell(text("bob")) + be16(4)), 2},
        {"NR huge", with([](BlockParts &p) { p.rows = 0xffffffff; }), 2},
        {"NR one more than the rows sent", with([](BlockParts &p) { p.rows = 3; }), 2},
        {"rows without columns", with([](BlockParts &p) {
             p.columns = 0;
             p.descriptors.clear();
         }), 2},
        {"an INT64 cell too short for its number", oneCell(3, cell(be32(5))), 2},
        {"a list item past the cell", oneCell(8, cell(be32(100) + "abc" + be32(0))), 2},
        {"a list item length near 2^32", oneCell(8, cell(be32(0xfffffffe) + be32(0))), 2},
        {"a list whose end word is cut", oneCell(8, cell(be32(4) + text("abc") + be16(0))), 2},
    };
}

// Sends one statement through the socket layer and returns the answer as it
// arrived (header and block, deciphered), before any parse touched it.
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
