#include "curves/InstrumentFormats.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>

#include "platform/NumberText.h"
#include "platform/RuntimeError.h"

namespace zemra {
namespace {

// ---- Encodings ----------------------------------------------------------------------------

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string FromUtf16(std::string_view b, bool bigEndian) {
    std::string out;
    out.reserve(b.size() / 2);
    const auto unit = [&](size_t i) {
        const auto hi = static_cast<unsigned char>(b[bigEndian ? i : i + 1]);
        const auto lo = static_cast<unsigned char>(b[bigEndian ? i + 1 : i]);
        return static_cast<uint32_t>(hi << 8 | lo);
    };
    // An odd last byte is half a code unit: it is dropped.
    for (size_t i = 0; i + 1 < b.size(); i += 2) {
        uint32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < b.size()) {
            const uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (u >= 0xD800 && u < 0xE000) u = 0xFFFD;  // a lone surrogate
        // A NUL inside UTF-16 text is no text either.
        if (u == 0) Raise(kNotTextExport);
        AppendUtf8(out, u);
    }
    return out;
}

bool IsValidUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        const size_t extra = (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 0;
        if (extra == 0 || c < 0xC2 || i + extra >= s.size()) return false;
        for (size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

// A control character that no text export holds (tab, line ends, form feed and the old
// end-of-file mark Ctrl-Z are text).
bool IsBinaryByte(unsigned char c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1A) || c == 0x7F;
}

// ---- Lines and fields ---------------------------------------------------------------------

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string cur;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            lines.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

std::string Trim(std::string_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '"')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '"')) --e;
    return std::string(s.substr(b, e - b));
}

std::vector<std::string> Split(const std::string& line, char sep) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t at = line.find(sep, start);
        fields.push_back(Trim(std::string_view(line).substr(start, at - start)));
        if (at == std::string::npos) break;
        start = at + 1;
    }
    return fields;
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// A field as a number; with a decimal comma every comma is the decimal separator.
std::optional<double> Number(std::string field, bool decimalComma) {
    if (decimalComma) std::replace(field.begin(), field.end(), ',', '.');
    if (field.empty()) return std::nullopt;
    return StrictNumber(field);
}

bool AllNumbers(const std::vector<std::string>& fields, bool decimalComma) {
    for (const auto& f : fields)
        if (!Number(f, decimalComma)) return false;
    return !fields.empty();
}

// The first line quoted in a message: at most 80 characters, cut between characters.
std::string Quoted(const std::string& line) {
    size_t chars = 0, i = 0;
    while (i < line.size() && chars < 80) {
        ++i;
        while (i < line.size() && (static_cast<unsigned char>(line[i]) & 0xC0) == 0x80) ++i;
        ++chars;
    }
    return line.substr(0, i);
}

[[noreturn]] void UnknownLayout(const std::vector<std::string>& lines) {
    std::string first;
    for (const auto& l : lines)
        if (!Trim(l).empty()) {
            first = Trim(l);
            break;
        }
    Raise("unknown data file layout, first line: \"" + Quoted(first) + "\"");
}

[[noreturn]] void BadLine(size_t index, const char* what) {
    Raise(std::string(what) + " in line " + std::to_string(index + 1));
}

// The unit of a column title: inside the last "(...)" or "[...]", else after the last "/".
std::string TitleUnit(const std::string& title) {
    for (const auto& [open, close] : {std::pair{'(', ')'}, std::pair{'[', ']'}}) {
        const size_t o = title.rfind(open), c = title.rfind(close);
        if (o != std::string::npos && c != std::string::npos && c > o)
            return Trim(title.substr(o + 1, c - o - 1));
    }
    const size_t slash = title.rfind('/');
    return slash == std::string::npos ? "" : Trim(title.substr(slash + 1));
}

// What a column holds, from its title: 'E' potential, 'I' current, 'T' time, 'S' scan or cycle
// counter, 0 anything else.
char ColumnKind(const std::string& title) {
    const std::string t = Lower(Trim(title));
    const auto after = [&](size_t n) {
        return t.size() == n || std::string(" /([_").find(t[n]) != std::string::npos;
    };
    if (t.find("current") != std::string::npos || StartsWith(t, "<i>") ||
        (StartsWith(t, "i") && (after(1) || (t.size() > 1 && t[1] == '1'))) || t == "im")
        return 'I';
    if (t.find("potential") != std::string::npos || t.find("voltage") != std::string::npos ||
        StartsWith(t, "ewe") || StartsWith(t, "<ewe>") || (StartsWith(t, "e") && after(1)) ||
        t == "vf")
        return 'E';
    if (t.find("time") != std::string::npos || (StartsWith(t, "t") && after(1))) return 'T';
    if (t == "scan" || StartsWith(t, "cycle")) return 'S';
    return 0;
}

