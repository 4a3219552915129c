#pragma once

#include "functiondata_p.h"
#include "table_p.h"

#include <QJsonArray>
#include <QString>

#include <vector>

namespace StandIn {

// The server's tables, found by name without regard to case.
//
// JSON form, an array of tables:
//   {"name": "user",
//    "columns": [{"name": "name", "type": "STRING", "key": true}, ...],
//    "rows": [{"name": "alice", "qstorage": "104857600", ...}, ...]}
// A type is a code (1) or its name ("STRING"); a row names its cells by column,
// and a column it leaves out is empty.
class Catalogue
{
public:
    Table *table(const QString &name);
    const Table *table(const QString &name) const;
    void setTable(const Table &table); // adds, or replaces the table of that name
    bool removeTable(const QString &name);
    QStringList tableNames() const;
    bool isEmpty() const { return m_tables.empty(); }

    static bool fromJson(const QJsonArray &json, Catalogue *catalogue, QString *error);
    QJsonArray toJson() const;

    // What the server functions answer from.
    FunctionData &functions() { return m_functions; }
    const FunctionData &functions() const { return m_functions; }

    static int typeFromJson(const QJsonValue &value); // -1 when unknown
    static QString typeName(int type); // empty for a code without a name

private:
    std::vector<Table> m_tables;
    FunctionData m_functions;
};

} // namespace StandIn
