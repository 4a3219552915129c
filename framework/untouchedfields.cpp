#include "untouchedfields.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

namespace {

QString stateOf(const QWidget* widget)
{
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->isChecked() ? QStringLiteral("on") : QStringLiteral("off");
    if (const auto* box = qobject_cast<const QComboBox*>(widget))
        return QString::number(box->currentIndex()) + QLatin1Char('\n') + box->currentText();
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
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
    Field field{stored, QList<const QWidget*>(widgets), {}};
    field.shown = statesOf(field.widgets);
    m_fields.insert(name, field);
}

bool UntouchedFields::isTouched(const QString& name) const
{
    const auto found = m_fields.constFind(name);
    return found == m_fields.constEnd() || statesOf(found->widgets) != found->shown;
}

QString UntouchedFields::value(const QString& name, const QString& edited) const
{
    if (isTouched(name))
        return edited;
    const QString& stored = m_fields.value(name).stored;
    return m_newRow && stored.isEmpty() ? edited : stored;
}
