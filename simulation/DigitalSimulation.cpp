#include "simulation/DigitalSimulation.h"

#include <cmath>
#include <memory>
#include <string>

#include "numerics/LinearAlgebra.h"
#include "simulation/MechanismTables.h"

namespace zemra {

namespace {

constexpr double kBeta = 1.0;  // grid expansion exponent: box j + 1 is e^kBeta times wider

// The working state of one run: set up once, then advanced sub-step by sub-step. Concentrations
// are normalised by the largest initial concentration; lengths are in units of the first box
// width dx0 unless marked cm.
struct DigitalRun {
    // Working copies of the model, reactions and species 1-based.
    int Mechanism = 0, Technique = 0, NSpecies = 0, NCharge = 0, NHomo = 0;
    Vector6 CSim{}, DSim{}, AlphaSim{}, nSim{}, ksSim{}, LambdaSim{};
    std::array<double, 11> kfdt{}, kbdt{};
    StepRates Rates;

    double GridLambda = 0, TimeStep = 0, Cmax = 0, Dmax = 0, CurrentScale = 0;
    int SubSteps = 1, NBox = 0;
    Vector6 C0{};  // species 0-based from here on

    // Grid and diffusion coefficients, boxes 1..NBox (+1 for the bulk boundary).
    std::array<double, kBoxSlots> BoxEdge{}, BoxCentre{}, InnerFace{}, OuterFace{};
    double SurfaceFace = 0;
    BoxVectors LowerCoef{}, UpperCoef{}, DiagCoef{};
    BoxMatrices Block{};
    Matrix6 SurfaceMatrix{}, BalanceMatrix{};
    Vector6 FluxFactor{};  // s/cm

