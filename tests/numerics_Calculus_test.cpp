#include <cmath>
#include <functional>

#include "numerics/Calculus.h"
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

TEST(Differentiate, StraightLineGivesItsSlopeAndAParabolaIsExactInside) {
    for (double step : {0.01, -0.01}) {
        Curve c(50, 0.3, step, [](double x) { return 2.0 + 3.0 * x; });
        Differentiate(c.X, c.V(), c.n);
        const double expected = step > 0 ? 3.0 : -3.0;  // h is the absolute step
        for (int i = 1; i <= c.n; ++i) EXPECT_NEAR(c.Y(i, 2), expected, 1e-9) << i;
    }
    const double h = 0.1;
    Curve c(11, 0.0, h, [](double x) { return x * x; });
    Differentiate(c.X, c.V(), c.n);
    for (int i = 2; i <= 10; ++i) EXPECT_NEAR(c.Y(i, 2), 2 * c.X(i), 1e-12);
    EXPECT_NEAR(c.Y(1, 2), h, 1e-12);             // (h^2 - 0) / h
    EXPECT_NEAR(c.Y(11, 2), 2 * 1.0 - h, 1e-12);  // (1 - 0.81) / h = 2x - h
}

TEST(Calculus, ZeroStepOrPointCountOutsideTheArraysIsAnErrorAndLeavesTheCurve) {
    Curve c(5, 0.0, 0.0, [](double) { return 7.0; });
    c.Y(3, 2) = 8;
    EXPECT_EQ(test::ErrorOf([&] { Differentiate(c.X, c.V(), c.n); }), kDivisionByZero);
    EXPECT_EQ(c.Y(3, 2), 8.0);
    EXPECT_THROW(SemiDifferentiate(c.X, c.V(), 4001), RuntimeError);
    EXPECT_THROW(Differentiate(c.X, c.V(), 0), RuntimeError);
    EXPECT_THROW(ColumnOf(c.Y, 6), RuntimeError);
}

TEST(Integrate, RunsUpFromTheFirstStepAndDifferentiatesBackToNeighbourAverages) {
    Curve one(5, 0.0, 0.01, [](double) { return 1.0; });
    Integrate(one.X, one.V(), one.I(), one.n);
    for (int i = 1; i <= 5; ++i) {
        EXPECT_NEAR(one.Y(i, 2), 0.01 * i, 1e-15);
        EXPECT_EQ(one.Icomp(i, 2), one.Y(i, 2));  // the component column follows
    }
    EXPECT_EQ(one.Icomp(1, 1), 0.0);  // other columns are untouched

    auto f = [](double x) { return std::sin(5 * x) + x; };
    Curve c(30, -0.2, 0.02, f);
    Integrate(c.X, c.V(), c.I(), c.n);
    Differentiate(c.X, c.V(), c.n);
    auto y = [&](int i) { return f(c.X(i)); };
    EXPECT_NEAR(c.Y(1, 2), y(2), 1e-12);
    for (int i = 2; i <= 29; ++i) EXPECT_NEAR(c.Y(i, 2), (y(i) + y(i + 1)) / 2, 1e-12) << i;
    EXPECT_NEAR(c.Y(30, 2), y(30), 1e-12);
}

TEST(SemiDifferentiate, ConstantsSmallCurvesAndEndPoints) {
    Curve flat(200, 0.3, -0.005, [](double) { return -4.5e-6; });
    SemiDifferentiate(flat.X, flat.V(), flat.n);
    for (int i = 1; i <= flat.n; ++i) EXPECT_EQ(flat.Y(i, 2), -4.5e-6);

    // With N <= 4 every point is y(1) + T(3), where T(3) = K (w(1) D(2) + D(3)) for N = 4, with
    // w(1) = sqrt(2) - 2 and K = 0.25 / sqrt(pi h), and 0 otherwise.
    const double h = 0.01;
    for (int n = 1; n <= 4; ++n) {
        Curve c(n, 0.0, h, [](double x) { return 1 + 100 * x * x; });
        const double y1 = c.Y(1, 2), K = 0.25 / std::sqrt(kPiExact * h);
        const double t3 =
            n < 4 ? 0 : K * ((std::sqrt(2.0) - 2) * (c.Y(2, 2) - y1) + (c.Y(3, 2) - y1));
        SemiDifferentiate(c.X, c.V(), c.n);
        for (int i = 1; i <= n; ++i) EXPECT_NEAR(c.Y(i, 2), y1 + t3, 1e-9) << n << " " << i;
    }

    // The first two points repeat the third, the last repeats the one before it.
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

}  // namespace
}  // namespace zemra
