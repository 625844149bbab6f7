// libFuzzer target: the plot on arbitrary curves and options (manual limits, X direction, grid,
// line styles, Y quantity), rendered as SVG. The drawing must end, whatever the values.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "commands/Commands.h"
#include "curves/Plot.h"
#include "platform/NumberText.h"
#include "platform/SvgCanvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zemra;
    FuzzedDataProvider in(data, size);
    const auto real = [&in] {  // any bit pattern, infinities and NaN included; 0 when used up
        double v = 0;
        in.ConsumeData(&v, sizeof v);
        return v;
    };
    HeadlessHost host;
    SvgCanvas canvas(400, 300);
    Workbench wb(host, canvas);
    StartUp(wb);
    const auto flags = in.ConsumeIntegral<uint8_t>();
    wb.Input.SetChecked("Xauto", flags & 1);
    wb.Input.SetChecked("Yauto", flags & 2);
    wb.Input.SetChecked("CheckXdir", flags & 4);
    wb.Input.SetChecked("CheckGrid", flags & 8);
    wb.Input.SetListIndex("ComboY", (flags >> 4) & 3);
    const auto styles = in.ConsumeIntegral<uint8_t>();
    for (int k = 0; k <= 4; ++k)
        wb.Input.SelectButton("linestyle" + std::to_string(1 + (styles >> k) % 3), k);
    for (const char* name : {"XminText", "XmaxText", "YminText", "YmaxText"})
        wb.Input.SetText(name, GeneralNumber(real()));
    CurveStore& s = wb.Curves;
    s.NoOfCurves = 1 + in.ConsumeIntegral<uint8_t>() % 5;
    int n = 0;
    while (n < 200 && in.remaining_bytes() >= 16) {
        ++n;
        s.X(n) = real();
        for (int c = 1; c <= s.NoOfCurves; ++c) s.Y(n, c) = real();
    }
    s.NoOfData = s.LastPoint = n;
    s.FirstPoint = s.CurveNo = s.NewCurve = 1;
    PlotCurves(wb);
    (void)canvas.Document();
    return 0;
}
