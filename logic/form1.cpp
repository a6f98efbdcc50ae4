#include "form1.h"

#include <string_view>

#include "era.h"
#include "numeric_text.h"

namespace tarvelo {
namespace {

constexpr std::string_view kErrorTitle = "Error";
constexpr std::string_view kResultTitle = "変換結果";

constexpr std::string_view kEmptyInput = "年を入力してください。";
constexpr std::string_view kNotANumber = "数字を入力してください。";
constexpr std::string_view kNegative = "正の値を入力してください。";
constexpr std::string_view kBeforeMeiji = "西暦1867年以前は変換できません。";
constexpr std::string_view kYearZero = "0年はありません。";

}  // namespace

void Form1::Command1_Click() {
  if (ended_) {
    return;
  }
  if (controls_.Text1Text().empty()) {
    platform_.ShowMessage(kEmptyInput, MessageStyle::kExclamation, kErrorTitle);
    controls_.Text1SetFocus();
    return;
  }
  if (!IsNumericText(controls_.Text1Text())) {
    ShowError(kNotANumber, MessageStyle::kExclamation);
    return;
  }
  if (TextToNumber(controls_.Text1Text()) < 0) {
    ShowError(kNegative, MessageStyle::kCritical);
    return;
  }
  if (controls_.Option5Value()) {
    state_.westernYear = Value(controls_.Text1Text());
    if (state_.westernYear.ToNumber() < kFirstWesternYear) {
      ShowError(kBeforeMeiji, MessageStyle::kExclamation);
      return;
    }
  } else {
    if (TextToNumber(controls_.Text1Text()) == 0) {
      ShowError(kYearZero, MessageStyle::kCritical);
      return;
    }
    state_.eraYearNumber = TextToInteger(controls_.Text1Text());
    state_.eraYear = Value(std::int64_t{state_.eraYearNumber});
  }

  if (const auto base = BaseYear(state_.eraName)) {
    state_.converted = Value(state_.eraYear.ToNumber() + *base);
    gan();
    Hyouji();
    rein();
    return;
  }
  state_.converted = Value(EraLabel(state_.westernYear.ToNumber(), Added()));
  platform_.ShowMessage(
      "西暦" + state_.westernYear.ToText() + "年は" + state_.converted.ToText() + "年です。",
      MessageStyle::kInformation, kResultTitle);
  rein();
}

void Form1::Command2_Click() {
  if (ended_) {
    return;
  }
  ended_ = true;
  platform_.EndProgram();
}

void Form1::Option1_Click() { SelectEra("昭和"); }
void Form1::Option2_Click() { SelectEra("大正"); }
void Form1::Option3_Click() { SelectEra("明治"); }
void Form1::Option4_Click() { SelectEra("平成"); }

void Form1::Option5_Click() {
  if (ended_) {
    return;
  }
  controls_.SetText1MaxLength(kWesternMaxLength);
  state_.eraName.clear();
  rein();
}

void Form1::Text1_Change() {
  if (ended_) {
    return;
  }
  const std::string text = controls_.Text1Text();
  if (!text.empty() && !IsNumericText(text)) {
    // Emptying raises Change again, which then finds nothing to do: one beep.
    controls_.SetText1Text("");
    platform_.Beep();
  }
}

void Form1::SelectEra(std::string_view eraName) {
  if (ended_) {
    return;
  }
  state_.eraName = eraName;
  cnen();
  insei();
}

void Form1::ShowError(std::string_view text, MessageStyle style) {
  platform_.ShowMessage(text, style, kErrorTitle);
  rein();
}

// Writes an era's first year as 元.
void Form1::gan() {
  if (state_.eraYear == Value(std::int64_t{1})) {
    state_.eraYear = Value(std::string(kFirstYearText));
  }
}

// Leaves the input box empty and focused for the next year.
void Form1::rein() {
  controls_.Text1SetFocus();
  controls_.SetText1Text("");
}

void Form1::cnen() {
  controls_.SetText1MaxLength(kEraMaxLength);
  controls_.Text1SetFocus();
}

void Form1::insei() {
  if (controls_.Option5Enabled()) {
    controls_.SetText1Text("");
  }
}

const std::vector<AddedEra>& Form1::Added() {
  if (!added_) {
    added_ = eraSource_ != nullptr ? AddedEras(eraSource_->Eras()) : std::vector<AddedEra>{};
  }
  return *added_;
}

// Shows the answer of an era-to-Western conversion.
void Form1::Hyouji() {
  platform_.ShowMessage(state_.eraName + state_.eraYear.ToText() + "年は西暦" +
                            state_.converted.ToText() + "年です。",
                        MessageStyle::kInformation, kResultTitle);
}

}  // namespace tarvelo
