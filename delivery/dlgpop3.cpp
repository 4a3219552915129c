#include "dlgpop3.h"

#include "addresslookup.h"
#include "deliverytexts.h"
#include "dialogseam.h"
#include "dlgbrowse.h"
#include "globaldata.h"
#include "numberfields.h"
#include "scopedqpointer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

DlgPop3::DlgPop3(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl, DBConn* conn,
                 DBTable* domains, DBTable* users, DBTable* groups, DBTable* aliases)
    : TDlgPop3(parent, name, modal, fl)
    , m_conn(conn)
    , m_tables{domains, users, groups, aliases}
{
    m_editServer->setFocus();
    // Neither has a range of its own: both go as typed, and the server decides.
    NumberFields::acceptAnyDigits(m_editPort);
    NumberFields::acceptAnyDigits(m_editMaxMsg);
    m_tables.loadMissing(parent, conn,
                         {RecipientTables::Domains, RecipientTables::Users, RecipientTables::Groups,
                          RecipientTables::Aliases});
}

bool DlgPop3::isLocalRecipient(const QString& text, const QString& domain) const
{
    if (isInUsers(m_tables.users, text, m_tables.domains, domain)
        || isInAliases(m_tables.aliases, text, m_tables.domains, domain))
        return true;
    return text.size() > 1 && text.startsWith(QLatin1Char('['))
           && isInGroups(m_tables.groups, DeliveryTexts::bracketedGroup(text), m_tables.domains,
                         domain);
}

void DlgPop3::slotSSLActivated(int)
{
    slotDefault();
}

void DlgPop3::slotDefault()
{
    // The entries carry the SSL mode they stand for.
    const QString mode = m_comboSSL->currentData().toString();
    if (mode == QLatin1String("1"))
        m_editPort->setText(m_chkUseSSL->isChecked() ? QStringLiteral("995") : QStringLiteral("110"));
    else if (mode == QLatin1String("2"))
        m_editPort->setText(QStringLiteral("110"));
}

void DlgPop3::slotDeliverToggled(bool on)
{
    m_editAddress->setEnabled(on);
    m_btnBrowse->setEnabled(on);
    m_comboRule->setEnabled(!on);
}

void DlgPop3::slotSortingRulesToggled(bool on)
{
    m_comboRule->setEnabled(on);
    m_editAddress->setEnabled(!on);
    m_btnBrowse->setEnabled(!on);
}

void DlgPop3::slotUseSSL(bool on)
{
    m_comboSSL->setEnabled(on);
    slotDefault();
}

void DlgPop3::slotSelect()
{
    ScopedQPointer<DlgBrowse> finder(
        new DlgBrowse(this, nullptr, true, {}, m_conn, m_tables.domains, m_tables.users, nullptr));
    if (Dialogs::exec(finder.get()) == QDialog::Accepted && finder)
        m_editAddress->setText(finder->m_result);
}

void DlgPop3::slotOK()
{
    // Without a parent: the window system places the boxes, not over the dialog.
    if (m_editServer->text().isEmpty() || m_editUser->text().isEmpty()) {
        Dialogs::warning(nullptr, tr("Ornel Corvane Administration"), tr("You must fill server name and user name."),
                         QMessageBox::Ok);
        return;
    }
    const QPointer<DlgPop3> self(this);
    // Before any question whose No accepts: nothing of the account goes without its count.
    // A count left as the server holds it is written back as it is, asked about or not.
    if (m_untouched.isTouched(QStringLiteral("max_msgcount"))
        && (!NumberFields::confirmFits(tr("Messages"), m_editMaxMsg, 1, NumberFields::IntColumnTop)
            || !self))
        return;
    if (!m_rbtnAddress->isChecked() || confirmAddress())
        accept();
}

bool DlgPop3::confirmAddress()
{
    const QString address = m_editAddress->text();
    const QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    if (address.isEmpty()) {
        const Dialogs::Button answer = Dialogs::warning(
            nullptr, tr("Ornel Corvane Administration"),
            tr("You should fill address field.\nDo you want to correct the problem?"), buttons);
        if (answer == QMessageBox::No)
            return true;
        m_editAddress->setFocus();
        return false;
    }
    // An address with a domain part is the other server's to know.
    if (address.contains(QLatin1Char('@')) || isLocalRecipient(address, globalData.currentDomain))
        return true;
    return Dialogs::warning(nullptr, tr("Ornel Corvane Administration"),
                            tr("Address is set incorrectly!\nDo you want to correct the problem?"), buttons)
           == QMessageBox::No;
}
