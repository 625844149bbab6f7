// libFuzzer target: the plot on arbitrary curves and options (manual limits, X direction, grid,
// line styles, Y quantity), rendered as SVG. The drawing must end, whatever the values.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "curves/Plot.h"
#include "platform/NumberText.h"
#include "platform/SvgCanvas.h"
#include "ui/Commands.h"

namespace {

struct Bytes {
    const uint8_t* p;
    size_t n;
    uint8_t Byte() {
        if (n == 0) return 0;
        --n;
        return *p++;
    }
    double Real() {
        double v = 0;
        if (n >= sizeof v) {
            std::memcpy(&v, p, sizeof v);
            p += sizeof v;
            n -= sizeof v;
        }
        return v;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zemra;
    Bytes in{data, size};
    HeadlessHost host;
    SvgCanvas canvas(400, 300);
    Workbench wb(host, canvas);
    StartUp(wb);
    const uint8_t flags = in.Byte();
    wb.Input.SetChecked("Xauto", flags & 1);
    wb.Input.SetChecked("Yauto", flags & 2);
    wb.Input.SetChecked("CheckXdir", flags & 4);
    wb.Input.SetChecked("CheckGrid", flags & 8);
    wb.Input.SetListIndex("ComboY", (flags >> 4) & 3);
    const uint8_t styles = in.Byte();
    for (int k = 0; k <= 4; ++k)
        wb.Input.SelectButton("linestyle" + std::to_string(1 + (styles >> k) % 3), k);
    for (const char* name : {"XminText", "XmaxText", "YminText", "YmaxText"})
        wb.Input.SetText(name, GeneralNumber(in.Real()));
    CurveStore& s = wb.Curves;
    s.NoOfCurves = 1 + in.Byte() % 5;
    int n = 0;
    while (n < 200 && in.n >= 16) {
        ++n;
        s.X(n) = in.Real();
        for (int c = 1; c <= s.NoOfCurves; ++c) s.Y(n, c) = in.Real();
    }
    s.NoOfData = n;
    s.FirstPoint = 1;
    s.LastPoint = n;
    s.CurveNo = s.NewCurve = 1;
    PlotCurves(wb);
    (void)canvas.Document();
    return 0;
}
