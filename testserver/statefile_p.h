#pragma once

#include <QString>

namespace StandIn {

class Catalogue;
class LogStore;

// A data set on disk: {"tables": [...], "logs": [...]} (see Catalogue and
// LogStore for the parts). Fixtures and state files share the form, so a
// state file can serve as a fixture. A state file also names its writer
// ("writer": "ornel-testserver"): the server keeps its data in a state file it
// wrote and in no other, since any other JSON object would pass for an empty
// data set and fail later in ways that do not say why (a log to grow that is
// not there). A state file of this server from before it named itself is
// known by its shape and kept too, so that no one's demo data are thrown away.
class StateFile
{
public:
    // A fixture, or a state file read as one.
    static bool read(const QString &path, Catalogue *catalogue, LogStore *logs, QString *error);
    // A state file this server wrote; another file is refused with an *error
    // that says so.
    static bool readState(const QString &path, Catalogue *catalogue, LogStore *logs, QString *error);
    // Writes a temporary file beside path and renames it over path, so a crash
    // leaves either the old state or the new one, never half of one.
    static bool write(const QString &path, const Catalogue &catalogue, const LogStore &logs,
                      QString *error);
};

} // namespace StandIn
