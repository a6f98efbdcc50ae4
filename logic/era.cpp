#include "era.h"

#include <algorithm>

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

std::string Label(std::string_view eraName, double eraYear) {
  std::string label(eraName);
  label += eraYear == 1.0 ? std::string(kFirstYearText) : FormatNumber(eraYear);
  return label;
}

}  // namespace

std::string EraLabel(double westernYear, std::span<const AddedEra> added) {
  // An era runs up to and including the base year of the next one.
  const auto later = std::ranges::find_if(
      added.rbegin(), added.rend(),
      [westernYear](const AddedEra& era) { return westernYear > era.baseYear; });
  if (later != added.rend()) {
    return Label(later->name, westernYear - later->baseYear);
  }
  const auto* era = kEras.begin();
  while (era + 1 != kEras.end() && westernYear > (era + 1)->baseYear) {
    ++era;
  }
  return Label(era->name, westernYear - era->baseYear);
}

}  // namespace tarvelo
