#include "comboboxes.h"

#include <QComboBox>
#include <QString>

namespace ComboBoxes {

void setCurrentText(QComboBox* box, const QString& text)
{
    int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (box->isEditable()) {
        box->setCurrentIndex(index);
        // A text equal to no entry: the field, emptied with the current entry, shows it.
        box->setEditText(text);
        return;
    }
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
