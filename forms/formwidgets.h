#pragma once

#include <QEvent>
#include <QKeyEvent>
#include <QHeaderView>
#include <QLatin1String>
#include <QPushButton>
#include <QTreeWidget>
#include <QSizePolicy>
#include <QSpacerItem>
#include <QWidget>

// What every hand-written form builds its widgets and layouts with.
namespace FormWidgets {

// A new child of parent under the object name the form gives it; other code finds the
// form's widgets by these names.
template<typename Widget>
Widget* makeChild(QWidget* parent, const char* objectName)
{
    auto* widget = new Widget(parent);
    widget->setObjectName(QLatin1String(objectName));
    return widget;
}

// A button of a list page's rows of buttons: at least 80 by 25 pixels.
inline QPushButton* makeListButton(QWidget* parent, const char* objectName)
{
    auto* button = makeChild<QPushButton>(parent, objectName);
    button->setMinimumSize(80, 25);
    return button;
}

// The list of a list page: flat, focus drawn across all columns, sorted by its first
// column with the arrow shown, no columns until the page's column model gives them. Every
// row has the icon's height, and a column of automatic width is fitted to its first few
// hundred rows, not to every row: a status list may hold a hundred thousand.
inline QTreeWidget* makeListView(QWidget* parent, const char* objectName,
                                 QAbstractItemView::SelectionMode selection)
{
    auto* list = makeChild<QTreeWidget>(parent, objectName);
    list->setColumnCount(0);
    list->setRootIsDecorated(false);
    list->setSelectionMode(selection);
    list->setAllColumnsShowFocus(true);
    list->setUniformRowHeights(true);
    list->header()->setResizeContentsPrecision(250);
    list->header()->setSortIndicatorShown(true);
    list->setSortingEnabled(true);
    list->sortByColumn(0, Qt::AscendingOrder);
    return list;
}

// Takes the room left in a row, pushing the row's widgets to its other side.
inline QSpacerItem* horizontalSpacer()
{
    return new QSpacerItem(20, 20, QSizePolicy::Expanding, QSizePolicy::Minimum);
}

// Takes the room left in a column.
inline QSpacerItem* verticalSpacer()
{
    return new QSpacerItem(20, 20, QSizePolicy::Minimum, QSizePolicy::Expanding);
}

// A press of Return or of the keypad's Enter: what the forms' lists take as "go" in their
// event filters.
inline bool isReturnPress(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace FormWidgets
