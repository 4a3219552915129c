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
    QByteArray out;
    out.append(char(value >> 8)).append(char(value));
    return out;
}

inline QByteArray be32(quint32 value)
{
    QByteArray out;
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char(value >> shift));
    return out;
}

inline QByteArray be64(quint64 value)
{
    return be32(quint32(value >> 32)) + be32(quint32(value));
}

// A value as this machine stores it, as the parse leaves numbers.
template<typename T>
QByteArray native(T value)
{
    QByteArray out(int(sizeof value), Qt::Uninitialized);
    std::memcpy(out.data(), &value, sizeof value);
    return out;
}

// A column descriptor with its fixed part of `fixed` bytes, its name length
// word `nameLength` and the name bytes as given.
inline QByteArray rawDescriptor(int fixed, int type, int flags, quint32 nameLength, const QByteArray &name)
{
    QByteArray out;
    out.append(char(fixed)).append(char(type)).append(char(flags));
    if (fixed > 3)
        out.append(QByteArray(fixed - 3, '\x7f'));
    return out + be32(nameLength) + name;
}

inline QByteArray descriptor(int type, const QByteArray &name, int flags = 0)
{
    return rawDescriptor(3, type, flags, quint32(name.size() + 1), name + QByteArray(1, '\0'));
}

inline QByteArray cell(const QByteArray &value)
{
    return be32(quint32(value.size())) + value;
}

inline QByteArray text(const QByteArray &value)
{
    return value + QByteArray(1, '\0');
}

// A list value on the wire: items of {length + 1, characters, zero}, then 0.
inline QByteArray wireList(const QList<QByteArray> &items)
{
    QByteArray out;
    for (const QByteArray &item : items)
        out += be32(quint32(item.size() + 1)) + item + QByteArray(1, '\0');
    return out + be32(0);
}

// The same list as the parse leaves it: its length words in host order.
inline QByteArray nativeList(const QList<QByteArray> &items)
{
    QByteArray out;
    for (const QByteArray &item : items)
        out += native<quint32>(quint32(item.size() + 1)) + item + QByteArray(1, '\0');
    return out + native<quint32>(0);
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
    QByteArray out;
    out.append(char(parts.headerWords)).append(char(parts.kind));
    out += be16(quint16(parts.columns)) + be32(parts.rows) + be32(parts.spare1) + be32(parts.spare2);
    if (parts.headerWords > 4)
        out.append(QByteArray(4 * (parts.headerWords - 4), '\0'));
    const quint32 e = parts.descriptorBytes < 0 ? quint32(parts.descriptors.size())
                                                : quint32(parts.descriptorBytes);
    return out + be32(e) + parts.descriptors + parts.cells;
}