// The columns of a table and the factors into V, A and s.
struct Columns {
    int E = -1, I = -1, T = -1, S = -1;
    double EFactor = 1, IFactor = 1;
};

// Picks the columns of a title row: the first of each kind, except that a NOVA file's applied
// potential is preferred to the measured WE(1) potential.
Columns PickColumns(const std::vector<std::string>& titles, MeasuredCurve& curve) {
    Columns c;
    for (int k = 0; k < static_cast<int>(titles.size()); ++k) {
        const char kind = ColumnKind(titles[static_cast<size_t>(k)]);
        // The staircase the sheet simulates is the applied potential.
        if (kind == 'E' &&
            Lower(titles[static_cast<size_t>(k)]).find("applied") != std::string::npos)
            c.E = k;
        int* slot = kind == 'E'   ? &c.E
                    : kind == 'I' ? &c.I
                    : kind == 'T' ? &c.T
                    : kind == 'S' ? &c.S
                                  : nullptr;
        if (slot && *slot < 0) *slot = k;
    }
    if (c.E >= 0) {
        const std::string u = TitleUnit(titles[static_cast<size_t>(c.E)]);
        if (const double f = UnitFactor(u, 'V'); f > 0) {
            c.EFactor = f;
            curve.PotentialUnit = u;
        }
    }
    if (c.I >= 0) {
        const std::string u = TitleUnit(titles[static_cast<size_t>(c.I)]);
        if (const double f = UnitFactor(u, 'A'); f > 0) {
            c.IFactor = f;
            curve.CurrentUnit = u;
        }
    }
    // A time column in other units than seconds is left out rather than guessed.
    if (c.T >= 0) {
        const std::string u = Lower(TitleUnit(titles[static_cast<size_t>(c.T)]));
        if (!u.empty() && u != "s" && u != "sec") c.T = -1;
    }
    return c;
}

// Reads one data row into the curve; raises for a row short of a needed column or a field that
// is no number.
void AddRow(const std::vector<std::string>& f, const Columns& c, bool decimalComma, size_t line,
            MeasuredCurve& curve) {
    const int need = std::max({c.E, c.I, c.T, c.S});
    if (static_cast<int>(f.size()) <= need) BadLine(line, "truncated row");
    const auto num = [&](int k) {
        const auto v = Number(f[static_cast<size_t>(k)], decimalComma);
        if (!v) BadLine(line, kTypeMismatch);
        return *v;
    };
    curve.E.push_back(num(c.E) * c.EFactor);
    curve.I.push_back(num(c.I) * c.IFactor);
    if (c.T >= 0) curve.T.push_back(num(c.T));
    if (c.S >= 0) curve.Marker.push_back(static_cast<int>(std::clamp(num(c.S), -1e9, 1e9)));
}

// Rows of one separator after a title row, up to the end of the text (blank lines skipped).
void ReadRows(const std::vector<std::string>& lines, size_t from, char sep, bool decimalComma,
              const Columns& c, MeasuredCurve& curve) {
    if (c.E < 0 || c.I < 0) UnknownLayout(lines);
    for (size_t k = from; k < lines.size(); ++k) {
        if (Trim(lines[k]).empty()) continue;
        AddRow(Split(lines[k], sep), c, decimalComma, k, curve);
    }
}

// The number after "=" or after the key and blanks in a header line, or nullopt.
std::optional<double> HeaderValue(const std::string& line, size_t keyLength, bool decimalComma) {
    std::string rest = line.substr(std::min(keyLength, line.size()));
    const size_t eq = rest.find('=');
    if (eq != std::string::npos) rest = rest.substr(eq + 1);
    std::string head = Trim(rest);
    const size_t cut = head.find_first_of(" \t");
    return Number(head.substr(0, cut), decimalComma);
}

// ---- CH Instruments -----------------------------------------------------------------------

