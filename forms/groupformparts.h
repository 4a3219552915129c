#pragma once

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QWidget;

// The three panes that the edit-group dialog shows on tabs and the add-group wizard on
// pages, built the same way for both. Each fills the page it is given with its widgets
// and layout; the widgets are children of that page.
namespace GroupFormParts {

// "Name:" and "Description:" with their fields, above a stretch.
struct NameFields
{
    QLabel* TextLabel1;
    QLineEdit* m_editName;
    QLabel* TextLabel3;
    QLineEdit* m_editDesk;
};
NameFields makeNameFields(QWidget* page);

// The members: a list of several selectable rows headed "Name", "Full Name",
// "Description", sorted by name, with "Add..." and "Remove" at its right.
struct MemberPane
{
    QTreeWidget* m_listUsers;
    QPushButton* m_btnAdd;
    QPushButton* m_btnRemove;
};
MemberPane makeMemberPane(QWidget* page);

// "User Rights": no access (checked at first), read only, read/write, one per row.
struct RightsBox
{
    QGroupBox* ButtonGroup1;
    QButtonGroup* ButtonGroup1Buttons; // keeps the three exclusive
    QRadioButton* m_rbtnNoAcc;
    QRadioButton* m_rbtnViewLogs;
    QRadioButton* m_rbtnFullAcc;
};
RightsBox makeRightsBox(QWidget* page);

} // namespace GroupFormParts