// The answer header and the block; `size` overrides D.
inline QByteArray answer(const QByteArray &block, qint64 size = -1, quint32 status = 0, quint32 detail = 0)
{
    const quint32 d = size < 0 ? quint32(block.size()) : quint32(size);
    return be32(0) + be32(d) + be32(status) + be32(detail) + block;
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

// One IDLIST column and one row holding the given cell.
inline BlockParts oneList(const QByteArray &listCell)
{
    BlockParts parts;
    parts.columns = 1;
    parts.rows = 1;
    parts.descriptors = descriptor(8, "groups");
    parts.cells = listCell;
    return parts;
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
    QList<HostileAnswer> list;
    const BlockParts base = twoRows();
    const QByteArray good = block(base);
    auto with = [&](auto change) {
        BlockParts parts = base;
        change(parts);
        return answer(block(parts));
    };

    // Sound answers.
    list.append({"a well-formed row set", answer(good), 0});
    list.append({"kind 0 with no rows", answer(doneBlock(3)), 0});
    list.append({"a longer header", with([](BlockParts &p) { p.headerWords = 6; }), 0});
    list.append({"bytes after the last row", answer(good + QByteArray(9, 'x')), 0});
    list.append({"empty cells", with([](BlockParts &p) {
                     p.cells = cell({}) + cell({}) + cell({}) + cell({});
                 }), 0});
    list.append({"an empty list", answer(block(oneList(cell(be32(0))))), 0});
    list.append({"a descriptor with a longer fixed part", with([](BlockParts &p) {
                     p.descriptors = rawDescriptor(7, 1, 0, 5, "name" + QByteArray(1, '\0'))
                                     + descriptor(2, "n");
                 }), 0});
    list.append({"no rows and no columns", with([](BlockParts &p) {
                     p.columns = 0;
                     p.rows = 0;
                     p.descriptors.clear();
                     p.cells.clear();
                 }), 0});

    // The block and its header.
    list.append({"D too small for the header", answer(good.left(12)), 2});
    list.append({"D of zero", answer(QByteArray()), 2});
    list.append({"a header shorter than its fields", with([](BlockParts &p) { p.headerWords = 2; }), 2});
    list.append({"a header past the block", answer(good.left(1).replace(0, 1, "\xff") + good.mid(1)), 2});
    list.append({"D above the limit", answer(QByteArray(), (256 << 20) + 1), 2});
    list.append({"D absurd", answer(QByteArray(), 0x7fffffff), 2});

    // The descriptors.
    list.append({"E past D", with([](BlockParts &p) { p.descriptorBytes = p.descriptors.size() + 1000; }), 2});
    list.append({"E near 2^32", with([](BlockParts &p) { p.descriptorBytes = 0xfffffffc; }), 2});
    list.append({"P = 0", with([](BlockParts &p) {
                     p.descriptors = rawDescriptor(0, 1, 0, 5, "name") + descriptor(2, "n");
                 }), 2});
    list.append({"P too small for the type and flags", with([](BlockParts &p) {
                     p.descriptors = rawDescriptor(2, 1, 0, 5, "name") + descriptor(2, "n");
                 }), 2});
    list.append({"P past the descriptor area", with([](BlockParts &p) {
                     p.descriptors = descriptor(1, "name") + QByteArray(1, char(200)) + QByteArray(3, '\2');
                 }), 2});
    list.append({"N past the descriptor area", with([](BlockParts &p) {
                     p.descriptors = descriptor(1, "name") + rawDescriptor(3, 2, 0, 40, text("n"));
                 }), 2});
    list.append({"N past the block", with([](BlockParts &p) {
                     p.descriptors = descriptor(1, "name") + rawDescriptor(3, 2, 0, 0xfffffff0, text("n"));
                 }), 2});
    list.append({"a name without its zero byte", with([](BlockParts &p) {
                     p.descriptors = descriptor(1, "name") + rawDescriptor(3, 2, 0, 1, "n");
                 }), 2});
    list.append({"more columns than descriptors", with([](BlockParts &p) { p.columns = 3; }), 2});

    // The rows.
    list.append({"V past the block", with([](BlockParts &p) {
                     p.cells.chop(8);
                     p.cells += be32(1000) + be32(7);
                 }), 2});
    list.append({"V near 2^32", with([](BlockParts &p) {
                     p.cells = cell(text("alice")) + be32(0xfffffffc) + be32(7);
                 }), 2});
    list.append({"a row cut inside a length word", with([](BlockParts &p) {
                     p.cells = cell(text("alice")) + cell(be32(7)) + cell(text("bob")) + be32(4).left(2);
                 }), 2});
    list.append({"NR huge", with([](BlockParts &p) { p.rows = 0xffffffff; }), 2});
    list.append({"NR one more than the rows sent", with([](BlockParts &p) { p.rows = 3; }), 2});
    list.append({"rows without columns", with([](BlockParts &p) {
                     p.columns = 0;
                     p.descriptors.clear();
                     p.rows = 5;
                 }), 2});
    list.append({"an INT cell too short for its number", with([](BlockParts &p) {
                     p.cells = cell(text("alice")) + cell(be16(7)) + cell(text("bob")) + cell(be32(1));
                 }), 2});
    list.append({"an INT64 cell too short for its number", answer(block([] {
                     BlockParts p;
                     p.columns = 1;
                     p.rows = 1;
                     p.descriptors = descriptor(3, "quota");
                     p.cells = cell(be32(5));
                     return p;
                 }())), 2});

    // List cells.
    list.append({"a list item past the cell", answer(block(oneList(
                     cell(be32(100) + QByteArray("abc", 3) + be32(0))))), 2});
    list.append({"a list item length near 2^32", answer(block(oneList(
                     cell(be32(0xfffffffe) + be32(0))))), 2});
    list.append({"a list without its end word", answer(block(oneList(
                     cell(be32(4) + QByteArray("abc", 4))))), 2});
    list.append({"a list whose end word is cut", answer(block(oneList(
                     cell(be32(4) + QByteArray("abc", 4) + be32(0).left(2))))), 2});
    return list;
}

// Sends one statement through the socket layer and returns the answer as it
// arrived (header and block, deciphered), before any parse touched it.
inline QByteArray rawAnswer(vexadb_handle h, const QByteArray &statement)
{
    vexadb_sock *sock = &cl_get(h)->sock;
    const QByteArray header = QByteArray(1, '\1') + QByteArray(3, '\0')
                              + be32(quint32(statement.size() + 1)) + be32(0);
    const QByteArray text = statement + QByteArray(1, '\0');
    QByteArray answerHeader(VEXADB_ANSWER_HEADER, '\0');
    if (!vexadb_sock_writes(sock, header.constData(), header.size())
        || !vexadb_sock_writes(sock, text.constData(), text.size())
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
