#include "curves/DataFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <istream>
#include <sstream>

#include "curves/CycleResampling.h"
#include "platform/NumberText.h"
#include "platform/ResultWindow.h"
#include "platform/RuntimeError.h"
#include "platform/TextFile.h"

namespace zemra {

namespace {

// The printed form of a number (one leading blank for a non-negative number, one trailing blank)
// written at p; returns the end.
char* PutPrintedNumber(char* p, double v) {
    char digits[kGeneralNumberChars];
    const size_t n = GeneralNumberChars(v, digits);
    if (digits[0] != '-') *p++ = ' ';
    std::memcpy(p, digits, n);
    p += n;
    *p++ = ' ';
    return p;
}

// One line as the print statement writes `Print #1, x; ","; y`: x, the comma, blanks to the next
// 14-character print zone, y, CR LF; formatted in place without the print line's string steps.
void AppendDataLine(std::string& text, double x, double y) {
    char line[2 * kGeneralNumberChars + kPrintZoneWidth + 8];
    char* p = PutPrintedNumber(line, x);
    *p++ = ',';
    const size_t used = static_cast<size_t>(p - line);
    const size_t zone = static_cast<size_t>(kPrintZoneWidth);
    const size_t pad = zone - used % zone;
    std::memset(p, ' ', pad);
    p = PutPrintedNumber(p + pad, y);
    *p++ = '\r';
    *p++ = '\n';
    text.append(line, static_cast<size_t>(p - line));
}

}  // namespace

std::string DataLine(double x, double y) {
    std::string line;
    AppendDataLine(line, x, y);
    return line;
}

std::string DataFileText(int firstPoint, int lastPoint, const Array1<kRows>& X,
                         const Array2<kRows, 6>& Y, int curveNo) {
    std::string text;
    // Row 0 holds no point: before the first curve exists the range is 0..0 and the text is
    // empty rather than a line of zeros.
    const int first = std::max(firstPoint, 1);
    if (lastPoint < first) return text;
    text.reserve(static_cast<size_t>(lastPoint - first + 1) * 48);
    for (int i = first; i <= lastPoint; ++i) AppendDataLine(text, X(i), Y(i, curveNo));
    return text;
}

namespace {

// A field longer than this cannot be a number the program would write or read; the reader
// stops at the first such field, so that a file without separators is neither held in memory
// nor read to its end.
constexpr size_t kMaxFieldLength = 256;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Reads the data file's fields one at a time, counting lines (CR LF, LF or a lone CR).
class FieldReader {
  public:
    explicit FieldReader(std::istream& in) : in_(in) {}

    // The next field and the line it starts on; false at the end of the file.
    bool Next(std::string& field, int& line) {
        if (ended_) return false;
        for (;;) {
            field.clear();
            line = line_;
            const bool atLineStart = atLineStart_;
            bool blankSoFar = true;
            size_t innerBlanks = 0;  // blanks after the field's text, kept only if text follows
            for (;;) {
                const int ch = in_.get();
                if (ch == std::char_traits<char>::eof()) {
                    if (in_.bad()) Raise("Device I/O error");
                    ended_ = true;
                    // Nothing after the last line end: the file is at its end.
                    if (atLineStart && blankSoFar) return false;
                    return Trimmed(field);
                }
                const char c = static_cast<char>(ch);
                if (c == ',') {
                    atLineStart_ = false;
                    return Trimmed(field);
                }
                if (c == '\n' || c == '\r') {
                    if (c == '\r' && in_.peek() == '\n') in_.get();
                    ++line_;
                    atLineStart_ = true;
                    // A line that holds only blanks is no field at all (a blank line at the end
                    // of a file is common); after a comma it is an empty field.
                    if (atLineStart && blankSoFar) break;
                    return Trimmed(field);
                }
                if (IsBlank(c)) {
                    if (!field.empty()) ++innerBlanks;
                    continue;
                }
                blankSoFar = false;
                field.append(innerBlanks, ' ');
                innerBlanks = 0;
                field += c;
                if (field.size() > kMaxFieldLength)
                    Raise(std::string(kTypeMismatch) + " in line " + std::to_string(line));
            }
        }
    }

  private:
    static bool Trimmed(std::string& field) {
        size_t b = 0, e = field.size();
        while (b < e && IsBlank(field[b])) ++b;
        while (e > b && IsBlank(field[e - 1])) --e;
        field = field.substr(b, e - b);
        return true;
    }

