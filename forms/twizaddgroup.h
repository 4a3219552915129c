#pragma once

#include "wizard.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

// The form of the "Add Group" wizard: the pages General (name and description), Users (the
// members) and Rights. The help button, which reads "&Finish", accepts the wizard; the slots
// only complain until WizAddGroup implements them. The pages and widgets are children of the
// wizard.
class TWizAddGroup : public Wizard
{
    Q_OBJECT

public:
    // A null name gives the object name "TWizAddGroup".
    explicit TWizAddGroup(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                          Qt::WindowFlags fl = {});
    ~TWizAddGroup() override;

    QWidget* page1;
    QLabel* TextLabel1;
    QLineEdit* m_editName;
    QLabel* TextLabel3;
    QLineEdit* m_editDesk;

    QWidget* page2;
    QTreeWidget* m_listUsers;
    QPushButton* m_btnAdd;
    QPushButton* m_btnRemove;

    QWidget* page3;
    QGroupBox* ButtonGroup1;
    QButtonGroup* ButtonGroup1Buttons;
    QRadioButton* m_rbtnNoAcc;
    QRadioButton* m_rbtnViewLogs;
    QRadioButton* m_rbtnFullAcc;

public slots:
    virtual void slotChange();
    virtual void slotAdd();
    virtual void slotChangePage(const QString& title);
    virtual void slotChangeUser();
    virtual void slotRemove();

private:
    void createPages();
    void connectSignals();
    void orderTabs();
};
