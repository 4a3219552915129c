#pragma once

#include <QDialog>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The form of the "Generate Certificate" dialog: the attributes of a new self-signed
// certificate (host name, organization, unit, city, state and country) and OK and Cancel.
// The slots only complain; DlgGenCert implements them. The widgets are children of the
// form.
class TDlgGenCert : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgGenCert".
    explicit TDlgGenCert(QWidget* parent = nullptr, const char* name = nullptr,
                         bool modal = false, Qt::WindowFlags fl = {});
    ~TDlgGenCert() override;

    QGroupBox* GroupBox1;
    QLabel* TextLabel2;
    QLineEdit* m_editHostname;
    QLabel* TextLabel2_2;
    QLineEdit* m_editOrgName;
    QLabel* TextLabel2_3;
    QLineEdit* m_editOrgUnit;
    QLabel* TextLabel2_4;
    QLineEdit* m_editCity;
    QLabel* TextLabel2_5;
    QLineEdit* m_editState;
    QLabel* TextLabel2_6;
    QComboBox* m_comboCountry;
    QLabel* TextLabel3;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;

public slots:
    virtual void slotChange();
    virtual void slotOK();

protected:
    QVBoxLayout* TDlgGenCertLayout;
    QGridLayout* GroupBox1Layout;
    QHBoxLayout* Layout13;

private:
    void setTexts();
};
