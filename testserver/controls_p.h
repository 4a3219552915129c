#pragma once

#include "testserver.h"

#include <QByteArray>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace StandIn {

// The rules tests set to make the server misbehave on chosen statements.
// Not thread-safe: the server consults and changes them under its lock.
class Controls
{
public:
    enum class Action { Delay, Drop, Silence, RawAnswer, Malform, Shorten, Omit, Refuse,
                        Trickle, Hold };

    struct Rule
    {
        Action action = Action::Refuse;
        QRegularExpression pattern;
        int remaining = -1;        // < 0: for ever
        quint32 status = 0;        // Refuse
        quint32 detail = 0;        // Refuse
        int msecs = 0;             // Delay
        QByteArray bytes;          // RawAnswer
        Malformed malformed = Malformed::CutShort; // Malform
        int maxRows = 0;           // Shorten
        QStringList omitNames;     // Omit: these columns, or
        int omitCount = 0;         // Omit: the last this many
        // Trickle
        int stepBytes = 0;
        int stepMsecs = 0;
    };

    // What to do with one statement: wait, then answer as decided, at the pace decided.
    struct Decision
    {
        enum Reply { Execute, Drop, Silence, RawAnswer, Malform, Shorten, Omit, Refuse };
        int delayMsecs = 0;
        bool held = false;         // after the delay, wait at the gate until released
        Reply reply = Execute;
        quint32 status = 0;
        quint32 detail = 0;
        QByteArray bytes;
        Malformed malformed = Malformed::CutShort;
        int maxRows = 0;
        QStringList omitNames;
        int omitCount = 0;
        // The answer leaves stepBytes at a time, stepMsecs apart; 0: all at once.
        int stepBytes = 0;
        int stepMsecs = 0;
    };

    bool add(Rule rule, const QString &pattern);
    void clear() { m_rules.clear(); }
    bool isEmpty() const { return m_rules.isEmpty(); }

    // Uses up one turn of each rule that takes part in the decision: the first
    // matching delay, the first matching trickle, the first matching hold and the first
    // matching rule of the strongest reply.
    Decision decide(const QString &statement);

private:
    int firstMatch(Action action, const QString &statement) const;
    void useTurn(int index);

    QList<Rule> m_rules;
};

} // namespace StandIn
