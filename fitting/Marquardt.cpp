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

void CheckSizes(int n, int m) {
    if (n < 0 || n > kMaxFitParameters || m < 0 || m > kMaxPoints) Raise(kSubscriptOutOfRange);
}

// Central-difference Jacobian around xTrial: J(k, j) = (F(x + h e_j)(k) - F(x - h e_j)(k)) / 2h.
void BuildJacobian(int n, int m, double fitStep0, MarquardtState& st, const FitModel& model) {
    for (int j = 1; j <= n; ++j) {
        const double x = st.XTrial[j];
        double h = kRelativeStep * std::fabs(x);
        if (h == 0) h = fitStep0;
        st.XTrial[j] = x + h;
        model(st.XTrial, m, st.FPlus);
        st.XTrial[j] = x - h;
        model(st.XTrial, m, st.FMinus);
        const double twoH = 2 * h;
        for (int k = 1; k <= m; ++k) st.Jacobian(k, j) = Div(st.FPlus(k) - st.FMinus(k), twoH);
        st.XTrial[j] = x;
    }
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
void BuildNormalEquations(int n, int m, const PointVector& f, const PointVector& y,
                          const ActiveFlags& active, MarquardtState& st) {
    NormalMatrix& a = st.A;
    for (int j = 1; j <= n; ++j) {
        a[j][n + 1] = 0;
        if (active[j] == 0) {
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
void CopyTrialToParameters(int n, const MarquardtState& st, FitVector& x) {
    for (int j = 1; j <= n; ++j) x[j] = st.XTrial[j];
}

}  // namespace

void EvaluateTrial(int n, int m, FitVector& xTrial, const FitVector& x, FitVector& dx, double& sOut,
                   PointVector& f, const PointVector& y, const FitVector& xmax,
                   const FitVector& xmin, long& nObjFun, const FitModel& model) {
    CheckSizes(n, m);
    for (int i = 1; i <= n; ++i) {
        const double t = x[i] + dx[i];
        if (t > xmax[i] || t < xmin[i]) dx[i] = 0;
        xTrial[i] = x[i] + dx[i];
    }
    model(xTrial, m, f);
    double sum = 0;
    for (int k = 1; k <= m; ++k) {
        const double r = f(k) - y(k);
        sum += r * r;
    }
    sOut = Finite(sum);
    ++nObjFun;
}

void MarquardtIterate(int n, FitVector& x, int m, PointVector& f, const PointVector& y, double& s,
                      int& state, int& flag, int& nMarq, const ActiveFlags& active,
                      const FitVector& xmin, const FitVector& xmax, double varY, FitState& fit,
                      const FitModel& model) {
    CheckSizes(n, m);
    MarquardtState& st = fit.Marquardt;
    const double zeroResidual = kZeroResidual * varY;

    // First call of a fit: the sum of squares at the start values.
    if (state == 0) {
        for (int i = 1; i <= n; ++i) {
            st.DX[i] = 0;
            st.XTrial[i] = x[i];
        }
        EvaluateTrial(n, m, st.XTrial, x, st.DX, s, f, y, xmax, xmin, fit.NObjFun, model);
        if (s < zeroResidual) {
            flag = kFlagExact;
            CopyTrialToParameters(n, st, x);
            return;
        }
        state = 1;
    }
    const double sOld = s;

    BuildJacobian(n, m, fit.FitStep0, st, model);
    BuildNormalEquations(n, m, f, y, active, st);
    ScaleToUnitDiagonal(n, st.A);
    CopyToWork(n, st.A, st.B, 0.0);

    // The Gauss-Newton step first; after each failure re-solve with Lambda on the diagonal.
    int failures = 0;
    double multiplier = 2;
    double sNew = sOld;
    for (;;) {
        SolveGaussJordan(n, st.B);
        for (int j = 1; j <= n; ++j) st.DX[j] = Div(st.B[j][n + 1], st.A[j][n + 2]);
        EvaluateTrial(n, m, st.XTrial, x, st.DX, sNew, f, y, xmax, xmin, fit.NObjFun, model);
        if (sNew < zeroResidual) {
            flag = kFlagExact;
            s = sNew;
            CopyTrialToParameters(n, st, x);
            return;
        }
        multiplier = MaxOf(2.0, MinOf(10.0, Div(sNew, sOld)));
        if (sOld > sNew) break;
        if (failures > 0) st.Lambda *= multiplier;
        if (nMarq == 0) st.Lambda = kFirstLambda;
        CopyToWork(n, st.A, st.B, st.Lambda);
        ++nMarq;
        ++failures;
        if (st.Lambda > kLargestLambda) break;  // the last trial stands
    }

    if (nMarq != 0) st.Lambda /= multiplier;
    const double decrease = Div(sOld - sNew, sOld + sNew);
    flag = decrease < kConvergence ? kFlagConverged : kFlagGoOn;
    s = sNew;
    CopyTrialToParameters(n, st, x);
}

}  // namespace zemra