    std::istream& in_;
    int line_ = 1;
    bool atLineStart_ = true;
    bool ended_ = false;
};

double FieldValue(const std::string& field, int line) {
    const auto v = field.size() <= kMaxFieldLength ? StrictNumber(field) : std::nullopt;
    if (!v) Raise(std::string(kTypeMismatch) + " in line " + std::to_string(line));
    return *v;
}

}  // namespace

DataPoints ParseDataFile(std::istream& in) {
    DataPoints points;
    FieldReader reader(in);
    std::string field;
    int line = 0;
    while (reader.Next(field, line)) {
        if (static_cast<int>(points.X.size()) == kMaxPoints)
            Raise("more than " + std::to_string(kMaxPoints) + " data points");
        const double x = FieldValue(field, line);
        if (!reader.Next(field, line)) Raise("Input past end of file");
        const double y = FieldValue(field, line);
        points.X.push_back(x);
        points.Y.push_back(y);
    }
    return points;
}

namespace {

// The points into a new curve slot over the shared axis, marked as measured; their count.
int CommitPoints(Workbench& wb, const std::vector<double>& X, const std::vector<double>& Y) {
    CurveStore& s = wb.Curves;
    NewCurveSlot(s, wb.Fit.Fitting, wb.Input.IsChecked("overlap"));
    const int n = static_cast<int>(X.size());
    for (int i = 1; i <= n; ++i) {
        s.X(i) = X[static_cast<size_t>(i - 1)];
        s.Y(i, s.NewCurve) = Y[static_cast<size_t>(i - 1)];
    }
    s.Measured[static_cast<size_t>(s.NewCurve)] = true;
    s.NoOfData = n;
    s.FirstPoint = 1;
    s.LastPoint = n;
    return n;
}

}  // namespace

void StoreImportedData(Workbench& wb, const DataPoints& points) {
    CurveStore& s = wb.Curves;
    const int n = CommitPoints(wb, points.X, points.Y);

    // With fewer than two points X(2) still holds the earlier axis value, and two equal first
    // potentials give no step either: the sheet is then left as it is, since a step of 0 only
    // makes the next simulation divide by it.
    const double step = std::fabs(s.X(2) - s.X(1));
    wb.Result.Print(PrintLine("Number of data point = ").Zone().Num(n));
    wb.Result.Print(PrintLine("E step = ").Zone().Num(n >= 2 ? step : 0.0));
    if (n < 2 || !(step > 0)) return;
    wb.Input.SetText("Estart", GeneralNumber(s.X(1)));
    wb.Input.SetText("Estep", GeneralNumber(step));
}

namespace {

// The layout is decided on the file's first 64 KiB (its complete lines); only a file that is
// not in the program's own layout is read whole, up to this size.
constexpr size_t kPrefixBytes = 64 << 10;
constexpr size_t kMaxInstrumentFileBytes = size_t{256} << 20;

std::string ReadBytes(std::istream& in, size_t limit) {
    std::string bytes(limit, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    if (in.bad()) Raise("Device I/O error");
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

bool HasByteOrderMark(const std::string& b) {
    return b.rfind("\xEF\xBB\xBF", 0) == 0 || b.rfind("\xFF\xFE", 0) == 0 ||
           b.rfind("\xFE\xFF", 0) == 0;
}

}  // namespace

ImportedFile ReadAnyDataFile(const std::string& path) {
    std::ifstream file = OpenRegularFile(path);
    ImportedFile result;
    result.Encoding = "UTF-8";
    std::string bytes = ReadBytes(file, kPrefixBytes);
    if (!HasByteOrderMark(bytes)) {
        DecodeText(bytes);  // bytes that are no text end here, before the rest is read
        // The program's own layout is read straight from the file, as it always was.
        const size_t end = bytes.find_last_of("\r\n");
        const std::string lines =
            file.eof() || end == std::string::npos ? bytes : bytes.substr(0, end);
        if (IsPlainLayout(DecodeText(lines))) {
            file.clear();
            file.seekg(0);
            result.Points = ParseDataFile(file);
            return result;
        }
    }
    if (!file.eof()) {
        bytes += ReadBytes(file, kMaxInstrumentFileBytes - bytes.size());
        if (!file.eof() || file.peek() != std::char_traits<char>::eof())
            Raise("file larger than " + std::to_string(kMaxInstrumentFileBytes >> 20) + " MB");
    }
    const std::string text = DecodeText(bytes, &result.Encoding);
    if (ReadInstrumentText(text, result.Measured)) {
        result.Plain = false;
        return result;
    }
    std::istringstream in(text);
    result.Points = ParseDataFile(in);
    return result;
}

DataPoints ReadDataFile(const std::string& path) {
    ImportedFile f = ReadAnyDataFile(path);
    if (!f.Plain) Raise(std::string(kTypeMismatch) + " in line 1");
    return std::move(f.Points);
}

int CyclesFound(const MeasuredCurve& m) {
    return static_cast<int>(FindCycles(m.E, m.Marker).Ranges.size());
}

void StoreMeasuredCurve(Workbench& wb, const MeasuredCurve& m, const ImportChoice& choice) {
    // Everything that can fail comes first: the store and the sheet change only after it.
    std::vector<double> current = m.I;
    // The instruments count an anodic current positive, the simulations a reduction current.
    if (!choice.FileSign)
        for (double& i : current) i = -i;
    const Cycles cycles = FindCycles(m.E, m.Marker);
    const int found = static_cast<int>(cycles.Ranges.size());
    const auto part = [&](const std::vector<double>& v, int c) {
        if (v.size() != m.E.size()) return std::vector<double>{};
        const auto [a, b] = cycles.Ranges[static_cast<size_t>(c - 1)];
        return std::vector<double>(v.begin() + static_cast<long>(a),
                                   v.begin() + static_cast<long>(b) + 1);
    };
    int taken = choice.Cycle;
    if (taken > found)
        Raise("cycle " + std::to_string(taken) + " not in the file: it has " +
              std::to_string(found));
    if (taken == ImportChoice::kLastComplete) {
        // When no cycle is complete the last one is taken all the same.
        taken = found;
        while (taken > 1 && !IsCompleteCycle(part(m.E, taken))) --taken;
        if (!IsCompleteCycle(part(m.E, taken))) taken = found;
    }
    const bool all = taken == ImportChoice::kAll;
    const Resampled r = all ? ResampleAll(m.E, current, kMaxPoints)
                            : ResampleCycle(part(m.E, taken), part(current, taken), kMaxPoints);
    const double rate = m.ScanRate > 0 ? m.ScanRate
                                       : ScanRateFromTime(all ? m.E : part(m.E, taken),
                                                          all ? m.T : part(m.T, taken));
    for (const double y : r.Y) Finite(y);

    const int n = CommitPoints(wb, r.X, r.Y);

    ResultWindow& w = wb.Result;
    w.Print(PrintLine("Format: " + m.Format + (m.DecimalComma ? ", decimal comma" : "")));
    w.Print(PrintLine("Points read = ").Zone().Num(static_cast<double>(m.E.size())));
    const std::string source = cycles.FromMarker ? "by " + m.MarkerName : "by potential reversals";
    w.Print(PrintLine("Cycle taken = ")
                .Zone()
                .Text(all ? "all " + std::to_string(found)
                          : std::to_string(taken) + " of " + std::to_string(found))
                .Text(" (" + source + ")"));
    if (m.PotentialUnit != "V")
        w.Print(PrintLine("Potential converted from " + m.PotentialUnit + " to V"));
    if (m.CurrentUnit != "A")
        w.Print(PrintLine("Current converted from " + m.CurrentUnit + " to A"));
    w.Print(PrintLine(choice.FileSign ? "Current sign as in the file (anodic positive)"
                                      : "Current sign turned: reduction current positive"));
    w.Print(PrintLine("Number of data point = ").Zone().Num(n));
    w.Print(PrintLine("E step = ").Zone().Num(r.Estep));
    if (rate > 0)
        w.Print(PrintLine("Scan rate (V/s) = ").Zone().Num(rate));
    else
        w.Print(PrintLine("Scan rate not in the file: the sheet's v is kept"));
    if (m.VsOpenCircuit)
        w.Print(
            PrintLine("Warning: the file's potentials are relative to the open-circuit potential"));
    if (r.ScanMode < 0) w.Print(PrintLine("Warning: the cycles follow no scan mode of the sheet"));

    wb.Input.SetText("Estart", GeneralNumber(r.Estart));
    wb.Input.SetText("Eend", GeneralNumber(r.Eend));
    wb.Input.SetText("Estep", GeneralNumber(r.Estep));
    if (r.ScanMode >= 0) wb.Input.SetListIndex("ComboScan", r.ScanMode);
    if (rate > 0) wb.Input.SetText("V", GeneralNumber(rate));
}

}  // namespace zemra
