#include <cmath>

#include "numerics/LinearAlgebra.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

// Matrices are written Matrix6{{{row 0}, {row 1}, ...}}: the leading block, zeros elsewhere.

TEST(SmallKernels, MaxMinAndMatMul) {
    EXPECT_EQ(MaxOf(2, 3), 3);
    EXPECT_EQ(MinOf(3, 2), 2);
    // On a tie the second argument comes back: +0 and -0 compare equal, the sign tells which.
    EXPECT_TRUE(std::signbit(MaxOf(0.0, -0.0)));
    EXPECT_FALSE(std::signbit(MinOf(-0.0, 0.0)));

    Matrix6 y{{{9, 9}, {9, 9}}};
    MatMul(Matrix6{{{1, 2, 3}, {4, 5, 6}}}, Matrix6{{{1}, {0}, {-1}}}, 1, 2, 0, y);
    EXPECT_EQ(y[0][0], 1 - 3);
    EXPECT_EQ(y[1][0], 4 - 6);
    EXPECT_EQ(y[0][1], 9);  // outside k = 0..p: untouched
}

TEST(InvertMatrix, DiagonalShortcutAndItsErrors) {
    Matrix6 a{{{2, 0}, {0, 4}}};
    EXPECT_TRUE(InvertMatrix(a, 1));
    EXPECT_EQ(a, (Matrix6{{{0.5, 0}, {0, 0.25}}}));
    Matrix6 zero{{{2, 0}, {0, 0}}};
    EXPECT_EQ(test::ErrorOf([&] { InvertMatrix(zero, 1); }), kDivisionByZero);
    EXPECT_EQ(test::ErrorOf([&] { InvertMatrix(a, 6); }), kSubscriptOutOfRange);
    EXPECT_EQ(test::ErrorOf([&] { GaussJordanInverse(a, -1); }), kSubscriptOutOfRange);
}

TEST(GaussJordanInverse, PivotsOffTheDiagonalAndStopsOnASingularMatrix) {
    Matrix6 swap{{{0, 1}, {1, 0}}};
    EXPECT_TRUE(GaussJordanInverse(swap, 1));
    EXPECT_EQ(swap, (Matrix6{{{0, 1}, {1, 0}}}));
    // Step 0 pivots on the 4 at (1, 1): after both exchanges [[4, 2], [2, 1]], then
    // 1/4 = 0.25, 2 x 0.25 = 0.5, 1 - 2 x 0.5 = 0 and -2 x 0.25 = -0.5; the second pivot is 0.
    Matrix6 singular{{{1, 2}, {2, 4}}};
    EXPECT_FALSE(GaussJordanInverse(singular, 1));
    EXPECT_EQ(singular, (Matrix6{{{0.25, 0.5}, {-0.5, 0}}}));
}

TEST(InvertMatrix, InvertsGeneralMatricesOfEveryOrder) {
    // The largest element of row i sits in column i + 1 (cyclically), so the pivots lie off the
    // diagonal and need exchanges.
    for (int n = 1; n <= 6; ++n) {
        Matrix6 a{};
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                a[i][j] = 0.5 * std::sin(1.0 + 3 * i + 7 * j + 0.7 * i * j) +
                          (j == (i + 1) % n ? 3.0 : 0.0);
        Matrix6 inv = a;
        ASSERT_TRUE(InvertMatrix(inv, n - 1)) << n;
        for (int i = 0; i < n; ++i)
            for (int k = 0; k < n; ++k) {
                double sum = 0;  // (A A^-1)(i, k)
                for (int j = 0; j < n; ++j) sum += a[i][j] * inv[j][k];
                EXPECT_NEAR(sum, i == k ? 1.0 : 0.0, 1e-12) << n;
            }
    }
}

