#include "cellencoder_p.h"

#include "testserver.h"
#include "textform_p.h"
#include "wire_p.h"

namespace StandIn {

namespace {

QByteArray textWithZero(const QByteArray &bytes)
{
    QByteArray out = bytes;
    out.append('\0');
    return out;
}

QByteArray listBytes(const QString &stored)
{
    QByteArray out;
    // Items travel as 8-bit text: the client reads list cells as Latin-1.
    for (const QString &item : TextForm::listItems(stored)) {
        const QByteArray chars = item.toLatin1();
        Wire::appendU32(out, quint32(chars.size() + 1));
        out.append(chars);
        out.append('\0');
    }
    Wire::appendU32(out, 0);
    return out;
}

} // namespace

QByteArray CellEncoder::valueBytes(int type, const QString &stored)
{
    QByteArray out;
    switch (type) {
    case TypeString:
        return textWithZero(stored.toUtf8());
    case TypePwd:
        return textWithZero(QByteArray());
    case TypeInt:
        if (!stored.isEmpty())
            Wire::appendU32(out, quint32(TextForm::toInt(stored)));
        return out;
    case TypeInt64:
        if (!stored.isEmpty())
            Wire::appendU64(out, TextForm::toInt64(stored));
        return out;
    case TypeIpAddr:
        if (!stored.isEmpty())
            Wire::appendU32(out, TextForm::toAddress(stored));
        return out;
    case TypePort:
        if (!stored.isEmpty())
            Wire::appendU16(out, TextForm::toPort(stored));
        return out;
    case TypeBinary:
        return QByteArray::fromHex(stored.toLatin1());
    case TypeIdList:
        return listBytes(stored);
    default: // VOID and codes the server does not interpret carry nothing
        return out;
    }
}

void CellEncoder::appendCell(QByteArray &out, int type, const QString &stored)
{
    const QByteArray value = valueBytes(type, stored);
    Wire::appendU32(out, quint32(value.size()));
    out.append(value);
}

QByteArray CellEncoder::cell(int type, const QString &stored)
{
    QByteArray out;
    appendCell(out, type, stored);
    return out;
}

} // namespace StandIn
