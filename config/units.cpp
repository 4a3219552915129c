#include "units.h"

#include <algorithm>

namespace Units {

Factors sizeFactors()
{
    return {1024, 1048576};
}

Factors timeFactors()
{
    return {60, 3600, 86400};
}

Shown show(qint64 stored, const Factors& factors)
{
    for (int unit = int(factors.size()) - 1; unit > 0; --unit) {
        const qint64 factor = factors.at(unit);
        if (stored >= factor && stored % factor == 0)
            return {stored / factor, unit};
    }
    return {factors.isEmpty() ? stored : stored / factors.first(), 0};
}

qint64 product(qint64 number, qint64 factor, qint64 maximum)
{
    if (number <= 0 || factor <= 0)
        return 0;
    if (number > maximum / factor)
        return maximum;
    return std::min(number * factor, maximum);
}

} // namespace Units
