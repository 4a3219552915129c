#include "comboboxes.h"

#include <QComboBox>
#include <QString>

namespace ComboBoxes {

namespace {

// Kept on the box itself, so that it lives and goes with the box.
const char StandInProperty[] = "ornelStandIn";

} // namespace

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

void markStandIn(QComboBox* box, bool standIn)
{
    box->setProperty(StandInProperty, standIn);
}

bool showsStandIn(const QComboBox* box)
{
    return box->property(StandInProperty).toBool();
}

void noteChoice(QObject* sender)
{
    if (auto* box = qobject_cast<QComboBox*>(sender))
        markStandIn(box, false);
}

} // namespace ComboBoxes
