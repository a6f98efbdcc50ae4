#include "era_source.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <utility>

#include "form1_facts.h"

namespace tarvelo {
namespace {

constexpr int kLastYear = form::kLargestWesternYear;
constexpr std::size_t kMostNameCharacters = 4;

// The code point of the UTF-8 character at the start of `text`, which it removes; nothing
// for a malformed, overlong or surrogate sequence.
std::optional<char32_t> TakeCharacter(std::string_view& text) {
  const auto lead = static_cast<unsigned char>(text.front());
  std::size_t length = 0;
  char32_t code = 0;
  char32_t least = 0;
  if (lead < 0x80) {
    length = 1;
    code = lead;
  } else if ((lead & 0xE0U) == 0xC0) {
    length = 2;
    code = lead & 0x1FU;
    least = 0x80;
  } else if ((lead & 0xF0U) == 0xE0) {
    length = 3;
    code = lead & 0x0FU;
    least = 0x800;
  } else if ((lead & 0xF8U) == 0xF0) {
    length = 4;
    code = lead & 0x07U;
    least = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() < length) {
    return std::nullopt;
  }
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0U) != 0x80) {
      return std::nullopt;
    }
    code = (code << 6U) | (next & 0x3FU);
  }
  text.remove_prefix(length);
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    return std::nullopt;
  }
  return code;
}

// Era names are written in kanji: the CJK unified and compatibility ideographs.
bool IsKanji(char32_t code) {
  return (code >= 0x3400 && code <= 0x4DBF) || (code >= 0x4E00 && code <= 0x9FFF) ||
         (code >= 0xF900 && code <= 0xFAFF) || (code >= 0x20000 && code <= 0x3134F);
}

// The ideograph a compatibility ideograph stands for under Unicode normalisation (NFKC),
// for those that stand for a character of a built-in era's name: an entry written with
// one names that era. Other forms that normalise to such a character (radicals, squared
// era names) are no kanji and are refused before this is asked.
char32_t Unified(char32_t code) {
  constexpr std::array<std::pair<char32_t, char32_t>, 2> kForms{{
      {0xF9A8, U'令'},
      {0x2F8B2, U'成'},
  }};
  const auto* form = std::ranges::find(kForms, code, &std::pair<char32_t, char32_t>::first);
  return form != kForms.end() ? form->second : code;
}

// The characters of an era name, compatibility ideographs as the ideographs they stand for;
// nothing when the name is not one to four kanji.
std::optional<std::u32string> EraNameCharacters(std::string_view name) {
  std::u32string characters;
  for (std::string_view rest = name; !rest.empty();) {
    const auto code = TakeCharacter(rest);
    if (!code || !IsKanji(*code) || characters.size() == kMostNameCharacters) {
      return std::nullopt;
    }
    characters.push_back(Unified(*code));
  }
  if (characters.empty()) {
    return std::nullopt;
  }
  return characters;
}

// Whether `name` is a built-in era's name, in any of its forms.
bool IsBuiltInName(const std::u32string& name) {
  return std::ranges::any_of(
      kEras, [&name](const Era& era) { return EraNameCharacters(era.name) == name; });
}

bool IsDate(int year, int month, int day) {
  constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > kLastYear || month < 1 || month > 12 || day < 1) {
    return false;
  }
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int days = kDays.at(static_cast<std::size_t>(month - 1)) + (month == 2 && leap ? 1 : 0);
  return day <= days;
}

// The number written by exactly `digits` ASCII digits at `at` in `text`.
std::optional<int> Digits(std::string_view text, std::size_t at, std::size_t digits) {
  if (at + digits > text.size()) {
    return std::nullopt;
  }
  int number = 0;
  for (const char c : text.substr(at, digits)) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    number = number * 10 + (c - '0');
  }
  return number;
}

}  // namespace

std::vector<AddedEra> AddedEras(std::span<const SystemEra> system) {
  // By first day: a source need not give its eras in order.
  std::vector<const SystemEra*> byDay;
  byDay.reserve(system.size());
  for (const SystemEra& era : system) {
    byDay.push_back(&era);
  }
  std::ranges::stable_sort(
      byDay, {}, [](const SystemEra* era) { return std::tuple(era->year, era->month, era->day); });

  std::vector<AddedEra> added;
  std::vector<std::u32string> takenNames;
  int lastBase = kEras.back().baseYear;
  for (const SystemEra* era : byDay) {
    const auto name = EraNameCharacters(era->name);
    if (name && !IsBuiltInName(*name) && IsDate(era->year, era->month, era->day) &&
        era->year - 1 > lastBase && std::ranges::find(takenNames, *name) == takenNames.end()) {
      lastBase = era->year - 1;
      added.push_back({era->name, lastBase});
      takenNames.push_back(*name);
    }
  }
  return added;
}

std::optional<SystemEra> ParseWindowsEra(std::string_view valueName, std::string_view data) {
  if (valueName.size() != 10 || valueName[4] != ' ' || valueName[7] != ' ') {
    return std::nullopt;
  }
  const auto year = Digits(valueName, 0, 4);
  const auto month = Digits(valueName, 5, 2);
  const auto day = Digits(valueName, 8, 2);
  const auto fields = std::ranges::count(data, '_') + 1;
  if (!year || !month || !day || fields != 4) {
    return std::nullopt;
  }
  return SystemEra{std::string(data.substr(0, data.find('_'))), *year, *month, *day};
}

}  // namespace tarvelo
