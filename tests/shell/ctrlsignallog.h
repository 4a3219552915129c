#pragma once

// The signals of a pending-change controller, in the order they came.

#include "dbctrl.h"

#include <QStringList>

class CtrlSignalLog
{
public:
    explicit CtrlSignalLog(DBCtrl& ctrl)
    {
        QObject::connect(&ctrl, &DBCtrl::sig_before_apply, &ctrl, [this] { events << "before_apply"; });
        QObject::connect(&ctrl, &DBCtrl::sig_update_again, &ctrl, [this] { events << "update_again"; });
        QObject::connect(&ctrl, &DBCtrl::sig_reset, &ctrl, [this] { events << "reset"; });
        QObject::connect(&ctrl, &DBCtrl::sig_empty, &ctrl, [this](bool empty) {
            events << (empty ? "empty(true)" : "empty(false)");
        });
        QObject::connect(&ctrl, &DBCtrl::sig_apply, &ctrl, [this, &ctrl] {
            events << "apply";
            pendingAtApply = ctrl.m_pending;
        });
    }

    QStringList events;
    // The pending list as the slots of sig_apply() found it.
    QStringList pendingAtApply{"not emitted"};
};
