#include <array>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "model/Collection.h"
#include "simulation/DigitalSimulation.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

// One digital run on the model collected from the start-up sheet for the chosen mechanism,
// technique and electrode: 25 C, 1 cm2, D = 1e-5 cm2/s, 1 mM of A, reversible couples (ks 1e4
// cm/s) at 0.1, -0.1 and -0.2 V, kf 10, kb 0.01, 0.3 V to -0.3 V in 5 mV steps of 0.5 s.
struct Experiment {
    ParameterModel m;
    Array1<kRows> X;
    Results res;
    struct {
        std::vector<std::string> Messages;  // what the driver would show
    } host;
    int noOfData = 0;
    double ru = 0;

    explicit Experiment(int mechanism = 1, int technique = 1, int electrode = 1) {
        test::Bench b;
        b.wb.Input.Select("mech", mechanism);
        b.wb.Input.Select("optTech", technique);
        b.wb.Input.Select("optElectrode", electrode);
        CollectParameters(b.wb.Model, b.wb.Input);
        m = b.wb.Model;
        Staircase(m.Estart, m.Eend, m.Estep, m.ScanCycles);
    }

    // The driver's staircase: the forward sweep, and for a cycle the reverse sweep after it.
    void Staircase(double estart, double eend, double estep, double cycles) {
        m.Estart = estart;
        m.Eend = eend;
        m.Estep = estep;
        const int n = static_cast<int>(std::lround(std::fabs((eend - estart) / estep))) + 1;
        const double sign = eend > estart ? 1 : -1;
        for (int i = 1; i <= n; ++i) X(i) = estart + (i - 1) * estep * sign;
        if (cycles >= 1)
            for (int i = 1; i <= n; ++i) X(n + i) = X(n - i + 1);
        res.PointsPerSweep = n;
        noOfData = static_cast<int>(2 * n * cycles);
    }

    void Run() {
        res.Icomp.Fill(0);
        res.TotalColumn = m.NCharge + 1;
        const DigitalOutcome outcome = DigitalSimulation(m, ru, X, noOfData, res);
        if (outcome.SingularMatrix) host.Messages.push_back("Error: inverse matrix D=0");
        if (!outcome.Error.empty())
            host.Messages.push_back("CV Error: " + outcome.Error +
                                    "! Please try again by other initial values.");
    }

    double I(int i, int k = 1) const { return res.Icomp(i, k); }
    int PeakIndex(int from, int to, int sign, int k = 1) const {
        int best = from;
        for (int i = from; i <= to; ++i)
            if (sign * I(i, k) > sign * I(best, k)) best = i;
        return best;
    }
};

TEST(DigitalGrid, BoxesFollowThePointCountAndSubStepsTheTechnique) {
    const struct { int points, boxes; } grids[] = {{121, 8}, {242, 8}, {484, 9}, {4000, 10}};
    for (const auto& g : grids) EXPECT_EQ(BoxCount(10, g.points), g.boxes) << g.points;
    // Pulse techniques: the nearest whole number to tdrop / tpulse, at least 2, made even.
    const struct {
        int technique;
        double tdrop;
        int steps;
    } cases[] = {{1, 0.5, 1},  {2, 0.5, 10}, {5, 0.5, 2},  {3, 0.5, 10}, {4, 0.15, 4},
                 {3, 0.25, 6}, {4, 0.12, 2}, {3, 0.01, 2}, {4, 0.145, 4}};
    for (const auto& c : cases)
        EXPECT_EQ(SubStepsPerPoint(c.technique, c.tdrop, 0.05), c.steps)
            << c.technique << " " << c.tdrop;
    EXPECT_THROW(SubStepsPerPoint(3, 0.5, 0), RuntimeError);
}

