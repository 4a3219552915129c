#pragma once

#include <QList>
#include <QtGlobal>

// How the configuration pages show a stored amount (bytes, seconds) as a number and a unit
// of their choice boxes, and how they turn a number and a unit back into what is stored.
namespace Units {

// The units of a choice box, smallest first, as multiples of the stored unit.
using Factors = QList<qint64>;
Factors sizeFactors(); // "KB", "MB" over bytes
Factors timeFactors(); // "minutes", "hours", "days" over seconds

struct Shown
{
    qint64 number;
    int unit; // index into the factors
};

// The largest unit above the smallest that divides stored exactly (stored at least one
// such unit); otherwise the smallest unit with the quotient cut toward zero, so a stored
// value that is no whole number of it is shown rounded down.
Shown show(qint64 stored, const Factors& factors);

} // namespace Units
