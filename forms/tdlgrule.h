#pragma once

#include <QDialog>

class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The form of the "Sorting Rule" dialog: the sort address and the local recipient it
// delivers to, with a finder for the recipient, above "OK" and "Cancel". The slots only
// complain; DlgRule implements them. The widgets are children of the dialog.
class TDlgRule : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgRule".
    explicit TDlgRule(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                      Qt::WindowFlags fl = {});
    ~TDlgRule() override;

    QGroupBox* GroupBox9;
    QPushButton* m_btnBrowse;
    QLabel* TextLabel1;
    QLineEdit* m_editContent;
    QLabel* TextLabel2;
    QLineEdit* m_editDeliver;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;

public slots:
    virtual void slotOK();
    virtual void slotSelect();

protected:
    QVBoxLayout* TDlgRuleLayout;
    QVBoxLayout* GroupBox9Layout;
    QGridLayout* Layout9;
    QHBoxLayout* Layout10;
};
