#include "dbctrl.h"

#include "carriedout.h"

DBCtrl::DBCtrl(QObject *parent)
    : QObject(parent)
{
}

DBCtrl::~DBCtrl() = default;

void DBCtrl::set(const QStringList *list, bool append)
{
    set(list ? *list : QStringList(), append);
}

void DBCtrl::set(const QStringList &list, bool append)
{
    const bool wasEmpty = m_pending.isEmpty();
    // The copy keeps a page's call with m_pending itself as the list well defined.
    const QStringList incoming = list;
    if (append)
        m_pending += incoming;
    else
        m_pending = incoming;

    const bool isEmpty = m_pending.isEmpty();
    if (wasEmpty != isEmpty)
        emit sig_empty(isEmpty);
}

// Apply and Reset announce the empty list every time, also when it was empty already,
// so the buttons end disabled whatever state they were left in.
void DBCtrl::clearAndAnnounceEmpty()
{
    m_pending.clear();
    emit sig_empty(true);
}

void DBCtrl::apply()
{
    clearAndAnnounceEmpty();
    emit sig_apply();
}

void DBCtrl::reset()
{
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
