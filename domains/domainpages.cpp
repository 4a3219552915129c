// The domains and aliases pages join the page table when the module is loaded; a
// registration builds nothing until its page is opened.

#include "pagefactory.h"
#include "wndalias.h"
#include "wnddomain.h"

namespace {

const bool domainsRegistered = PageFactory::registerPage<WndDomain>(PageKind::Domains);
const bool aliasesRegistered = PageFactory::registerPage<WndAlias>(PageKind::Aliases);

} // namespace
