#pragma once

#include <QComboBox>
#include <QString>

// An editable choice box shown with `text`: the entry equal to it (case counts) becomes the
// current one, and any other text stands in the edit field without becoming an entry.
inline void showInEditable(QComboBox* box, const QString& text)
{
    const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        box->setCurrentIndex(index);
    box->setEditText(text);
}
