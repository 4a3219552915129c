#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;

// The form of the service dialog: on "Properties" the service's name, its port with
// "&Default" beside it and its startup type; on "Access" the restriction to one address
// group, chosen beside its "&Edit..." button, or for SMTP a note saying where its access is
// set; OK and Cancel below. The slots only complain; DlgService implements them. The widgets
// are children of the dialog.
class TDlgService : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgService".
    explicit TDlgService(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                         Qt::WindowFlags fl = {});
    ~TDlgService() override;

    QTabWidget* m_tabs;
    QWidget* tab;
    QLabel* TextLabel1;
    QLabel* m_labelName;
    QLabel* TextLabel2;
    QLineEdit* m_editPort;
    QPushButton* m_btnDefault;
    QLabel* TextLabel3;
    QComboBox* m_comboStartup;
    QWidget* tab_2;
    QCheckBox* m_chkOnlyAddressGroup;
    QComboBox* m_comboAddressGroup;
    QPushButton* m_btnEdit;
    QLabel* m_label;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;

public slots:
    virtual void slotDefault();
    virtual void slotEdit();
    virtual void slotOK();
    virtual void slotOnlyAddressGroup(bool on);

private:
    void buildPropertiesTab();
    void buildAccessTab();
};
