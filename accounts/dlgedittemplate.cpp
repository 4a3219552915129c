#include "dlgedittemplate.h"

#include "accountcolumns.h"
#include "accountfields.h"
#include "accounttexts.h"
#include "comboboxes.h"
#include "dbrow.h"
#include "dbtable.h"
#include "webmailfields.h"
#include "wndtemplate.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>

using AccountTexts::cell;
using AccountTexts::wholeNumber;

namespace {

const int GroupsPage = 1;

} // namespace

DlgEditTemplate::DlgEditTemplate(DBRow* row, DBConn* conn, DBTable* domains, DBTable* groups,
                                 DBTable* languages, WndTemplate* parent, const char* name,
                                 bool modal, Qt::WindowFlags fl, bool newTemplate)
    : TDlgEditTemplate(parent, name, modal, fl)
    , m_row(row)
    , m_domains(domains)
    , m_groups(groups)
    , m_languages(languages)
    , m_page(parent)
{
    m_editName->setEnabled(newTemplate);
    if (newTemplate)
        m_editName->setFocus();
    else
        m_editDesk->setFocus();
    if (!loadTables(conn))
        return;
    m_fields = std::make_unique<AccountFields>(
        AccountWidgets{m_listGroups, m_btnAdd, m_btnRemove, m_rbtnNoAcc, m_rbtnViewLogs,
                       m_rbtnFullAcc, m_editDiskSpace, m_comboKB, m_editNumMess},
        m_groups, this, m_untouched);
    m_fields->acceptNumbers();
    WebMailFields::acceptNumbers(webMailWidgets());
    fillFields();
    m_ready = true;
    slotTextChanged();
    slotChanged();
}

DlgEditTemplate::~DlgEditTemplate() = default;

QString DlgEditTemplate::noDomainText()
{
    return tr("No domain specified");
}

bool DlgEditTemplate::loadTables(DBConn* conn)
{
    // The loads wait; the page may be closed meanwhile, and this dialog with it.
    const QPointer<DlgEditTemplate> self(this);
    const int flags = DBTable::ReportRefusal;
    if (!m_domains->m_loaded
        && (!m_domains->select(m_page, conn, "domain", dbcol_domain, flags) || !self))
        return false;
    if (!m_groups->m_loaded
        && (!m_groups->select(m_page, conn, "group", dbcol_group, flags) || !self))
        return false;
    if (!m_languages->m_loaded
        && (!m_languages->function(m_page, conn, "get_languages()", dbcol_lang, 0) || !self))
        return false;
    return true;
}

void DlgEditTemplate::fillFields()
{
    m_editName->setText(cell(m_row, "tempname"));
    m_editDesk->setText(cell(m_row, "description"));
    fillDomains();
    const QString domain = cell(m_row, "domain");
    const QString shown = domain.isEmpty() ? noDomainText() : domain;
    ComboBoxes::setCurrentText(m_comboDomain, shown);
    slotDomainActivated(shown);
    // Groups a template for every domain holds nonetheless stay while its domain and its
    // groups are left alone; choosing "No domain specified" empties them.
    m_untouched.remember(QStringLiteral("groups"), cell(m_row, "groups"), {m_comboDomain});
    m_fields->loadGroups(m_row);
    m_fields->loadRights(m_row);
    m_fields->loadQuota(m_row);
    WebMailFields::load(webMailWidgets(), m_row, *m_languages, m_untouched);
    if (m_page)
        m_page->fillComboAuthTypes(m_auth, wholeNumber(m_row, "auth_type"));
    m_untouched.remember(QStringLiteral("auth_type"), cell(m_row, "auth_type"), {m_auth});
}

void DlgEditTemplate::fillDomains()
{
    m_comboDomain->addItem(noDomainText());
    // A domain alias takes the templates of the domain it belongs to.
    for (const auto& domain : m_domains->m_rows) {
        if (cell(domain.get(), "alias").isEmpty())
            m_comboDomain->addItem(cell(domain.get(), "domain"));
    }
}

QString DlgEditTemplate::groupDomain() const
{
    // The box names the primary domain, whose groups carry no domain.
    const QString chosen = m_comboDomain->currentText();
    for (const auto& domain : m_domains->m_rows) {
        if (cell(domain.get(), "domain") == chosen && wholeNumber(domain.get(), "type") == 0)
            return QString();
    }
    return chosen;
}

void DlgEditTemplate::slotDomainActivated(const QString& text)
{
    m_tabs->setTabEnabled(GroupsPage, text != noDomainText());
}

void DlgEditTemplate::slotTextChanged()
{
    m_btnOK->setEnabled(!m_editName->text().isEmpty());
}

void DlgEditTemplate::slotAdd()
{
    if (m_fields)
        m_fields->addGroups(groupDomain());
}

void DlgEditTemplate::slotChanged()
{
    if (m_fields)
        m_fields->updateRemoveButton();
}

void DlgEditTemplate::slotRemove()
{
    if (m_fields)
        m_fields->removeGroups();
}

WebMailWidgets DlgEditTemplate::webMailWidgets() const
{
    return {m_editNumMsg, m_editSentFolder, m_editDraftFolder, m_comboLang, m_chkShowFldList,
            m_chkShowSub};
}

void DlgEditTemplate::slotOK()
{
    // An unfilled dialog has nothing of the row to write back.
    if (!m_ready)
        return;
    const QPointer<DlgEditTemplate> self(this);
    if (!m_fields->confirmNumbers() || !self)
        return;
    writeFields();
    accept();
}

void DlgEditTemplate::writeFields()
{
    setCell(m_row, "tempname", m_editName->text());
    setCell(m_row, "description", m_editDesk->text());
    // Without a valid entry (the server did not list the types) the stored type stays.
    const int authIndex = m_auth->currentIndex();
    if (m_page && authIndex >= 0 && authIndex < m_page->authTypeCount())
        setCell(m_row, "auth_type", m_untouched.value(QStringLiteral("auth_type"),
                                                      QString::number(m_page->getId(unsigned(authIndex)))));
    if (m_comboDomain->currentText() == noDomainText()) {
        setCell(m_row, "domain", QString());
        const bool groupsLeftAlone = !m_fields->groupsTouched();
        setCell(m_row, "groups", groupsLeftAlone ? m_untouched.value(QStringLiteral("groups"), QString())
                                                 : QString());
    } else {
        setCell(m_row, "domain", m_comboDomain->currentText());
        m_fields->writeGroups(m_row);
    }
    m_fields->writeRights(m_row);
    m_fields->writeQuota(m_row);
    WebMailFields::write(webMailWidgets(), m_row, m_untouched);
}
