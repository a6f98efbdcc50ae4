#include "era.h"

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

TEST(EraLabel, NamesEachYearAroundTheEraBoundaries) {
  const struct {
    int year;
    const char* label;
  } cases[] = {
      {1868, "明治元"}, {1869, "明治2"},  {1911, "明治44"},   {1912, "大正元"}, {1913, "大正2"},
      {1925, "大正14"}, {1926, "昭和元"}, {1927, "昭和2"},    {1988, "昭和63"}, {1989, "平成元"},
      {1990, "平成2"},  {2000, "平成12"}, {2018, "平成30"},   {2019, "令和元"}, {2020, "令和2"},
      {2026, "令和8"},  {2100, "令和82"}, {9999, "令和7981"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EraLabel(c.year), c.label) << c.year;
  }
}

TEST(BaseYear, GivesTheWesternYearOfYearZero) {
  const struct {
    const char* era;
    int eraYear;
    int western;
  } cases[] = {
      {"明治", 1, 1868},  {"明治", 45, 1912}, {"明治", 99, 1966}, {"大正", 1, 1912},
      {"大正", 15, 1926}, {"昭和", 1, 1926},  {"昭和", 64, 1989}, {"平成", 1, 1989},
      {"平成", 12, 2000}, {"平成", 31, 2019}, {"平成", 38, 2026}, {"平成", 99, 2087},
  };
  for (const auto& c : cases) {
    const auto base = BaseYear(c.era);
    ASSERT_TRUE(base.has_value()) << c.era;
    EXPECT_EQ(*base + c.eraYear, c.western) << c.era << c.eraYear;
  }
}

TEST(BaseYear, KnowsNoOtherEra) {
  for (const char* name : {"", "明", "明治 ", "西暦", "令"}) {
    EXPECT_FALSE(BaseYear(name).has_value()) << name;
  }
}

}  // namespace
}  // namespace tarvelo
