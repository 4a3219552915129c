#pragma once

#include <QObject>
#include <QStringList>

// The statements a main window holds back until the administrator chooses Apply, and
// the phases of an apply or a reset broadcast to its pages.
//
// A page hands in its whole set of statements after every edit: its first list with
// append false, every further list with append true. sig_empty(bool) follows the list
// between empty and not empty, so it can drive the enabled state of Apply and Reset.
// The main window reads and empties m_pending itself when it sends the statements and
// may emit the signals directly; apply() and reset() are the usual shorthands.
//
// A statement the server carried out is never sent again. When an apply stops part-way,
// carriedOut() takes the statements the server carried out off the list and announces them
// (sig_carried_out): every page that handed statements in makes the rows and changes behind
// those stored at once (DBTable::storeCarriedOut), so that its next hand-in, which is its
// whole difference again, no longer holds them. The rest stays pending.
//
// An edit can also be held back: a page shows it, but no statement can stand for it yet (a
// number whose product with its unit is beyond its column). It counts as pending all the
// same, so Apply and Reset stay on and leaving the page asks about it; the page that holds
// it stops every apply before anything is sent (sig_before_apply), so nothing of that edit's
// page goes out without it.
class DBCtrl : public QObject
{
    Q_OBJECT

public:
    explicit DBCtrl(QObject *parent = nullptr);
    ~DBCtrl() override;

    // Replaces the pending statements by list (append false) or appends list's
    // statements in order (append true). A null list counts as an empty one.
    void set(const QStringList *list, bool append);
    void set(const QStringList &list, bool append);

    // Whether the page shown holds back an edit; the page says so after every hand-in.
    void setHeldBack(bool held);
    bool isHeldBack() const { return m_heldBack; }
    // Nothing pending and nothing held back: nothing would be lost by leaving.
    bool isEmpty() const { return m_pending.isEmpty() && !m_heldBack; }
    // Drops what is pending and held back, without a signal: the administrator chose not to
    // keep it, and the page it came from goes.
    void discard();

    void apply();
    // Empties the list and has every page restore its tables; asked for again while the
    // pages answer it (a page's load that finds the connection lost asks for one), it does
    // nothing more.
    void reset();
    // The server carried these statements out: each leaves the list once (they stand at
    // its start, unless a page handed its statements in again meanwhile), and
    // sig_carried_out() names them, in order. Nothing for none.
    void carriedOut(const QStringList &statements);
    void before_apply();
    void update_again();

    // In the order in which they are to be sent.
    QStringList m_pending;

signals:
    void sig_reset();
    void sig_apply();
    void sig_before_apply();
    void sig_update_again();
    void sig_empty(bool empty);
    void sig_carried_out(const QStringList &statements);

private:
    void clearAndAnnounceEmpty();
    // Runs change, then tells sig_empty when it changed whether anything is pending.
    template<class Change>
    void announcingEmptiness(Change change);

    bool m_heldBack = false;
    bool m_resetting = false; // while sig_reset() is answered
};
