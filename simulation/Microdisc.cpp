#include "simulation/Microdisc.h"

#include <algorithm>
#include <cmath>

#include "numerics/Constants.h"
#include "platform/RuntimeError.h"

namespace zemra {

namespace {

// The levels in Gamma: 0, then spacings growing by q from `first` up to `maxSpacing`, then
// uniform; the last interior level keeps at least half a spacing from Gamma = 1.
std::vector<double> GammaLevels(double first, double q, double maxSpacing) {
    std::vector<double> g{0.0};
    double step = first;
    while (g.back() + 1.5 * std::min(step, maxSpacing) < 1.0) {
        g.push_back(g.back() + std::min(step, maxSpacing));
        step *= q;
        if (static_cast<int>(g.size()) > kMaxMeshLevels) Raise(kOverflow);
    }
    g.push_back(1.0);  // the bulk at infinity
    return g;
}

double Xi(double gamma) {
    return std::tan(kPi / 2 * gamma);
}

}  // namespace

RefinedMesh MicrodiscMesh(double radius, double h0, double beta, double maxSpacing, int rings) {
    const double a = radius;
    if (!(a > 0)) Raise(kDivisionByZero);
    if (!(h0 > 0) || !(beta > 0) || rings < 1) Raise(kInvalidCall);
    // Above the disc centre (eta = 1) the height is z = a xi ~ a pi Gamma / 2.
    const double first = std::min(Div(2 * h0, kPi * a), maxSpacing);
    const std::vector<double> gamma = GammaLevels(first, std::exp(beta), maxSpacing);
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
        const double lo = j == 0 ? 0.0 : Xi((gamma[u - 1] + gamma[u]) / 2);
        const double hi = Xi((gamma[u] + gamma[u + 1]) / 2);
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
