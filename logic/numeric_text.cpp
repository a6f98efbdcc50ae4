#include "numeric_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <system_error>

namespace tarvelo {
namespace {

constexpr std::array<std::string_view, 5> kSigns = {"+", "-", "＋", "－", "−"};
constexpr std::string_view kFullWidthZero = "０";  // U+FF10; U+FF11..U+FF19 follow in the last byte

// Reads one digit at the front of `rest`, consuming it; returns its ASCII form.
std::optional<char> TakeDigit(std::string_view& rest) {
  if (!rest.empty() && rest.front() >= '0' && rest.front() <= '9') {
    const char digit = rest.front();
    rest.remove_prefix(1);
    return digit;
  }
  if (rest.size() >= 3 && rest.starts_with(kFullWidthZero.substr(0, 2))) {
    const int offset =
        static_cast<unsigned char>(rest[2]) - static_cast<unsigned char>(kFullWidthZero[2]);
    if (offset >= 0 && offset <= 9) {
      rest.remove_prefix(3);
      return static_cast<char>('0' + offset);
    }
  }
  return std::nullopt;
}

// Walks a whole-number text, handing each digit in ASCII form to `on_digit`.
// Returns whether the number is negative, or nothing when the text is not a number.
template <typename OnDigit>
std::optional<bool> Scan(std::string_view text, OnDigit on_digit) {
  bool negative = false;
  for (const auto sign : kSigns) {
    if (text.starts_with(sign)) {
      negative = sign != "+" && sign != "＋";
      text.remove_prefix(sign.size());
      break;
    }
  }
  bool any_digit = false;
  while (const auto digit = TakeDigit(text)) {
    on_digit(*digit);
    any_digit = true;
  }
  if (!any_digit || !text.empty()) {
    return std::nullopt;
  }
  return negative;
}

}  // namespace

bool IsNumericText(std::string_view text) {
  return Scan(text, [](char) {}).has_value();
}

double TextToNumber(std::string_view text) {
  std::string digits;
  const auto negative = Scan(text, [&digits](char digit) { digits.push_back(digit); });
  if (!negative) {
    return 0.0;
  }
  double magnitude = 0.0;
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
  if (result.ec == std::errc::result_out_of_range) {
    magnitude = std::numeric_limits<double>::max();
  }
  return *negative ? -magnitude : magnitude;
}

std::int16_t TextToInteger(std::string_view text) {
  const double rounded = std::round(TextToNumber(text));
  constexpr double kLowest = std::numeric_limits<std::int16_t>::min();
  constexpr double kHighest = std::numeric_limits<std::int16_t>::max();
  if (rounded <= kLowest) {
    return std::numeric_limits<std::int16_t>::min();
  }
  if (rounded >= kHighest) {
    return std::numeric_limits<std::int16_t>::max();
  }
  return static_cast<std::int16_t>(rounded);
}

std::string FormatNumber(double value) {
  if (value == 0.0) {
    return "0";  // never "-0"
  }
  // Enough for every finite double written in fixed notation.
  std::array<char, std::numeric_limits<double>::max_exponent10 + 32> buffer{};
  const bool whole = std::isfinite(value) && value == std::trunc(value);
  const auto result = whole ? std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, 0)
                            : std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  return {buffer.data(), result.ptr};
}

}  // namespace tarvelo
