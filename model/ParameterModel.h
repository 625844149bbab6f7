// The parameter model: the one shared record of the experiment (technique, mechanism, electrode,
// instrument settings, electrode and electrolyte, and the tables of species and reactions), the
// result arrays the simulation fills, and the catalogues that give the numbers their meaning.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/RuntimeError.h"

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
inline constexpr double kFaraday = 96484.6;       // C/mol
inline constexpr double kGasConstant = 8.31441;   // J/(mol K)
inline constexpr double kCelsiusOffset = 273.14;  // K
inline constexpr double kPi = 3.141592654;
inline constexpr double kSqrtPi = 1.77245385;
inline constexpr double kFaradayPerLitre = 96.4846;  // F/1000: currents from mol/L, cm and cm/s

inline constexpr int kMaxPoints = 4000;  // data points 1..4000 (row 0 unused)
inline constexpr int kRows = kMaxPoints + 1;

// A two-dimensional array of reals with rows 0..Rows-1 and columns 0..Cols-1, stored column by
// column (element (i, c) at i + Rows * c). An index outside raises "Subscript out of range".
template <int Rows, int Cols>
class Array2 {
  public:
    Array2() : a_(static_cast<size_t>(Rows) * Cols, 0.0) {}
    double& operator()(int i, int c) { return a_[Index(i, c)]; }
    double operator()(int i, int c) const { return a_[Index(i, c)]; }
    double* Column(int c) { return &a_[Index(0, c)]; }
    const double* Column(int c) const { return &a_[Index(0, c)]; }
    void Fill(double v) { std::fill(a_.begin(), a_.end(), v); }
    static constexpr int kRowCount = Rows;
    static constexpr int kColCount = Cols;

  private:
    static size_t Index(int i, int c) {
        if (i < 0 || i >= Rows || c < 0 || c >= Cols) Raise(kSubscriptOutOfRange);
        return static_cast<size_t>(i) + static_cast<size_t>(Rows) * static_cast<size_t>(c);
    }
    std::vector<double> a_;
};

// A one-dimensional array of reals indexed 0..N-1 with the same checked access.
template <int N>
class Array1 {
  public:
    Array1() : a_(N, 0.0) {}
    double& operator()(int i) { return a_[Index(i)]; }
    double operator()(int i) const { return a_[Index(i)]; }
    double* Data() { return a_.data(); }
    const double* Data() const { return a_.data(); }
    void Fill(double v) { std::fill(a_.begin(), a_.end(), v); }
    static constexpr int kSize = N;

  private:
    static size_t Index(int i) {
        if (i < 0 || i >= N) Raise(kSubscriptOutOfRange);
        return static_cast<size_t>(i);
    }
    std::vector<double> a_;
};

// What the simulation computes: per-reaction currents, the total and the surface concentrations.
struct Results {
    // Points 0..4000 by columns 0..7: column j (1..NCharge) the current of charge-transfer
    // reaction j, column TotalColumn the total, column 7 the catalytic term of mechanism 9. A.
    Array2<kRows, 8> Icomp;
    // Points 0..4000 by species columns 0..6: surface concentration of species s, mol/L.
    Array2<kRows, 7> Csurf;
    int TotalColumn = 0;     // NCharge + 1
    int PointsPerSweep = 0;  // points of one sweep
    int ScanSign = 0;        // +1 when Eend > Estart, else -1
};

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
