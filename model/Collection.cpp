#include "model/Collection.h"

#include <algorithm>
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

// The field as a refusal names it: its label, and for a row control the row as typed.
std::string FieldName(const InputRecord& in, const std::string& name, int row = kNoRow) {
    const std::string& label = in.Get(name, row).Label;
    return row == kNoRow ? label : label + " in row " + std::to_string(row);
}

// The first impossible value of a collection, noted while the whole sheet is read; the
// collection is then refused with this message.
struct Refusal {
    std::string Message;
    void Note(const InputRecord& in, const std::string& name, int row, const char* why) {
        if (Message.empty()) Message = "Input Error: " + FieldName(in, name, row) + " " + why;
    }
    // Value conversion, with a leading number too large for a real (thousands of digits)
    // refused rather than carried on as an infinity.
    double Value(const InputRecord& in, const std::string& name, int row = kNoRow) {
        const double v = ValueOf(in, name, row);
        if (!std::isfinite(v)) Note(in, name, row, "is too large");
        return v;
    }
};

// Values no experiment can have: a simulation from them ends in nonsense, not in an error.
void CheckPhysical(const ParameterModel& m, const InputRecord& in, Refusal& refusal) {
    auto atLeast0 = [&](double v, const char* name, int row = kNoRow) {
        if (v < 0) refusal.Note(in, name, row, "must not be negative");
    };
    auto above0 = [&](double v, const char* name, int row = kNoRow) {
        if (!(v > 0)) refusal.Note(in, name, row, "must be above 0");
    };
    for (int s = 1; s <= m.NSpecies && s <= 4; ++s) {
        above0(m.D[s], "D", s);
        // The typed concentration feeds the computed initial one, which a text that is not a
        // number leaves without a value: the run must not start from an older one.
        const std::optional<double> typed = StrictNumber(in.TextOf("C", s));
        if (!typed) refusal.Note(in, "C", s, "is not a number");
        atLeast0(typed ? std::min<double>(*typed, m.C[s]) : 0.0, "C", s);
    }
    // Only the sweep runs at the scan rate; the other techniques take the drop time as typed.
    if (m.Technique == 1) above0(m.ScanRate, "V");
    // Every geometry has an area; the radius and the length only where the sheet shows them.
    above0(m.Area, "ARE");
    const int e = m.Electrode;
    if ((e >= 2 && e <= 6) || e == 8) above0(m.Radius, "radius");
    if (e >= 5 && e <= 7) above0(m.Length, "leng");
    atLeast0(m.Noise, "Noise");
    atLeast0(m.Cdl, "Cdl");
    if (m.Digital) atLeast0(refusal.Value(in, "Ru"), "Ru");
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
        for (int k = 2; k <= 17; ++k) in.SetEntryEnabled("mech", k, MechanismOf(k).ClosedForm);
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
        const MechanismInfo& info = MechanismOf(m.Mechanism);
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
    if (!std::isfinite(celsius))
        throw InputError("Input Error: " + in.Get("txttemp").Label + " is too large");
    if (!(celsius + kCelsiusOffset > 0.0))
        throw InputError("Input Error: " + in.Get("txttemp").Label + " must be above -273.14");

    // A refused collection leaves the model as it was, so that nothing impossible (a parameter
    // file's " Inf ") reaches it through the sheet's own collections either.
    const ParameterModel before = m;
    SelectMechanism(m, in);
    const int scan = in.SelectedOf("ComboScan");
    if (scan >= 0 && scan <= 2) m.ScanCycles = kScanCycles[static_cast<size_t>(scan)];
    m.Refined = in.IsChecked("CheckRefined");

    Refusal refusal;
    m.Estart = refusal.Value(in, "Estart");
    m.Eend = refusal.Value(in, "Eend");
    m.Estep = std::fabs(estep);
    m.Area = refusal.Value(in, "ARE");
    m.Cdl = refusal.Value(in, "Cdl");
    m.Temperature = celsius + kCelsiusOffset;
    m.Epulse = refusal.Value(in, "Epulse");
    m.Noise = refusal.Value(in, "Noise");
    m.tdrop = refusal.Value(in, "td");
    m.tpulse = refusal.Value(in, "tp");
    m.ScanRate = std::fabs(scanRate);
    m.Length = refusal.Value(in, "leng");
    m.Radius = refusal.Value(in, "radius");
    m.Viscosity = refusal.Value(in, "TextVis");
    m.Omega = refusal.Value(in, "TextRrate") * kPi / 30;
    m.ElectrolyteC = refusal.Value(in, "TextElectrolyteC");
    m.ElectrolyteCond = refusal.Value(in, "TextElectrolyteCond");

    ComputeAreaAndVolume(m, in);

    for (int r = 1; r <= 3; ++r) {
        m.Alpha[r] = refusal.Value(in, "alph", r);
        m.Eformal[r] = refusal.Value(in, "Eze", r);
        m.ks[r] = refusal.Value(in, "ks", r);
        m.n[r] = static_cast<int>(Val(in.ListText("NEL", r)));
        m.kf[r] = refusal.Value(in, "kf", r);
        m.kb[r] = refusal.Value(in, "kb", r);
        m.Keq[r] = Val(in.CaptionOf("LabelKeq", r));
        m.p[r] = static_cast<int>(Val(in.ListText("pl", r)));
    }
    for (int s = 1; s <= 4; ++s) {
        m.D[s] = refusal.Value(in, "D", s);
        // The simulation starts from the initial concentration the sheet computed and shows.
        m.C[s] = Val(in.CaptionOf("Cinit", s));
        m.Cond[s] = refusal.Value(in, "Cond", s - 1);
    }
    if (!m.Digital) m.TechElectrodeCode = 10 * m.Technique + m.Electrode;

    m.FRT = (kFaraday / kGasConstant) / m.Temperature;
    m.RTF = 1 / m.FRT;
    CheckPhysical(m, in, refusal);
    if (refusal.Message.empty()) return;
    m = before;
    throw InputError(refusal.Message);
}

}  // namespace zemra
