#include "numerics/Statistics.h"

#include <cmath>
#include <limits>

namespace zemra {
namespace {

// Continued fraction of the incomplete beta function, by the modified Lentz method.
double BetaContinuedFraction(double x, double a, double b) {
    constexpr double kTiny = 1e-300;
    constexpr double kEps = 1e-16;
    const double qab = a + b, qap = a + 1, qam = a - 1;
    double c = 1, d = 1 - qab * x / qap;
    if (std::fabs(d) < kTiny) d = kTiny;
    d = 1 / d;
    double h = d;
    for (int m = 1; m <= 10000; ++m) {
        const double m2 = 2.0 * m;
        double aa = m * (b - m) * x / ((qam + m2) * (a + m2));
        d = 1 + aa * d;
        c = 1 + aa / c;
        if (std::fabs(d) < kTiny) d = kTiny;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1 / d;
        h *= d * c;
        aa = -(a + m) * (qab + m) * x / ((a + m2) * (qap + m2));
        d = 1 + aa * d;
        c = 1 + aa / c;
        if (std::fabs(d) < kTiny) d = kTiny;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1 / d;
        const double del = d * c;
        h *= del;
        if (std::fabs(del - 1) < kEps) break;
    }
    return h;
}

}  // namespace

double RegularizedBeta(double x, double a, double b) {
    if (!(x > 0)) return 0;
    if (!(x < 1)) return 1;
    const double front = std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) +
                                  a * std::log(x) + b * std::log1p(-x));
    // The fraction converges fast below the mean a / (a + b); above it the symmetry
    // I_x(a, b) = 1 - I_{1-x}(b, a) is used.
    if (x < (a + 1) / (a + b + 2)) return front * BetaContinuedFraction(x, a, b) / a;
    return 1 - front * BetaContinuedFraction(1 - x, b, a) / b;
}

double StudentTCdf(double t, double nu) {
    if (std::isnan(t) || !(nu > 0)) return std::numeric_limits<double>::quiet_NaN();
    const double tail = 0.5 * RegularizedBeta(nu / (nu + t * t), nu / 2, 0.5);
    return t > 0 ? 1 - tail : tail;
}

double StudentTQuantile(double p, double nu) {
    if (!(p > 0 && p < 1) || !(nu > 0)) return std::numeric_limits<double>::quiet_NaN();
    if (p < 0.5) return -StudentTQuantile(1 - p, nu);
    double lo = 0, hi = 1;
    while (StudentTCdf(hi, nu) < p && hi < 1e300) hi *= 2;
    for (int i = 0; i < 2000 && hi - lo > 1e-15 * hi; ++i) {
        const double mid = 0.5 * (lo + hi);
        (StudentTCdf(mid, nu) < p ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

}  // namespace zemra
