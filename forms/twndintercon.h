#pragma once

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QRadioButton;
class QVBoxLayout;

// The form of the "Internet Connection" page: online or offline, and when offline whether
// the server dials out over a line of its phonebook, with the line's user and password. The
// slots only complain; WndInterCon implements them. The widgets are children of the form.
class TWndInterCon : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndInterCon".
    explicit TWndInterCon(QWidget* parent = nullptr, const char* name = nullptr,
                          Qt::WindowFlags fl = {});
    ~TWndInterCon() override;

    QGroupBox* ButtonGroup1;
    QRadioButton* m_rbtnOnline;
    QRadioButton* m_rbtnOffline;
    QLabel* TextLabel4;
    QCheckBox* m_chkUseRAS;
    QLabel* TextLabel1_2;
    QLabel* TextLabel1;
    QComboBox* m_rasLine;
    QLabel* TextLabel1_2_2;
    QLabel* TextLabel2;
    QLineEdit* m_editUser;
    QLabel* TextLabel1_2_3;
    QLabel* TextLabel3;
    QLineEdit* m_editPass;

public slots:
    virtual void slotChanged();
    virtual void slotToogleOffline(bool on);
    virtual void slotToogleOnline(bool on);
    virtual void slotToogleUseRas(bool on);

protected:
    QVBoxLayout* TWndInterConLayout;
    QButtonGroup* m_modeGroup;
    QGridLayout* ButtonGroup1Layout;
    QHBoxLayout* Layout19;
    QGridLayout* Layout7;

private:
    void createWidgets();
    void createLayout();
    void setTexts();
    void connectSignals();
};
