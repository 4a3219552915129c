#pragma once

#include "accountformparts.h"
#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QWidget;

// The form of the "Template" dialog: five tabs (general with the domain, groups, rights,
// quota and the web-mail settings) above "OK" and "Cancel". The slots only complain;
// DlgEditTemplate implements them. The widgets are children of the dialog. A template has
// no full name, password or PIN, so its general tab is its own.
class TDlgEditTemplate : public QDialog,
                         public AccountFormParts::Groups,
                         public AccountFormParts::Rights,
                         public AccountFormParts::Quota,
                         public AccountFormParts::WebMail,
                         public AccountFormParts::DialogButtons
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgEditTemplate".
    explicit TDlgEditTemplate(QWidget* parent = nullptr, const char* name = nullptr,
                              bool modal = false, Qt::WindowFlags fl = {});
    ~TDlgEditTemplate() override;

    QTabWidget* m_tabs;

    // "General"
    QWidget* general;
    QLabel* TextLabel1;
    QLineEdit* m_editName;
    QLabel* TextLabel3;
    QLineEdit* m_editDesk;
    QLabel* TextLabel6;
    QComboBox* m_auth;
    QLabel* TextLabel3_2;
    QComboBox* m_comboDomain;
    QLabel* TextLabel12;

    // The tabs "Groups", "Rights", "Quota" and "Vazazuz"; their widgets, and "OK" and
    // "Cancel", are the parts' members.
    QWidget* groups;
    QWidget* rights;
    QWidget* tab;
    QWidget* tab_2;

public slots:
    virtual void slotDomainActivated(const QString& text);
    virtual void slotAdd();
    virtual void slotChanged();
    virtual void slotOK();
    virtual void slotRemove();
    virtual void slotTextChanged();

private:
    void createGeneralTab();
    void createSharedTabs();
    void connectSignals();
    void orderTabs();
};
