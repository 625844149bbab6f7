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

// Dimensionless diffusion number D dt / dx0^2 of the fastest-diffusing species: 10 without
// homogeneous chemistry, otherwise (kf(1) + kb(1)) RT / (F |Estep|), so that a fast first
// homogeneous reaction gets a finer grid.
double GridLambdaFor(const ParameterModel& m);

// Number of boxes of the grid expanding by e per box whose outer edge reaches about
// 6 sqrt(Dmax x total time): ln(6 (e - 1) sqrt(gridLambda x noOfData) + 1) + 2, to the nearest
// whole number (halves to even).
int BoxCount(double gridLambda, int noOfData);

// Implicit time steps per data point for the technique (1..5): 1 for the sweep, 10 for DC, 2 for
// square wave, and for the two pulse techniques an even count near tdrop / tpulse (at least 2).
int SubStepsPerPoint(int technique, double tdrop, double tpulse);

}  // namespace zemra
