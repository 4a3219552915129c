// The delivery pages join the page table when the module is loaded: the table is a
// function-local static, so it exists whatever the order of initialisation, and a
// registration builds nothing until a page is opened.

#include "pagefactory.h"
#include "wndconnection.h"
#include "wndetrn.h"
#include "wndpop3.h"
#include "wndqueue.h"
#include "wndsched.h"

namespace {

const bool pop3Registered = PageFactory::registerPage<WndPop3>(PageKind::Pop3Download);
const bool etrnRegistered = PageFactory::registerPage<WndEtrn>(PageKind::EtrnDownload);
const bool schedRegistered = PageFactory::registerPage<WndSched>(PageKind::Scheduling);
const bool queueRegistered = PageFactory::registerPage<WndQueue>(PageKind::MailQueue);
const bool connectionsRegistered = PageFactory::registerPage<WndConnection>(PageKind::Connections);

} // namespace
