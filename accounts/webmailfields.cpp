#include "webmailfields.h"

#include "accountfields.h"
#include "accounttexts.h"
#include "comboboxes.h"
#include "dbtable.h"
#include "numberfields.h"
#include "untouchedfields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QObject>

using AccountTexts::cell;
using AccountTexts::wholeNumber;

namespace {

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

namespace WebMailFields {

void load(const WebMailWidgets& fields, const DBRow* row, const DBTable& languages,
          UntouchedFields& untouched)
{
    fields.editNumMsg->setText(cell(row, "msgperpage"));
    fields.editSentFolder->setText(cell(row, "sentfolder"));
    fields.editDraftFolder->setText(cell(row, "draftfolder"));
    fields.chkShowFldList->setChecked(wholeNumber(row, "hidefldlist") == 0);
    fields.chkShowSub->setChecked(wholeNumber(row, "showsub") != 0);
    untouched.remember(QStringLiteral("hidefldlist"), cell(row, "hidefldlist"), {fields.chkShowFldList});
    untouched.remember(QStringLiteral("showsub"), cell(row, "showsub"), {fields.chkShowSub});
    for (const auto& language : languages.m_rows)
        fields.comboLang->addItem(cell(language.get(), "language").toLower());
    const QString stored = cell(row, "preflang");
    if (!stored.isEmpty())
        ComboBoxes::setCurrentText(fields.comboLang, stored.toLower());
    // The box shows a language only in lower case, and an empty one as its first entry.
    untouched.remember(QStringLiteral("preflang"), stored, {fields.comboLang});
}

void acceptNumbers(const WebMailWidgets& fields)
{
    NumberFields::acceptDigits(fields.editNumMsg, 1000000);
}

void write(const WebMailWidgets& fields, DBRow* row, const UntouchedFields& untouched)
{
    setCell(row, "msgperpage", fields.editNumMsg->text());
    setCell(row, "sentfolder", fields.editSentFolder->text());
    setCell(row, "draftfolder", fields.editDraftFolder->text());
    setCell(row, "hidefldlist",
            untouched.value(QStringLiteral("hidefldlist"), flag(!fields.chkShowFldList->isChecked())));
    setCell(row, "showsub", untouched.value(QStringLiteral("showsub"), flag(fields.chkShowSub->isChecked())));
    // A box left as it was filled leaves the stored language as it is: in capitals, empty (on a
    // new row too: the box had nothing else to show), or not sent by the server at all.
    if (untouched.isTouched(QStringLiteral("preflang")))
        setCell(row, "preflang", fields.comboLang->currentText());
}

} // namespace WebMailFields
