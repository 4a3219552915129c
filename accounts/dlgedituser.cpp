#include "dlgedituser.h"

#include "accountcolumns.h"
#include "accountfields.h"
#include "accounttexts.h"
#include "dbrow.h"
#include "dbtable.h"
#include "dialogseam.h"
#include "numberfields.h"
#include "passwordplaceholder.h"
#include "webmailfields.h"
#include "wnduser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPointer>

using AccountTexts::cell;
using AccountTexts::wholeNumber;

namespace {

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

DlgEditUser::DlgEditUser(DBRow* row, DBConn* conn, DBTable* groups, DBTable* languages,
                         WndUser* parent, const char* name, bool modal, Qt::WindowFlags fl)
    : TDlgEditUser(parent, name, modal, fl)
    , m_row(row)
    , m_groups(groups)
    , m_languages(languages)
    , m_page(parent)
{
    if (!loadTables(conn))
        return;
    m_fields = std::make_unique<AccountFields>(
        AccountWidgets{m_listGroups, m_btnAdd, m_btnRemove, m_rbtnNoAcc, m_rbtnViewLogs,
                       m_rbtnFullAcc, m_editDiskSpace, m_comboKB, m_editNumMess},
        m_groups, this, m_untouched);
    m_fields->acceptNumbers();
    WebMailFields::acceptNumbers(webMailWidgets());
    NumberFields::acceptDigits(m_editPIN, 9999);
    fillFields();
    m_ready = true;
    slotTextChanged();
    slotChanged();
}

DlgEditUser::~DlgEditUser() = default;

bool DlgEditUser::loadTables(DBConn* conn)
{
    // The loads wait; the page may be closed meanwhile, and this dialog with it.
    const QPointer<DlgEditUser> self(this);
    // As every dialog's own load: a refusal is reported, and the indicator shows only once
    // the wait lasts; Abort there is a refused load.
    if (!m_groups->m_loaded
        && (!m_groups->select(m_page, conn, "group", dbcol_group, DBTable::ReportRefusal) || !self))
        return false;
    if (!m_languages->m_loaded
        && (!m_languages->function(m_page, conn, "get_languages()", dbcol_lang, 0) || !self))
        return false;
    return true;
}

void DlgEditUser::fillFields()
{
    m_editName->setText(cell(m_row, "name"));
    m_editFull->setText(cell(m_row, "fullname"));
    m_editDesk->setText(cell(m_row, "description"));
    m_editPass->setText(passwordPlaceholder());
    m_editConfPass->setText(passwordPlaceholder());
    m_chkDisabled->setChecked(wholeNumber(m_row, "account_enabled") == 0);
    m_untouched.remember(QStringLiteral("account_enabled"), cell(m_row, "account_enabled"), {m_chkDisabled});
    m_fields->loadGroups(m_row);
    m_fields->loadRights(m_row);
    m_fields->loadQuota(m_row);
    WebMailFields::load(webMailWidgets(), m_row, *m_languages, m_untouched);
    m_editPIN->clear();
    if (m_page)
        m_page->fillComboAuthTypes(m_auth, wholeNumber(m_row, "auth_type"));
    m_untouched.remember(QStringLiteral("auth_type"), cell(m_row, "auth_type"), {m_auth});
}

WebMailWidgets DlgEditUser::webMailWidgets() const
{
    return {m_editNumMsg, m_editSentFolder, m_editDraftFolder, m_comboLang, m_chkShowFldList,
            m_chkShowSub};
}

void DlgEditUser::slotTextChanged()
{
    const bool internal = m_auth->currentIndex() == 0;
    const bool passwordsMatch = m_editPass->text() == m_editConfPass->text();
    m_btnOK->setEnabled(!m_editName->text().isEmpty() && (passwordsMatch || !internal));
    for (QWidget* field : {static_cast<QWidget*>(m_editPass), static_cast<QWidget*>(m_editConfPass),
                           static_cast<QWidget*>(m_lblPass), static_cast<QWidget*>(m_lblPass2)})
        field->setEnabled(internal);
}

void DlgEditUser::slotAdd()
{
    if (m_fields)
        m_fields->addGroups();
}

void DlgEditUser::slotChanged()
{
    if (m_fields)
        m_fields->updateRemoveButton();
}

void DlgEditUser::slotRemove()
{
    if (m_fields)
        m_fields->removeGroups();
}

bool DlgEditUser::pinAccepted(const QString& pin) const
{
    if (pin.size() != 4)
        return false;
    return std::all_of(pin.begin(), pin.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

void DlgEditUser::slotOK()
{
    // An unfilled dialog has nothing of the row to write back.
    if (!m_ready)
        return;
    const QString pin = m_editPIN->text();
    if (!pin.isEmpty() && !pinAccepted(pin)) {
        Dialogs::warning(nullptr, tr("Ornel Corvane Administration"),
                         tr("PIN for web access must exactly contain four numbers!"),
                         QMessageBox::Ok);
        return;
    }
    const QPointer<DlgEditUser> self(this);
    if (!m_fields->confirmNumbers() || !self)
        return;
    if (!pin.isEmpty())
        setCell(m_row, "pin", QLatin1String("NUL:") + pin);
    writeFields();
    accept();
}

void DlgEditUser::writeFields()
{
    setCell(m_row, "fullname", m_editFull->text());
    setCell(m_row, "description", m_editDesk->text());
    if (m_editPass->text() != passwordPlaceholder())
        setCell(m_row, "password", QLatin1String("NUL:") + m_editPass->text());
    setCell(m_row, "account_enabled",
            m_untouched.value(QStringLiteral("account_enabled"), flag(!m_chkDisabled->isChecked())));
    // Without a valid entry (the server did not list the types) the stored type stays.
    const int authIndex = m_auth->currentIndex();
    if (m_page && authIndex >= 0 && authIndex < m_page->authTypeCount())
        setCell(m_row, "auth_type", m_untouched.value(QStringLiteral("auth_type"),
                                                      QString::number(m_page->getId(unsigned(authIndex)))));
    m_fields->writeGroups(m_row);
    m_fields->writeRights(m_row);
    m_fields->writeQuota(m_row);
    WebMailFields::write(webMailWidgets(), m_row, m_untouched);
}
