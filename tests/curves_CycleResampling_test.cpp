#include <algorithm>
#include <cmath>

#include "curves/CycleResampling.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

// A measured path through the vertices, `perVolt` points per volt on a grid whose spacing
// varies by +-`jitter` (default 30 %), and its current: a wave of height 1 at -0.1 V on the way
// down, one of -0.8 at 0.05 V on the way up, both Gaussian with a width of 0.05 V.
struct Path {
    std::vector<double> E, I, T;
};
Path Measured(const std::vector<double>& vertices, int perVolt, double jitter = 0.3) {
    Path p;
    for (size_t v = 0; v + 1 < vertices.size(); ++v) {
        const double a = vertices[v], b = vertices[v + 1];
        const int n = static_cast<int>(std::lround(std::fabs(b - a) * perVolt));
        for (int k = v == 0 ? 0 : 1; k <= n; ++k) {
            const double s = (k + jitter * std::sin(k) * (k < n)) / n;
            const double e = a + (b - a) * s;
            p.E.push_back(e);
            p.I.push_back(b < a ? std::exp(-std::pow((e + 0.1) / 0.05, 2))
                                : -0.8 * std::exp(-std::pow((e - 0.05) / 0.05, 2)));
            p.T.push_back(p.T.empty() ? 0 : p.T.back() + std::fabs(e - p.E[p.E.size() - 2]) / 0.02);
        }
    }
    return p;
}

