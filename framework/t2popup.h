#pragma once

class QMenu;
class QPoint;
class QTreeWidgetItem;
class QWidget;

// The right-button menu of a list: on an entry, on empty space and on the header. The base
// builds and runs the menu; the derived page or item decides what goes into it. The default
// menu holds one entry, "&Modify Columns...", which calls the receiver's slot slotCols().
//
// Nothing is ever destroyed through this base, so its destructor is not virtual (and is
// protected to keep it so).
class T2Popup
{
public:
    T2Popup() = default;

    // Puts the entries into `menu` and says whether it is to be shown. Entries carry an id
    // in QAction::data(). `item` is null on empty space and on the header.
    virtual bool fillPopupMenu(QMenu& menu, QWidget* receiver, QTreeWidgetItem* item);

    // Shows the menu at `pos` (global coordinates) and returns once it has closed. A
    // chosen entry may destroy the receiver; the menu closes if the receiver goes while it
    // is up.
    void showPopupMenu(QWidget* receiver, const QPoint& pos, QTreeWidgetItem* item);

protected:
    ~T2Popup() = default;
    T2Popup(const T2Popup&) = default;
    T2Popup& operator=(const T2Popup&) = default;
};
