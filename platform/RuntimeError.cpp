#include "platform/RuntimeError.h"

#include <cmath>
#include <limits>

namespace zemra {

void Raise(const std::string& description) {
    throw RuntimeError(description);
}

double Finite(double x) {
    if (!std::isfinite(x)) Raise(kOverflow);
    return x;
}

double Div(double a, double b) {
    if (b == 0.0) Raise(kDivisionByZero);
    return Finite(a / b);
}

double Exp(double x) {
    if (std::isnan(x)) Raise(kOverflow);
    return Finite(std::exp(x));
}

double Log(double x) {
    if (!(x > 0.0) || std::isinf(x)) Raise(kInvalidCall);
    return std::log(x);
}

double Sqrt(double x) {
    if (!(x >= 0.0)) Raise(kInvalidCall);
    return Finite(std::sqrt(x));
}

double Pow(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) Raise(kOverflow);
    if (a < 0.0 && b != std::floor(b)) Raise(kInvalidCall);
    if (a == 0.0 && b < 0.0) Raise(kDivisionByZero);
    return Finite(std::pow(a, b));
}

static long long RoundHalfEven(double x, long long lo, long long hi) {
    if (!std::isfinite(x)) Raise(kOverflow);
    const double r = std::nearbyint(x);  // default rounding mode: halves to even
    if (r < static_cast<double>(lo) || r > static_cast<double>(hi)) Raise(kOverflow);
    return static_cast<long long>(r);
}

int RoundToInt16(double x) {
    return static_cast<int>(RoundHalfEven(x, -32768, 32767));
}

int RoundToInt32(double x) {
    return static_cast<int>(
        RoundHalfEven(x, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace zemra
