// The simulation's results: the current of every charge-transfer reaction, the total and the
// surface concentrations, with the scan structure of the last run.
#pragma once

#include "numerics/Arrays.h"

namespace zemra {

// What the simulation computes: per-reaction currents, the total and the surface concentrations.
struct Results {
    // Points 0..4000 by columns 0..7: column j (1..NCharge) the current of charge-transfer
    // reaction j, column TotalColumn the total, column 7 the catalytic term of mechanism 9. A.
    Array2<kRows, 8> Icomp;
    // Points 0..4000 by species columns 0..6: surface concentration of species s, mol/L.
    Array2<kRows, 7> Csurf;
    int TotalColumn = 0;     // NCharge + 1
    int PointsPerSweep = 0;  // points of one sweep
    int ScanSign = 0;        // +1 when Eend > Estart, else -1
};

}  // namespace zemra
