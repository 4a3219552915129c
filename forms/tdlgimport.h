#pragma once

#include <QDialog>

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// The form of the first import step: where the users come from ("NT Domain") and the
// domain's name, OK and Cancel. The widgets are children of the dialog.
class TDlgImport : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgImport".
    explicit TDlgImport(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                        Qt::WindowFlags fl = {});
    ~TDlgImport() override;

    QLabel* TextLabel1;
    QComboBox* m_comboFrom;
    QLineEdit* m_editDomain;
    QPushButton* m_btnOK;
    QPushButton* m__btnCancel;

protected:
    QGridLayout* TDlgImportLayout;
    QHBoxLayout* Layout5;
};
