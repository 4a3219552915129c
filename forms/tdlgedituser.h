#pragma once

#include "accountformparts.h"
#include <QDialog>

class QTabWidget;
class QWidget;

// The form of the "Edit User" dialog: five tabs (general, groups, rights, quota and the
// web-mail settings) above "OK" and "Cancel". The slots only complain; DlgEditUser
// implements them. The widgets are children of the dialog.
class TDlgEditUser : public QDialog,
                     public AccountFormParts::General,
                     public AccountFormParts::Groups,
                     public AccountFormParts::Rights,
                     public AccountFormParts::Quota,
                     public AccountFormParts::WebMail,
                     public AccountFormParts::WebMailPin,
                     public AccountFormParts::DialogButtons
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgEditUser".
    explicit TDlgEditUser(QWidget* parent = nullptr, const char* name = nullptr,
                          bool modal = false, Qt::WindowFlags fl = {});
    ~TDlgEditUser() override;

    QTabWidget* m_tab;

    // The tabs "General", "Groups", "Rights", "Quota" and "Vazazuz"; their widgets, and
    // "OK" and "Cancel", are the parts' members.
    QWidget* general;
    QWidget* groups;
    QWidget* rights;
    QWidget* tab;
    QWidget* tab_2;

public slots:
    virtual void slotTextChanged();
    virtual void slotAdd();
    virtual void slotChanged();
    virtual void slotOK();
    virtual void slotRemove();

private:
    void createGeneralTab();
    void createGroupsTab();
    void createRightsTab();
    void createQuotaTab();
    void createWebTab();
    void connectSignals();
    void orderTabs();
};
