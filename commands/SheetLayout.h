// The experiment sheet window's logic: its layout step (run each time the sheet comes to the
// front) and its OK.
#pragma once

#include "state/Workbench.h"

namespace zemra {

// The reaction texts of the charge-transfer rows (heter 1..3) and homogeneous rows (homo 1..2)
// of a mechanism; "" where the row is not used.
struct ReactionCaptions {
    const char* Heter[3];
    const char* Homo[2];
};
const ReactionCaptions& ReactionCaptionsOf(int mechanism);

// The layout step: mechanism selection and the preconcentration handler, the technique's
// fields, the species, charge-transfer and homogeneous rows for the counts, and the reaction
// captions of the mechanism.
void ActivateSheet(Workbench& wb);

// The Experimental menu item: mechanism selection, then the sheet comes to the front.
void mnuExperimental(Workbench& wb);

}  // namespace zemra
