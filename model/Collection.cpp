#include "model/Collection.h"

#include <cmath>
#include <optional>

#include "platform/NumberText.h"

namespace zemra {
namespace {

double ValueOf(const InputRecord& in, const std::string& name, int row = kNoRow) {
    return Val(in.TextOf(name, row));
}

// A strictly converted field: the whole text must be a number.
double StrictField(const InputRecord& in, const std::string& name) {
    const Control& c = in.Get(name);
    std::optional<double> v = StrictNumber(c.Text);
    if (!v) throw InputError("Input Error: " + c.Label + " is not a number");
    return *v;
}

// Runs one step of a computation whose failure must leave its target unchanged.
template <typename Step>
void TryStep(Step step) {
    try {
        step();
    } catch (const RuntimeError&) {
        // The target keeps its previous content; no message.
    }
}

}  // namespace

void TechValue(ParameterModel& m, const InputRecord& in) {
    const int selected = in.SelectedOf("optTech");
    if (selected >= 1 && selected <= 5) m.Technique = selected;
}

void ApplyDigitalAvailability(ParameterModel& m, InputRecord& in) {
    m.Digital = in.IsChecked("CheckDigital");
    m.DigitalSet = true;
    if (m.Digital) {
        for (int k = 2; k <= 17; ++k) in.SetEntryEnabled("mech", k, true);
        in.SetEnabled("Ru", kNoRow, true);
        in.SetEntryEnabled("optElectrode", 7, false);
        in.SetEntryEnabled("optElectrode", 8, false);
    } else {
        for (int k = 2; k <= 17; ++k) in.SetEntryEnabled("mech", k, false);
        in.SetEntryEnabled("mech", 4, true);
        in.SetEntryEnabled("mech", 9, true);
        in.SetEnabled("Ru", kNoRow, false);
        in.SetEntryEnabled("optElectrode", 7, true);
        in.SetEntryEnabled("optElectrode", 8, true);
    }
    // Three successive charge transfers are never offered.
    in.SetEntryEnabled("mech", 3, false);
}

void SelectMechanism(ParameterModel& m, InputRecord& in) {
    TechValue(m, in);
    ApplyDigitalAvailability(m, in);
    const int selected = in.SelectedOf("mech");
    if (selected >= 1 && selected <= 17) m.Mechanism = selected;
    if (m.Mechanism >= 1 && m.Mechanism <= 17) {
        const MechanismInfo& info = kMechanisms[static_cast<size_t>(m.Mechanism - 1)];
        m.NSpecies = info.NSpecies;
        m.NCharge = info.NCharge;
        m.NHomo = info.NHomo;
    }
    m.NumberOfSpecies = static_cast<int>(m.NSpecies);
}

void ComputeAreaAndVolume(ParameterModel& m, InputRecord& in) {
    const int electrode = m.Electrode;
    const double pi = kPi;
    // The area formulas use the radius and length texts directly: a text that is not a number
    // fails the step, and the area field keeps what it shows. Only the cylinders read the
    // length, so a stale length text never blocks a sphere's or a disc's area.
    auto setArea = [&](bool usesLength, auto formula) {
        TryStep([&] {
            auto r = StrictNumber(in.TextOf("radius"));
            auto L = usesLength ? StrictNumber(in.TextOf("leng")) : std::optional<double>(0.0);
            if (!r || !L) Raise(kTypeMismatch);
            const double area = Finite(formula(*r, *L));
            in.SetText("ARE", kNoRow, FormatPattern(area, "0.##e-0"));
        });
    };
    auto setVolume = [&](auto formula) { TryStep([&] { m.ElectrodeVolume = Finite(formula()); }); };
    const double R = m.Radius, L = m.Length;
    auto areaTimesLength = [&] { return ValueOf(in, "ARE") * L; };
    switch (electrode) {
        case 1:
        case 7:
            setVolume(areaTimesLength);
            break;
        case 2:
            setArea(false, [&](double r, double) { return 4 * pi * r * r; });
            setVolume([&] { return 4 * pi * R * R * R / 3; });
            break;
        case 3:
            setArea(false, [&](double r, double) { return 2 * pi * r * r; });
            setVolume([&] { return 2 * pi * R * R * R / 3; });
            break;
        case 4:
        case 8:
            setArea(false, [&](double r, double) { return pi * r * r; });
            setVolume(areaTimesLength);
            break;
        case 5:
            setArea(true, [&](double r, double l) { return pi * r * r + 2 * pi * r * l; });
            setVolume([&] { return pi * R * R * L; });
            break;
        case 6:
            setArea(true, [&](double r, double l) { return 0.5 * pi * r * r + pi * r * l; });
            setVolume([&] { return 0.5 * pi * R * R * L; });
            break;
        default:
            break;
    }
    // The model takes the area as displayed, so a computed area has three significant digits.
    m.Area = ValueOf(in, "ARE");
}

void CollectParameters(ParameterModel& m, InputRecord& in) {
    // Fields that stop the command are checked before anything is written.
    const double estep = StrictField(in, "Estep");
    const double scanRate = StrictField(in, "V");
    const double celsius = ValueOf(in, "txttemp");
    if (!(celsius + kCelsiusOffset > 0.0))
        throw InputError("Input Error: " + in.Get("txttemp").Label + " must be above -273.14");

    SelectMechanism(m, in);
    const int scan = in.SelectedOf("ComboScan");
    if (scan >= 0 && scan <= 2) m.ScanCycles = kScanCycles[static_cast<size_t>(scan)];

    m.Estart = ValueOf(in, "Estart");
    m.Eend = ValueOf(in, "Eend");
    m.Estep = std::fabs(estep);
    m.Area = ValueOf(in, "ARE");
    m.Cdl = ValueOf(in, "Cdl");
    m.Temperature = celsius + kCelsiusOffset;
    m.Epulse = ValueOf(in, "Epulse");
    m.Noise = ValueOf(in, "Noise");
    m.tdrop = ValueOf(in, "td");
    m.tpulse = ValueOf(in, "tp");
    m.ScanRate = std::fabs(scanRate);
    m.Length = ValueOf(in, "leng");
    m.Radius = ValueOf(in, "radius");
    m.Viscosity = ValueOf(in, "TextVis");
    m.Omega = ValueOf(in, "TextRrate") * kPi / 30;
    m.ElectrolyteC = ValueOf(in, "TextElectrolyteC");
    m.ElectrolyteCond = ValueOf(in, "TextElectrolyteCond");

    ComputeAreaAndVolume(m, in);

    for (int r = 1; r <= 3; ++r) {
        m.Alpha[r] = ValueOf(in, "alph", r);
        m.Eformal[r] = ValueOf(in, "Eze", r);
        m.ks[r] = ValueOf(in, "ks", r);
        m.n[r] = static_cast<int>(Val(in.ListText("NEL", r)));
        m.kf[r] = ValueOf(in, "kf", r);
        m.kb[r] = ValueOf(in, "kb", r);
        m.Keq[r] = Val(in.CaptionOf("LabelKeq", r));
        m.p[r] = static_cast<int>(Val(in.ListText("pl", r)));
    }
    for (int s = 1; s <= 4; ++s) {
        m.D[s] = ValueOf(in, "D", s);
        // The simulation starts from the initial concentration the sheet computed and shows.
        m.C[s] = Val(in.CaptionOf("Cinit", s));
        m.Cond[s] = ValueOf(in, "Cond", s - 1);
    }
    if (!m.Digital) m.TechElectrodeCode = 10 * m.Technique + m.Electrode;

    m.FRT = (kFaraday / kGasConstant) / m.Temperature;
    m.RTF = 1 / m.FRT;
}

}  // namespace zemra
