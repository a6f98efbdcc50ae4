#include "era.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

#include "numeric_text.h"

namespace tarvelo {

std::optional<int> BaseYear(std::string_view eraName) {
  const auto* era = std::ranges::find(kEras, eraName, &Era::name);
  if (era == kEras.end()) {
    return std::nullopt;
  }
  return era->baseYear;
}

namespace {

// The era a Western year belongs to: its name and base year.
std::pair<std::string_view, int> EraOf(std::int64_t westernYear, std::span<const AddedEra> added) {
  // An era runs up to and including the base year of the next one.
  const auto later = std::ranges::find_if(
      added.rbegin(), added.rend(),
      [westernYear](const AddedEra& era) { return westernYear > era.baseYear; });
  if (later != added.rend()) {
    return {later->name, later->baseYear};
  }
  const auto* era = kEras.begin();
  while (era + 1 != kEras.end() && westernYear > (era + 1)->baseYear) {
    ++era;
  }
  return {era->name, era->baseYear};
}

// a - b, held at the 64-bit limits.
std::int64_t Difference(std::int64_t a, int b) {
  constexpr std::int64_t kLowest = std::numeric_limits<std::int64_t>::min();
  constexpr std::int64_t kHighest = std::numeric_limits<std::int64_t>::max();
  if (b > 0 && a < kLowest + b) {
    return kLowest;
  }
  if (b < 0 && a > kHighest + b) {
    return kHighest;
  }
  return a - b;
}

}  // namespace

std::string EraLabel(std::int64_t westernYear, std::span<const AddedEra> added) {
  const auto [name, base] = EraOf(westernYear, added);
  const std::int64_t eraYear = Difference(westernYear, base);
  std::string label(name);
  label += eraYear == 1 ? std::string(kFirstYearText) : FormatNumber(eraYear);
  return label;
}

}  // namespace tarvelo
