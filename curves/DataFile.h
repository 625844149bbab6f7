// Data files: curves as plain comma-separated text, one point per line (potential, value),
// lines ending in CR LF, no header. The import reads a whole file into a buffer and commits it
// to the curve store only when the file was read without fault, so a failed import never
// changes the store.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "model/ParameterModel.h"
#include "state/Workbench.h"

namespace zemra {

// The file dialog's filter for data files: csv files, or any file.
inline constexpr const char* kDataFileFilter = "csv|*.csv|all|*.*";

// One line of a data file: X, ",", blanks to the next 14-character print zone, Y, each number
// in its printed form, then CR LF.
std::string DataLine(double x, double y);

// The text of a data file of points firstPoint..lastPoint of curve curveNo; raises RuntimeError
// for a point outside the store.
std::string DataFileText(int firstPoint, int lastPoint, const Array1<kRows>& X,
                         const Array2<kRows, 6>& Y, int curveNo);

// The points of a data file, in file order.
struct DataPoints {
    std::vector<double> X, Y;
};

// Reads the stream of fields of a data file: fields are separated by commas or line ends,
// blanks around a field are ignored, lines holding nothing but blanks are skipped, and fields
// are taken two at a time as (X, Y). Raises RuntimeError with "Type mismatch in line N" for a
// field that is not a number, "more than 4000 data points" and "Input past end of file" for an
// X without its Y.
DataPoints ParseDataFile(std::istream& in);

// Commits read points to the store as the import does: a new curve slot, X(1..n), the column
// NewCurve, NoOfData, FirstPoint and LastPoint; then the two result-window lines and, when the
// first two potentials give a step, the sheet's start potential and potential step (their
// change handlers run).
void StoreImportedData(Workbench& wb, const DataPoints& points);

// The points of the data file at `path`; raises RuntimeError with "File not found",
// "Path/File access error" or the reader's description.
DataPoints ReadDataFile(const std::string& path);

}  // namespace zemra
