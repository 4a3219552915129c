#include "dlgrule.h"

#include "addresslookup.h"
#include "deliverytexts.h"
#include "dialogseam.h"
#include "dlgbrowse.h"
#include "globaldata.h"
#include "scopedqpointer.h"

#include <QLineEdit>

DlgRule::DlgRule(QWidget* parent, const char* name, bool modal, Qt::WindowFlags fl, DBConn* conn,
                 DBTable* domains, DBTable* users, DBTable* groups, DBTable* aliases)
    : TDlgRule(parent, name, modal, fl)
    , m_conn(conn)
    , m_tables{domains, users, groups, aliases}
{
    m_editContent->setFocus();
    m_tables.loadMissing(parent, conn,
                         {RecipientTables::Domains, RecipientTables::Aliases, RecipientTables::Users,
                          RecipientTables::Groups});
}

bool DlgRule::isLocalRecipient(const QString& text, const QString& domain) const
{
    if (text.startsWith(QLatin1Char('[')))
        return isInGroups(m_tables.groups, DeliveryTexts::bracketedGroup(text),
                          m_tables.domains, domain);
    return isInUsers(m_tables.users, text, m_tables.domains, domain)
           || isInAliases(m_tables.aliases, text, m_tables.domains, domain);
}

void DlgRule::slotOK()
{
    // Without a parent: the window system places the questions, not over the dialog.
    if (m_editContent->text().isEmpty() || m_editDeliver->text().isEmpty()) {
        const Dialogs::Button answer = Dialogs::information(
            nullptr, tr("Ornel Corvane Administration"),
            tr("You should fill both fields.\nDo you want to correct the problem?"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer != QMessageBox::No)
            return;
    }
    const QString deliver = m_editDeliver->text();
    // An address with a domain part is the other server's to know.
    if (!deliver.contains(QLatin1Char('@')) && !isLocalRecipient(deliver, globalData.currentDomain)) {
        const Dialogs::Button answer = Dialogs::information(
            nullptr, tr("Ornel Corvane Administration"),
            tr("The right side of the sorting rule is set incorrectly!\nDo you want to correct the problem?"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer != QMessageBox::No)
            return;
    }
    accept();
}

void DlgRule::slotSelect()
{
    ScopedQPointer<DlgBrowse> finder(
        new DlgBrowse(this, nullptr, true, {}, m_conn, m_tables.domains, m_tables.users, m_tables.groups));
    if (Dialogs::exec(finder.get()) == QDialog::Accepted && finder)
        m_editDeliver->setText(finder->m_result);
}