TEST(BlockSolve, UncoupledSpeciesKeepsItsValuesAndBadInputIsReported) {
    const int n = 4;
    BoxVectors conc{}, lower{}, upper{};
    BoxMatrices block{};
    for (int j = 1; j <= n + 1; ++j) conc[j][0] = 0.1 * j;
    for (int j = 1; j <= n; ++j) block[j][0][0] = 1;
    const Matrix6 one{{{1}}};
    BlockSolveWork work;
    EXPECT_TRUE(BlockSolve(n, conc, lower, upper, block, one, one, 0, work));
    for (int j = 0; j <= n; ++j) EXPECT_DOUBLE_EQ(conc[j][0], 0.1 * std::max(j, 1));

    EXPECT_EQ(test::ErrorOf([&] { BlockSolve(0, conc, lower, upper, block, one, one, 0, work); }),
              kSubscriptOutOfRange);
    EXPECT_EQ(test::ErrorOf([&] { BlockSolve(100, conc, lower, upper, block, one, one, 0, work); }),
              kSubscriptOutOfRange);
    // Singular 2 x 2 blocks: reported, and the solve goes on.
    for (int j = 1; j <= n; ++j) block[j] = Matrix6{{{1, 1}, {1, 1}}};
    const Matrix6 identity{{{1, 0}, {0, 1}}};
    EXPECT_FALSE(BlockSolve(n, conc, lower, upper, block, identity, identity, 1, work));
}

TEST(BlockSolve, SolvesTheCoupledSystemOfFourSpecies) {
    // The solution put back into every equation of the system, written out here: the surface
    // relation Balance c(1) = Surface c(0), and for boxes j = 1..n
    // -Lower c(s, j-1) + sum_t Block(s, t) c(t, j) - Upper c(s, j+1) = old c(s, j), with
    // c(n+1) the fixed bulk. Its rows are diagonally dominant, so a zero residual pins the
    // solution down as closely as a dense solve would.
    const int n = 6, species = 4;
    BoxVectors conc{}, lower{}, upper{};
    BoxMatrices block{};
    for (int j = 1; j <= n + 1; ++j)
        for (int s = 0; s < species; ++s) conc[j][s] = 0.2 + 0.1 * s + 0.05 * std::cos(j + s);
    for (int j = 1; j <= n; ++j)
        for (int s = 0; s < species; ++s) {
            lower[j][s] = 0.5 + 0.3 * s + 0.1 * j;
            upper[j][s] = 0.4 + 0.2 * s + 0.05 * j;
            for (int t = 0; t < species; ++t)
                block[j][s][t] = s == t ? 1 + lower[j][s] + upper[j][s] + 0.3
                                        : -0.1 * std::fabs(std::sin(1.0 + s + 2 * t + j));
        }
    // Surface: kinetic rows for A and C, balance rows for B (A + B) and D (C + D).
    const Matrix6 surface{{{1.7, -0.4, 0, 0}, {1, 1, 0, 0}, {0, 0, 2.5, -1.2}, {0, 0, 1, 1}}};
    const Matrix6 balance{{{1, 0, 0, 0}, {1, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 1, 1}}};
    const BoxVectors old = conc;
    BlockSolveWork work;
    ASSERT_TRUE(BlockSolve(n, conc, lower, upper, block, surface, balance, species - 1, work));
    for (int s = 0; s < species; ++s) {
        double residual = 0;
        for (int t = 0; t < species; ++t)
            residual += balance[s][t] * conc[1][t] - surface[s][t] * conc[0][t];
        EXPECT_NEAR(residual, 0, 1e-14) << "surface row " << s;
        for (int j = 1; j <= n; ++j) {
            residual = -lower[j][s] * conc[j - 1][s] - upper[j][s] * conc[j + 1][s] - old[j][s];
            for (int t = 0; t < species; ++t) residual += block[j][s][t] * conc[j][t];
            EXPECT_NEAR(residual, 0, 1e-14) << "box " << j << " species " << s;
        }
    }
    EXPECT_EQ(conc[n + 1], old[n + 1]);  // the bulk stays
}

}  // namespace
}  // namespace zemra
