// The last stages of a simulation: the double-layer charging current, the signal range with its
// dominant extreme, reproducible Gaussian noise, and the step that turns the result arrays into
// the plotted quantity (current, resistance, conductance or surface concentrations).
#pragma once

#include <string>

#include "model/ParameterModel.h"
#include "state/PlotSettings.h"
#include "state/Workbench.h"

namespace zemra {

// Adds the charging current Ic = Cdl * Area * v (A) to the total current of points
// 1..noOfData: against the scan direction of each sweep for cyclic scans, growing with the
// distance from the start potential for the step techniques, a constant for one linear sweep.
void AddChargingCurrent(const ParameterModel& m, const Array1<kRows>& X, int noOfData,
                        Results& res);

// Writes the range of the total current (always containing 0) into plot.Ymax and plot.Ymin and
// returns the dominant extreme: Ymin when it is larger in magnitude, else Ymax.
double FindSignalRange(const Results& res, int noOfData, PlotSettings& plot);

// Adds Noise % of Gaussian noise, scaled by 0.0025 times the dominant extreme, to the total
// current. The generator restarts from 2 * noOfData on every call, so the same parameters give
// the same noise. Nothing is added while fitting or when Noise <= 0.
void AddNoise(const ParameterModel& m, int noOfData, double dominantExtreme, bool fitting,
              Results& res);

// Collects the sheet and writes the quantity chosen in ComboY into the curve store over
// FirstPoint..LastPoint. Resistance and conductance need the distance TextDis to be a non-zero
// number. Returns the message that a failure shows ("" when none); the curve store is then as
// it was.
std::string ComputeOutputQuantity(Workbench& wb);

// The writing step of ComputeOutputQuantity alone, from the parameter model as it stands: a fit
// derives every trial curve this way, so that its trial values stay in the model. While fitting,
// the surface-concentration choice writes the total current into the fit's slot instead of the
// species curves, which would overwrite the data curve in slot 1.
std::string WriteOutputQuantity(Workbench& wb);

}  // namespace zemra
