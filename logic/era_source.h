#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "era.h"

namespace tarvelo {

// An era as the system's calendar data gives it: its name and its first day.
struct SystemEra {
  std::string name;  // UTF-8
  int year = 0;
  int month = 0;
  int day = 0;
  friend bool operator==(const SystemEra&, const SystemEra&) = default;
};

// Where the eras the system knows come from: ICU on Linux, the registry on Windows.
class EraSource {
 public:
  virtual ~EraSource() = default;

  // Every era the system knows, in any order, built-in ones included; empty when the data
  // is missing or cannot be read. Asked once, at the first Western-to-era answer.
  [[nodiscard]] virtual std::vector<SystemEra> Eras() const = 0;
};

// The eras of `system` that continue the built-in table after 令和, each with base year
// (its first year − 1), in the order of their first days, whatever the order of `system`.
// Taken in that order, an entry counts only when its name is one to four kanji and no
// built-in era's name in any form Unicode normalisation (NFKC) makes equal to it, its
// first day is a real date up to the year 9999, and it begins in a later year than the
// era before it (令和, or the last one taken), so that every era keeps a year of its own
// and 令和元年 stays 2019. Any other entry is passed over: built-in eras the system
// repeats, earlier eras, malformed entries, a second era in one year.
[[nodiscard]] std::vector<AddedEra> AddedEras(std::span<const SystemEra> system);

// One value of the Windows registry's list of Japanese eras: the value's name is the
// first day as "YYYY MM DD", its data "name_abbreviation_English name_English
// abbreviation". Gives nothing when either is not of that form; the name and date are
// checked by AddedEras.
[[nodiscard]] std::optional<SystemEra> ParseWindowsEra(std::string_view valueName,
                                                       std::string_view data);

}  // namespace tarvelo
