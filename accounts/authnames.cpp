#include "authnames.h"

#include <QCoreApplication>

#include <array>

const AuthNameTable AUTH_NAMES;

const QString& AuthNameTable::operator[](int index) const
{
    static const std::array<QString, Count> names = {
        QCoreApplication::translate("QObject", "Internal user database"),
        QCoreApplication::translate("QObject", "Windows NT domain"),
        QCoreApplication::translate("QObject", "Linux PAM"),
        QCoreApplication::translate("QObject", "Kerberos 5"),
        QString(QLatin1String("")),
    };
    static const QString none;
    return index >= 0 && index < Count ? names[std::size_t(index)] : none;
}
