#pragma once

class DBRow;
class DBTable;
class QCheckBox;
class QComboBox;
class QLineEdit;
class UntouchedFields;

// The web-mail settings that the user and template dialogs edit alike: messages per page,
// the sent and draft folders, the folder-list and subscribed-folders flags and the
// preferred language, which is chosen among the server's languages.
struct WebMailWidgets
{
    QLineEdit* editNumMsg;
    QLineEdit* editSentFolder;
    QLineEdit* editDraftFolder;
    QComboBox* comboLang;
    QCheckBox* chkShowFldList; // shown checked for a stored hidefldlist of 0
    QCheckBox* chkShowSub;
};

namespace WebMailFields {

// Fills the fields from the row and the language box from `languages` (lower case, in the
// list's order). A stored language the list lacks stays a choosable entry. The two flags
// and the language are remembered in `untouched`, the dialog's.
void load(const WebMailWidgets& fields, const DBRow* row, const DBTable& languages,
          UntouchedFields& untouched);
// Messages per page takes what an integer validator from 0 to 1000000 takes while typing
// (NumberFields), and is written as shown.
void acceptNumbers(const WebMailWidgets& fields);
// Writes every field back; a flag or the language left alone keeps what was stored (a value
// other than 0 and 1, a language in capitals, none at all), and a box the administrator
// changed writes what it shows.
void write(const WebMailWidgets& fields, DBRow* row, const UntouchedFields& untouched);

} // namespace WebMailFields
