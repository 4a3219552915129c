#include "timeintervals.h"

#include "namecombo.h"
#include "vexadbtypes.h"

#include <QCoreApplication>
#include <QStringList>

const DBCOL dbcol_time[] = {
    {VEXADB_STRING, "name", 1},
    {VEXADB_STRING, "desc", 1},
    {VEXADB_INT, "type", 1},
    {VEXADB_STRING, "days", 0},
    {VEXADB_INT, "start", 0},
    {VEXADB_INT, "end", 0},
    {0, nullptr, 0},
};

QStringList timeTypeNames()
{
    return {QCoreApplication::translate("DlgTimeIntEx", "Daily"),
            QCoreApplication::translate("DlgTimeIntEx", "Weekly"),
            QCoreApplication::translate("DlgTimeIntEx", "Absolute")};
}

QString timeTypeName(const QString& storedType)
{
    bool isNumber = false;
    const int type = storedType.toInt(&isNumber);
    const QStringList names = timeTypeNames();
    return isNumber && type >= 0 && type < names.size() ? names.at(type) : storedType;
}

void fillComboFromTime(DBTable* times, QComboBox* combo, QString current, bool withEmpty)
{
    fillComboWithNames(times, "name", combo, current, withEmpty);
}
