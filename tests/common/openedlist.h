#pragma once

// What a person sees of a choice box's list and what the box holds after it: the box opened
// with Alt+Down in its shown window, the entry its list highlights read, then Return pressed
// there, as a person who opened the list to look and kept what seemed current would.

#include <QAbstractItemView>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QString>
#include <QTest>

namespace OpenedList {

struct Look
{
    bool opened = false;
    QString highlighted; // the entry drawn as chosen; empty for none
    bool closedByReturn = false;
    QString heldAfterReturn; // the box's text after Return
    int indexAfterReturn = -2;
};

inline QString highlightedEntry(const QAbstractItemView* list)
{
    const QModelIndex current = list->currentIndex();
    return current.isValid() && list->selectionModel()->isSelected(current) ? current.data().toString()
                                                                           : QString();
}

inline Look openAndReturn(QComboBox* box)
{
    Look look;
    QWidget* window = box->window();
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return look;
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Down, Qt::AltModifier);
    QAbstractItemView* list = box->view();
    look.opened = list->isVisible();
    if (!look.opened)
        return look;
    look.highlighted = highlightedEntry(list);
    QTest::keyClick(list, Qt::Key_Return);
    look.closedByReturn = !list->isVisible();
    if (!look.closedByReturn)
        QTest::keyClick(list, Qt::Key_Escape);
    look.heldAfterReturn = box->currentText();
    look.indexAfterReturn = box->currentIndex();
    return look;
}

} // namespace OpenedList
