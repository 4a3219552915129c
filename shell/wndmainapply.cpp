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

ApplyOutcome WndMain::runApply()
{
    const QPointer<WndMain> self(this);
    m_applying = true;
    const ApplyOutcome outcome = applyPendingStatements(this, getConnection(), &m_dbctrl);
    if (!self)
        return ApplyOutcome::Abandoned;
    m_applying = false;
    if (outcome == ApplyOutcome::Withdrawn) {
        // A page withdrew the apply: the next change of the tree is turned back. The page
        // emptied the pending list, and what the pages show is pending again, however the
        // apply started: leaving the page or closing the window asks about it.
        m_revert = true;
        m_dbctrl.update_again();
    }
    finishBusy();
    return outcome;
}

void WndMain::reset()
{
    // Not while an apply is sending the very list it would empty.
    if (isBusy())
        return;
    m_dbctrl.reset();
}
