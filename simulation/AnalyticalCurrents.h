// Closed-form current functions of the analytical simulation: a quasi-reversible potential step
// at a planar electrode, the same with a radial (spherical) diffusion term, a steady-state
// rotating disk with electrode kinetics, and the pulse differences built from them for
// differential pulse and square wave voltammetry. Results are currents per unit F*A in the
// units of the inputs (mol/L, cm, cm/s); a reduction current is positive.
#pragma once

namespace zemra {

// The charge-transfer couple of one call: A + ne = B with its kinetics and its bulk amounts.
struct Couple {
    double ks = 0;     // standard heterogeneous rate constant, cm/s
    double Alpha = 0;  // transfer coefficient
    double n = 0;      // electron number
    double E0 = 0;     // formal potential used for this call, V
    double Cox = 0;    // bulk concentration of the oxidised form, mol/L
    double Dox = 0;    // diffusion term of the oxidised form (sqrt(D), or D at the rotating disk)
    double Cred = 0;   // bulk concentration of the reduced form, mol/L
    double Dred = 0;   // diffusion term of the reduced form
};

// The parameter-model fields the functions read.
struct ElectrodeTerms {
    double FRT = 0;        // F/RT, 1/V
    double Radius = 0;     // cm
    double Viscosity = 0;  // kinematic viscosity, cm^2/s
    double Omega = 0;      // rotation rate, rad/s
};

// exp(x^2) * erfc(x): a continued fraction for |x| >= 1.5, the backward-summed series of erf
// otherwise. Agrees with the exact function to about 1e-6 relative.
double ExpErfc(double x);

// Current at time t after a step to E at a planar electrode (Butler-Volmer kinetics, semi-
// infinite linear diffusion); Dox, Dred are square roots of the diffusion coefficients.
double PlanarStepCurrent(const ElectrodeTerms& el, const Couple& c, double E, double t);
// The same with the radial term of a sphere of radius Radius (also serves hemispheres,
// microdiscs, cylinders and hemicylinders).
double SphericalStepCurrent(const ElectrodeTerms& el, const Couple& c, double E, double t);
// Steady-state current at a rotating disk; Dox, Dred are the diffusion coefficients themselves.
double RotatingDiskCurrent(const ElectrodeTerms& el, const Couple& c, double E);

// Differential pulse: the pulsed sample at E + dE minus the base sample at E.
double DiffPulsePlanar(const ElectrodeTerms& el, const Couple& c, double E, double tpulse,
                       double tdrop, double dE);
double DiffPulseSpherical(const ElectrodeTerms& el, const Couple& c, double E, double tpulse,
                          double tdrop, double dE);
// Square wave: the step current at E + dE minus the one at E, both after tpulse.
double SquareWavePlanar(const ElectrodeTerms& el, const Couple& c, double E, double tpulse,
                        double dE);
double SquareWaveSpherical(const ElectrodeTerms& el, const Couple& c, double E, double tpulse,
                           double dE);

}  // namespace zemra
