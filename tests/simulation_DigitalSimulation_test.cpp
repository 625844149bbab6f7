#include <array>
#include <cmath>

#include "model/Collection.h"
#include "platform/NumberText.h"
#include "simulation/DigitalSimulation.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

// One experiment: the model filled by hand, a staircase program and the outputs.
struct Experiment {
    ParameterModel m;
    Array1<kRows> X;
    Results res;
    HeadlessHost host;
    int noOfData = 0;
    double ru = 0;

    // The start-up sheet's values at 25 C for the given mechanism: planar, 1 cm2, D = 1e-5 cm2/s,
    // 1 mM of A, reversible couples (ks 1e4 cm/s) at 0.1, -0.1 and -0.2 V, kf 10, kb 0.01.
    explicit Experiment(int mechanism = 1, int technique = 1) {
        const MechanismInfo& info = kMechanisms[static_cast<size_t>(mechanism - 1)];
        m.Mechanism = mechanism;
        m.NSpecies = info.NSpecies;
        m.NCharge = info.NCharge;
        m.NHomo = info.NHomo;
        m.Technique = technique;
        m.Electrode = 1;
        m.Temperature = 298.14;
        m.FRT = 96484.6 / 8.31441 / 298.14;
        m.Area = 1;
        m.Radius = 0.2821;
        m.tdrop = 0.5;
        m.tpulse = 0.05;
        m.Epulse = -0.05;
        for (int s = 1; s <= 4; ++s) {
            m.D[s] = 1e-5;
            m.C[s] = s == 1 ? 1e-3 : 0;
        }
        const double e0[] = {0, 0.1, -0.1, -0.2};
        for (int k = 1; k <= 3; ++k) {
            m.ks[k] = 1e4;
            m.Alpha[k] = 0.5;
            m.n[k] = 1;
            m.Eformal[k] = e0[k];
            m.kf[k] = 10;
            m.kb[k] = 0.01;
        }
        Staircase(0.3, -0.3, 0.005, 1);
    }

    // The driver's staircase: forward sweep, then for cycles >= 1 the reverse sweep, and for
    // 2 cycles all of it again.
    void Staircase(double estart, double eend, double estep, double cycles) {
        m.Estart = estart;
        m.Eend = eend;
        m.Estep = estep;
        const int n = static_cast<int>(std::lround(std::fabs((eend - estart) / estep))) + 1;
        const double sign = eend > estart ? 1 : -1;
        for (int i = 1; i <= n; ++i) X(i) = estart + (i - 1) * estep * sign;
        if (cycles >= 1)
            for (int i = 1; i <= n; ++i) X(n + i) = X(n - i + 1);
        if (cycles >= 2)
            for (int i = 1; i <= 2 * n; ++i) X(2 * n + i) = X(i);
        res.PointsPerSweep = n;
        noOfData = static_cast<int>(2 * n * cycles);
    }

    void Run() {
        res.Icomp.Fill(0);
        res.TotalColumn = m.NCharge + 1;
        DigitalSimulation(m, ru, X, noOfData, res, host);
    }

    double I(int i, int k = 1) const { return res.Icomp(i, k); }
    int PeakIndex(int from, int to, int sign, int k = 1) const {
        int best = from;
        for (int i = from; i <= to; ++i)
            if (sign * I(i, k) > sign * I(best, k)) best = i;
        return best;
    }
};

// Randles-Sevcik peak current of a reversible couple, A: 0.4463 nFAC sqrt(nFvD/RT).
double RandlesSevcik(const ParameterModel& m, double v, double c, double d) {
    return 0.4463 * 96.4846 * m.Area * c * std::sqrt(m.FRT * v * d);
}

TEST(DigitalGrid, BoxCountFollowsThePointCount) {
    const struct { int points, boxes; } cases[] = {{121, 8}, {242, 8}, {484, 9}, {4000, 10}};
    for (const auto& c : cases) EXPECT_EQ(BoxCount(10, c.points), c.boxes) << c.points;
}

TEST(DigitalGrid, SubStepsPerPoint) {
    const struct {
        int technique;
        double tdrop, tpulse;
        int steps;
    } cases[] = {{1, 0.5, 0.05, 1},  {2, 0.5, 0.05, 10}, {5, 0.5, 0.05, 2},
                 {3, 0.5, 0.05, 10}, {4, 0.15, 0.05, 4}, {3, 0.25, 0.05, 6},
                 {4, 0.12, 0.05, 2}, {3, 0.01, 0.05, 2}, {4, 0.145, 0.05, 4}};
    for (const auto& c : cases)
        EXPECT_EQ(SubStepsPerPoint(c.technique, c.tdrop, c.tpulse), c.steps)
            << c.technique << " " << c.tdrop << "/" << c.tpulse;
    EXPECT_THROW(SubStepsPerPoint(3, 0.5, 0), RuntimeError);
}

