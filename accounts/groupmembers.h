#pragma once

#include "cols.h"

#include <memory>
#include <vector>

class DBRow;
class DBTable;
class DBUserList;
class QPushButton;
class QTreeWidget;
class QWidget;

// The members list of the edit-group dialog and of the add-group wizard: filled from the
// membership lists, grown from the user picker, shrunk by "Remove". Each entry is a
// QUserItem in the short form, its name under "Name", its full name under "Full Name"
// and its description under "Description".
//
// Rows handed out by the membership lists are this object's own; rows taken from the
// picker stay the users table's (the page owns it). Either kind lives at least as long as
// the list's items, which this object clears when it goes.
class GroupMembers
{
public:
    // Which users of the current domain the picker leaves out.
    enum class Listed {
        ByName, // a user whose name equals a member's exactly
        ByRow,  // a user whose very row is a member's
    };

    GroupMembers(QTreeWidget* list, QPushButton* removeButton, const DBTable* users,
                 QWidget* dialog);
    ~GroupMembers();
    GroupMembers(const GroupMembers&) = delete;
    GroupMembers& operator=(const GroupMembers&) = delete;

    // One entry per member of the active group of `lists`, in their order.
    void showMembers(const DBUserList& lists);

    // Runs the user picker on the users of the current domain that are not listed yet;
    // once it is accepted, its selected users join the list.
    void addFromPicker(Listed listed);
    // Deletes the selected entries, without a question.
    void removeSelected();
    // "Remove" is enabled exactly while an entry is selected.
    void updateRemoveButton();

    // The user row behind each entry, in the list's order.
    std::vector<const DBRow*> rows() const;

private:
    QTreeWidget* m_list;
    QPushButton* m_removeButton;
    const DBTable* m_users; // the page's, not owned
    QWidget* m_dialog;
    Cols m_memberCols; // the entries made from the membership lists
    Cols m_pickerCols; // the picker's entries and those taken from it
    std::vector<std::unique_ptr<DBRow>> m_ownRows;
};
