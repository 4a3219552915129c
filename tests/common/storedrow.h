#pragma once

// One row of a stand-in server's table as a test stores it, and the statement the console
// sends for an edit of it: a sweep stores the row with one cell replaced, in a column the
// server may declare in another type than the page does (a number kept as text, say).

#include "testserver.h"

#include <QList>
#include <QString>
#include <QStringList>

struct StoredRow
{
    QString table;
    QList<StandIn::Column> columns; // as the server declares them, in the page's order
    QStringList texts;              // one per column
    QStringList keys;               // the columns the page names the row by, in its order

    // The same row with `column` holding `text`, declared by the server as `type` (TypeVoid:
    // as declared).
    StoredRow with(const QString& column, const QString& text, int type = StandIn::TypeVoid) const
    {
        StoredRow changed = *this;
        const int index = changed.indexOf(column);
        if (index < 0)
            qFatal("StoredRow: no column %s in %s", qPrintable(column), qPrintable(table));
        changed.texts[index] = text;
        if (type != StandIn::TypeVoid)
            changed.columns[index].type = type;
        return changed;
    }

    int indexOf(const QString& column) const
    {
        for (int c = 0; c < columns.size(); ++c) {
            if (columns.at(c).name == column)
                return c;
        }
        return -1;
    }

    // The server's table holds this row and nothing else.
    void install(StandIn::TestServer& server) const { server.setTable(table, columns, {texts}); }

    // "update <table> set <assignments> where <key>='<stored text>' and ...": the row named
    // by its key as the server holds it, whatever the edit changes. The texts of a sweep need
    // no escaping.
    QString update(const QString& assignments) const
    {
        QStringList where;
        for (const QString& key : keys)
            where.append(key + QStringLiteral("='") + texts.value(indexOf(key)) + QLatin1Char('\''));
        QString statement = QStringLiteral("update ") + table + QStringLiteral(" set ") + assignments;
        if (!where.isEmpty())
            statement += QStringLiteral(" where ") + where.join(QStringLiteral(" and "));
        return statement;
    }

    // The assignment of one column as the console writes it.
    static QString assignment(const QString& column, const QString& text)
    {
        return column + QStringLiteral("='") + text + QLatin1Char('\'');
    }
};
