#include <tuple>

#include "model/Collection.h"
#include "platform/NumberText.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

struct Fixture {
    ParameterModel m;
    InputRecord in;
    Fixture() {
        m.Electrode = 1;
        for (int i = 1; i <= 3; ++i) m.n[i] = 1, m.p[i] = 1;
    }
};

TEST(SelectMechanism, SetsTheCountsOfEveryMechanismAndReadsTheTechnique) {
    const int counts[17][3] = {{2, 1, 0}, {3, 2, 0}, {4, 3, 0}, {4, 2, 0}, {3, 1, 1}, {4, 1, 2},
                               {3, 1, 1}, {3, 1, 1}, {2, 1, 1}, {2, 1, 1}, {4, 2, 1}, {4, 2, 1},
                               {4, 2, 2}, {4, 2, 1}, {4, 2, 1}, {4, 1, 1}, {4, 1, 1}};
    Fixture f;
    f.in.Select("optTech", 4);
    f.in.SetChecked("CheckDigital", false);
    for (int k = 1; k <= 17; ++k) {
        f.in.Select("mech", k);
        SelectMechanism(f.m, f.in);
        const int* c = counts[k - 1];
        EXPECT_EQ(std::make_tuple(f.m.Mechanism.Value, f.m.NSpecies.Value, f.m.NCharge.Value,
                                  f.m.NHomo.Value, f.m.NumberOfSpecies.Value),
                  std::make_tuple(k, c[0], c[1], c[2], c[0]));
    }
    EXPECT_EQ(f.m.Technique, 4);
    EXPECT_FALSE(f.m.Digital);
}

// Digital: every mechanism but 3, no thin film or disk; analytical: mechanisms 1, 4 and 9 and
// every electrode. A selected but disabled mechanism still counts.
TEST(ApplyDigitalAvailability, OffersWhatTheRoadCanSimulate) {
    for (bool digital : {true, false}) {
        SCOPED_TRACE(digital ? "digital" : "analytical");
        Fixture f;
        f.in.Select("mech", 7);
        f.in.SetChecked("CheckDigital", digital);
        ApplyDigitalAvailability(f.m, f.in);
        EXPECT_EQ(f.m.Digital, digital);
        for (int k = 1; k <= 17; ++k)
            EXPECT_EQ(f.in.IsEntryEnabled("mech", k), digital ? k != 3 : k == 1 || k == 4 || k == 9)
                << k;
        for (int k = 1; k <= 8; ++k)
            EXPECT_EQ(f.in.IsEntryEnabled("optElectrode", k), !digital || k <= 6) << k;
        EXPECT_EQ(f.in.Get("Ru").Enabled, digital);
        SelectMechanism(f.m, f.in);
        EXPECT_EQ(f.m.Mechanism, 7);
    }
}

TEST(ComputeAreaAndVolume, EveryGeometryAndARadiusThatIsNotANumberKeepsTheArea) {
    const double pi = 3.141592654, r = 0.2821, L = 0.01;
    const struct {
        int electrode;
        const char* areaText;  // 0.2821 cm radius, 0.01 cm length, three significant digits
        double volume;         // from the collected radius and length
    } cases[] = {{1, "1", 1 * L},
                 {2, "1e0", 4 * pi * r * r * r / 3},
                 {3, "5e-1", 2 * pi * r * r * r / 3},
                 {4, "2.5e-1", 0.25 * L},
                 {5, "2.68e-1", pi * r * r * L},
                 {6, "1.34e-1", 0.5 * pi * r * r * L},
                 {7, "1", 1 * L},
                 {8, "2.5e-1", 0.25 * L}};
    for (const auto& c : cases) {
        Fixture f;
        f.m.Electrode = c.electrode;
        f.m.Radius = r;
        f.m.Length = L;
        ComputeAreaAndVolume(f.m, f.in);
        EXPECT_EQ(f.in.TextOf("ARE"), c.areaText) << c.electrode;
        EXPECT_DOUBLE_EQ(f.m.Area, Val(c.areaText)) << c.electrode;
        EXPECT_REL_NEAR(f.m.ElectrodeVolume, c.volume, 1e-12) << c.electrode;
    }
    Fixture f;  // a radius that is not a number keeps the area
    f.m.Electrode = 2;
    f.in.SetText("ARE", kNoRow, "0.7");
    f.in.SetText("radius", kNoRow, "0.2x");
    ComputeAreaAndVolume(f.m, f.in);
    EXPECT_EQ(f.in.TextOf("ARE"), "0.7");
    EXPECT_DOUBLE_EQ(f.m.Area, 0.7);
    f.in.SetText("radius", kNoRow, "0.2821");  // a sphere's area does not read the length
    f.in.SetText("leng", kNoRow, "junk");
    ComputeAreaAndVolume(f.m, f.in);
    EXPECT_EQ(f.in.TextOf("ARE"), "1e0");
}

