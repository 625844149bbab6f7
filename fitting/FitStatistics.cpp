#include "fitting/FitStatistics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "numerics/Statistics.h"

namespace zemra {
namespace {

using Square = std::array<std::array<double, kMaxFitParameters + 1>, kMaxFitParameters + 1>;

// Inverse of the symmetric positive definite matrix a(1..n, 1..n) in place, by Cholesky
// factorisation a = L L' and inv = L'^-1 L^-1; false (a unchanged in meaning) when a pivot is
// not above 1e-12 of its diagonal, i.e. the columns are linearly dependent to working precision.
bool InvertSymmetric(Square& a, int n) {
    Square l{};
    for (int j = 1; j <= n; ++j) {
        double d = a[j][j];
        for (int k = 1; k < j; ++k) d -= l[j][k] * l[j][k];
        if (!(d > 1e-12 * a[j][j])) return false;
        l[j][j] = std::sqrt(d);
        for (int i = j + 1; i <= n; ++i) {
            double s = a[i][j];
            for (int k = 1; k < j; ++k) s -= l[i][k] * l[j][k];
            l[i][j] = s / l[j][j];
        }
    }
    Square li{};  // L^-1, lower triangular, by forward substitution
    for (int j = 1; j <= n; ++j) {
        li[j][j] = 1 / l[j][j];
        for (int i = j + 1; i <= n; ++i) {
            double s = 0;
            for (int k = j; k < i; ++k) s -= l[i][k] * li[k][j];
            li[i][j] = s / l[i][i];
        }
    }
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) {
            double s = 0;
            for (int k = std::max(i, j); k <= n; ++k) s += li[k][i] * li[k][j];
            a[i][j] = s;
        }
    return true;
}

// The value rounded to `digits` significant digits, so that the printed columns stay readable.
double Significant(double v, int digits) {
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", digits, v);
    return std::strtod(text, nullptr);
}

}  // namespace

FitStatistics ComputeFitStatistics(const FitProblem& p, const FitVector& x, double s,
                                   MarquardtWorkspace& w) {
    FitStatistics st;
    const int n = p.N;
    st.Dof = p.M - n;
    for (int i = 1; i <= n; ++i) w.XTrial[i] = x[i];
    BuildJacobian(p, w);
    p.Model(w.XTrial, p.M, w.F);  // the solution's curve is the model's last evaluation again

    // The free parameters, numbered 1..nf in the reduced normal matrix; the scale d_i = sqrt of
    // the J'J diagonal brings it to unit diagonal before the inversion.
    std::array<int, kMaxFitParameters + 1> free{};
    int nf = 0;
    for (int i = 1; i <= n; ++i) {
        st.P[i].Fixed = HeldFixed(p, w, i);
        st.P[i].OnBound = x[i] == p.XMin[i] || x[i] == p.XMax[i];
        if (!st.P[i].Fixed) free[++nf] = i;
    }
    if (st.Dof < 1) {
        st.Problem = "more points than fitted parameters are needed";
        return st;
    }
    st.TFactor = StudentTQuantile(0.975, st.Dof);
    Square a{};
    std::array<double, kMaxFitParameters + 1> d{};
    for (int u = 1; u <= nf; ++u)
        for (int v = 1; v <= nf; ++v) {
            const double* ju = w.Jacobian.Column(free[u]);
            const double* jv = w.Jacobian.Column(free[v]);
            double sum = 0;
            for (int k = 1; k <= p.M; ++k) sum += ju[k] * jv[k];
            a[u][v] = sum;
        }
    for (int u = 1; u <= nf; ++u) d[u] = std::sqrt(a[u][u]);
    for (int u = 1; u <= nf; ++u)
        for (int v = 1; v <= nf; ++v) a[u][v] /= d[u] * d[v];
    if (!InvertSymmetric(a, nf) || !std::isfinite(s)) {
        st.Problem = "the parameters are not independent at the solution";
        return st;
    }
    const double s2 = s / st.Dof;
    for (int u = 1; u <= nf; ++u) {
        ParameterStatistics& q = st.P[free[u]];
        q.Determined = true;
        q.StdError = std::sqrt(s2 * a[u][u]) / d[u];
        q.Lower = x[free[u]] - st.TFactor * q.StdError;
        q.Upper = x[free[u]] + st.TFactor * q.StdError;
        for (int v = 1; v <= nf; ++v)
            st.Correlation[free[u]][free[v]] = a[u][v] / std::sqrt(a[u][u] * a[v][v]);
    }
    return st;
}

void PrintFitStatistics(ResultWindow& r, int n, const FitStatistics& st) {
    r.Print("");
    r.Print(PrintLine("Degrees of freedom = ").Zone().Num(st.Dof));
    if (!st.Problem.empty()) {
        r.Print("No standard errors: " + st.Problem);
        return;
    }
    r.Print(
        PrintLine("No.").Zone().Text("Std. error").Zone().Text("95% from").Zone().Text("95% to"));
    for (int i = 1; i <= n; ++i) {
        const ParameterStatistics& q = st.P[i];
        PrintLine line;
        line.Num(i).Zone();
        if (q.Fixed) {
            r.Print(line.Text("held fixed"));
            continue;
        }
        line.Num(Significant(q.StdError, 4))
            .Zone()
            .Num(Significant(q.Lower, 6))
            .Zone()
            .Num(Significant(q.Upper, 6));
        if (q.OnBound) line.Zone().Text("on bound");
        r.Print(line);
    }
    r.Print("Correlation");
    for (int i = 1; i <= n; ++i) {
        PrintLine line;
        line.Num(i);
        for (int j = 1; j <= n; ++j)
            line.Zone().Num(std::round(st.Correlation[i][j] * 1000) / 1000 + 0.0);
        r.Print(line);
    }
}

}  // namespace zemra
