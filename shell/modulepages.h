#pragma once

// Makes the pages of every subsystem in the module the pages of their navigation items.
// Called by module_init; registering again replaces the earlier registrations.
void registerModulePages();