TEST(CollectParameters, ConvertsUnitsAndStoresStepAndRateAsMagnitudes) {
    Fixture f;
    f.in.SetText("TextRrate", kNoRow, "100");
    f.in.SetText("Estep", kNoRow, "-0.005");
    f.in.SetText("V", kNoRow, "-0.1");
    f.in.SetText("td", kNoRow, "0.5s");
    f.in.SetText("tp", kNoRow, "");
    CollectParameters(f.m, f.in);
    EXPECT_NEAR(f.m.FRT, 38.923, 5e-4);  // F / R / (25 + 273.14) K
    EXPECT_NEAR(f.m.Omega, 10.4719755, 1e-7);
    EXPECT_DOUBLE_EQ(f.m.ScanCycles, 0.5);
    EXPECT_FALSE(f.m.TechElectrodeCode.IsSet);  // digital simulation: no analytical code yet
    EXPECT_DOUBLE_EQ(f.m.Estep, 0.005);
    EXPECT_DOUBLE_EQ(f.m.ScanRate, 0.1);
    EXPECT_DOUBLE_EQ(f.m.tdrop, 0.5);
    EXPECT_DOUBLE_EQ(f.m.tpulse, 0);
    EXPECT_FALSE(f.m.Refined);
    f.in.SetChecked("CheckRefined", true);
    CollectParameters(f.m, f.in);
    EXPECT_TRUE(f.m.Refined);
}

TEST(CollectParameters, TechniqueElectrodeCodeKeptWhileDigital) {
    Fixture f;
    // (digital, technique, electrode) -> code: the digital road keeps the last analytical code.
    const std::tuple<bool, int, int, int> steps[] = {
        {false, 4, 4, 44}, {true, 1, 8, 44}, {false, 1, 8, 18}};
    for (const auto& [digital, technique, electrode, code] : steps) {
        f.in.SetChecked("CheckDigital", digital);
        f.in.Select("optTech", technique);
        f.m.Electrode = electrode;
        CollectParameters(f.m, f.in);
        EXPECT_EQ(f.m.TechElectrodeCode, code);
    }
}

TEST(CollectParameters, StrictFieldsAndTemperatureStopBeforeAnythingIsWritten) {
    const std::string estep = "Input Error: E step (V) is not a number",
                      cold = "Input Error: T ( \u00B0C) must be above -273.14";
    const struct {
        const char* field;
        const char* text;
        std::string message;
    } cases[] = {{"Estep", "abc", estep},
                 {"Estep", "", estep},
                 {"V", "0.1s", "Input Error: v (V/s) is not a number"},
                 {"txttemp", "-273.14", cold},
                 {"txttemp", "-300", cold}};
    for (const auto& c : cases) {
        Fixture f;
        f.in.SetText("Estart", kNoRow, "0.2");
        f.in.SetText(c.field, kNoRow, c.text);
        try {
            CollectParameters(f.m, f.in);
            ADD_FAILURE() << c.field << " '" << c.text << "' was accepted";
        } catch (const InputError& e) {
            EXPECT_EQ(e.what(), c.message);
        }
        EXPECT_FALSE(f.m.Estart.IsSet) << "a field was written before the check";
    }
}

}  // namespace
}  // namespace zemra
