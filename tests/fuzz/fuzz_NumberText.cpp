// libFuzzer target: the number conversions. The bytes are read as text by Val and StrictNumber,
// and their first eight bytes as a double that is written in every number format and read back.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/NumberText.h"

namespace {

void Check(bool ok) {
    if (!ok) __builtin_trap();
}

// Reading back a written number gives the value to the digits the format keeps.
void CheckWritten(double v) {
    using namespace zemra;
    const std::string general = GeneralNumber(v);
    const std::string printed = PrintedNumber(v);
    Check(printed.size() >= general.size() + 1 && printed.back() == ' ');
    for (const char* pattern : {"0.###e-#", "#.###e-#", "0.##e-0", "0.#E-0"}) {
        const std::string text = FormatPattern(v, pattern);
        Check(!text.empty());
        if (std::isfinite(v) && std::fabs(v) < 1e300 && std::fabs(v) > 1e-300)
            Check(std::fabs(Val(text) - v) <= 0.051 * std::fabs(v));
    }
    // Beyond 1e300 the 15 digits may round past the largest double.
    if (!std::isfinite(v) || std::fabs(v) >= 1e300) return;
    const auto back = StrictNumber(general);
    Check(back.has_value());
    Check(std::fabs(*back - v) <= 1e-14 * std::fabs(v) || std::fabs(v) < 1e-300);
    Check(Val(printed) == *back);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zemra;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double val = Val(text);
    const auto strict = StrictNumber(text);
    // A text that is wholly a number reads the same by both conversions.
    if (strict) Check(*strict == val);
    if (size >= sizeof(double)) {
        double v;
        std::memcpy(&v, data, sizeof v);
        CheckWritten(v);
    }
    if (std::isfinite(val)) CheckWritten(val);
    return 0;
}
