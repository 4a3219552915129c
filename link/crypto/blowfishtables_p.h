#pragma once

#include "blowfish.h"

// The published initial tables; every key schedule starts from a copy of them.
extern const BLF_CTX blfPiTables;
