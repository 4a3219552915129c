#include "fieldfocus.h"

#include "wizard.h"

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
        // A tab widget's pages sit in a stack of its own, which follows its tab bar; a
        // wizard's too, which follows the page the wizard shows (its title, its buttons).
        auto* wizard = qobject_cast<Wizard*>(stack->parentWidget());
        if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
            tabs->setCurrentWidget(child);
        else if (wizard && wizard->indexOf(child) >= 0)
            wizard->showPage(child);
        else
            stack->setCurrentWidget(child);
    }
    field->setFocus();
}

} // namespace FieldFocus