// The title line, found by its content: the header before it varies in length.
std::optional<size_t> ChiTitle(const std::vector<std::string>& lines) {
    bool header = false;
    for (size_t k = 0; k < lines.size() && k < 400; ++k) {
        const std::string t = Lower(Trim(lines[k]));
        if (header && StartsWith(t, "potential/") &&
            (t.find("current/") != std::string::npos || t.find("i1/") != std::string::npos))
            return k;
        if (t.find(" = ") != std::string::npos) header = true;
    }
    return std::nullopt;
}

void ReadChi(const std::vector<std::string>& lines, size_t title, MeasuredCurve& curve) {
    curve.Format = "CH Instruments text export";
    for (size_t k = 0; k < title; ++k)
        if (StartsWith(Lower(Trim(lines[k])), "scan rate (v/s)"))
            if (const auto v = HeaderValue(lines[k], 15, false)) curve.ScanRate = *v;
    const char sep = lines[title].find('\t') != std::string::npos ? '\t' : ',';
    const Columns c = PickColumns(Split(lines[title], sep), curve);
    ReadRows(lines, title + 1, sep, false, c, curve);
}

// ---- BioLogic EC-Lab ----------------------------------------------------------------------

void ReadEcLab(const std::vector<std::string>& lines, MeasuredCurve& curve) {
    curve.Format = "BioLogic EC-Lab ASCII";
    size_t titleLine = 0;
    for (size_t k = 1; k < lines.size() && k < 10; ++k)
        if (StartsWith(Lower(lines[k]), "nb header lines")) {
            const auto n = HeaderValue(lines[k], lines[k].find(':') + 1, false);
            if (!n || *n < 3 || *n > static_cast<double>(lines.size()) ||
                *n != static_cast<int>(*n))
                BadLine(k, "EC-Lab header line count unreadable");
            titleLine = static_cast<size_t>(*n) - 1;
        }
    if (titleLine == 0) BadLine(1, "EC-Lab header line count missing");
    std::vector<std::string> titles = Split(lines[titleLine], '\t');
    Columns c;
    for (int k = 0; k < static_cast<int>(titles.size()); ++k) {
        const std::string t = Lower(titles[static_cast<size_t>(k)]);
        if ((StartsWith(t, "ewe/") || StartsWith(t, "<ewe>/")) && c.E < 0) c.E = k;
        if ((StartsWith(t, "<i>/") || StartsWith(t, "i/")) && c.I < 0) c.I = k;
        if (t == "cycle number") c.S = k;
        if (t == "time/s") c.T = k;
    }
    if (c.E < 0 || c.I < 0) BadLine(titleLine, "no Ewe or I column");
    curve.PotentialUnit = TitleUnit(titles[static_cast<size_t>(c.E)]);
    curve.CurrentUnit = TitleUnit(titles[static_cast<size_t>(c.I)]);
    c.EFactor = UnitFactor(curve.PotentialUnit, 'V');
    c.IFactor = UnitFactor(curve.CurrentUnit, 'A');
    if (c.EFactor <= 0 || c.IFactor <= 0) BadLine(titleLine, "unknown unit");
    if (c.S >= 0) curve.MarkerName = "cycle number";
    // A header in a decimal-comma locale writes its values with commas too.
    double rate = 0, rateFactor = 1e-3;
    for (size_t k = 0; k < titleLine; ++k) {
        const std::string t = Lower(lines[k]);
        if (t.find("vs.") != std::string::npos && t.find("eoc") != std::string::npos)
            curve.VsOpenCircuit = true;
        if (StartsWith(t, "de/dt unit")) {
            rateFactor = t.find("mv/s") != std::string::npos  ? 1e-3
                         : t.find("v/s") != std::string::npos ? 1
                                                              : rateFactor;
        } else if (StartsWith(t, "de/dt")) {
            if (const auto v = HeaderValue(lines[k], 5, true)) rate = *v;
        }
    }
    curve.ScanRate = rate * rateFactor;
    for (size_t k = titleLine + 1; k < lines.size(); ++k) {
        if (Trim(lines[k]).empty()) continue;
        if (lines[k].find(',') != std::string::npos) curve.DecimalComma = true;
        AddRow(Split(lines[k], '\t'), c, true, k, curve);
    }
}

// ---- Gamry Framework ----------------------------------------------------------------------

