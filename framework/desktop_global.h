#pragma once

#include <QtCore/qglobal.h>

// The workspace lives in a shared library of its own that both the console host and the
// module link, so that a single copy of its meta-object exists in the process. The project
// builds with hidden visibility: everything the host or the module uses is exported here.
#if defined(ORNEL_DESKTOP_LIBRARY)
#  define ORNEL_DESKTOP_EXPORT Q_DECL_EXPORT
#else
#  define ORNEL_DESKTOP_EXPORT Q_DECL_IMPORT
#endif

// The handle the host gives the module when it opens a connection; the module hands it back
// with Desktop::close_dll() when it wants to be unloaded. The workspace never looks inside it.
typedef void* DLLHANDLE;
