#pragma once

// Counts the shortcuts the keyboard sets off anywhere in the application while it lives: a
// key a popup should have kept to itself sets one off.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

class ShortcutCount : public QObject
{
public:
    ShortcutCount() { QCoreApplication::instance()->installEventFilter(this); }

    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Shortcut)
            ++count;
        return false;
    }
};
