#include "commands/SheetLayout.h"

#include "commands/SheetComputations.h"
#include "model/Collection.h"

namespace zemra {

namespace {

void ShowTechniqueFields(InputRecord& in, int technique) {
    const bool pulse = technique >= 3 && technique <= 5;
    in.SetShown("V", kNoRow, technique != 5);
    in.SetShown("TextF", kNoRow, technique == 5);
    in.SetShown("tp", kNoRow, pulse);
    in.SetShown("Epulse", kNoRow, pulse);
    // Square wave takes its pulse width from the frequency.
    if (pulse) in.SetEnabled("tp", kNoRow, technique != 5);
}

// Shows or hides one fit slot's check box; its bounds follow the box.
void ShowFitSlot(Workbench& wb, int slot, bool shown) {
    wb.Input.SetShown("CheckFitted", slot, shown);
    FitBoundsShown(wb, slot);
}

void ShowSpeciesRow(Workbench& wb, int r, bool shown) {
    for (const char* name : {"specie", "D", "C", "Cinit"}) wb.Input.SetShown(name, r, shown);
    wb.Input.SetShown("Cond", r - 1, shown);
    ShowFitSlot(wb, FitSlot(FitParam::C, r), shown);
}

void ShowChargeRow(Workbench& wb, int r, bool shown) {
    for (const char* name : {"heter", "ks", "alph", "NEL", "Eze"})
        wb.Input.SetShown(name, r, shown);
    for (FitParam param : kChargeTransferFitParams) ShowFitSlot(wb, FitSlot(param, r), shown);
}

void ShowHomogeneousRow(Workbench& wb, int r, bool shown) {
    for (const char* name : {"pl", "homo", "kb", "kf", "LabelKeq"})
        wb.Input.SetShown(name, r, shown);
    for (FitParam param : kHomogeneousFitParams) ShowFitSlot(wb, FitSlot(param, r), shown);
}

}  // namespace

void ActivateSheet(Workbench& wb) {
    ParameterModel& m = wb.Model;
    SelectMechanism(m, wb.Input);
    PreconcentrationClick(wb);
    ShowTechniqueFields(wb.Input, m.Technique);

    for (int r = 2; r <= 4; ++r) ShowSpeciesRow(wb, r, false);
    for (int r = 1; r <= m.NSpecies && r <= 4; ++r) ShowSpeciesRow(wb, r, true);
    InitialConcentrations(wb, 1);

    for (int r = 1; r <= 3; ++r) ShowChargeRow(wb, r, false);
    for (int r = 1; r <= m.NCharge && r <= 3; ++r) ShowChargeRow(wb, r, true);

    for (int r = 1; r <= 3; ++r) ShowHomogeneousRow(wb, r, false);
    for (int r = 1; r <= m.NHomo && r <= 3; ++r) {
        ShowHomogeneousRow(wb, r, true);
        EquilibriumConstant(wb, r);
    }

    // Rows a mechanism does not use keep the caption they last had.
    const MechanismInfo& info = MechanismOf(m.Mechanism);
    for (int r = 1; r <= 3; ++r)
        if (*info.Heter[r - 1]) wb.Input.SetCaption("heter", r, info.Heter[r - 1]);
    for (int r = 1; r <= 2; ++r)
        if (*info.Homo[r - 1]) wb.Input.SetCaption("homo", r, info.Homo[r - 1]);
}

void mnuExperimental(Workbench& wb) {
    SelectMechanism(wb.Model, wb.Input);
    wb.Ui.ShowWindow("FormExpr");
    ActivateSheet(wb);
}

}  // namespace zemra
