#include <cmath>
#include <vector>

#include "simulation/LinearAlgebra.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

Matrix6 Make(std::initializer_list<std::initializer_list<double>> rows) {
    Matrix6 a{};
    int i = 0;
    for (const auto& row : rows) {
        int j = 0;
        for (double v : row) a[i][j++] = v;
        ++i;
    }
    return a;
}

// max |A B - I| over the leading n x n block, with the product formed here.
double IdentityError(const Matrix6& a, const Matrix6& b, int n) {
    double worst = 0;
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < n; ++k) {
            double sum = 0;
            for (int j = 0; j < n; ++j) sum += a[i][j] * b[j][k];
            worst = std::max(worst, std::fabs(sum - (i == k ? 1.0 : 0.0)));
        }
    return worst;
}

TEST(MaxMin, PickTheLargerOrSmallerAndTheSecondOnATie) {
    EXPECT_EQ(MaxOf(2, 3), 3);
    EXPECT_EQ(MaxOf(3, 2), 3);
    EXPECT_EQ(MinOf(2, 3), 2);
    EXPECT_EQ(MinOf(3, 2), 2);
    // +0 and -0 compare equal, so the sign shows which argument came back.
    EXPECT_TRUE(std::signbit(MaxOf(0.0, -0.0)));
    EXPECT_FALSE(std::signbit(MaxOf(-0.0, 0.0)));
    EXPECT_TRUE(std::signbit(MinOf(0.0, -0.0)));
    EXPECT_FALSE(std::signbit(MinOf(-0.0, 0.0)));
}

TEST(MatMul, MultipliesTheLeadingBlocks) {
    const Matrix6 a = Make({{1, 2, 3}, {4, 5, 6}});
    const Matrix6 x = Make({{1}, {0}, {-1}});
    Matrix6 y = Make({{9, 9}, {9, 9}});
    MatMul(a, x, 1, 2, 0, y);
    EXPECT_EQ(y[0][0], 1 - 3);
    EXPECT_EQ(y[1][0], 4 - 6);
    EXPECT_EQ(y[0][1], 9);  // outside k = 0..p: untouched
}

TEST(InvertMatrix, DiagonalMatrixTakesReciprocals) {
    Matrix6 a = Make({{2, 0}, {0, 4}});
    EXPECT_TRUE(InvertMatrix(a, 1));
    EXPECT_EQ(a[0][0], 0.5);
    EXPECT_EQ(a[1][1], 0.25);
    EXPECT_EQ(a[0][1], 0);
    EXPECT_EQ(a[1][0], 0);
}

TEST(InvertMatrix, ZeroOnADiagonalMatrixIsADivisionByZero) {
    Matrix6 a = Make({{2, 0}, {0, 0}});
    try {
        InvertMatrix(a, 1);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Description(), "Division by zero");
    }
}

TEST(LinearAlgebra, IndicesBeyondTheSlotsAreSubscriptErrors) {
    Matrix6 a{};
    EXPECT_THROW(InvertMatrix(a, 6), RuntimeError);
    EXPECT_THROW(GaussJordanInverse(a, -1), RuntimeError);
    BoxVectors conc{}, coef{};
    BoxMatrices block{};
    a[0][0] = 1;
    BlockSolveWork work;
    EXPECT_THROW(BlockSolve(0, conc, coef, coef, block, a, a, 0, work), RuntimeError);
    EXPECT_THROW(BlockSolve(100, conc, coef, coef, block, a, a, 0, work), RuntimeError);
}

TEST(GaussJordanInverse, PivotOffTheDiagonalIsUnscrambled) {
    Matrix6 a = Make({{0, 1}, {1, 0}});
    EXPECT_TRUE(GaussJordanInverse(a, 1));
    EXPECT_EQ(a[0][0], 0);
    EXPECT_EQ(a[0][1], 1);
    EXPECT_EQ(a[1][0], 1);
    EXPECT_EQ(a[1][1], 0);
}

TEST(GaussJordanInverse, SingularMatrixStopsAtTheSecondPivot) {
    Matrix6 a = Make({{1, 2}, {2, 4}});
    EXPECT_FALSE(GaussJordanInverse(a, 1));
    // Step 0 pivots on the 4 at (1, 1): after both exchanges [[4, 2], [2, 1]], then
    // 1/4 = 0.25, 2 x 0.25 = 0.5, 1 - 2 x 0.5 = 0 and -2 x 0.25 = -0.5.
    EXPECT_EQ(a[0][0], 0.25);
    EXPECT_EQ(a[0][1], 0.5);
    EXPECT_EQ(a[1][0], -0.5);
    EXPECT_EQ(a[1][1], 0);
}

