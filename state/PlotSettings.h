// The plot globals: the frame last drawn (peak finding reads its Y range) and the options read
// from the plot-option dialog.
#pragma once

namespace zemra {

struct PlotSettings {
    double Xmin = 0, Xmax = 0;
    // Y range of the frame; the simulation's signal range writes them before the plot runs.
    double Ymin = 0, Ymax = 0;
    bool Grid = false;
    bool Overlap = false;
};

}  // namespace zemra
