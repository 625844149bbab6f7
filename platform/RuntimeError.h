// Run-time errors of the workbench: one exception type that carries the description a command
// shows in its message box, and checked arithmetic helpers that raise it where plain C++
// arithmetic would silently produce an infinity or a NaN.
#pragma once

#include <stdexcept>
#include <string>

namespace zemra {

// The descriptions the program's commands print after their message prefixes.
inline constexpr const char* kDivisionByZero = "Division by zero";
inline constexpr const char* kOverflow = "Overflow";
inline constexpr const char* kInvalidCall = "Invalid procedure call or argument";
inline constexpr const char* kSubscriptOutOfRange = "Subscript out of range";
inline constexpr const char* kTypeMismatch = "Type mismatch";
inline constexpr const char* kFileNotFound = "File not found";
inline constexpr const char* kPathAccessError = "Path/File access error";

struct RuntimeError : std::runtime_error {
    explicit RuntimeError(const std::string& description) : std::runtime_error(description) {}
    std::string Description() const { return what(); }
};

[[noreturn]] void Raise(const std::string& description);

// a / b; raises "Division by zero" for b == 0 and "Overflow" for a non-finite result.
double Div(double a, double b);
// e^x; raises "Overflow" when the result is not finite.
double Exp(double x);
// Natural logarithm; raises "Invalid procedure call or argument" for x <= 0.
double Log(double x);
// Square root; raises "Invalid procedure call or argument" for x < 0.
double Sqrt(double x);
// a^b; raises "Invalid procedure call or argument" for a negative base with a fractional
// exponent, "Division by zero" for 0 to a negative power and "Overflow" for a non-finite result.
double Pow(double a, double b);
// Returns x; raises "Overflow" when x is an infinity or a NaN.
double Finite(double x);
// Nearest whole number, halves to the even neighbour, as a 16-bit signed count;
// raises "Overflow" outside -32768..32767.
int RoundToInt16(double x);
// Nearest whole number, halves to the even neighbour, as a 32-bit signed count;
// raises "Overflow" outside the range of int.
int RoundToInt32(double x);

}  // namespace zemra
