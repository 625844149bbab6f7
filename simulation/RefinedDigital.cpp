#include "simulation/RefinedDigital.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "numerics/BlockTridiagonal.h"
#include "simulation/MechanismTables.h"
#include "simulation/Microdisc.h"
#include "simulation/RefinedMesh.h"

namespace zemra {

namespace {

constexpr double kGridBeta = 0.4;          // each level e^0.4 = 1.49 times wider than the last
constexpr double kFirstSpacing = 0.01;     // first spacing, fraction of the smallest length
constexpr double kExtent = 6;              // outer edge, in diffusion lengths sqrt(D t)
constexpr double kFirstStep = 1e-4;        // first step after a jump, fraction of the interval
constexpr double kStepGrowth = 1.5;        // growth of the steps after a jump ...
constexpr double kMaxStepFrac = 0.04;      // ... up to this fraction of the interval
constexpr double kRampStep = 0.02;         // largest potential change per sweep step, nF/RT units
constexpr int kMaxRampSteps = 1000;        // bound on the steps of one sweep interval
constexpr int kOrder = 3;                  // highest order of the backward differentiation
constexpr int kDiscRings = 16;             // cells across the disc
constexpr size_t kCacheBytes = 64u << 20;  // factorised systems kept for reuse

// The product entries of mechanism 16 are the Jacobian of its bilinear rate kf cB cC - kb cA cD,
// whose product with the concentrations is twice the rate; those of 8, 10 and 17 write each
// second-order rate as k c(previous) c(new), whose product with the concentrations is the rate.
double RateShareOfProductEntries(int mechanism) {
    return mechanism == 16 ? 0.5 : 1.0;
}

// A stretch of the waveform: the potential runs linearly from `From` to `To` over `Duration`
// seconds; `Jump` when it starts with a jump of the potential (or from rest).
struct Segment {
    double Duration = 0, From = 0, To = 0;
    bool Jump = false;
};

// A factorised interior system and the step it was built for.
struct Factored {
    double Heff = -1;
    BlockTridiagonal Sys;
};

struct RefinedRun {
    const ParameterModel& m;
    explicit RefinedRun(const ParameterModel& model) : m(model) {}

    int Mechanism = 0, Technique = 0, NS = 0, NCharge = 0;
    Vector6 D{}, C0{};  // species 0-based
    double Cmax = 0, Dmax = 0, Dmin = 0, CurrentScale = 0, MaxN = 1;
    Matrix6 K{};                 // first-order consumption rates, 1/s
    std::array<Matrix6, 4> T{};  // product entries for a unit concentration of each species
    double Share = 1;
    bool Nonlinear = false, Chemistry = false;
    Matrix6 Bal{};

    RefinedMesh Mesh;
    int W = 1, N = 0, M = 0;
    // The state c at time tNow and the two before it (levels 0..N+1, M values each); Known
    // counts the time levels that belong to the present history (1 right after a restart).
    std::vector<double> c, past1, past2, hat, star, rhs;
    double tNow = 0, tPast1 = 0, tPast2 = 0;
    int Known = 1;

    std::vector<Factored> Cache;
    size_t CacheUse = 0, NextSlot = 0;

