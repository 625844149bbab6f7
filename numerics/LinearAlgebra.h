// Small dense and block linear algebra for the digital simulation: a block-tridiagonal solver
// closed by a matrix surface condition, in-place inversion of matrices of at most 6 x 6 (with a
// shortcut for diagonal matrices and full-pivot Gauss-Jordan otherwise), a matrix product, and
// the scalar helpers MaxOf and MinOf that the plot and the fitting code use as well.
#pragma once

#include <array>

namespace zemra {

inline constexpr int kSpeciesSlots = 6;  // species 0..5
inline constexpr int kBoxSlots = 101;    // boxes 0..100 (0 = electrode surface)

// Matrices are indexed (row, column) from 0; loops run 0..m with m the last index in use.
using Vector6 = std::array<double, kSpeciesSlots>;
using Matrix6 = std::array<Vector6, kSpeciesSlots>;
using BoxVectors = std::array<Vector6, kBoxSlots>;   // (box, species)
using BoxMatrices = std::array<Matrix6, kBoxSlots>;  // (box, species, species)

// The larger of two reals: a when a > b, otherwise b (so b on a tie).
double MaxOf(double a, double b);
// The smaller of two reals: a when a < b, otherwise b (so b on a tie).
double MinOf(double a, double b);
// Exchanges two values.
void SwapValues(double& a, double& b);

// Cm(i, k) := sum over j = 0..m of A(i, j) * B(j, k) for i = 0..n, k = 0..p (p = 0 for a column
// vector). Cm must be a different matrix from A and B.
void MatMul(const Matrix6& A, const Matrix6& B, int n, int m, int p, Matrix6& Cm);

// In-place inverse of the (m + 1) x (m + 1) matrix A by Gauss-Jordan elimination with full
// pivoting. Returns false for a singular matrix (largest remaining pivot below about 1.1e-16);
// A then keeps its partly transformed content, which the caller may carry on with. The caller
// reports the singular matrix ("Error: inverse matrix D=0").
bool GaussJordanInverse(Matrix6& A, int m);

// In-place inverse of A: a diagonal matrix (every off-diagonal element exactly 0) is inverted
// element by element, raising "Division by zero" for a zero on the diagonal; any other matrix
// goes to GaussJordanInverse. Returns false when that found the matrix singular.
bool InvertMatrix(Matrix6& A, int m);

// Work arrays of BlockSolve, owned by the caller: reduced right-hand sides R(box, species),
// reduced diagonal blocks P(box) and their inverses.
struct BlockSolveWork {
    BoxVectors R{};
    BoxMatrices P{};
    BoxMatrices PInverse{};
};

// Solves, for boxes j = 1..n and species s, t = 0..m,
//   -LowerCoef(j, s) c(s, j-1) + sum_t Block(j, s, t) c(t, j) - UpperCoef(j, s) c(s, j+1)
//       = Conc(j, s) (old),
// with c(., n+1) = Conc(n+1, .) fixed (bulk) and the surface condition
// BalanceMatrix . c(., 1) = SurfaceMatrix . c(., 0). Eliminates from the bulk towards the
// electrode, solves the surface, then substitutes outwards; on return Conc(j, s) holds the
// solution for j = 0..n. Returns false when any block was singular (the solve then carries on
// with the partly inverted matrix). n must lie in 1..99 and m in 0..5 ("Subscript out of range").
bool BlockSolve(int n, BoxVectors& Conc, const BoxVectors& LowerCoef, const BoxVectors& UpperCoef,
                const BoxMatrices& Block, const Matrix6& SurfaceMatrix,
                const Matrix6& BalanceMatrix, int m, BlockSolveWork& work);

}  // namespace zemra