TEST(DigitalSimulation, CyclicVoltammogramAtAPlanarElectrodeIsReversible) {
    // 1 mV steps of 0.1 s (10 mV/s). The peak potential is resolved to the 1 mV step, hence
    // 2 mV on each peak and 3 mV on the separation; the peak current comes within 2 % of
    // Randles-Sevcik, 0.4463 FAC sqrt(FvD/RT): the staircase samples at the end of each step
    // and the grid's first box centre lies 0.38 sqrt(D dt / 10) from the electrode.
    Experiment e;
    e.m.tdrop = 0.1;
    e.Staircase(0.4, -0.2, 0.001, 1);
    e.Run();
    ASSERT_TRUE(e.host.Messages.empty());
    const int n = e.res.PointsPerSweep;
    const int cathodic = e.PeakIndex(1, n, +1), anodic = e.PeakIndex(n + 1, 2 * n, -1);
    const double rtf = 1 / e.m.FRT;
    EXPECT_REL_NEAR(e.I(cathodic), 0.4463 * 96.4846 * 1e-3 * std::sqrt(0.01 * 1e-5 / rtf), 0.02);
    EXPECT_NEAR(e.X(cathodic), 0.1 - 1.109 * rtf, 0.002);
    EXPECT_NEAR(e.X(anodic), 0.1 + 1.109 * rtf, 0.002);
    EXPECT_NEAR(e.X(anodic) - e.X(cathodic), 2.218 * rtf, 0.003);
    // Every current is the Butler-Volmer rate at the surface, F A Cmax (kRed cA - kOx cB) with
    // c in units of 1 mM. Near equilibrium the two terms nearly cancel: the tolerance is
    // relative to the larger one.
    for (int i = 1; i <= e.noOfData; i += 7) {
        const double eta = e.m.FRT * (e.X(i) - 0.1), scale = 96.4846 * 1e-3;
        const double red = 1e4 * std::exp(-0.5 * eta) * e.res.Csurf(i, 1) / 1e-3;
        const double ox = 1e4 * std::exp(0.5 * eta) * e.res.Csurf(i, 2) / 1e-3;
        EXPECT_NEAR(e.I(i), scale * (red - ox), 1e-10 * scale * (red + ox)) << i;
    }
}

TEST(DigitalSimulation, SmallSphereReachesTheSteadyState) {
    // r = 10 um, 10 mV/s: after 60 s the transient term r / sqrt(pi D t) adds 2.3 %; the grid's
    // first gradient is taken over 0.38 dx0 with dx0 = sqrt(D dt / 10) = r / 3, which lowers
    // the flux by a few per cent. Hence 5 % around nFADC/r.
    Experiment e(1, 1, 2);
    e.m.Radius = 1e-3;
    e.m.Area = 4 * kPi * 1e-6;
    e.m.tdrop = 0.1;
    e.Staircase(0.4, -0.2, 0.001, 0.5);
    e.Run();
    ASSERT_TRUE(e.host.Messages.empty());
    EXPECT_REL_NEAR(e.I(e.noOfData), 96.4846 * e.m.Area * 1e-5 * 1e-3 / 1e-3, 0.05);
    // A plateau, not a peak: 100 mV earlier the current was already within 2 %.
    EXPECT_REL_NEAR(e.I(e.noOfData - 100), e.I(e.noOfData), 0.02);
}

TEST(DigitalSimulation, DcWaveIgnoresTheScanDirectionAndItsHalfWaveFollowsD) {
    // Every DC point starts from the bulk, so the reverse sweep repeats the forward one. A
    // reversible DC wave is half way up at E1/2 = E° + RT/2nF ln(D_red / D_ox): a faster
    // diffusing reduced form moves the wave positive.
    for (double dRed : {1e-5, 4e-5, 0.25e-5}) {
        Experiment e(1, 2);
        e.m.D[2] = dRed;
        e.Staircase(0.3, -0.1, 0.001, 1);
        e.Run();
        const int n = e.res.PointsPerSweep;
        for (int i = 1; i <= n; ++i) EXPECT_EQ(e.I(n + i), e.I(n - i + 1)) << i;
        const double half = e.I(n) / 2;
        int i = 1;
        while (i < n && e.I(i) < half) ++i;
        // Interpolate between the two points around half the plateau.
        const double eHalf =
            e.X(i - 1) + (e.X(i) - e.X(i - 1)) * (half - e.I(i - 1)) / (e.I(i) - e.I(i - 1));
        const double expected = 0.1 + std::log(dRed / 1e-5) / (2 * e.m.FRT);
        EXPECT_NEAR(eHalf, expected, 1.5e-3) << "D(B) = " << dRed;
    }
}

TEST(DigitalSimulation, DifferentialPulseStoresPulseMinusBaseAndReversesAfterASweep) {
    // tdrop / tpulse = 3: four steps of tpulse from the bulk, the pulse on the fourth. The same
    // four steps written out as a staircase of four points (same grid: 6 boxes) give the two
    // sampled currents.
    Experiment dp(1, 4);
    dp.m.tdrop = 0.15;
    dp.Staircase(0.15, 0.05, 0.05, 0.5);  // 3 points
    dp.res.PointsPerSweep = 2;            // the third point counts as reverse sweep
    dp.Run();
    ASSERT_EQ(BoxCount(10, 3), BoxCount(10, 4));
    for (int i = 1; i <= 3; ++i) {
        Experiment lsv;
        lsv.m.tdrop = 0.05;
        for (int k = 1; k <= 3; ++k) lsv.X(k) = dp.X(i);
        lsv.X(4) = dp.X(i) + (i > 2 ? -1 : 1) * dp.m.Epulse;
        lsv.noOfData = lsv.res.PointsPerSweep = 4;
        lsv.Run();
        EXPECT_RELABS_NEAR(dp.I(i), lsv.I(4) - lsv.I(3), 1e-12, 1e-18) << i;
    }
    EXPECT_GT(dp.I(2), 0);  // pulse towards reduction near E0
    EXPECT_LT(dp.I(3), 0);  // reversed pulse
}

