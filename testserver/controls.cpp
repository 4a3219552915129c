#include "controls_p.h"

#include <algorithm>
#include <functional>
#include <iterator>

namespace StandIn {

bool Controls::add(Rule rule, const QString &pattern)
{
    rule.pattern = QRegularExpression(pattern);
    if (!rule.pattern.isValid() || rule.remaining == 0)
        return false;
    m_rules.append(rule);
    return true;
}

int Controls::firstMatch(Action action, const QString &statement) const
{
    for (int i = 0; i < m_rules.size(); ++i) {
        const Rule &rule = m_rules.at(i);
        if (rule.action == action && rule.pattern.match(statement).hasMatch())
            return i;
    }
    return -1;
}

void Controls::useTurn(int index)
{
    Rule &rule = m_rules[index];
    if (rule.remaining > 0 && --rule.remaining == 0)
        m_rules.removeAt(index);
}

Controls::Decision Controls::decide(const QString &statement)
{
    Decision decision;
    // Indexes are taken before any rule is used up, then used from the highest
    // down so that removing one does not move the others.
    const int delay = firstMatch(Action::Delay, statement);
    const int trickle = firstMatch(Action::Trickle, statement);
    const int hold = firstMatch(Action::Hold, statement);
    int reply = -1;
    const Action strongestFirst[] = {Action::Drop, Action::Silence, Action::RawAnswer,
                                     Action::Malform, Action::Shorten, Action::Omit,
                                     Action::Refuse};
    for (Action action : strongestFirst) {
        reply = firstMatch(action, statement);
        if (reply >= 0)
            break;
    }

    if (delay >= 0)
        decision.delayMsecs = m_rules.at(delay).msecs;
    decision.held = hold >= 0;
    if (trickle >= 0) {
        decision.stepBytes = m_rules.at(trickle).stepBytes;
        decision.stepMsecs = m_rules.at(trickle).stepMsecs;
    }
    if (reply >= 0) {
        const Rule &rule = m_rules.at(reply);
        switch (rule.action) {
        case Action::Drop: decision.reply = Decision::Drop; break;
        case Action::Silence: decision.reply = Decision::Silence; break;
        case Action::RawAnswer: decision.reply = Decision::RawAnswer; break;
        case Action::Malform: decision.reply = Decision::Malform; break;
        case Action::Shorten: decision.reply = Decision::Shorten; break;
        case Action::Omit: decision.reply = Decision::Omit; break;
        case Action::Refuse: decision.reply = Decision::Refuse; break;
        case Action::Delay:
        case Action::Trickle:
        case Action::Hold:
            break;
        }
        decision.status = rule.status;
        decision.detail = rule.detail;
        decision.bytes = rule.bytes;
        decision.malformed = rule.malformed;
        decision.maxRows = rule.maxRows;
        decision.omitNames = rule.omitNames;
        decision.omitCount = rule.omitCount;
    }

    int used[] = {delay, trickle, hold, reply};
    std::sort(std::begin(used), std::end(used), std::greater<int>());
    for (int index : used) {
        if (index >= 0)
            useTurn(index);
    }
    return decision;
}

} // namespace StandIn
