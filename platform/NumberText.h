// Number text: how the workbench reads numbers out of text controls and files and how it writes
// them into captions, text controls, the result window and data files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zemra {

// Value conversion: the longest leading number of the text (optional blanks, sign, digits with
// "." as the decimal separator, optional exponent e/E/d/D); 0 when the text has no leading
// number. Never fails; a number too large for a double reads as an infinity.
double Val(std::string_view text);

// Strict conversion: the whole text, blanks around it allowed, must be one number in the form
// above; nullopt otherwise (empty text, trailing characters, a lone exponent letter, overflow).
std::optional<double> StrictNumber(std::string_view text);

// The four caption patterns: one mantissa digit before the point, at most the pattern's number
// of decimals (trailing zeros and a bare point dropped), then the exponent letter and the
// exponent, signed only when negative: FormatPattern(1000, "0.###e-#") == "1e3",
// FormatPattern(0.00153, "0.#E-0") == "1.5E-3". Supported patterns: "0.###e-#", "#.###e-#",
// "0.##e-0", "0.#E-0".
std::string FormatPattern(double value, std::string_view pattern);

// General number format: at most 15 significant digits, trailing zeros dropped, "0.5" not ".5";
// scientific as "1.5E-05" when the magnitude is below 1e-4 or at least 1e15. No blanks; this is
// the form placed into text controls.
std::string GeneralNumber(double value);
// GeneralNumber written into buf (at least kGeneralNumberChars long); returns its length.
inline constexpr size_t kGeneralNumberChars = 32;
size_t GeneralNumberChars(double value, char* buf);

// The printed form of a number: GeneralNumber with one leading blank in place of a plus sign for
// a non-negative number, and one trailing blank.
std::string PrintedNumber(double value);

}  // namespace zemra
