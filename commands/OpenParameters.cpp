#include "commands/OpenParameters.h"

#include <cmath>

#include "commands/Commands.h"
#include "commands/SheetLayout.h"
#include "platform/NumberText.h"
#include "platform/TextFile.h"

namespace zemra {
namespace {

// The radius (cm) whose computed area (cm^2) is `area` for geometry e: sphere 4 pi r^2,
// hemisphere 2 pi r^2, disc pi r^2, cylinder pi r^2 + 2 pi r L, hemicylinder pi r^2 / 2 + pi r L
// (the positive roots of the quadratics in r); NaN where no radius gives it.
double RadiusForArea(int e, double area, double length) {
    const double pi = kPi;
    switch (e) {
        case 2:
            return std::sqrt(area / (4 * pi));
        case 3:
            return std::sqrt(area / (2 * pi));
        case 4:
        case 8:
            return std::sqrt(area / pi);
        case 5:
            return -length + std::sqrt(length * length + area / pi);
        case 6:
            return -length + std::sqrt(length * length + 2 * area / pi);
        default:
            return std::nan("");
    }
}

void TypeText(InputRecord& in, const char* name, int row, const std::string& text) {
    if (!text.empty()) in.SetText(name, row, text);
}

void ChooseListEntry(InputRecord& in, const char* name, int row, const std::string& text) {
    if (text.empty()) return;
    const Control& c = in.Get(name, row);
    for (size_t i = 0; i < c.Entries.size(); ++i)
        if (Val(c.Entries[i]) == Val(text)) in.SetListIndex(name, row, static_cast<int>(i));
}

// The area as the file has it: typed for the planar and thin-film electrodes, through the
// radius where the geometry computes it (the length stays as the sheet has it).
void TypeArea(Workbench& wb, const std::string& area) {
    const int e = wb.Input.SelectedOf("optElectrode");
    if (area.empty()) return;
    if (e == 1 || e == 7) {
        wb.Input.SetText("ARE", kNoRow, area);
        return;
    }
    const double r = RadiusForArea(e, Val(area), Val(wb.Input.TextOf("leng")));
    if (std::isfinite(r) && r > 0) wb.Input.SetText("radius", kNoRow, GeneralNumber(r));
}

}  // namespace

void ApplyParameterFile(Workbench& wb, const ParameterFileValues& v) {
    // "No. OF DATA" is the curve store's count, not a sheet field: it is checked by the reader
    // but not applied, and the next Simulate derives it again from the potential range.
    InputRecord& in = wb.Input;
    if (!v.Technique.empty()) in.Select("optTech", static_cast<int>(Val(v.Technique)));
    if (!v.Mechanism.empty()) {
        const int mech = static_cast<int>(Val(v.Mechanism));
        if (!MechanismOf(mech).ClosedForm) in.SetChecked("CheckDigital", true);
        in.Select("mech", mech);
    }
    in.SetChecked("CheckPreEqu", false);
    in.SetChecked("CheckPreCon", false);
    if (!v.Electrode.empty()) in.Select("optElectrode", static_cast<int>(Val(v.Electrode)));
    TypeArea(wb, v.Area);
    TypeText(in, "Estart", kNoRow, v.Estart);
    TypeText(in, "Eend", kNoRow, v.Eend);
    TypeText(in, "Estep", kNoRow, v.Estep);  // before the drop time, which it recomputes
    TypeText(in, "td", kNoRow, v.tdrop);
    TypeText(in, "tp", kNoRow, v.tpulse);
    TypeText(in, "Epulse", kNoRow, v.Epulse);
    TypeText(in, "Noise", kNoRow, v.Noise);
    for (int s = 1; s <= static_cast<int>(v.Species.size()); ++s) {
        const ParameterFileSpecies& b = v.Species[static_cast<size_t>(s - 1)];
        TypeText(in, "D", s, b.D);
        TypeText(in, "Cond", s - 1, b.Cond);
        // The reaction tables are indexed by the species number in the file; species 4 carries
        // no charge-transfer reaction.
        if (s <= 3) {
            TypeText(in, "ks", s, b.ks);
            TypeText(in, "alph", s, b.Alpha);
            ChooseListEntry(in, "NEL", s, b.n);
            TypeText(in, "Eze", s, b.Eformal);
        }
        TypeText(in, "C", s, b.C);
    }
    wb.Ui.ShowWindow("FormExpr");
    ActivateSheet(wb);
    SheetOK(wb);
}

void mnuOpen(Workbench& wb) {
    const auto name = wb.Ui.ChooseOpenFile(kParameterFileFilter);
    if (!name) return;  // cancelled
    ParameterFileValues values;
    try {
        const std::string text = ReadTextFile(*name, kMaxParameterFileBytes);
        if (const auto fault = ReadParameterFileText(text, values)) {
            wb.Ui.MessageBox("Open Error: line " + std::to_string(fault->Line) + ": " +
                             fault->Reason);
            return;
        }
    } catch (const RuntimeError& e) {
        wb.Ui.MessageBox("Open Error: " + e.Description());
        return;
    }
    ApplyParameterFile(wb, values);
}

}  // namespace zemra
