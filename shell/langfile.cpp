#include "langfile.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QLatin1Char>

#include <cstdarg>
#include <cstring>

namespace {

// Index 0 is a placeholder: the system language takes its place when it has a
// two-letter name.
const char* const LanguageCodes[LanguageCount] = {
    "C ", "en", "cz", "sk", "de", "fr", "ru", "", "", "",
};

// The name the system gives its language for messages, by the usual precedence of the
// environment: "de", "de_DE.UTF-8", "C" and so on.
QByteArray systemLanguageName()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty())
            return value;
    }
    return QByteArrayLiteral("C");
}

bool isLanguageIndex(int index)
{
    return index >= 0 && index < LanguageCount;
}

QString languageCode(int index, const QByteArray& systemName)
{
    if (index == LanguageSystem && systemName.size() == 2)
        return QString::fromLatin1(systemName);
    return QString::fromLatin1(LanguageCodes[index]);
}

} // namespace

QString find_language(QString prefix, int preferred, int fallback)
{
    if (!isLanguageIndex(preferred) || !isLanguageIndex(fallback))
        return QString();

    const QByteArray systemName = systemLanguageName();
    if (systemName.size() != 2) {
        if (preferred == LanguageSystem)
            preferred = LanguageEnglish;
        if (fallback == LanguageSystem)
            fallback = LanguageEnglish;
    }
    if (preferred == LanguageEnglish)
        return QString();

    const QString preferredName = prefix + QLatin1Char('_') + languageCode(preferred, systemName);
    const QString fallbackName = prefix + QLatin1Char('_') + languageCode(fallback, systemName);
    const QString suffix = QStringLiteral(".qm");

    QString found;
    const QFileInfoList files = QDir().entryInfoList(QDir::Files);
    for (const QFileInfo& file : files) {
        if (file.completeSuffix().toLower() != QLatin1String("qm"))
            continue;
        const QString baseName = file.baseName();
        if (baseName == preferredName)
            return baseName + suffix;
        if (baseName == fallbackName)
            found = baseName + suffix;
    }
    return found;
}

char* langcpy(char* dst, const char* src)
{
    std::strncpy(dst, src ? src : "", 2);
    dst[2] = '\0';
    return dst;
}

char* fgetstr(char* buf, int size, FILE* file)
{
    if (!buf || !file || size < 2)
        return nullptr;
    buf[0] = '\0';
    if (!std::fgets(buf, size - 1, file))
        return nullptr;
    buf[size - 1] = '\0';

    size_t length = std::strlen(buf);
    if (length > 0 && buf[length - 1] == '\n')
        buf[--length] = '\0';
    if (length > 0 && buf[length - 1] == '\r')
        buf[--length] = '\0';
    return buf;
}

namespace {

void copyField(char* out, int size, const char* field, size_t length)
{
    if (size <= 0 || !out)
        return;
    const size_t room = size_t(size) - 1;
    if (length > room)
        length = room;
    std::memcpy(out, field, length);
    out[length] = '\0';
}

} // namespace

char* tokenize(char* text, ...)
{
    if (!text)
        return nullptr;

    va_list args;
    va_start(args, text);
    char* position = text;
    while (const char* delimiters = va_arg(args, const char*)) {
        const int size = va_arg(args, int);
        char* out = va_arg(args, char*);

        char* end = std::strpbrk(position, delimiters);
        const size_t length = end ? size_t(end - position) : std::strlen(position);
        copyField(out, size, position, length);
        if (!end) {
            // The text ran out. With fields still wanted, the caller learns where the
            // unfinished one starts; after the last field it gets the empty rest, as
            // after any complete split.
            const bool moreFields = va_arg(args, const char*) != nullptr;
            va_end(args);
            return moreFields ? position : position + length;
        }
        position = end + std::strspn(end, delimiters);
    }
    va_end(args);
    return position;
}