TEST(DigitalSimulation, CurrentIsTheButlerVolmerRateAtTheSurface) {
    Experiment e(1);
    e.Run();
    ASSERT_TRUE(e.host.Messages.empty());
    for (int i = 1; i <= e.noOfData; i += 7) {
        const double eta = e.m.FRT * (e.X(i) - 0.1);
        const double kRed = 1e4 * std::exp(-0.5 * eta), kOx = 1e4 * std::exp(0.5 * eta);
        const double cA = e.res.Csurf(i, 1) / 1e-3, cB = e.res.Csurf(i, 2) / 1e-3;
        const double scale = 96.4846 * 1 * 1e-3;
        // The two terms nearly cancel near equilibrium: tolerance relative to the larger one.
        EXPECT_NEAR(e.I(i), scale * (kRed * cA - kOx * cB), 1e-10 * scale * (kRed * cA + kOx * cB))
            << i;
        if (e.X(i) < 0) {
            EXPECT_GT(e.I(i), 0) << i;
        }
    }
}

TEST(DigitalSimulation, CyclicVoltammogramAtAPlanarElectrodeIsReversible) {
    // 1 mV steps of 0.1 s (10 mV/s). The peak potential is resolved to the 1 mV step, hence
    // 2 mV on each peak and 3 mV on the separation; the peak current comes within 2 %: the
    // staircase samples at the end of each step and the grid's first box centre lies
    // 0.38 sqrt(D dt / 10) from the electrode.
    Experiment e(1);
    e.m.tdrop = 0.1;
    e.Staircase(0.4, -0.2, 0.001, 1);
    e.Run();
    ASSERT_TRUE(e.host.Messages.empty());
    const int n = e.res.PointsPerSweep;
    const int cathodic = e.PeakIndex(1, n, +1), anodic = e.PeakIndex(n + 1, 2 * n, -1);
    EXPECT_REL_NEAR(e.I(cathodic), RandlesSevcik(e.m, 0.01, 1e-3, 1e-5), 0.02);
    const double rtf = 1 / e.m.FRT;
    EXPECT_NEAR(e.X(cathodic), 0.1 - 1.109 * rtf, 0.002);
    EXPECT_NEAR(e.X(anodic), 0.1 + 1.109 * rtf, 0.002);
    EXPECT_NEAR(e.X(anodic) - e.X(cathodic), 2.218 * rtf, 0.003);
}

TEST(DigitalSimulation, SmallSphereReachesTheSteadyState) {
    // r = 10 um, 10 mV/s: after 60 s the transient term r / sqrt(pi D t) adds 2.3 %; the grid's
    // first gradient is taken over 0.38 dx0 with dx0 = sqrt(D dt / 10) = r / 3, which lowers
    // the flux by a few per cent. Hence 5 % around nFADC/r.
    Experiment e(1);
    e.m.Electrode = 2;
    e.m.Radius = 1e-3;
    e.m.Area = 4 * kPi * 1e-6;
    e.m.tdrop = 0.1;
    e.Staircase(0.4, -0.2, 0.001, 0.5);
    e.Run();
    ASSERT_TRUE(e.host.Messages.empty());
    const double steady = 96.4846 * e.m.Area * 1e-5 * 1e-3 / 1e-3;
    EXPECT_REL_NEAR(e.I(e.noOfData), steady, 0.05);
    // A plateau, not a peak: 100 mV earlier the current was already within 2 %.
    EXPECT_REL_NEAR(e.I(e.noOfData - 100), e.I(e.noOfData), 0.02);
}

TEST(DigitalSimulation, DcPointsDoNotDependOnTheScanDirection) {
    Experiment e(1, 2);
    e.Staircase(0.3, -0.1, 0.01, 1);
    e.Run();
    const int n = e.res.PointsPerSweep;
    for (int i = 1; i <= n; ++i) EXPECT_EQ(e.I(n + i), e.I(n - i + 1)) << i;
    EXPECT_GT(e.I(n), 1e-3 * 1e-3);  // a real wave
}

