// Stores small enough that their ratings are worked out by hand: shared by the tests of
// the rating and of the sensitivity ranking.
#pragma once

#include "MatrixLiterals.h"

#include "model/Data.h"

// One layer, threat and mechanism: Rm = Re = 0.5 * 4 * max(0, 2 + s) * max(0, 3 + s) / 24.
inline CData SingleItem()
{
    CData d;
    d.ReliabilityME = MakeMatrix({ { 0.5f } });
    d.DamageEM = MakeMatrix({ { 4 } });
    d.EF = MakeMatrix({ { 2 } });
    d.FM = MakeMatrix({ { 3 } });
    d.WeightedDamageMax = 24.0f;
    return d;
}

// One layer and mechanism, two threats; the second carries a negative frequency, so that
// for shifts s >= 0 of the first the value is |s * s - 4|: the curve falls to zero at
// exactly s = 2 and rises again, so its extremes are not at the ends, and around the zero
// the closed form cancels.
inline CData DipAtTwo()
{
    CData d;
    d.ReliabilityME = MakeMatrix({ { 1 } });
    d.DamageEM = MakeMatrix({ { 1 } });
    d.EF = MakeMatrix({ { 0, -1 } });
    d.FM = MakeMatrix({ { 0 }, { 4 } });
    d.WeightedDamageMax = 1.0f;
    return d;
}
