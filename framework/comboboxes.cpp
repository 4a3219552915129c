#include "comboboxes.h"

#include "choicebox.h"

#include <QComboBox>
#include <QString>

namespace ComboBoxes {

void setCurrentText(QComboBox* box, const QString& text)
{
    if (box->isEditable()) {
        const int index = ChoiceBox::entryEqualTo(box, text);
        box->setCurrentIndex(index);
        // A text equal to no entry: the field, emptied with the current entry, shows it.
        if (index < 0)
            box->setEditText(text);
        return;
    }
    int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) {
        box->addItem(text);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

void setCurrentItem(QComboBox* box, int index)
{
    if (index >= 0 && index < box->count())
        box->setCurrentIndex(index);
}

} // namespace ComboBoxes