TEST(GaussJordanInverse, InvertsGeneralMatricesOfEveryOrder) {
    // The largest element of row i sits in column i + 1 (cyclically), so the pivots lie off the
    // diagonal and need exchanges.
    for (int n = 1; n <= 6; ++n) {
        Matrix6 a{};
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                a[i][j] = 0.5 * std::sin(1.0 + 3 * i + 7 * j + 0.7 * i * j) +
                          (j == (i + 1) % n ? 3.0 : 0.0);
        Matrix6 inv = a;
        ASSERT_TRUE(GaussJordanInverse(inv, n - 1)) << n;
        EXPECT_LT(IdentityError(a, inv, n), 1e-12) << n;
        Matrix6 viaInvert = a;
        ASSERT_TRUE(InvertMatrix(viaInvert, n - 1));
        EXPECT_LT(IdentityError(viaInvert, a, n), 1e-12) << n;
    }
}

TEST(BlockSolve, UncoupledSingleSpeciesKeepsItsValues) {
    const int n = 4;
    BoxVectors conc{}, lower{}, upper{};
    BoxMatrices block{};
    for (int j = 1; j <= n + 1; ++j) conc[j][0] = 0.1 * j;
    for (int j = 1; j <= n; ++j) block[j][0][0] = 1;
    const Matrix6 one = Make({{1}});
    BlockSolveWork work;
    EXPECT_TRUE(BlockSolve(n, conc, lower, upper, block, one, one, 0, work));
    for (int j = 1; j <= n; ++j) EXPECT_DOUBLE_EQ(conc[j][0], 0.1 * j);
    EXPECT_DOUBLE_EQ(conc[0][0], 0.1);
}

TEST(BlockSolve, SingularBlockIsReportedAndTheSolveGoesOn) {
    const int n = 3;
    BoxVectors conc{}, lower{}, upper{};
    BoxMatrices block{};
    for (int j = 1; j <= n; ++j) block[j] = Make({{1, 1}, {1, 1}});
    const Matrix6 identity = Make({{1, 0}, {0, 1}});
    BlockSolveWork work;
    EXPECT_FALSE(BlockSolve(n, conc, lower, upper, block, identity, identity, 1, work));
}

// Dense Gaussian elimination with partial pivoting, for the reference solution.
std::vector<double> DenseSolve(std::vector<std::vector<double>> a, std::vector<double> b) {
    const size_t n = b.size();
    for (size_t k = 0; k < n; ++k) {
        size_t p = k;
        for (size_t i = k + 1; i < n; ++i)
            if (std::fabs(a[i][k]) > std::fabs(a[p][k])) p = i;
        std::swap(a[k], a[p]);
        std::swap(b[k], b[p]);
        for (size_t i = k + 1; i < n; ++i) {
            const double f = a[i][k] / a[k][k];
            for (size_t j = k; j < n; ++j) a[i][j] -= f * a[k][j];
            b[i] -= f * b[k];
        }
    }
    std::vector<double> x(n);
    for (size_t k = n; k-- > 0;) {
        double s = b[k];
        for (size_t j = k + 1; j < n; ++j) s -= a[k][j] * x[j];
        x[k] = s / a[k][k];
    }
    return x;
}

TEST(BlockSolve, MatchesADenseSolveOfFourCoupledSpecies) {
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
    const Matrix6 surface =
        Make({{1.7, -0.4, 0, 0}, {1, 1, 0, 0}, {0, 0, 2.5, -1.2}, {0, 0, 1, 1}});
    const Matrix6 balance = Make({{1, 0, 0, 0}, {1, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 1, 1}});

    // Unknown c(s, j), j = 0..n, at index j * species + s.
    const int unknowns = (n + 1) * species;
    std::vector<std::vector<double>> a(unknowns, std::vector<double>(unknowns, 0.0));
    std::vector<double> rhs(unknowns, 0.0);
    auto at = [&](int j, int s) { return j * species + s; };
    for (int s = 0; s < species; ++s) {  // surface rows: Balance c(1) - Surface c(0) = 0
        for (int t = 0; t < species; ++t) {
            a[at(0, s)][at(1, t)] += balance[s][t];
            a[at(0, s)][at(0, t)] -= surface[s][t];
        }
    }
    for (int j = 1; j <= n; ++j)
        for (int s = 0; s < species; ++s) {
            const int row = at(j, s);
            a[row][at(j - 1, s)] -= lower[j][s];
            for (int t = 0; t < species; ++t) a[row][at(j, t)] += block[j][s][t];
            rhs[row] = conc[j][s];
            if (j < n)
                a[row][at(j + 1, s)] -= upper[j][s];
            else
                rhs[row] += upper[j][s] * conc[n + 1][s];
        }
    const std::vector<double> expected = DenseSolve(a, rhs);

    BlockSolveWork work;
    ASSERT_TRUE(BlockSolve(n, conc, lower, upper, block, surface, balance, species - 1, work));
    for (int j = 0; j <= n; ++j)
        for (int s = 0; s < species; ++s)
            EXPECT_RELABS_NEAR(conc[j][s], expected[static_cast<size_t>(at(j, s))], 1e-12, 1e-14)
                << "box " << j << " species " << s;
}

}  // namespace
}  // namespace zemra
