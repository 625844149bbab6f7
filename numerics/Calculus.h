// Calculus on one curve over the uniform potential grid: first derivative, running integral,
// semi-derivative (order one half) and semi-integral. Each transform works in place on one
// column, so both a curve of the store and a current component of the simulation can be passed.
// The grid step is h = |X(2) - X(1)|; the direction of X plays no part.
#pragma once

#include <span>

#include "numerics/Arrays.h"

namespace zemra {

// Rows 0..4000 of one column of a curve or component array (row 0 is not used).
using Column = std::span<double, kRows>;

// Column c of an array whose rows are the 4001 points; raises "Subscript out of range" for a
// column outside the array.
template <int Cols>
Column ColumnOf(Array2<kRows, Cols>& a, int c) {
    return Column(a.Column(c), kRows);
}

// First derivative of v(1..noOfData): central differences inside, one-sided at the two ends.
// Raises "Division by zero" when X(1) = X(2); the column is then unchanged.
void Differentiate(const Array1<kRows>& X, Column v, int noOfData);

// Running rectangle integral of v: v(i) := h * (y(1) + ... + y(i)). The same values are written
// into icomp, the matching column of the current components, so that a later re-derivation of
// the shown quantity sees the integrated curve. v and icomp may be the same column. Raises
// "Division by zero" when X(1) = X(2); both columns are then unchanged.
void Integrate(const Array1<kRows>& X, Column v, Column icomp, int noOfData);

// Semi-derivative of v with the baseline y(1) removed and added back: K * sum of the second
// differences of sqrt(k) times the curve, K = 0.25 / sqrt(pi h). Raises "Division by zero"
// when X(1) = X(2) and there are enough points to need h; the column is then unchanged.
void SemiDifferentiate(const Array1<kRows>& X, Column v, int noOfData);

// Semi-integral: the semi-derivative of the running integral (Integrate, then
// SemiDifferentiate), with icomp written as by Integrate.
void SemiIntegrate(const Array1<kRows>& X, Column v, Column icomp, int noOfData);

}  // namespace zemra
