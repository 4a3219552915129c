#include "modulelibrary.h"

#include <QFile>

#include <dlfcn.h>

ModuleLibrary::~ModuleLibrary()
{
    unload();
}

bool ModuleLibrary::load(const QString& path, QString* error)
{
    unload();
    void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        *error = QString::fromLocal8Bit(dlerror());
        return false;
    }
    const auto* entry = static_cast<const InitInterface*>(dlsym(handle, OrnelInitInterfaceSymbol));
    if (!entry) {
        *error = QStringLiteral("%1: no %2").arg(path, QLatin1String(OrnelInitInterfaceSymbol));
        dlclose(handle);
        return false;
    }
    if (entry->version != OrnelPluginVersion || !entry->module_init || !entry->module_connect) {
        *error = QStringLiteral("%1: interface version %2, this console needs version %3")
                     .arg(path)
                     .arg(entry->version)
                     .arg(OrnelPluginVersion);
        dlclose(handle);
        return false;
    }
    m_handle = handle;
    m_entry = entry;
    return true;
}

void ModuleLibrary::unload()
{
    if (!m_handle)
        return;
    m_entry = nullptr;
    dlclose(m_handle);
    m_handle = nullptr;
}
