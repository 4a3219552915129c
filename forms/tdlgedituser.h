#pragma once

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
class TDlgEditUser : public QDialog
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

    // "General"
    QWidget* general;
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

    // "Groups"
    QWidget* groups;
    QTreeWidget* m_listGroups;
    QPushButton* m_btnAdd;
    QPushButton* m_btnRemove;

    // "Rights"
    QWidget* rights;
    QGroupBox* ButtonGroup1;
    QButtonGroup* ButtonGroup1Buttons;
    QRadioButton* m_rbtnNoAcc;
    QRadioButton* m_rbtnViewLogs;
    QRadioButton* m_rbtnFullAcc;

    // "Quota"
    QWidget* tab;
    QGroupBox* GroupBox1;
    QLabel* TextLabel7_2;
    QLineEdit* m_editDiskSpace;
    QComboBox* m_comboKB;
    QLabel* TextLabel8_2;
    QLineEdit* m_editNumMess;
    QLabel* TextLabel9_2;

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
