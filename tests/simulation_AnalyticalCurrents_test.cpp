#include <cmath>

#include "platform/RuntimeError.h"
#include "simulation/AnalyticalCurrents.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

constexpr double kPiExact = 3.14159265358979323846;
constexpr double kFRT25 = 96484.6 / (8.31441 * 298.14);  // F/RT at 25 degrees C

ElectrodeTerms Electrode() {
    return ElectrodeTerms{kFRT25, 0.01, 0.01, 10.0};
}

// A fast one-electron couple with D = 1e-5 cm^2/s for both forms (step-function terms sqrt(D)).
Couple FastCouple() {
    Couple c;
    c.ks = 1e4;
    c.Alpha = 0.5;
    c.n = 1;
    c.E0 = 0;
    c.Cox = 1e-3;
    c.Dox = std::sqrt(1e-5);
    c.Cred = 0;
    c.Dred = std::sqrt(1e-5);
    return c;
}

std::string ErrorOf(auto call) {
    try {
        call();
    } catch (const RuntimeError& e) {
        return e.Description();
    }
    return "";
}

TEST(ExpErfc, AgreesWithTheLibraryFunctionOverBothBranches) {
    for (double x = -4; x <= 12.001; x += 0.05)
        EXPECT_REL_NEAR(ExpErfc(x), std::exp(x * x) * std::erfc(x), 1e-6) << "x = " << x;
}

TEST(ExpErfc, KnownValues) {
    EXPECT_REL_NEAR(ExpErfc(0), 1.0, 1e-12);
    EXPECT_REL_NEAR(ExpErfc(1), 0.427584, 2e-6);
    EXPECT_REL_NEAR(ExpErfc(2), 0.255396, 2e-6);
    EXPECT_REL_NEAR(ExpErfc(-1), 5.00898, 2e-6);
}

TEST(ExpErfc, BranchesMeetAtOneAndAHalf) {
    // The series loses some digits to 1 - erf(x) with the eight-digit sqrt(pi) near x = 1.5, so
    // the branches meet within the function's 1e-6 accuracy.
    for (double x : {1.5, -1.5}) {
        const double below = std::nextafter(x, 0.0);  // last value of the series branch
        EXPECT_REL_NEAR(ExpErfc(x), ExpErfc(below), 1e-6) << x;
    }
}

TEST(StepCurrents, AtTheFormalPotentialBothRatesEqualKs) {
    // kf = kb = ks: J = n ks (Cox - Cred), lambda = ks (1/Dox' + 1/Dred') sqrt(t).
    Couple c = FastCouple();
    c.ks = 0.01;
    c.Cred = 4e-4;
    c.Dred = std::sqrt(2e-5);
    const double t = 0.3;
    const double lambda = c.ks * (1 / c.Dox + 1 / c.Dred) * std::sqrt(t);
    const double J = c.ks * (c.Cox - c.Cred);
    EXPECT_REL_NEAR(PlanarStepCurrent(Electrode(), c, 0, t),
                    J * std::exp(lambda * lambda) * std::erfc(lambda), 1e-6);
}

TEST(StepCurrents, PlanarDiffusionLimitIsCottrell) {
    const Couple c = FastCouple();
    for (double t : {0.01, 0.5, 2.0}) {
        const double cottrell = c.n * c.Cox * c.Dox / std::sqrt(kPiExact * t);
        EXPECT_REL_NEAR(PlanarStepCurrent(Electrode(), c, -0.6, t), cottrell, 1e-5) << t;
    }
}

TEST(StepCurrents, SphericalDiffusionLimitAddsTheRadialTerm) {
    const Couple c = FastCouple();
    const ElectrodeTerms el = Electrode();
    for (double t : {0.01, 0.5, 2.0}) {
        const double limit =
            c.n * c.Cox * (c.Dox / std::sqrt(kPiExact * t) + c.Dox * c.Dox / el.Radius);
        EXPECT_REL_NEAR(SphericalStepCurrent(el, c, -0.6, t), limit, 1e-5) << t;
    }
}

TEST(StepCurrents, RotatingDiskLimitIsLevich) {
    Couple c = FastCouple();
    c.Dox = c.Dred = 1e-5;  // the disk takes the diffusion coefficients themselves
    const ElectrodeTerms el = Electrode();
    const double levich = c.n * c.Cox * 0.62 * std::pow(1e-5, 2.0 / 3.0) *
                          std::pow(el.Viscosity, -1.0 / 6.0) * std::sqrt(el.Omega);
    EXPECT_REL_NEAR(RotatingDiskCurrent(el, c, -0.6), levich, 1e-5);
}

TEST(PulseCurrents, SquareWaveVanishesWithoutAPulseButDifferentialPulseDoesNot) {
    const Couple c = FastCouple();
    EXPECT_EQ(SquareWavePlanar(Electrode(), c, 0.02, 0.05, 0.0), 0.0);
    EXPECT_EQ(SquareWaveSpherical(Electrode(), c, 0.02, 0.05, 0.0), 0.0);
    // The planar differential pulse samples its two currents at different times.
    EXPECT_NE(DiffPulsePlanar(Electrode(), c, 0.02, 0.05, 0.5, 0.0), 0.0);
}

TEST(CurrentErrors, RaiseRunTimeErrors) {
    const ElectrodeTerms el = Electrode();
    Couple zeroD = FastCouple();
    zeroD.Dred = 0;
    EXPECT_EQ(ErrorOf([&] { PlanarStepCurrent(el, zeroD, 0, 1); }), kDivisionByZero);
    EXPECT_EQ(ErrorOf([&] { PlanarStepCurrent(el, FastCouple(), 0, -1); }), kInvalidCall);
    EXPECT_EQ(ErrorOf([&] { PlanarStepCurrent(el, FastCouple(), -100, 1); }), kOverflow);
    ElectrodeTerms noRadius = el;
    noRadius.Radius = 0;
    EXPECT_EQ(ErrorOf([&] { SphericalStepCurrent(noRadius, FastCouple(), 0, 1); }),
              kDivisionByZero);
    EXPECT_EQ(ErrorOf([] { ExpErfc(-30); }), kOverflow);
    EXPECT_EQ(ErrorOf([&] { DiffPulsePlanar(el, FastCouple(), 0, 0.05, 0, -0.05); }),
              kDivisionByZero);
}

}  // namespace
}  // namespace zemra
