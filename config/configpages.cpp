// The configuration pages join the page table when the module is loaded: the table is a
// function-local static, so it exists whatever the order of initialisation, and a
// registration builds nothing until a page is opened.

#include "pagefactory.h"
#include "wndadvanced.h"
#include "wndantispam.h"
#include "wndavir.h"
#include "wndbackup.h"
#include "wndintercon.h"
#include "wndremote.h"
#include "wndservice.h"
#include "wndsmtp.h"

namespace {

const bool smtpRegistered = PageFactory::registerPage<WndSmtp>(PageKind::SmtpProperties);
const bool backupRegistered = PageFactory::registerPage<WndBackup>(PageKind::Backup);
const bool internetRegistered =
    PageFactory::registerPage<WndInterCon>(PageKind::InternetConnection);
const bool remoteRegistered = PageFactory::registerPage<WndRemote>(PageKind::RemoteAdministration);
const bool antispamRegistered = PageFactory::registerPage<WndAntispam>(PageKind::Antispam);
const bool antivirusRegistered = PageFactory::registerPage<WndAvir>(PageKind::Antivirus);
const bool advancedRegistered = PageFactory::registerPage<WndAdvanced>(PageKind::AdvancedOptions);
const bool servicesRegistered = PageFactory::registerPage<WndService>(PageKind::Services);

} // namespace
