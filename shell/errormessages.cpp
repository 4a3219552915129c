#include "errormessages.h"

#include "dialogseam.h"
#include "scopedqpointer.h"
#include "tdlgfailed.h"

#include <QLabel>
#include <QObject>

namespace {

// The codes the failure texts tell apart; every other code is shown by its number. The
// last three are the Windows socket codes for a time-out, a refusal and an unknown host:
// the data link here never produces them, but a caller may pass them.
constexpr unsigned int AuthenticationFailed = 102;
constexpr unsigned int SocketTimedOut = 10060;
constexpr unsigned int SocketRefused = 10061;
constexpr unsigned int SocketHostNotFound = 11001;

bool isRefusal(unsigned int code)
{
    return code >= SocketTimedOut && code <= SocketRefused;
}

QString networkReasonsUnreachable()
{
    return QObject::tr(
        "Possible reasons:\n"
        "- you have entered wrong host name or IP address of server application\n"
        "- server application is not running on specified host machine\n"
        "- server application does not allow connection over the network\n"
        "- IP traffic is blocked along the network path to the server application");
}

QString networkReasonsPath()
{
    return QObject::tr(
        "Possible reasons:\n"
        "- you have entered wrong host name or IP address of server application\n"
        "- failure along the network path to the server application\n"
        "- IP traffic is blocked along the network path to the server application");
}

QString credentialReasons()
{
    return QObject::tr(
        "Possible reasons:\n"
        "- you have entered wrong username or password\n"
        "- you don't have permission to connect the server application");
}

} // namespace

void show_error_message(QWidget* parent, unsigned int code)
{
    // The parent may go while the dialog runs (the workspace closing under it), taking the
    // dialog along.
    const ScopedQPointer<TDlgFailed> dialog(new TDlgFailed(parent, nullptr, true));
    if (isRefusal(code)) {
        dialog->m_lbDesc->setText(QObject::tr("Connection was refused."));
        dialog->m_lbReasons->setText(networkReasonsUnreachable());
    } else if (code == SocketHostNotFound) {
        dialog->m_lbDesc->setText(
            QObject::tr("Remote host did not properly respond after a period of time."));
        dialog->m_lbReasons->setText(networkReasonsPath());
    } else if (code == AuthenticationFailed) {
        dialog->m_lbDesc->setText(QObject::tr("Authentication failed."));
        dialog->m_lbReasons->setText(credentialReasons());
    } else {
        dialog->m_lbDesc->setText(QObject::tr("Connection has failed with error code %1.").arg(code));
        dialog->m_lbReasons->setText(networkReasonsPath());
    }
    Dialogs::exec(dialog.get());
}

QString getErrorMessage(unsigned int code, unsigned int version)
{
    if (isRefusal(code))
        return QObject::tr("Server application is not running!");
    if (code == SocketHostNotFound)
        return QObject::tr("Remote computer not found!");
    if (code == AuthenticationFailed)
        return QObject::tr("User or password incorrect!\n(version %1)").arg(version);
    return QObject::tr("Error %1").arg(code);
}
