#pragma once

#include <QTest>
#include <QWidget>

// Shows window and makes it the one the keyboard types into, as a person's click on it does.
// The offscreen platform activates a window some time after asking: keys sent before then
// go to the window active until now, and a field left with Tab hears nothing of it.
inline bool showActive(QWidget* window)
{
    window->show();
    window->activateWindow();
    return QTest::qWaitFor([window] { return window->isActiveWindow(); });
}
