#include "textcell.h"

#include "dbreq.h"

QByteArray readTextCell(DBReq& request, int row, int column, int capacity, int* needed)
{
    if (needed)
        *needed = 0;
    if (capacity <= 0)
        return QByteArray();
    QByteArray buffer(capacity, '\0');
    int length = capacity;
    if (!request.read(row, column, buffer.data(), &length)) {
        if (needed && length > capacity)
            *needed = length;
        return QByteArray();
    }
    const int delivered = qBound(0, length, capacity);
    return buffer.left(int(qstrnlen(buffer.constData(), size_t(delivered))));
}
