#pragma once

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

// The form of the "Backup" page: whether mail is backed up, all of it or only outgoing
// mail, to a remote address and or into local folders named by a format (with a legend of
// the format's codes and a preview of today's name), and who may access those folders. The
// slots only complain; WndBackup implements them. The widgets are children of the form.
class TWndBackup : public QWidget
{
    Q_OBJECT

public:
    // A null name gives the object name "TWndBackup".
    explicit TWndBackup(QWidget* parent = nullptr, const char* name = nullptr,
                        Qt::WindowFlags fl = {});
    ~TWndBackup() override;

    QCheckBox* m_chkEnable;
    QGroupBox* ButtonGroup1;
    QRadioButton* m_rbtnBackup;
    QRadioButton* m_rbtnOnly;
    QGroupBox* GroupBox1;
    QCheckBox* m_chkRemote;
    QLineEdit* m_editRemote;
    QCheckBox* m_chkLocal;
    QLabel* TextLabel8_2;
    QLabel* TextLabel18;
    QLineEdit* m_editFormat;
    QFrame* Frame12;
    QLabel* TextLabel10_5_2;
    QLabel* TextLabel10_2_2_2;
    QLabel* TextLabel10_3_4_2;
    QLabel* TextLabel10_3_2_2_2;
    QLabel* TextLabel10_4_2_2;
    QLabel* TextLabel10_3_3_2_2;
    QLineEdit* m_editView;
    QLabel* TextLabel39;
    QLineEdit* m_editFolder;
    QPushButton* m_btnBrowse;
    QLabel* TextLabel40;

public slots:
    virtual void slotChanged();
    virtual void slotSelect();

protected:
    QVBoxLayout* TWndBackupLayout;
    QButtonGroup* m_modeGroup;
    QVBoxLayout* ButtonGroup1Layout;
    QGridLayout* GroupBox1Layout;
    QGridLayout* Frame12Layout;

private:
    void createWidgets();
    void createLayout();
    void setTexts();
    void connectSignals();
};
