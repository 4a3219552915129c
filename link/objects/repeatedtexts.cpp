#include "repeatedtexts_p.h"

#include <cstring>

QString RepeatedTexts::text(int column, const char *data, qsizetype length)
{
    if (column < 0)
        return QString::fromUtf8(data, length);
    if (size_t(column) >= m_columns.size())
        m_columns.resize(size_t(column) + 1);
    Last &last = m_columns[size_t(column)];
    const bool same = last.read && last.bytes.size() == size_t(length)
        && std::memcmp(last.bytes.data(), data, size_t(length)) == 0;
    if (!same) {
        last.bytes.assign(data, size_t(length));
        last.text = QString::fromUtf8(data, length);
        last.read = true;
    }
    return last.text;
}
