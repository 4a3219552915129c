// The address groups and time ranges pages join the page table when the module is
// loaded; a registration builds nothing until its page is opened.

#include "pagefactory.h"
#include "wndipgroup.h"
#include "wndtimeint.h"

namespace {

const bool groupsRegistered = PageFactory::registerPage<WndIPGroup>(PageKind::IpAddressGroups);
const bool rangesRegistered = PageFactory::registerPage<WndTimeInt>(PageKind::TimeRanges);

} // namespace
