// Plays a byte stream as a session of the dialog and checks, after every event, the
// rules the dialog must keep whatever the user does.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "check.h"
#include "era.h"
#include "fake_dialog.h"
#include "numeric_text.h"

namespace {

using tarvelo::Effect;
using tarvelo::FakeDialog;
using tarvelo::IsNumericText;
using tarvelo::MessageStyle;

using tarvelo::fuzz::Check;

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  [[nodiscard]] bool empty() const { return at_ == size_; }
  std::uint8_t Byte() { return empty() ? 0 : data_[at_++]; }
  std::string Text() {
    const std::size_t length = std::min<std::size_t>(Byte() % 16, size_ - at_);
    std::string text(reinterpret_cast<const char*>(data_ + at_), length);
    at_ += length;
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

constexpr std::array<std::string_view, 5> kRefusals = {
    "年を入力してください。", "数字を入力してください。", "正の値を入力してください。",
    "西暦1867年以前は変換できません。", "0年はありません。"};
constexpr std::array<MessageStyle, 5> kRefusalStyles = {
    MessageStyle::kExclamation, MessageStyle::kExclamation, MessageStyle::kCritical,
    MessageStyle::kExclamation, MessageStyle::kCritical};

bool IsEraYear(std::string_view text) {
  return text == tarvelo::kFirstYearText || (IsNumericText(text) && text.front() != '-');
}

// Is this one of the seven messages, with its own style and title?
bool IsKnownMessage(const Effect& message) {
  const std::string_view text = message.text;
  for (std::size_t i = 0; i < kRefusals.size(); ++i) {
    if (text == kRefusals[i]) {
      return message.number == static_cast<int>(kRefusalStyles[i]) && message.title == "Error";
    }
  }
  if (message.number != static_cast<int>(MessageStyle::kInformation) ||
      message.title != "変換結果" || !text.ends_with("年です。")) {
    return false;
  }
  std::string_view body = text.substr(0, text.size() - std::string_view("年です。").size());
  if (body.starts_with("西暦")) {  // 西暦<typed>年は<era><year>年です。
    const auto at = body.find("年は");
    if (at == std::string_view::npos) {
      return false;
    }
    const std::string_view typed = body.substr(6, at - 6);
    const std::string_view label = body.substr(at + 6);
    return IsNumericText(typed) && label.size() > 6 && tarvelo::BaseYear(label.substr(0, 6)) &&
           IsEraYear(label.substr(6));
  }
  // <era><year>年は西暦<number>年です。
  const auto at = body.find("年は西暦");
  return at != std::string_view::npos && at > 6 && tarvelo::BaseYear(body.substr(0, 6)) &&
         IsEraYear(body.substr(6, at - 6)) && IsNumericText(body.substr(at + 12));
}

// Splits text into keystrokes, one UTF-8 character each; a stray byte is a key of its own.
std::vector<std::string> Keys(std::string_view text) {
  std::vector<std::string> keys;
  while (!text.empty()) {
    const auto lead = static_cast<unsigned char>(text.front());
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    keys.emplace_back(text.substr(0, std::min(length, text.size())));
    text.remove_prefix(keys.back().size());
  }
  return keys;
}

std::size_t Characters(std::string_view text) { return Keys(text).size(); }

// One keystroke: a full box ignores it, a number grows, anything else empties the box
// with exactly one beep.
void TypeOneKey(FakeDialog& dialog, const std::string& key) {
  const std::string before = dialog.text();
  const std::size_t effectsBefore = dialog.effects().size();
  dialog.Type(key);
  const std::vector<Effect> effects(
      dialog.effects().begin() + static_cast<std::ptrdiff_t>(effectsBefore),
      dialog.effects().end());
  const bool full = std::cmp_greater_equal(Characters(before), dialog.maxLength());
  if (dialog.form().ended()) {
    Check(effects.empty(), "nothing runs after the end");
  } else if (full) {
    Check(dialog.text() == before && effects.empty(), "a full box ignores the key");
  } else if (IsNumericText(before + key)) {
    Check(dialog.text() == before + key && effects.empty(), "a digit is kept without a sound");
  } else {
    Check(dialog.text().empty(), "a refused key empties the whole box");
    Check(effects == std::vector{Effect::SetText(""), Effect::Beep()}, "a refused key beeps once");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FakeDialog dialog;
  Input input(data, size);
  bool ended = false;
  std::string placed;  // text put in past the filter stays until something changes it
  while (!input.empty()) {
    dialog.ClearEffects();
    std::size_t typed = 0;
    switch (input.Byte() % 7) {
      case 0:
      case 1:
        dialog.ClickOption(1 + input.Byte() % 5);
        break;
      case 2:
        for (const auto& key : Keys(input.Text())) {
          TypeOneKey(dialog, key);
          ++typed;
        }
        break;
      case 3:
        dialog.Paste(input.Text());
        typed = 1;
        break;
      case 4:
        dialog.ClickConvert();
        break;
      case 5:
        placed = input.Text();
        dialog.PlaceText(placed);
        break;
      default:
        if (input.Byte() == 0xFF) {
          dialog.ClickQuit();
          Check(ended || dialog.effects() == std::vector{Effect::End()}, "quit ends at once");
          ended = true;
        }
        break;
    }
    const auto& effects = dialog.effects();
    if (ended) {
      Check(dialog.form().ended(), "the form knows it ended");
      Check(effects.empty() || effects == std::vector{Effect::End()}, "nothing runs after the end");
      continue;
    }

    const bool western = dialog.selectedOption() == 5;
    Check(dialog.form().state().eraName.empty() == western, "eraName is empty exactly in 西暦");
    Check(dialog.maxLength() == (western ? 4 : 2), "the length limit follows the mode");
    if (dialog.text() != placed) {
      Check(dialog.text().empty() || IsNumericText(dialog.text()), "the box holds only numbers");
    }

    std::size_t beeps = 0;
    for (std::size_t i = 0; i < effects.size(); ++i) {
      const Effect& effect = effects[i];
      if (effect.kind == Effect::Kind::kMessage) {
        Check(IsKnownMessage(effect), "every message is one of the seven");
        Check(i + 1 < effects.size() && effects[i + 1] == Effect::Focus(),
              "every message is followed by focus");
        if (effect.text != kRefusals[0]) {
          Check(dialog.text().empty() && dialog.focused(), "after a message the box is ready");
        }
      }
      if (effect.kind == Effect::Kind::kBeep) {
        ++beeps;
        Check(i > 0 && effects[i - 1] == Effect::SetText(""), "a beep follows the emptying");
      }
    }
    Check(beeps <= typed, "at most one beep per refused keystroke");
  }
  return 0;
}