void ReadGamry(const std::vector<std::string>& lines, MeasuredCurve& curve) {
    curve.Format = "Gamry Framework DTA";
    curve.MarkerName = "CURVE";
    for (size_t k = 1; k < lines.size(); ++k) {
        const std::vector<std::string> f = Split(lines[k], '\t');
        if (f.empty()) continue;
        if (f[0] == "EXPERIMENTABORTED") break;
        if (f.size() >= 3 && f[0] == "SCANRATE") {
            const auto v = Number(f[2], true);
            const bool perVolt = f.size() >= 4 && f[3].find("(V/s)") != std::string::npos;
            // Gamry states the scan rate in mV/s unless the label says V/s.
            if (v) curve.ScanRate = *v * (perVolt ? 1 : 1e-3);
        }
        if (f.size() >= 4 && f[0] == "VINIT" && f[3] == "T") curve.VsOpenCircuit = true;
        if (f.size() < 2 || f[1] != "TABLE") continue;
        const bool voltammogram =
            StartsWith(f[0], "CURVE") && std::all_of(f[0].begin() + 5, f[0].end(), [](char ch) {
                return std::isdigit(static_cast<unsigned char>(ch));
            });
        if (!voltammogram) continue;  // OCVCURVE, WE2CURVE and the like are other tables
        const int number =
            f[0].size() > 5 ? std::clamp(std::atoi(f[0].c_str() + 5), 0, 1000000) : 1;
        if (k + 2 >= lines.size()) BadLine(k, "table without its title rows");
        const std::vector<std::string> names = Split(lines[k + 1], '\t');
        const std::vector<std::string> units = Split(lines[k + 2], '\t');
        Columns c;
        for (int j = 0; j < static_cast<int>(names.size()); ++j) {
            if (names[static_cast<size_t>(j)] == "Vf") c.E = j;
            if (names[static_cast<size_t>(j)] == "Im") c.I = j;
            if (names[static_cast<size_t>(j)] == "T") c.T = j;
        }
        if (c.E < 0 || c.I < 0) BadLine(k + 1, "no Vf or Im column");
        const auto unit = [&](int j, char kind, std::string& name) {
            std::string u = j < static_cast<int>(units.size()) ? units[static_cast<size_t>(j)] : "";
            u = u.substr(0, u.find(' '));
            const double factor = u.empty() ? 1 : UnitFactor(u, kind);
            if (factor <= 0) BadLine(k + 2, "unknown unit");
            if (!u.empty()) name = u;
            return factor;
        };
        c.EFactor = unit(c.E, 'V', curve.PotentialUnit);
        c.IFactor = unit(c.I, 'A', curve.CurrentUnit);
        size_t r = k + 3;
        for (; r < lines.size() && !lines[r].empty() && lines[r][0] == '\t'; ++r) {
            if (lines[r].find(',') != std::string::npos) curve.DecimalComma = true;
            AddRow(Split(lines[r], '\t'), c, true, r, curve);
            curve.Marker.push_back(number);
        }
        k = r - 1;
    }
}

// ---- Metrohm Autolab NOVA -----------------------------------------------------------------

char SeparatorOf(const std::string& line) {
    return line.find(';') != std::string::npos    ? ';'
           : line.find('\t') != std::string::npos ? '\t'
                                                  : ',';
}

void ReadNova(const std::vector<std::string>& lines, size_t title, MeasuredCurve& curve) {
    curve.Format = "Metrohm Autolab NOVA ASCII";
    const char sep = SeparatorOf(lines[title]);
    const Columns c = PickColumns(Split(lines[title], sep), curve);
    if (c.S >= 0) curve.MarkerName = "Scan";
    ReadRows(lines, title + 1, sep, sep != ',', c, curve);
    curve.DecimalComma = sep != ',';
}

// ---- PalmSens PSTrace ---------------------------------------------------------------------

