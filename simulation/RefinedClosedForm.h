// The refined closed-form road: current functions that follow theory for any kinetics where the
// classic closed form is calibrated to one case.
//
// - Planar sweeps solve the integral equation of semi-infinite linear diffusion with Butler-Volmer
//   kinetics, f(t) = kf (Cox - I f / sqrt(Dox)) - kb (Cred + I f / sqrt(Dred)), with I the
//   semi-integral (1/sqrt(pi)) int_0^t f(u) (t - u)^-1/2 du, step by step on a uniform time grid by
//   product integration: the flux is taken piecewise linear between grid instants and the kernel
//   integrated exactly against it (Nicholson-Olmstead style). The new flux enters linearly, so each
//   step is one division; the cost is quadratic in the steps. Global error second order in the
//   step; the steps are at most 0.02 RT/nF of potential apart, so a coarse staircase is sampled
//   from a finely resolved ramp (down to one step per point when a run would need more than
//   16000). The first interval holds the flux of its end: the instantaneous Butler-Volmer flux
//   at the start decays in D / lambda^2, far within one step of a fast couple.
// - Radial sweeps are not solved here: their kernel has no exact form for cylinders and discs, so
//   they keep the classic semi-derivative of the step response.
// - Pulse techniques superpose the step responses of every potential jump of the waveform's
//   history (the response to a jump from E1 to E2 is the step response at E2 minus the one at E1),
//   sampled at the end of each pulse: exact for reversible couples, whose surface concentrations
//   follow the potential alone, and for the first step of any couple.
// - The rotating disk's sweep is the steady-state Koutecky-Levich wave itself.
// The waveforms are those of the refined digital road, so both refined roads compute the same
// experiment. Currents are per F*A in the units of the inputs (mol/L, cm, cm/s), reduction
// positive, like the classic functions.
#pragma once

#include <vector>

#include "model/ParameterModel.h"
#include "numerics/Arrays.h"
#include "simulation/AnalyticalCurrents.h"

namespace zemra {

// The potential program of one run as the refined roads read it.
struct PulseProgram {
    double Estart = 0;  // base potential of normal pulse, V
    double Epulse = 0;  // pulse height (square wave: half the peak-to-peak amplitude), V
    double tpulse = 0;  // pulse width (square wave: half period), s
    double hold = 0;    // pre-pulse period of normal and differential pulse, s
};

// Sweep current of every point i = 1..noOfData of the staircase X at a planar electrode: the ramp
// at rate Estep/tdrop (V/s) that the staircase stands for, starting from the bulk solution one
// potential step before X(1) and sampled as it passes each X(i) (a potential listed twice is
// sampled twice at the same instant). out[i] per F*A; out[0] unused.
std::vector<double> ConvolutionSweep(const ElectrodeTerms& el, const Couple& c,
                                     const Array1<kRows>& X, int noOfData, double rate);

// Step response (per F*A) at time t after a jump from the bulk to E: planar, or with the radial
// term of a sphere of radius el.Radius.
double StepResponse(const ElectrodeTerms& el, const Couple& c, bool radial, double E, double t);

// Normal pulse at base potential p.Estart: the hold, then the pulse to E + Epulse sampled after
// tpulse; each point from the bulk solution.
double NormalPulseSuperposed(const ElectrodeTerms& el, const Couple& c, bool radial,
                             const PulseProgram& p, double E);
// Differential pulse: the current at the end of the pulse to E + dE minus the current at the end
// of the hold at E before it; each point from the bulk solution.
double DiffPulseSuperposed(const ElectrodeTerms& el, const Couple& c, bool radial,
                           const PulseProgram& p, double E, double dE);
// Square wave over the whole staircase: per point i, a half period at X(i) - Epulse then one at
// X(i) + Epulse, each sampled at its end; out[i] = second sample minus first; out[0] unused.
std::vector<double> SquareWaveSuperposed(const ElectrodeTerms& el, const Couple& c, bool radial,
                                         const PulseProgram& p, const Array1<kRows>& X,
                                         int noOfData);

// The pre-pulse period of normal and differential pulse that both refined roads hold, s.
double PulseHoldTime(int technique, double tdrop, double tpulse);

// The peak (normal pulse: the limiting current and half-wave potential) that the refined pulse
// currents give for a reversible reaction k of the model's pulse technique and electrode: the
// potential in V on the staircase's axis and the current in A. Differential pulse from the
// extremum over the potential of the pulse pair, square wave from the staircase of the sheet.
struct PulsePeak {
    double E = 0, I = 0;
};
PulsePeak RefinedPulsePeak(const ParameterModel& m, int k);

}  // namespace zemra
