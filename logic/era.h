#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tarvelo {

struct Era {
  std::string_view name;  // also the option's caption and the start of every label
  int baseYear;           // the Western year of the era's year 0
};

// The built-in eras in historical order; the last one ends only where the system's data
// adds an era after it (AddedEra). 令和 names Western years only: the dialog offers no
// option for it, so no era year is read as a 令和 year.
inline constexpr std::array<Era, 5> kEras{{
    {"明治", 1867},
    {"大正", 1911},
    {"昭和", 1925},
    {"平成", 1988},
    {"令和", 2018},
}};

// The smallest Western year the dialog converts: 明治元年.
inline constexpr int kFirstWesternYear = kEras.front().baseYear + 1;

// The written form of an era's first year, as in 昭和元年.
inline constexpr std::string_view kFirstYearText = "元";

// The base year of the era called `eraName`, or nothing when no era has that name.
[[nodiscard]] std::optional<int> BaseYear(std::string_view eraName);

// An era after 令和 that the system's calendar data knows; it begins in baseYear + 1.
struct AddedEra {
  std::string name;
  int baseYear = 0;
  friend bool operator==(const AddedEra&, const AddedEra&) = default;
};

// The era label of a Western year, such as "明治44" or "平成元". A year in which the
// era changed belongs to the new era. `added` continues the table after 令和, in order
// (see AddedEras). Meant for years from kFirstWesternYear on; earlier years give a 明治
// label with a number below 1 rather than failing, and an era year beyond the 64-bit
// range is held at its limit.
[[nodiscard]] std::string EraLabel(std::int64_t westernYear, std::span<const AddedEra> added = {});

}  // namespace tarvelo
