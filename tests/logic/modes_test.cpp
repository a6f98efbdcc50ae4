#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "contract_check.h"
#include "fake_dialog.h"

namespace tarvelo {
namespace {

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

// Each refused keystroke or paste empties the whole box with one beep; whatever follows
// starts a new number. Numbers are kept without a sound; a signed one arrives whole when
// pasted or committed by an input method, since a sign alone is not a number yet.
TEST(InputFilter, KeepsNumbersAndEmptiesTheBoxOnAnythingElse) {
  const struct {
    bool pasted;
    const char* text;
    const char* kept;
    int beeps;
  } cases[] = {
      {false, "1989", "1989", 0},
      {false, "0", "0", 0},
      {false, "２０００", "２０００", 0},
      {false, "1２３", "1２３", 0},
      {true, "１９８９", "１９８９", 0},
      {true, "+12", "+12", 0},
      {true, "-5", "-5", 0},
      {true, "＋１", "＋１", 0},
      {true, "－３", "－３", 0},
      {true, "−7", "−7", 0},
      {false, "a", "", 1},
      {false, "12a", "", 1},
      {false, "1a2", "2", 1},
      {false, "1.", "", 1},
      {false, " ", "", 1},
      {false, "-", "", 1},
      {false, "＋", "", 1},
      {false, "年", "", 1},
      {false, "1\xFF", "", 1},
      {false, "1x2y", "", 2},
      {true, "19.89", "", 1},
      {true, "1 9", "", 1},
      {true, "年1", "", 1},
  };
  for (const auto& c : cases) {
    FakeDialog dialog;
    if (c.pasted) {
      dialog.Paste(c.text);
    } else {
      dialog.Type(c.text);
    }
    std::vector<Effect> expected;
    for (int beep = 0; beep < c.beeps; ++beep) {
      expected.insert(expected.end(), {Effect::SetText(""), Effect::Beep()});
    }
    EXPECT_EQ(dialog.effects(), expected) << c.text;
    EXPECT_EQ(dialog.text(), c.kept) << c.text;
  }
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