void ReadPalmSens(const std::vector<std::string>& lines, MeasuredCurve& curve) {
    curve.Format = "PalmSens PSTrace CSV";
    curve.MarkerName = "column pair";
    // The unit row (V, µA, V, µA, ...) starts the table of column pairs.
    size_t unitRow = lines.size();
    char sep = ',';
    for (size_t k = 0; k < lines.size() && k < 100; ++k) {
        sep = SeparatorOf(lines[k]);
        const std::vector<std::string> f = Split(lines[k], sep);
        if (f.size() >= 2 && UnitFactor(f[0], 'V') > 0 && UnitFactor(f[1], 'A') > 0) {
            unitRow = k;
            break;
        }
    }
    if (unitRow == lines.size()) UnknownLayout(lines);
    const std::vector<std::string> units = Split(lines[unitRow], sep);
    const size_t pairs = units.size() / 2;
    curve.PotentialUnit = units[0];
    curve.CurrentUnit = units[1];
    std::vector<MeasuredCurve> scans(pairs);
    const bool comma = sep != ',';
    for (size_t k = unitRow + 1; k < lines.size(); ++k) {
        if (Trim(lines[k]).empty()) break;  // the table ends at its first blank line
        const std::vector<std::string> f = Split(lines[k], sep);
        for (size_t p = 0; p < pairs; ++p) {
            const std::string e = 2 * p < f.size() ? f[2 * p] : "",
                              i = 2 * p + 1 < f.size() ? f[2 * p + 1] : "";
            if (e.empty() && i.empty()) continue;  // this scan has ended
            Columns c;
            c.E = 0;
            c.I = 1;
            c.EFactor = UnitFactor(units[2 * p], 'V');
            c.IFactor = UnitFactor(units[2 * p + 1], 'A');
            if (c.EFactor <= 0 || c.IFactor <= 0) BadLine(unitRow, "unknown unit");
            AddRow({e, i}, c, comma, k, scans[p]);
        }
    }
    for (size_t p = 0; p < pairs; ++p) {
        curve.E.insert(curve.E.end(), scans[p].E.begin(), scans[p].E.end());
        curve.I.insert(curve.I.end(), scans[p].I.begin(), scans[p].I.end());
        curve.Marker.insert(curve.Marker.end(), scans[p].E.size(), static_cast<int>(p) + 1);
    }
}

// ---- Delimited numbers --------------------------------------------------------------------

bool HasLetter(const std::string& s) {
    return std::any_of(s.begin(), s.end(), [](char ch) {
        const auto u = static_cast<unsigned char>(ch);
        return std::isalpha(u) || u >= 0x80;
    });
}

// True when the first column of the first 20 rows from line `first` increases throughout.
bool FirstColumnIncreases(const std::vector<std::string>& lines, size_t first, char sep,
                          bool decimalComma) {
    std::vector<double> v;
    for (size_t k = first; k < lines.size() && v.size() < 20; ++k) {
        if (Trim(lines[k]).empty()) continue;
        const auto x = Number(Split(lines[k], sep)[0], decimalComma);
        if (!x) break;
        if (!v.empty() && !(*x > v.back())) return false;
        v.push_back(*x);
    }
    return v.size() >= 2;
}

// How delimited numbers are laid out, from the first non-blank line and the first column of the
// rows after it.
enum class Delimited { Plain, Titled, Headerless };

Delimited DelimitedLayout(const std::vector<std::string>& lines, size_t first) {
    if (first == lines.size()) return Delimited::Plain;  // empty: the program's own reader
    const std::string& head = lines[first];
    const char sep = SeparatorOf(head);
    const bool comma = sep != ',';
    const std::vector<std::string> f = Split(head, sep);
    // A line that is not all numbers is a title line only when it names its columns; anything
    // else is left to the program's own reader and its "Type mismatch".
    if (!AllNumbers(f, comma)) return HasLetter(head) ? Delimited::Titled : Delimited::Plain;
    if (sep != ',') return Delimited::Headerless;
    if (f.size() != 3) return Delimited::Plain;  // the program's own comma pairs
    // Three comma columns with a monotonic first column are t, E, I.
    return FirstColumnIncreases(lines, first, sep, false) ? Delimited::Headerless
                                                          : Delimited::Plain;
}

void ReadDelimited(const std::vector<std::string>& lines, size_t first, Delimited layout,
                   MeasuredCurve& curve) {
    const char sep = SeparatorOf(lines[first]);
    const bool comma = sep != ',';
    const std::vector<std::string> f = Split(lines[first], sep);
    curve.Format = "delimited text";
    curve.DecimalComma = comma;
    if (f.size() < 2) UnknownLayout(lines);
    Columns c;
    if (layout == Delimited::Titled) {
        c = PickColumns(f, curve);
        if (c.E >= 0 && c.I >= 0) return ReadRows(lines, first + 1, sep, comma, c, curve);
        // Titles that name no potential and current: the columns are taken by position, when
        // numbers follow.
        size_t next = first + 1;
        while (next < lines.size() && Trim(lines[next]).empty()) ++next;
        if (next == lines.size() || !AllNumbers(Split(lines[next], sep), comma))
            UnknownLayout(lines);
        ++first;
    }
    // Three columns or more: t, E, I when the first increases throughout, else E and I first.
    const bool timed = f.size() >= 3 && FirstColumnIncreases(lines, first, sep, comma);
    c = Columns{};
    c.T = timed ? 0 : -1;
    c.E = timed ? 1 : 0;
    c.I = c.E + 1;
    ReadRows(lines, first, sep, comma, c, curve);
}

