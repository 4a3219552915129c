#pragma once

// What a person sees of a choice box's list and what the box holds after it: the box opened
// with Alt+Down in its shown window, the entry its list highlights read, then Return pressed
// there, as a person who opened the list to look and kept what seemed current would.

#include "activewindow.h"
#include "typing.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QString>
#include <QStringList>
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

// An editable box typed into first, in its window made active: each of typings typed over the
// box's text key by key, the field left with Tab and come back to with Shift+Tab between them,
// and after the last where leftAndBack; then looked at as openAndReturn() does.
inline Look typeAndLook(QComboBox* box, const QStringList& typings, bool leftAndBack)
{
    if (!showActive(box->window()))
        return Look();
    box->setFocus();
    auto leaveAndComeBack = [] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    };
    for (qsizetype i = 0; i < typings.size(); ++i) {
        if (i > 0)
            leaveAndComeBack();
        typeOver(box->lineEdit(), typings.at(i));
    }
    if (leftAndBack)
        leaveAndComeBack();
    if (!box->hasFocus())
        return Look();
    return openAndReturn(box);
}

} // namespace OpenedList
