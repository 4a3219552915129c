#pragma once

#include "accountformparts.h"
#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
class QWidget;

// The form of the "Edit User" dialog: five tabs (general, groups, rights, quota and the
// web-mail settings) above "OK" and "Cancel". The slots only complain; DlgEditUser
// implements them. The widgets are children of the dialog.
class TDlgEditUser : public QDialog,
                     public AccountFormParts::General,
                     public AccountFormParts::Groups,
                     public AccountFormParts::Rights,
                     public AccountFormParts::Quota
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgEditUser".
    explicit TDlgEditUser(QWidget* parent = nullptr, const char* name = nullptr,
                          bool modal = false, Qt::WindowFlags fl = {});
    ~TDlgEditUser() override;

    QTabWidget* m_tab;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;

    // The tabs "General", "Groups", "Rights" and "Quota"; their widgets are the parts'
    // members.
    QWidget* general;
    QWidget* groups;
    QWidget* rights;
    QWidget* tab;

    // "Vazazuz"
    QWidget* tab_2;
    QLabel* TextLabel2_2_2_2;
    QLineEdit* m_editNumMsg;
    QLabel* TextLabel2_2_2_3;
    QLineEdit* m_editSentFolder;
    QLabel* TextLabel2_2_2_4;
    QLineEdit* m_editDraftFolder;
    QLabel* TextLabel1_2;
    QComboBox* m_comboLang;
    QLabel* TextLabel1_3;
    QLineEdit* m_editPIN;
    QCheckBox* m_chkShowFldList;
    QCheckBox* m_chkShowSub;
    QFrame* Line1;

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
