#pragma once

#include <QString>

namespace StandIn {

class Catalogue;
class LogStore;

// A data set on disk: {"tables": [...], "logs": [...]} (see Catalogue and
// LogStore for the parts). Fixtures and state files share the form, so a
// state file can serve as a fixture.
class StateFile
{
public:
    static bool read(const QString &path, Catalogue *catalogue, LogStore *logs, QString *error);
    // Writes a temporary file beside path and renames it over path, so a crash
    // leaves either the old state or the new one, never half of one.
    static bool write(const QString &path, const Catalogue &catalogue, const LogStore &logs,
                      QString *error);
};

} // namespace StandIn