TEST(DigitalSimulation, SquareWaveStoresForwardMinusReverseHalfPeriod) {
    // 121 points of square wave against the 242 half-periods run as a staircase (8 boxes both).
    Experiment sw(1, 5), lsv;
    sw.Run();
    lsv.m.tdrop = sw.m.tpulse;
    for (int i = 1; i <= sw.noOfData; ++i) {
        lsv.X(2 * i - 1) = sw.X(i) - sw.m.Epulse;
        lsv.X(2 * i) = sw.X(i) + sw.m.Epulse;
    }
    lsv.noOfData = 2 * sw.noOfData;
    lsv.Run();
    ASSERT_EQ(BoxCount(10, sw.noOfData), BoxCount(10, lsv.noOfData));
    for (int i = 1; i <= sw.noOfData; ++i)
        EXPECT_RELABS_NEAR(sw.I(i), lsv.I(2 * i) - lsv.I(2 * i - 1), 1e-12, 1e-18) << i;
}

TEST(DigitalSimulation, OhmicDropUsesThePreviousCurrent) {
    // Nothing flowed before the first point; the second sits at X(2) + I(1) x Ru.
    auto run = [](double ru, double shift) {
        Experiment e;
        e.Staircase(0.12, 0.08, 0.01, 0.5);
        e.ru = ru;
        e.X(2) = e.X(2) + shift;
        e.Run();
        return std::array<double, 2>{e.I(1), e.I(2)};
    };
    const auto plain = run(0, 0), withRu = run(200, 0), shifted = run(0, plain[0] * 200);
    EXPECT_EQ(withRu[0], plain[0]);
    EXPECT_NE(withRu[1], plain[1]);
    EXPECT_REL_NEAR(withRu[1], shifted[1], 1e-12);
}

TEST(DigitalSimulation, RunTimeErrorEndsTheRunAndKeepsTheFinishedPoints) {
    // All concentrations zero divide by zero at once; an overpotential beyond exp's range on
    // the 4th point (0.5 x 38.9 x 40 V) overflows after three finished points.
    Experiment noMatter, far;
    noMatter.m.C[1] = 0;
    far.Staircase(0.3, 0.25, 0.01, 0.5);
    far.X(4) = -40;
    const std::tuple<Experiment&, const char*, int> cases[] = {{noMatter, "Division by zero", 0},
                                                               {far, "Overflow", 3}};
    for (const auto& [e, description, finished] : cases) {
        e.Run();
        ASSERT_EQ(e.host.Messages.size(), 1u);
        EXPECT_EQ(e.host.Messages[0], std::string("CV Error: ") + description +
                                          "! Please try again by other initial values.");
        for (int i = 1; i <= e.noOfData; ++i) EXPECT_EQ(e.I(i) != 0, i <= finished) << i;
    }
}

TEST(DigitalSimulation, SurfaceHoldsTheBulkFarOnTheOxidationSide) {
    // 0.6 V above E0 the equilibrium ratio cB/cA is exp(-0.6 F/RT), about 1e-10.
    Experiment e;
    e.Staircase(0.7, 0.5, 0.005, 0.5);
    e.Run();
    for (int i = 1; i <= 3; ++i) {
        EXPECT_REL_NEAR(e.res.Csurf(i, 1), 1e-3, 1e-9);
        EXPECT_NEAR(e.res.Csurf(i, 2), 0, 1e-12);
    }
}

TEST(DigitalSimulation, CatalysisWithoutRatesIsTheSimpleCouple) {
    Experiment simple(1), catalytic(9);
    catalytic.m.kf[1] = catalytic.m.kb[1] = 0;
    simple.Run();
    catalytic.Run();
    ASSERT_TRUE(catalytic.host.Messages.empty());
    for (int i = 1; i <= simple.noOfData; ++i) EXPECT_EQ(catalytic.I(i), simple.I(i)) << i;
}

TEST(DigitalSimulation, TwoIndependentCouplesGiveTwoWaves) {
    Experiment e(4);
    e.m.C[3] = 1e-3;
    e.m.Eformal[2] = -0.3;
    e.m.tdrop = 0.1;
    e.Staircase(0.3, -0.6, 0.001, 0.5);
    e.Run();
    const int first = e.PeakIndex(1, e.noOfData, +1, 1);
    const int second = e.PeakIndex(1, e.noOfData, +1, 2);
    const double shift = 1.109 / e.m.FRT;
    EXPECT_NEAR(e.X(first), 0.1 - shift, 0.002);
    EXPECT_NEAR(e.X(second), -0.3 - shift, 0.002);
    EXPECT_REL_NEAR(e.I(second, 2), e.I(first, 1), 0.01);
    EXPECT_LT(std::fabs(e.I(first, 2)), 1e-3 * e.I(second, 2));  // C untouched at the first wave
}

