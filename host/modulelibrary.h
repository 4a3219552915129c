#pragma once

#include "ornelplugin.h"

#include <QString>

// The loaded administration module: its dlopen() handle and its entry record.
class ModuleLibrary
{
public:
    ModuleLibrary() = default;
    ~ModuleLibrary();
    ModuleLibrary(const ModuleLibrary&) = delete;
    ModuleLibrary& operator=(const ModuleLibrary&) = delete;

    // Loads the library and checks its entry record; on failure nothing stays loaded and
    // *error says why.
    bool load(const QString& path, QString* error);
    // dlclose(). Only once nothing of the module is left: no window, no object, no thread.
    void unload();

    bool isLoaded() const { return m_handle != nullptr; }
    DLLHANDLE handle() const { return m_handle; }
    const InitInterface& entry() const { return *m_entry; }

private:
    void* m_handle = nullptr;
    const InitInterface* m_entry = nullptr;
};
