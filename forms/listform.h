#pragma once

class QPushButton;
class QTreeWidget;
class QWidget;

// What the list pages' forms build alike.
namespace ListForm {

// The page's list: no columns of its own (the page's column model gives them), several
// rows selectable, sorted by the first column until a header is clicked.
QTreeWidget* makeList(QWidget* form, bool tree);
// A button of the row under the list.
QPushButton* makeButton(QWidget* form, const char* objectName);

} // namespace ListForm
