#include "shortenedgrowth.h"

#include <QLayout>
#include <QWidget>

bool ShortenedGrowth::canChangeTheSizeHint(QEvent::Type type)
{
    return type == QEvent::Polish || type == QEvent::Show || type == QEvent::FontChange
           || type == QEvent::StyleChange;
}

void ShortenedGrowth::apply(bool shortened)
{
    m_pending = false;
    m_shortened = shortened;
    // A call still queued applies this too: what was found last holds.
    m_later = shortened;
    const QSizePolicy current = m_widget->sizePolicy();
    if (!shortened) {
        if (m_formPolicy && current == m_growing)
            setPolicy(*m_formPolicy);
        m_formPolicy.reset();
        return;
    }
    if (m_formPolicy && current == m_growing)
        return;
    // A policy that may not grow (Fixed, Maximum) is the form's last word.
    QSizePolicy growing = current;
    const int horizontal = current.horizontalPolicy();
    if (horizontal & QSizePolicy::GrowFlag) {
        growing.setHorizontalPolicy(QSizePolicy::Policy(horizontal | QSizePolicy::ExpandFlag));
        if (growing.horizontalStretch() == 0)
            growing.setHorizontalStretch(1);
    }
    m_formPolicy.reset();
    if (growing == current)
        return;
    m_formPolicy = current;
    m_growing = growing;
    setPolicy(growing);
}

void ShortenedGrowth::applyLater(bool shortened)
{
    m_later = shortened;
    if (m_pending || shortened == m_shortened)
        return;
    m_pending = true;
    // The widget is the call's context: the call goes with the widget.
    QMetaObject::invokeMethod(m_widget, [this] { apply(m_later); }, Qt::QueuedConnection);
}

void ShortenedGrowth::setPolicy(const QSizePolicy& policy)
{
    m_widget->setSizePolicy(policy);
    // A widget not shown yet tells no layout of its new policy by itself.
    if (QWidget* parent = m_widget->parentWidget(); parent && parent->layout())
        parent->layout()->invalidate();
}
