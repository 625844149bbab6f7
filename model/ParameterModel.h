// The parameter model: the one shared record of the experiment (technique, mechanism, electrode,
// instrument settings, electrode and electrolyte, and the tables of species and reactions), the
// result arrays the simulation fills, and the catalogues that give the numbers their meaning.
#pragma once

#include <algorithm>
#include <array>
#include <optional>
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
    bool Refined = false;     // refined accuracy: grid, time steps and geometry that agree with
                              // theory, instead of the classic coarse calculation
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

// Techniques and electrodes ----------------------------------------------------------------

// The technique dialog's entries 1..5 and the electrode entries 1..8 by name.
enum class TechniqueKind { Unknown, Sweep, DC, NormalPulse, DifferentialPulse, SquareWave };
enum class GeometryKind {
    Unknown,
    Planar,
    Spherical,
    Hemispherical,
    Microdisc,
    Cylindrical,
    Hemicylindrical,
    ThinFilm,
    RotatingDisk,
};

struct TechElectrode {
    TechniqueKind Technique = TechniqueKind::Unknown;
    GeometryKind Geometry = GeometryKind::Unknown;
    // Electrodes 2 to 6, which the closed form treats as spheres of the electrode radius.
    bool Radial() const {
        return Geometry >= GeometryKind::Spherical && Geometry <= GeometryKind::Hemicylindrical;
    }
};

// TechElectrodeCode (10 x technique + electrode) decoded; a part out of its range is Unknown.
TechElectrode DecodeTechElectrode(int code);

// Calibration of the closed-form pulse currents to the digital road, which samples each pulse one
// implicit time step after its potential step and so reads close to sqrt(pi) times the Cottrell
// current: normal and differential pulse step responses are multiplied by this factor.
inline constexpr double kPulseSamplingFactor = 1.755;
// The same calibration for the square-wave net current (forward minus reverse step response of a
// half-period), whose two samples each carry the one-step sampling of the digital road.
inline constexpr double kSquareWaveSamplingFactor = 2.47;
// EC' outside the step techniques: the diffusion current is multiplied by the catalytic factor
// S = sqrt(kf tcat) over this divisor, the enhancement that matches the digital road's
// differential-pulse and square-wave peaks at large S.
inline constexpr double kCatalyticPulseDivisor = 1.38;

// Catalogues ------------------------------------------------------------------------------

// How the charge transfers of a mechanism are linked: what the surface balance rows and the
// pre-equilibration at the start potential sum over.
enum class ChargeChain {
    Single,       // one couple A/B
    Consecutive,  // A + ne = B, B + ne = C (, C + ne = D): one balance over the whole chain
    TwoCouples,   // A/B and C/D: a balance for each couple
};

struct MechanismInfo {
    const char* Caption;  // option text of the mechanism dialog
    const char* ToolTip;  // "" when the entry has none
    int NSpecies, NCharge, NHomo;
    ChargeChain Chain;
    const char* Heter[3];  // captions of the charge-transfer rows; "" for a row not used
    const char* Homo[2];   // captions of the homogeneous-reaction rows; "" for a row not used
    bool ClosedForm;       // has closed-form currents, so it is offered without digital simulation
};

// Entry k (1..5) at index k - 1.
extern const std::array<const char*, 5> kTechniqueCaptions;
// Entry k (1..17) at index k - 1.
extern const std::array<MechanismInfo, 17> kMechanisms;
// The entry of mechanism k, or an entry with no rows and no captions when k is not 1..17.
const MechanismInfo& MechanismOf(int mechanism);
// Entry k (1..8) at index k - 1.
extern const std::array<const char*, 8> kElectrodeCaptions;
// The quantities of the Y axis (formOption's ComboY), in list order.
enum class YQuantity { Current, Resistance, Conductance, SurfaceConcentration };
struct YQuantityInfo {
    const char* Caption;    // list entry
    const char* AxisTitle;  // title of the plot's Y axis
};
// Entry of each quantity at the index of its enum value.
extern const std::array<YQuantityInfo, 4> kYQuantities;
const char* YQuantityCaption(YQuantity q);
// The quantity of a list entry; nothing for a text that is not one.
std::optional<YQuantity> YQuantityOf(const std::string& caption);
// Scan-mode list entries in list order and their ScanCycles factors.
extern const std::array<const char*, 3> kScanModes;
extern const std::array<double, 3> kScanCycles;

}  // namespace zemra
