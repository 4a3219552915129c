#pragma once

// Makes the configuration pages the pages of their navigation items.
void registerConfigPages();
