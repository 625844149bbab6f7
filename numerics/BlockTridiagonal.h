// Block-tridiagonal systems of any number of levels with blocks of any size, closed at one end by
// fixed values and at the other by a relation the caller solves itself: the kernel of the refined
// digital simulation, whose levels are the grid lines parallel to the electrode and whose blocks
// couple the species of a node (and, on a two-dimensional grid, the nodes of a line).
#pragma once

#include <cstddef>
#include <vector>

namespace zemra {

// Solves A x = b in place for a dense m x m matrix A (row-major) by LU decomposition with
// partial pivoting; b is overwritten by x and A by its factors. Returns false when a pivot is
// exactly zero (x is then not usable).
bool DenseSolve(int m, double* A, double* b);

// Replaces the dense m x m matrix A (row-major) by its inverse (Gauss-Jordan elimination with
// partial pivoting). Returns false when a pivot is exactly zero.
bool DenseInverse(int m, double* A);

// The system, for levels j = 1..n with m unknowns each,
//   -Lower(j) o x(j - 1) + Block(j) x(j) - Upper(j) o x(j + 1) = rhs(j),
// where o multiplies element by element, x(n + 1) is given (the outer values) and x(0) is left
// to the caller: after Reduce, FirstLevel gives x(1) = y + Z x(0) for any x(0), so the caller
// closes the system with its own relation at level 0 and hands x(0) to BackSubstitute. The
// elimination runs from level n towards level 1 and does not depend on the right-hand side, so
// one Factor serves any number of right-hand sides.
class BlockTridiagonal {
  public:
    // n levels of m unknowns; `diagonal` when every block is diagonal (then Block(j) holds the m
    // diagonal elements only and no unknowns of a level are coupled).
    void Resize(int n, int m, bool diagonal);
    int Levels() const { return n_; }
    int Size() const { return m_; }
    bool Diagonal() const { return diagonal_; }

    double* Lower(int j) { return &lower_[Offset(j)]; }
    double* Upper(int j) { return &upper_[Offset(j)]; }
    // m x m row-major, or m values when diagonal.
    double* Block(int j) { return &block_[BlockOffset(j)]; }
    // Bytes held by the coefficients and the factors.
    std::size_t Bytes() const;

    // Eliminates from level n towards level 1: G(j) = P(j)^-1 with P(n) = Block(n) and
    // P(j) = Block(j) - Upper(j) G(j + 1) Lower(j + 1). Returns false when a P(j) was singular.
    bool Factor();
    // Reduces the right-hand sides rhs (level j at rhs[(j - 1) m]) with the outer values.
    void Reduce(const double* rhs, const double* outer);
    // x(1) = y + Z x(0): y = G(1) R(1) (m values), Z = G(1) Lower(1) (m x m row-major).
    void FirstLevel(double* y, double* Z) const;
    // The levels 1..n (level j at x[(j - 1) m]) from the given x(0).
    void BackSubstitute(const double* x0, double* x) const;

  private:
    std::size_t Offset(int j) const { return static_cast<std::size_t>(j - 1) * m_; }
    std::size_t BlockOffset(int j) const {
        return static_cast<std::size_t>(j - 1) *
               (diagonal_ ? m_ : static_cast<std::size_t>(m_) * m_);
    }
    // v := G(j) u (m values).
    void ApplyG(int j, const double* u, double* v) const;

    int n_ = 0, m_ = 0;
    bool diagonal_ = true;
    std::vector<double> lower_, upper_, block_, g_, y_;
    mutable std::vector<double> work_;  // scratch of Reduce and BackSubstitute
};

}  // namespace zemra
