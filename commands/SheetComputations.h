// The experiment sheet's reactive computations: what the sheet computes when a field changes
// (initial concentrations by pre-equilibration at the start potential and preconcentration,
// equilibrium constants, electrode area and fields, drop time, pulse width, fit bounds shown).
// A step whose arithmetic fails (a field that is not a number, a division by zero, an overflow)
// is skipped silently and its target keeps what it shows.
#pragma once

#include <string>

#include "state/Workbench.h"

namespace zemra {

// Attaches the change and click handlers below to the input record's change event.
void AttachSheetHandlers(Workbench& wb);
// Dispatches one change event to its handler (nothing for controls without one).
void SheetChanged(Workbench& wb, const std::string& name, int row);

// Initial concentration captions Cinit for an edit of row r.
void InitialConcentrations(Workbench& wb, int row);
// The preconcentration factor Q: the amount of B the electrode holds per unit bulk A.
double PreconcentrationFactor(const Workbench& wb);
// LabelKeq(r) := kf(r) / kb(r) when kb(r) > 0.
void EquilibriumConstant(Workbench& wb, int row);
// Electrode entry k chosen: Electrode := k, the geometry's fields, then area and volume.
void ElectrodeSelection(Workbench& wb, int entry);
// td := E step / v.
void DropTime(Workbench& wb);
// tp := 0.5 / f, half the square-wave period.
void PulseWidth(Workbench& wb);
// The bounds of fit slot s shown while its fitted box is checked.
void FitBoundsShown(Workbench& wb, int slot);
// CheckPreCon click: the preconcentration frame, a collection, all initial concentrations.
void PreconcentrationClick(Workbench& wb);

}  // namespace zemra
