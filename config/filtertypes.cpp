#include "filtertypes.h"

#include <QCoreApplication>

namespace {

const char* const shortNames[FilterTypes::Count] = {
    QT_TRANSLATE_NOOP("QObject", "Empty"),
    QT_TRANSLATE_NOOP("QObject", "Missing"),
    QT_TRANSLATE_NOOP("QObject", "Address"),
    QT_TRANSLATE_NOOP("QObject", "Domain"),
    QT_TRANSLATE_NOOP("QObject", "Substring"),
};

const char* const phrases[FilterTypes::Count] = {
    QT_TRANSLATE_NOOP("QObject", "is empty"),
    QT_TRANSLATE_NOOP("QObject", "is missing"),
    QT_TRANSLATE_NOOP("QObject", "contains address"),
    QT_TRANSLATE_NOOP("QObject", "contains address with domain"),
    QT_TRANSLATE_NOOP("QObject", "contains substring"),
};

QString nameIn(const char* const (&names)[FilterTypes::Count], int type)
{
    if (type < 0 || type >= FilterTypes::Count)
        return QString::number(type);
    return QCoreApplication::translate("QObject", names[type]);
}

} // namespace

namespace FilterTypes {

QString shortName(int type)
{
    return nameIn(shortNames, type);
}

QString phrase(int type)
{
    return nameIn(phrases, type);
}

bool needsContent(int type)
{
    return type > 1;
}

} // namespace FilterTypes
