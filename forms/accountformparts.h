#pragma once

class QButtonGroup;
class QString;
class QCheckBox;
class QComboBox;
class QDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
class QVBoxLayout;
class QWidget;

// The parts the account forms (the edit-user and template dialogs, the add-user wizard)
// show alike, built under the same object names and texts in each: the account's general
// fields, its groups list, its rights, its quota and its web-mail settings, and the dialogs'
// "OK" and "Cancel" below their tabs. A form derives from the parts it shows, so their
// widgets are its members under their names, and builds each on its page. Every widget is
// a child of the given page.
namespace AccountFormParts {

QLabel* makeLabel(QWidget* parent, const char* objectName, const QString& text);
QLineEdit* makeEdit(QWidget* parent, const char* objectName, bool secret = false);
// A new page of the tabs under the given object name and title.
QWidget* addPage(QTabWidget* tabs, const char* objectName, const QString& title);

struct DialogButtons
{
    QPushButton* m_btnOK;     // the default button
    QPushButton* m_btnCancel; // Escape
};
// Lays the dialog out as its tabs above a row of "OK" and "Cancel" at the right.
void build(DialogButtons& parts, QDialog* dialog, QTabWidget* tabs);

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

struct WebMail
{
    QLabel* TextLabel2_2_2_2;
    QLineEdit* m_editNumMsg;
    QLabel* TextLabel2_2_2_3;
    QLineEdit* m_editSentFolder;
    QLabel* TextLabel2_2_2_4;
    QLineEdit* m_editDraftFolder;
    QLabel* TextLabel1_2;
    QComboBox* m_comboLang;
    QCheckBox* m_chkShowFldList;
    QCheckBox* m_chkShowSub;
    QFrame* Line1;
};
// Only a user has a PIN of its own; a template has none.
struct WebMailPin
{
    QLabel* TextLabel1_3;
    QLineEdit* m_editPIN;
};
// Messages per page, the two folders, the language, with a PIN row when given one, then
// the two check boxes: under the fields beside a PIN, across both columns without.
void build(WebMail& parts, QWidget* page, WebMailPin* pin = nullptr);

} // namespace AccountFormParts