    std::vector<double> y, Z, Afixed, bfixed, A, b, Jstar, Rstar;
    Vector6 kRed{}, kOx{}, Rate{}, I{};
    double Itotal = 0;
    bool Singular = false;
};

double* At(std::vector<double>& v, const RefinedRun& r, int level) {
    return &v[static_cast<size_t>(level) * static_cast<size_t>(r.M)];
}

void CopyModel(RefinedRun& r) {
    const ParameterModel& m = r.m;
    r.Mechanism = m.Mechanism;
    r.Technique = m.Technique;
    r.NS = m.NSpecies;
    r.NCharge = m.NCharge;
    if (r.Mechanism < 1 || r.Mechanism > 17 || r.Technique < 1 || r.Technique > 5)
        Raise(kInvalidCall);
    if (r.NS < 1 || r.NS > 4 || r.NCharge < 1 || r.NCharge > 3 || m.NHomo < 0 || m.NHomo > 2)
        Raise(kSubscriptOutOfRange);
    r.Cmax = m.C[1];
    r.Dmax = r.Dmin = m.D[1];
    for (int s = 0; s < r.NS; ++s) {
        r.D[s] = m.D[static_cast<size_t>(s) + 1];
        r.Cmax = std::max(r.Cmax, static_cast<double>(m.C[static_cast<size_t>(s) + 1]));
        r.Dmax = std::max(r.Dmax, r.D[s]);
        r.Dmin = std::min(r.Dmin, r.D[s]);
        if (!(r.D[s] > 0)) Raise(kDivisionByZero);
    }
    for (int s = 0; s < r.NS; ++s) r.C0[s] = Div(m.C[static_cast<size_t>(s) + 1], r.Cmax);
    for (int k = 1; k <= r.NCharge; ++k)
        r.MaxN = std::max(r.MaxN, std::fabs(1.0 * m.n[static_cast<size_t>(k)]));
    r.CurrentScale = kFaradayPerLitre * m.Area * r.Cmax;
}

// The homogeneous chemistry from the mechanism tables: the first-order consumption matrix K
// (1/s) and the product entries for unit concentrations, both with the plain rate constants.
void ReadChemistry(RefinedRun& r) {
    const ParameterModel& m = r.m;
    const auto rate = [&](const RealTable& t, int h) { return m.NHomo >= h ? t[h].Value : 0.0; };
    const StepRates k{rate(m.kf, 1), rate(m.kb, 1), rate(m.kf, 2), rate(m.kb, 2)};
    const Vector6 zero{};
    ConstantBlockEntries(r.Mechanism, zero, k, r.K);
    r.Nonlinear = HasConcentrationEntries(r.Mechanism);
    if (r.Nonlinear)
        for (int t = 0; t < r.NS; ++t) {
            Vector6 unit{};
            unit[t] = 1;
            ConcentrationBlockEntries(r.Mechanism, zero, unit, k, r.T[static_cast<size_t>(t)]);
        }
    r.Share = RateShareOfProductEntries(r.Mechanism);
    r.Chemistry = r.Nonlinear;
    for (int s = 0; s < r.NS; ++s)
        for (int t = 0; t < r.NS; ++t)
            if (r.K[s][t] != 0) r.Chemistry = true;
    Matrix6 identity{};
    Vector6 weight{};
    for (int s = 0; s < r.NS; ++s) {
        identity[s][s] = 1;
        weight[s] = r.D[s] / r.Dmax;
    }
    BalanceEntries(r.Mechanism, weight, identity);
    r.Bal = identity;
}

// Pre-pulse period of the pulse techniques, as many tpulse steps as the classic engine holds.
double HoldTime(const ParameterModel& m) {
    return (SubStepsPerPoint(m.Technique, m.tdrop, m.tpulse) - 1) * m.tpulse;
}

// The grid: the smallest length that matters sets the first spacing, the longest stretch of time
// the profile evolves without a reset sets the extent.
void BuildMesh(RefinedRun& r, int noOfData) {
    const ParameterModel& m = r.m;
    const int tech = r.Technique;
    const double tShort = (tech <= 2) ? m.tdrop.Value : m.tpulse.Value;
    double tSpan = 0;
    if (tech == 1) tSpan = (noOfData + 1) * m.tdrop;
    if (tech == 2) tSpan = m.tdrop;
    if (tech == 3 || tech == 4) tSpan = HoldTime(m) + m.tpulse;
    if (tech == 5) tSpan = 2.0 * noOfData * m.tpulse;
    if (!(tShort > 0) || !(tSpan > 0)) Raise(kDivisionByZero);
    double length = Sqrt(r.Dmin * tShort);
    const int electrode = m.Electrode;
    const bool radial = electrode >= 2 && electrode <= 6;
    if (radial) length = std::min(length, static_cast<double>(m.Radius));
    for (int h = 1; h <= m.NHomo; ++h) {
        const double k =
            std::fabs(m.kf[static_cast<size_t>(h)]) + std::fabs(m.kb[static_cast<size_t>(h)]);
        if (k > 0) length = std::min(length, Sqrt(Div(r.Dmin, k)));
    }
    const double h0 = kFirstSpacing * length;
    const double extent = kExtent * Sqrt(r.Dmax * tSpan);
    if (electrode == 4) {
        r.Mesh = MicrodiscMesh(m.Radius, h0, kGridBeta, extent, kDiscRings);
    } else {
        const int shape = (electrode == 2 || electrode == 3)   ? 3
                          : (electrode == 5 || electrode == 6) ? 2
                                                               : 1;
        r.Mesh = ExpandingMesh(shape, m.Radius, h0, kGridBeta, extent);
    }
    r.W = r.Mesh.Width;
    r.N = r.Mesh.Levels;
    r.M = r.W * r.NS;
    const size_t size = static_cast<size_t>(r.N + 2) * static_cast<size_t>(r.M);
    for (auto* v : {&r.c, &r.past1, &r.past2, &r.hat, &r.star, &r.rhs}) v->assign(size, 0.0);
    const size_t mm = static_cast<size_t>(r.M) * static_cast<size_t>(r.M);
    r.y.assign(static_cast<size_t>(r.M), 0.0);
    r.b.assign(static_cast<size_t>(r.M), 0.0);
    r.bfixed.assign(static_cast<size_t>(r.M), 0.0);
    r.Z.assign(mm, 0.0);
    r.A.assign(mm, 0.0);
    r.Afixed.assign(mm, 0.0);
    r.Jstar.assign(static_cast<size_t>(r.N + 1) * r.W * 36, 0.0);
    r.Rstar.assign(static_cast<size_t>(r.N + 1) * r.W * 6, 0.0);
}

void FillBulk(RefinedRun& r) {
    for (int j = 0; j <= r.N + 1; ++j)
        for (int i = 0; i < r.W; ++i)
            for (int s = 0; s < r.NS; ++s) {
                const size_t u = static_cast<size_t>(j) * r.M + static_cast<size_t>(i) * r.NS + s;
                r.c[u] = r.C0[s];
            }
    r.Known = 1;
}

// Newton linearisation of the second-order steps about the predictor c* of every node:
// J* = dR/dc at c* and R* = R(c*), where R(c) = share x sum_t c_t T_t c (consumption rates
// per time unit), so that R(c) ~ J* c - R*.
void LinearisePredictor(RefinedRun& r) {
    for (int j = 0; j <= r.N; ++j)
        for (int i = 0; i < r.W; ++i) {
            const size_t node = static_cast<size_t>(j) * r.W + i;
            const double* cs =
                &r.star[static_cast<size_t>(j) * r.M + static_cast<size_t>(i) * r.NS];
            double Mc[4][4] = {};
            for (int t = 0; t < r.NS; ++t)
                for (int a = 0; a < r.NS; ++a)
                    for (int bb = 0; bb < r.NS; ++bb)
                        Mc[a][bb] += cs[t] * r.T[static_cast<size_t>(t)][a][bb];
            double* J = &r.Jstar[node * 36];
            double* R = &r.Rstar[node * 6];
            for (int a = 0; a < r.NS; ++a) {
                double rate = 0;
                for (int bb = 0; bb < r.NS; ++bb) rate += Mc[a][bb] * cs[bb];
                R[a] = r.Share * rate;
                for (int v = 0; v < r.NS; ++v) {
                    double tv = 0;  // (T_v c*)_a
                    for (int bb = 0; bb < r.NS; ++bb)
                        tv += r.T[static_cast<size_t>(v)][a][bb] * cs[bb];
                    J[a * 6 + v] = r.Share * (tv + Mc[a][v]);
                }
            }
        }
}

// Chemistry matrix K + J* of a node.
double ChemistryAt(const RefinedRun& r, size_t node, int a, int b) {
    double v = r.K[a][b];
    if (r.Nonlinear) v += r.Jstar[node * 36 + static_cast<size_t>(a) * 6 + b];
    return v;
}

// The interior rows for the effective step heff:
//   c + heff (D div-flux + (K + J*) c) = hat + heff R*,
// levels 1..N into `sys`.
void BuildInterior(RefinedRun& r, BlockTridiagonal& sys, double heff) {
    const bool diagonal = r.W == 1 && !r.Chemistry;
    if (sys.Levels() != r.N || sys.Size() != r.M || sys.Diagonal() != diagonal)
        sys.Resize(r.N, r.M, diagonal);
    const RefinedMesh& mesh = r.Mesh;
    const size_t M = static_cast<size_t>(r.M);
    for (int j = 1; j <= r.N; ++j) {
        double* lo = sys.Lower(j);
        double* up = sys.Upper(j);
        double* B = sys.Block(j);
        if (!diagonal) std::fill(B, B + M * M, 0.0);
        for (int i = 0; i < r.W; ++i) {
            const size_t p = static_cast<size_t>(mesh.Node(j, i));
            const double V = mesh.Volume[p];
            const double gLo = mesh.Lower(j, i), gUp = mesh.UpCond[p];
            const double gLeft = i > 0 ? mesh.SideCond[p - 1] : 0.0, gRight = mesh.SideCond[p];
            for (int s = 0; s < r.NS; ++s) {
                const size_t u = static_cast<size_t>(i) * r.NS + s;
                const double coef = heff * r.D[s] / V;
                lo[u] = coef * gLo;
                up[u] = coef * gUp;
                const double diag = 1 + coef * (gLo + gUp + gLeft + gRight);
                if (diagonal) {
                    B[u] = diag;
                    continue;
                }
                B[u * M + u] = diag;
                if (i > 0) B[u * M + u - r.NS] = -coef * gLeft;
                if (i + 1 < r.W) B[u * M + u + r.NS] = -coef * gRight;
                for (int t = 0; t < r.NS; ++t)
                    B[u * M + static_cast<size_t>(i) * r.NS + t] += heff * ChemistryAt(r, p, s, t);
            }
        }
    }
}

// The interior system for this step: from the cache when the chemistry is linear, else rebuilt.
BlockTridiagonal& InteriorSystem(RefinedRun& r, double heff) {
    if (!r.Nonlinear) {
        for (Factored& f : r.Cache)
            if (f.Heff == heff) return f.Sys;
    }
    Factored* slot = nullptr;
    if (r.Cache.empty() || (!r.Nonlinear && r.CacheUse < kCacheBytes)) {
        r.Cache.emplace_back();
        slot = &r.Cache.back();
    } else {
        slot = &r.Cache[r.NextSlot % r.Cache.size()];
        ++r.NextSlot;
        r.CacheUse -= slot->Sys.Bytes();
    }
    BuildInterior(r, slot->Sys, heff);
    if (!slot->Sys.Factor()) r.Singular = true;
    slot->Heff = r.Nonlinear ? -1 : heff;
    r.CacheUse += slot->Sys.Bytes();
    return slot->Sys;
}

// Butler-Volmer rate constants (cm/s) of every charge-transfer reaction at potential E (V).
void ElectrodeKinetics(RefinedRun& r, double E) {
    const ParameterModel& m = r.m;
    for (int k = 1; k <= r.NCharge; ++k) {
        const size_t u = static_cast<size_t>(k);
        const double eta = m.n[u] * m.FRT * (E - m.Eformal[u]);
        r.kRed[k] = m.ks[u] * Exp(-m.Alpha[u] * eta);
        r.kOx[k] = m.ks[u] * Exp((1 - m.Alpha[u]) * eta);
    }
}

// The potential-independent part of the surface rows, A c0 = b with
//   A = -Bal (X + Z), b = Bal (x + y),
// from the balance of the electrode's half cell of species s, divided by D_s times its
// conductance to level 1: c1 + X c0 + x = c0 + ff consumption, and c1 = y + Z c0 from the
// interior. X holds the side diffusion, the storage V/(a D heff) and the chemistry.
void SurfaceFixedPart(RefinedRun& r, double heff) {
    const size_t M = static_cast<size_t>(r.M);
    const RefinedMesh& mesh = r.Mesh;
    std::vector<double> X(M * M, 0.0), x(M, 0.0);
    const double* h0 = At(r.hat, r, 0);
    for (int i = 0; i < r.W; ++i) {
        const size_t p = static_cast<size_t>(i);
        const double a = mesh.UpCond[p], V = mesh.Volume[p];
        const double gLeft = i > 0 ? mesh.SideCond[p - 1] : 0.0, gRight = mesh.SideCond[p];
        for (int s = 0; s < r.NS; ++s) {
            const size_t u = p * r.NS + s;
            const double cap = V / (a * r.D[s] * heff), chem = V / (a * r.D[s]);
            X[u * M + u] -= (gLeft + gRight) / a + cap;
            if (i > 0) X[u * M + u - r.NS] += gLeft / a;
            if (i + 1 < r.W) X[u * M + u + r.NS] += gRight / a;
            for (int t = 0; t < r.NS; ++t)
                X[u * M + p * r.NS + t] -= chem * ChemistryAt(r, p, s, t);
            x[u] = cap * h0[u] + (r.Nonlinear ? chem * r.Rstar[p * 6 + s] : 0.0);
        }
    }
    for (size_t k = 0; k < M * M; ++k) X[k] += r.Z[k];
    for (size_t k = 0; k < M; ++k) x[k] += r.y[k];
    // Bal acts node by node on the species of that node.
    for (int i = 0; i < r.W; ++i)
        for (int s = 0; s < r.NS; ++s) {
            const size_t row = static_cast<size_t>(i) * r.NS + s;
            double bsum = 0;
            for (size_t col = 0; col < M; ++col) {
                double sum = 0;
                for (int t = 0; t < r.NS; ++t)
                    sum += r.Bal[s][t] * X[(static_cast<size_t>(i) * r.NS + t) * M + col];
                r.Afixed[row * M + col] = -sum;
            }
            for (int t = 0; t < r.NS; ++t)
                bsum += r.Bal[s][t] * x[static_cast<size_t>(i) * r.NS + t];
            r.bfixed[row] = bsum;
        }
}

// Solves the surface rows at potential E into level 0 of c and returns the total current (A);
// the currents of the reactions go to I.
double SurfaceAt(RefinedRun& r, double E) {
    ElectrodeKinetics(r, E);
    const size_t M = static_cast<size_t>(r.M);
    r.A = r.Afixed;
    r.b = r.bfixed;
    for (int i = 0; i < r.W; ++i) {
        const size_t p = static_cast<size_t>(i);
        const double a = r.Mesh.UpCond[p], share = r.Mesh.ElectrodeShare[p];
        Vector6 ff{};
        for (int s = 0; s < r.NS; ++s) ff[s] = share / (a * r.D[s]);
        Matrix6 surf = r.Bal;
        KineticRows(r.Mechanism, r.kRed, r.kOx, ff, surf);
        for (int s = 0; s < r.NS; ++s)
            for (int t = 0; t < r.NS; ++t) r.A[(p * r.NS + s) * M + p * r.NS + t] += surf[s][t];
    }
    if (!DenseSolve(r.M, r.A.data(), r.b.data())) r.Singular = true;
    double* c0 = At(r.c, r, 0);
    for (size_t u = 0; u < M; ++u) c0[u] = r.b[u];
    r.I = Vector6{};
    double total = 0;
    for (int i = 0; i < r.W; ++i) {
        Vector6 cs{};
        for (int s = 0; s < r.NS; ++s) cs[s] = c0[static_cast<size_t>(i) * r.NS + s];
        SurfaceRates(r.Mechanism, r.kRed, r.kOx, cs, r.Rate);
        const double share = r.Mesh.ElectrodeShare[static_cast<size_t>(i)];
        for (int k = 1; k <= r.NCharge; ++k)
            r.I[k] += r.m.n[static_cast<size_t>(k)] * r.CurrentScale * share * r.Rate[k];
    }
    for (int k = 1; k <= r.NCharge; ++k) total += Finite(r.I[k]);
    return total;
}

// The effective potential E = Ep + Ru I(E) of the step, by Newton's method safeguarded by
// bisection on a bracket; E - Ep - Ru I(E) rises with E wherever the current falls with E.
void SolveWithResistance(RefinedRun& r, double Ep, double ru) {
    if (!(ru > 0)) {
        r.Itotal = SurfaceAt(r, Ep);
        return;
    }
    auto f = [&](double E) { return E - Ep - ru * SurfaceAt(r, E); };
    double E = Ep + ru * r.Itotal;
    double fE = f(E);
    // Bracket the root, widening a bounded number of times.
    double step = std::max(1e-3, std::fabs(fE));
    double lo = E, hi = E, flo = fE, fhi = fE;
    for (int k = 0; k < 60 && flo > 0; ++k) {
        lo -= step;
        flo = f(lo);
        step *= 2;
    }
    step = std::max(1e-3, std::fabs(fE));
    for (int k = 0; k < 60 && fhi < 0; ++k) {
        hi += step;
        fhi = f(hi);
        step *= 2;
    }
    if (flo > 0 || fhi < 0) Raise(kOverflow);
    for (int k = 0; k < 100 && hi - lo > 1e-10; ++k) {
        const double d = 1e-7;
        const double slope = (f(E + d) - fE) / d;
        double next = slope > 0 ? E - fE / slope : 0.5 * (lo + hi);
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        E = next;
        fE = f(E);
        if (fE > 0)
            hi = E;
        else
            lo = E;
        if (std::fabs(fE) < 1e-12) break;
    }
    r.Itotal = SurfaceAt(r, E);
}

// One step of h seconds ending at programmed potential Ep by the backward differentiation
// formula through the present history (implicit Euler right after a restart, then orders 2 and
// 3): c' at the new time is the derivative of the polynomial through the new and the known
// levels, sum_i a_i c_i, so the step solves c + heff (fluxes + chemistry) = hat with
// heff = 1 / a_0 and hat = -sum_{i>0} a_i c_i / a_0. The polynomial through the known levels
// alone, taken to the new time, is the predictor about which the second-order chemistry is
// linearised.
void Step(RefinedRun& r, double h, double Ep, double ru) {
    const int k = std::min(kOrder, r.Known);
    const double tau[4] = {r.tNow + h, r.tNow, r.tPast1, r.tPast2};
    const std::vector<double>* level[4] = {nullptr, &r.c, &r.past1, &r.past2};
    double a0 = 0, weight[4] = {}, extrapolate[4] = {};
    for (int i = 1; i <= k; ++i) a0 += 1 / (tau[0] - tau[i]);
    for (int i = 1; i <= k; ++i) {
        double num = 1, den = tau[i] - tau[0], lag = 1;
        for (int j = 1; j <= k; ++j) {
            if (j == i) continue;
            num *= tau[0] - tau[j];
            den *= tau[i] - tau[j];
            lag *= (tau[0] - tau[j]) / (tau[i] - tau[j]);
        }
        weight[i] = -(num / den) / a0;
        extrapolate[i] = lag;
    }
    const double heff = 1 / a0;
    const size_t total = static_cast<size_t>(r.N + 1) * static_cast<size_t>(r.M);
    for (size_t u = 0; u < total; ++u) {
        double hv = 0, sv = 0;
        for (int i = 1; i <= k; ++i) {
            const double v = (*level[i])[u];
            hv += weight[i] * v;
            sv += extrapolate[i] * v;
        }
        r.hat[u] = hv;
        r.star[u] = sv;
    }
    if (r.Nonlinear) LinearisePredictor(r);
    BlockTridiagonal& sys = InteriorSystem(r, heff);
    const size_t M = static_cast<size_t>(r.M);
    for (int j = 1; j <= r.N; ++j) {
        double* out = &r.rhs[static_cast<size_t>(j - 1) * M];
        const double* hj = At(r.hat, r, j);
        for (size_t u = 0; u < M; ++u) out[u] = hj[u];
        if (r.Nonlinear)
            for (int i = 0; i < r.W; ++i) {
                const size_t node = static_cast<size_t>(j) * r.W + i;
                for (int s = 0; s < r.NS; ++s)
                    out[static_cast<size_t>(i) * r.NS + s] += heff * r.Rstar[node * 6 + s];
            }
    }
    sys.Reduce(r.rhs.data(), At(r.c, r, r.N + 1));
    sys.FirstLevel(r.y.data(), r.Z.data());
    SurfaceFixedPart(r, heff);
    // The present state becomes history; the oldest buffer takes the new state.
    r.past2.swap(r.past1);
    r.past1.swap(r.c);
    std::copy(At(r.past1, r, r.N + 1), At(r.past1, r, r.N + 1) + M, At(r.c, r, r.N + 1));
    r.tPast2 = r.tPast1;
    r.tPast1 = r.tNow;
    r.tNow = tau[0];
    SolveWithResistance(r, Ep, ru);
    sys.BackSubstitute(At(r.c, r, 0), At(r.c, r, 1));
    r.Known = std::min(r.Known + 1, kOrder);
}

// Steps of a segment: after a jump, growing from kFirstStep of it by kStepGrowth; along a ramp,
// equal steps of at most kRampStep (in nF/RT) of potential.
void StepSizes(const RefinedRun& r, const Segment& seg, std::vector<double>& steps) {
    steps.clear();
    if (!(seg.Duration > 0)) return;
    if (seg.Jump) {
        double h = kFirstStep * seg.Duration, sum = 0;
        while (sum < seg.Duration * (1 - 1e-12) && steps.size() < 200) {
            steps.push_back(h);
            sum += h;
            h = std::min(h * kStepGrowth, kMaxStepFrac * seg.Duration);
        }
        const double scale = seg.Duration / sum;
        for (double& s : steps) s *= scale;
        return;
    }
    const double span = std::fabs(seg.To - seg.From) * r.MaxN * r.m.FRT / kRampStep;
    const int n = static_cast<int>(std::min<double>(kMaxRampSteps, std::max(1.0, std::ceil(span))));
    steps.assign(static_cast<size_t>(n), seg.Duration / n);
}

void RunSegment(RefinedRun& r, const Segment& seg, double ru, std::vector<double>& steps) {
    StepSizes(r, seg, steps);
    if (seg.Jump) r.Known = 1;
    double t = 0;
    for (double h : steps) {
        t += h;
        const double frac = std::min(1.0, t / seg.Duration);
        Step(r, h, seg.From + (seg.To - seg.From) * frac, ru);
    }
}

void StoreSurface(const RefinedRun& r, Results& res, int i) {
    const double* c0 = &r.c[0];
    for (int s = 0; s < r.NS; ++s) {
        double mean = 0;
        for (int k = 0; k < r.W; ++k)
            mean += r.Mesh.ElectrodeShare[static_cast<size_t>(k)] *
                    c0[static_cast<size_t>(k) * r.NS + s];
        res.Csurf(i, s + 1) = Finite(mean * r.Cmax);
    }
}

void RunPoints(RefinedRun& r, double ru, const Array1<kRows>& X, int noOfData, Results& res) {
    const ParameterModel& m = r.m;
    std::vector<double> steps;
    const double v = r.Technique == 1 ? Div(std::fabs(m.Estep), m.tdrop) : 0.0;  // V/s
    if (r.Technique == 1 && !(v > 0)) Raise(kDivisionByZero);
    const double hold = (r.Technique == 3 || r.Technique == 4) ? HoldTime(m) : 0.0;
    FillBulk(r);
    for (int i = 1; i <= noOfData; ++i) {
        const double x = X(i);
        Vector6 before{};
        switch (r.Technique) {
            case 1: {
                // The ramp from the previous point (one step before X(1) for the first).
                double from = i > 1 ? X(i - 1) : x - (noOfData > 1 ? X(2) - x : 0.0);
                Segment seg{i > 1 ? Div(std::fabs(x - from), v) : m.tdrop.Value, from, x, i == 1};
                RunSegment(r, seg, ru, steps);
                break;
            }
            case 2:
                FillBulk(r);
                RunSegment(r, Segment{m.tdrop, x, x, true}, ru, steps);
                break;
            case 3:
                FillBulk(r);
                RunSegment(r, Segment{hold, m.Estart, m.Estart, true}, ru, steps);
                RunSegment(r, Segment{m.tpulse, x + m.Epulse, x + m.Epulse, true}, ru, steps);
                break;
            case 4: {
                const double sigma = i > res.PointsPerSweep ? -1.0 : 1.0;  // reversed after a sweep
                FillBulk(r);
                RunSegment(r, Segment{hold, x, x, true}, ru, steps);
                before = r.I;
                RunSegment(r, Segment{m.tpulse, x + sigma * m.Epulse, x + sigma * m.Epulse, true},
                           ru, steps);
                break;
            }
            default:
                RunSegment(r, Segment{m.tpulse, x - m.Epulse, x - m.Epulse, true}, ru, steps);
                before = r.I;
                RunSegment(r, Segment{m.tpulse, x + m.Epulse, x + m.Epulse, true}, ru, steps);
                break;
        }
        for (int k = 1; k <= r.NCharge; ++k) res.Icomp(i, k) = Finite(r.I[k] - before[k]);
        StoreSurface(r, res, i);
    }
}

}  // namespace

DigitalOutcome RefinedDigitalSimulation(const ParameterModel& m, double ru, const Array1<kRows>& X,
                                        int noOfData, Results& res) {
    DigitalOutcome outcome;
    auto run = std::make_unique<RefinedRun>(m);
    try {
        if (noOfData < 1 || noOfData > kMaxPoints) Raise(kSubscriptOutOfRange);
        CopyModel(*run);
        ReadChemistry(*run);
        BuildMesh(*run, noOfData);
        RunPoints(*run, ru, X, noOfData, res);
    } catch (const RuntimeError& e) {
        outcome.Error = e.Description();
    }
    outcome.SingularMatrix = run->Singular;
    return outcome;
}

}  // namespace zemra
