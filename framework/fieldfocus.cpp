#include "fieldfocus.h"

#include <QStackedWidget>
#include <QTabWidget>
#include <QWidget>

namespace FieldFocus {

void give(QWidget* field)
{
    QWidget* child = field;
    for (QWidget* parent = field->parentWidget(); parent;
         child = parent, parent = parent->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(parent);
        if (!stack)
            continue;
        // A tab widget's pages sit in a stack of its own, which follows its tab bar.
        if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
            tabs->setCurrentWidget(child);
        else
            stack->setCurrentWidget(child);
    }
    field->setFocus();
}

} // namespace FieldFocus
