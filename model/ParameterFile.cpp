#include "model/ParameterFile.h"

#include <cmath>

#include "platform/NumberText.h"

namespace zemra {
namespace {

std::string ValueLine(const Real& v) {
    return v.IsSet ? PrintedNumber(v.Value) : "";
}
std::string ValueLine(const Whole& v) {
    return v.IsSet ? PrintedNumber(v.Value) : "";
}

template <typename Field>
void Item(std::string& out, const char* label, const Field& value) {
    out += label;
    out += "\r\n";
    out += ValueLine(value);
    out += "\r\n";
}

}  // namespace

std::string ParameterFileText(const ParameterModel& m, const Whole& noOfData) {
    std::string out;
    Item(out, "Technique :", m.Technique);
    Item(out, "Mechisim :", m.Mechanism);
    Item(out, "Electorde", m.Electrode);
    Item(out, "E start :", m.Estart);
    Item(out, "E end :", m.Eend);
    Item(out, "E Step :", m.Estep);
    Item(out, "t pulse :", m.tpulse);
    Item(out, "t drop :", m.tdrop);
    Item(out, "Area Of Electrode :", m.Area);
    Item(out, "E pulse :", m.Epulse);
    Item(out, "Noise (%) :", m.Noise);
    Item(out, "No. OF DATA :", noOfData);
    Item(out, "NUMBER OF SPECIES :", m.NumberOfSpecies);
    // The reaction tables are indexed by the species number here, so species 4 carries the
    // never-set fourth entries of ks, alpha, n and E°'.
    const int species = m.NumberOfSpecies;
    for (int s = 1; s <= species && s <= 5; ++s) {
        Item(out, "Species ", Whole(s));
        Item(out, "D :", m.D[s]);
        Item(out, "C :", m.C[s]);
        Item(out, "ks :", m.ks[s]);
        Item(out, "Alpha :", m.Alpha[s]);
        Item(out, "n :", m.n[s]);
        Item(out, "E' :", m.Eformal[s]);
        Item(out, "Conductivity :", m.Cond[s]);
    }
    return out;
}

}  // namespace zemra

namespace zemra {
namespace {

// The file's lines, each without its line end; a last line without one counts too.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

struct Reader {
    const std::vector<std::string>& lines;
    size_t next = 0;  // index of the next line to read
    std::optional<ParameterFileError> fault;

    bool Fail(size_t index, std::string reason) {
        if (!fault) fault = ParameterFileError{static_cast<int>(index + 1), std::move(reason)};
        return false;
    }
    // One item: the label line exactly as written, then a value line that is empty or a number.
    // Whole items must be whole numbers from lo to hi.
    bool Item(const char* label, std::string& value, bool whole = false, int lo = 0, int hi = 0) {
        if (fault) return false;
        if (next >= lines.size()) return Fail(next, std::string("\"") + label + "\" is missing");
        if (lines[next] != label)
            return Fail(next, std::string("\"") + label + "\" expected, not a parameter file");
        if (next + 1 >= lines.size()) return Fail(next + 1, "the value is missing");
        const size_t at = next + 1;
        next += 2;
        const std::string& raw = lines[at];
        const size_t first = raw.find_first_not_of(' ');
        value = first == std::string::npos
                    ? ""
                    : raw.substr(first, raw.find_last_not_of(' ') - first + 1);
        if (value.empty()) return true;
        const std::optional<double> v = StrictNumber(value);
        if (!v || !std::isfinite(*v)) return Fail(at, "\"" + value + "\" is not a number");
        if (whole && (*v != std::trunc(*v) || *v < lo || *v > hi))
            return Fail(at, std::string(label) + " must be a whole number from " +
                                std::to_string(lo) + " to " + std::to_string(hi));
        return true;
    }
};

}  // namespace

std::optional<ParameterFileError> ReadParameterFileText(const std::string& text,
                                                        ParameterFileValues& out) {
    const std::vector<std::string> lines = SplitLines(text);
    Reader r{lines, 0, std::nullopt};
    ParameterFileValues v;
    std::string species;
    r.Item("Technique :", v.Technique, true, 1, 5);
    r.Item("Mechisim :", v.Mechanism, true, 1, 17);
    r.Item("Electorde", v.Electrode, true, 1, 8);
    r.Item("E start :", v.Estart);
    r.Item("E end :", v.Eend);
    r.Item("E Step :", v.Estep);
    r.Item("t pulse :", v.tpulse);
    r.Item("t drop :", v.tdrop);
    r.Item("Area Of Electrode :", v.Area);
    r.Item("E pulse :", v.Epulse);
    r.Item("Noise (%) :", v.Noise);
    r.Item("No. OF DATA :", v.NoOfData, true, 0, kMaxPoints);
    r.Item("NUMBER OF SPECIES :", species, true, 0, 4);
    const int count = species.empty() ? 0 : static_cast<int>(Val(species));
    for (int s = 1; s <= count && !r.fault; ++s) {
        ParameterFileSpecies b;
        std::string number;
        const size_t numberLine = r.next + 1;
        r.Item("Species ", number, true, 1, 4);
        if (!r.fault && number != std::to_string(s))
            r.Fail(numberLine, "species " + std::to_string(s) + " expected");
        r.Item("D :", b.D);
        r.Item("C :", b.C);
        r.Item("ks :", b.ks);
        r.Item("Alpha :", b.Alpha);
        r.Item("n :", b.n, true, 1, 3);
        r.Item("E' :", b.Eformal);
        r.Item("Conductivity :", b.Cond);
        v.Species.push_back(b);
    }
    if (!r.fault && r.next < lines.size()) r.Fail(r.next, "text after the last species");
    if (r.fault) return r.fault;
    out = std::move(v);
    return std::nullopt;
}

}  // namespace zemra
