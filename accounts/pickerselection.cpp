#include "pickerselection.h"

#include <QPushButton>
#include <QTreeWidget>

void enableOkBySelection(const QTreeWidget* list, QPushButton* ok)
{
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    const bool anyTopLevel = std::any_of(selected.begin(), selected.end(),
                                         [](const QTreeWidgetItem* item) { return !item->parent(); });
    ok->setEnabled(anyTopLevel);
}
