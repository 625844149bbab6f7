// The parameter file (.par): a label line and a value line per item, CR LF line ends; written
// only. A field that was never set is written as an empty value line.
#pragma once

#include <string>

#include "model/ParameterModel.h"
#include "platform/Host.h"

namespace zemra {

inline constexpr const char* kParameterFileFilter = "parameter (*.par)|*.par|all|*.*";

// The whole file text for the model as last collected and the curve store's point count.
std::string ParameterFileText(const ParameterModel& m, const Whole& noOfData);

// Save: asks the host for a file name (a cancelled choice does nothing) and writes the file.
// A file that cannot be created or written shows "Save Error: " and the failure's description.
void WriteParameterFile(const ParameterModel& m, const Whole& noOfData, Host& host);

}  // namespace zemra
