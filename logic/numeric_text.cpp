#include "numeric_text.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <string>

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

std::int64_t TextToNumber(std::string_view text) {
  std::int64_t magnitude = 0;
  const auto negative = Scan(text, [&magnitude](char digit) {
    const int value = digit - '0';
    magnitude = magnitude > (kNumberLimit - value) / 10 ? kNumberLimit : magnitude * 10 + value;
  });
  if (!negative) {
    return 0;
  }
  return *negative ? -magnitude : magnitude;
}

std::int16_t TextToInteger(std::string_view text) {
  constexpr std::int64_t kLowest = std::numeric_limits<std::int16_t>::min();
  constexpr std::int64_t kHighest = std::numeric_limits<std::int16_t>::max();
  return static_cast<std::int16_t>(std::clamp(TextToNumber(text), kLowest, kHighest));
}

std::string FormatNumber(std::int64_t value) {
  // The magnitude as unsigned, where the lowest value has one.
  auto magnitude = static_cast<std::uint64_t>(value);
  if (value < 0) {
    magnitude = ~magnitude + 1;
  }
  std::array<char, std::numeric_limits<std::uint64_t>::digits10 + 2> buffer{};
  auto* start = buffer.end();
  do {
    *--start = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) {
    *--start = '-';
  }
  return {start, buffer.end()};
}

}  // namespace tarvelo
