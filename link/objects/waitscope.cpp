#include "waitscope.h"

#include <utility>

namespace {

// GUI thread only.
int depth = 0;

std::function<void(bool)> &listener()
{
    static std::function<void(bool)> slot;
    return slot;
}

void tell(bool waiting)
{
    // A copy: the listener may be replaced from inside the call.
    const std::function<void(bool)> current = listener();
    if (current)
        current(waiting);
}

} // namespace

WaitScope::WaitScope()
{
    if (depth++ == 0)
        tell(true);
}

WaitScope::~WaitScope()
{
    if (--depth == 0)
        tell(false);
}

bool WaitScope::isWaiting()
{
    return depth > 0;
}

void WaitScope::setListener(std::function<void(bool waiting)> listener)
{
    ::listener() = std::move(listener);
}
