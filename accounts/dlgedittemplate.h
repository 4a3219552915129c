#pragma once

#include "tdlgedittemplate.h"
#include "untouchedfields.h"
#include "webmailfields.h"

#include <memory>

class AccountFields;
class DBConn;
class DBRow;
class DBTable;
class WndTemplate;

// The "Template" dialog on one row of the templates page's "template" table. Only OK
// writes into the row; the name can be changed only for a template just added. A template
// is bound to one domain or to none, and only one bound to a domain keeps groups: choosing
// "No domain specified" writes both empty. A template stored with no domain and some
// groups keeps them while its domain is left alone.
//
// The page's domain, group and language tables are loaded here the first time a dialog
// needs them; when a load fails the dialog is left unfilled and isReady() says so: the
// page then does not show it, and OK would write nothing.
class DlgEditTemplate : public TDlgEditTemplate
{
    Q_OBJECT

public:
    DlgEditTemplate(DBRow* row, DBConn* conn, DBTable* domains, DBTable* groups,
                    DBTable* languages, WndTemplate* parent, const char* name = nullptr,
                    bool modal = true, Qt::WindowFlags fl = {}, bool newTemplate = false);
    ~DlgEditTemplate() override;

    bool isReady() const { return m_ready; }
    // Whether the row is one the server does not hold yet: then OK writes what every field
    // shows, also where the row holds nothing (UntouchedFields).
    void setNewRow(bool newRow) { m_untouched.setNewRow(newRow); }
    // The domain box's first entry: the template serves every domain.
    static QString noDomainText();

public slots:
    void slotDomainActivated(const QString& text) override;
    void slotAdd() override;
    void slotChanged() override;
    void slotOK() override;
    void slotRemove() override;
    void slotTextChanged() override;

private:
    bool loadTables(DBConn* conn);
    void fillFields();
    void fillDomains();
    // The domain whose groups the picker offers: the one chosen, as group rows name it.
    QString groupDomain() const;
    void writeFields();
    WebMailWidgets webMailWidgets() const;

    DBRow* m_row;          // not owned
    DBTable* m_domains;    // the page's, not owned
    DBTable* m_groups;     // the page's, not owned
    DBTable* m_languages;  // the page's, not owned
    WndTemplate* m_page;
    // What the row stored for the fields that show it only as well as they can; declared
    // before the fields that refer to it.
    UntouchedFields m_untouched;
    std::unique_ptr<AccountFields> m_fields;
    bool m_ready = false;
};
