#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_dialog.h"

namespace tarvelo {
namespace {

std::ptrdiff_t Beeps(const FakeDialog& dialog) {
  return std::ranges::count(dialog.effects(), Effect::Beep());
}

TEST(ModeSwitch, SetsEraLimitFocusAndEmptiesTheBox) {
  const struct {
    int option;
    const char* eraName;
    int maxLength;
  } cases[] = {
      {5, "", 4}, {3, "明治", 2}, {2, "大正", 2}, {1, "昭和", 2}, {4, "平成", 2},
  };
  // Whatever the box held and whichever mode came before.
  for (const auto& c : cases) {
    for (const int before : {5, 1, 4}) {
      if (before == c.option) {
        continue;  // see ClickingTheSelectedOptionAgainKeepsEverything
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
        EXPECT_EQ(dialog.form().state().eraName, c.eraName);
        EXPECT_EQ(dialog.text(), "");
        EXPECT_TRUE(dialog.focused());
      }
    }
  }
}

TEST(ModeSwitch, ClickingTheSelectedOptionAgainKeepsEverything) {
  for (const int option : {5, 1}) {
    FakeDialog dialog;
    dialog.ClickOption(option);
    dialog.Type("63");
    dialog.ClearEffects();
    dialog.ClickOption(option);
    EXPECT_EQ(dialog.text(), "63") << option;
    EXPECT_TRUE(dialog.effects().empty()) << option;
    EXPECT_EQ(dialog.form().state().eraName, option == 1 ? "昭和" : "") << option;
  }
}

TEST(InputFilter, EmptiesTheWholeBoxAndBeepsOnce) {
  // A sign alone is not a number yet, so typing one is refused too.
  for (const char* typed : {"a", "12a", "1a2", "1.", " ", "-", "＋", "年", "1\xFF"}) {
    FakeDialog dialog;
    dialog.Type(typed);
    EXPECT_EQ(dialog.effects().front(), Effect::SetText("")) << typed;
    EXPECT_EQ(Beeps(dialog), 1) << typed;
    // Whatever followed the refused key starts a new number.
    EXPECT_TRUE(dialog.text().empty() || dialog.text() == "2") << typed;
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
  for (const char* pasted : {"+12", "-5", "＋１", "－３", "−7"}) {
    FakeDialog dialog;
    dialog.Paste(pasted);
    EXPECT_TRUE(dialog.effects().empty()) << pasted;
    EXPECT_EQ(dialog.text(), pasted);
  }
}

TEST(InputFilter, PastedNumberStaysAndPastedTextGoes) {
  FakeDialog dialog;
  dialog.Paste("１９８９");
  EXPECT_EQ(dialog.text(), "１９８９");
  EXPECT_EQ(Beeps(dialog), 0);
  dialog.Paste("19.89");
  EXPECT_EQ(dialog.text(), "");
  EXPECT_EQ(Beeps(dialog), 1);
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
