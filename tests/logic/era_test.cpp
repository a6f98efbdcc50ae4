#include "era.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "numeric_text.h"

namespace tarvelo {
namespace {

TEST(EraLabel, NamesEachYearAroundTheEraBoundaries) {
  const std::vector<AddedEra> none;
  const std::vector<AddedEra> added{{"試験", 2044}, {"後代", 2049}};
  const std::vector<AddedEra> outOfOrder{{"古", -5}};
  const struct {
    std::int64_t year;
    const std::vector<AddedEra>& added;
    std::string label;
  } cases[] = {
      {1867, none, "明治0"},
      {1868, none, "明治元"},
      {1869, none, "明治2"},
      {1911, none, "明治44"},
      {1912, none, "大正元"},
      {1925, none, "大正14"},
      {1926, none, "昭和元"},
      {1988, none, "昭和63"},
      {1989, none, "平成元"},
      {2018, none, "平成30"},
      {2019, none, "令和元"},
      {2026, none, "令和8"},
      {9999, none, "令和7981"},
      // The era year held at the 64-bit limits.
      {kNumberLimit, none, "令和9223372036854773789"},
      {-kNumberLimit, none, "明治-9223372036854775808"},
      {kNumberLimit, outOfOrder, "古9223372036854775807"},
      // The last added era begun names the year.
      {1868, added, "明治元"},
      {2044, added, "令和26"},
      {2045, added, "試験元"},
      {2049, added, "試験5"},
      {2050, added, "後代元"},
      {9999, added, "後代7950"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EraLabel(c.year, c.added), c.label) << c.year;
  }
}

TEST(BaseYear, KnowsNoOtherEra) {
  for (const char* name : {"", "明", "明治 ", "西暦", "令"}) {
    EXPECT_FALSE(BaseYear(name).has_value()) << name;
  }
}

}  // namespace
}  // namespace tarvelo
