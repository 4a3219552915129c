// The groups page joins the page table when the module is loaded, as the users page does
// (accountpages.cpp).

#include "pagefactory.h"
#include "wndgroup.h"

namespace {

const bool groupsRegistered = PageFactory::registerPage<WndGroup>(PageKind::Groups);

} // namespace
