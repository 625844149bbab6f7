// Text exports of potentiostats: the layouts of the common instrument programs are recognised
// from the file's content (never from its name or the machine's locale) and read into one
// neutral table of potentials, currents, times and cycle markers, in V, A and s with the file's
// own current sign. Nothing here touches the curve store.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zemra {

// The text of a file's bytes as UTF-8: a byte-order mark first decides (UTF-8, UTF-16LE,
// UTF-16BE; the mark itself is dropped), else valid UTF-8 stays as it is, else the bytes are
// read as Latin-1. Raises RuntimeError with kNotTextExport for bytes that are no text at all
// (NUL bytes or control characters outside a UTF-16 file). `encoding` receives the name of the
// encoding found.
std::string DecodeText(std::string_view bytes, std::string* encoding = nullptr);

inline constexpr const char* kNotTextExport =
    "not a text export: export the data as text from the instrument software";

// One measured curve as an instrument file holds it.
struct MeasuredCurve {
    std::string Format;          // "CH Instruments text export", ...
    std::vector<double> E;       // potential, V
    std::vector<double> I;       // current, A, anodic positive as the file has it
    std::vector<double> T;       // time, s; empty when the file has no time column
    std::vector<int> Marker;     // the file's cycle marker per point; empty when it has none
    std::string MarkerName;      // what the marker is: "cycle number", "CURVE", "Scan", ...
    double ScanRate = 0;         // V/s as the file's header states it; 0 when it does not
    bool VsOpenCircuit = false;  // the potentials are relative to the open-circuit potential
    std::string PotentialUnit = "V", CurrentUnit = "A";  // the units the file wrote
    bool DecimalComma = false;
};

// The instrument layout of `text` (already decoded), or false when the text is none of them and
// not a delimited table either, so that it is the program's own comma-separated layout (a
// headerless file of comma-separated numbers in pairs). Raises RuntimeError for a recognised
// layout that is truncated or inconsistent (naming the line) and for a text that is no known
// layout at all ("unknown data file layout, first line: ...").
bool ReadInstrumentText(const std::string& text, MeasuredCurve& curve);

// True when `text` (or its beginning, cut at a line end) is the program's own layout by the
// rules of ReadInstrumentText, which then returns false for it.
bool IsPlainLayout(const std::string& text);

// Factor from a unit written in a column title or header ("mV", "µA", "uA", "nA", ...) to V or
// A; 0 for a unit that is not a potential or current unit of that kind. `kind` is 'V' or 'A'.
double UnitFactor(std::string_view unit, char kind);

}  // namespace zemra
