// Data files: curves as plain comma-separated text, one point per line (potential, value),
// lines ending in CR LF, no header. The import reads a whole file into a buffer and commits it
// to the curve store only when the file was read without fault, so a failed import never
// changes the store.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "curves/InstrumentFormats.h"
#include "model/ParameterModel.h"
#include "state/Workbench.h"

namespace zemra {

// The file dialog's filters: the export writes csv files; the import also reads the text
// exports of potentiostats.
inline constexpr const char* kDataFileFilter = "csv|*.csv|all|*.*";
inline constexpr const char* kImportFileFilter =
    "Data files (*.csv *.txt *.mpt *.dta *.DTA)|*.csv;*.txt;*.mpt;*.dta;*.DTA|All files|*.*";

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

// A file as Import Data reads it: the program's own layout, or an instrument's export.
struct ImportedFile {
    bool Plain = true;
    DataPoints Points;       // the program's own layout
    MeasuredCurve Measured;  // an instrument's export
    std::string Encoding;    // "UTF-8", "UTF-16LE", "UTF-16BE" or "Latin-1"
};

// Reads the file at `path`: a file in the program's own layout (after a byte-order mark or in
// UTF-16, read the same) goes through ParseDataFile, any other text through the instrument
// readers. Raises RuntimeError with "File not found", "Path/File access error" or the readers'
// descriptions.
ImportedFile ReadAnyDataFile(const std::string& path);

// The points of the data file at `path` in the program's own layout (an instrument's export
// is refused as a type mismatch in its first line).
DataPoints ReadDataFile(const std::string& path);

// The cycles an instrument's curve holds, as Import Data finds them.
int CyclesFound(const MeasuredCurve& m);

// Commits a measured curve as the import does: the chosen cycle resampled onto the sheet's
// potential program (currents in Zemra's sign unless the file's is kept), the store as
// StoreImportedData fills it, the report in the result window, then E start, E end, E step,
// the scan mode and, where the file gives it, the scan rate on the sheet (their change
// handlers run). Everything that can fail is done before the store is touched.
void StoreMeasuredCurve(Workbench& wb, const MeasuredCurve& m, const ImportChoice& choice);

}  // namespace zemra
