#include "catalogue_p.h"

#include <QJsonObject>

namespace StandIn {

namespace {

struct TypeNameEntry
{
    int code;
    const char *name;
};

const TypeNameEntry TypeTable[] = {
    {TypeVoid, "VOID"},     {TypeString, "STRING"}, {TypeInt, "INT"},
    {TypeInt64, "INT64"},   {TypeIpAddr, "IPADDR"}, {TypePwd, "PWD"},
    {TypeBinary, "BINARY"}, {TypePort, "PORT"},     {TypeIdList, "IDLIST"},
};

bool tableFromJson(const QJsonObject &json, Table *out, QString *error)
{
    const QString name = json.value(QLatin1String("name")).toString();
    if (name.isEmpty()) {
        *error = QStringLiteral("a table without a name");
        return false;
    }
    QList<Column> columns;
    for (const QJsonValue &value : json.value(QLatin1String("columns")).toArray()) {
        const QJsonObject object = value.toObject();
        Column column;
        column.name = object.value(QLatin1String("name")).toString();
        column.type = Catalogue::typeFromJson(object.value(QLatin1String("type")));
        column.key = object.value(QLatin1String("key")).toBool();
        if (column.name.isEmpty() || column.type < 0) {
            *error = QStringLiteral("table %1: a column needs a name and a known type").arg(name);
            return false;
        }
        columns.append(column);
    }
    Table table(name, columns);
    for (const QJsonValue &value : json.value(QLatin1String("rows")).toArray()) {
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (table.columnIndex(it.key()) < 0) {
                *error = QStringLiteral("table %1: a row names the unknown column %2")
                             .arg(name, it.key());
                return false;
            }
        }
        QStringList cells;
        for (const Column &column : columns) {
            const QJsonValue cell = object.value(column.name);
            cells.append(cell.isDouble() ? QString::number(cell.toInteger()) : cell.toString());
        }
        if (!table.appendRow(cells)) {
            *error = QStringLiteral("table %1: a value is not a text form of its column").arg(name);
            return false;
        }
    }
    *out = table;
    return true;
}

QJsonObject tableToJson(const Table &table)
{
    QJsonArray columns;
    for (const Column &column : table.columns()) {
        const QString typeName = Catalogue::typeName(column.type);
        QJsonObject object{{QLatin1String("name"), column.name},
                           {QLatin1String("type"), typeName.isEmpty() ? QJsonValue(column.type)
                                                                      : QJsonValue(typeName)}};
        if (column.key)
            object.insert(QLatin1String("key"), true);
        columns.append(object);
    }
    QJsonArray rows;
    for (const QStringList &row : table.rows()) {
        QJsonObject object;
        for (int c = 0; c < table.columns().size(); ++c)
            object.insert(table.columns().at(c).name, row.at(c));
        rows.append(object);
    }
    return QJsonObject{{QLatin1String("name"), table.name()},
                       {QLatin1String("columns"), columns},
                       {QLatin1String("rows"), rows}};
}

} // namespace

Table *Catalogue::table(const QString &name)
{
    for (Table &table : m_tables) {
        if (table.name().compare(name, Qt::CaseInsensitive) == 0)
            return &table;
    }
    return nullptr;
}

const Table *Catalogue::table(const QString &name) const
{
    return const_cast<Catalogue *>(this)->table(name);
}

void Catalogue::setTable(const Table &table)
{
    if (Table *existing = this->table(table.name()))
        *existing = table;
    else
        m_tables.push_back(table);
}

bool Catalogue::removeTable(const QString &name)
{
    for (auto it = m_tables.begin(); it != m_tables.end(); ++it) {
        if (it->name().compare(name, Qt::CaseInsensitive) == 0) {
            m_tables.erase(it);
            return true;
        }
    }
    return false;
}

QStringList Catalogue::tableNames() const
{
    QStringList names;
    for (const Table &table : m_tables)
        names.append(table.name());
    return names;
}

int Catalogue::typeFromJson(const QJsonValue &value)
{
    if (value.isDouble()) {
        const int code = value.toInt(-1);
        return code >= 0 && code <= 255 ? code : -1;
    }
    for (const TypeNameEntry &entry : TypeTable) {
        if (value.toString().compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0)
            return entry.code;
    }
    return -1;
}

QString Catalogue::typeName(int type)
{
    for (const TypeNameEntry &entry : TypeTable) {
        if (entry.code == type)
            return QLatin1String(entry.name);
    }
    return QString();
}

bool Catalogue::fromJson(const QJsonArray &json, Catalogue *catalogue, QString *error)
{
    Catalogue loaded;
    for (const QJsonValue &value : json) {
        Table table;
        if (!tableFromJson(value.toObject(), &table, error))
            return false;
        loaded.setTable(table);
    }
    *catalogue = std::move(loaded);
    return true;
}

QJsonArray Catalogue::toJson() const
{
    QJsonArray tables;
    for (const Table &table : m_tables)
        tables.append(tableToJson(table));
    return tables;
}

} // namespace StandIn
