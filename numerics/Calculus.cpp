#include "numerics/Calculus.h"

#include <cmath>
#include <vector>

#include "numerics/Constants.h"
#include "platform/RuntimeError.h"

namespace zemra {
namespace {

// The point count must address rows 1..4000.
void CheckCount(int noOfData) {
    if (noOfData < 1 || noOfData > kMaxPoints) Raise(kSubscriptOutOfRange);
}

// The grid step |X(2) - X(1)|. A single point has no step (X(2) is not part of its curve), so
// it counts as 0 there: its derivative and integral are 0.
double GridStep(const Array1<kRows>& X, int noOfData) {
    return noOfData < 2 ? 0.0 : std::fabs(X(2) - X(1));
}

// w(k) = sqrt(k+1) - 2 sqrt(k) + sqrt(k-1), the second difference of sqrt(k), written as the
// difference of two reciprocal sums so that it keeps its precision when k is large.
double SemiWeight(int k) {
    const double a = std::sqrt(static_cast<double>(k + 1));
    const double b = std::sqrt(static_cast<double>(k));
    const double c = std::sqrt(static_cast<double>(k - 1));
    return 1 / (a + b) - 1 / (b + c);
}

// sum over j = 0..count-1 of a[j] * b[j], with four running sums so the multiply-adds overlap.
double Dot(const double* a, const double* b, int count) {
    double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    int j = 0;
    for (; j + 4 <= count; j += 4) {
        s0 += a[j] * b[j];
        s1 += a[j + 1] * b[j + 1];
        s2 += a[j + 2] * b[j + 2];
        s3 += a[j + 3] * b[j + 3];
    }
    for (; j < count; ++j) s0 += a[j] * b[j];
    return (s0 + s1) + (s2 + s3);
}

}  // namespace

void Differentiate(const Array1<kRows>& X, Column v, int noOfData) {
    CheckCount(noOfData);
    const int N = noOfData;
    if (N < 2) {
        v[1] = 0;  // one point carries no slope
        return;
    }
    const double h = GridStep(X, N);
    std::vector<double> d(kRows, 0.0);
    d[1] = Div(v[2] - v[1], h);
    d[N] = Div(v[N] - v[N - 1], h);
    for (int i = 2; i <= N - 1; ++i) d[i] = Div(v[i + 1] - v[i - 1], 2 * h);
    for (int i = 1; i <= N; ++i) v[i] = d[i];
}

void Integrate(const Array1<kRows>& X, Column v, Column icomp, int noOfData) {
    CheckCount(noOfData);
    const double h = GridStep(X, noOfData);
    // Two points at one potential give no grid step: the integral would be all zeros and the
    // curve lost, so the curve is kept, as for the derivative.
    if (noOfData >= 2 && h == 0) Raise(kDivisionByZero);
    double s = 0;
    for (int i = 1; i <= noOfData; ++i) {
        s += h * v[i];  // the first point already contributes h y(1)
        icomp[i] = s;
    }
    for (int i = 1; i <= noOfData; ++i) v[i] = icomp[i];
}

void SemiDifferentiate(const Array1<kRows>& X, Column v, int noOfData) {
    CheckCount(noOfData);
    const int N = noOfData;
    std::vector<double> T(kRows, 0.0);
    if (N >= 4) {
        const double K = 0.25 * Sqrt(Div(1, kPi * GridStep(X, N)));
        // Baseline removal: D(j) = y(j) - y(1); D(1) = 0 drops out of every sum.
        std::vector<double> D(kRows, 0.0);
        for (int i = 1; i <= N; ++i) D[i] = v[i] - v[1];
        // The weights depend only on the distance k = i - j; stored backwards, R[N - k] = w(k),
        // so that the sum for point i runs forward through both arrays.
        std::vector<double> R(kRows, 0.0);
        for (int k = 1; k <= N - 2; ++k) R[N - k] = SemiWeight(k);
        for (int i = 3; i <= N - 1; ++i) {
            // j = 2..i-1 pairs with w(i - j) = R[N - i + j].
            const double s = Dot(&R[N - i + 2], &D[2], i - 2);
            T[i] = K * (s + D[i]);  // the point itself enters with weight 1
        }
    }
    T[N] = T[N - 1];
    T[1] = T[3];
    T[2] = T[3];
    const double baseline = v[1];
    for (int i = 1; i <= N; ++i) v[i] = T[i] + baseline;
}

void SemiIntegrate(const Array1<kRows>& X, Column v, Column icomp, int noOfData) {
    Integrate(X, v, icomp, noOfData);  // fails before writing when there is no grid step
    SemiDifferentiate(X, v, noOfData);
}

}  // namespace zemra
