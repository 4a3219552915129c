// The pages of users, groups and templates join the page table when the module is
// loaded: the table is a function-local static, so it exists whatever the order of
// initialisation, and a registration builds nothing until a page is opened.

#include "pagefactory.h"
#include "wndtemplate.h"
#include "wnduser.h"

namespace {

const bool usersRegistered = PageFactory::registerPage<WndUser>(PageKind::Users);
const bool templatesRegistered =
    PageFactory::registerPage<WndTemplate>(PageKind::UserTemplates);

} // namespace