TEST(DigitalSimulation, DcHalfWavePotentialFollowsTheDiffusionCoefficients) {
    // A reversible DC wave is half way up at E1/2 = E° + RT/2nF ln(D_red / D_ox): a faster
    // diffusing reduced form moves the wave positive.
    for (double dRed : {1e-5, 4e-5, 0.25e-5}) {
        Experiment e(1, 2);
        e.m.D[2] = dRed;
        e.Staircase(0.3, -0.1, 0.001, 0.5);
        e.Run();
        const int n = e.noOfData;
        const double half = e.I(n) / 2;
        int i = 1;
        while (i < n && e.I(i) < half) ++i;
        // Interpolate between the two points around half the plateau.
        const double eHalf = e.X(i - 1) + (e.X(i) - e.X(i - 1)) * (half - e.I(i - 1)) /
                                              (e.I(i) - e.I(i - 1));
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
        Experiment lsv(1, 1);
        lsv.m.tdrop = 0.05;
        const double pulse = (i > 2 ? -1 : 1) * dp.m.Epulse;
        for (int k = 1; k <= 3; ++k) lsv.X(k) = dp.X(i);
        lsv.X(4) = dp.X(i) + pulse;
        lsv.noOfData = 4;
        lsv.res.PointsPerSweep = 4;
        lsv.Run();
        EXPECT_RELABS_NEAR(dp.I(i), lsv.I(4) - lsv.I(3), 1e-12, 1e-18) << i;
    }
    EXPECT_GT(dp.I(2), 0);  // pulse towards reduction near E0
    EXPECT_LT(dp.I(3), 0);  // reversed pulse
}

TEST(DigitalSimulation, SquareWaveStoresForwardMinusReverseHalfPeriod) {
    // 121 points of square wave against the 242 half-periods run as a staircase (8 boxes both).
    Experiment sw(1, 5);
    sw.Staircase(0.3, -0.3, 0.005, 0.5);
    sw.Run();
    Experiment lsv(1, 1);
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
    Experiment plain(1);
    plain.Staircase(0.12, 0.08, 0.01, 0.5);
    plain.Run();
    Experiment withRu(1);
    withRu.Staircase(0.12, 0.08, 0.01, 0.5);
    withRu.ru = 200;
    withRu.Run();
    EXPECT_EQ(withRu.I(1), plain.I(1));  // nothing flowed before the first point

    // The second point sits at X(2) + I(1) x Ru.
    Experiment shifted(1);
    shifted.Staircase(0.12, 0.08, 0.01, 0.5);
    shifted.X(2) = shifted.X(2) + plain.I(1) * 200;
    shifted.Run();
    EXPECT_NE(withRu.I(2), plain.I(2));
    EXPECT_REL_NEAR(withRu.I(2), shifted.I(2), 1e-12);
}

TEST(DigitalSimulation, AllConcentrationsZeroIsACvError) {
    Experiment e(1);
    e.m.C[1] = 0;
    e.Run();
    ASSERT_EQ(e.host.Messages.size(), 1u);
    EXPECT_EQ(e.host.Messages[0],
              "CV Error: Division by zero! Please try again by other initial values.");
    for (int i = 1; i <= e.noOfData; ++i) EXPECT_EQ(e.I(i), 0);
}

TEST(DigitalSimulation, ErrorKeepsThePointsFinishedSoFar) {
    // An overpotential beyond exp's range on the 4th point: Exp(0.5 x 38.9 x 40 V) overflows.
    Experiment e(1);
    e.Staircase(0.3, 0.25, 0.01, 0.5);
    e.X(4) = -40;
    e.Run();
    ASSERT_EQ(e.host.Messages.size(), 1u);
    EXPECT_EQ(e.host.Messages[0], "CV Error: Overflow! Please try again by other initial values.");
    EXPECT_NE(e.I(3), 0);
    EXPECT_EQ(e.I(4), 0);
}

TEST(DigitalSimulation, SurfaceHoldsTheBulkFarOnTheOxidationSide) {
    // 0.6 V above E0 the equilibrium ratio cB/cA is exp(-0.6 F/RT), about 1e-10.
    Experiment e(1);
    e.Staircase(0.7, 0.5, 0.005, 0.5);
    e.Run();
    for (int i = 1; i <= 3; ++i) {
        EXPECT_REL_NEAR(e.res.Csurf(i, 1), 1e-3, 1e-9);
        EXPECT_NEAR(e.res.Csurf(i, 2), 0, 1e-12);
    }
}

