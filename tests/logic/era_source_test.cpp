#include "era_source.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "era.h"
#include "fake_dialog.h"

namespace tarvelo {
namespace {

// The eras as Windows lists them, 明治 with the day Windows gives it.
const std::vector<SystemEra> kSystemBuiltIns{
    {"明治", 1868, 1, 1}, {"大正", 1912, 7, 30}, {"昭和", 1926, 12, 25},
    {"平成", 1989, 1, 8}, {"令和", 2019, 5, 1},
};
const SystemEra kTest{"試験", 2045, 5, 1};

std::vector<SystemEra> BuiltInsAnd(std::vector<SystemEra> added) {
  std::vector<SystemEra> eras = kSystemBuiltIns;
  eras.insert(eras.end(), added.begin(), added.end());
  return eras;
}

// Presses 変換 in 西暦 mode with `year` typed and returns the answer.
std::string Answer(FakeDialog& dialog, const std::string& year) {
  dialog.Paste(year);
  dialog.ClearEffects();
  dialog.ClickConvert();
  return dialog.effects().empty() ? std::string() : dialog.effects().front().text;
}

// The eras are read at the first Western-to-era answer, and only then; an added era
// answers from the year it begins, and the era options stay the built-in ones.
TEST(SystemEras, AreReadOnceAtTheFirstWesternAnswer) {
  FakeDialog dialog(BuiltInsAnd({kTest}));
  dialog.ClickOption(4);  // 平成
  dialog.Paste("99");
  dialog.ClearEffects();
  dialog.ClickConvert();
  ASSERT_FALSE(dialog.effects().empty());
  EXPECT_EQ(dialog.effects().front().text, "平成99年は西暦2087年です。");
  dialog.ClickOption(5);
  Answer(dialog, "1867");  // refused before any conversion
  Answer(dialog, "");
  EXPECT_EQ(dialog.eraSource().reads(), 0);
  EXPECT_EQ(Answer(dialog, "2044"), "西暦2044年は令和26年です。");
  EXPECT_EQ(Answer(dialog, "2045"), "西暦2045年は試験元年です。");
  EXPECT_EQ(Answer(dialog, "2018"), "西暦2018年は平成30年です。");
  EXPECT_EQ(dialog.eraSource().reads(), 1);
}

TEST(SystemEras, EachEntryIsJudgedAgainstTheEraTakenBeforeIt) {
  const SystemEra later{"後代", 2050, 1, 1};
  const struct {
    const char* why;
    std::vector<SystemEra> entries;
    std::vector<AddedEra> added;
  } cases[] = {
      {"none", {}, {}},
      {"built-ins alone", kSystemBuiltIns, {}},
      {"one added era", {kTest}, {{"試験", 2044}}},
      {"two in order", {kTest, later}, {{"試験", 2044}, {"後代", 2049}}},
      {"out of order", {later, kTest}, {{"試験", 2044}, {"後代", 2049}}},
      {"out of order, one too early", {later, {"試験", 2019, 6, 1}}, {{"後代", 2049}}},
      {"a rejected entry does not block the next",
       {{"試験", 2045, 13, 1}, kTest},
       {{"試験", 2044}}},
      {"the same year twice", {kTest, {"後代", 2045, 10, 1}}, {{"試験", 2044}}},
      {"the same name twice", {kTest, {"試験", 2050, 1, 1}}, {{"試験", 2044}}},
      {"the same day twice", {kTest, {"後代", 2045, 5, 1}}, {{"試験", 2044}}},
      {"built-ins after an added era",
       BuiltInsAnd({kTest, kSystemBuiltIns.back()}),
       {{"試験", 2044}}},
      {"February 29 of a leap year", {{"試験", 2048, 2, 29}}, {{"試験", 2047}}},
      {"February 29 of 2400", {{"試験", 2400, 2, 29}}, {{"試験", 2399}}},
      {"four kanji", {{"天平感宝", 2045, 5, 1}}, {{"天平感宝", 2044}}},
      {"kanji beyond the basic plane",
       {{"\xF0\xA0\x80\x8B試", 2045, 5, 1}},
       {{"\xF0\xA0\x80\x8B試", 2044}}},
      {"the year 9999", {{"試験", 9999, 12, 31}}, {{"試験", 9998}}},
      // Entries passed over.
      {"empty name", BuiltInsAnd({{"", 2045, 5, 1}}), {}},
      {"placeholder name", BuiltInsAnd({{"QQ", 2045, 5, 1}}), {}},
      {"Latin name", BuiltInsAnd({{"Shiken", 2045, 5, 1}}), {}},
      {"digit in name", BuiltInsAnd({{"試験2", 2045, 5, 1}}), {}},
      {"space in name", BuiltInsAnd({{"試 験", 2045, 5, 1}}), {}},
      {"full-width letters", BuiltInsAnd({{"ＱＱ", 2045, 5, 1}}), {}},
      {"kana", BuiltInsAnd({{"しけん", 2045, 5, 1}}), {}},
      {"five kanji", BuiltInsAnd({{"試験試験試", 2045, 5, 1}}), {}},
      {"cut UTF-8", BuiltInsAnd({{"試\xE9\xA8", 2045, 5, 1}}), {}},
      {"overlong UTF-8", BuiltInsAnd({{"\xC0\x80", 2045, 5, 1}}), {}},
      {"surrogate in UTF-8", BuiltInsAnd({{"\xED\xA0\x80", 2045, 5, 1}}), {}},
      {"built-in name, later day", BuiltInsAnd({{"令和", 2045, 5, 1}}), {}},
      {"older built-in name", BuiltInsAnd({{"明治", 2045, 5, 1}}), {}},
      {"令 as a compatibility ideograph", BuiltInsAnd({{"\xEF\xA6\xA8和", 2045, 5, 1}}), {}},
      {"成 as a compatibility ideograph", BuiltInsAnd({{"平\xF0\xAF\xA2\xB2", 2045, 5, 1}}), {}},
      {"month 13", BuiltInsAnd({{"試験", 2045, 13, 1}}), {}},
      {"month 0", BuiltInsAnd({{"試験", 2045, 0, 1}}), {}},
      {"day 0", BuiltInsAnd({{"試験", 2045, 5, 0}}), {}},
      {"April 31", BuiltInsAnd({{"試験", 2045, 4, 31}}), {}},
      {"February 29 of a common year", BuiltInsAnd({{"試験", 2045, 2, 29}}), {}},
      {"February 29 of 2100", BuiltInsAnd({{"試験", 2100, 2, 29}}), {}},
      {"year past 9999", BuiltInsAnd({{"試験", 10000, 1, 1}}), {}},
      {"negative year", BuiltInsAnd({{"試験", -2045, 5, 1}}), {}},
      {"before 令和", BuiltInsAnd({{"試験", 2019, 4, 30}}), {}},
      {"the day 令和 begins", BuiltInsAnd({{"試験", 2019, 5, 1}}), {}},
      {"later in 令和's first year", BuiltInsAnd({{"試験", 2019, 12, 1}}), {}},
      {"an older era", BuiltInsAnd({{"慶応", 1865, 4, 7}}), {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AddedEras(c.entries), c.added) << c.why;
  }
}

// The date's range and the name are judged later, with every other source's entries.
TEST(ParseWindowsEra, ReadsTheDocumentedFormAlone) {
  const struct {
    const char* valueName = nullptr;
    const char* data = nullptr;
    std::optional<SystemEra> era;
  } cases[] = {
      {"2019 05 01", "令和_令_Reiwa_R", SystemEra{"令和", 2019, 5, 1}},
      {"2045 05 01", "試験_試_Shiken_S", SystemEra{"試験", 2045, 5, 1}},
      {"2045 13 01", "QQ_Q_Q_Q", SystemEra{"QQ", 2045, 13, 1}},
      {"2045 05 01", "___", SystemEra{"", 2045, 5, 1}},
      {"2045 5 1", "試験_試_Shiken_S", std::nullopt},
      {"2045-05-01", "試験_試_Shiken_S", std::nullopt},
      {"20450501", "試験_試_Shiken_S", std::nullopt},
      {"2045 05 01 ", "試験_試_Shiken_S", std::nullopt},
      {" 2045 05 01", "試験_試_Shiken_S", std::nullopt},
      {"2045  05 01", "試験_試_Shiken_S", std::nullopt},
      {"２０４５ ０５ ０１", "試験_試_Shiken_S", std::nullopt},
      {"+045 05 01", "試験_試_Shiken_S", std::nullopt},
      {"", "試験_試_Shiken_S", std::nullopt},
      {"2045 05 01", "", std::nullopt},
      {"2045 05 01", "試験", std::nullopt},
      {"2045 05 01", "試験_試_Shiken", std::nullopt},
      {"2045 05 01", "試験_試_Shiken_S_X", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseWindowsEra(c.valueName, c.data), c.era) << c.valueName << " " << c.data;
  }
}

}  // namespace
}  // namespace tarvelo
