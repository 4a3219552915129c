#pragma once

#include <QDialog>

class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTreeWidget;

// The form of the second import step: the template to apply, the accounts found (each
// with a check box), OK and Cancel. The widgets are children of the dialog.
class TDlgImport2 : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgImport2".
    explicit TDlgImport2(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                         Qt::WindowFlags fl = {});
    ~TDlgImport2() override;

    QLabel* TextLabel13;
    QComboBox* m_combo;
    QTreeWidget* m_list;
    QPushButton* m_btnOK;
    QPushButton* m__btnCancel;

protected:
    QGridLayout* TDlgImport2Layout;
    QHBoxLayout* Layout84;
    QHBoxLayout* Layout5;
};
