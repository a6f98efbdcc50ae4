#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "era.h"
#include "era_source.h"
#include "form1_facts.h"
#include "platform.h"
#include "value.h"

namespace tarvelo {

// The fields the dialog's handlers share; they live as long as the window.
struct Form1State {
  Value westernYear;               // the typed Western year, kept as text
  Value eraYear;                   // the era year as a number, or "元" for the first year
  Value converted;                 // the Western year, or the era label, of the last answer
  std::int16_t eraYearNumber = 0;  // the era year as typed, rounded
  std::string eraName;             // the selected era; empty in 西暦 mode
  friend bool operator==(const Form1State&, const Form1State&) = default;
};

// The behaviour of the converter dialog: one handler per control event, named after
// the control and the event. The window owns a Form1 and forwards each event to it.
class Form1 {
 public:
  // The most characters the year box takes: a Western year (as form1.ui gives the box), or
  // an era year.
  static constexpr int kWesternMaxLength = form::kText1MaxLength;
  static constexpr int kEraMaxLength = 2;

  // `eras`, when given, adds the eras the system knows after 令和; it must outlive the form.
  Form1(Controls& controls, Platform& platform, const EraSource* eras = nullptr)
      : controls_(controls), platform_(platform), eraSource_(eras) {}

  // 変換: converts the typed year in the selected direction.
  void Command1_Click();
  // 終了: ends the program.
  void Command2_Click();
  void Option1_Click();  // 昭和
  void Option2_Click();  // 大正
  void Option3_Click();  // 明治
  void Option4_Click();  // 平成
  void Option5_Click();  // 西暦
  // The input filter: discards any text that is not a number.
  void Text1_Change();

  [[nodiscard]] const Form1State& state() const { return state_; }
  [[nodiscard]] bool ended() const { return ended_; }

 private:
  void SelectEra(std::string_view eraName);
  void ShowError(std::string_view text, MessageStyle style);

  void gan();
  void rein();
  void cnen();
  void insei();
  void Hyouji();
  // The eras after 令和, read from the source at the first Western-to-era answer.
  [[nodiscard]] const std::vector<AddedEra>& Added();

  Controls& controls_;
  Platform& platform_;
  const EraSource* eraSource_;
  std::optional<std::vector<AddedEra>> added_;
  Form1State state_;
  bool ended_ = false;
};

}  // namespace tarvelo
