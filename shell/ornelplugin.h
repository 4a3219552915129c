#pragma once

// The interface between the console host and the administration module, shared by both.
//
// The host loads the module, looks up the one record `init_interface`, checks its version,
// calls `module_init` once for the descriptor and then `module_connect` for every server
// the administrator opens. The host reads the descriptor by position, so the order and
// types of its fields are part of the interface: add nothing, move nothing.
//
// The record's two entries are function pointers of their natural size; on 64-bit systems
// the record is therefore one 32-bit word followed by two 64-bit words, not three words.

#include "desktop_global.h"

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QtGlobal>

class Desktop;

#if defined(__GNUC__)
#  define ORNEL_PLUGIN_EXPORT __attribute__((visibility("default")))
#else
#  define ORNEL_PLUGIN_EXPORT
#endif

// The version the host accepts in `init_interface`.
constexpr qint32 OrnelPluginVersion = 5;
// The module's file name and the symbol the host looks up in it.
constexpr const char OrnelModuleFileName[] = "libornelcon.so.0";
constexpr const char OrnelInitInterfaceSymbol[] = "init_interface";

struct ModuleDescriptor;

extern "C" {

using ModuleInitFunction = ModuleDescriptor* (*)();

// desktop: the host's workspace, parent of the main window the module opens.
// socket: 0 for "connect by yourself", else a connected socket whose greeting the host has
//   read; the module takes it over.
// host, port, user, password: the server's address, its administration port in decimal,
//   and the credentials, all as text.
// reserved: not read by the module.
// handle: the host's handle of the loaded module; the module hands it back through
//   Desktop::close_dll() when it wants to be unloaded.
// mode: the layout mode of the main window (0: without the request log).
using ModuleConnectFunction = void (*)(Desktop* desktop, qint32 socket, const char* host,
                                       const char* port, const char* user,
                                       const char* password, quint32 reserved,
                                       DLLHANDLE handle, qint32 mode);

struct InitInterface
{
    qint32 version;
    ModuleInitFunction module_init;
    ModuleConnectFunction module_connect;
};

} // extern "C"

// What the module tells the host about itself. module_init() fills it and returns its
// address; the module keeps it until it is unloaded. Pixmaps exist only once the
// application object does, so the module builds the descriptor on the first call.
struct ModuleDescriptor
{
    qint32 numbers[6] = {};   // for the host; the module only stores them
    QString productName;
    QString secondText;
    QString moduleStem;
    QPixmap smallIcon;        // 16 x 16
    QPixmap mediumIcon;       // 32 x 32
    QPixmap largeIcon;        // 48 x 48
    QImage splash;            // 400 x 290
    quint32 words[3] = {};
    ModuleConnectFunction module_connect = nullptr;
};

// The module's exported symbols. The host does not link against them: it finds them with
// dlsym() in the library it loaded.
extern "C" {
ORNEL_PLUGIN_EXPORT extern const InitInterface init_interface;
ORNEL_PLUGIN_EXPORT ModuleDescriptor* module_init();
ORNEL_PLUGIN_EXPORT void module_connect(Desktop* desktop, qint32 socket, const char* host,
                                        const char* port, const char* user,
                                        const char* password, quint32 reserved,
                                        DLLHANDLE handle, qint32 mode);
}
