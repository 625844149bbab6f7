#include "model/ParameterFile.h"

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
