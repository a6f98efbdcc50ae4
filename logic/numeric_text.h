#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvelo {

// Reports whether `text` is a whole number: an optional sign ("+", "-", full-width
// "＋" or "－", or "−" U+2212) followed by one or more digits, each an ASCII "0"-"9"
// or a full-width "０"-"９". Anything else is rejected: empty text, blanks, a lone
// sign, a decimal point, an exponent, separators and invalid UTF-8.
[[nodiscard]] bool IsNumericText(std::string_view text);

// Returns the value of a text accepted by IsNumericText, correctly rounded to the
// nearest double; values beyond the double range saturate at its largest finite
// magnitude, so the result is never infinite. Returns 0 for any other text.
[[nodiscard]] double TextToNumber(std::string_view text);

// Returns TextToNumber(text) rounded to the nearest whole number and saturated at
// the 16-bit limits -32768 and 32767. Returns 0 for text IsNumericText rejects.
[[nodiscard]] std::int16_t TextToInteger(std::string_view text);

// Writes a number as a message shows it: plain decimal digits with a leading "-"
// when negative, no grouping, no leading zeros, and no decimal point for whole
// values. Fractions use the shortest text that reads back as the same double.
[[nodiscard]] std::string FormatNumber(double value);

}  // namespace tarvelo
