#pragma once

#include "answer_p.h"
#include "executioncontext_p.h"
#include "statement_p.h"

#include <QStringList>

namespace StandIn {

using ServerFunction = Answer (*)(ExecutionContext &context,
                                  const QList<Statement::Argument> &arguments);

// The functions a "select f(...)" statement calls. Adding one is one C++
// function and one line in the table in serverfunctions.cpp.
class ServerFunctions
{
public:
    static ServerFunction find(const QString &name); // ignoring case; null if none
    static QStringList names();
};

} // namespace StandIn
