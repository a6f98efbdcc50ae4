// Checks the numeric text functions against a second, simpler reading of the same rule,
// and the era label of whatever number a text reads as, of any length.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "check.h"
#include "era.h"
#include "numeric_text.h"

namespace {

using tarvelo::fuzz::Check;

// Decodes the text into code points; nothing when it is not valid UTF-8.
std::optional<std::u32string> Decode(std::string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = 0;
    char32_t point = 0;
    if (lead < 0x80) {
      point = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1;
      point = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2;
      point = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3;
      point = lead & 0x07;
    } else {
      return std::nullopt;
    }
    if (text.size() - i <= static_cast<std::size_t>(extra)) {
      return std::nullopt;
    }
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) {
        return std::nullopt;
      }
      point = (point << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (point < kSmallest[extra] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
      return std::nullopt;  // overlong, out of range or a surrogate
    }
    out.push_back(point);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

int DigitOf(char32_t point) {
  if (point >= U'0' && point <= U'9') {
    return static_cast<int>(point - U'0');
  }
  if (point >= U'０' && point <= U'９') {
    return static_cast<int>(point - U'０');
  }
  return -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const bool accepted = tarvelo::IsNumericText(text);

  // The rule read once more: a sign, then one or more digits, then the end.
  bool expected = false;
  bool negative = false;
  std::int64_t small = 0;  // the magnitude while it fits
  bool overflowed = false;
  if (const auto points = Decode(text)) {
    std::size_t i = 0;
    if (!points->empty()) {
      const char32_t first = points->front();
      if (first == U'+' || first == U'＋' || first == U'-' || first == U'－' || first == U'−') {
        negative = first != U'+' && first != U'＋';
        i = 1;
      }
    }
    expected = i < points->size();
    for (; i < points->size(); ++i) {
      const int digit = DigitOf((*points)[i]);
      if (digit < 0) {
        expected = false;
        break;
      }
      overflowed = overflowed || __builtin_mul_overflow(small, 10, &small) ||
                   __builtin_add_overflow(small, digit, &small);
    }
  }
  Check(accepted == expected, "IsNumericText follows the rule");

  const std::int64_t number = tarvelo::TextToNumber(text);
  const std::int16_t integer = tarvelo::TextToInteger(text);
  if (!accepted) {
    Check(number == 0 && integer == 0, "rejected text reads as 0");
    return 0;
  }
  const std::int64_t magnitude = overflowed ? tarvelo::kNumberLimit : small;
  Check(number == (negative ? -magnitude : magnitude), "numbers read exactly or saturate");
  Check(integer == std::clamp<std::int64_t>(number, -32768, 32767),
        "the integer is the saturated number");
  Check(tarvelo::TextToNumber(tarvelo::FormatNumber(number)) == number,
        "numbers read back as written");

  // Whatever the number, its label names the era it falls in and the year within it,
  // held at the 64-bit limits.
  const std::string label = tarvelo::EraLabel(number);
  const auto* era = std::ranges::find_if(
      tarvelo::kEras, [&label](const tarvelo::Era& e) { return label.starts_with(e.name); });
  Check(era != tarvelo::kEras.end(), "a label begins with an era's name");
  Check(era == tarvelo::kEras.begin() || number > era->baseYear, "the era began before the year");
  Check(era + 1 == tarvelo::kEras.end() || number <= (era + 1)->baseYear,
        "the next era began after the year");
  std::int64_t eraYear = 0;
  if (__builtin_sub_overflow(number, era->baseYear, &eraYear)) {
    eraYear = std::numeric_limits<std::int64_t>::min();
  }
  Check(label.substr(era->name.size()) ==
            (eraYear == 1 ? std::string(tarvelo::kFirstYearText) : tarvelo::FormatNumber(eraYear)),
        "the era year follows the name, 元 for the first");
  return 0;
}
