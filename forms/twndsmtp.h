#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QVBoxLayout;

// The form of the "SMTP Properties" page: a tab "Delivery" with the delivery mode, the relay
// server and its authentication, and a tab "Options" with the size limit, the delivery
// threads, the queue's times with their units, the hop limit and the SSL choice. The two
// radio buttons belong to no button group: the page keeps them exclusive. The slots only complain;
// WndSmtp implements them. The widgets are children of the form.
class TWndSmtp : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndSmtp".
    explicit TWndSmtp(QWidget* parent = nullptr, const char* name = nullptr,
                      Qt::WindowFlags fl = {});
    ~TWndSmtp() override;

    QTabWidget* m_tabs;
    QWidget* tab;
    QRadioButton* m_rbtnDNS;
    QRadioButton* m_rbtnSMTP;
    QLabel* TextLabel1_2;
    QLabel* TextLabel1;
    QLineEdit* m_editHostname;
    QLabel* TextLabel1_3;
    QLabel* TextLabel2_3;
    QLineEdit* m_editPort;
    QPushButton* m_btnDefault;
    QLabel* TextLabel2_2;
    QCheckBox* m_chkAuth;
    QLabel* TextLabel3_2;
    QLabel* TextLabel2;
    QLineEdit* m_editUser;
    QLabel* TextLabel4;
    QLabel* TextLabel3;
    QLineEdit* m_editPassword;
    QLabel* TextLabel4_2;
    QLabel* TextLabel3_3;
    QComboBox* m_comboAuth;

    QWidget* tab_2;
    QLabel* TextLabel21;
    QLineEdit* m_editMessageSize;
    QComboBox* m_comboKB;
    QLabel* TextLabel22;
    QLineEdit* m_editThreads;
    QLabel* TextLabel23;
    QLineEdit* m_editRetry;
    QComboBox* m_comboSec;
    QLabel* TextLabel24;
    QLineEdit* m_editWarning;
    QComboBox* m_comboWarn;
    QLabel* TextLabel25;
    QLineEdit* m_editBounce;
    QComboBox* m_comboMin;
    QLabel* TextLabel26;
    QLineEdit* m_editHops;
    QCheckBox* m_chkUseSSL;

public slots:
    virtual void slotDefault();
    virtual void slotChange();
    virtual void slotToggleAuth(bool on);
    virtual void slotToggleDNS(bool on);
    virtual void slotToggleSMTP(bool on);

protected:
    QGridLayout* TWndSmtpLayout;
    QVBoxLayout* tabLayout;
    QVBoxLayout* tabLayout_2;
    QGridLayout* OptionsGrid;

private:
    void createDeliveryTab();
    void createOptionsTab();
    void setTexts();
    void connectSignals();
};
