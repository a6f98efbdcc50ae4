#include "era.h"

#include <algorithm>
#include <cstdint>
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

std::string Label(std::string_view eraName, std::string_view eraYear) {
  std::string label(eraName);
  label += eraYear == "1" ? kFirstYearText : eraYear;
  return label;
}

}  // namespace

std::string EraLabel(std::int64_t westernYear, std::span<const AddedEra> added) {
  return EraLabel(FormatNumber(westernYear), added);
}

std::string EraLabel(std::string_view westernYear, std::span<const AddedEra> added) {
  const auto [name, base] = EraOf(TextToNumber(westernYear), added);
  return Label(name, FormatDifference(westernYear, static_cast<std::uint32_t>(base)));
}

}  // namespace tarvelo