TEST(DigitalSimulation, SurfaceMassBalanceWithEqualDiffusionCoefficients) {
    // With equal D the weighted sum of the concentrations obeys plain diffusion with no flux at
    // the electrode, so it stays at its bulk value at the surface: the plain sum of the species,
    // A + B + 2C for 2B = C, A + B + C for C = A + D, and each couple of mechanism 4 alone.
    const std::array<double, 4> all{1, 1, 1, 1};
    const std::pair<int, std::array<double, 4>> cases[] = {
        {1, all},          {2, all},          {3, all},  {5, all},          {6, all},
        {7, all},          {9, all},          {11, all}, {12, all},         {13, all},
        {14, all},         {15, all},         {16, all}, {8, {1, 1, 2, 0}}, {17, {1, 1, 1, 0}},
        {4, {1, 1, 0, 0}}, {4, {0, 0, 1, 1}},
    };
    for (const auto& [mechanism, weights] : cases) {
        Experiment e(mechanism);
        e.m.C[2] = 1e-4;
        e.m.C[3] = 5e-4;
        e.m.C[4] = 2e-4;
        e.Run();
        ASSERT_TRUE(e.host.Messages.empty()) << mechanism;
        double bulk = 0, moved = 0;  // something must happen at the surface
        for (int s = 1; s <= e.m.NSpecies; ++s) bulk += weights[s - 1] * e.m.C[s];
        for (int i = 1; i <= e.noOfData; ++i) {
            double sum = 0;
            for (int s = 1; s <= e.m.NSpecies; ++s) sum += weights[s - 1] * e.res.Csurf(i, s);
            EXPECT_REL_NEAR(sum, bulk, 1e-9) << "mechanism " << mechanism << " point " << i;
            moved = std::max(moved, std::fabs(e.res.Csurf(i, 1) - e.m.C[1]));
        }
        EXPECT_GT(moved, 0.5 * e.m.C[1]) << mechanism;
    }
}

TEST(DigitalSimulation, SecondOrderStepsStayPhysical) {
    // Start-up sheet, one cycle, 1 mM of A and nothing else. Mechanism 8 conserves A + B + 2C, so
    // every surface concentration stays within 0..1 mM. Mechanism 10 makes matter by its caption
    // (A splits into 2B, the electrode turns each B back into A), so A may pass 1 mM a little;
    // concentrations must stay non-negative and well below the molar values and ampere
    // currents of a non-conservative scheme.
    const struct {
        int mechanism;
        double cLimit, iLimit;
    } cases[] = {{8, 1e-3 * (1 + 1e-9), 1e-4}, {10, 2e-3, 5e-4}};
    for (const auto& c : cases) {
        Experiment e(c.mechanism);
        e.Staircase(0.3, -0.3, 0.005, 1);
        e.Run();
        ASSERT_TRUE(e.host.Messages.empty()) << c.mechanism;
        for (int i = 1; i <= e.noOfData; ++i) {
            for (int s = 1; s <= e.m.NSpecies; ++s) {
                EXPECT_GE(e.res.Csurf(i, s), -1e-12) << c.mechanism << " " << i << " " << s;
                EXPECT_LE(e.res.Csurf(i, s), c.cLimit) << c.mechanism << " " << i << " " << s;
            }
            EXPECT_LT(std::fabs(e.I(i)), c.iLimit) << c.mechanism << " " << i;
        }
    }
}

class DefaultSheet : public ::testing::TestWithParam<int> {};

TEST_P(DefaultSheet, EveryTechniqueAndGeometryRunsWithoutError) {
    for (int technique = 1; technique <= 5; ++technique)
        for (int electrode = 1; electrode <= 6; ++electrode) {
            Experiment e(GetParam(), technique, electrode);
            ASSERT_EQ(std::tuple(e.m.Mechanism, e.m.Technique, e.m.Electrode),
                      std::tuple(GetParam(), technique, electrode));
            SCOPED_TRACE(::testing::Message()
                         << "technique " << technique << " electrode " << electrode);
            e.Run();
            EXPECT_EQ(e.host.Messages, std::vector<std::string>{});
            double largest = 0;
            for (int i = 1; i <= e.noOfData; ++i) largest = std::max(largest, std::fabs(e.I(i)));
            EXPECT_GT(largest, 0);
        }
}

INSTANTIATE_TEST_SUITE_P(AllMechanisms, DefaultSheet, ::testing::Range(1, 18));

}  // namespace
}  // namespace zemra