TEST(ResampleCycle, KeepsThePeaksWithinAStepOnTheSheetsStaircase) {
    const struct {
        const char* Name;
        std::vector<double> Vertices;
        int PerVolt;
        double Estart, Vertex;
        int Mode;
    } cases[] = {
        {"cycle", {0.5, -0.5, 0.5}, 200, 0.5, -0.5, 1},
        {"cycle widened to 4000 points", {0.5, -0.5, 0.5}, 5000, 0.5, -0.5, 1},
        {"cycle from between its vertices", {0.2, 0.5, -0.5, 0.2}, 300, 0.5, -0.5, 1},
        {"short return: E start where both sweeps reach", {0.5, -0.5, 0.3}, 200, 0.3, -0.5, 1},
        {"single sweep", {0.5, -0.5}, 400, 0.5, -0.5, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const Path p = Measured(c.Vertices, c.PerVolt);
        const Resampled r = ResampleCycle(p.E, p.I, 4000);
        const double h = r.Estep;
        EXPECT_GE(h, 0.69 / c.PerVolt);  // about the file's median step, or wider
        EXPECT_EQ(r.ScanMode, c.Mode);
        EXPECT_EQ(r.Estart, c.Estart);
        EXPECT_LE(std::fabs(r.Eend - c.Vertex), h);
        const int n = static_cast<int>(std::lround(std::fabs(r.Eend - r.Estart) / h)) + 1;
        ASSERT_EQ(r.X.size(), static_cast<size_t>(n * (c.Mode + 1)));
        EXPECT_LE(r.X.size(), 4000u);
        EXPECT_GT(r.X.size(), c.PerVolt > 2000 ? 3900u : 0u);  // widened no further than needed
        for (int i = 1; i <= n; ++i) {
            EXPECT_EQ(r.X[i - 1], r.Estart - (i - 1) * h);  // as the simulation builds it
            if (c.Mode == 1) {
                EXPECT_EQ(r.X[n + i - 1], r.X[n - i]);
            }
        }
        // Sampled every h, a Gaussian of width w keeps exp(-(h / 2w)^2) of its peak.
        const double kept = std::exp(-std::pow(h / 0.1, 2)) - 2e-3;
        const auto top = std::max_element(r.Y.begin(), r.Y.begin() + n);
        EXPECT_LE(std::fabs(r.X[top - r.Y.begin()] + 0.1), h);
        EXPECT_GE(*top, kept);
        EXPECT_LE(*top, 1 + 1e-12);
        if (c.Mode == 0) continue;
        const auto low = std::min_element(r.Y.begin() + n, r.Y.end());
        EXPECT_LE(std::fabs(r.X[low - r.Y.begin()] - 0.05), h);
        EXPECT_LE(*low, -0.8 * kept);
    }
}

TEST(ResampleCycle, FailsOnTooFewPointsOrNoSpan) {
    const std::vector<std::vector<double>> cases[] = {{{0.1}, {1}}, {{0.1, 0.1, 0.1}, {1, 2, 3}}};
    const std::string errors[] = {"fewer than 2 data points in the cycle",
                                  "the potential does not change"};
    for (size_t k = 0; k < 2; ++k) {
        const auto& c = cases[k];
        EXPECT_EQ(test::ErrorOf([&] { ResampleCycle(c[0], c[1], 4000); }), errors[k]);
    }
}

TEST(FindSweeps, NoisyPotentialTurnsOnlyAtItsVertices) {
    // 1 mV steps with +-0.4 mV jitter: 0.3 -> -0.2 -> 0.3 -> 0.
    Path p = Measured({0.3, -0.2, 0.3, 0.0}, 1000);
    for (size_t k = 0; k < p.E.size(); ++k) p.E[k] += 4e-4 * std::sin(7.3 * static_cast<double>(k));
    const std::vector<Sweep> s = FindSweeps(p.E);
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(std::vector<int>({s[0].Direction, s[1].Direction, s[2].Direction}),
              std::vector<int>({-1, 1, -1}));
    EXPECT_NEAR(static_cast<double>(s[0].End), 500, 2);
    EXPECT_NEAR(static_cast<double>(s[1].End), 1000, 2);
    EXPECT_EQ(s[1].Begin, s[0].End);
    EXPECT_EQ(s[2].End, p.E.size() - 1);
}

TEST(FindCycles, MarkerWhereItAgreesWithTheReversalsElsePairedSweeps) {
    const Path p = Measured({0.5, -0.5, 0.5, -0.5, 0.5, -0.5}, 10);  // 5 sweeps of 10 steps
    const size_t n = p.E.size();                                     // 51 points
    std::vector<int> twoGroups(n, 1), counter(n);
    std::fill(twoGroups.begin() + 21, twoGroups.end(), 2);
    for (size_t k = 0; k < n; ++k) counter[k] = static_cast<int>(k);
    using Ranges = std::vector<std::pair<size_t, size_t>>;
    const Ranges paired = {{0, 20}, {20, 40}, {40, 50}};
    const struct {
        const char* Name;
        std::vector<int> Marker;
        bool FromMarker;
        Ranges Expected;
    } cases[] = {
        {"no marker", {}, false, paired},
        {"counter that never moves", std::vector<int>(n, 3), false, paired},
        {"counter of every point", counter, false, paired},
        {"two cycle numbers", twoGroups, true, {{0, 20}, {21, 50}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const Cycles cy = FindCycles(p.E, c.Marker);
        EXPECT_EQ(cy.FromMarker, c.FromMarker);
        EXPECT_EQ(cy.Ranges, c.Expected);
    }
    const auto part = [&](size_t a, size_t b) {
        return std::vector<double>(p.E.begin() + static_cast<long>(a),
                                   p.E.begin() + static_cast<long>(b) + 1);
    };
    EXPECT_TRUE(IsCompleteCycle(part(20, 40)));
    EXPECT_FALSE(IsCompleteCycle(part(15, 30)));  // half a sweep up, then a whole one down
    EXPECT_TRUE(IsCompleteCycle(part(0, 10)));    // a single sweep stands on its own
}

TEST(ResampleAll, EverySweepOnOneLatticeAndTheScanRateFromTime) {
    const Path p = Measured({0.5, -0.5, 0.5, -0.5, 0.5}, 100, 0);
    const Resampled r = ResampleAll(p.E, p.I, 4000);
    EXPECT_EQ(r.ScanMode, 2);  // four sweeps: two cycles
    EXPECT_EQ(r.Estart, 0.5);
    EXPECT_EQ(r.Eend, -0.5);
    ASSERT_EQ(r.X.size(), 4u * 101u);
    for (size_t k = 0; k < r.X.size(); ++k)
        EXPECT_NEAR(r.X[k], r.X[k % 202 < 101 ? k % 202 : 201 - k % 202], 1e-12);
    EXPECT_NEAR(r.X[100], -0.5, 1e-12);
    EXPECT_REL_NEAR(ScanRateFromTime(p.E, p.T), 0.02, 1e-12);
    EXPECT_EQ(ScanRateFromTime(p.E, {}), 0);
    EXPECT_EQ(ThreeDigits(0.00123456), 0.00123);
    EXPECT_EQ(ThreeDigits(0.00123456, true), 0.00124);
}

}  // namespace
}  // namespace zemra
