// The parameter file (.par): a label line and a value line per item, CR LF line ends; written
// only. A field that was never set is written as an empty value line.
#pragma once

#include <string>

#include "model/ParameterModel.h"

namespace zemra {

inline constexpr const char* kParameterFileFilter = "parameter (*.par)|*.par|all|*.*";

// The whole file text for the model as last collected and the curve store's point count.
std::string ParameterFileText(const ParameterModel& m, const Whole& noOfData);

}  // namespace zemra
