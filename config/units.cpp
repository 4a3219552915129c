#include "units.h"

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

} // namespace Units
