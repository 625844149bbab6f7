#include <cmath>

#include "simulation/Microdisc.h"
#include "simulation/RefinedDigital.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

TEST(Microdisc, MeshCoversTheDiscOnce) {
    const RefinedMesh mesh = MicrodiscMesh(1e-4, 1e-7, 0.4, 1e-2, 16);
    double area = 0;
    for (double share : mesh.ElectrodeShare) area += share;
    EXPECT_NEAR(area, 1, 1e-12);
    EXPECT_NEAR(mesh.FirstSpacing, 1e-7, 1e-12);
}

TEST(Microdisc, ChronoamperometryFollowsShoupSzabo) {
    // A diffusion-limited step at a disc of r = 1 um: i = 4nFDCr f(tau), tau = 4Dt/r^2, with
    // f = 0.7854 + 0.8862 / sqrt(tau) + 0.2146 exp(-0.7823 / sqrt(tau)) (itself within 0.6 %),
    // and the steady state 4nFDCr (tau = 1e8) within 0.5 %.
    const double r = 1e-4;
    const struct {
        double tau, tol;
    } cases[] = {{0.01, 0.01}, {0.1, 0.01}, {1, 0.01}, {10, 0.01}, {100, 0.01}, {1e8, 0.005}};
    for (const auto& c : cases) {
        ParameterModel m;
        const MechanismInfo& info = kMechanisms[0];
        m.Mechanism = 1;
        m.NSpecies = info.NSpecies;
        m.NCharge = info.NCharge;
        m.Technique = 2;
        m.Electrode = 4;
        m.FRT = kFaraday / (kGasConstant * 298.15);
        m.Radius = r;
        m.Area = kPi * r * r;
        m.D[1] = m.D[2] = 1e-5;
        m.C[1] = 1e-3;
        m.ks[1] = 1e4;
        m.Alpha[1] = 0.5;
        m.n[1] = 1;
        m.tdrop = c.tau * r * r / 4e-5;
        Array1<kRows> X;
        X(1) = -0.5;
        Results res;
        ASSERT_EQ(RefinedDigitalSimulation(m, 0, X, 1, res).Error, "");
        const double s = std::sqrt(c.tau);
        const double f = 0.7854 + 0.8862 / s + 0.2146 * std::exp(-0.7823 / s);
        EXPECT_REL_NEAR(res.Icomp(1, 1), 4 * 96.4846 * 1e-5 * 1e-3 * r * f, c.tol) << c.tau;
    }
}

}  // namespace
}  // namespace zemra
