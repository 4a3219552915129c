#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace StandIn {

// One parsed statement. Names keep the spelling they arrived in; the
// catalogue matches them without regard to case.
struct Statement
{
    enum Kind { Select, Call, Insert, Update, Delete };

    struct Assignment
    {
        enum Operator { Set, AddItem, RemoveItem };
        QString column;
        Operator op = Set;
        QString value;
    };

    struct Condition
    {
        QString column;
        QString value;
    };

    struct Argument
    {
        QString text;
        bool quoted = false;
    };

    Kind kind = Select;
    QString target;            // table, or function for a call
    QStringList fields;        // select: the columns asked for
    bool allFields = false;    // select *
    QList<Argument> arguments; // call
    QList<Assignment> assignments;
    QList<Condition> conditions;
};

} // namespace StandIn
