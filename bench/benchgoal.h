#pragma once

#include <cstdio>
#include <cstring>

// One figure beside its goal, as scripts/bench collects them: a line that begins "goal:",
// then what was measured, the figure, and the goal with whether it was met. `bound` is "<="
// for a figure that must not exceed the target, ">=" for one that must reach it.
inline void printGoal(const char* what, double figure, const char* unit, const char* bound,
                      double target)
{
    const bool atMost = std::strcmp(bound, "<=") == 0;
    const bool met = atMost ? figure <= target : figure >= target;
    std::printf("goal: %-52s %9.2f %-3s (goal %s %g %s: %s)\n", what, figure, unit, bound, target,
                unit, met ? "met" : "NOT met");
}
