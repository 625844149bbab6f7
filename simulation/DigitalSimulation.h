// Digital simulation of diffusion and kinetics: fully implicit time steps on an exponentially
// expanding box grid, all species of a box coupled into one block of a block-tridiagonal system
// closed at the electrode by the Butler-Volmer surface relation.
#pragma once

#include <string>

#include "model/ParameterModel.h"
#include "state/Results.h"

namespace zemra {

// How a digital run ended. A singular block does not stop the run (the solve carries on with the
// partly inverted matrix); a run-time error ends it, keeping the points finished so far.
struct DigitalOutcome {
    bool SingularMatrix = false;  // some block of the solve was singular
    std::string Error;            // description of the run-time error that ended the run, or ""
};

// Simulates every point i = 1..noOfData of the potential program X for the mechanism, technique
// and electrode of the model, leaving the current of each charge-transfer reaction k in
// res.Icomp(i, k) (A, reduction positive) and the surface concentrations in res.Csurf(i, s)
// (mol/L). `ru` is the uncompensated resistance in ohm.
DigitalOutcome DigitalSimulation(const ParameterModel& m, double ru, const Array1<kRows>& X,
                                 int noOfData, Results& res);

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
