// Mathematical constants as the program has always written them: pi to ten significant digits
// and its square root to nine, each the double nearest to that decimal (not the exact values), so
// that every computed number stays what it always was.
#pragma once

namespace zemra {

inline constexpr double kPi = 3.141592654;
inline constexpr double kSqrtPi = 1.77245385;

}  // namespace zemra
