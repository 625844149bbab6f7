#include "simulation/AnalyticalCurrents.h"

#include <cmath>

#include "platform/RuntimeError.h"

namespace zemra {
namespace {

// The constants of the exp*erfc evaluation, to eight significant digits.
constexpr double kSqrt2 = 1.4142136;
constexpr double kSqrtPi8 = 1.7724539;

// Butler-Volmer rate constants at E and the kinetic flux term J = n (kf Cox - kb Cred).
struct Rates {
    double kf, kb, J;
};

Rates Kinetics(const ElectrodeTerms& el, const Couple& c, double E) {
    const double eta = c.n * el.FRT * (E - c.E0);
    Rates r;
    r.kf = Finite(c.ks * Exp(-c.Alpha * eta));
    r.kb = Finite(c.ks * Exp((1 - c.Alpha) * eta));
    r.J = Finite(c.n * (r.kf * c.Cox - r.kb * c.Cred));
    return r;
}

// kf/Dox' + kb/Dred': the kinetic parameter of the step functions, 1/sqrt(s).
double KineticRatio(const Rates& r, const Couple& c) {
    return Finite(Div(r.kf, c.Dox) + Div(r.kb, c.Dred));
}

// exp(x^2) erfc(x) for |x| >= 1.5 by its continued fraction, reflected for negative x.
double ExpErfcContinuedFraction(double x, double x2) {
    double add = 0;
    if (x <= 0) {
        x = -x;
        add = 2 * Exp(x2);  // erfc(-x) = 2 - erfc(x)
    }
    int terms = 2 + static_cast<int>(std::floor(32 / x));
    double L = 1 / (x * kSqrt2);
    do {
        L *= terms;
        L += x * kSqrt2;
        L = 1 / L;
        --terms;
    } while (terms != 0);
    L = L * kSqrt2 / kSqrtPi8;
    if (add != 0) L = -L;
    return L + add;
}

// exp(x^2) erfc(x) for |x| < 1.5 from the series of erf summed backwards.
double ExpErfcSeries(double x, double x2) {
    int terms = 2 + static_cast<int>(std::floor(9 * std::fabs(x)));
    double L = terms / (terms + x2);
    do {
        L = L * (0.5 - terms) * x2;
        L = L / (terms * (terms + 0.5));
        L = L + 1;
        --terms;
    } while (terms != 0);
    L = L * 2 * x / kSqrtPi8;
    return (1 - L) * std::exp(x2);
}

}  // namespace

double ExpErfc(double x) {
    Finite(x);
    const double x2 = x * x;
    if (std::fabs(x) >= 1.5) return ExpErfcContinuedFraction(x, x2);
    return ExpErfcSeries(x, x2);
}

double PlanarStepCurrent(const ElectrodeTerms& el, const Couple& c, double E, double t) {
    const Rates r = Kinetics(el, c, E);
    const double lambda = Finite(KineticRatio(r, c) * Sqrt(t));
    return Finite(r.J * ExpErfc(lambda));
}

double SphericalStepCurrent(const ElectrodeTerms& el, const Couple& c, double E, double t) {
    const Rates r = Kinetics(el, c, E);
    const double s = Div(c.Dox, el.Radius);  // radial term sqrt(D)/r0, 1/sqrt(s)
    const double H = Finite(KineticRatio(r, c) + s);
    const double w = Div(s, H);  // steady-state share of the current
    return Finite(r.J * ((1 - w) * ExpErfc(Finite(H * Sqrt(t))) + w));
}

double RotatingDiskCurrent(const ElectrodeTerms& el, const Couple& c, double E) {
    const Rates r = Kinetics(el, c, E);
    // Levich mass-transfer term 0.62 nu^(-1/6) sqrt(omega); the D^(2/3) sits in the kinetic part.
    const double levich = 0.62 * Pow(el.Viscosity, -1.0 / 6.0) * Sqrt(el.Omega);
    const double kinetic = Finite(r.kf * Pow(c.Dox, -2.0 / 3.0) + r.kb * Pow(c.Dred, -2.0 / 3.0));
    return Div(r.J, 1 + Div(kinetic, levich));
}

double DiffPulsePlanar(const ElectrodeTerms& el, const Couple& c, double E, double tpulse,
                       double tdrop, double dE) {
    // The pulsed sample is taken later, lengthened by the growth of the drop.
    const double t2 = tpulse * Pow(Div(tdrop + tpulse, tdrop), 0.15);
    return Finite(PlanarStepCurrent(el, c, E + dE, t2) - PlanarStepCurrent(el, c, E, tpulse));
}

double DiffPulseSpherical(const ElectrodeTerms& el, const Couple& c, double E, double tpulse,
                          double tdrop, double dE) {
    // The base sample is taken earlier.
    const double t1 = tpulse * Div(tdrop + 1, tdrop + tpulse + 1);
    return Finite(SphericalStepCurrent(el, c, E + dE, tpulse) - SphericalStepCurrent(el, c, E, t1));
}

double SquareWavePlanar(const ElectrodeTerms& el, const Couple& c, double E, double tpulse,
                        double dE) {
    return Finite(PlanarStepCurrent(el, c, E + dE, tpulse) - PlanarStepCurrent(el, c, E, tpulse));
}

double SquareWaveSpherical(const ElectrodeTerms& el, const Couple& c, double E, double tpulse,
                           double dE) {
    return Finite(SphericalStepCurrent(el, c, E + dE, tpulse) -
                  SphericalStepCurrent(el, c, E, tpulse));
}

}  // namespace zemra
