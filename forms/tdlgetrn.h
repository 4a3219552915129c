#pragma once

#include <QDialog>

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The form of the "ETRN Download" dialog: the server to send ETRN to, its domains, and
// the user name and password for a server that requires authentication, above "OK" and
// "Cancel". The slots only complain; DlgEtrn implements them. The widgets are children of
// the dialog.
class TDlgEtrn : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgEtrn".
    explicit TDlgEtrn(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                      Qt::WindowFlags fl = {});
    ~TDlgEtrn() override;

    QGroupBox* GroupBox10;
    QLabel* TextLabel1;
    QLineEdit* m_editServer;
    QLabel* TextLabel2;
    QLineEdit* m_editDomain;
    QLabel* TextLabel3;
    QCheckBox* m_chkAuth;
    QLabel* TextLabel4;
    QLineEdit* m_editUser;
    QLabel* TextLabel5;
    QLineEdit* m_editPass;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;

public slots:
    virtual void slotAuthToggled(bool on);
    virtual void slotOK();

protected:
    QVBoxLayout* TDlgEtrnLayout;
    QVBoxLayout* GroupBox10Layout;
    QGridLayout* Layout10;
    QHBoxLayout* Layout11;
};
