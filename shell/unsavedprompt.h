#pragma once

class QString;
class QWidget;

enum class UnsavedChangesAnswer {
    Save,    // "&Yes": apply the pending statements first
    Discard, // "&No": drop them
    Keep,    // "&Cancel", Escape or the box's close button: stay where we are
};

// Asks, over window, whether the pending changes are to be sent to host before the
// current view is left: the warning "You have modified some data in the current
// view.\nSave changes on %1?" captioned "Ornel Corvane Administration", "&Yes" being
// the default button and "&Cancel" the escape button.
UnsavedChangesAnswer askToSaveChanges(QWidget* window, const QString& host);
