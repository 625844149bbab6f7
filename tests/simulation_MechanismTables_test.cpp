#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "simulation/MechanismTables.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

constexpr int A = 0, B = 1, C = 2, D = 3;

// The homogeneous reactions of each mechanism as its caption writes them, left = right, with
// reaction 1 at the step rates kf1/kb1 and reaction 2 at kf2/kb2 (the stoichiometric number p
// taken as 1); a species written twice counts twice.
const std::map<int, std::vector<std::string>> kCaptions = {
    {5, {"C=A"}},   {6, {"C=A", "B=D"}}, {7, {"B=C"}},  {8, {"BB=C"}},        {9, {"B=A"}},
    {10, {"BB=A"}}, {11, {"B=C"}},       {12, {"B=D"}}, {13, {"B=D", "C=A"}}, {14, {"C=D"}},
    {15, {"B=D"}},  {16, {"BC=AD"}},     {17, {"C=AD"}}};
const StepRates kRates{0.7, 0.3, 0.5, 0.2};
const Vector6 kSomeConcentrations{0.8, 0.35, 0.6, 0.45, 0, 0};

// Rate (per time step) at which each species is consumed by the chemistry, by mass action.
Vector6 Consumption(int mechanism, const Vector6& c) {
    const double kf[] = {kRates.kf1, kRates.kf2}, kb[] = {kRates.kb1, kRates.kb2};
    Vector6 out{};
    const auto found = kCaptions.find(mechanism);
    if (found == kCaptions.end()) return out;  // no homogeneous chemistry
    for (size_t r = 0; r < found->second.size(); ++r) {
        const std::string& x = found->second[r];
        const std::string left = x.substr(0, x.find('=')), right = x.substr(x.find('=') + 1);
        double net = kf[r], backward = kb[r];
        for (char s : left) net *= c[s - 'A'];
        for (char s : right) backward *= c[s - 'A'];
        net -= backward;
        for (char s : left) out[s - 'A'] += net;
        for (char s : right) out[s - 'A'] -= net;
    }
    return out;
}

// The homogeneous part of a box block at concentrations c: the block minus its diffusion
// diagonal.
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

TEST(MechanismBlocks, EachRateIsWrittenOnceWithTheCaptionsStoichiometry) {
    // The semi-implicit form k x c(previous) x c(new), evaluated at c(new) = c(previous), must
    // give back the mass-action consumption of every species.
    const Vector6& c = kSomeConcentrations;
    for (int mech = 1; mech <= 17; ++mech) {
        const Matrix6 h = HomogeneousPart(mech, c);
        if (mech == 16) {  // written as the Jacobian of its rate: central differences
            for (int t = 0; t < 4; ++t) {
                Vector6 up = c, down = c;
                up[t] += 1e-3;
                down[t] -= 1e-3;
                const Vector6 cu = Consumption(16, up), cd = Consumption(16, down);
                for (int s = 0; s < 4; ++s)
                    EXPECT_NEAR(h[s][t], (cu[s] - cd[s]) / 2e-3, 1e-12) << s << "," << t;
            }
            continue;
        }
        const Vector6 expected = Consumption(mech, c);
        for (int s = 0; s < 4; ++s) {
            double applied = 0;
            for (int t = 0; t < 4; ++t) applied += h[s][t] * c[t];
            EXPECT_NEAR(applied, expected[s], 1e-14) << "mechanism " << mech << " species " << s;
        }
    }
}

TEST(MechanismBlocks, HomogeneousPartConservesMatter) {
    // Zero column sums with the rows weighted by the conserved combination: B + 2C for 2B = C,
    // 2A + B for 2B = A, A + C for C = A + D, the plain sum of the species otherwise.
    const std::map<int, Vector6> weights = {
        {8, {0, 1, 2, 0, 0, 0}}, {10, {2, 1, 0, 0, 0, 0}}, {17, {1, 0, 1, 0, 0, 0}}};
    for (const auto& [mech, reactions] : kCaptions) {
        const Vector6 w = weights.contains(mech) ? weights.at(mech) : Vector6{1, 1, 1, 1, 0, 0};
        const Matrix6 h = HomogeneousPart(mech, kSomeConcentrations);
        double size = 0;
        for (int t = 0; t < 4; ++t) {
            double columnSum = 0;
            for (int s = 0; s < 4; ++s) {
                columnSum += w[s] * h[s][t];
                size += std::fabs(h[s][t]);
            }
            EXPECT_NEAR(columnSum, 0, 1e-15) << "mechanism " << mech << " column " << t;
        }
        EXPECT_GT(size, 0) << "mechanism " << mech << " has no chemistry";
    }
}

// The charge transfers of each mechanism as (oxidised, reduced) pairs, reaction k at k - 1.
std::vector<std::pair<int, int>> Couples(int mechanism) {
    if (mechanism == 3) return {{A, B}, {B, C}, {C, D}};
    if (mechanism == 2 || mechanism == 14 || mechanism == 15) return {{A, B}, {B, C}};
    if (mechanism == 4 || (mechanism >= 11 && mechanism <= 13)) return {{A, B}, {C, D}};
    return {{A, B}};
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
