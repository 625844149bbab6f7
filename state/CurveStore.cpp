#include "state/CurveStore.h"

namespace zemra {

void NewCurveSlot(CurveStore& store, bool fitting, bool overlapChecked) {
    if (fitting) {
        store.NoOfCurves = store.CurveNo = store.NewCurve = 2;
    } else if (store.NoOfCurves < kMaxCurves && overlapChecked) {
        store.NoOfCurves += 1;
        store.CurveNo = store.NewCurve = store.NoOfCurves;
    } else {
        store.NoOfCurves = store.CurveNo = store.NewCurve = 1;
    }
}

}  // namespace zemra
