#pragma once

class QButtonGroup;
class QString;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QVBoxLayout;
class QWidget;

// The parts the edit-user dialog and the add-user wizard show alike, built under the same
// object names and texts in each: the account's general fields, its groups list, its
// rights and its quota. A form derives from the parts it shows, so their widgets are its
// members under their names, and builds each on its page. Every widget is a child of the
// given page.
namespace AccountFormParts {

QLabel* makeLabel(QWidget* parent, const char* objectName, const QString& text);
QLineEdit* makeEdit(QWidget* parent, const char* objectName, bool secret = false);

struct General
{
    QLabel* TextLabel1;
    QLineEdit* m_editName;
    QLabel* TextLabel2;
    QLineEdit* m_editFull;
    QLabel* TextLabel3;
    QLineEdit* m_editDesk;
    QLabel* TextLabel6;
    QComboBox* m_auth;
    QLabel* m_lblPass;
    QLineEdit* m_editPass;
    QLabel* m_lblPass2;
    QLineEdit* m_editConfPass;
    QCheckBox* m_chkDisabled;
};
// The rows, each label at least 120 pixels wide, then the box; returns their column.
QVBoxLayout* build(General& parts, QWidget* page);

struct Groups
{
    QTreeWidget* m_listGroups; // "Name", "Description"; extended selection
    QPushButton* m_btnAdd;
    QPushButton* m_btnRemove;
};
// The list on the left, the buttons above a spacer on its right.
void build(Groups& parts, QWidget* page);

struct Rights
{
    QGroupBox* ButtonGroup1;
    QButtonGroup* ButtonGroup1Buttons;
    QRadioButton* m_rbtnNoAcc; // checked
    QRadioButton* m_rbtnViewLogs;
    QRadioButton* m_rbtnFullAcc;
};
// The "User Rights" box at the top of the page, a spacer below.
void build(Rights& parts, QWidget* page);

struct Quota
{
    QGroupBox* GroupBox1;
    QLabel* TextLabel7_2;
    QLineEdit* m_editDiskSpace;
    QComboBox* m_comboKB; // "KB", "MB", "GB"
    QLabel* TextLabel8_2;
    QLineEdit* m_editNumMess;
    QLabel* TextLabel9_2;
};
// The "User quota" box at the top of the page, a spacer below.
void build(Quota& parts, QWidget* page);

} // namespace AccountFormParts
