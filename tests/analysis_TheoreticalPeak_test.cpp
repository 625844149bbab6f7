#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "analysis/TheoreticalPeak.h"
#include "cli/Cli.h"

namespace zemra {
namespace {

constexpr double kF = 96485.0;                   // C/mol
constexpr double kFrt = kF / (8.3145 * 298.15);  // F/RT at 25 C, 1/V
constexpr double kCmol = 1e-6;                   // 1 mM in mol/cm3
constexpr double kPiExact = std::numbers::pi;
const double kOmega = 2 * kPiExact * 1000 / 60;  // 1000 rpm, 1/s

// Reaction 1 of A + ne = B at 25 C: D = 1e-5 cm2/s, C = 1 mM, A = 0.1 cm2, E0' = 0.1 V, with
// 0.1 V/s, a 2 s drop, 50 ms pulses, a 1 mm radius, 1000 rpm in water.
ParameterModel Planar(int technique, int electrode = 1, int n = 1) {
    ParameterModel m;
    m.Mechanism = 1;
    m.Technique = technique;
    m.Electrode = electrode;
    m.n[1] = n;
    m.Alpha[1] = 0.5;
    m.ks[1] = 1e-3;
    m.Eformal[1] = 0.1;
    m.D[1] = m.D[2] = 1e-5;
    m.C[1] = 1e-3;
    m.Area = 0.1;
    m.FRT = kFaraday / kGasConstant / 298.15;
    m.RTF = 1 / m.FRT;
    m.ScanRate = 0.1;
    m.tdrop = 2;
    m.tpulse = 0.05;
    m.Radius = 1e-3;
    m.Omega = kOmega;
    m.Viscosity = 0.01;
    return m;
}

TheoreticalValues ValuesOf(const ParameterModel& m) {
    TheoreticalValues v;
    TheoreticalValuesOf(m, 1, v);
    return v;
}

TEST(TheoreticalValues, PlanarSweepFollowsRandlesSevcik) {
    for (const int n : {1, 2}) {
        SCOPED_TRACE(n);
        const TheoreticalValues v = ValuesOf(Planar(1, 1, n));
        // ip = 2.69e5 n^3/2 A D^1/2 C v^1/2 (A, cm2, cm2/s, mol/cm3, V/s) at 25 C.
        EXPECT_REL_NEAR(*v.Irev, 2.69e5 * std::pow(n, 1.5) * 0.1 * std::sqrt(1e-5 * 0.1) * kCmol,
                        3e-3);
        // Ep = E1/2 - 28.5/n mV.
        EXPECT_NEAR(*v.Erev, 0.1 - 0.0285 / n, 1e-4);
        // Irreversible: ip = 2.99e5 n (alpha n)^1/2 A C D^1/2 v^1/2 and
        // Ep = E0' - RT/(alpha n F) [0.780 + ln(D^1/2 / k0) + ln((alpha n F v / RT)^1/2)].
        EXPECT_REL_NEAR(*v.Iirr, 2.99e5 * n * std::sqrt(0.5 * n * 1e-5 * 0.1) * 0.1 * kCmol, 3e-3);
        const double ep = 0.1 - 1 / (0.5 * n * kFrt) *
                                    (0.780 + std::log(std::sqrt(1e-5) / 1e-3) +
                                     std::log(std::sqrt(0.5 * n * kFrt * 0.1)));
        EXPECT_NEAR(*v.Eirr, ep, 1e-4);
    }
}

TEST(TheoreticalValues, LimitingCurrentsFollowCottrellLevichAndTheMicrodisc) {
    const double nfac = kF * 0.1 * kCmol;  // A s/cm
    const struct {
        int technique, electrode;
        double current;
    } cases[] = {
        // DC, planar: Cottrell at the drop time, nFAC sqrt(D / pi t).
        {2, 1, nfac * std::sqrt(1e-5 / (kPiExact * 2))},
        // DC, rotating disk: Levich, 0.620 nFA D^2/3 omega^1/2 nu^-1/6 C.
        {2, 8,
         0.620 * nfac * std::pow(1e-5, 2.0 / 3) * std::sqrt(kOmega) * std::pow(0.01, -1.0 / 6)},
        // Sweep, microdisc: the steady state 4nFDCr, whatever the area.
        {1, 4, 4 * kF * 1e-5 * kCmol * 1e-3},
    };
    for (const auto& c : cases) {
        const TheoreticalValues v = ValuesOf(Planar(c.technique, c.electrode));
        EXPECT_REL_NEAR(*v.Irev, c.current, 1e-4) << "electrode " << c.electrode;
    }
}

TEST(TheoreticalValues, SquareWaveWithZeroPulseGivesZeroCurrentAtTheHalfWavePotential) {
    ParameterModel m = Planar(5);
    m.Epulse = 0;
    m.D[2] = 2e-5;  // E1/2 = E0' + RT/2F ln 2
    const TheoreticalValues v = ValuesOf(m);
    EXPECT_EQ(*v.Irev, 0.0);
    EXPECT_NEAR(*v.Erev, 0.1 + std::log(2.0) / (2 * kFrt), 1e-6);
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

TEST(TheoreticalValues, RefinedModeGivesTheStationaryAndRotatingWaves) {
    ParameterModel m = Planar(2);
    m.Refined = true;
    // Totally irreversible DC wave at a plane: half the Cottrell current where
    // sqrt(pi) x exp(x^2) erfc(x) = 1/2 with x = kf sqrt(td / D), x = 0.4330.
    EXPECT_NEAR(*ValuesOf(m).Eirr,
                0.1 + std::log(1e-3 * std::sqrt(2 / 1e-5) / 0.4330) / (0.5 * kFrt), 2e-4);
    // Rotating disk under a sweep: the Levich plateau and E0' + (2/3) RT/nF ln(D_B / D_A).
    m = Planar(1, 8);
    m.Refined = true;
    m.D[2] = 2e-5;
    const TheoreticalValues v = ValuesOf(m);
    EXPECT_REL_NEAR(*v.Irev,
                    0.62 * kF * 0.1 * std::pow(1e-5, 2.0 / 3) * std::sqrt(kOmega) *
                        std::pow(0.01, -1.0 / 6) * kCmol,
                    1e-3);
    EXPECT_NEAR(*v.Erev, 0.1 + 2.0 / 3 * std::log(2.0) / kFrt, 1e-4);
}

// ---- The command ----------------------------------------------------------------------------

TEST(TheoreticalPeak, RefinedPulseValuesAgreeWithTheRefinedSimulation) {
    for (int technique : {3, 4, 5}) {
        test::Bench b;
        b.wb.Input.SetChecked("CheckDigital", false);
        b.wb.Input.SetChecked("CheckRefined", true);
        b.wb.Input.Select("optTech", technique);
        ASSERT_TRUE(CollectOrReport(b.wb));
        test::Simulate(b.wb);
        int best = b.wb.Curves.NoOfData;  // normal pulse: the last point, on the plateau
        for (int i = 1; i <= b.wb.Curves.NoOfData && technique != 3; ++i)
            if (std::fabs(b.wb.Curves.Y(i, 1)) > std::fabs(b.wb.Curves.Y(best, 1))) best = i;
        mnuCompId(b.wb);
        const std::string& line = b.wb.Result.Lines.at(1);  // Rev Peak 1 : Ep = E Ip = I
        EXPECT_REL_NEAR(std::stod(line.substr(line.rfind('=') + 1)), b.wb.Curves.Y(best, 1), 5e-3)
            << technique;
        if (technique != 3) {
            EXPECT_NEAR(std::stod(line.substr(line.find('=') + 1)), b.wb.Curves.X(best), 0.003)
                << technique;
        }
    }
}

TEST(TheoreticalPeak, LabelsFollowTheTechnique) {
    // Print zones start at columns 1, 15, 29 and 43; "Irrev Peak  1 :" fills its zone, so its
    // labels start a zone later. Mechanism 7 has no theoretical values: the values are blank.
    const std::vector<std::string> peak = {
        "Theoretical limiting current:", "Rev Peak  1 : Ep =          Ip = ",
        "Irrev Peak  1 :             Ep =          Ip = "};
    const std::vector<std::string> wave = {
        "Theoretical limiting current:", "Rev Peak  1 : E1/2 =        Id = ",
        "Irrev Peak  1 :             E1/2 =        Id = "};
    for (int technique = 1; technique <= 5; ++technique) {
        test::Bench b;
        b.wb.Input.Select("optTech", technique);
        b.wb.Input.Select("mech", 7);
        mnuCompId(b.wb);
        EXPECT_EQ(b.wb.Result.Lines, technique == 2 || technique == 3 ? wave : peak) << technique;
        EXPECT_TRUE(b.wb.Result.Shown);
    }
}

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
    EXPECT_EQ(out.str().rfind("Theoretical limiting current:\nRev Peak  1 :", 0), 0u);
    EXPECT_NE(out.str().find("\nIrrev Peak  1 :"), std::string::npos);
    EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace zemra
