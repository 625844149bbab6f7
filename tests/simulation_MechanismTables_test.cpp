#include <cmath>
#include <vector>

#include "simulation/MechanismTables.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

constexpr int A = 0, B = 1, C = 2, D = 3;

// One homogeneous step written as chemistry: reactants -> products at the rate
// k x product of the reactant concentrations (mass action); a species listed twice counts twice.
struct Step {
    std::vector<int> reactants, products;
    double k;
};

// The homogeneous reactions of each mechanism, from its caption, with the step rates
// kf1 = 0.7, kb1 = 0.3, kf2 = 0.5, kb2 = 0.2 (the stoichiometric number p taken as 1).
std::vector<Step> Chemistry(int mechanism) {
    const double kf1 = 0.7, kb1 = 0.3, kf2 = 0.5, kb2 = 0.2;
    auto pair = [](std::vector<int> left, std::vector<int> right, double kf, double kb) {
        return std::vector<Step>{{left, right, kf}, {right, left, kb}};
    };
    auto join = [](std::vector<Step> a, const std::vector<Step>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    switch (mechanism) {
        case 5:
            return pair({C}, {A}, kf1, kb1);
        case 6:
            return join(pair({C}, {A}, kf1, kb1), pair({B}, {D}, kf2, kb2));
        case 7:
        case 11:
            return pair({B}, {C}, kf1, kb1);
        case 8:
            return pair({B, B}, {C}, kf1, kb1);
        case 9:
            return pair({B}, {A}, kf1, kb1);
        case 10:
            return pair({B, B}, {A}, kf1, kb1);
        case 12:
        case 15:
            return pair({B}, {D}, kf1, kb1);
        case 13:
            return join(pair({B}, {D}, kf1, kb1), pair({C}, {A}, kf2, kb2));
        case 14:
            return pair({C}, {D}, kf1, kb1);
        case 16:
            return pair({B, C}, {A, D}, kf1, kb1);
        case 17:
            return pair({C}, {A, D}, kf1, kb1);
        default:
            return {};
    }
}

const StepRates kRates{0.7, 0.3, 0.5, 0.2};

// Rate (per time step) at which each species is consumed by the homogeneous chemistry.
Vector6 Consumption(int mechanism, const Vector6& c) {
    Vector6 out{};
    for (const Step& s : Chemistry(mechanism)) {
        double rate = s.k;
        for (int r : s.reactants) rate *= c[r];
        for (int r : s.reactants) out[r] += rate;
        for (int p : s.products) out[p] -= rate;
    }
    return out;
}

// A box block of the mechanism at concentrations c, and its homogeneous part (block minus the
// diffusion diagonal).
Matrix6 HomogeneousPart(int mechanism, const Vector6& c) {
    const Vector6 d{3.1, 2.3, 4.7, 1.9, 0, 0};
    Matrix6 block{};
    for (int s = 0; s < 4; ++s) block[s][s] = d[s];
    ConstantBlockEntries(mechanism, d, kRates, block);
    if (HasConcentrationEntries(mechanism))
        ConcentrationBlockEntries(mechanism, d, c, kRates, block);
    for (int s = 0; s < 4; ++s) block[s][s] -= d[s];
    return block;
}

const Vector6 kSomeConcentrations{0.8, 0.35, 0.6, 0.45, 0, 0};

TEST(MechanismBlocks, EachRateIsWrittenOnceWithTheCaptionsStoichiometry) {
    // The semi-implicit form k x c(previous) x c(new), evaluated at c(new) = c(previous), must
    // give back the mass-action consumption of every species.
    for (int mech = 1; mech <= 17; ++mech) {
        if (mech == 16) continue;  // written as the Jacobian, below
        const Matrix6 h = HomogeneousPart(mech, kSomeConcentrations);
        const Vector6 expected = Consumption(mech, kSomeConcentrations);
        for (int s = 0; s < 4; ++s) {
            double applied = 0;
            for (int t = 0; t < 4; ++t) applied += h[s][t] * kSomeConcentrations[t];
            EXPECT_NEAR(applied, expected[s], 1e-14) << "mechanism " << mech << " species " << s;
        }
    }
}

TEST(MechanismBlocks, CatalyticExchangeIsTheJacobianOfItsRate) {
    const Matrix6 h = HomogeneousPart(16, kSomeConcentrations);
    for (int t = 0; t < 4; ++t) {
        Vector6 up = kSomeConcentrations, down = kSomeConcentrations;
        up[t] += 1e-3;
        down[t] -= 1e-3;
        const Vector6 cu = Consumption(16, up), cd = Consumption(16, down);
        for (int s = 0; s < 4; ++s)
            EXPECT_NEAR(h[s][t], (cu[s] - cd[s]) / 2e-3, 1e-12) << s << "," << t;
    }
}

struct Conserved {
    int mechanism;
    Vector6 weights;
};

TEST(MechanismBlocks, HomogeneousPartConservesMatter) {
    const Vector6 all{1, 1, 1, 1, 0, 0};
    const Conserved cases[] = {
        {5, all},
        {6, all},
        {7, all},
        {9, all},
        {11, all},
        {12, all},
        {13, all},
        {14, all},
        {15, all},
        {16, all},
        {8, {0, 1, 2, 0, 0, 0}},
        {10, {2, 1, 0, 0, 0, 0}},
        {17, {1, 0, 1, 0, 0, 0}},
    };
    for (const Conserved& c : cases) {
        const Matrix6 h = HomogeneousPart(c.mechanism, kSomeConcentrations);
        double size = 0;
        for (int t = 0; t < 4; ++t) {
            double columnSum = 0;
            for (int s = 0; s < 4; ++s) {
                columnSum += c.weights[s] * h[s][t];
                size += std::fabs(h[s][t]);
            }
            EXPECT_NEAR(columnSum, 0, 1e-15) << "mechanism " << c.mechanism << " column " << t;
        }
        EXPECT_GT(size, 0) << "mechanism " << c.mechanism << " has no chemistry";
    }
}

// The charge transfers of each mechanism as (oxidised, reduced) species pairs, reaction k at
// index k - 1.
std::vector<std::pair<int, int>> Couples(int mechanism) {
    switch (mechanism) {
        case 2:
        case 14:
        case 15:
            return {{A, B}, {B, C}};
        case 3:
            return {{A, B}, {B, C}, {C, D}};
        case 4:
        case 11:
        case 12:
        case 13:
            return {{A, B}, {C, D}};
        default:
            return {{A, B}};
    }
}

TEST(MechanismSurface, FluxesBalanceTheChargeTransfersForEveryMechanism) {
    // Box 1 must hold c1 = c0 + ff(s) x (surface consumption of s), with the flux factor
    // ff(s) = f / D(s); the surface relation Balance c1 = Surface c0 has to agree, also when
    // the species diffuse at different rates.
    const Vector6 kRed{0, 1.3, 0.4, 2.2, 0, 0}, kOx{0, 0.6, 1.7, 0.9, 0, 0};
    const double f = 0.37;
    const Vector6 D{1.0, 4.0, 0.5, 2.0, 0, 0};  // relative to the largest, 4
    Vector6 ff{}, w{};
    for (int s = 0; s < 4; ++s) ff[s] = f / D[s], w[s] = D[s] / 4.0;
    const Vector6 c0{0.5, 0.3, 0.15, 0.05, 0, 0};
    for (int mech = 1; mech <= 17; ++mech) {
        Matrix6 surface{};
        for (int s = 0; s < 4; ++s) surface[s][s] = 1;
        BalanceEntries(mech, w, surface);
        const Matrix6 balance = surface;
        KineticRows(mech, kRed, kOx, ff, surface);

        Vector6 consumption{}, expectedRate{};
        const auto couples = Couples(mech);
        for (size_t k = 1; k <= couples.size(); ++k) {
            const auto [ox, red] = couples[k - 1];
            expectedRate[k] = kRed[k] * c0[ox] - kOx[k] * c0[red];
            consumption[ox] += expectedRate[k];
            consumption[red] -= expectedRate[k];
        }
        Vector6 c1{};
        for (int s = 0; s < 4; ++s) c1[s] = c0[s] + ff[s] * consumption[s];
        for (int s = 0; s < 4; ++s) {
            double left = 0, right = 0;
            for (int t = 0; t < 4; ++t) {
                left += balance[s][t] * c1[t];
                right += surface[s][t] * c0[t];
            }
            EXPECT_NEAR(left, right, 1e-14) << "mechanism " << mech << " row " << s;
        }
        Vector6 rate{};
        SurfaceRates(mech, kRed, kOx, c0, rate);
        for (size_t k = 1; k <= 3; ++k)
            EXPECT_NEAR(rate[k], expectedRate[k], 1e-15) << "mechanism " << mech << " rate " << k;
    }
}

}  // namespace
}  // namespace zemra
