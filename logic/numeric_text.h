#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace tarvelo {

// Reports whether `text` is a whole number: an optional sign ("+", "-", full-width
// "＋" or "－", or "−" U+2212) followed by one or more digits, each an ASCII "0"-"9"
// or a full-width "０"-"９". Anything else is rejected: empty text, blanks, a lone
// sign, a decimal point, an exponent, separators and invalid UTF-8.
[[nodiscard]] bool IsNumericText(std::string_view text);

// Returns the value of a text accepted by IsNumericText, saturated at the 64-bit limits
// -kNumberLimit and kNumberLimit, so that a text of any length has a value (the box holds
// four characters: platform.h, C3). Returns 0 for any other text.
inline constexpr std::int64_t kNumberLimit = std::numeric_limits<std::int64_t>::max();
[[nodiscard]] std::int64_t TextToNumber(std::string_view text);

// Returns TextToNumber(text) saturated at the 16-bit limits -32768 and 32767. Returns 0
// for text IsNumericText rejects.
[[nodiscard]] std::int16_t TextToInteger(std::string_view text);

// Writes a number as a message shows it: plain decimal digits with a leading "-" when
// negative, no grouping and no leading zeros.
[[nodiscard]] std::string FormatNumber(std::int64_t value);

}  // namespace tarvelo
