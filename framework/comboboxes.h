#pragma once

class QComboBox;
class QString;

// Two things the old toolkit's choice boxes did that pages and dialogs rely on.
namespace ComboBoxes {

// Makes `text` the current entry of a box that is not editable: the first entry equal to
// it exactly, or, when the box has none, a new last entry holding it. Nothing stored is
// lost that way (the value is written back unchanged unless another entry is chosen) and
// every entry the box already had stays choosable. An editable box simply shows the text.
void setCurrentText(QComboBox* box, const QString& text);

// Makes entry `index` current when the box has it; an index out of range changes nothing
// (the box keeps its current entry instead of showing none).
void setCurrentItem(QComboBox* box, int index);

} // namespace ComboBoxes
