#pragma once

#include "answer_p.h"
#include "executioncontext_p.h"
#include "statement_p.h"

namespace StandIn {

class Table;

// Runs one statement against the catalogue and the logs.
//   106 the text does not parse (a delete without a condition included)
//   107 a value that is no text form of its column, or an operator the column
//       does not take (+= and -= are for IDLIST columns in updates)
//   109 unknown table, 110 unknown function, 114 unknown column
//   111 an insert or update that would give two rows the same key
// A list column in a condition matches the rows whose list holds the value.
class StatementExecutor
{
public:
    static Answer execute(const QString &text, ExecutionContext &context);
    static Answer execute(const Statement &statement, ExecutionContext &context);

private:
    struct Filter;

    static Answer select(const Statement &statement, ExecutionContext &context);
    static Answer call(const Statement &statement, ExecutionContext &context);
    static Answer insert(const Statement &statement, ExecutionContext &context);
    static Answer update(const Statement &statement, ExecutionContext &context);
    static Answer remove(const Statement &statement, ExecutionContext &context);

    static quint32 buildFilter(const Table &table, const Statement &statement, Filter *filter);
};

} // namespace StandIn
