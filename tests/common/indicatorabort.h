#pragma once

// The administrator who chooses "&Abort" on the wait indicator as soon as it shows: every
// 20 ms it looks for a shown indicator panel and clicks its button, once. Whatever is to
// happen in the same pass of the event loop as the click (a window closed by the same
// gesture, say) goes into alongWithTheClick, which runs right after it.

#include "wndprogress.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <utility>

class IndicatorAbort
{
public:
    explicit IndicatorAbort(std::function<void()> alongWithTheClick = {})
        : m_alongWithTheClick(std::move(alongWithTheClick))
    {
        QObject::connect(&m_look, &QTimer::timeout, &m_look, [this] { lookAndClick(); });
        m_look.start(20);
    }

    bool clicked() const { return m_clicked; }
    // What the panel said when it was clicked.
    QString shownText() const { return m_shownText; }

private:
    void lookAndClick()
    {
        if (m_clicked)
            return;
        const QWidgetList widgets = QApplication::allWidgets();
        for (QWidget* widget : widgets) {
            auto* panel = qobject_cast<WndProgress*>(widget);
            if (!panel || !panel->isVisible())
                continue;
            m_clicked = true;
            m_shownText = panel->findChild<QLabel*>(QStringLiteral("txtLabel"))->text();
            QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("btnAbort")), Qt::LeftButton);
            if (m_alongWithTheClick)
                m_alongWithTheClick();
            return;
        }
    }

    std::function<void()> m_alongWithTheClick;
    QTimer m_look;
    bool m_clicked = false;
    QString m_shownText;
};
