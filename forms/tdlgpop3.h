#pragma once

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

// The form of the "POP3 Account" dialog: the remote mailbox and where its mail goes on
// "General", SSL, port, authentication and the message limit on "Advanced", above "OK"
// and "Cancel". The three boxes start empty: the page fills them. The slots only
// complain; DlgPop3 implements them. The widgets are children of the dialog.
class TDlgPop3 : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgPop3".
    explicit TDlgPop3(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                      Qt::WindowFlags fl = {});
    ~TDlgPop3() override;

    QTabWidget* TabWidget7;
    QWidget* tab;
    QWidget* ButtonGroup9;
    QButtonGroup* m_deliveryChoice; // makes the two radio buttons exclusive
    QLabel* TextLabel1;
    QLineEdit* m_editServer;
    QLabel* TextLabel2;
    QLineEdit* m_editUser;
    QLabel* TextLabel3;
    QLineEdit* m_editPass;
    QLabel* TextLabel4;
    QLineEdit* m_editDescription;
    QRadioButton* m_rbtnAddress;
    QLineEdit* m_editAddress;
    QPushButton* m_btnBrowse;
    QRadioButton* m_rbtnRule;
    QLabel* TextLabelIndent;
    QLabel* TextLabel5;
    QComboBox* m_comboRule;
    QWidget* tab_2;
    QCheckBox* m_chkUseSSL;
    QLabel* TextLabel6;
    QComboBox* m_comboSSL;
    QLabel* TextLabel7;
    QLineEdit* m_editPort;
    QPushButton* m_btnDefault;
    QLabel* TextLabel8;
    QComboBox* m_comboAuth;
    QLabel* TextLabel9;
    QLineEdit* m_editMaxMsg;
    QLabel* TextLabel10;
    QPushButton* m_btnOK;
    QPushButton* m__btnCancel;

public slots:
    virtual void slotSSLActivated(int index);
    virtual void slotDefault();
    virtual void slotDeliverToggled(bool on);
    virtual void slotOK();
    virtual void slotSelect();
    virtual void slotSortingRulesToggled(bool on);
    virtual void slotUseSSL(bool on);

protected:
    QGridLayout* TDlgPop3Layout;
    QGridLayout* tabLayout;
    QGridLayout* ButtonGroup9Layout;
    QGridLayout* tabLayout_2;
    QHBoxLayout* Layout1;

private:
    void buildGeneralTab();
    void buildAdvancedTab();
};
