#include "numeric_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <vector>

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

// A whole number of any size, in 32-bit limbs from the least significant; no zero limb
// at the top, so zero has none.
using Limbs = std::vector<std::uint32_t>;

constexpr int kLimbBits = 32;
constexpr int kSignificandBits = 53;      // of a double
constexpr int kLargestDoubleBits = 1024;  // the bit length of the largest finite double
// Past this many limbs a number is far beyond every double: reading further changes nothing.
constexpr std::size_t kMostLimbs = kLargestDoubleBits / kLimbBits + 2;

void Trim(Limbs& number) {
  while (!number.empty() && number.back() == 0) {
    number.pop_back();
  }
}

int BitLength(const Limbs& number) {
  return number.empty() ? 0
                        : static_cast<int>(number.size() - 1) * kLimbBits +
                              static_cast<int>(std::bit_width(number.back()));
}

bool Bit(const Limbs& number, int bit) {
  const auto limb = static_cast<std::size_t>(bit / kLimbBits);
  return limb < number.size() && ((number[limb] >> (bit % kLimbBits)) & 1U) != 0;
}

// Whether any bit below `bit` is set.
bool AnyBitBelow(const Limbs& number, int bit) {
  const auto whole = static_cast<std::size_t>(bit / kLimbBits);
  const auto low = static_cast<std::uint32_t>((std::uint64_t{1} << (bit % kLimbBits)) - 1);
  return std::any_of(number.begin(), number.begin() + static_cast<std::ptrdiff_t>(whole),
                     [](std::uint32_t limb) { return limb != 0; }) ||
         (number[whole] & low) != 0;
}

void MultiplyAdd(Limbs& number, std::uint32_t factor, std::uint32_t addend) {
  std::uint64_t carry = addend;
  for (auto& limb : number) {
    carry += std::uint64_t{limb} * factor;
    limb = static_cast<std::uint32_t>(carry);
    carry >>= kLimbBits;
  }
  if (carry != 0) {
    number.push_back(static_cast<std::uint32_t>(carry));
  }
}

// Adds `amount` times 2^(32 * limb).
void Add(Limbs& number, std::size_t limb, std::uint32_t amount) {
  std::uint64_t carry = amount;
  for (; carry != 0; ++limb) {
    if (limb == number.size()) {
      number.push_back(0);
    }
    carry += number[limb];
    number[limb] = static_cast<std::uint32_t>(carry);
    carry >>= kLimbBits;
  }
}

// Subtracts `amount`, which must not exceed the number.
void Subtract(Limbs& number, std::uint32_t amount) {
  std::uint32_t borrow = amount;
  for (std::size_t limb = 0; borrow != 0; ++limb) {
    const std::uint32_t before = number[limb];
    number[limb] = before - borrow;
    borrow = before < borrow ? 1 : 0;
  }
  Trim(number);
}

// (2^53 - 1) * 2^971, the largest finite double.
Limbs LargestDouble() {
  Limbs number(kLargestDoubleBits / kLimbBits, 0);
  for (int bit = kLargestDoubleBits - kSignificandBits; bit < kLargestDoubleBits; ++bit) {
    number[static_cast<std::size_t>(bit / kLimbBits)] |= 1U << (bit % kLimbBits);
  }
  return number;
}

// Rounds to the nearest double, ties to even; a number beyond the largest finite double
// becomes that double.
void RoundToDouble(Limbs& number) {
  const int length = BitLength(number);
  if (length <= kSignificandBits) {
    return;
  }
  const int dropped = length - kSignificandBits;
  const bool up =
      Bit(number, dropped - 1) && (AnyBitBelow(number, dropped - 1) || Bit(number, dropped));
  const auto whole = static_cast<std::size_t>(dropped / kLimbBits);
  std::fill(number.begin(), number.begin() + static_cast<std::ptrdiff_t>(whole), 0U);
  number[whole] &= ~static_cast<std::uint32_t>((std::uint64_t{1} << (dropped % kLimbBits)) - 1);
  if (up) {
    Add(number, whole, 1U << (dropped % kLimbBits));
  }
  if (BitLength(number) > kLargestDoubleBits) {
    number = LargestDouble();
  }
}

// Plain decimal digits, "0" for zero.
std::string Decimal(Limbs number) {
  constexpr std::uint32_t kChunk = 1'000'000'000;  // nine digits at a time
  std::string reversed;
  while (!number.empty()) {
    std::uint64_t rest = 0;
    for (std::size_t limb = number.size(); limb-- > 0;) {
      rest = (rest << kLimbBits) | number[limb];
      number[limb] = static_cast<std::uint32_t>(rest / kChunk);
      rest %= kChunk;
    }
    Trim(number);
    for (int digit = 0; digit < 9; ++digit) {
      reversed.push_back(static_cast<char>('0' + rest % 10));
      rest /= 10;
    }
  }
  while (reversed.size() > 1 && reversed.back() == '0') {
    reversed.pop_back();
  }
  if (reversed.empty()) {
    reversed = "0";
  }
  return {reversed.rbegin(), reversed.rend()};
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

std::string FormatDifference(std::string_view text, std::uint32_t subtrahend) {
  constexpr std::int64_t kExact = std::int64_t{1} << kSignificandBits;
  if (const std::int64_t value = TextToNumber(text); value >= -kExact && value <= kExact) {
    return FormatNumber(value - subtrahend);
  }
  Limbs magnitude;
  // The text is a number here: only those have a value beyond 2^53.
  const bool negative = Scan(text, [&magnitude](char digit) {
                          if (magnitude.size() <= kMostLimbs) {
                            MultiplyAdd(magnitude, 10, static_cast<std::uint32_t>(digit - '0'));
                          }
                        }).value_or(false);
  RoundToDouble(magnitude);
  // Beyond 2^53 the magnitude is far larger than the subtrahend.
  if (negative) {
    Add(magnitude, 0, subtrahend);
  } else {
    Subtract(magnitude, subtrahend);
  }
  RoundToDouble(magnitude);
  return (negative ? "-" : "") + Decimal(std::move(magnitude));
}

}  // namespace tarvelo
