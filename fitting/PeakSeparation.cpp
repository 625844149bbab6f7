#include "fitting/PeakSeparation.h"

namespace zemra {

void SeparateReactionCurrents(Workbench& wb) {
    CurveStore& cs = wb.Curves;
    const Results& res = wb.Res;
    cs.NoOfCurves = 2;
    // At most three reactions, so the last slot used is 5.
    for (int j = 1; j <= wb.Model.NCharge && cs.NoOfCurves < kMaxCurves; ++j) {
        cs.NoOfCurves += 1;
        cs.Measured[static_cast<size_t>(cs.NoOfCurves)] = false;
        for (int i = 1; i <= cs.NoOfData; ++i) cs.Y(i, cs.NoOfCurves) = res.Icomp(i, j);
    }
}

}  // namespace zemra
