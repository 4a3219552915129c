#pragma once

#include "cols.h"
#include "rightschoice.h"
#include "rowcells.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class DBRow;
class DBTable;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QWidget;
class UntouchedFields;

// The widgets that the user and template dialogs share for an account's groups, rights and
// quota, under the same object names in each dialog's form.
struct AccountWidgets
{
    QTreeWidget* listGroups;
    QPushButton* btnAdd;
    QPushButton* btnRemove;
    QRadioButton* rbtnNoAcc;
    QRadioButton* rbtnViewLogs;
    QRadioButton* rbtnFullAcc;
    QLineEdit* editDiskSpace;
    QComboBox* comboKB;
    QLineEdit* editNumMess;
};

// How those fields are filled from an account row and written back into it: the groups
// list with its picker, the rights buttons and the quota number, unit and message count.
// A dialog holds one and calls it from its constructor, its slots and its OK handler.
// The rights and the disk quota are remembered in the dialog's UntouchedFields when they
// are loaded, the groups listed then by this object: left alone, they write back what was
// stored, even a value the buttons, the number and unit or the sorted list cannot show.
//
// The rows behind groups read from the row's text are the object's own; groups chosen in
// the picker stay rows of the group table (the dialog's page owns it).
class AccountFields
{
public:
    // The quota fields as a stored byte count shows them.
    struct QuotaShown
    {
        qint64 number;
        int unit; // 0 KB, 1 MB, 2 GB; -1: a value that is no whole number of KB leaves
                  // the unit box as it is
    };

    // `untouched` is the dialog's; it outlives this object.
    AccountFields(const AccountWidgets& widgets, DBTable* groupTable, QWidget* dialog,
                  UntouchedFields& untouched);
    ~AccountFields();
    AccountFields(const AccountFields&) = delete;
    AccountFields& operator=(const AccountFields&) = delete;

    // The names a stored groups text holds: split at every comma, nothing trimmed or
    // skipped ("a," holds "a" and ""); the empty text holds none.
    static QStringList splitGroups(const QString& text);
    static QuotaShown showQuota(qint64 bytes);
    // The number in the disk-space field, read as the old atoi64 did, in bytes of the unit.
    static qint64 quotaBytes(const QString& number, int unit);

    // The description of the first group of the table named `name` exactly; any domain.
    QString FindDesc(const QString& name) const;
    // Whether the list already shows a group of the same name (exact comparison).
    bool existInList(const DBRow* row) const;

    void loadGroups(const DBRow* row);
    void loadRights(const DBRow* row);
    void loadQuota(const DBRow* row);

    // Whether a group was added to the list or taken from it since it was loaded; the order
    // it is shown in does not count, since the list is written sorted.
    bool groupsTouched() const;
    // While the list holds the groups it was loaded with, nothing: the row keeps the stored
    // text (its order, an empty name); else the list sorted by name and written as names
    // joined by ",".
    void writeGroups(DBRow* row);
    // "Read only" writes 1, "Read/write" the stored value with both bits set, none 0.
    void writeRights(DBRow* row);
    // The disk-space and message-count fields take what an integer validator from 0 to
    // 1000000 takes while typing (NumberFields), and are written as shown. The dialog's OK
    // stops only at a disk space the column cannot hold in the unit chosen (false: the
    // dialog stays, the focus on the field).
    void acceptNumbers();
    bool confirmNumbers();
    // The disk quota in bytes of the chosen unit (an empty stored quota, left alone, is
    // written "0"), and the message count as typed.
    void writeQuota(DBRow* row);

    // The slots the dialogs forward: the picker, removing the selected groups, and the
    // "Remove" button following the selection. The picker offers the groups of the
    // console's current domain, or of `domain` (empty for the primary domain).
    void addGroups();
    void addGroups(const QString& domain);
    void removeGroups();
    void updateRemoveButton();

private:
    RightsChoice rightsChoice() const;
    // The names of the groups the list holds, sorted, as the field's state: UntouchedFields
    // reads no list entries but their check marks.
    QStringList listedGroups() const;

    AccountWidgets m_w;
    DBTable* m_groupTable; // not owned
    QWidget* m_dialog;
    Cols m_listCols;   // the items read from the row
    Cols m_pickerCols; // the picker's items and those taken from it
    std::vector<std::unique_ptr<DBRow>> m_ownRows;
    UntouchedFields& m_untouched;
    QStringList m_loadedGroups; // listedGroups() right after loading
};

using RowCells::setCell;
