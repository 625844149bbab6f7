// Half-wave potential: reads E1/2 and the limiting current off every sigmoidal curve of the
// store. The wave height is the span between the smallest and the largest magnitude; E1/2 is
// the potential of the first point whose magnitude lies within 5 % of half that height above
// the smallest magnitude.
#pragma once

#include "model/ParameterModel.h"
#include "state/Workbench.h"

namespace zemra {

// Largest (smallest) of a(1..noOfData), starting from a(1) and replaced only by a strictly
// larger (smaller) value.
double ArrayMax(const Array1<kRows>& a, int noOfData);
double ArrayMin(const Array1<kRows>& a, int noOfData);

// Prints one line per curve c = 1..NoOfCurves over the whole curve, points 1..NoOfData.
void FindHalfwaveE(Workbench& wb);

}  // namespace zemra
