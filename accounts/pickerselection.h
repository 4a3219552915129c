#pragma once

class QPushButton;
class QTreeWidget;

// What both pickers do when their selection changes: OK is enabled exactly while at least
// one top-level row is selected.
void enableOkBySelection(const QTreeWidget* list, QPushButton* ok);
