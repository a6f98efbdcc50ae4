#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fake_era_source.h"
#include "form1.h"
#include "platform.h"

namespace tarvelo {

// One thing the logic did to the dialog or the desktop.
struct Effect {
  enum class Kind { kMessage, kFocus, kSetText, kMaxLength, kBeep, kEnd };

  Kind kind = Kind::kFocus;
  std::string text;   // message text, or the text set
  int number = 0;     // message style, or the length limit
  std::string title;  // message title

  static Effect Message(std::string_view text, MessageStyle style, std::string_view title);
  static Effect Focus() { return {Kind::kFocus, {}, 0, {}}; }
  static Effect SetText(std::string_view text) {
    return {Kind::kSetText, std::string(text), 0, {}};
  }
  static Effect MaxLength(int characters) { return {Kind::kMaxLength, {}, characters, {}}; }
  static Effect Beep() { return {Kind::kBeep, {}, 0, {}}; }
  static Effect End() { return {Kind::kEnd, {}, 0, {}}; }

  friend bool operator==(const Effect&, const Effect&) = default;
};

std::ostream& operator<<(std::ostream& out, const Effect& effect);

// A working in-memory dialog: it keeps the state of the controls as the real window
// would, lets a test act as the user, and records every effect of the logic in order.
// Like a real text box it raises Change on each change of the text, the logic's own
// included, and it never accepts more characters than the length limit.
class FakeDialog final : public Controls, public Platform {
 public:
  FakeDialog() = default;
  // A dialog whose system knows `eras`.
  explicit FakeDialog(std::vector<SystemEra> eras) : eras_(std::move(eras)) {}
  // The form inside refers back to this object, so it stays where it was made.
  FakeDialog(const FakeDialog&) = delete;
  FakeDialog(FakeDialog&&) = delete;
  FakeDialog& operator=(const FakeDialog&) = delete;
  FakeDialog& operator=(FakeDialog&&) = delete;
  ~FakeDialog() override = default;

  // The user's actions.
  void Type(std::string_view characters);  // one keystroke per UTF-8 character
  void Paste(std::string_view text);       // replaces the whole text
  // Puts text in the box without raising Change, as if the filter had been bypassed.
  void PlaceText(std::string_view text) { text_ = text; }
  void ClickConvert() { form_.Command1_Click(); }
  void ClickQuit() { form_.Command2_Click(); }
  // Selects option 1 to 5 and raises its Click; the selected option and other numbers
  // are ignored.
  void ClickOption(int option);

  [[nodiscard]] const Form1& form() const { return form_; }
  [[nodiscard]] const FakeEraSource& eraSource() const { return eras_; }
  [[nodiscard]] const std::vector<Effect>& effects() const { return effects_; }
  void ClearEffects() { effects_.clear(); }
  [[nodiscard]] const std::string& text() const { return text_; }
  [[nodiscard]] int maxLength() const { return maxLength_; }
  [[nodiscard]] int selectedOption() const { return selectedOption_; }
  [[nodiscard]] bool focused() const { return focused_; }

  // Controls
  [[nodiscard]] std::string Text1Text() const override { return text_; }
  void SetText1Text(std::string_view text) override;
  void SetText1MaxLength(int characters) override;
  void Text1SetFocus() override;
  [[nodiscard]] bool Option5Value() const override { return selectedOption_ == 5; }
  [[nodiscard]] bool Option5Enabled() const override { return true; }

  // Platform
  void ShowMessage(std::string_view text, MessageStyle style, std::string_view title) override;
  void Beep() override;
  void EndProgram() override;

 private:
  // Sets the text as the box would, cut to the length limit, and raises Change.
  void ChangeText(std::string_view text);

  FakeEraSource eras_;
  Form1 form_{*this, *this, &eras_};
  std::vector<Effect> effects_;
  std::string text_;
  int maxLength_ = Form1::kWesternMaxLength;
  int selectedOption_ = 5;
  bool focused_ = false;
};

}  // namespace tarvelo
