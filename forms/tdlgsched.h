#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The form of the "Scheduled Action" dialog: a description, the time condition ("Every"
// an interval or "At" a time of day, optionally only within a time range), the actions
// and the dial-up option, above "OK" and "Cancel". The slots only complain; DlgSched
// implements them. The widgets are children of the dialog.
class TDlgSched : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgSched".
    explicit TDlgSched(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                       Qt::WindowFlags fl = {});
    ~TDlgSched() override;

    QLabel* TextLabel1;
    QLineEdit* m_editDesc;
    QGroupBox* ButtonGroup15;
    QComboBox* m_comboEveryAt;
    QLineEdit* m_edit;
    QComboBox* m_comboMin;
    QLabel* m_label;
    QCheckBox* m_chkValid;
    QComboBox* m_combo;
    QPushButton* m_btnEdit;
    QGroupBox* GroupBox2;
    QCheckBox* m_chkSend;
    QCheckBox* m_chkReceive;
    QCheckBox* m_chkOdmr;
    QGroupBox* GroupBox1;
    QCheckBox* m_chkDialRAS;
    QPushButton* m_rbtnOK;
    QPushButton* m_rbtnCancel;

public slots:
    virtual void slotAlwaysToggled(bool on);
    virtual void slotDaysToggled(bool on);
    virtual void slotEdit();
    virtual void slotEveryAtActivated(int item);
    virtual void slotOK();
    virtual void slotTimeIntToggled(bool on);
    virtual void slotValidChecked();

protected:
    QVBoxLayout* TDlgSchedLayout;
};
