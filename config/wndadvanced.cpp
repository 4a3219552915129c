#include "wndadvanced.h"

#include "addresslookup.h"
#include "advancedcolumns.h"
#include "certificate.h"
#include "comboboxes.h"
#include "dialogseam.h"
#include "dlggencert.h"
#include "globaldata.h"
#include "ipaccesslist.h"
#include "qmethoditem.h"
#include "scopedqpointer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QTreeWidget>

namespace {

enum SecurityMode { NoRestrictions, SecureAuthentication, EncryptedConnection };

} // namespace

WndAdvanced::WndAdvanced(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop,
                         const char* name, Qt::WindowFlags flags)
    : TWndAdvanced(parent, name, flags)
    , ConfigPage(this, parent, conn, ctrl, desktop)
{
    m_listAuth->header()->hide();
    if (!loadTables({{&m_misc, "misc", dbcol_advanced, EditedRow},
                     {&m_security, "security", dbcol_security, EditedRow},
                     {&m_acl, "ipaccesslist", dbcol_ipacl, ReadOnly},
                     {&m_certificate, "show_certificate()", dbcol_cert, Function},
                     {&m_methods, "get_auth_methods()", dbcol_method, Function}}))
        return;
    bindCells();
    start(AllSignals);
}

// What each column of the page's rows is shown by, its stored value kept until one changes.
void WndAdvanced::bindCells()
{
    bindCell(m_misc, "ReverseLookup", {m_chkReverse});
    bindCell(m_misc, "ShowServerName", {m_chkShowName});
    bindCell(m_misc, "HideLocalIP", {m_chkHide});
    bindCell(m_misc, "InsertEnvelopeTo", {m_chkInsert});
    bindCell(m_misc, "PublicAdmin", {m_editAdmin});
    bindCell(m_security, "Mode", {m_comboSec});
    bindCell(m_security, "AuthException", {m_chkInsecure});
    bindCell(m_security, "AuthAcl", {m_comboInsecure});
    bindCell(m_security, "SslException", {m_chkUnenc});
    bindCell(m_security, "SslAcl", {m_comboUnenc});
    bindCell(m_security, "DisabledMethods", {m_listAuth});
}

WndAdvanced::~WndAdvanced() = default;

bool WndAdvanced::isDisabled(const QString& disabledMethods, const QString& method)
{
    const QStringList names = disabledMethods.split(u',');
    for (const QString& name : names) {
        if (name.trimmed() == method)
            return true;
    }
    return false;
}

void WndAdvanced::updateData()
{
    m_chkReverse->setChecked(cellFlag(m_misc, "ReverseLookup"));
    m_chkShowName->setChecked(cellFlag(m_misc, "ShowServerName"));
    m_chkHide->setChecked(cellFlag(m_misc, "HideLocalIP"));
    m_chkInsert->setChecked(cellFlag(m_misc, "InsertEnvelopeTo"));
    m_editAdmin->setText(cell(m_misc, "PublicAdmin"));

    showCertificate();

    // A mode the box has no entry for leaves it at the entry it shows, which stands in
    // until the administrator chooses another.
    ComboBoxes::setCurrentItem(m_comboSec, int(cellNumber(m_security, "Mode")));
    m_chkInsecure->setChecked(cellFlag(m_security, "AuthException"));
    // No group stored: the first group stands in for none until the administrator chooses
    // another or turns on the exception it names.
    fillGroupBox(&m_acl, m_comboInsecure, cell(m_security, "AuthAcl"));
    m_chkUnenc->setChecked(cellFlag(m_security, "SslException"));
    fillGroupBox(&m_acl, m_comboUnenc, cell(m_security, "SslAcl"));
    updateObject();

    showMethods(cell(m_security, "DisabledMethods"));
}

// The exceptions a mode allows: insecure authentication from the secure-authentication
// mode on, unencrypted connections only in the encrypted-connection mode. The Edit buttons
// stay usable whatever the mode.
void WndAdvanced::updateObject()
{
    const int mode = m_comboSec->currentIndex();
    const bool insecure = mode == SecureAuthentication || mode == EncryptedConnection;
    const bool unencrypted = mode == EncryptedConnection;
    m_chkInsecure->setEnabled(insecure);
    m_comboInsecure->setEnabled(insecure && m_chkInsecure->isChecked());
    m_chkUnenc->setEnabled(unencrypted);
    m_comboUnenc->setEnabled(unencrypted && m_chkUnenc->isChecked());
}

void WndAdvanced::showCertificate()
{
    m_list->clear();
    if (m_certificate.m_rows.empty())
        return;
    const QString name = cell(m_certificate, m_combo->currentIndex() == 0 ? "issuer" : "subject");
    for (const Certificate::Field& field : Certificate::split(name))
        new QTreeWidgetItem(m_list, QStringList{field.first, field.second});
}

void WndAdvanced::showMethods(const QString& disabledMethods)
{
    m_listAuth->clear();
    for (const std::unique_ptr<DBRow>& row : m_methods.m_rows) {
        const int at = row->colIndex("name");
        const QString name = at < 0 ? QString() : row->m_values[size_t(at)]->text();
        auto* item = new QMethodItem(m_listAuth, name, !isDisabled(disabledMethods, name), this);
        item->show();
    }
}

