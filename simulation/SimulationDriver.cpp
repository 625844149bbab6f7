#include "simulation/SimulationDriver.h"

#include <cmath>

#include "numerics/Calculus.h"
#include "platform/NumberText.h"
#include "platform/RuntimeError.h"
#include "simulation/AnalyticalCurrents.h"
#include "simulation/DigitalSimulation.h"
#include "simulation/RefinedClosedForm.h"
#include "simulation/RefinedDigital.h"
#include "simulation/SignalProcessing.h"

namespace zemra {
namespace {

// The potential step (V) for which the closed-form sweep is calibrated as written.
constexpr double kWrittenSweepStep = 0.005;

// Entry k of a species or reaction table; the tables end at index 5, so species 6 (the reduced
// form of a third charge transfer on the analytical road) does not exist.
double Entry(const RealTable& table, int k) {
    if (k < 0 || k >= static_cast<int>(table.size())) Raise(kSubscriptOutOfRange);
    return table[static_cast<size_t>(k)];
}

// A potential program longer than the arrays: refused with a message that says by how much and
// what to change, headed by the prefix of the road in use.
struct TooManyPoints : RuntimeError {
    explicit TooManyPoints(const std::string& message) : RuntimeError(message) {}
};

// Point counts of the staircase: PointsPerSweep (a 16-bit count) and NoOfData, checked against
// the 4000 rows of the arrays before anything is written.
void SetPointCounts(Workbench& wb) {
    const ParameterModel& m = wb.Model;
    const double needed = PotentialProgramPoints(m);
    if (needed > kMaxPoints)
        throw TooManyPoints(std::string(m.Digital ? kDigitalErrorPrefix : kAnalyticalErrorPrefix) +
                            "the potential program would need " + GeneralNumber(needed) +
                            " points, at most " + std::to_string(kMaxPoints) +
                            " fit: take a larger E step or a shorter range from E start to E end");
    const int steps = RoundToInt16(std::fabs(Div(m.Eend - m.Estart, m.Estep)));
    if (steps + 1 > 32767) Raise(kOverflow);
    const int perSweep = steps + 1;
    const int noOfData = RoundToInt32(2.0 * perSweep * m.ScanCycles);
    if (noOfData < 1 || noOfData > kMaxPoints) Raise(kSubscriptOutOfRange);
    wb.Res.PointsPerSweep = perSweep;
    wb.Curves.NoOfData = noOfData;
}

// Forward sweep from Estart, the reverse sweep back from the switching potential (listed twice)
// and the second cycle as a copy of the first.
void BuildPotentialProgram(Workbench& wb) {
    const ParameterModel& m = wb.Model;
    Array1<kRows>& X = wb.Curves.X;
    const int N = wb.Res.PointsPerSweep;
    for (int i = 1; i <= N; ++i) X(i) = m.Estart + (i - 1) * m.Estep * wb.Res.ScanSign;
    if (m.ScanCycles == 1 || m.ScanCycles == 2)
        for (int i = 1; i <= N; ++i) X(N + i) = X(N - i + 1);
    if (m.ScanCycles == 2)
        for (int i = 1; i <= 2 * N; ++i) X(2 * N + i) = X(i);
}

// What the analytical road needs of one run besides the model.
struct RunTerms {
    double FA = 0;    // Area * F / 1000: currents per F*A in mol/L, cm, cm/s into amperes
    double S = 0;     // catalytic factor sqrt(kf1 * tcat), mechanism 9
    double tcat = 0;  // time of the catalytic step current, s
    double CatF = 0;  // S * sqrt(pi) * FA
    double TF = 0;    // thin-film factor of a sweep
    ElectrodeTerms el;
    PulseProgram pulses;  // the waveform of the refined pulse currents
};

bool IsThinFilmSweep(const ParameterModel& m) {
    const TechElectrode te = DecodeTechElectrode(m.TechElectrodeCode);
    return te.Technique == TechniqueKind::Sweep && te.Geometry == GeometryKind::ThinFilm;
}

// The couple of reaction j with the diffusion terms its functions take.
Couple CoupleOf(const ParameterModel& m, int j) {
    const TechElectrode te = DecodeTechElectrode(m.TechElectrodeCode);
    // The rotating disk's sweep and DC wave take D itself, every other current sqrt(D).
    const bool plainD = te.Geometry == GeometryKind::RotatingDisk &&
                        (te.Technique == TechniqueKind::Sweep || te.Technique == TechniqueKind::DC);
    Couple c;
    c.ks = Entry(m.ks, j);
    c.Alpha = Entry(m.Alpha, j);
    c.n = m.n[static_cast<size_t>(j)];
    const double dox = Entry(m.D, 2 * j - 1), dred = Entry(m.D, 2 * j);
    c.Dox = plainD ? dox : Sqrt(dox);
    c.Dred = plainD ? dred : Sqrt(dred);
    if (m.Mechanism == 17) {
        c.Cox = Entry(m.C, 2);
        c.Cred = Entry(m.C, 3);
    } else {
        c.Cox = Entry(m.C, 2 * j - 1);
        c.Cred = Entry(m.C, 2 * j);
    }
    c.E0 = Entry(m.Eformal, j);
    return c;
}

// Effective formal potential of reaction j: shifted by the preceding equilibrium C = A + pD of
// mechanism 17 (E0' + RT/nF (ln Keq - p ln C_D)), and for a sweep at a thin film by the finite
// film (E0' + RT/nF ln(sqrt(pi) n L / sqrt(D) / sqrt(td))).
double EffectiveFormalPotential(const ParameterModel& m, const Couple& c) {
    double e0 = c.E0;
    const double rtOverNF = Div(m.RTF, c.n);
    if (m.Mechanism == 17)
        e0 = c.E0 + rtOverNF * (Log(Entry(m.Keq, 1)) - m.p[1] * Log(Entry(m.C, 4)));
    if (IsThinFilmSweep(m))
        e0 = c.E0 + rtOverNF * Log(Div(Div(kSqrtPi * c.n * m.Length, c.Dox), Sqrt(m.tdrop)));
    return e0;
}

// The closed-form current of point i at potential E for the technique and electrode, per F*A.
// Sweeps at every electrode but the thin film and the rotating disk start from the planar step
// response; the radial part is added after the semi-derivative. Pulse techniques at a thin film
// or a rotating disk have no closed form here.
double ComponentAt(const ParameterModel& m, const RunTerms& t, const Couple& eff,
                   const Couple& formal, double E, bool forwardSweep) {
    const TechElectrode te = DecodeTechElectrode(m.TechElectrodeCode);
    const ElectrodeTerms& el = t.el;
    const bool planar = te.Geometry == GeometryKind::Planar, radial = te.Radial();
    if (m.Refined && (planar || radial)) {
        // Refined pulses: the step responses of the whole waveform superposed, sampled at the
        // end of the pulse, with no sampling factor.
        if (te.Technique == TechniqueKind::NormalPulse)
            return NormalPulseSuperposed(el, formal, radial, t.pulses, E);
        if (te.Technique == TechniqueKind::DifferentialPulse)
            return DiffPulseSuperposed(el, formal, radial, t.pulses, E,
                                       forwardSweep ? m.Epulse.Value : -m.Epulse.Value);
    }
    switch (te.Technique) {
        case TechniqueKind::Sweep:
            if (te.Geometry == GeometryKind::ThinFilm)
                return PlanarStepCurrent(el, eff, E, m.tdrop) * t.TF;
            if (te.Geometry == GeometryKind::RotatingDisk)
                return RotatingDiskCurrent(el, formal, E);
            if (planar || radial) return PlanarStepCurrent(el, eff, E, m.tdrop);
            return 0;
        case TechniqueKind::DC:
            if (te.Geometry == GeometryKind::RotatingDisk)
                return RotatingDiskCurrent(el, formal, E);
            if (planar || te.Geometry == GeometryKind::ThinFilm)
                return PlanarStepCurrent(el, eff, E, m.tdrop);
            if (radial) return SphericalStepCurrent(el, eff, E, m.tdrop);
            return 0;
        case TechniqueKind::NormalPulse:
            if (planar)
                return PlanarStepCurrent(el, formal, E + m.Epulse, m.tpulse) * kPulseSamplingFactor;
            if (radial)
                return SphericalStepCurrent(el, formal, E + m.Epulse, m.tpulse) *
                       kPulseSamplingFactor;
            return 0;
        case TechniqueKind::DifferentialPulse: {
            // The pulse is +Epulse on the first sweep, -Epulse on every later one.
            const double dE = forwardSweep ? m.Epulse.Value : -m.Epulse.Value;
            if (planar)
                return DiffPulsePlanar(el, formal, E, m.tpulse, m.tdrop, dE) * kPulseSamplingFactor;
            if (radial)
                return DiffPulseSpherical(el, formal, E, m.tpulse, m.tdrop, dE) *
                       kPulseSamplingFactor;
            return 0;
        }
        case TechniqueKind::SquareWave: {
            const double P2 = 2 * m.Epulse;
            if (planar)
                return SquareWavePlanar(el, formal, E - m.Epulse, m.tpulse, P2) *
                       kSquareWaveSamplingFactor;
            if (radial) {
                Couple shifted = formal;
                shifted.E0 = formal.E0 + m.Epulse;
                return SquareWaveSpherical(el, shifted, E, m.tpulse, P2) *
                       kSquareWaveSamplingFactor;
            }
            return 0;
        }
        case TechniqueKind::Unknown:
            return 0;
    }
    return 0;
}

// Refined mode: the whole column j of the planar sweep (from the convolution integral equation,
// with the effective formal potential) and of the square wave (superposed over the staircase),
// per F*A into col(1..N). False where the column goes point by point.
bool RefinedColumn(const ParameterModel& m, const RunTerms& t, const Couple& eff,
                   const Couple& formal, const Array1<kRows>& X, int N, Column col) {
    if (!m.Refined) return false;
    const TechElectrode te = DecodeTechElectrode(m.TechElectrodeCode);
    const bool planar = te.Geometry == GeometryKind::Planar;
    std::vector<double> I;
    if (te.Technique == TechniqueKind::Sweep && planar)
        I = ConvolutionSweep(t.el, eff, X, N, Div(std::fabs(m.Estep), m.tdrop));
    else if (te.Technique == TechniqueKind::SquareWave && (planar || te.Radial()))
        I = SquareWaveSuperposed(t.el, formal, te.Radial(), t.pulses, X, N);
    else
        return false;
    for (int i = 1; i <= N; ++i) col[static_cast<size_t>(i)] = I[static_cast<size_t>(i)];
    return true;
}

// Step 7: the closed-form current of every charge-transfer reaction, in amperes.
void AnalyticalComponents(Workbench& wb, RunTerms& t) {
    const ParameterModel& m = wb.Model;
    Results& res = wb.Res;
    const Array1<kRows>& X = wb.Curves.X;
    const int N = wb.Curves.NoOfData;
    const bool mech9 = m.Mechanism == 9;
    const bool stepTechnique = m.Technique >= 1 && m.Technique <= 3;
    for (int j = 1; j <= m.NCharge; ++j) {
        const Couple formal = CoupleOf(m, j);
        Couple eff = formal;
        eff.E0 = EffectiveFormalPotential(m, formal);
        if (mech9) {
            t.tcat = (m.Technique == 1 || m.Technique == 2) ? m.tdrop : m.tpulse;
            t.S = Sqrt(Entry(m.kf, 1) * t.tcat);
            t.CatF = t.S * kSqrtPi * t.FA;
        }
        if (IsThinFilmSweep(m))
            t.TF = Sqrt(Div(kPi * m.tdrop, Entry(m.D, 1))) * m.Length * m.ScanRate;
        if (!RefinedColumn(m, t, eff, formal, X, N, ColumnOf(res.Icomp, j)))
            for (int i = 1; i <= N; ++i)
                res.Icomp(i, j) = ComponentAt(m, t, eff, formal, X(i), i <= res.PointsPerSweep);
        if (mech9 && stepTechnique)
            for (int i = 1; i <= N; ++i)
                res.Icomp(i, 7) = Finite(PlanarStepCurrent(t.el, eff, X(i), t.tcat) * t.CatF);
    }
    for (int j = 1; j <= m.NCharge; ++j)
        for (int i = 1; i <= N; ++i) res.Icomp(i, j) = Finite(res.Icomp(i, j) * t.FA);
}

// Step 9: the shapes some technique-electrode pairs need from their step responses.
void AnalyticalPostProcessing(Workbench& wb, const RunTerms& t) {
    const ParameterModel& m = wb.Model;
    Results& res = wb.Res;
    const Array1<kRows>& X = wb.Curves.X;
    const int N = wb.Curves.NoOfData;
    const int T = res.TotalColumn;
    const TechElectrode te = DecodeTechElectrode(m.TechElectrodeCode);
    const bool sweep = te.Technique == TechniqueKind::Sweep;
    const bool planarOrRadial = te.Geometry == GeometryKind::Planar || te.Radial();
    // Refined mode computes the planar sweep itself and takes the rotating disk's steady wave as
    // it is; the radial sweeps keep the semi-derivative of the step response below (the radial
    // convolution kernel is not exact for the cylinders and the disc).
    const bool refinedSweep =
        sweep && m.Refined &&
        (te.Geometry == GeometryKind::Planar || te.Geometry == GeometryKind::RotatingDisk);
    // A sweep is the semi-derivative of the sampled step response (convolution voltammetry).
    if (!refinedSweep && sweep && (planarOrRadial || te.Geometry == GeometryKind::RotatingDisk))
        for (int k = 1; k <= T; ++k) SemiDifferentiate(X, ColumnOf(res.Icomp, k), N);
    // The semi-derivative of the sampled step response gives the sweep for the 5 mV staircase the
    // current functions are written for; a staircase with steps of Estep every tdrop scales the
    // current as sqrt(Estep / tdrop) at fixed tdrop, so other steps are scaled by
    // sqrt(Estep / 5 mV) and follow Randles-Sevcik, while the 5 mV curve stays exactly as written.
    if (!refinedSweep && sweep && planarOrRadial) {
        const double scale = Sqrt(m.Estep / kWrittenSweepStep);
        for (int k = 1; k <= T; ++k)
            for (int i = 1; i <= N; ++i) res.Icomp(i, k) *= scale;
    }
    // Radial diffusion adds the steady-state current nFAD C / r of a sigmoidal wave.
    if (sweep && te.Radial()) {
        for (int j = 1; j <= m.NCharge; ++j) {
            const double n = m.n[static_cast<size_t>(j)];
            const double steady =
                Div(t.FA * n * Entry(m.D, 2 * j - 1) * Entry(m.C, 2 * j - 1), t.el.Radius);
            for (int i = 1; i <= N; ++i) {
                const double a = Exp(n * m.FRT * (X(i) - m.Estart));
                const double b = Exp(n * m.FRT * (X(i) - Entry(m.Eformal, j)));
                res.Icomp(i, T) = Finite(res.Icomp(i, T) + steady * Div(1 - a, 1 + b));
            }
        }
    }
    // A sweep at a thin film is the derivative of the sampled response.
    if (sweep && te.Geometry == GeometryKind::ThinFilm)
        for (int k = 1; k <= T; ++k) Differentiate(X, ColumnOf(res.Icomp, k), N);
    if (m.Mechanism == 9) {
        const bool stepTechnique = m.Technique >= 1 && m.Technique <= 3;
        for (int i = 1; i <= N; ++i) {
            if (stepTechnique)
                res.Icomp(i, T) += res.Icomp(i, 7);
            else
                res.Icomp(i, T) *= t.S / kCatalyticPulseDivisor;
        }
    }
}

// Steps 1 to 10 of a run; a run-time error leaves through the caller's handler.
void RunSimulation(Workbench& wb, SimulationOutcome& outcome) {
    ParameterModel& m = wb.Model;
    Results& res = wb.Res;
    CurveStore& cs = wb.Curves;
    NewCurveSlot(cs, wb.Fit.Fitting, wb.Input.IsChecked("overlap"));

    RunTerms t;
    t.FA = m.Area * kFaraday * 0.001;
    t.el = ElectrodeTerms{m.FRT, m.Radius, m.Viscosity, m.Omega};
    // Refined mode takes a microdisc of radius r as the sphere of the same area and the same
    // steady-state current, 4nFDCr = nF(pi r^2)DC / r', that is r' = pi r / 4: exact at short
    // times (Cottrell) and in the steady state, within 7 % of Shoup and Szabo in between.
    if (m.Refined && DecodeTechElectrode(m.TechElectrodeCode).Geometry == GeometryKind::Microdisc)
        t.el.Radius = kPi * m.Radius / 4;
    res.ScanSign = m.Eend > m.Estart ? 1 : -1;
    cs.NoOfSpeciesPlus1 = m.NumberOfSpecies + 1;
    res.TotalColumn = m.NCharge + 1;
    if (res.TotalColumn < 2 || res.TotalColumn > 4) Raise(kSubscriptOutOfRange);

    SetPointCounts(wb);
    BuildPotentialProgram(wb);
    if (m.Refined && !m.Digital && m.Technique >= 3 && m.Technique <= 5) {
        const double hold = m.Technique == 5 ? 0.0 : PulseHoldTime(m.Technique, m.tdrop, m.tpulse);
        t.pulses = PulseProgram{m.Estart, m.Epulse, m.tpulse, hold};
    }
    const int N = cs.NoOfData;
    for (int c = 1; c <= res.TotalColumn; ++c)
        for (int i = 1; i <= N; ++i) res.Icomp(i, c) = 0;

    if (m.Digital) {
        // Refined accuracy takes the finer engine of the same experiment; unchecked, the classic
        // coarse calculation runs exactly as before.
        const double ru = Val(wb.Input.TextOf("Ru"));
        const DigitalOutcome digital = m.Refined ? RefinedDigitalSimulation(m, ru, cs.X, N, res)
                                                 : DigitalSimulation(m, ru, cs.X, N, res);
        outcome.SingularMatrix = digital.SingularMatrix;
        outcome.DigitalError = digital.Error;
    } else {
        AnalyticalComponents(wb, t);
    }

    const int T = res.TotalColumn;
    for (int j = 1; j <= m.NCharge; ++j)
        for (int i = 1; i <= N; ++i) res.Icomp(i, T) += res.Icomp(i, j);

    if (!m.Digital) AnalyticalPostProcessing(wb, t);

    AddChargingCurrent(m, cs.X, N, res);
    const double dominant = FindSignalRange(res, N, wb.Plot);
    AddNoise(m, N, dominant, wb.Fit.Fitting, res);

    // Nothing that is not a number reaches the curve store: an overflow anywhere above is an
    // error of the run.
    for (int c = 1; c <= T; ++c)
        for (int i = 1; i <= N; ++i) Finite(res.Icomp(i, c));
}

}  // namespace

double PotentialProgramPoints(const ParameterModel& m) {
    // Steps rounded half to even, as the 16-bit count of the driver rounds them.
    const double steps = std::nearbyint(std::fabs(Div(m.Eend - m.Estart, m.Estep)));
    return std::nearbyint(2.0 * (steps + 1) * m.ScanCycles);
}

std::vector<std::string> SimulationOutcome::Messages() const {
    std::vector<std::string> messages;
    if (!Refused.empty()) messages.push_back(Refused);
    if (SingularMatrix) messages.push_back(kSingularMatrixMessage);
    if (!DigitalError.empty())
        messages.push_back(kDigitalErrorPrefix + DigitalError + kTryAgainSuffix);
    if (!Error.empty()) messages.push_back(kAnalyticalErrorPrefix + Error + kTryAgainSuffix);
    return messages;
}

SimulationOutcome SimulateCurve(Workbench& wb) {
    SimulationOutcome outcome;
    try {
        RunSimulation(wb, outcome);
    } catch (const TooManyPoints& e) {
        outcome.Refused = e.Description();
        return outcome;
    } catch (const RuntimeError& e) {
        outcome.Error = e.Description();
        return outcome;
    }
    wb.Curves.FirstPoint = 1;
    wb.Curves.LastPoint = wb.Curves.NoOfData;
    // The slot now holds a simulated curve, which the output step may derive.
    if (wb.Curves.CurveNo >= 1 && wb.Curves.CurveNo <= kMaxCurves)
        wb.Curves.Measured[static_cast<size_t>(wb.Curves.CurveNo)] = false;
    return outcome;
}

}  // namespace zemra
