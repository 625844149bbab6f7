// libFuzzer target: the instrument readers on arbitrary bytes (decoding, layout recognition,
// parsing), and for every curve they accept the whole measured import (cycles, resampling onto
// the sheet's staircase, store, report, sheet fields and their handlers, the plot as SVG). Any
// crash, hang or sanitizer report is a fault.
#include <cstddef>
#include <cstdint>
#include <string>

#include "commands/Commands.h"
#include "curves/DataFile.h"
#include "curves/InstrumentFormats.h"
#include "curves/Plot.h"
#include "platform/RuntimeError.h"
#include "platform/SvgCanvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zemra;
    MeasuredCurve curve;
    try {
        const std::string text = DecodeText(std::string(reinterpret_cast<const char*>(data), size));
        if (!ReadInstrumentText(text, curve)) return 0;  // the program's own layout
    } catch (const RuntimeError&) {
        return 0;  // reported as "ReadData Error: ..." by the command
    }
    if (curve.E.size() != curve.I.size() || curve.E.empty()) __builtin_trap();
    if (!curve.Marker.empty() && curve.Marker.size() != curve.E.size()) __builtin_trap();
    HeadlessHost host;
    SvgCanvas canvas(640, 480);
    Workbench wb(host, canvas);
    StartUp(wb);
    // The first byte picks the cycle: the last complete one, all, or one by number.
    ImportChoice choice;
    choice.Cycle = size > 0 ? static_cast<int>(data[0] % 4) - 1 : 0;
    choice.FileSign = size > 1 && (data[1] & 1);
    try {
        StoreMeasuredCurve(wb, curve, choice);
    } catch (const RuntimeError&) {
        return 0;
    }
    if (wb.Curves.NoOfData < 2 || wb.Curves.NoOfData > 4000) __builtin_trap();
    PlotCurves(wb);
    if (canvas.Document().size() < 50) __builtin_trap();
    return 0;
}
