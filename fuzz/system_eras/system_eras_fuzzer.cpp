// Reads the input as registry values, one line for a value's name and the next for its
// data, and checks what the eras taken from them can do to the answers: they only ever
// continue the built-in table after 令和, in order, under well-formed kanji names.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "era.h"
#include "era_source.h"

namespace {

using tarvelo::fuzz::Check;

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

// Kanji in UTF-8: three bytes for the basic plane's ideographs, four beyond it; read once
// more here, from the bit patterns.
bool IsKanjiText(std::string_view name) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < name.size(); ++characters) {
    const auto lead = static_cast<unsigned char>(name[i]);
    const std::size_t length = (lead >> 4U) == 0xE ? 3 : lead == 0xF0 ? 4 : 0;
    if (length == 0 || i + length > name.size()) {
      return false;
    }
    char32_t point = lead & (length == 3 ? 0x0FU : 0x07U);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(name[i + k]);
      if ((next >> 6U) != 2) {
        return false;
      }
      point = (point << 6U) | (next & 0x3FU);
    }
    const bool kanji =
        (point >= 0x3400 && point <= 0x4DBF) || (point >= 0x4E00 && point <= 0x9FFF) ||
        (point >= 0xF900 && point <= 0xFAFF) || (point >= 0x20000 && point <= 0x3134F);
    if (!kanji) {
      return false;
    }
    i += length;
  }
  return characters >= 1 && characters <= 4;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> lines = Lines(text);
  std::vector<tarvelo::SystemEra> entries;
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
    if (const auto era = tarvelo::ParseWindowsEra(lines[i], lines[i + 1])) {
      Check(lines[i].size() == 10, "a value's name is YYYY MM DD");
      Check(era->year >= 0 && era->year <= 9999 && era->month >= 0 && era->month <= 99 &&
                era->day >= 0 && era->day <= 99,
            "the day is read from four, two and two digits");
      entries.push_back(*era);
    }
  }

  const std::vector<tarvelo::AddedEra> added = tarvelo::AddedEras(entries);
  int previous = tarvelo::kEras.back().baseYear;
  std::set<std::string> names;
  for (const tarvelo::AddedEra& era : added) {
    Check(era.baseYear > previous, "each added era begins in a later year");
    Check(era.baseYear < 9999, "added eras begin by the year 9999");
    Check(!tarvelo::BaseYear(era.name).has_value(), "no added era takes a built-in name");
    Check(IsKanjiText(era.name), "added eras have kanji names");
    Check(names.insert(era.name).second, "added eras have different names");
    previous = era.baseYear;
  }
  const int firstChanged = added.empty() ? 10000 : added.front().baseYear + 1;
  for (const int year : {tarvelo::kFirstWesternYear, 2019, firstChanged - 1}) {
    Check(tarvelo::EraLabel(year, added) == tarvelo::EraLabel(year),
          "years before the first added era keep their labels");
  }
  for (const tarvelo::AddedEra& era : added) {
    Check(tarvelo::EraLabel(era.baseYear + 1, added) == era.name + "元",
          "an added era's first year is its 元年");
  }
  return 0;
}
