#include <cmath>
#include <functional>

#include "analysis/Calculus.h"
#include "platform/RuntimeError.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

constexpr double kPiExact = 3.14159265358979323846;

// A curve of n points on a uniform grid X(i) = x0 + (i - 1) step, y = f(X), in column 2.
struct Curve {
    Array1<kRows> X;
    Array2<kRows, 6> Y;
    Array2<kRows, 8> Icomp;
    int n;
    Curve(int points, double x0, double step, const std::function<double(double)>& f) : n(points) {
        for (int i = 1; i <= n; ++i) {
            X(i) = x0 + (i - 1) * step;
            Y(i, 2) = f(X(i));
        }
    }
    Column V() { return ColumnOf(Y, 2); }
    Column I() { return ColumnOf(Icomp, 2); }
};

TEST(Differentiate, StraightLineGivesItsSlopeOnBothGridDirections) {
    for (double step : {0.01, -0.01}) {
        Curve c(50, 0.3, step, [](double x) { return 2.0 + 3.0 * x; });
        Differentiate(c.X, c.V(), c.n);
        const double expected = step > 0 ? 3.0 : -3.0;  // h is the absolute step
        for (int i = 1; i <= c.n; ++i) EXPECT_NEAR(c.Y(i, 2), expected, 1e-9) << i;
    }
}

TEST(Differentiate, ParabolaExactInsideOneSidedAtTheEnds) {
    const double h = 0.1;
    Curve c(11, 0.0, h, [](double x) { return x * x; });
    Differentiate(c.X, c.V(), c.n);
    for (int i = 2; i <= 10; ++i) EXPECT_NEAR(c.Y(i, 2), 2 * c.X(i), 1e-12);
    EXPECT_NEAR(c.Y(1, 2), h, 1e-12);             // (h^2 - 0) / h
    EXPECT_NEAR(c.Y(11, 2), 2 * 1.0 - h, 1e-12);  // (1 - 0.81) / h = 2x - h
}

TEST(Differentiate, ZeroStepIsAnErrorAndLeavesTheCurve) {
    Curve c(5, 0.0, 0.0, [](double) { return 7.0; });
    c.Y(3, 2) = 8;
    try {
        Differentiate(c.X, c.V(), c.n);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Description(), kDivisionByZero);
    }
    EXPECT_EQ(c.Y(3, 2), 8.0);
}

TEST(Integrate, ConstantRunsUpFromTheFirstStepAndFillsTheComponentColumn) {
    Curve c(5, 0.0, 0.01, [](double) { return 1.0; });
    Integrate(c.X, c.V(), c.I(), c.n);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_NEAR(c.Y(i, 2), 0.01 * i, 1e-15);
        EXPECT_EQ(c.Icomp(i, 2), c.Y(i, 2));
    }
    EXPECT_EQ(c.Icomp(1, 1), 0.0);  // other columns are untouched
}

TEST(Integrate, ThenDifferentiateGivesNeighbourAverages) {
    auto f = [](double x) { return std::sin(5 * x) + x; };
    Curve c(30, -0.2, 0.02, f);
    Integrate(c.X, c.V(), c.I(), c.n);
    Differentiate(c.X, c.V(), c.n);
    auto y = [&](int i) { return f(c.X(i)); };
    EXPECT_NEAR(c.Y(1, 2), y(2), 1e-12);
    for (int i = 2; i <= 29; ++i) EXPECT_NEAR(c.Y(i, 2), (y(i) + y(i + 1)) / 2, 1e-12) << i;
    EXPECT_NEAR(c.Y(30, 2), y(30), 1e-12);
}

TEST(SemiDifferentiate, ConstantStaysConstant) {
    Curve c(200, 0.3, -0.005, [](double) { return -4.5e-6; });
    SemiDifferentiate(c.X, c.V(), c.n);
    for (int i = 1; i <= c.n; ++i) EXPECT_EQ(c.Y(i, 2), -4.5e-6);
}

TEST(SemiDifferentiate, SmallCurvesAreFlat) {
    const double h = 0.01;
    for (int n = 1; n <= 4; ++n) {
        Curve c(n, 0.0, h, [](double x) { return 1 + 100 * x * x; });
        const double y1 = c.Y(1, 2);
        double t3 = 0;
        if (n == 4) {
            // T(3) = K (w(1) D(2) + D(3)), w(1) = sqrt(2) - 2, K = 0.25 / sqrt(pi h).
            const double K = 0.25 / std::sqrt(kPiExact * h);
            t3 = K * ((std::sqrt(2.0) - 2) * (c.Y(2, 2) - y1) + (c.Y(3, 2) - y1));
        }
        SemiDifferentiate(c.X, c.V(), c.n);
        for (int i = 1; i <= n; ++i) EXPECT_NEAR(c.Y(i, 2), y1 + t3, 1e-9) << n << " " << i;
    }
}

TEST(SemiDifferentiate, EndPointsRepeatTheirNeighbours) {
    Curve c(40, 0.0, 0.01, [](double x) { return std::exp(3 * x); });
    SemiDifferentiate(c.X, c.V(), c.n);
    EXPECT_EQ(c.Y(1, 2), c.Y(3, 2));
    EXPECT_EQ(c.Y(2, 2), c.Y(3, 2));
    EXPECT_EQ(c.Y(40, 2), c.Y(39, 2));
    EXPECT_NE(c.Y(3, 2), c.Y(39, 2));
}

TEST(SemiIntegrate, CottrellCurrentGivesAPlateau) {
    // A Cottrell current 1/sqrt(t) stepped on after point 1, averaged over each grid step
    // (2 (sqrt(m-1) - sqrt(m-2)) / sqrt(h) for point m). Its semi-integral is a constant: the
    // continuous value is K sqrt(h) * integral of 1/(2 sqrt(u (T-u))) = K sqrt(h) pi / 2.
    const double h = 0.005;
    const int n = 300;
    Curve c(n, 0.3, -h, [](double) { return 0.0; });
    for (int m = 2; m <= n; ++m)
        c.Y(m, 2) = 2 * (std::sqrt(m - 1.0) - std::sqrt(m - 2.0)) / std::sqrt(h);
    SemiIntegrate(c.X, c.V(), c.I(), c.n);
    const double K = 0.25 / std::sqrt(kPiExact * h);
    const double plateau = K * std::sqrt(h) * kPiExact / 2;
    for (int i = 5; i <= n - 1; ++i) EXPECT_REL_NEAR(c.Y(i, 2), plateau, 0.02) << i;
    for (int i = 20; i <= n - 1; ++i) EXPECT_REL_NEAR(c.Y(i, 2), plateau, 0.003) << i;
}

TEST(Calculus, PointCountOutsideTheArraysIsAnError) {
    Curve c(3, 0.0, 0.01, [](double) { return 1.0; });
    EXPECT_THROW(SemiDifferentiate(c.X, c.V(), 4001), RuntimeError);
    EXPECT_THROW(Differentiate(c.X, c.V(), 0), RuntimeError);
    EXPECT_THROW(ColumnOf(c.Y, 6), RuntimeError);
}

}  // namespace
}  // namespace zemra
