#include "curves/CycleResampling.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

#include "platform/NumberText.h"
#include "platform/RuntimeError.h"

namespace zemra {
namespace {

// The potential as the sheet's text box will hold it once written in the general number
// format, so that the staircase built here is the one the simulation builds from the sheet.
double AsTyped(double v) {
    return StrictNumber(GeneralNumber(v)).value_or(v);
}

// Points of a sweep sorted by potential, for interpolation; several sweeps of one direction
// may be joined (a cycle turned to start at its vertex).
struct Branch {
    std::vector<std::pair<double, double>> P;
    double Lo = 0, Hi = 0;
};

Branch MakeBranch(const std::vector<double>& E, const std::vector<double>& I,
                  const std::vector<Sweep>& parts) {
    Branch b;
    for (const Sweep& s : parts)
        for (size_t k = s.Begin; k <= s.End; ++k) b.P.emplace_back(E[k], I[k]);
    std::stable_sort(b.P.begin(), b.P.end(),
                     [](const auto& a, const auto& c) { return a.first < c.first; });
    b.Lo = b.P.front().first;
    b.Hi = b.P.back().first;
    return b;
}

// Linear interpolation within the branch; a potential a rounding beyond its ends takes the
// end value.
double Interpolate(const Branch& b, double x) {
    const auto& p = b.P;
    if (x <= p.front().first) return p.front().second;
    if (x >= p.back().first) return p.back().second;
    const auto hi = std::upper_bound(p.begin(), p.end(), x,
                                     [](double v, const auto& q) { return v < q.first; });
    const auto lo = hi - 1;
    const double dx = hi->first - lo->first;
    if (!(dx > 0)) return 0.5 * (lo->second + hi->second);
    return lo->second + (hi->second - lo->second) * (x - lo->first) / dx;
}

// The sweeps of a cycle as the sheet's program has them: forward from E start to the vertex,
// reverse back. A cycle that starts between its vertices (E init, vertex 1, vertex 2, back to
// E init) is turned to run from vertex 1: its last and first sweeps join into one.
std::pair<std::vector<Sweep>, std::vector<Sweep>> ForwardAndReverse(const std::vector<Sweep>& s) {
    if (s.size() == 1) return {{s[0]}, {}};
    if (s.size() == 2) return {{s[0]}, {s[1]}};
    if (s.size() == 3 && s[2].Direction == s[0].Direction) return {{s[1]}, {s[2], s[0]}};
    // More sweeps in one cycle: its first whole vertex-to-vertex pair.
    return {{s[1]}, {s[2]}};
}

double Range(const Branch& b) {
    return b.Hi - b.Lo;
}

// Grid step: the median step to three digits, widened until `pointsFor(step)` fits.
template <class Count>
double GridStep(double median, double span, int maxPoints, Count pointsFor) {
    if (!std::isfinite(span)) Raise("potentials out of range");
    double step = ThreeDigits(median);
    if (!(step > 0)) Raise("the potential does not change");
    // Each round widens by at least 1 %, from span / maxPoints on: a few hundred rounds at most.
    for (int round = 0; pointsFor(step) > maxPoints; ++round) {
        if (round > 2000) Raise("more than " + std::to_string(maxPoints) + " data points");
        step = ThreeDigits(std::max(step * 1.01, span / maxPoints), true);
    }
    return step;
}

}  // namespace

double ThreeDigits(double x, bool up) {
    if (!(x > 0) || !std::isfinite(x)) return x;
    // Scaled by an exact power of ten, so that 0.00123 comes out as the double nearest 0.00123.
    const int e = static_cast<int>(std::floor(std::log10(x))) - 2;
    const double p = std::pow(10.0, std::abs(e));
    if (!std::isfinite(p)) return x;  // far below the normal doubles: kept as it is
    const double m = e < 0 ? x * p : x / p;
    const double r = up ? std::ceil(m - 1e-9) : std::round(m);
    return e < 0 ? r / p : r * p;
}

double MedianStep(const std::vector<double>& E) {
    std::vector<double> d;
    for (size_t k = 1; k < E.size(); ++k)
        if (const double s = std::fabs(E[k] - E[k - 1]); s > 0 && std::isfinite(s)) d.push_back(s);
    if (d.empty()) return 0;
    std::nth_element(d.begin(), d.begin() + static_cast<long>(d.size() / 2), d.end());
    return d[d.size() / 2];
}

std::vector<Sweep> FindSweeps(const std::vector<double>& E) {
    std::vector<Sweep> sweeps;
    if (E.empty()) return sweeps;
    const auto [lo, hi] = std::minmax_element(E.begin(), E.end());
    const double band = std::max(3 * MedianStep(E), 0.01 * (*hi - *lo));
    Sweep cur{0, 0, 0};
    size_t extreme = 0;
    for (size_t k = 1; k < E.size(); ++k) {
        if (cur.Direction == 0) {
            // The first move beyond the band sets the direction; the extreme so far is kept.
            if (E[k] > E[extreme] && E[k] - E[0] > band) cur.Direction = 1;
            if (E[k] < E[extreme] && E[0] - E[k] > band) cur.Direction = -1;
            if (cur.Direction == 0) continue;
            extreme = k;
            continue;
        }
        const double ahead = (E[k] - E[extreme]) * cur.Direction;
        if (ahead > 0) {
            extreme = k;
        } else if (-ahead > band) {
            cur.End = extreme;
            sweeps.push_back(cur);
            cur = Sweep{extreme, extreme, -cur.Direction};
            extreme = k;
        }
    }
    cur.End = E.size() - 1;
    sweeps.push_back(cur);
    return sweeps;
}

Cycles FindCycles(const std::vector<double>& E, const std::vector<int>& marker) {
    Cycles c;
    const std::vector<Sweep> sweeps = FindSweeps(E);
    if (marker.size() == E.size() && !E.empty()) {
        for (size_t k = 0; k < marker.size(); ++k)
            if (k == 0 || marker[k] != marker[k - 1])
                c.Ranges.push_back({k, k});
            else
                c.Ranges.back().second = k;
        const size_t groups = c.Ranges.size();
        if ((groups >= 2 && groups <= sweeps.size()) || (groups == 1 && sweeps.size() <= 3)) {
            c.FromMarker = true;
            return c;
        }
        c.Ranges.clear();
    }
    // Without a useful marker the sweeps are paired: forward and back make one cycle.
    for (size_t s = 0; s < sweeps.size(); s += 2)
        c.Ranges.push_back({sweeps[s].Begin, sweeps[std::min(s + 1, sweeps.size() - 1)].End});
    return c;
}

bool IsCompleteCycle(const std::vector<double>& E) {
    if (E.size() < 2) return false;
    const std::vector<Sweep> s = FindSweeps(E);
    if (s.size() == 1) return s[0].Direction != 0;
    const std::vector<double> none(E.size(), 0);
    const auto [fwd, rev] = ForwardAndReverse(s);
    const Branch f = MakeBranch(E, none, fwd), r = MakeBranch(E, none, rev);
    const double common = std::min(f.Hi, r.Hi) - std::max(f.Lo, r.Lo);
    // One step of slack: the ends of two sweeps of a staircase may differ by a step.
    return common > 0 && common >= 0.9 * std::max(Range(f), Range(r)) - MedianStep(E);
}

Resampled ResampleCycle(const std::vector<double>& E, const std::vector<double>& I, int maxPoints) {
    if (E.size() < 2 || I.size() != E.size()) Raise("fewer than 2 data points in the cycle");
    const std::vector<Sweep> sweeps = FindSweeps(E);
    const auto [fwdParts, revParts] = ForwardAndReverse(sweeps);
    const Branch fwd = MakeBranch(E, I, fwdParts);
    const int dir =
        fwdParts[0].Direction != 0 ? fwdParts[0].Direction : (E.back() >= E.front() ? 1 : -1);
    const double vertex = dir > 0 ? fwd.Hi : fwd.Lo;
    double start = dir > 0 ? fwd.Lo : fwd.Hi;
    Branch rev;
    const bool cycle = !revParts.empty();
    if (cycle) {
        rev = MakeBranch(E, I, revParts);
        // Both sweeps must cover the program: E start is the end nearer the vertex.
        start = dir > 0 ? std::max(fwd.Lo, rev.Lo) : std::min(fwd.Hi, rev.Hi);
    }
    const double span = std::fabs(vertex - start);
    const int sweepsInProgram = cycle ? 2 : 1;
    const auto points = [&](double step) {
        return sweepsInProgram * (static_cast<int>(std::min(span / step + 1e-9, 1e7)) + 1);
    };
    Resampled r;
    r.Estep = AsTyped(GridStep(MedianStep(E), span, maxPoints, points));
    r.Estart = AsTyped(start);
    const int steps = static_cast<int>(std::floor(span / r.Estep + 1e-9));
    if (steps < 1) Raise("the cycle spans less than one potential step");
    r.Eend = AsTyped(r.Estart + dir * steps * r.Estep);
    r.ScanMode = cycle ? 1 : 0;
    const int n = steps + 1;
    for (int i = 1; i <= n; ++i) r.X.push_back(r.Estart + (i - 1) * r.Estep * dir);
    for (const double x : r.X) r.Y.push_back(Interpolate(fwd, x));
    if (cycle)
        for (int i = n; i >= 1; --i) {
            r.X.push_back(r.X[static_cast<size_t>(i - 1)]);
            r.Y.push_back(Interpolate(rev, r.X.back()));
        }
    return r;
}

Resampled ResampleAll(const std::vector<double>& E, const std::vector<double>& I, int maxPoints) {
    if (E.size() < 2 || I.size() != E.size()) Raise("fewer than 2 data points");
    const std::vector<Sweep> sweeps = FindSweeps(E);
    const double e0 = AsTyped(E[0]);
    // Lattice indices m of e0 + m * step inside each sweep, in the sweep's direction.
    const auto lattice = [&](const Sweep& s, double step) {
        const auto [lo, hi] = std::minmax_element(E.begin() + static_cast<long>(s.Begin),
                                                  E.begin() + static_cast<long>(s.End) + 1);
        const double a = std::ceil((*lo - e0) / step - 1e-9),
                     b = std::floor((*hi - e0) / step + 1e-9);
        return std::make_pair(std::max(a, -1e7), std::min(b, 1e7));
    };
    const auto points = [&](double step) {
        double total = 0;
        for (const Sweep& s : sweeps) {
            const auto [a, b] = lattice(s, step);
            total += std::max(0.0, b - a + 1);
        }
        return static_cast<int>(std::min(total, 1e8));
    };
    const auto [lo, hi] = std::minmax_element(E.begin(), E.end());
    Resampled r;
    r.Estep = AsTyped(GridStep(MedianStep(E), (*hi - *lo) * static_cast<double>(sweeps.size()),
                               maxPoints, points));
    r.Estart = e0;
    for (const Sweep& s : sweeps) {
        const Branch b = MakeBranch(E, I, {s});
        const auto [a, m] = lattice(s, r.Estep);
        const int d = s.Direction >= 0 ? 1 : -1;
        for (double k = d > 0 ? a : m; d > 0 ? k <= m : k >= a; k += d) {
            r.X.push_back(e0 + k * r.Estep);
            r.Y.push_back(Interpolate(b, r.X.back()));
        }
    }
    const auto [a0, m0] = lattice(sweeps[0], r.Estep);
    r.Eend = AsTyped(e0 + (sweeps[0].Direction >= 0 ? m0 : a0) * r.Estep);
    r.ScanMode = sweeps.size() == 1 ? 0 : sweeps.size() == 2 ? 1 : sweeps.size() == 4 ? 2 : -1;
    if (r.X.size() < 2) Raise("fewer than 2 data points");
    return r;
}

double ScanRateFromTime(const std::vector<double>& E, const std::vector<double>& T) {
    if (T.size() != E.size() || T.size() < 2) return 0;
    double travelled = 0, taken = 0;
    for (size_t k = 1; k < E.size(); ++k) {
        const double dt = T[k] - T[k - 1];
        if (!(dt > 0) || !std::isfinite(dt)) continue;
        travelled += std::fabs(E[k] - E[k - 1]);
        taken += dt;
    }
    return taken > 0 && std::isfinite(travelled) ? ThreeDigits(travelled / taken) : 0;
}

}  // namespace zemra
