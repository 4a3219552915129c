#pragma once

// When a log view under measurement is ready: what the benchmarks of the log viewer wait
// for before they read a clock or paint.

#include "logpager.h"
#include "wndlog.h"

#include <algorithm>

// Whether the view's log is open, no load runs, and every row the view shows is cached.
inline bool showsItsRows(const WndLog& view)
{
    const LogPager* pager = view.pager();
    if (!pager->isOpen() || view.isLoading() || pager->isLoading())
        return false;
    const qint64 end = std::min<qint64>(view.topRow() + view.visibleRows(), pager->count());
    return pager->covers(view.topRow(), end);
}