// The listed methods ticked off, in the list's order, then the names of the stored text
// that the list does not show, as they stand.
QString WndAdvanced::disabledMethods()
{
    const QString stored = storedCell(m_security, "DisabledMethods");
    QStringList listed;
    QStringList names;
    for (int i = 0; i < m_listAuth->topLevelItemCount(); ++i) {
        const auto* item = static_cast<const QMethodItem*>(m_listAuth->topLevelItem(i));
        listed.append(item->name());
        if (!item->isOn())
            names.append(item->name());
    }
    for (const QString& entry : stored.split(u',', Qt::SkipEmptyParts)) {
        if (!listed.contains(entry.trimmed()))
            names.append(entry);
    }
    return names.join(u',');
}

void WndAdvanced::writeRows()
{
    writeFlag(m_misc, "ReverseLookup", m_chkReverse->isChecked());
    writeFlag(m_misc, "ShowServerName", m_chkShowName->isChecked());
    writeFlag(m_misc, "HideLocalIP", m_chkHide->isChecked());
    writeFlag(m_misc, "InsertEnvelopeTo", m_chkInsert->isChecked());
    writeCell(m_misc, "PublicAdmin", m_editAdmin->text());

    writeCell(m_security, "Mode", QString::number(m_comboSec->currentIndex()));
    writeFlag(m_security, "AuthException", m_chkInsecure->isChecked());
    writeChoice(m_security, "AuthAcl", m_comboInsecure->currentText(),
                {m_chkInsecure, "AuthException"});
    writeFlag(m_security, "SslException", m_chkUnenc->isChecked());
    writeChoice(m_security, "SslAcl", m_comboUnenc->currentText(), {m_chkUnenc, "SslException"});
    writeCell(m_security, "DisabledMethods", disabledMethods());
}

void WndAdvanced::slotChanged()
{
    handChangeIn();
}

// The exceptions and the certificate's name choice change what other widgets show: the
// rows take the widgets first, and the widgets are then shown from the rows. A page that
// never loaded has no rows to show and stays as it is.
void WndAdvanced::slotUpdateView()
{
    if (handChangeIn())
        refill();
}

void WndAdvanced::slotSelect()
{
    QString chosen;
    if (pickAccount(&chosen))
        m_editAdmin->setText(chosen);
}

void WndAdvanced::editAddressGroups(QComboBox* shown)
{
    ConfigPage::editAddressGroups(
        &m_acl, shown->currentText(),
        {{m_comboInsecure, &m_security, "AuthAcl"}, {m_comboUnenc, &m_security, "SslAcl"}});
}

void WndAdvanced::slotEditInsecure()
{
    editAddressGroups(m_comboInsecure);
}

void WndAdvanced::slotEditUnenc()
{
    editAddressGroups(m_comboUnenc);
}

void WndAdvanced::slotGen()
{
    if (!isReady())
        return;
    const QPointer<QWidget> page(this);
    QString statement;
    {
        // The dialog goes with the page should the page be closed under it.
        const ScopedQPointer<DlgGenCert> dialog(new DlgGenCert(this, nullptr, false, {}));
        if (!dialog || Dialogs::exec(dialog.get()) != QDialog::Accepted || !dialog || !page)
            return;
        statement = Certificate::createStatement(
            {dialog->m_editHostname->text(), dialog->m_editOrgName->text(),
             dialog->m_editOrgUnit->text(), dialog->m_editCity->text(),
             dialog->m_editState->text(), dialog->m_code});
    }
    if (!generateCertificate(statement) || !page)
        return;
    const bool reloaded = m_certificate.function(
        m_parent, m_conn, "show_certificate()", dbcol_cert,
        DBTable::WaitWithProgress | DBTable::ReportRefusal);
    if (!page || !reloaded)
        return;
    Dialogs::information(nullptr, caption(),
                         tr("New certificate generated.\nYou should re-start Ornel Corvane now."),
                         QMessageBox::Ok);
    if (page)
        refill();
}

// Sends the statement at once, past the pending list. False after a refusal, which has
// been reported, or when the page went away while it waited.
bool WndAdvanced::generateCertificate(const QString& statement)
{
    QList<QStringList> answer;
    return askServer(statement, 0, &answer) == Asked::Answered;
}

// Whether the public folders administrator names a user or, in brackets, a group of the
// current domain. A domain the text names is dropped: the lookup is always in the current
// domain. A table that cannot be read lets the apply go on.
bool WndAdvanced::isAdministratorKnown()
{
    QString name = m_editAdmin->text();
    const qsizetype at = name.indexOf(u'@');
    if (at >= 0)
        name.truncate(at);
    DBTable* domains = pickerTable(PickerDomains);
    if (name.startsWith(u'[')) {
        // Cutting the domain may have cut the closing bracket with it.
        if (!name.endsWith(u']'))
            name.append(u']');
        if (!loadPickerTable(PickerGroups))
            return true;
        return isInGroups(pickerTable(PickerGroups), name.mid(1, name.size() - 2), domains,
                          globalData.currentDomain);
    }
    if (!loadPickerTable(PickerUsers))
        return true;
    return isInUsers(pickerTable(PickerUsers), name, domains, globalData.currentDomain);
}

void WndAdvanced::slotBeforeApply()
{
    if (m_editAdmin->text().isEmpty())
        return;
    const QPointer<QWidget> page(this);
    const bool known = isAdministratorKnown();
    if (!page || known)
        return;
    askToCorrect(
        tr("Public folder administrator should be user or group!\nDo you want to correct the problem?"),
        m_editAdmin);
}
