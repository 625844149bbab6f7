#include "fitting/Marquardt.h"

#include <cmath>

#include "numerics/LinearAlgebra.h"
#include "platform/RuntimeError.h"

namespace zemra {
namespace {

constexpr double kRelativeStep = 0.01;    // derivative step h = 0.01 |x|
constexpr double kFirstLambda = 1e-4;     // Lambda at the first failed step of a fit
constexpr double kLargestLambda = 1000;   // no further trial once Lambda exceeds it
constexpr double kDiagonalFloor = 1e-20;  // J'J diagonal not above it: parameter held fixed
constexpr double kPivotFloor = 1e-15;     // |pivot| not above it is replaced by +1e-15
constexpr double kZeroResidual = 1e-10;   // S below 1e-10 VarY: the model reproduces the data
constexpr double kConvergence = 2e-4;     // relative decrease of S that ends the fit

void CheckSizes(const FitProblem& p) {
    if (p.N < 0 || p.N > kMaxFitParameters || p.M < 0 || p.M > kMaxPoints)
        Raise(kSubscriptOutOfRange);
}

// Holds parameter j fixed for this iteration: its row and column of J'J become a unit row and
// column and its right-hand side 0, so that its step is 0.
void Freeze(NormalMatrix& a, int n, int j) {
    for (int l = 1; l <= n; ++l) {
        a[j][l] = 0;
        a[l][j] = 0;
    }
    a[j][n + 1] = 0;
    a[j][j] = 1;
}

// Upper triangle of J'J and the right-hand side J'(Y - F), freezing inactive parameters and
// those whose diagonal is not above the floor.
void BuildNormalEquations(const FitProblem& p, MarquardtWorkspace& st) {
    const int n = p.N, m = p.M;
    const PointVector& f = st.F;
    const PointVector& y = *p.Y;
    NormalMatrix& a = st.A;
    for (int j = 1; j <= n; ++j) {
        a[j][n + 1] = 0;
        if (p.Active[j] == 0) {
            Freeze(a, n, j);
            continue;
        }
        const double* jj = st.Jacobian.Column(j);
        double rhs = 0;
        for (int k = 1; k <= m; ++k) rhs += jj[k] * (y(k) - f(k));
        a[j][n + 1] = Finite(rhs);
        for (int l = j; l <= n; ++l) {
            const double* jl = st.Jacobian.Column(l);
            double sum = 0;
            for (int k = 1; k <= m; ++k) sum += jj[k] * jl[k];
            a[j][l] = Finite(sum);
        }
        if (a[j][j] <= kDiagonalFloor) Freeze(a, n, j);
    }
}

// Scales the normal equations to unit diagonal with s_j = sqrt(A(j, j)), kept in column N+2,
// and fills the lower triangle.
void ScaleToUnitDiagonal(int n, NormalMatrix& a) {
    for (int j = 1; j <= n; ++j) a[j][n + 2] = Sqrt(a[j][j]);
    for (int j = 1; j <= n; ++j) {
        const double sj = a[j][n + 2];
        a[j][n + 1] = Div(a[j][n + 1], sj);
        for (int l = j; l <= n; ++l) {
            a[j][l] = Div(a[j][l], sj * a[l][n + 2]);
            a[l][j] = a[j][l];
        }
    }
}

// B := A (columns 1..N+1) with lambda added to the diagonal.
void CopyToWork(int n, const NormalMatrix& a, NormalMatrix& b, double lambda) {
    for (int j = 1; j <= n; ++j) {
        for (int l = 1; l <= n + 1; ++l) b[j][l] = a[j][l];
        b[j][j] = a[j][j] + lambda;
    }
}

// Gauss-Jordan elimination without row exchanges; column N+1 ends as the solution. A pivot of
// magnitude up to 1e-15 is replaced by +1e-15.
void SolveGaussJordan(int n, NormalMatrix& b) {
    for (int k = 1; k <= n; ++k) {
        for (int l = k + 1; l <= n + 1; ++l) {
            if (std::fabs(b[k][k]) <= kPivotFloor) b[k][k] = kPivotFloor;
            b[k][l] = Div(b[k][l], b[k][k]);
        }
        for (int i = 1; i <= n; ++i) {
            if (i == k) continue;
            for (int l = k + 1; l <= n + 1; ++l) b[i][l] = Finite(b[i][l] - b[k][l] * b[i][k]);
        }
    }
}

// The new parameters are the last trial vector.
void CopyTrialToParameters(int n, const MarquardtWorkspace& st, FitVector& x) {
    for (int j = 1; j <= n; ++j) x[j] = st.XTrial[j];
}

}  // namespace

void BuildJacobian(const FitProblem& p, MarquardtWorkspace& st) {
    const int n = p.N, m = p.M;
    for (int j = 1; j <= n; ++j) {
        const double x = st.XTrial[j];
        double h = kRelativeStep * std::fabs(x);
        if (h == 0) h = p.FitStep0;
        st.XTrial[j] = x + h;
        p.Model(st.XTrial, m, st.FPlus);
        st.XTrial[j] = x - h;
        p.Model(st.XTrial, m, st.FMinus);
        const double twoH = 2 * h;
        for (int k = 1; k <= m; ++k) st.Jacobian(k, j) = Div(st.FPlus(k) - st.FMinus(k), twoH);
        st.XTrial[j] = x;
    }
}

bool HeldFixed(const FitProblem& p, const MarquardtWorkspace& w, int j) {
    if (p.Active[j] == 0) return true;
    const double* jj = w.Jacobian.Column(j);
    double sum = 0;
    for (int k = 1; k <= p.M; ++k) sum += jj[k] * jj[k];
    return !(sum > kDiagonalFloor);
}

void EvaluateTrial(const FitProblem& p, const FitVector& x, MarquardtWorkspace& w, double& sOut,
                   FitProgress& g) {
    CheckSizes(p);
    for (int i = 1; i <= p.N; ++i) {
        const double t = x[i] + w.DX[i];
        if (t > p.XMax[i] || t < p.XMin[i]) w.DX[i] = 0;
        w.XTrial[i] = x[i] + w.DX[i];
    }
    p.Model(w.XTrial, p.M, w.F);
    const PointVector& y = *p.Y;
    double sum = 0;
    for (int k = 1; k <= p.M; ++k) {
        const double r = w.F(k) - y(k);
        sum += r * r;
    }
    sOut = Finite(sum);
    ++g.NObjFun;
}

void MarquardtIterate(const FitProblem& p, FitVector& x, FitProgress& g, MarquardtWorkspace& st) {
    CheckSizes(p);
    const int n = p.N;
    const double zeroResidual = kZeroResidual * p.VarY;

    // First call of a fit: the sum of squares at the start values.
    if (g.State == 0) {
        for (int i = 1; i <= n; ++i) {
            st.DX[i] = 0;
            st.XTrial[i] = x[i];
        }
        EvaluateTrial(p, x, st, g.S, g);
        if (g.S < zeroResidual) {
            g.Flag = FitFlag::Exact;
            CopyTrialToParameters(n, st, x);
            return;
        }
        g.State = 1;
    }
    const double sOld = g.S;

    BuildJacobian(p, st);
    BuildNormalEquations(p, st);
    ScaleToUnitDiagonal(n, st.A);
    CopyToWork(n, st.A, st.B, 0.0);

    // The Gauss-Newton step first; after each failure re-solve with Lambda on the diagonal.
    int failures = 0;
    double multiplier = 2;
    double sNew = sOld;
    for (;;) {
        SolveGaussJordan(n, st.B);
        for (int j = 1; j <= n; ++j) st.DX[j] = Div(st.B[j][n + 1], st.A[j][n + 2]);
        EvaluateTrial(p, x, st, sNew, g);
        if (sNew < zeroResidual) {
            g.Flag = FitFlag::Exact;
            g.S = sNew;
            CopyTrialToParameters(n, st, x);
            return;
        }
        multiplier = MaxOf(2.0, MinOf(10.0, Div(sNew, sOld)));
        if (sOld > sNew) break;
        if (failures > 0) st.Lambda *= multiplier;
        if (g.NMarq == 0) st.Lambda = kFirstLambda;
        CopyToWork(n, st.A, st.B, st.Lambda);
        ++g.NMarq;
        ++failures;
        if (st.Lambda > kLargestLambda) break;  // the last trial stands
    }

    if (g.NMarq != 0) st.Lambda /= multiplier;
    const double decrease = Div(sOld - sNew, sOld + sNew);
    g.Flag = decrease < kConvergence ? FitFlag::Converged : FitFlag::GoOn;
    g.S = sNew;
    CopyTrialToParameters(n, st, x);
}

}  // namespace zemra
