// The parameter model: the one shared record of the experiment (technique, mechanism, electrode,
// instrument settings, electrode and electrolyte, and the tables of species and reactions), the
// result arrays the simulation fills, and the catalogues that give the numbers their meaning.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "numerics/Arrays.h"
#include "numerics/Constants.h"

namespace zemra {

// A real field that remembers whether it was ever assigned: arithmetic reads an unset field as 0,
// the parameter file writes it as an empty line.
struct Real {
    double Value = 0.0;
    bool IsSet = false;

    Real() = default;
    Real(double v) : Value(v), IsSet(true) {}  // NOLINT: a set field from a number
    Real& operator=(double v) {
        Value = v;
        IsSet = true;
        return *this;
    }
    operator double() const { return Value; }  // NOLINT: read as a plain number
    Real& operator+=(double v) { return *this = Value + v; }
    Real& operator-=(double v) { return *this = Value - v; }
    Real& operator*=(double v) { return *this = Value * v; }
};

// A whole-number field with the same set tracking.
struct Whole {
    int Value = 0;
    bool IsSet = false;

    Whole() = default;
    Whole(int v) : Value(v), IsSet(true) {}  // NOLINT
    Whole& operator=(int v) {
        Value = v;
        IsSet = true;
        return *this;
    }
    operator int() const { return Value; }  // NOLINT
};

// Tables of six entries indexed 0..5; entry 0 is never used.
using RealTable = std::array<Real, 6>;
using WholeTable = std::array<Whole, 6>;

struct ParameterModel {
    // Selections and counts
    Whole Technique;          // 1..5, catalogue kTechniqueCaptions
    bool Digital = false;     // digital simulation instead of the closed-form currents
    bool DigitalSet = false;  // whether Digital was ever collected
    Whole Mechanism;          // 1..17, catalogue kMechanisms
    Whole Electrode;          // 1..8, catalogue kElectrodeCaptions
    Whole NSpecies, NCharge, NHomo, NumberOfSpecies;
    Real ScanCycles;          // 0.5 single, 1 cycle, 2 two cycles
    Whole TechElectrodeCode;  // 10 * Technique + Electrode, kept while Digital is on

    // Instrument settings
    Real Estart, Eend, Estep;  // V; Estep >= 0
    Real ScanRate;             // V/s, >= 0
    Real tpulse, tdrop;        // s
    Real Epulse;               // V
    Real Noise;                // percent
    Real Cdl;                  // F
    Real Temperature;          // K (typed Celsius + 273.14)
    Real FRT, RTF;             // F/RT in 1/V and RT/F in V

    // Electrode and electrolyte
    Real Area, Radius, Length;  // cm^2, cm, cm
    Real Omega;                 // rad/s
    Real Viscosity;             // cm^2/s
    Real ElectrolyteC, ElectrolyteCond;
    Real ElectrodeVolume;  // cm^3, electrode or film volume (preconcentration factor)

    // Per species 1..4
    RealTable D, C, Cond;
    // Per charge-transfer reaction 1..3
    RealTable ks, Alpha, Eformal;
    WholeTable n;
    // Per homogeneous reaction 1..3
    RealTable kf, kb, Keq;
    WholeTable p;
};

// Physical constants, each the double nearest to the decimal the program has always used.
inline constexpr double kFaraday = 96484.6;          // C/mol
inline constexpr double kGasConstant = 8.31441;      // J/(mol K)
inline constexpr double kCelsiusOffset = 273.14;     // K
inline constexpr double kFaradayPerLitre = 96.4846;  // F/1000: currents from mol/L, cm and cm/s

// Catalogues ------------------------------------------------------------------------------

struct MechanismInfo {
    const char* Caption;  // option text of the mechanism dialog
    const char* ToolTip;  // "" when the entry has none
    int NSpecies, NCharge, NHomo;
};

// Entry k (1..5) at index k - 1.
extern const std::array<const char*, 5> kTechniqueCaptions;
// Entry k (1..17) at index k - 1.
extern const std::array<MechanismInfo, 17> kMechanisms;
// Entry k (1..8) at index k - 1.
extern const std::array<const char*, 8> kElectrodeCaptions;
// Scan-mode list entries in list order and their ScanCycles factors.
extern const std::array<const char*, 3> kScanModes;
extern const std::array<double, 3> kScanCycles;

}  // namespace zemra
