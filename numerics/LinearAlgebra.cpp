#include "numerics/LinearAlgebra.h"

#include <cmath>
#include <type_traits>
#include <utility>

#include "platform/RuntimeError.h"

namespace zemra {

double MaxOf(double a, double b) {
    return a > b ? a : b;
}
double MinOf(double a, double b) {
    return a < b ? a : b;
}
void SwapValues(double& a, double& b) {
    std::swap(a, b);
}

namespace {

// The kernels below take the matrix order N = m + 1 as a compile-time constant so that the
// loops over the species unroll; the public functions dispatch on m. Every kernel performs the
// same operations in the same order whatever N is.

void CheckLastIndex(int m) {
    if (m < 0 || m >= kSpeciesSlots) Raise(kSubscriptOutOfRange);
}

template <int N>
void CopyBlock(const Matrix6& from, Matrix6& to) {
    for (int i = 0; i < N; ++i)
        for (int j = 0; j < N; ++j) to[i][j] = from[i][j];
}

// y := A x over the leading N x N block.
template <int N>
void MatVec(const Matrix6& A, const Vector6& x, Vector6& y) {
    for (int i = 0; i < N; ++i) {
        double sum = 0.0;
        for (int j = 0; j < N; ++j) sum += A[i][j] * x[j];
        y[i] = sum;
    }
}

// Cm := A B over the leading N x N blocks.
template <int N>
void MatMulN(const Matrix6& A, const Matrix6& B, Matrix6& Cm) {
    for (int i = 0; i < N; ++i)
        for (int k = 0; k < N; ++k) {
            double sum = 0.0;
            for (int j = 0; j < N; ++j) sum += A[i][j] * B[j][k];
            Cm[i][k] = sum;
        }
}

// In-place Gauss-Jordan inversion with full pivoting: the pivot of step k is the largest
// |A(i, j)| over i, j >= k (rows outer, columns inner, the first one found on a tie), moved
// to (k, k) by a row and a column exchange; the exchanges are undone in reverse order at the
// end, a row exchange by a column exchange of the inverse and vice versa.
template <int N>
bool GaussJordanN(Matrix6& A) {
    std::array<int, kSpeciesSlots> pivRow{}, pivCol{};
    for (int k = 0; k < N; ++k) {
        double big = 0.0;
        for (int i = k; i < N; ++i)
            for (int j = k; j < N; ++j)
                if (std::fabs(A[i][j]) > big) {
                    big = std::fabs(A[i][j]);
                    pivRow[k] = i;
                    pivCol[k] = j;
                }
        if (big + 1.0 == 1.0) return false;  // singular to working precision
        if (pivRow[k] != k)
            for (int j = 0; j < N; ++j) SwapValues(A[k][j], A[pivRow[k]][j]);
        if (pivCol[k] != k)
            for (int i = 0; i < N; ++i) SwapValues(A[i][k], A[i][pivCol[k]]);
        A[k][k] = 1.0 / A[k][k];
        const double pivotInverse = A[k][k];
        for (int j = 0; j < N; ++j)
            if (j != k) A[k][j] *= pivotInverse;
        for (int i = 0; i < N; ++i) {
            if (i == k) continue;
            const double factor = A[i][k];
            for (int j = 0; j < N; ++j)
                if (j != k) A[i][j] -= factor * A[k][j];
        }
        for (int i = 0; i < N; ++i)
            if (i != k) A[i][k] = -A[i][k] * pivotInverse;
    }
    for (int k = N - 1; k >= 0; --k) {
        if (pivCol[k] != k)
            for (int j = 0; j < N; ++j) SwapValues(A[k][j], A[pivCol[k]][j]);
        if (pivRow[k] != k)
            for (int i = 0; i < N; ++i) SwapValues(A[i][k], A[i][pivRow[k]]);
    }
    return true;
}

// Diagonal shortcut first: without homogeneous coupling every block is diagonal and its inverse
// is the reciprocal of each diagonal element.
template <int N>
bool InvertN(Matrix6& A) {
    for (int i = 0; i < N; ++i)
        for (int k = 0; k < N; ++k)
            if (k != i && A[i][k] != 0.0) return GaussJordanN<N>(A);
    for (int i = 0; i < N; ++i) {
        if (A[i][i] == 0.0) Raise(kDivisionByZero);
        A[i][i] = 1.0 / A[i][i];
    }
    return true;
}

template <int N>
bool BlockSolveN(int n, BoxVectors& Conc, const BoxVectors& LowerCoef, const BoxVectors& UpperCoef,
                 const BoxMatrices& Block, const Matrix6& SurfaceMatrix,
                 const Matrix6& BalanceMatrix, BlockSolveWork& work) {
    BoxVectors& R = work.R;
    BoxMatrices& P = work.P;
    BoxMatrices& PInverse = work.PInverse;
    bool regular = true;

    // Last box: the bulk concentration beyond it moves to the right-hand side.
    for (int s = 0; s < N; ++s) R[n][s] = Conc[n][s] + UpperCoef[n][s] * Conc[n + 1][s];
    CopyBlock<N>(Block[n], P[n]);

    // Eliminate c(., j+1) from the balance of box j, from the bulk towards the electrode:
    // afterwards P(j) c(., j) - diag(LowerCoef(j, .)) c(., j-1) = R(j).
    Vector6 y{};
    for (int j = n - 1; j >= 1; --j) {
        Matrix6& W = PInverse[j + 1];
        CopyBlock<N>(P[j + 1], W);
        regular = InvertN<N>(W) && regular;
        for (int s = 0; s < N; ++s)
            for (int t = 0; t < N; ++t)
                P[j][s][t] = Block[j][s][t] - UpperCoef[j][s] * W[s][t] * LowerCoef[j + 1][t];
        MatVec<N>(W, R[j + 1], y);
        for (int s = 0; s < N; ++s) R[j][s] = Conc[j][s] + UpperCoef[j][s] * y[s];
    }

    // Surface: c(., 1) = BalanceMatrix^-1 SurfaceMatrix c(., 0) turns box 1 into
    // (P(1) BalanceMatrix^-1 SurfaceMatrix - diag(LowerCoef(1, .))) c(., 0) = R(1).
    Matrix6 U{}, Z{}, W{};
    CopyBlock<N>(BalanceMatrix, U);
    regular = InvertN<N>(U) && regular;
    MatMulN<N>(P[1], U, Z);
    MatMulN<N>(Z, SurfaceMatrix, W);
    for (int s = 0; s < N; ++s) W[s][s] -= LowerCoef[1][s];
    regular = InvertN<N>(W) && regular;
    MatVec<N>(W, R[1], Conc[0]);

    // Outwards: c(., j) = P(j)^-1 (R(j) + diag(LowerCoef(j, .)) c(., j-1)).
    CopyBlock<N>(P[1], PInverse[1]);
    regular = InvertN<N>(PInverse[1]) && regular;
    Vector6 v{};
    for (int j = 1; j <= n; ++j) {
        for (int s = 0; s < N; ++s) v[s] = R[j][s] + LowerCoef[j][s] * Conc[j - 1][s];
        MatVec<N>(PInverse[j], v, Conc[j]);
    }
    return regular;
}

// Runs f with the matrix order m + 1 as a compile-time constant.
template <class F>
bool WithOrder(int m, F&& f) {
    switch (m) {
        case 0:
            return f(std::integral_constant<int, 1>{});
        case 1:
            return f(std::integral_constant<int, 2>{});
        case 2:
            return f(std::integral_constant<int, 3>{});
        case 3:
            return f(std::integral_constant<int, 4>{});
        case 4:
            return f(std::integral_constant<int, 5>{});
        case 5:
            return f(std::integral_constant<int, 6>{});
        default:
            Raise(kSubscriptOutOfRange);
    }
}

}  // namespace

void MatMul(const Matrix6& A, const Matrix6& B, int n, int m, int p, Matrix6& Cm) {
    CheckLastIndex(n);
    CheckLastIndex(m);
    CheckLastIndex(p);
    for (int i = 0; i <= n; ++i)
        for (int k = 0; k <= p; ++k) {
            Cm[i][k] = 0.0;
            for (int j = 0; j <= m; ++j) Cm[i][k] += A[i][j] * B[j][k];
        }
}

bool GaussJordanInverse(Matrix6& A, int m) {
    return WithOrder(m, [&](auto order) { return GaussJordanN<order.value>(A); });
}

bool InvertMatrix(Matrix6& A, int m) {
    return WithOrder(m, [&](auto order) { return InvertN<order.value>(A); });
}

bool BlockSolve(int n, BoxVectors& Conc, const BoxVectors& LowerCoef, const BoxVectors& UpperCoef,
                const BoxMatrices& Block, const Matrix6& SurfaceMatrix,
                const Matrix6& BalanceMatrix, int m, BlockSolveWork& work) {
    if (n < 1 || n + 1 >= kBoxSlots) Raise(kSubscriptOutOfRange);
    return WithOrder(m, [&](auto order) {
        return BlockSolveN<order.value>(n, Conc, LowerCoef, UpperCoef, Block, SurfaceMatrix,
                                        BalanceMatrix, work);
    });
}

}  // namespace zemra
