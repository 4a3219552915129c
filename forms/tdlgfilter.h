#pragma once

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// The form of one header filter rule: the header, the test and the text the test looks
// for. The slot only complains; DlgFilter implements it. The widgets are children of the
// dialog.
class TDlgFilter : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgFilter".
    explicit TDlgFilter(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                        Qt::WindowFlags fl = {});
    ~TDlgFilter() override;

    QGroupBox* ButtonGroup15;
    QLabel* TextLabel1;
    QComboBox* m_comboHeader;
    QLabel* TextLabel2;
    QComboBox* m_comboType;
    QLabel* m_lblContent;
    QLineEdit* m_editContent;
    QPushButton* m_rbtnOK;
    QPushButton* m_rbtnCancel;

public slots:
    virtual void slotTypeActivated(int type);

protected:
    QVBoxLayout* TDlgFilterLayout;
};
