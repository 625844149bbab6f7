// Data files: plain comma-separated text, one point per line (potential, value), lines ending in
// CR LF, no header.
#pragma once

#include <string>

#include "model/ParameterModel.h"
#include "platform/Host.h"

namespace zemra {

// The file dialog's filter for data files: csv files, or any file.
inline constexpr const char* kDataFileFilter = "csv|*.csv|all|*.*";

// One line of a data file: X, ",", blanks to the next 14-character print zone, Y, each number
// in its printed form, then CR LF.
std::string DataLine(double x, double y);

// Writes points firstPoint..lastPoint of curve curveNo to the file the user chooses. A cancelled
// choice writes nothing; a file that cannot be created or written is reported as
// "WriteData Error: <description>".
void WriteData(int firstPoint, int lastPoint, const Array1<kRows>& X, const Array2<kRows, 6>& Y,
               int curveNo, Host& host);

}  // namespace zemra
