// The parameter file (.par): a label line and a value line per item, CR LF line ends. A field
// that was never set is written as an empty value line. The reader takes back what the writer
// wrote.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/ParameterModel.h"

namespace zemra {

inline constexpr const char* kParameterFileFilter = "parameter (*.par)|*.par|all|*.*";

// The whole file text for the model as last collected and the curve store's point count.
std::string ParameterFileText(const ParameterModel& m, const Whole& noOfData);

// The values of a parameter file as written: each value line's text without its blanks ("" for
// a field that was never set). The whole-number items are checked to be whole and in range.
struct ParameterFileSpecies {
    std::string D, C, ks, Alpha, n, Eformal, Cond;
};
struct ParameterFileValues {
    std::string Technique, Mechanism, Electrode, Estart, Eend, Estep, tpulse, tdrop, Area, Epulse,
        Noise, NoOfData;
    std::vector<ParameterFileSpecies> Species;  // species 1..NUMBER OF SPECIES
};

// A parameter file that cannot be read back: `Line` is the 1-based line of the first fault.
struct ParameterFileError {
    int Line = 0;
    std::string Reason;
};

// Reads the text of a parameter file (CR LF or LF line ends). Every label must be the writer's,
// every value line empty or one number; the file ends after the last species block. Returns the
// values, or the first fault.
std::optional<ParameterFileError> ReadParameterFileText(const std::string& text,
                                                        ParameterFileValues& out);

}  // namespace zemra