enum class Layout { Plain, EcLab, Gamry, PalmSens, Nova, Chi, Delimited };

Layout Recognize(const std::vector<std::string>& lines, size_t first) {
    if (first == lines.size()) return Layout::Plain;
    const std::string head = Trim(lines[first]);
    if (StartsWith(head, "EC-Lab ASCII FILE")) return Layout::EcLab;
    if (head == "EXPLAIN") return Layout::Gamry;
    for (size_t k = first; k < lines.size() && k < first + 20; ++k)
        if (StartsWith(Trim(lines[k]), "Date and time measurement:")) return Layout::PalmSens;
    if (head.find("WE(1).") != std::string::npos ||
        head.find("Potential applied") != std::string::npos)
        return Layout::Nova;
    if (ChiTitle(lines)) return Layout::Chi;
    return DelimitedLayout(lines, first) == Delimited::Plain ? Layout::Plain : Layout::Delimited;
}

size_t FirstNonBlank(const std::vector<std::string>& lines) {
    size_t first = 0;
    while (first < lines.size() && Trim(lines[first]).empty()) ++first;
    return first;
}

}  // namespace

std::string DecodeText(std::string_view bytes, std::string* encoding) {
    const auto set = [&](const char* name) {
        if (encoding) *encoding = name;
    };
    if (StartsWith(bytes, "\xEF\xBB\xBF"))
        bytes.remove_prefix(3), set("UTF-8");
    else if (StartsWith(bytes, "\xFF\xFE"))
        return set("UTF-16LE"), FromUtf16(bytes.substr(2), false);
    else if (StartsWith(bytes, "\xFE\xFF"))
        return set("UTF-16BE"), FromUtf16(bytes.substr(2), true);
    else
        set("UTF-8");
    for (const char c : bytes)
        if (IsBinaryByte(static_cast<unsigned char>(c))) Raise(kNotTextExport);
    if (IsValidUtf8(bytes)) return std::string(bytes);
    set("Latin-1");
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) AppendUtf8(out, static_cast<unsigned char>(c));
    return out;
}

double UnitFactor(std::string_view unit, char kind) {
    const std::string u = Trim(unit);
    const std::string base(1, kind);
    if (u == base) return 1;
    if (u.size() < 2 || u.substr(u.size() - 1) != base) return 0;
    const std::string prefix = u.substr(0, u.size() - 1);
    if (prefix == "m") return 1e-3;
    // Micro as the micro sign, the Greek mu or a plain u.
    if (prefix == "\xC2\xB5" || prefix == "\xCE\xBC" || prefix == "u") return 1e-6;
    if (prefix == "n" && kind == 'A') return 1e-9;
    if (prefix == "p" && kind == 'A') return 1e-12;
    return 0;
}

bool IsPlainLayout(const std::string& text) {
    const std::vector<std::string> lines = SplitLines(text);
    return Recognize(lines, FirstNonBlank(lines)) == Layout::Plain;
}

bool ReadInstrumentText(const std::string& text, MeasuredCurve& curve) {
    const std::vector<std::string> lines = SplitLines(text);
    const size_t first = FirstNonBlank(lines);
    switch (Recognize(lines, first)) {
        case Layout::Plain:
            return false;
        case Layout::EcLab:
            ReadEcLab(lines, curve);
            break;
        case Layout::Gamry:
            ReadGamry(lines, curve);
            break;
        case Layout::PalmSens:
            ReadPalmSens(lines, curve);
            break;
        case Layout::Nova:
            ReadNova(lines, first, curve);
            break;
        case Layout::Chi:
            ReadChi(lines, *ChiTitle(lines), curve);
            break;
        case Layout::Delimited:
            ReadDelimited(lines, first, DelimitedLayout(lines, first), curve);
            break;
    }
    if (curve.E.empty()) UnknownLayout(lines);
    return true;
}

}  // namespace zemra
