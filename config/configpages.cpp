#include "configpages.h"

#include "pagefactory.h"
#include "wndbackup.h"
#include "wndintercon.h"
#include "wndremote.h"
#include "wndsmtp.h"

void registerConfigPages()
{
    PageFactory::registerPage<WndSmtp>(PageKind::SmtpProperties);
    PageFactory::registerPage<WndBackup>(PageKind::Backup);
    PageFactory::registerPage<WndInterCon>(PageKind::InternetConnection);
    PageFactory::registerPage<WndRemote>(PageKind::RemoteAdministration);
}
