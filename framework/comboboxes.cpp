#include "comboboxes.h"

#include <QComboBox>
#include <QString>

namespace ComboBoxes {

void setCurrentText(QComboBox* box, const QString& text)
{
    if (box->isEditable()) {
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
