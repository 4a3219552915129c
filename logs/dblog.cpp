#include "dblog.h"

#include <QByteArray>

#include <algorithm>
#include <cstring>

namespace {

// Copies at most size - 1 bytes of text and always ends the field with a zero.
void copyField(char* field, std::size_t size, const QByteArray& text)
{
    const std::size_t length = std::min<std::size_t>(std::size_t(text.size()), size - 1);
    std::memcpy(field, text.constData(), length);
    std::memset(field + length, 0, size - length);
}

} // namespace

DBLOG makeLogDescriptor(const QString& name)
{
    DBLOG log;
    copyField(log.name, sizeof log.name, name.toLatin1());
    const QByteArray cutName(log.name);
    copyField(log.data, sizeof log.data, "log.data." + cutName);
    copyField(log.info, sizeof log.info, "log.info");
    return log;
}

QString logDescriptorName(const DBLOG& log)
{
    return QString::fromLatin1(log.name, qsizetype(qstrnlen(log.name, sizeof log.name)));
}
