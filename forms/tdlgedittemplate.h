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

// The form of the "Template" dialog: five tabs (general with the domain, groups, rights,
// quota and the web-mail settings) above "OK" and "Cancel". The slots only complain;
// DlgEditTemplate implements them. The widgets are children of the dialog.
class TDlgEditTemplate : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgEditTemplate".
    explicit TDlgEditTemplate(QWidget* parent = nullptr, const char* name = nullptr,
                              bool modal = false, Qt::WindowFlags fl = {});
    ~TDlgEditTemplate() override;

    QTabWidget* m_tabs;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;

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
    QCheckBox* m_chkShowFldList;
    QCheckBox* m_chkShowSub;
    QFrame* Line1;

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
