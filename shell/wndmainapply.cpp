// Apply and Reset of the main window's pending statements.

#include "wndmain.h"

#include "pendingapply.h"

#include <QPointer>

void WndMain::apply()
{
    // Started from the bar or the closing prompt; a page switch runs its own apply.
    if (isBusy())
        return;
    runApply();
}

void WndMain::runApply()
{
    const QPointer<WndMain> self(this);
    m_applying = true;
    const ApplyOutcome outcome = applyPendingStatements(this, getConnection(), &m_dbctrl);
    if (!self)
        return;
    m_applying = false;
    // A page withdrew the apply: the next change of the tree is turned back.
    if (outcome == ApplyOutcome::Withdrawn)
        m_revert = true;
    finishBusy();
}

void WndMain::reset()
{
    // Not while an apply is sending the very list it would empty.
    if (isBusy())
        return;
    m_dbctrl.reset();
}
