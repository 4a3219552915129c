#include "vexasupport.h"

#include <cstdlib>
#include <utility>

void bubleinit(int *index, int n)
{
    if (!index)
        return;
    for (int i = 0; i < n; ++i)
        index[i] = i;
}

void bublesort(int *index, int n, const void *(*key)(int), int (*compare)(const void *, const void *))
{
    if (!index || !key || !compare)
        return;
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (int i = 0; i + 1 < n; ++i) {
            if (compare(key(index[i]), key(index[i + 1])) < 0) {
                std::swap(index[i], index[i + 1]);
                swapped = true;
            }
        }
    }
}

int *bublesort2(int n, int (*compare)(int, int))
{
    if (n < 1 || !compare)
        return nullptr;
    auto *index = static_cast<int *>(malloc(size_t(n) * sizeof(int)));
    if (!index)
        return nullptr;
    bubleinit(index, n);
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (int i = 0; i + 1 < n; ++i) {
            if (compare(index[i], index[i + 1]) > 0) {
                std::swap(index[i], index[i + 1]);
                swapped = true;
            }
        }
    }
    return index;
}
