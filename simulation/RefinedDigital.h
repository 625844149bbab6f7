// The refined digital simulation: the same experiment as DigitalSimulation (every mechanism,
// technique and electrode, the same programmed potentials and sampling instants, the same outputs)
// computed to textbook accuracy instead of with the classic coarse grid and one implicit step per
// sampling interval.
//
// Method. Space: node-centred finite volumes on a grid expanding by e^0.4 per level from a first
// spacing of 1 % of the smallest length that matters (the diffusion length of the shortest
// sampling interval, the radius of a small electrode, the reaction layer sqrt(D/k) of the fastest
// homogeneous reaction) out to six diffusion lengths of the longest stretch of time the profile
// evolves without a reset. The faces sit where the exponential map puts the half-integer nodes,
// so the scheme is central differences on the uniform mapped grid (second order whatever the
// growth); the electrode node carries its half cell, so the surface flux is second order too.
// The microdisc is simulated in two dimensions on the oblate spheroidal map of Microdisc.h.
// Time: backward differentiation formulas with variable steps, fully implicit (implicit Euler
// right after a restart, then orders 2 and 3), so fast kinetics and fast chemistry need no small
// steps for stability. After every potential jump (the start, every pulse, drop and square-wave
// half period) the steps start at 1e-4 of the interval and grow by 1.5 per step up to 4 % of it,
// which resolves the t^-1/2 singularity of the step response. A sweep is simulated as the linear
// ramp that it stands for, in steps of at most 0.5 mV / n, and the staircase points are the
// potentials at which it is sampled (linear-sweep theory is the yardstick). Second-order
// homogeneous steps are linearised about a predictor extrapolated from the known time levels (one
// Newton step per time step). The uncompensated resistance is applied implicitly: each step solves
// E = Ep + Ru I(E) for its own current. Order of accuracy: two in space, three in time.
#pragma once

#include "simulation/DigitalSimulation.h"

namespace zemra {

// Simulates every point i = 1..noOfData of the potential program X for the mechanism, technique
// and electrode of the model, leaving the current of each charge-transfer reaction k in
// res.Icomp(i, k) (A, reduction positive) and the surface concentrations in res.Csurf(i, s)
// (mol/L; at the microdisc the average over the disc). `ru` is the uncompensated resistance in
// ohm. A sweep starts one potential step before X(1) from the bulk solution, so that X(1) is
// sampled after a whole step like every later point; a potential listed twice (the switching
// potential) is sampled twice at the same instant. DC, normal and differential pulse points start
// from the bulk; the pre-pulse period of the pulse techniques lasts (SubStepsPerPoint - 1) x
// tpulse as in DigitalSimulation.
DigitalOutcome RefinedDigitalSimulation(const ParameterModel& m, double ru, const Array1<kRows>& X,
                                        int noOfData, Results& res);

}  // namespace zemra
