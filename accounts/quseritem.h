#pragma once

#include "accountitem.h"

class Cols;
class DBRow;
class DBTable;
class QTreeWidget;

// One user of a list: the users page's full row of fourteen columns, or the short form
// (name, description, full name) of the pickers and the Find User dialog.
class QUserItem : public AccountItem
{
public:
    // Column ids of the users page, in the order its list adds them.
    enum Column {
        Name, Fullname, Description, Authentication, AccountEnabled, Rights, Quota,
        QuotaMessages, SentFolder, DraftFolder, HideFolderList, ShowOnlySubscribed,
        MsgsPerPage, Language,
    };
    // Column ids of the short form.
    enum MinColumn { MinName, MinDescription, MinFullname };

    // An item of `list` (or of none yet, see AccountItem) for a user row; it shows nothing
    // until show() or show_min().
    QUserItem(QTreeWidget* list, DBRow* row, Cols* cols);

    // Declares the users page's fourteen columns: the first three shown.
    static void addColumns(Cols& cols);
    // Declares the short form's columns for a list whose header reads "Name", "Full Name",
    // "Description" (the group dialogs' member lists): the full name, id 2, is shown
    // second, so each value lands under the header that names it.
    static void addMemberColumns(Cols& cols);

    // The fourteen columns from a row of dbcol_user. authTypes is the answer of
    // "get_auth_types()": the Authentication column shows its Name for the user's type.
    void show(const DBTable& authTypes);
    // Name (with the icon), description and full name from a row of dbcol_user_min.
    void show_min();

    QString key(int column, bool ascending) const override;

private:
    QString fullText(int id, const DBTable& authTypes) const;
};

// The full name and description of the first user of `users` whose name is `name` (exact
// comparison, any domain); both empty when there is none.
void FindFullDesc(const DBTable* users, const QString& name, QString& fullname,
                  QString& description);
