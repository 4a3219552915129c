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
#include <QWindow>

#include <functional>
#include <utility>

// Clicks button as a person's click reaches it: through the window system, into the window in
// front at the button's place on the screen, which is the modal dialog up when there is one.
// A button lying behind that dialog is not reached: the click lands on the dialog. The press and
// the release are handled at once, with no other event in between or after them.
inline void clickWhereSeen(QAbstractButton* button)
{
    QWidget* front = QApplication::activeModalWidget();
    if (!front)
        front = button->window();
    QWindow* window = front->windowHandle();
    const QPointF global = button->mapToGlobal(QPointF(button->rect().center()));
    const QPointF at = front->mapFromGlobal(global);
    // Later than any earlier press by more than a double click's time, as QTest keeps its clock.
    QTest::lastMouseTimestamp += QTest::mouseDoubleClickInterval;
    qt_handleMouseEvent(window, at, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress,
                        Qt::NoModifier, QTest::lastMouseTimestamp);
    qt_handleMouseEvent(window, at, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease,
                        Qt::NoModifier, QTest::lastMouseTimestamp);
    QTest::lastMouseTimestamp += QTest::mouseDoubleClickInterval;
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
    // Whether the click reached "&Abort": the panel took it as its abort.
    bool aborted() const { return m_aborted; }
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
            const QPointer<WndProgress> clickedPanel(panel);
            clickWhereSeen(panel->findChild<QPushButton*>(QStringLiteral("btnAbort")));
            m_aborted = clickedPanel && clickedPanel->aborted();
            if (m_alongWithTheClick)
                m_alongWithTheClick();
            return;
        }
    }

    std::function<void()> m_alongWithTheClick;
    QTimer m_look;
    bool m_clicked = false;
    bool m_aborted = false;
    QString m_shownText;
    QPointer<QWidget> m_shownOver;
};
