#pragma once

#include "accountitem.h"

class Cols;
class DBRow;
class DBTable;
class QTreeWidget;

// One user template of a list: the templates page's twelve columns, or the chooser's two
// (name and description). The chooser's "Default" entry has no row, and the chooser gives
// no column model: its items fill view columns 0 and 1.
class QTemplateItem : public AccountItem
{
public:
    // Column ids of the templates page, in the order its list adds them.
    enum Column {
        Name, Description, Authentication, Rights, Quota, QuotaMessages, SentFolder,
        DraftFolder, HideFolderList, ShowOnlySubscribed, MsgsPerPage, Language,
    };

    // row may be null (the "Default" entry), cols may be null (the chooser).
    QTemplateItem(QTreeWidget* list, DBRow* row, Cols* cols);

    // Declares the templates page's twelve columns: the first two shown.
    static void addColumns(Cols& cols);
    // The chooser's entry that stands for no template.
    static QString defaultText();

    // The twelve columns from a row of dbcol_template, by the users list's rules.
    void show(const DBTable& authTypes);
    // The chooser's form: the name (with the icon) and the description; "Default" alone
    // for the entry without a row.
    void show_min();

    // Without a model, the cell's text, and 16 blanks for "Default" so that it sorts
    // first; with one, the users list's keys.
    QString key(int column, bool ascending) const override;

private:
    QString fullText(int id, const DBTable& authTypes) const;
};
