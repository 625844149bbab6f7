#include "simulation/Microdisc.h"

#include <algorithm>
#include <cmath>

#include "numerics/Constants.h"
#include "platform/RuntimeError.h"

namespace zemra {

namespace {

// The levels in Gamma: xi(j) = xi0 (q^j - 1) / (q - 1) up to the first beyond xiMax, mapped by
// Gamma = (2/pi) arctan xi, then Gamma = 1 (infinity, the bulk).
std::vector<double> GammaLevels(double xi0, double q, double xiMax) {
    std::vector<double> g;
    for (int j = 0;; ++j) {
        const double xi = xi0 * (std::pow(q, j) - 1) / (q - 1);
        g.push_back(2 / kPi * std::atan(xi));
        if (xi >= xiMax && j >= 1) break;
        if (j > kMaxMeshLevels) Raise(kOverflow);
    }
    g.push_back(1.0);
    return g;
}

double Xi(double gamma) {
    return std::tan(kPi / 2 * gamma);
}

}  // namespace

RefinedMesh MicrodiscMesh(double radius, double h0, double beta, double extent, int rings) {
    const double a = radius;
    if (!(a > 0)) Raise(kDivisionByZero);
    if (!(h0 > 0) || !(beta > 0) || rings < 1) Raise(kInvalidCall);
    // Above the disc centre (eta = 1) the height is z = a xi.
    const double xi0 = Div(h0, a), q = std::exp(beta);
    const std::vector<double> gamma = GammaLevels(xi0, q, Div(extent, a));
    const int n = static_cast<int>(gamma.size()) - 2;
    std::vector<double> edge(static_cast<size_t>(rings) + 1), mid(static_cast<size_t>(rings));
    for (int k = 0; k <= rings; ++k)
        edge[static_cast<size_t>(k)] = 1 - std::cos(kPi * k / (2.0 * rings));
    edge[0] = 0;
    edge[static_cast<size_t>(rings)] = 1;
    for (int k = 0; k < rings; ++k)
        mid[static_cast<size_t>(k)] =
            (edge[static_cast<size_t>(k)] + edge[static_cast<size_t>(k) + 1]) / 2;

    RefinedMesh mesh;
    mesh.Levels = std::max(1, n);
    mesh.Width = rings;
    const size_t nodes = static_cast<size_t>(n + 1) * static_cast<size_t>(rings);
    mesh.Volume.assign(nodes, 0.0);
    mesh.UpCond.assign(nodes, 0.0);
    mesh.SideCond.assign(nodes, 0.0);
    mesh.ElectrodeShare.assign(static_cast<size_t>(rings), 0.0);
    for (int j = 0; j <= n; ++j) {
        const size_t u = static_cast<size_t>(j);
        // Faces where the map puts the half-integer levels (as on the one-dimensional grid).
        const double lo = j == 0 ? 0.0 : xi0 * (std::pow(q, j - 0.5) - 1) / (q - 1);
        const double hi = xi0 * (std::pow(q, j + 0.5) - 1) / (q - 1);
        const double dGamma = gamma[u + 1] - gamma[u];
        for (int i = 0; i < rings; ++i) {
            const size_t k = static_cast<size_t>(i);
            const double e0 = edge[k], e1 = edge[k + 1], dEta = e1 - e0;
            const size_t p = static_cast<size_t>(mesh.Node(j, i));
            // Exact integrals over the cell, divided by pi a^2: the volume
            // 2 pi a^3 (xi^2 + eta^2) dxi deta, the Gamma face 4 a dEta over the node distance,
            // the eta face 2 pi a (1 - eta^2) dxi over the ring distance.
            mesh.Volume[p] =
                2 * a *
                ((hi * hi * hi - lo * lo * lo) * dEta + (hi - lo) * (e1 * e1 * e1 - e0 * e0 * e0)) /
                3;
            mesh.UpCond[p] = 4 * dEta / (kPi * a * dGamma);
            if (i + 1 < rings)
                mesh.SideCond[p] = 2 * (1 - e1 * e1) * (hi - lo) / (a * (mid[k + 1] - mid[k]));
        }
    }
    for (int i = 0; i < rings; ++i) {
        const size_t k = static_cast<size_t>(i);
        mesh.ElectrodeShare[k] = edge[k + 1] * edge[k + 1] - edge[k] * edge[k];
    }
    mesh.FirstSpacing = a * Xi(gamma[1]);
    return mesh;
}

}  // namespace zemra