TEST(DigitalSimulation, CatalysisWithoutRatesIsTheSimpleCouple) {
    Experiment simple(1), catalytic(9);
    catalytic.m.kf[1] = 0;
    catalytic.m.kb[1] = 0;
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

TEST(DigitalSimulation, FastFollowingReactionRemovesTheReverseWave) {
    Experiment slow(7), fast(7);
    slow.m.kf[1] = 1e-3;
    fast.m.kf[1] = 100;
    for (Experiment* e : {&slow, &fast}) {
        e->m.kb[1] = 0;
        e->Run();
        ASSERT_TRUE(e->host.Messages.empty());
    }
    const int n = slow.res.PointsPerSweep;
    const double slowReverse = slow.I(slow.PeakIndex(n + 1, 2 * n, -1));
    const double fastReverse = fast.I(fast.PeakIndex(n + 1, 2 * n, -1));
    EXPECT_LT(slowReverse, 0);
    EXPECT_LT(std::fabs(fastReverse), 0.2 * std::fabs(slowReverse));
}

struct Balance {
    int mechanism;
    std::array<double, 4> weights;  // species 1..4 at 0..3
};

TEST(DigitalSimulation, SurfaceMassBalanceWithEqualDiffusionCoefficients) {
    // With equal D the weighted sum of the concentrations obeys plain diffusion with no flux at
    // the electrode, so it stays at its bulk value at the surface.
    const std::array<double, 4> all{1, 1, 1, 1};
    const Balance cases[] = {
        {1, all},          {2, all},          {3, all},  {5, all},          {6, all},
        {7, all},          {9, all},          {11, all}, {12, all},         {13, all},
        {14, all},         {15, all},         {16, all}, {8, {1, 1, 2, 0}}, {17, {1, 1, 1, 0}},
        {4, {1, 1, 0, 0}}, {4, {0, 0, 1, 1}},
    };
    for (const Balance& c : cases) {
        Experiment e(c.mechanism);
        e.m.C[2] = 1e-4;
        e.m.C[3] = 5e-4;
        e.m.C[4] = 2e-4;
        e.Run();
        ASSERT_TRUE(e.host.Messages.empty()) << c.mechanism;
        double bulk = 0;
        for (int s = 1; s <= e.m.NSpecies; ++s) bulk += c.weights[s - 1] * e.m.C[s];
        double moved = 0;  // something must happen at the surface
        for (int i = 1; i <= e.noOfData; ++i) {
            double sum = 0;
            for (int s = 1; s <= e.m.NSpecies; ++s) sum += c.weights[s - 1] * e.res.Csurf(i, s);
            EXPECT_REL_NEAR(sum, bulk, 1e-9) << "mechanism " << c.mechanism << " point " << i;
            moved = std::max(moved, std::fabs(e.res.Csurf(i, 1) - e.m.C[1]));
        }
        EXPECT_GT(moved, 0.5 * e.m.C[1]) << c.mechanism;
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
    const int mechanism = GetParam();
    for (int technique = 1; technique <= 5; ++technique)
        for (int electrode = 1; electrode <= 6; ++electrode) {
            test::Bench b;
            b.wb.Input.Select("optTech", technique);
            b.wb.Input.Select("mech", mechanism);
            b.wb.Input.Select("optElectrode", electrode);
            CollectParameters(b.wb.Model, b.wb.Input);
            const ParameterModel& m = b.wb.Model;
            ASSERT_EQ(m.Mechanism, mechanism);
            ASSERT_EQ(m.Technique, technique);
            ASSERT_EQ(m.Electrode, electrode);
            Experiment e(mechanism, technique);
            e.m = m;
            e.Staircase(m.Estart, m.Eend, m.Estep, m.ScanCycles);
            e.ru = Val(b.wb.Input.TextOf("Ru"));
            e.Run();
            EXPECT_TRUE(e.host.Messages.empty())
                << "technique " << technique << " electrode " << electrode << ": "
                << (e.host.Messages.empty() ? "" : e.host.Messages[0]);
            double largest = 0;
            for (int i = 1; i <= e.noOfData; ++i) largest = std::max(largest, std::fabs(e.I(i)));
            EXPECT_GT(largest, 0) << "technique " << technique << " electrode " << electrode;
        }
}

INSTANTIATE_TEST_SUITE_P(AllMechanisms, DefaultSheet, ::testing::Range(1, 18));

}  // namespace
}  // namespace zemra
