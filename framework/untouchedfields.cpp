#include "untouchedfields.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>

namespace {

QString stateOf(const QWidget* widget)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->isChecked() ? QStringLiteral("on") : QStringLiteral("off");
    if (const auto* box = qobject_cast<const QComboBox*>(widget))
        return QString::number(box->currentIndex()) + QLatin1Char('\n') + box->currentText();
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (const auto* spin = qobject_cast<const QAbstractSpinBox*>(widget))
        return spin->text();
    if (const auto* list = qobject_cast<const QTreeWidget*>(widget)) {
        QString checks;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            checks += QString::number(int(list->topLevelItem(i)->checkState(0)));
        return checks;
    }
    return QString();
}

} // namespace

QStringList UntouchedFields::statesOf(const QList<const QWidget*>& widgets)
{
    QStringList states;
    for (const QWidget* widget : widgets)
        states.append(stateOf(widget));
    return states;
}

void UntouchedFields::remember(const QString& name, const QString& stored,
                               std::initializer_list<const QWidget*> widgets)
{
    remember(name, stored, QList<const QWidget*>(widgets));
}

void UntouchedFields::remember(const QString& name, const QString& stored,
                               const QList<const QWidget*>& widgets)
{
    Field field{stored, widgets, {}};
    field.shown = statesOf(field.widgets);
    m_fields.insert(name, field);
}

void UntouchedFields::settle(const QString& name, const QString& stored)
{
    const auto found = m_fields.find(name);
    if (found == m_fields.end())
        return;
    found->stored = stored;
    found->shown = statesOf(found->widgets);
}

bool UntouchedFields::isTouched(const QString& name) const
{
    const auto found = m_fields.constFind(name);
    return found == m_fields.constEnd() || statesOf(found->widgets) != found->shown;
}

bool UntouchedFields::isChanged(const QWidget* widget) const
{
    for (const Field& field : m_fields) {
        const qsizetype at = field.widgets.indexOf(widget);
        if (at >= 0 && field.shown.at(at) != stateOf(widget))
            return true;
    }
    return false;
}

void UntouchedFields::refilled(const QWidget* widget)
{
    for (Field& field : m_fields) {
        const qsizetype at = field.widgets.indexOf(widget);
        if (at >= 0)
            field.shown[at] = stateOf(widget);
    }
}

QString UntouchedFields::value(const QString& name, const QString& edited) const
{
    if (isTouched(name))
        return edited;
    const QString& stored = m_fields.value(name).stored;
    return m_newRow && stored.isEmpty() ? edited : stored;
}
