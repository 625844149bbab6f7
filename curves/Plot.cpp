#include "curves/Plot.h"

#include "simulation/SignalProcessing.h"

namespace zemra {

void RefreshPlot(Workbench& wb) {
    ComputeOutputQuantity(wb);
}

}  // namespace zemra
