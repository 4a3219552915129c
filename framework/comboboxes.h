#pragma once

class QComboBox;
class QString;

// Two things the old toolkit's choice boxes did that pages and dialogs rely on.
namespace ComboBoxes {

// Shows `text` in the box. In a box that is not editable, the first entry equal to it
// exactly becomes the current one or, when the box has none, a new last entry holding it:
// nothing stored is lost that way (the value is written back unchanged unless another entry
// is chosen) and every entry the box already had stays choosable. In an editable box the
// entry equal to it by the box's rule (ChoiceBox::entryEqualTo: letter for letter in a box of
// values, in any letters in a box of names) becomes the current entry, and the field shows
// that entry; a text equal to no entry stands in the field as it is, with no entry current.
// Either way it is a fill, not an edit: the box reports no activation, only the changes of
// its current entry and then of its text (for a text equal to no entry, the field is emptied
// on the way).
void setCurrentText(QComboBox* box, const QString& text);

// Makes entry `index` current when the box has it; an index out of range changes nothing
// (the box keeps its current entry instead of showing none).
void setCurrentItem(QComboBox* box, int index);

} // namespace ComboBoxes
