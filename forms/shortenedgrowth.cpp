#include "shortenedgrowth.h"

#include <QLayout>
#include <QSizePolicy>
#include <QWidget>

bool ShortenedGrowth::mayChangeTheAsk(QEvent::Type type)
{
    return type == QEvent::Polish || type == QEvent::Show || type == QEvent::FontChange
           || type == QEvent::StyleChange;
}

void ShortenedGrowth::follow(bool shortened)
{
    m_pending = false;
    m_followed = shortened;
    QSizePolicy policy = m_widget->sizePolicy();
    const QSizePolicy before = policy;
    const int horizontal = policy.horizontalPolicy();
    if (shortened) {
        if ((horizontal & QSizePolicy::GrowFlag) && !(horizontal & QSizePolicy::ExpandFlag)) {
            policy.setHorizontalPolicy(QSizePolicy::Policy(horizontal | QSizePolicy::ExpandFlag));
            m_expanded = true;
        }
        if ((horizontal & QSizePolicy::GrowFlag) && policy.horizontalStretch() == 0) {
            policy.setHorizontalStretch(1);
            m_stretched = true;
        }
    } else {
        if (m_expanded)
            policy.setHorizontalPolicy(QSizePolicy::Policy(horizontal & ~QSizePolicy::ExpandFlag));
        if (m_stretched)
            policy.setHorizontalStretch(0);
        m_expanded = m_stretched = false;
    }
    if (policy == before)
        return;
    m_widget->setSizePolicy(policy);
    // A widget not shown yet tells no layout of its new policy by itself.
    if (QWidget* parent = m_widget->parentWidget(); parent && parent->layout())
        parent->layout()->invalidate();
}

void ShortenedGrowth::note(bool shortened)
{
    m_noted = shortened;
    if (m_pending || shortened == m_followed)
        return;
    m_pending = true;
    QMetaObject::invokeMethod(m_widget, [this] { follow(m_noted); }, Qt::QueuedConnection);
}
