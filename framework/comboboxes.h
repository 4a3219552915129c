#pragma once

class QComboBox;
class QObject;
class QString;

// Two things the old toolkit's choice boxes did that pages and dialogs rely on, and the
// stand-in entry of a box that cannot show what is stored.
namespace ComboBoxes {

// Makes `text` the current entry of a box that is not editable: the first entry equal to
// it exactly, or, when the box has none, a new last entry holding it. Nothing stored is
// lost that way (the value is written back unchanged unless another entry is chosen) and
// every entry the box already had stays choosable. An editable box simply shows the text.
void setCurrentText(QComboBox* box, const QString& text);

// Makes entry `index` current when the box has it; an index out of range changes nothing
// (the box keeps its current entry instead of showing none).
void setCurrentItem(QComboBox* box, int index);

// A box may have to show an entry for a stored value it has no entry for and cannot take
// as one (a number beyond its entries, or no value at all): the entry shown then only
// stands in, and the row keeps the stored value until the administrator chooses an entry
// in the box, the one shown included. The page marks the box when it fills it, leaves the
// column alone while the box showsStandIn(), and clears the mark in the slot that the
// box's activated() reaches, before it writes: noteChoice(sender()). While the box stands
// in, its column holds what the server holds, whatever was written into it before. A box
// that names what a check box turns on counts as chosen once the administrator turns that
// check box on: the configuration pages' writeChoice.
void markStandIn(QComboBox* box, bool standIn);
bool showsStandIn(const QComboBox* box);
// Clears the mark when `sender` is a marked box; anything else is left alone.
void noteChoice(QObject* sender);

} // namespace ComboBoxes
