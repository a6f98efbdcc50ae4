#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "contract_check.h"
#include "fake_dialog.h"

namespace tarvelo {
namespace {

std::ptrdiff_t Beeps(const FakeDialog& dialog) {
  return std::ranges::count(dialog.effects(), Effect::Beep());
}

// The box ends empty and focused with the mode's limit, and the next conversion goes the
// mode's way.
TEST(ModeSwitch, SetsEraLimitFocusAndEmptiesTheBox) {
  const struct {
    int option;
    int maxLength;
    const char* answerTo2;
  } cases[] = {
      {5, 4, "西暦1867年以前は変換できません。"}, {3, 2, "明治2年は西暦1869年です。"},
      {2, 2, "大正2年は西暦1913年です。"},        {1, 2, "昭和2年は西暦1927年です。"},
      {4, 2, "平成2年は西暦1990年です。"},
  };
  // Whatever the box held and whichever mode came before.
  for (const auto& c : cases) {
    for (const int before : {5, 1, 4}) {
      if (before == c.option) {
        continue;  // a click on the selected option raises nothing (platform.h, E2)
      }
      for (const char* typed : {"", "20", "2000", "－１"}) {
        FakeDialog dialog;
        dialog.ClickOption(before);
        dialog.Type(typed);
        dialog.ClearEffects();
        dialog.ClickOption(c.option);
        const std::vector<Effect> expected = {Effect::MaxLength(c.maxLength), Effect::Focus(),
                                              Effect::SetText("")};
        EXPECT_EQ(dialog.effects(), expected) << c.option << " after " << before << " " << typed;
        EXPECT_EQ(dialog.text(), "");
        EXPECT_TRUE(dialog.focused());
        dialog.Type("2");
        dialog.ClickConvert();
        ASSERT_GE(dialog.effects().size(), 4U);
        EXPECT_EQ(dialog.effects()[3].text, c.answerTo2) << c.option << " after " << before;
      }
    }
  }
}

// The fake keeps the rules of platform.h that the window's tests hold it to.
TEST(Contract, FakeDialogKeepsIt) {
  FakeDialog dialog;
  const auto broken =
      BrokenContractRules({dialog, [&dialog](std::string_view text) { dialog.Type(text); },
                           [&dialog](int option) { dialog.ClickOption(option); }});
  EXPECT_TRUE(broken.empty()) << ::testing::PrintToString(broken);
}

TEST(InputFilter, EmptiesTheWholeBoxAndBeepsOnce) {
  const std::vector<Effect> refused = {Effect::SetText(""), Effect::Beep()};
  // A sign alone is not a number yet, so typing one is refused too.
  for (const char* typed : {"a", "12a", "1a2", "1.", " ", "-", "＋", "年", "1\xFF"}) {
    FakeDialog dialog;
    dialog.Type(typed);
    EXPECT_EQ(dialog.effects(), refused) << typed;
    // Whatever followed the refused key starts a new number.
    EXPECT_TRUE(dialog.text().empty() || dialog.text() == "2") << typed;
  }
  for (const char* pasted : {"19.89", "1 9", "年1"}) {
    FakeDialog dialog;
    dialog.Paste(pasted);
    EXPECT_EQ(dialog.effects(), refused) << pasted;
    EXPECT_EQ(dialog.text(), "") << pasted;
  }
}

TEST(InputFilter, EveryRefusalBeepsOnceEach) {
  FakeDialog dialog;
  dialog.Type("1x2y");
  EXPECT_EQ(Beeps(dialog), 2);
  EXPECT_EQ(dialog.text(), "");
}

TEST(InputFilter, KeepsNumbersAndNeverBeeps) {
  for (const char* typed : {"1989", "0", "２０００", "1２３"}) {
    FakeDialog dialog;
    dialog.Type(typed);
    EXPECT_TRUE(dialog.effects().empty()) << typed;
    EXPECT_EQ(dialog.text(), typed);
  }
  // A signed number arrives whole when pasted or committed by an input method.
  for (const char* pasted : {"１９８９", "+12", "-5", "＋１", "－３", "−7"}) {
    FakeDialog dialog;
    dialog.Paste(pasted);
    EXPECT_TRUE(dialog.effects().empty()) << pasted;
    EXPECT_EQ(dialog.text(), pasted);
  }
}

TEST(InputFilter, BoxStopsAtTheModesLimit) {
  FakeDialog dialog;
  dialog.Type("19890");
  EXPECT_EQ(dialog.text(), "1989");
  dialog.ClickOption(3);
  dialog.Type("123");
  EXPECT_EQ(dialog.text(), "12");
  dialog.ClickOption(5);
  dialog.Type("２０１９０");
  EXPECT_EQ(dialog.text(), "２０１９");
  EXPECT_EQ(Beeps(dialog), 0);
}

TEST(Quit, EndsOnceAndNothingRunsAfterIt) {
  FakeDialog dialog;
  dialog.Type("1989");
  dialog.ClearEffects();
  dialog.ClickQuit();
  EXPECT_EQ(dialog.effects(), std::vector<Effect>{Effect::End()});
  EXPECT_TRUE(dialog.form().ended());

  dialog.ClickConvert();
  dialog.ClickOption(2);
  dialog.Type("x");
  dialog.ClickQuit();
  EXPECT_EQ(dialog.effects(), std::vector<Effect>{Effect::End()});
}

}  // namespace
}  // namespace tarvelo
