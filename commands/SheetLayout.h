// The experiment sheet window's logic: its layout step (run each time the sheet comes to the
// front) and its OK.
#pragma once

#include "state/Workbench.h"

namespace zemra {

// The layout step: mechanism selection and the preconcentration handler, the technique's
// fields, the species, charge-transfer and homogeneous rows for the counts, and the reaction
// captions of the mechanism.
void ActivateSheet(Workbench& wb);

// The Experimental menu item: mechanism selection, then the sheet comes to the front.
void mnuExperimental(Workbench& wb);

}  // namespace zemra
