#pragma once

// The administrator who chooses "&Abort" on the wait indicator as soon as it shows: every
// 20 ms it looks for a shown indicator panel and clicks its button, once, where it is seen.
// Whatever is to happen in the same pass of the event loop as the click (a window closed by
// the same gesture, say) goes into alongWithTheClick, which runs right after it.

#include "wndprogress.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <utility>

// Clicks button as a person's click reaches it: through the window system, into the window in
// front at the button's place on the screen, which is the modal dialog up when there is one.
// A button lying behind that dialog is not reached: the click lands on the dialog.
inline void clickWhereSeen(QAbstractButton* button)
{
    QWidget* front = QApplication::activeModalWidget();
    if (!front)
        front = button->window();
    const QPoint at = front->mapFromGlobal(button->mapToGlobal(button->rect().center()));
    QTest::mouseClick(front->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
}

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
    // The widget the panel showed over, its parent.
    QWidget* shownOver() const { return m_shownOver; }

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
            m_shownOver = panel->parentWidget();
            clickWhereSeen(panel->findChild<QPushButton*>(QStringLiteral("btnAbort")));
            if (m_alongWithTheClick)
                m_alongWithTheClick();
            return;
        }
    }

    std::function<void()> m_alongWithTheClick;
    QTimer m_look;
    bool m_clicked = false;
    QString m_shownText;
    QPointer<QWidget> m_shownOver;
};
