#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// The statements of an apply that the server carried out before the apply stopped (a
// refusal, a lost connection, Abort), handed to whoever made them so that the rows and
// changes behind them become stored: none of them may be sent a second time.
//
// Statements are told apart by their text. Each text counts as often as it was carried out,
// and whoever stores the row or the change behind one takes it (take()): a text two owners
// could have made is stored once, by the first that asks.
class CarriedOut
{
public:
    explicit CarriedOut(const QStringList &statements);

    // True, counting it off, when `statement` was carried out and not taken yet.
    bool take(const QString &statement);
    bool isEmpty() const { return m_left == 0; }

private:
    QHash<QString, int> m_counts;
    int m_left = 0;
};
