#pragma once

#include <QString>

// What the main window tells a log viewer about one server log: three fixed, zero-terminated
// Latin-1 fields. The viewer copies the record whole and reads only the name; the dialogs of
// the debug log copy the viewer's copy whole.
struct DBLOG
{
    char name[64];
    char data[128];
    char info[64];
};

// The record for the log called name: name as Latin-1, cut to the 63 bytes the field holds
// (a server may name a log at any length); data "log.data." + that name; info "log.info".
DBLOG makeLogDescriptor(const QString& name);

// The record's name field as text, read no further than the field even without its zero.
QString logDescriptorName(const DBLOG& log);
