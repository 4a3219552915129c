#pragma once

#include <QStringList>

namespace StandIn {

class Catalogue;
class LogStore;

// What a statement runs against, and what it changed: the server persists the
// data when dataChanged is set and announces each changed log on the update
// channel.
struct ExecutionContext
{
    ExecutionContext(Catalogue &catalogue, LogStore &logs)
        : catalogue(catalogue)
        , logs(logs)
    {
    }

    Catalogue &catalogue;
    LogStore &logs;
    bool dataChanged = false;
    QStringList changedLogs;
};

} // namespace StandIn
