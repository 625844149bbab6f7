// Open Parameters: a parameter file written by Save, read back onto the experiment sheet.
#pragma once

#include "model/ParameterFile.h"
#include "state/Workbench.h"

namespace zemra {

// The largest parameter file read: a few hundred bytes are written; anything near this is not
// one.
inline constexpr size_t kMaxParameterFileBytes = 1 << 20;

// Types the file's values into the sheet through the setters, so that every change handler runs
// as it does for a user: technique, mechanism (with digital simulation for a mechanism that has
// no closed form), electrode, the instrument fields, the area (through the radius for a computed
// geometry), then every species row. The file's concentrations are the initial ones the
// simulation used, already pre-equilibrated and preconcentrated: they go into the C fields with
// pre-equilibration and preconcentration switched off, so that the sheet shows and uses them
// as they were instead of equilibrating them a second time. Empty value lines (never-set
// fields) leave their field as it is. Then the sheet comes to the front and its OK collects.
void ApplyParameterFile(Workbench& wb, const ParameterFileValues& v);

// File > Open Parameters: the user's choice of file, read whole and checked before anything
// changes; a fault shows "Open Error: line N: reason" (or the file's failure) and leaves the
// sheet as it was.
void mnuOpen(Workbench& wb);

}  // namespace zemra
