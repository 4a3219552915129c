#pragma once

class QButtonGroup;
class QCheckBox;
class QDialog;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;
class QWidget;

// What the user and template dialogs' forms share: the tabs of an account's groups, its
// administration rights, its quota and its web-mail settings, built with the same widgets
// under the same object names in each form, and "OK" and "Cancel" below the tabs. Each
// tab function adds one page to the tab widget; the widgets are children of that page.
namespace AccountFormTabs {

struct GroupsTab
{
    QWidget* page;
    QTreeWidget* listGroups;
    QPushButton* btnAdd;
    QPushButton* btnRemove;
};

struct RightsTab
{
    QWidget* page;
    QGroupBox* box;
    QButtonGroup* buttons; // keeps the three exclusive; owned by the box
    QRadioButton* noAccess; // checked
    QRadioButton* viewLogs;
    QRadioButton* fullAccess;
};

struct QuotaTab
{
    QWidget* page;
    QGroupBox* box;
    QLabel* diskSpaceLabel;
    QLineEdit* diskSpace;
    QComboBox* unit; // "KB", "MB", "GB"
    QLabel* messagesLabel;
    QLineEdit* messages;
    QLabel* tip;
};

struct WebTab
{
    QWidget* page;
    QLabel* messagesPerPageLabel;
    QLineEdit* messagesPerPage;
    QLabel* sentFolderLabel;
    QLineEdit* sentFolder;
    QLabel* draftFolderLabel;
    QLineEdit* draftFolder;
    QLabel* languageLabel;
    QComboBox* language;
    QLabel* pinLabel = nullptr; // only with a PIN row
    QLineEdit* pin = nullptr;
    QCheckBox* showFolderList;
    QCheckBox* showSubscribed;
    QFrame* line;
};

struct DialogButtons
{
    QPushButton* ok;     // the default button
    QPushButton* cancel; // Escape
};

// Lays the dialog out as its tabs above a row of "OK" and "Cancel" at the right.
DialogButtons addButtonsBelow(QDialog* dialog, QTabWidget* tabs);

// "Groups": the member list with "Add..." and "Remove" at its right.
GroupsTab addGroupsTab(QTabWidget* tabs);
// "Rights": the three radio buttons in the box "User Rights".
RightsTab addRightsTab(QTabWidget* tabs);
// "Quota": disk space with its unit and the message count in the box "User quota".
QuotaTab addQuotaTab(QTabWidget* tabs);

enum class WebTabKind {
    WithPin,    // the user's: a PIN row; the check boxes under the fields
    WithoutPin, // the template's: the check boxes across both columns
};
// "Vazazuz": messages per page, the two folders, the language and the two check boxes.
WebTab addWebTab(QTabWidget* tabs, WebTabKind kind);

} // namespace AccountFormTabs
