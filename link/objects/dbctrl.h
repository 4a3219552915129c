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

    void apply();
    void reset();
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

private:
    void clearAndAnnounceEmpty();
};