    // Evolving state.
    BoxVectors Conc{};
    Vector6 kRed{}, kOx{}, Rate{}, Prev{};  // reactions 1-based
    double Itotal = 0;
    bool Singular = false;
    BlockSolveWork Work;
};

void CopyWorkingArrays(DigitalRun& r, const ParameterModel& m) {
    r.Mechanism = m.Mechanism;
    r.Technique = m.Technique;
    r.NSpecies = m.NSpecies;
    r.NCharge = m.NCharge;
    r.NHomo = m.NHomo;
    if (r.Mechanism < 1 || r.Mechanism > 17) Raise(kInvalidCall);
    if (r.NSpecies < 1 || r.NSpecies > 4 || r.NCharge < 1 || r.NCharge > 3 || r.NHomo < 0 ||
        r.NHomo > 2)
        Raise(kSubscriptOutOfRange);
    for (int i = 1; i <= r.NSpecies; ++i) {
        r.CSim[i] = m.C[i];
        r.DSim[i] = m.D[i];
    }
    for (int k = 1; k <= r.NCharge; ++k) {
        r.AlphaSim[k] = m.Alpha[k];
        r.nSim[k] = m.n[k];
        r.ksSim[k] = m.ks[k];
    }
}

// Time step (s) and sub-steps per data point of the technique.
void SetTimeStep(DigitalRun& r, const ParameterModel& m) {
    const double tdrop = m.tdrop, tpulse = m.tpulse;
    r.TimeStep = r.Technique == 1 ? tdrop : r.Technique == 2 ? tdrop / 10 : tpulse;
    r.SubSteps = SubStepsPerPoint(r.Technique, m.tdrop, m.tpulse);
}

// Largest initial concentration and diffusion coefficient, the normalised initial
// concentrations and the diffusion number of every species.
void SetScales(DigitalRun& r) {
    r.Dmax = r.DSim[1];
    r.Cmax = r.CSim[1];
    for (int i = 2; i <= r.NSpecies; ++i) {
        if (r.DSim[i] > r.Dmax) r.Dmax = r.DSim[i];
        if (r.CSim[i] > r.Cmax) r.Cmax = r.CSim[i];
    }
    for (int s = 0; s < r.NSpecies; ++s) r.C0[s] = Div(r.CSim[s + 1], r.Cmax);
    for (int i = 1; i <= r.NSpecies; ++i) r.LambdaSim[i] = Div(r.GridLambda * r.DSim[i], r.Dmax);
}

void FillInitialProfile(DigitalRun& r) {
    for (int j = 0; j <= r.NBox + 1; ++j)
        for (int s = 0; s < r.NSpecies; ++s) r.Conc[j][s] = r.C0[s];
}

// Face area and box volume of the geometry, in units of dx0, up to a common constant factor:
// g = 1 planar, 2 cylindrical (r = rho + x), 3 spherical.
struct Geometry {
    int g = 1;
    double rho = 0;  // electrode radius in units of dx0
    double Face(double x) const {
        const double rr = rho + x;
        return g == 1 ? 1.0 : g == 2 ? 2 * rr : 3 * rr * rr;
    }
    double Volume(double inner, double outer) const {
        const double a = rho + inner, b = rho + outer;
        return g == 1 ? outer - inner : g == 2 ? b * b - a * a : b * b * b - a * a * a;
    }
};

// The microdisc is simulated as a hemisphere of its radius; the thin film and the rotating disk
// as a planar semi-infinite electrode.
int GeometryExponent(int electrode) {
    switch (electrode) {
        case 2:
        case 3:
        case 4:
            return 3;
        case 5:
        case 6:
            return 2;
        default:
            return 1;
    }
}

// Expanding grid: box j spans BoxEdge(j)..BoxEdge(j + 1), its concentration sits at BoxCentre(j);
// the face coefficients are face area / (box volume x distance between centres).
void BuildGrid(DigitalRun& r, const ParameterModel& m) {
    const double scale = std::exp(kBeta) - 1;
    for (int j = 1; j <= r.NBox + 1; ++j) {
        r.BoxEdge[j] = (std::exp(kBeta * (j - 1)) - 1) / scale;
        r.BoxCentre[j] = (std::exp(kBeta * (j - 0.5)) - 1) / scale;
    }
    Geometry geo;
    geo.g = GeometryExponent(m.Electrode);
    if (geo.g != 1) {
        const double dx0 = Sqrt(Div(r.Dmax * r.TimeStep, r.GridLambda));  // cm
        geo.rho = Div(m.Radius, dx0);
    }
    for (int j = 2; j <= r.NBox; ++j) {
        const double volume = geo.Volume(r.BoxEdge[j], r.BoxEdge[j + 1]);
        r.InnerFace[j] =
            Div(geo.Face(r.BoxEdge[j]), volume * (r.BoxCentre[j] - r.BoxCentre[j - 1]));
        r.OuterFace[j] =
            Div(geo.Face(r.BoxEdge[j + 1]), volume * (r.BoxCentre[j + 1] - r.BoxCentre[j]));
    }
    const double volume1 = geo.Volume(0, 1);
    r.SurfaceFace = Div(geo.Face(0), volume1);
    r.InnerFace[1] = Div(r.SurfaceFace, r.BoxCentre[1]);
    r.OuterFace[1] = Div(geo.Face(1), volume1 * (r.BoxCentre[2] - r.BoxCentre[1]));
}

// Flux factors and the diffusion coupling of every box.
void BuildCoefficients(DigitalRun& r) {
    const double dx0 = Sqrt(Div(r.DSim[1] * r.TimeStep, r.LambdaSim[1]));  // cm
    for (int s = 0; s < r.NSpecies; ++s) {
        r.FluxFactor[s] = Div(dx0 * r.BoxCentre[1], r.DSim[s + 1]);
        const double lambda = r.LambdaSim[s + 1];
        for (int j = 1; j <= r.NBox; ++j) {
            r.LowerCoef[j][s] = lambda * r.InnerFace[j];
            r.UpperCoef[j][s] = lambda * r.OuterFace[j];
            r.DiagCoef[j][s] = 1 + r.LowerCoef[j][s] + r.UpperCoef[j][s];
        }
    }
}

// Surface relation (identity plus the balance rows, copied once into BalanceMatrix) and the
// box blocks (diffusion diagonal plus the constant homogeneous entries). The balance rows weight
// each species by its diffusion coefficient, so that matter is conserved at the electrode also
// when the oxidised and reduced forms diffuse at different rates.
void BuildSurfaceAndBlocks(DigitalRun& r) {
    r.SurfaceMatrix = Matrix6{};
    Vector6 weight{};
    for (int s = 0; s < r.NSpecies; ++s) {
        r.SurfaceMatrix[s][s] = 1;
        weight[s] = r.DSim[s + 1] / r.Dmax;
    }
    BalanceEntries(r.Mechanism, weight, r.SurfaceMatrix);
    r.BalanceMatrix = r.SurfaceMatrix;
    for (int j = 1; j <= r.NBox; ++j) {
        r.Block[j] = Matrix6{};
        for (int s = 0; s < r.NSpecies; ++s) r.Block[j][s][s] = r.DiagCoef[j][s];
        ConstantBlockEntries(r.Mechanism, r.DiagCoef[j], r.Rates, r.Block[j]);
    }
}

void SetUp(DigitalRun& r, const ParameterModel& m, int noOfData) {
    CopyWorkingArrays(r, m);
    r.GridLambda = GridLambdaFor(m);
    SetTimeStep(r, m);
    r.NBox = BoxCount(r.GridLambda, noOfData);
    for (int h = 1; h <= r.NHomo; ++h) {
        r.kfdt[h] = m.kf[h] * r.TimeStep;
        r.kbdt[h] = m.kb[h] * r.TimeStep;
    }
    r.Rates = StepRates{r.kfdt[1], r.kbdt[1], r.kfdt[2], r.kbdt[2]};
    SetScales(r);
    FillInitialProfile(r);
    BuildGrid(r, m);
    r.CurrentScale = kFaradayPerLitre * m.Area * r.Cmax;
    BuildCoefficients(r);
    BuildSurfaceAndBlocks(r);
}

// Programmed potential (V) of sub-step `step` of data point i whose staircase potential is x.
double ProgrammedPotential(const DigitalRun& r, const ParameterModel& m, double x, int i, int step,
                           int pointsPerSweep) {
    switch (r.Technique) {
        case 3:
            return step < r.SubSteps ? static_cast<double>(m.Estart) : x + m.Epulse;
        case 4: {
            const double sigma = i > pointsPerSweep ? -1.0 : 1.0;  // pulse reversed after a sweep
            return step < r.SubSteps ? x : x + sigma * m.Epulse;
        }
        case 5:
            return step % 2 == 1 ? x - m.Epulse : x + m.Epulse;
        default:
            return x;
    }
}

// Butler-Volmer rate constants (cm/s) of every charge-transfer reaction at potential E (V).
void ElectrodeKinetics(DigitalRun& r, const ParameterModel& m, double E) {
    for (int k = 1; k <= r.NCharge; ++k) {
        const double eta = r.nSim[k] * m.FRT * (E - m.Eformal[k]);
        r.kRed[k] = r.ksSim[k] * Exp(-r.AlphaSim[k] * eta);
        r.kOx[k] = r.ksSim[k] * Exp((1 - r.AlphaSim[k]) * eta);
    }
}

// One implicit time step at the effective potential E; leaves the new profile in Conc and the
// surface rates in Rate.
void AdvanceSubStep(DigitalRun& r, const ParameterModel& m, double E) {
    ElectrodeKinetics(r, m, E);
    KineticRows(r.Mechanism, r.kRed, r.kOx, r.FluxFactor, r.SurfaceMatrix);
    if (HasConcentrationEntries(r.Mechanism))
        for (int j = 1; j <= r.NBox; ++j)
            ConcentrationBlockEntries(r.Mechanism, r.DiagCoef[j], r.Conc[j], r.Rates, r.Block[j]);
    const bool regular = BlockSolve(r.NBox, r.Conc, r.LowerCoef, r.UpperCoef, r.Block,
                                    r.SurfaceMatrix, r.BalanceMatrix, r.NSpecies - 1, r.Work);
    if (!regular) r.Singular = true;
    SurfaceRates(r.Mechanism, r.kRed, r.kOx, r.Conc[0], r.Rate);
}

// Currents (A) of the sampled sub-steps: the last one stands for techniques 1 to 3; the pulse
// techniques 4 and 5 store the last minus the one before.
void Sample(DigitalRun& r, Results& res, int i, int step) {
    r.Itotal = 0;
    for (int k = 1; k <= r.NCharge; ++k) {
        const double I = Finite(r.nSim[k] * r.CurrentScale * r.Rate[k]);
        r.Itotal += I;
        if (r.Technique <= 3)
            res.Icomp(i, k) = I;
        else if (step == r.SubSteps - 1)
            r.Prev[k] = I;
        else
            res.Icomp(i, k) = I - r.Prev[k];
    }
}

void RunPoints(DigitalRun& r, const ParameterModel& m, double ru, const Array1<kRows>& X,
               int noOfData, Results& res) {
    for (int i = 1; i <= noOfData; ++i) {
        const double x = X(i);
        // DC and the pulse techniques start every point from the bulk solution.
        if (r.Technique >= 2 && r.Technique <= 4) FillInitialProfile(r);
        for (int step = 1; step <= r.SubSteps; ++step) {
            const double Ep = ProgrammedPotential(r, m, x, i, step, res.PointsPerSweep);
            const double E = ru > 0 ? Ep + r.Itotal * ru : Ep;  // ohmic drop of the last current
            AdvanceSubStep(r, m, E);
            for (int s = 0; s < r.NSpecies; ++s)
                res.Csurf(i, s + 1) = Finite(r.Conc[0][s] * r.Cmax);
            if (step == r.SubSteps - 1 || step == r.SubSteps) Sample(r, res, i, step);
        }
    }
}

}  // namespace

double GridLambdaFor(const ParameterModel& m) {
    if (m.NHomo == 0) return 10;
    const double k = m.kf[1] + m.kb[1];
    // Without any rate in the first homogeneous reaction the formula would give a zero diffusion
    // number (an infinitely coarse grid); such a run is simulated as one without chemistry.
    if (k == 0) return 10;
    return Div(k * kGasConstant * m.Temperature, kFaraday * std::fabs(m.Estep));
}

int BoxCount(double gridLambda, int noOfData) {
    const double spread = 6 * (std::exp(kBeta) - 1) * Sqrt(gridLambda * noOfData) + 1;
    const int nBox = RoundToInt32((1 / kBeta) * Log(spread) + 2);
    if (nBox + 1 >= kBoxSlots) Raise(kSubscriptOutOfRange);  // boxes 0..100 with the bulk
    return nBox;
}

int SubStepsPerPoint(int technique, double tdrop, double tpulse) {
    switch (technique) {
        case 1:
            return 1;
        case 2:
            return 10;
        case 3:
        case 4: {
            // A whole, even count so that the two sampled sub-steps always exist; a count beyond
            // the 16-bit range is an overflow rather than an endless run.
            int steps = RoundToInt16(MaxOf(Div(tdrop, tpulse), 2));
            if (steps % 2 != 0) ++steps;
            return steps;
        }
        case 5:
            return 2;
        default:
            Raise(kInvalidCall);
    }
}

DigitalOutcome DigitalSimulation(const ParameterModel& m, double ru, const Array1<kRows>& X,
                                 int noOfData, Results& res) {
    DigitalOutcome outcome;
    auto run = std::make_unique<DigitalRun>();
    try {
        SetUp(*run, m, noOfData);
        RunPoints(*run, m, ru, X, noOfData, res);
    } catch (const RuntimeError& e) {
        outcome.Error = e.Description();
    }
    outcome.SingularMatrix = run->Singular;
    return outcome;
}

}  // namespace zemra
