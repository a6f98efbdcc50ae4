#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_dialog.h"

namespace tarvelo {
namespace {

constexpr int kWestern = 5;
constexpr int kShowa = 1;
constexpr int kTaisho = 2;
constexpr int kMeiji = 3;
constexpr int kHeisei = 4;

struct ConvertCase {
  int option;
  std::string pasted;
  std::string message;
  MessageStyle style;
  std::string title;
  bool placed = false;  // put in the box past the filter, which would refuse it
};

// Selects the option, pastes (or places) the text, presses 変換 and returns what the
// logic did.
std::vector<Effect> Convert(FakeDialog& dialog, int option, const std::string& pasted,
                            bool placed = false) {
  dialog.ClickOption(option);
  if (placed) {
    dialog.PlaceText(pasted);
  } else {
    dialog.Paste(pasted);
  }
  dialog.ClearEffects();
  dialog.ClickConvert();
  return dialog.effects();
}

TEST(Convert, AnswersEveryInputWithItsMessage) {
  const MessageStyle info = MessageStyle::kInformation;
  const MessageStyle warn = MessageStyle::kExclamation;
  const MessageStyle stop = MessageStyle::kCritical;
  const ConvertCase cases[] = {
      {kWestern, "1868", "西暦1868年は明治元年です。", info, "変換結果"},
      {kWestern, "2026", "西暦2026年は令和8年です。", info, "変換結果"},
      {kWestern, "２０００", "西暦２０００年は平成12年です。", info, "変換結果"},
      {kMeiji, "1", "明治元年は西暦1868年です。", info, "変換結果"},
      {kMeiji, "99", "明治99年は西暦1966年です。", info, "変換結果"},
      {kTaisho, "01", "大正元年は西暦1912年です。", info, "変換結果"},
      {kShowa, "05", "昭和5年は西暦1930年です。", info, "変換結果"},
      {kShowa, "６４", "昭和64年は西暦1989年です。", info, "変換結果"},
      {kHeisei, "+1", "平成元年は西暦1989年です。", info, "変換結果"},
      {kWestern, "1867", "西暦1867年以前は変換できません。", warn, "Error"},
      {kWestern, "0", "西暦1867年以前は変換できません。", warn, "Error"},
      {kWestern, "-0", "西暦1867年以前は変換できません。", warn, "Error"},
      {kWestern, "-5", "正の値を入力してください。", stop, "Error"},
      {kWestern, "−１", "正の値を入力してください。", stop, "Error"},
      {kHeisei, "-5", "正の値を入力してください。", stop, "Error"},
      {kMeiji, "0", "0年はありません。", stop, "Error"},
      {kTaisho, "-0", "0年はありません。", stop, "Error"},
      {kHeisei, "０", "0年はありません。", stop, "Error"},
      {kWestern, "12a", "数字を入力してください。", warn, "Error", true},
      {kWestern, "1.5", "数字を入力してください。", warn, "Error", true},
      {kShowa, "+", "数字を入力してください。", warn, "Error", true},
      {kShowa, " 1", "数字を入力してください。", warn, "Error", true},
  };
  for (const auto& c : cases) {
    FakeDialog dialog;
    const std::vector<Effect> expected = {Effect::Message(c.message, c.style, c.title),
                                          Effect::Focus(), Effect::SetText("")};
    EXPECT_EQ(Convert(dialog, c.option, c.pasted, c.placed), expected)
        << c.option << " " << c.pasted;
    EXPECT_EQ(dialog.text(), "");
    EXPECT_TRUE(dialog.focused());
  }
}

TEST(Convert, EmptyBoxIsFocusedButNotEmptiedAgain) {
  for (const int option : {kWestern, kMeiji, kHeisei}) {
    FakeDialog dialog;
    const std::vector<Effect> expected = {
        Effect::Message("年を入力してください。", MessageStyle::kExclamation, "Error"),
        Effect::Focus()};
    EXPECT_EQ(Convert(dialog, option, ""), expected) << option;
    EXPECT_TRUE(dialog.focused());
  }
}

// One dialog answers a run of conversions both ways, each from its own input alone: what
// an answer or a refusal leaves behind never reaches the next.
TEST(Convert, EachAnswerComesFromItsOwnInput) {
  const struct {
    int option;
    const char* pasted;
    const char* message;
  } steps[] = {
      {kWestern, "1926", "西暦1926年は昭和元年です。"},
      {kMeiji, "2", "明治2年は西暦1869年です。"},
      {kWestern, "２０１９", "西暦２０１９年は令和元年です。"},
      {kShowa, "01", "昭和元年は西暦1926年です。"},
      {kShowa, "64", "昭和64年は西暦1989年です。"},
      {kShowa, "0", "0年はありません。"},
      {kShowa, "1", "昭和元年は西暦1926年です。"},
      {kTaisho, "", "年を入力してください。"},
      {kTaisho, "15", "大正15年は西暦1926年です。"},
      {kWestern, "1867", "西暦1867年以前は変換できません。"},
      {kWestern, "1988", "西暦1988年は昭和63年です。"},
  };
  FakeDialog dialog;
  for (const auto& step : steps) {
    const auto effects = Convert(dialog, step.option, step.pasted);
    ASSERT_FALSE(effects.empty()) << step.pasted;
    EXPECT_EQ(effects.front().text, step.message) << step.option << " " << step.pasted;
  }
}

}  // namespace
}  // namespace tarvelo
