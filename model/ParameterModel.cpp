#include "model/ParameterModel.h"

namespace zemra {

const std::array<const char*, 5> kTechniqueCaptions = {
    "1)  Linear sweep and cyclic voltammetry", "2)  DC voltammetry", "3)  Normal pulse voltammetry",
    "4)  Differential pulse voltammetry", "5)  Square wave voltammetry"};

// Caption, tool tip, species, charge transfers, homogeneous reactions, how the charge transfers
// are linked, row captions, closed form available.
// clang-format off
const std::array<MechanismInfo, 17> kMechanisms = {{
    {"1)  A + ne = B", "simple charge reaction", 2, 1, 0, ChargeChain::Single,
     {"A+ne=B", "", ""}, {"", ""}, true},
    {"2)  A + ne = B, B + ne = C", "2-step charge reaction", 3, 2, 0, ChargeChain::Consecutive,
     {"A+ne=B", "B+ne=C", ""}, {"", ""}, false},
    {"3)  A + ne = B, B + ne = C, C + ne = D", "3-step charge reaction", 4, 3, 0, ChargeChain::Consecutive,
     {"A+ne=B", "B+ne=C", "C+ne=D"}, {"", ""}, false},
    {"4)  A + ne = B, C + ne = D", "multicompoment charge reaction", 4, 2, 0, ChargeChain::TwoCouples,
     {"A+ne=B", "C+ne=D", ""}, {"", ""}, true},
    {"5)  C = A, A + ne = B", "preceding (CE) reaction", 3, 1, 1, ChargeChain::Single,
     {"A+ne=B", "", ""}, {"C=A", ""}, false},
    {"6)  C = A, A + ne = B, B = D", "preceding and following (CEC) reaction", 4, 1, 2, ChargeChain::Single,
     {"A+ne=B", "", ""}, {"C=A", "B=D"}, false},
    {"7)  A + ne = B, B = C", "following (EC) reaction", 3, 1, 1, ChargeChain::Single,
     {"A+ne=B", "", ""}, {"B=C", ""}, false},
    {"8)  A + ne = B, 2B = C", "second order following (EC2) reaction", 3, 1, 1, ChargeChain::Single,
     {"A+ne=B", "", ""}, {"2B=C", ""}, false},
    {"9)  A + ne = B, B = A", "catalytic (EC') reaction", 2, 1, 1, ChargeChain::Single,
     {"A+ne=B", "", ""}, {"B=A", ""}, true},
    {"10)  A + ne = B, 2B = A", "second order catalytic (EC'2) reaction", 2, 1, 1, ChargeChain::Single,
     {"A+ne=B", "", ""}, {"2B=A", ""}, false},
    {"11)  A + ne = B, B = C, C + ne = D", "ECE reaction", 4, 2, 1, ChargeChain::TwoCouples,
     {"A+ne=B", "C+ne=D", ""}, {"B=C", ""}, false},
    {"12)  A + ne = B, B = D, C + ne = D", "", 4, 2, 1, ChargeChain::TwoCouples,
     {"A+ne=B", "C+ne=D", ""}, {"B=D", ""}, false},
    {"13)  A + ne = B, B = D, C + ne = D, C = A", "square reaction", 4, 2, 2, ChargeChain::TwoCouples,
     {"A+ne=B", "C+ne=D", ""}, {"B=D", "C=A"}, false},
    {"14)  A + ne = B, B + ne = C, C = D", "EEC reaction", 4, 2, 1, ChargeChain::Consecutive,
     {"A+ne=B", "B+ne=C", ""}, {"C=D", ""}, false},
    {"15)  A + ne = B, B + ne = C, B = D", "", 4, 2, 1, ChargeChain::Consecutive,
     {"A+ne=B", "B+ne=C", ""}, {"B=D", ""}, false},
    {"16)  A + ne = B, B + C = A + D", "catalytic (EC') reaction", 4, 1, 1, ChargeChain::Single,
     {"A+ne=B", "", ""}, {"B+C=A+D", ""}, false},
    {"17)  C = A + pD, A + ne = B", "complex reaction", 4, 1, 1, ChargeChain::Single,
     {"A+ne=B", "", ""}, {"C=A+pD", ""}, false},
}};
// clang-format on

TechElectrode DecodeTechElectrode(int code) {
    TechElectrode te;
    const int technique = code / 10, electrode = code % 10;
    if (code > 0 && technique >= 1 && technique <= 5) te.Technique = TechniqueKind(technique);
    if (code > 0 && electrode >= 1 && electrode <= 8) te.Geometry = GeometryKind(electrode);
    return te;
}

const MechanismInfo& MechanismOf(int mechanism) {
    static const MechanismInfo kNone = {"",           "",       0,    0, 0, ChargeChain::Single,
                                        {"", "", ""}, {"", ""}, false};
    return mechanism >= 1 && mechanism <= 17 ? kMechanisms[static_cast<size_t>(mechanism - 1)]
                                             : kNone;
}

const std::array<const char*, 8> kElectrodeCaptions = {
    "1)  Planar",    "2)  (Micro)Spherical",   "3)  (Micro)Hemispherical",
    "4)  Microdisc", "5)  (Micro)Cylindrical", "6)  (Micro)Hemicylindrical",
    "7)  Thin film", "8)  Rotating disk"};

const std::array<YQuantityInfo, 4> kYQuantities = {{{"current I", "I /A"},
                                                    {"resistance R", "R /Ohm"},
                                                    {"conductance Cond", "Cond /1/Ohm"},
                                                    {"surface concentration C", "C /M"}}};

const char* YQuantityCaption(YQuantity q) {
    return kYQuantities[static_cast<size_t>(q)].Caption;
}

std::optional<YQuantity> YQuantityOf(const std::string& caption) {
    for (size_t k = 0; k < kYQuantities.size(); ++k)
        if (caption == kYQuantities[k].Caption) return YQuantity(k);
    return std::nullopt;
}

const std::array<const char*, 3> kScanModes = {"single", "cycle", "2 cycles"};
const std::array<double, 3> kScanCycles = {0.5, 1.0, 2.0};

}  // namespace zemra
