#include "modulepages.h"

#include "configpages.h"

void registerModulePages()
{
    registerConfigPages();
}
