#include "simulation/RefinedMesh.h"

#include <algorithm>
#include <cmath>

#include "platform/RuntimeError.h"

namespace zemra {

namespace {

// Integral of the relative face area (1 + x / r)^(shape - 1) from a to b, cm: the volume of the
// shell between distances a and b from the electrode per unit electrode area. Written out as
// polynomials so that a large radius loses no digits.
double ShellVolume(int shape, double radius, double a, double b) {
    if (shape == 1) return b - a;
    const double r = radius;
    if (shape == 2) return (b - a) + (b * b - a * a) / (2 * r);
    return (b - a) + (b * b - a * a) / r + (b * b * b - a * a * a) / (3 * r * r);
}

// Conductance between nodes at distances a < b from the electrode: the steady flow between two
// concentric surfaces per unit concentration difference and per unit electrode area, exact for
// the steady profiles (linear, logarithmic, 1/r) of each shape: 1/(b - a),
// 1/(r ln((r + b)/(r + a))) and (r + a)(r + b)/(r^2 (b - a)).
double Conductance(int shape, double radius, double a, double b) {
    if (shape == 1) return 1 / (b - a);
    if (shape == 2) return 1 / (radius * std::log1p((b - a) / (radius + a)));
    return (1 + a / radius) * (1 + b / radius) / (b - a);
}

// The face between nodes j and j + 1 where the map x(y) = h0 (q^y - 1) / (q - 1) puts it, at
// y = j + 1/2: central differences on the uniform y grid, which keep second order on the
// expanding grid whatever q (faces half way in x would lose it as q grows).
double Face(double h0, double q, int j) {
    return h0 * (std::pow(q, j + 0.5) - 1) / (q - 1);
}

}  // namespace

RefinedMesh ExpandingMesh(int shape, double radius, double h0, double beta, double extent) {
    if (shape != 1 && !(radius > 0)) Raise(kDivisionByZero);
    if (!(h0 > 0) || !(extent > 0) || !(beta > 0)) Raise(kInvalidCall);
    const double q = std::exp(beta);
    // x(j) >= extent for j = ln(1 + extent (q - 1) / h0) / beta; one interior level at least.
    const double levels = std::ceil(Log(1 + Div(extent * (q - 1), h0)) / beta) - 1;
    if (!(levels < kMaxMeshLevels)) Raise(kOverflow);
    RefinedMesh mesh;
    mesh.Levels = std::max(1, static_cast<int>(levels));
    mesh.Width = 1;
    const int n = mesh.Levels;
    std::vector<double> x(static_cast<size_t>(n) + 2);
    for (int j = 0; j <= n + 1; ++j)
        x[static_cast<size_t>(j)] = h0 * (std::pow(q, j) - 1) / (q - 1);
    mesh.Volume.assign(static_cast<size_t>(n) + 1, 0.0);
    mesh.UpCond.assign(static_cast<size_t>(n) + 1, 0.0);
    mesh.SideCond.assign(static_cast<size_t>(n) + 1, 0.0);
    for (int j = 0; j <= n; ++j) {
        const size_t u = static_cast<size_t>(j);
        const double inner = j == 0 ? 0.0 : Face(h0, q, j - 1);
        const double outer = Face(h0, q, j);
        mesh.Volume[u] = ShellVolume(shape, radius, inner, outer);
        mesh.UpCond[u] = Conductance(shape, radius, x[u], x[u + 1]);
    }
    mesh.ElectrodeShare.assign(1, 1.0);
    mesh.FirstSpacing = x[1];
    return mesh;
}

}  // namespace zemra
