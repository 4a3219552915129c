#include "statementexecutor_p.h"

#include "catalogue_p.h"
#include "serverfunctions_p.h"
#include "statementparser_p.h"
#include "textform_p.h"

namespace StandIn {

namespace {

struct Change
{
    int column = -1;
    Statement::Assignment::Operator op = Statement::Assignment::Set;
    QString value; // the stored form for Set, the item for the list operators
};

// Checks every assignment against the table before anything is changed.
quint32 buildChanges(const Table &table, const Statement &statement, bool listOperatorsAllowed,
                     QList<Change> *changes)
{
    for (const Statement::Assignment &assignment : statement.assignments) {
        Change change;
        change.column = table.columnIndex(assignment.column);
        if (change.column < 0)
            return StatusNoColumn;
        change.op = assignment.op;
        const int type = table.columns().at(change.column).type;
        if (assignment.op == Statement::Assignment::Set) {
            if (!TextForm::normalise(type, assignment.value, &change.value))
                return StatusWrongQuery;
        } else {
            if (!listOperatorsAllowed || type != TypeIdList)
                return StatusWrongQuery;
            change.value = assignment.value;
        }
        changes->append(change);
    }
    return StatusOk;
}

void applyChange(QStringList &row, const Change &change)
{
    QString &cell = row[change.column];
    if (change.op == Statement::Assignment::Set) {
        cell = change.value;
        return;
    }
    QStringList items = TextForm::listItems(cell);
    if (change.op == Statement::Assignment::AddItem) {
        if (!items.contains(change.value)) // a member is listed once
            items.append(change.value);
    } else {
        items.removeAll(change.value);
    }
    cell = TextForm::joinItems(items);
}

} // namespace

struct StatementExecutor::Filter
{
    struct Test
    {
        int column;
        QString value;
        bool listMembership;
    };
    QList<Test> tests;

    bool matches(const QStringList &row) const
    {
        for (const Test &test : tests) {
            const QString &cell = row.at(test.column);
            const bool match = test.listMembership
                                   ? TextForm::listItems(cell).contains(test.value)
                                   : cell == test.value;
            if (!match)
                return false;
        }
        return true;
    }
};

quint32 StatementExecutor::buildFilter(const Table &table, const Statement &statement,
                                       Filter *filter)
{
    for (const Statement::Condition &condition : statement.conditions) {
        Filter::Test test;
        test.column = table.columnIndex(condition.column);
        if (test.column < 0)
            return StatusNoColumn;
        const int type = table.columns().at(test.column).type;
        test.listMembership = type == TypeIdList;
        if (test.listMembership)
            test.value = condition.value;
        else if (!TextForm::normalise(type, condition.value, &test.value))
            return StatusWrongQuery;
        filter->tests.append(test);
    }
    return StatusOk;
}

Answer StatementExecutor::execute(const QString &text, ExecutionContext &context)
{
    Statement statement;
    if (!StatementParser::parse(text, &statement, nullptr))
        return Answer::refusal(StatusParseError);
    return execute(statement, context);
}

Answer StatementExecutor::execute(const Statement &statement, ExecutionContext &context)
{
    switch (statement.kind) {
    case Statement::Select:
        return select(statement, context);
    case Statement::Call:
        return call(statement, context);
    case Statement::Insert:
        return insert(statement, context);
    case Statement::Update:
        return update(statement, context);
    case Statement::Delete:
        return remove(statement, context);
    }
    return Answer::refusal(StatusParseError);
}

Answer StatementExecutor::select(const Statement &statement, ExecutionContext &context)
{
    const Table *table = context.catalogue.table(statement.target);
    if (!table)
        return Answer::refusal(StatusNoTable);

    QList<int> indexes;
    if (statement.allFields) {
        for (int c = 0; c < table->columns().size(); ++c)
            indexes.append(c);
    }
    for (const QString &field : statement.fields) {
        const int index = table->columnIndex(field);
        if (index < 0)
            return Answer::refusal(StatusNoColumn);
        indexes.append(index);
    }
    Filter filter;
    if (const quint32 status = buildFilter(*table, statement, &filter))
        return Answer::refusal(status);

    QList<Column> columns;
    for (int index : indexes)
        columns.append(table->columns().at(index));
    QList<QStringList> rows;
    for (const QStringList &row : table->rows()) {
        if (!filter.matches(row))
            continue;
        QStringList picked;
        picked.reserve(indexes.size());
        for (int index : indexes)
            picked.append(row.at(index));
        rows.append(picked);
    }
    return Answer::rowSet(columns, rows);
}

Answer StatementExecutor::call(const Statement &statement, ExecutionContext &context)
{
    const ServerFunction function = ServerFunctions::find(statement.target);
    if (!function)
        return Answer::refusal(StatusNoFunction);
    return function(context, statement.arguments);
}

Answer StatementExecutor::insert(const Statement &statement, ExecutionContext &context)
{
    Table *table = context.catalogue.table(statement.target);
    if (!table)
        return Answer::refusal(StatusNoTable);
    QList<Change> changes;
    if (const quint32 status = buildChanges(*table, statement, false, &changes))
        return Answer::refusal(status);

    QStringList row;
    for (const Column &column : table->columns()) {
        QString empty;
        TextForm::normalise(column.type, QString(), &empty);
        row.append(empty);
    }
    for (const Change &change : changes)
        applyChange(row, change);
    if (table->findSameKey(row) >= 0)
        return Answer::refusal(StatusNotPossible);
    table->rows().append(row);
    context.dataChanged = true;
    return Answer::done(1);
}

Answer StatementExecutor::update(const Statement &statement, ExecutionContext &context)
{
    Table *table = context.catalogue.table(statement.target);
    if (!table)
        return Answer::refusal(StatusNoTable);
    QList<Change> changes;
    if (const quint32 status = buildChanges(*table, statement, true, &changes))
        return Answer::refusal(status);
    Filter filter;
    if (const quint32 status = buildFilter(*table, statement, &filter))
        return Answer::refusal(status);

    // Work on a copy so that a key collision half-way leaves the table as it was.
    Table changed = *table;
    quint32 affected = 0;
    for (int r = 0; r < changed.rows().size(); ++r) {
        QStringList &row = changed.rows()[r];
        if (!filter.matches(row))
            continue;
        for (const Change &change : changes)
            applyChange(row, change);
        if (changed.findSameKey(row, r) >= 0)
            return Answer::refusal(StatusNotPossible);
        ++affected;
    }
    if (affected > 0) {
        *table = changed;
        context.dataChanged = true;
    }
    return Answer::done(affected);
}

Answer StatementExecutor::remove(const Statement &statement, ExecutionContext &context)
{
    if (statement.conditions.isEmpty())
        return Answer::refusal(StatusParseError);
    Table *table = context.catalogue.table(statement.target);
    if (!table)
        return Answer::refusal(StatusNoTable);
    Filter filter;
    if (const quint32 status = buildFilter(*table, statement, &filter))
        return Answer::refusal(status);

    const qsizetype before = table->rows().size();
    table->rows().removeIf([&](const QStringList &row) { return filter.matches(row); });
    const quint32 affected = quint32(before - table->rows().size());
    if (affected > 0)
        context.dataChanged = true;
    return Answer::done(affected);
}

} // namespace StandIn
