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

std::string EraLabel(double westernYear) {
  // An era runs up to and including the base year of the next one.
  const auto* era = kEras.begin();
  while (era + 1 != kEras.end() && westernYear > (era + 1)->baseYear) {
    ++era;
  }
  const double eraYear = westernYear - era->baseYear;
  std::string label(era->name);
  label += eraYear == 1.0 ? std::string(kFirstYearText) : FormatNumber(eraYear);
  return label;
}

}  // namespace tarvelo
