#include "icu_eras.h"

#include <unicode/calendar.h>
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <span>
#include <string>

namespace tarvelo {
namespace {

constexpr double kMillisecondsPerDay = 86'400'000.0;

bool Failed(UErrorCode status) { return U_FAILURE(status) != 0; }

// The day, in the proleptic Gregorian calendar, of an ICU time in UTC.
std::chrono::year_month_day DayOf(UDate time) {
  const auto days = static_cast<int>(std::floor(time / kMillisecondsPerDay));
  return {std::chrono::sys_days(std::chrono::days(days))};
}

}  // namespace

std::vector<SystemEra> IcuEraSource::Eras() const {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Locale locale("ja_JP@calendar=japanese");
  const std::unique_ptr<icu::Calendar> calendar(
      icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), locale, status));
  const std::unique_ptr<icu::DateFormatSymbols> symbols(
      icu::DateFormatSymbols::createForLocale(locale, status));
  if (Failed(status) || calendar == nullptr || symbols == nullptr ||
      std::string(calendar->getType()) != "japanese") {
    return {};
  }
  int32_t named = 0;
  const icu::UnicodeString* const first_name = symbols->getEraNames(named);
  const std::span<const icu::UnicodeString> names(
      first_name, first_name == nullptr || named < 0 ? 0 : static_cast<std::size_t>(named));

  std::vector<SystemEra> eras;
  const int32_t last = calendar->getMaximum(UCAL_ERA);
  for (int32_t era = 0; era <= last; ++era) {
    // With only the era and year 1 set, the Japanese calendar gives the era's first day.
    calendar->clear();
    calendar->set(UCAL_ERA, era);
    calendar->set(UCAL_YEAR, 1);
    status = U_ZERO_ERROR;
    const UDate first = calendar->getTime(status);
    if (Failed(status) || calendar->get(UCAL_ERA, status) != era || Failed(status)) {
      continue;
    }
    std::string name;
    if (static_cast<std::size_t>(era) < names.size()) {
      names[static_cast<std::size_t>(era)].toUTF8String(name);
    }
    const auto day = DayOf(first);
    eras.push_back({std::move(name), static_cast<int>(day.year()),
                    static_cast<int>(static_cast<unsigned>(day.month())),
                    static_cast<int>(static_cast<unsigned>(day.day()))});
  }
  return eras;
}

}  // namespace tarvelo
