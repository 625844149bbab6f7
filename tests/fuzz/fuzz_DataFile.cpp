// libFuzzer target: the data-file reader on arbitrary bytes, and for every file it accepts the
// whole import road (store, result window, sheet fields and their handlers, the plot rendered
// as SVG). Any crash, hang or sanitizer report is a fault.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "commands/Commands.h"
#include "curves/DataFile.h"
#include "curves/Plot.h"
#include "platform/RuntimeError.h"
#include "platform/SvgCanvas.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zemra;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    DataPoints points;
    try {
        points = ParseDataFile(in);
    } catch (const RuntimeError&) {
        return 0;  // reported as "ReadData Error: ..." by the command
    }
    if (points.X.size() != points.Y.size() || points.X.size() > 4000) __builtin_trap();
    HeadlessHost host;
    SvgCanvas canvas(640, 480);
    Workbench wb(host, canvas);
    StartUp(wb);
    StoreImportedData(wb, points);
    PlotCurves(wb);
    if (canvas.Document().size() < 50) __builtin_trap();
    return 0;
}
