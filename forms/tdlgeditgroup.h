#pragma once

#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
class QWidget;

// The form of the "Edit Group" dialog: the tabs "General" (name, shown only, and
// description), "Users" (the members) and "Rights", above "OK" and "Cancel". The slots
// only complain; DlgEditGroup implements them. The widgets are children of the dialog.
class TDlgEditGroup : public QDialog
{
    Q_OBJECT

public:
    // A null name gives the object name "TDlgEditGroup".
    explicit TDlgEditGroup(QWidget* parent = nullptr, const char* name = nullptr,
                           bool modal = false, Qt::WindowFlags fl = {});
    ~TDlgEditGroup() override;

    QTabWidget* m_tab;
    QPushButton* m_btnOK;
    QPushButton* m_btnCancel;

    // "General"
    QWidget* general;
    QLabel* TextLabel1;
    QLineEdit* m_editName;
    QLabel* TextLabel3;
    QLineEdit* m_editDesk;

    // "Users"
    QWidget* users;
    QTreeWidget* m_listUsers;
    QPushButton* m_btnAdd;
    QPushButton* m_btnRemove;

    // "Rights"
    QWidget* rights;
    QGroupBox* ButtonGroup1;
    QButtonGroup* ButtonGroup1Buttons;
    QRadioButton* m_rbtnNoAcc;
    QRadioButton* m_rbtnViewLogs;
    QRadioButton* m_rbtnFullAcc;

public slots:
    virtual void slotTextChanged();
    virtual void slotAdd();
    virtual void slotChanged();
    virtual void slotOK();
    virtual void slotRemove();

private:
    void createTabs();
    void createButtons();
    void connectSignals();
    void orderTabs();
};
