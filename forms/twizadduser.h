#pragma once

#include "accountformparts.h"
#include "wizard.h"

// The form of the "Add User" wizard: General, Groups, Rights and Quota pages. The help
// button, which reads "&Finish", accepts the wizard; the slots only complain until
// WizAddUser implements them. The pages and widgets are children of the wizard.
class TWizAddUser : public Wizard,
                    public AccountFormParts::General,
                    public AccountFormParts::Groups,
                    public AccountFormParts::Rights,
                    public AccountFormParts::Quota
{
    Q_OBJECT

public:
    // A null name gives the object name "TWizAddUser".
    explicit TWizAddUser(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                         Qt::WindowFlags fl = {});
    ~TWizAddUser() override;

    // The pages: General, Groups, Rights, Quota. Their widgets are the parts' members.
    QWidget* page1;
    QWidget* page2;
    QWidget* page3;
    QWidget* page;

public slots:
    virtual void slotFinish();
    virtual void slotAdd();
    virtual void slotChange();
    virtual void slotChangeGroup();
    virtual void slotChangePage(const QString& title);
    virtual void slotRemove();

private:
    void createGeneralPage();
    void createGroupsPage();
    void createRightsPage();
    void createQuotaPage();
    void connectSignals();
    void orderTabs();
};
