#pragma once

#include "configpage.h"
#include "dbtable.h"
#include "twndadvanced.h"

// "Advanced Options": reverse lookups, what the server tells of itself, the public folders
// administrator (the settings row of "misc"); the security mode with its address-group
// exceptions and the authentication methods that are switched off (the settings row of
// "security"); and the server's certificate, shown field by field, which "Generate" has
// the server replace at once by a new self-signed one.
//
// What the page cannot show is kept until the administrator changes it: a mode outside the
// box's entries, an empty exception group (the first group only stands in for it, until the
// administrator chooses another group or turns the exception on) and the disabled method names
// that get_auth_methods() does not list.
class WndAdvanced : public TWndAdvanced, public ConfigPage
{
    Q_OBJECT

public:
    WndAdvanced(QWidget* parent, DBConn* conn, DBCtrl* ctrl, Desktop* desktop, const char* name,
                Qt::WindowFlags flags);
    ~WndAdvanced() override;

    void updateData() override;
    void updateObject() override;

    // The methods switched off in a DisabledMethods text: whole names between commas.
    static bool isDisabled(const QString& disabledMethods, const QString& method);

public slots:
    void slotBeforeApply() override;
    void slotChanged() override;
    void slotEditInsecure() override;
    void slotEditUnenc() override;
    void slotGen() override;
    void slotSelect() override;
    void slotUpdateView() override;

protected:
    void writeRows() override;

private:
    void bindCells();
    void showCertificate();
    void showMethods(const QString& disabledMethods);
    QString disabledMethods();
    void editAddressGroups(QComboBox* shown);
    bool generateCertificate(const QString& statement);
    bool isAdministratorKnown();

    DBTable m_misc;
    DBTable m_security;
    DBTable m_acl;
    DBTable m_certificate;
    DBTable m_methods;
};
