#pragma once

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QHeaderView>
#include <QLatin1String>
#include <QList>
#include <QSizePolicy>
#include <QSpacerItem>
#include <QWidget>

#include <initializer_list>

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

// A dialog going away hides first, and the editable box that has the focus then takes its
// text for the entry it names and reports it chosen, to slots of a dialog no longer whole:
// the form's destructor has its boxes report nothing more.
inline void quietenBoxes(QWidget* form)
{
    for (QComboBox* box : form->findChildren<QComboBox*>())
        box->blockSignals(true);
}

// The keyboard focus moves from each widget to the next in the order given.
inline void setTabOrder(const QList<QWidget*>& order)
{
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
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

// The buttons side by side in the middle of a row.
inline QHBoxLayout* centredButtons(std::initializer_list<QWidget*> buttons)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    row->addItem(horizontalSpacer());
    for (QWidget* button : buttons)
        row->addWidget(button);
    row->addItem(horizontalSpacer());
    return row;
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
