#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "analysis/TheoreticalPeak.h"
#include "platform/ResultWindow.h"
#include "ui/Cli.h"

namespace zemra {
namespace {

constexpr double kF = 96485.0;  // C/mol
constexpr double kR = 8.3145;   // J/(mol K)
constexpr double kT = 298.15;   // K
constexpr double kPiExact = std::numbers::pi;

// Reaction 1 of A + ne = B at 25 C: D = 1e-5 cm2/s, C = 1 mM, A = 0.1 cm2, E0' = 0.1 V.
ParameterModel Planar(int technique, int electrode = 1, int n = 1) {
    ParameterModel m;
    m.Mechanism = 1;
    m.Technique = technique;
    m.Electrode = electrode;
    m.n[1] = n;
    m.Alpha[1] = 0.5;
    m.ks[1] = 1e-3;
    m.Eformal[1] = 0.1;
    m.D[1] = 1e-5;
    m.D[2] = 1e-5;
    m.C[1] = 1e-3;
    m.Area = 0.1;
    m.Temperature = kT;
    m.FRT = kFaraday / kGasConstant / kT;
    m.RTF = 1 / m.FRT;
    m.ScanRate = 0.1;
    m.tdrop = 2;
    m.tpulse = 0.05;
    m.Epulse = -0.05;
    m.Radius = 1e-3;
    m.Omega = 2 * kPiExact * 1000 / 60;  // 1000 rpm
    m.Viscosity = 0.01;
    return m;
}

constexpr double kCmol = 1e-6;  // 1 mM in mol/cm3
constexpr double kFrt = kF / (kR * kT);

TheoreticalValues ValuesOf(const ParameterModel& m, int k = 1) {
    TheoreticalValues v;
    TheoreticalValuesOf(m, k, v);
    return v;
}

class RandlesSevcik : public ::testing::TestWithParam<int> {};

TEST_P(RandlesSevcik, PlanarSweepPeakCurrentsAndPotentials) {
    const int n = GetParam();
    const TheoreticalValues v = ValuesOf(Planar(1, 1, n));
    // ip = 2.69e5 n^3/2 A D^1/2 C v^1/2 (A, cm2, cm2/s, mol/cm3, V/s) at 25 C.
    EXPECT_REL_NEAR(
        *v.Irev, 2.69e5 * std::pow(n, 1.5) * 0.1 * std::sqrt(1e-5) * kCmol * std::sqrt(0.1), 3e-3);
    // Ep = E1/2 - 28.5/n mV.
    EXPECT_NEAR(*v.Erev, 0.1 - 0.0285 / n, 1e-4);
    // Irreversible: ip = 2.99e5 n (alpha n)^1/2 A C D^1/2 v^1/2 and
    // Ep = E0' - RT/(alpha n F) [0.780 + ln(D^1/2 / k0) + ln((alpha n F v / RT)^1/2)].
    EXPECT_REL_NEAR(
        *v.Iirr, 2.99e5 * n * std::sqrt(0.5 * n) * 0.1 * kCmol * std::sqrt(1e-5) * std::sqrt(0.1),
        3e-3);
    const double ep = 0.1 - 1 / (0.5 * n * kFrt) *
                                (0.780 + std::log(std::sqrt(1e-5) / 1e-3) +
                                 std::log(std::sqrt(0.5 * n * kFrt * 0.1)));
    EXPECT_NEAR(*v.Eirr, ep, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(ElectronNumbers, RandlesSevcik, ::testing::Values(1, 2));

TEST(TheoreticalValues, DcPlanarIsCottrellAndTheIrreversibleWaveShifts) {
    const TheoreticalValues v = ValuesOf(Planar(2));
    // Cottrell at the drop time: nFAC sqrt(D / pi t).
    const double cottrell = kF * 0.1 * kCmol * std::sqrt(1e-5 / (kPiExact * 2));
    EXPECT_REL_NEAR(*v.Irev, cottrell, 1e-4);
    EXPECT_NEAR(*v.Erev, 0.1, 1e-12);
    // Irreversible polarographic wave: E1/2 = E0' + RT/(alpha n F) ln(1.349 k0 t^1/2 / D^1/2).
    EXPECT_NEAR(*v.Eirr, 0.1 + 1 / (0.5 * kFrt) * std::log(1.349 * 1e-3 * std::sqrt(2 / 1e-5)),
                2e-4);
    EXPECT_EQ(*v.Iirr, *v.Irev);
}

TEST(TheoreticalValues, DcRotatingDiskIsLevich) {
    const TheoreticalValues v = ValuesOf(Planar(2, 8));
    // i = 0.620 nFA D^2/3 omega^1/2 nu^-1/6 C.
    const double omega = 2 * kPiExact * 1000 / 60;
    EXPECT_REL_NEAR(*v.Irev,
                    0.620 * kF * 0.1 * std::pow(1e-5, 2.0 / 3) * std::sqrt(omega) *
                        std::pow(0.01, -1.0 / 6) * kCmol,
                    1e-4);
    EXPECT_FALSE(v.Erev.has_value());
}

TEST(TheoreticalValues, DcSphereIsCottrellPlusSteadyState) {
    const TheoreticalValues v = ValuesOf(Planar(2, 2));
    // nFACD (1/r0 + 1/sqrt(pi D t)).
    const double i = kF * 0.1 * kCmol * 1e-5 * (1 / 1e-3 + 1 / std::sqrt(kPiExact * 1e-5 * 2));
    EXPECT_REL_NEAR(*v.Irev, i, 1e-4);
}

TEST(TheoreticalValues, SweepMicrodiscIsTheSteadyStateCurrent) {
    const TheoreticalValues v = ValuesOf(Planar(1, 4));
    EXPECT_REL_NEAR(*v.Irev, 4 * kF * 1e-5 * kCmol * 1e-3, 1e-4);  // 4nFDCr
}

TEST(TheoreticalValues, DifferentialPulsePeak) {
    const TheoreticalValues v = ValuesOf(Planar(4));
    // dI = nFAC sqrt(D / pi tp) (1 - s) / (1 + s), s = exp(nF dE / 2RT); Ep = E1/2 - dE/2.
    const double s = std::exp(kFrt * -0.05 / 2);
    EXPECT_REL_NEAR(
        *v.Irev, kF * 0.1 * kCmol * std::sqrt(1e-5 / (kPiExact * 0.05)) * (1 - s) / (1 + s), 2e-4);
    EXPECT_NEAR(*v.Erev, 0.1 + 0.025, 1e-12);
}

TEST(TheoreticalValues, SquareWaveWithZeroPulseGivesZeroCurrentAtTheHalfWavePotential) {
    ParameterModel m = Planar(5);
    m.Epulse = 0;
    m.D[2] = 2e-5;  // E1/2 = E0' + RT/2F ln 2
    const TheoreticalValues v = ValuesOf(m);
    EXPECT_EQ(*v.Irev, 0.0);
    EXPECT_NEAR(*v.Erev, 0.1 + std::log(2.0) / (2 * kFrt), 1e-6);
}

TEST(TheoreticalValues, SecondReactionUsesSpeciesThreeAndFour) {
    ParameterModel m = Planar(2);
    m.n[2] = 1;
    m.Alpha[2] = 0.5;
    m.ks[2] = 1e-3;
    m.Eformal[2] = -0.2;
    m.D[3] = 4e-6;
    m.D[4] = 4e-6;
    m.C[3] = 2e-3;
    const TheoreticalValues v = ValuesOf(m, 2);
    EXPECT_REL_NEAR(*v.Irev, kF * 0.1 * 2 * kCmol * std::sqrt(4e-6 / (kPiExact * 2)), 1e-4);
    EXPECT_NEAR(*v.Erev, -0.2, 1e-12);
}

TEST(TheoreticalValues, CasesThatSetNothingKeepThePreviousValues) {
    TheoreticalValues v;
    v.Eirr = 1.5;
    v.Iirr = 2.5;
    TheoreticalValuesOf(Planar(3), 1, v);  // normal pulse sets only the reversible pair
    EXPECT_EQ(*v.Eirr, 1.5);
    EXPECT_EQ(*v.Iirr, 2.5);
    const double irev = *v.Irev;
    TheoreticalValuesOf(Planar(2, 7), 1, v);  // DC thin film sets nothing
    EXPECT_EQ(*v.Irev, irev);
}

TEST(TheoreticalValues, CatalyticMechanisms) {
    ParameterModel m = Planar(1);
    m.Mechanism = 9;
    m.kf[1] = 100;
    EXPECT_REL_NEAR(*ValuesOf(m).Irev, kF * 0.1 * kCmol * std::sqrt(100 * 1e-5), 1e-4);
    m.Mechanism = 16;
    m.C[3] = 0.01;
    EXPECT_REL_NEAR(*ValuesOf(m).Irev, kF * 0.1 * kCmol * std::sqrt(0.01 * 100 * 1e-5), 1e-4);
    m.Mechanism = 7;
    EXPECT_FALSE(ValuesOf(m).Irev.has_value());
}

// ---- The command
// ----------------------------------------------------------------------------------

std::string Blank(const char* label, const char* l1, const char* l2) {
    return PrintLine(label).Num(1).Text(":").Zone().Text(l1).Zone().Text(l2).Str();
}

struct LabelCase {
    int technique;
    const char* l1;
    const char* l2;
};
class TheoreticalPeakLabels : public ::testing::TestWithParam<LabelCase> {};

TEST_P(TheoreticalPeakLabels, FollowTheTechnique) {
    test::Bench b;
    b.wb.Input.Select("optTech", GetParam().technique);
    b.wb.Input.Select("mech", 7);  // a mechanism without theoretical values: blank values
    mnuCompId(b.wb);
    const auto& lines = b.wb.Result.Lines;
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Theoretical limiting current:");
    EXPECT_EQ(lines[1], Blank("Rev Peak ", GetParam().l1, GetParam().l2));
    EXPECT_EQ(lines[2], Blank("Irrev Peak ", GetParam().l1, GetParam().l2));
    EXPECT_TRUE(b.wb.Result.Shown);
}

INSTANTIATE_TEST_SUITE_P(Techniques, TheoreticalPeakLabels,
                         ::testing::Values(LabelCase{1, "Ep = ", "Ip = "},
                                           LabelCase{2, "E1/2 = ", "Id = "},
                                           LabelCase{3, "E1/2 = ", "Id = "},
                                           LabelCase{4, "Ep = ", "Ip = "},
                                           LabelCase{5, "Ep = ", "Ip = "}));

TEST(TheoreticalPeak, RunTimeErrorIsReportedAndKeepsThePrintedLines) {
    test::Bench b;
    b.wb.Input.Select("optTech", 2);
    b.wb.Input.SetText("td", kNoRow, "0");  // Cottrell at t = 0
    mnuCompId(b.wb);
    EXPECT_EQ(b.wb.Result.Lines, std::vector<std::string>{"Theoretical limiting current:"});
    EXPECT_EQ(b.host.Messages,
              std::vector<std::string>{"Theoretical Peak Error: Division by zero"});
}

TEST(TheoreticalPeak, CliPrintsTheHeaderAndReactionOne) {
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"CompId"}, out, err), 0);
    std::istringstream lines(out.str());
    std::string header, rev, irrev;
    std::getline(lines, header);
    std::getline(lines, rev);
    std::getline(lines, irrev);
    EXPECT_EQ(header, "Theoretical limiting current:");
    EXPECT_EQ(rev.rfind("Rev Peak  1 :", 0), 0u);
    EXPECT_EQ(irrev.rfind("Irrev Peak  1 :", 0), 0u);
    EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace zemra
