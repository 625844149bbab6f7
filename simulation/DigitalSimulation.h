// Digital simulation of diffusion and kinetics: fully implicit time steps on an exponentially
// expanding box grid, all species of a box coupled into one block of a block-tridiagonal system
// closed at the electrode by the Butler-Volmer surface relation.
#pragma once

#include "model/ParameterModel.h"
#include "platform/Host.h"

namespace zemra {

// Simulates every point i = 1..noOfData of the potential program X for the mechanism, technique
// and electrode of the model, leaving the current of each charge-transfer reaction k in
// res.Icomp(i, k) (A, reduction positive) and the surface concentrations in res.Csurf(i, s)
// (mol/L). `ru` is the uncompensated resistance in ohm. A run-time error ends the run with the
// message "CV Error: <description>! Please try again by other initial values.", keeping the
// points finished so far.
void DigitalSimulation(const ParameterModel& m, double ru, const Array1<kRows>& X, int noOfData,
                       Results& res, Host& host);

}  // namespace zemra
