// The File menu's commands that read and write files: Save (the parameter file), Import Data and
// Export Data (data files). Each asks the host for the file name; a cancelled choice does
// nothing.
#pragma once

#include "state/Workbench.h"

namespace zemra {

// Save: the parameter model as last collected into a parameter file. A file that cannot be
// written shows "Save Error: " and the failure's description.
void mnuSave(Workbench& wb);

// Import Data: read a data file into a new curve slot, plot, show the result window and enable
// the Display and Analysis menus. A failure shows "ReadData Error: " and its description and
// changes nothing.
void mnuImport(Workbench& wb);

// Export Data: the current curve over the plotted range into a data file. A failure shows
// "WriteData Error: " and its description.
void mnuExport(Workbench& wb);

}  // namespace zemra
