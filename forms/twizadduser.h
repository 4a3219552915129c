#pragma once

#include "wizard.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

// The form of the "Add User" wizard: General, Groups, Rights and Quota pages. The help
// button, which reads "&Finish", accepts the wizard; the slots only complain until
// WizAddUser implements them. The pages and widgets are children of the wizard.
class TWizAddUser : public Wizard
{
    Q_OBJECT

public:
    // A null name gives the object name "TWizAddUser".
    explicit TWizAddUser(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                         Qt::WindowFlags fl = {});
    ~TWizAddUser() override;

    QWidget* page1;
    QLabel* TextLabel1;
    QLineEdit* m_editName;
    QLabel* TextLabel2;
    QLineEdit* m_editFull;
    QLabel* TextLabel3;
    QLineEdit* m_editDesk;
    QLabel* TextLabel6;
    QComboBox* m_auth;
    QLabel* m_lblPass;
    QLineEdit* m_editPass;
    QLabel* m_lblPass2;
    QLineEdit* m_editConfPass;
    QCheckBox* m_chkDisabled;

    QWidget* page2;
    QTreeWidget* m_listGroups;
    QPushButton* m_btnAdd;
    QPushButton* m_btnRemove;

    QWidget* page3;
    QGroupBox* ButtonGroup1;
    QButtonGroup* ButtonGroup1Buttons;
    QRadioButton* m_rbtnNoAcc;
    QRadioButton* m_rbtnViewLogs;
    QRadioButton* m_rbtnFullAcc;

    QWidget* page;
    QGroupBox* GroupBox1;
    QLabel* TextLabel7_2;
    QLineEdit* m_editDiskSpace;
    QComboBox* m_comboKB;
    QLabel* TextLabel8_2;
    QLineEdit* m_editNumMess;
    QLabel* TextLabel9_2;

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
