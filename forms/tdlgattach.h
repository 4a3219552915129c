#pragma once

#include <QDialog>

class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

// The form of one attachment filter rule: a file name pattern or a MIME type, and whether
// a matching attachment is blocked or accepted. The slots only complain; DlgAttach
// implements them. The widgets are children of the dialog.
class TDlgAttach : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgAttach".
    explicit TDlgAttach(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                        Qt::WindowFlags fl = {});
    ~TDlgAttach() override;

    QGroupBox* GroupBox1;
    QComboBox* m_comboType;
    QComboBox* m_comboContent;
    QGroupBox* ButtonGroup1;
    QRadioButton* m_rbtnBlock;
    QRadioButton* m_rbtnAccept;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;

public slots:
    virtual void slotOK();
    virtual void slotTypeActivated(int type);

protected:
    QVBoxLayout* TDlgAttachLayout;
};
