#include "commands/SheetComputations.h"

#include <array>
#include <cmath>
#include <memory>
#include <optional>

#include "model/Collection.h"
#include "platform/NumberText.h"

namespace zemra {
namespace {

const char* const kConcentrationPattern = "0.###e-#";

// Runs one step; a run-time error skips it and leaves its target as it was.
template <typename Step>
void TryStep(Step step) {
    try {
        step();
    } catch (const RuntimeError&) {
    }
}

// The number in a text field used in a formula: a text that is not a number fails the step.
double FieldValue(const Workbench& wb, const std::string& name, int row = kNoRow) {
    const std::optional<double> v = StrictNumber(wb.Input.TextOf(name, row));
    if (!v) Raise(kTypeMismatch);
    return *v;
}

double ListValue(const Workbench& wb, const std::string& name, int row) {
    return Val(wb.Input.ListText(name, row));
}

void SetCinit(Workbench& wb, int row, double value) {
    wb.Input.SetCaption("Cinit", row, FormatPattern(Finite(value), kConcentrationPattern));
}

// theta_j: the ratio reduced/oxidised of couple j in Nernst equilibrium at the start potential.
double Theta(const Workbench& wb, int j) {
    const double n = ListValue(wb, "NEL", j);
    return Exp(n * wb.Model.FRT * (FieldValue(wb, "Eze", j) - FieldValue(wb, "Estart")));
}

// Pre-equilibration of the mechanism's couples at the start potential. The captions are written
// only when the whole computation succeeded.
void PreEquilibrate(Workbench& wb) {
    const int mech = wb.Model.Mechanism;
    auto C = [&](int i) { return FieldValue(wb, "C", i); };
    const double K = Val(wb.Input.CaptionOf("LabelKeq", 1));
    std::array<std::optional<double>, 5> cinit{};
    std::array<double, 5> Cx{};
    const ChargeChain chain = MechanismOf(mech).Chain;
    if (chain == ChargeChain::Consecutive) {  // charge transfers A -> B -> C (-> D)
        const int nCharge = wb.Model.NCharge;
        double A = C(1);
        for (int j = 1; j <= nCharge && j <= 3; ++j) {
            if (j > 1) A = C(j) + Cx[j - 1];
            const double th = Theta(wb, j);
            Cx[j] = Div(A * th - C(j + 1), 1 + th);
            cinit[j] = A - Cx[j];
        }
        const int m = nCharge + 1;
        if (m >= 2 && m <= 4) cinit[m] = C(m) + Cx[m - 1];
    } else if (chain == ChargeChain::TwoCouples) {  // two separate couples A/B and C/D
        const int nCharge = wb.Model.NCharge;
        for (int j = 1; j <= nCharge && j <= 2; ++j) {
            const double th = Theta(wb, j);
            const double X = Div(C(2 * j - 1) * th - C(2 * j), 1 + th);
            cinit[2 * j - 1] = C(2 * j - 1) - X;
            cinit[2 * j] = C(2 * j) + X;
        }
    } else {
        switch (mech) {
            case 5:
            case 6: {  // C = A ahead of A + ne = B
                const double Y = Div(C(3) * K - C(1), K + 1);
                const double th = Theta(wb, 1);
                const double X = Div((C(1) + Y) * th - C(2), 1 + th);
                cinit[3] = C(3) - Y;
                cinit[1] = C(1) + Y - X;
                cinit[2] = C(2) + X;
                break;
            }
            case 7:
            case 8: {  // A + ne = B followed by B = C (2B = C uses the same linear balance)
                const double A = C(1);
                const double th = Theta(wb, 1);
                const double X = Div(A * th - C(2), 1 + th);
                const double Y = Div((C(2) + X) * K - C(3), K + 1);
                cinit[1] = A - X;
                cinit[2] = C(2) + X - Y;
                cinit[3] = C(3) + Y;
                break;
            }
            case 17: {  // C = A + pD: only the chemical equilibrium
                const double Dp = Pow(C(4), ListValue(wb, "pl", 1));
                const double Y = Div(C(3) * K - C(1) * Dp, K + Dp);
                cinit[3] = C(3) - Y;
                cinit[1] = C(1) + Y;
                break;
            }
            default: {  // 1, 9, 10, 16: the couple A/B
                const double A = C(1);
                const double th = Theta(wb, 1);
                const double X = Div(A * th - C(2), 1 + th);
                cinit[1] = A - X;
                cinit[2] = C(2) + X;
                break;
            }
        }
    }
    for (auto& v : cinit)
        if (v) Finite(*v);
    for (int s = 1; s <= 4; ++s)
        if (cinit[s]) SetCinit(wb, s, *cinit[s]);
}

}  // namespace

double PreconcentrationFactor(const Workbench& wb) {
    const ParameterModel& m = wb.Model;
    const double Ep = FieldValue(wb, "txtEPre");
    const double thetaP =
        Exp(m.n[1] * kFaraday * Div(Ep - m.Eformal[1], kGasConstant * m.Temperature));
    const double omega = 2 * kPi * FieldValue(wb, "txtRStir") / 60;  // rad/s from rpm
    const double Pc = FieldValue(wb, "txtPconst");
    const double tp = FieldValue(wb, "txtTPre");
    // Levich-type mass transport to the stirred electrode over the deposition time, spread over
    // the electrode (or film) volume.
    const double q =
        Pc * Pow(m.D[1], 2.0 / 3.0) * Sqrt(omega) * Pow(m.Viscosity, -1.0 / 6.0) * tp * m.Area;
    return Div(Div(q, m.ElectrodeVolume), 1 + thetaP);
}

void InitialConcentrations(Workbench& wb, int row) {
    TryStep([&] { wb.Model.FRT = Div(kFaraday, kGasConstant * wb.Model.Temperature); });
    // A typed concentration that is not a number leaves the computed one without a value, never
    // with the one computed from the text it replaced.
    if (row >= 1 && row <= 4) {
        if (!StrictNumber(wb.Input.TextOf("C", row))) wb.Input.SetCaption("Cinit", row, "");
        TryStep([&] { SetCinit(wb, row, FieldValue(wb, "C", row)); });
    }
    if (wb.Input.IsChecked("CheckPreEqu")) TryStep([&] { PreEquilibrate(wb); });
    if (wb.Input.IsChecked("CheckPreCon"))
        TryStep([&] { SetCinit(wb, 2, FieldValue(wb, "C", 1) * PreconcentrationFactor(wb)); });
}

void EquilibriumConstant(Workbench& wb, int row) {
    TryStep([&] {
        if (!(Val(wb.Input.TextOf("kb", row)) > 0)) return;
        const double K = Div(FieldValue(wb, "kf", row), FieldValue(wb, "kb", row));
        wb.Input.SetCaption("LabelKeq", row, FormatPattern(K, "#.###e-#"));
    });
}

void ElectrodeSelection(Workbench& wb, int entry) {
    wb.Model.Electrode = entry;
    InputRecord& in = wb.Input;
    const bool length = entry == 5 || entry == 6 || entry == 7;
    const bool radius = (entry >= 2 && entry <= 6) || entry == 8;
    const bool rotating = entry == 8;
    in.SetShown("LabelLength", kNoRow, length);
    in.SetShown("leng", kNoRow, length);
    if (length) {
        const char* caption = entry == 7 ? "Thick (cm)" : "Length (cm)";
        in.SetCaption("LabelLength", kNoRow, caption);
        in.Get("leng").Label = caption;
    }
    in.SetShown("LabelRadius", kNoRow, radius);
    in.SetShown("radius", kNoRow, radius);
    in.SetReadOnly("ARE", kNoRow, entry != 1 && entry != 7);
    for (const char* name : {"LabelVis", "TextVis", "LabelRrate", "TextRrate"})
        in.SetShown(name, kNoRow, rotating);
    ComputeAreaAndVolume(wb.Model, wb.Input);
}

void DropTime(Workbench& wb) {
    // A negative step or scan rate is taken by its magnitude, as the collection does.
    TryStep([&] {
        const double td = Div(std::fabs(FieldValue(wb, "Estep")), std::fabs(FieldValue(wb, "V")));
        wb.Input.SetText("td", kNoRow, GeneralNumber(td));
    });
}

void PulseWidth(Workbench& wb) {
    TryStep(
        [&] { wb.Input.SetText("tp", kNoRow, GeneralNumber(Div(0.5, FieldValue(wb, "TextF")))); });
}

void FitBoundsShown(Workbench& wb, int slot) {
    if (slot < 1 || slot > kFitSlots) return;
    const Control& box = wb.Input.Get("CheckFitted", slot);
    const bool shown = box.Checked && box.Shown;
    wb.Input.SetShown("TextCmin", slot, shown);
    wb.Input.SetShown("TextCmax", slot, shown);
}

void PreconcentrationClick(Workbench& wb) {
    wb.Input.SetShown("FramePre", kNoRow, wb.Input.IsChecked("CheckPreCon"));
    try {
        CollectParameters(wb.Model, wb.Input);
    } catch (const RuntimeError&) {
        // A field the collection cannot read is reported by the command that needs it.
    }
    for (int r = 1; r <= 4; ++r) InitialConcentrations(wb, r);
}

void SheetChanged(Workbench& wb, const std::string& name, int row) {
    if (name == "C") {
        InitialConcentrations(wb, row);
    } else if (name == "CheckPreEqu" || name == "Estart" || name == "LabelKeq" || name == "pl") {
        for (int r = 1; r <= 4; ++r) InitialConcentrations(wb, r);
    } else if (name == "Eze" || name == "NEL" || name == "txtEPre" || name == "txtPconst" ||
               name == "txtRStir" || name == "txtTPre" || name == "txtTpreconst") {
        InitialConcentrations(wb, 1);
    } else if (name == "CheckPreCon") {
        PreconcentrationClick(wb);
    } else if (name == "kf" || name == "kb") {
        EquilibriumConstant(wb, row);
    } else if (name == "radius" || name == "leng") {
        ComputeAreaAndVolume(wb.Model, wb.Input);
    } else if (name == "optElectrode") {
        ElectrodeSelection(wb, wb.Input.SelectedOf("optElectrode"));
    } else if (name == "Estep" || name == "V") {
        DropTime(wb);
    } else if (name == "TextF") {
        PulseWidth(wb);
    } else if (name == "CheckFitted") {
        FitBoundsShown(wb, row);
    } else if (name == "CheckDigital") {
        ApplyDigitalAvailability(wb.Model, wb.Input);
    } else if (name == "Xauto" || name == "Yauto") {
        const std::string axis = name.substr(0, 1);
        const bool shown = !wb.Input.IsChecked(name);
        wb.Input.SetShown(axis + "minText", kNoRow, shown);
        wb.Input.SetShown(axis + "maxText", kNoRow, shown);
    }
}

void AttachSheetHandlers(Workbench& wb) {
    // Handlers raise further events (a Keq caption raises LabelKeq_Change); the chains are
    // short, and the depth bound keeps any chain from recursing without end.
    auto depth = std::make_shared<int>(0);
    wb.Input.OnChange = [&wb, depth](const std::string& name, int row) {
        if (*depth >= 8) return;
        ++*depth;
        try {
            SheetChanged(wb, name, row);
        } catch (...) {
            --*depth;
            throw;
        }
        --*depth;
    };
}

}  // namespace zemra
