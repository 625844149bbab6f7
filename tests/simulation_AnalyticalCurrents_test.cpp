#include <cmath>

#include "platform/RuntimeError.h"
#include "simulation/AnalyticalCurrents.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

constexpr double kPiExact = 3.14159265358979323846;

// F/RT at 25 degrees C, a 0.01 cm radius, viscosity 0.01 cm^2/s and 10 rad/s.
const ElectrodeTerms kElectrode{96484.6 / (8.31441 * 298.14), 0.01, 0.01, 10.0};
// A fast one-electron couple at 0 V, 1 mM of the oxidised form, D = 1e-5 cm^2/s for both forms
// (the step functions take sqrt(D)).
const Couple kFast{1e4, 0.5, 1, 0, 1e-3, std::sqrt(1e-5), 0, std::sqrt(1e-5)};

TEST(ExpErfc, AgreesWithTheLibraryFunctionAndKnownValues) {
    for (double x = -4; x <= 12.001; x += 0.05)
        EXPECT_REL_NEAR(ExpErfc(x), std::exp(x * x) * std::erfc(x), 1e-6) << "x = " << x;
    EXPECT_REL_NEAR(ExpErfc(0), 1.0, 1e-12);
    EXPECT_REL_NEAR(ExpErfc(1), 0.427584, 2e-6);
    EXPECT_REL_NEAR(ExpErfc(2), 0.255396, 2e-6);
    EXPECT_REL_NEAR(ExpErfc(-1), 5.00898, 2e-6);
    // The series loses some digits to 1 - erf(x) with the eight-digit sqrt(pi) near x = 1.5, so
    // the branches meet within the function's 1e-6 accuracy.
    for (double x : {1.5, -1.5})
        EXPECT_REL_NEAR(ExpErfc(x), ExpErfc(std::nextafter(x, 0.0)), 1e-6) << x;
}

TEST(StepCurrents, AtTheFormalPotentialBothRatesEqualKs) {
    // kf = kb = ks: J = n ks (Cox - Cred), lambda = ks (1/Dox' + 1/Dred') sqrt(t).
    Couple c = kFast;
    c.ks = 0.01;
    c.Cred = 4e-4;
    c.Dred = std::sqrt(2e-5);
    const double t = 0.3;
    const double lambda = c.ks * (1 / c.Dox + 1 / c.Dred) * std::sqrt(t);
    EXPECT_REL_NEAR(PlanarStepCurrent(kElectrode, c, 0, t),
                    c.ks * (c.Cox - c.Cred) * std::exp(lambda * lambda) * std::erfc(lambda), 1e-6);
}

TEST(StepCurrents, DiffusionLimitsAreCottrellWithTheRadialTermAndLevich) {
    const Couple& c = kFast;
    for (double t : {0.01, 0.5, 2.0}) {
        const double cottrell = c.n * c.Cox * c.Dox / std::sqrt(kPiExact * t);
        EXPECT_REL_NEAR(PlanarStepCurrent(kElectrode, c, -0.6, t), cottrell, 1e-5) << t;
        EXPECT_REL_NEAR(SphericalStepCurrent(kElectrode, c, -0.6, t),
                        cottrell + c.n * c.Cox * c.Dox * c.Dox / kElectrode.Radius, 1e-5)
            << t;
    }
    Couple disk = c;
    disk.Dox = disk.Dred = 1e-5;  // the disk takes the diffusion coefficients themselves
    const double levich = c.n * c.Cox * 0.62 * std::pow(1e-5, 2.0 / 3.0) *
                          std::pow(kElectrode.Viscosity, -1.0 / 6.0) * std::sqrt(kElectrode.Omega);
    EXPECT_REL_NEAR(RotatingDiskCurrent(kElectrode, disk, -0.6), levich, 1e-5);
}

TEST(PulseCurrents, SquareWaveVanishesWithoutAPulseButDifferentialPulseDoesNot) {
    EXPECT_EQ(SquareWavePlanar(kElectrode, kFast, 0.02, 0.05, 0.0), 0.0);
    EXPECT_EQ(SquareWaveSpherical(kElectrode, kFast, 0.02, 0.05, 0.0), 0.0);
    // The planar differential pulse samples its two currents at different times.
    EXPECT_NE(DiffPulsePlanar(kElectrode, kFast, 0.02, 0.05, 0.5, 0.0), 0.0);
}

TEST(CurrentErrors, RaiseRunTimeErrors) {
    using test::ErrorOf;
    Couple zeroD = kFast;
    zeroD.Dred = 0;
    ElectrodeTerms noRadius = kElectrode;
    noRadius.Radius = 0;
    EXPECT_EQ(ErrorOf([&] { PlanarStepCurrent(kElectrode, zeroD, 0, 1); }), kDivisionByZero);
    EXPECT_EQ(ErrorOf([] { PlanarStepCurrent(kElectrode, kFast, 0, -1); }), kInvalidCall);
    EXPECT_EQ(ErrorOf([] { PlanarStepCurrent(kElectrode, kFast, -100, 1); }), kOverflow);
    EXPECT_EQ(ErrorOf([&] { SphericalStepCurrent(noRadius, kFast, 0, 1); }), kDivisionByZero);
    EXPECT_EQ(ErrorOf([] { ExpErfc(-30); }), kOverflow);
    EXPECT_EQ(ErrorOf([] { DiffPulsePlanar(kElectrode, kFast, 0, 0.05, 0, -0.05); }),
              kDivisionByZero);
}

}  // namespace
}  // namespace zemra
