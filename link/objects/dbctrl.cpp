#include "dbctrl.h"

#include "carriedout.h"

#include <QScopedValueRollback>

DBCtrl::DBCtrl(QObject *parent)
    : QObject(parent)
{
}

DBCtrl::~DBCtrl() = default;

void DBCtrl::set(const QStringList *list, bool append)
{
    set(list ? *list : QStringList(), append);
}

template<class Change>
void DBCtrl::announcingEmptiness(Change change)
{
    const bool wasEmpty = isEmpty();
    change();
    const bool nowEmpty = isEmpty();
    if (wasEmpty != nowEmpty)
        emit sig_empty(nowEmpty);
}

void DBCtrl::set(const QStringList &list, bool append)
{
    // The copy keeps a page's call with m_pending itself as the list well defined.
    const QStringList incoming = list;
    announcingEmptiness([&] {
        if (append)
            m_pending += incoming;
        else
            m_pending = incoming;
    });
}

void DBCtrl::setHeldBack(bool held)
{
    announcingEmptiness([&] { m_heldBack = held; });
}

void DBCtrl::discard()
{
    m_pending.clear();
    m_heldBack = false;
}

// Apply and Reset announce the empty list every time, also when it was empty already,
// so the buttons end disabled whatever state they were left in.
void DBCtrl::clearAndAnnounceEmpty()
{
    m_pending.clear();
    m_heldBack = false;
    emit sig_empty(true);
}

void DBCtrl::apply()
{
    clearAndAnnounceEmpty();
    emit sig_apply();
}

// A page answering the reset may meet the lost connection again (a load of its own), and
// that report asks for a reset too: the reset under way restores every page already, and a
// second one inside it would start the same loads over, without end.
void DBCtrl::reset()
{
    if (m_resetting)
        return;
    const QScopedValueRollback<bool> resetting(m_resetting, true);
    clearAndAnnounceEmpty();
    emit sig_reset();
}

void DBCtrl::carriedOut(const QStringList &statements)
{
    if (statements.isEmpty())
        return;
    CarriedOut done(statements);
    QStringList left;
    left.reserve(m_pending.size());
    for (const QString &statement : std::as_const(m_pending)) {
        if (!done.take(statement))
            left.append(statement);
    }
    set(left, false);
    emit sig_carried_out(statements);
}

void DBCtrl::before_apply()
{
    emit sig_before_apply();
}

void DBCtrl::update_again()
{
    emit sig_update_again();
}
