#include "model/ParameterModel.h"

namespace zemra {

const std::array<const char*, 5> kTechniqueCaptions = {
    "1)  Linear sweep and cyclic voltammetry", "2)  DC voltammetry", "3)  Normal pulse voltammetry",
    "4)  Differential pulse voltammetry", "5)  Square wave voltammetry"};

const std::array<MechanismInfo, 17> kMechanisms = {{
    {"1)  A + ne = B", "simple charge reaction", 2, 1, 0},
    {"2)  A + ne = B, B + ne = C", "2-step charge reaction", 3, 2, 0},
    {"3)  A + ne = B, B + ne = C, C + ne = D", "3-step charge reaction", 4, 3, 0},
    {"4)  A + ne = B, C + ne = D", "multicompoment charge reaction", 4, 2, 0},
    {"5)  C = A, A + ne = B", "preceding (CE) reaction", 3, 1, 1},
    {"6)  C = A, A + ne = B, B = D", "preceding and following (CEC) reaction", 4, 1, 2},
    {"7)  A + ne = B, B = C", "following (EC) reaction", 3, 1, 1},
    {"8)  A + ne = B, 2B = C", "second order following (EC2) reaction", 3, 1, 1},
    {"9)  A + ne = B, B = A", "catalytic (EC') reaction", 2, 1, 1},
    {"10)  A + ne = B, 2B = A", "second order catalytic (EC'2) reaction", 2, 1, 1},
    {"11)  A + ne = B, B = C, C + ne = D", "ECE reaction", 4, 2, 1},
    {"12)  A + ne = B, B = D, C + ne = D", "", 4, 2, 1},
    {"13)  A + ne = B, B = D, C + ne = D, C = A", "square reaction", 4, 2, 2},
    {"14)  A + ne = B, B + ne = C, C = D", "EEC reaction", 4, 2, 1},
    {"15)  A + ne = B, B + ne = C, B = D", "", 4, 2, 1},
    {"16)  A + ne = B, B + C = A + D", "catalytic (EC') reaction", 4, 1, 1},
    {"17)  C = A + pD, A + ne = B", "complex reaction", 4, 1, 1},
}};

const std::array<const char*, 8> kElectrodeCaptions = {
    "1)  Planar",    "2)  (Micro)Spherical",   "3)  (Micro)Hemispherical",
    "4)  Microdisc", "5)  (Micro)Cylindrical", "6)  (Micro)Hemicylindrical",
    "7)  Thin film", "8)  Rotating disk"};

const std::array<const char*, 3> kScanModes = {"single", "cycle", "2 cycles"};
const std::array<double, 3> kScanCycles = {0.5, 1.0, 2.0};

}  // namespace zemra
