#include "contract_check.h"

#include "form1.h"

namespace tarvelo {

std::vector<std::string> BrokenContractRules(const Realisation& dialog) {
  std::vector<std::string> broken;
  Controls& controls = dialog.controls;
  const auto expect = [&broken](bool held, std::string_view rule, const std::string& seen) {
    if (!held) {
      broken.push_back(std::string(rule) + " (box: \"" + seen + "\")");
    }
  };

  expect(controls.Option5Value(), "C5: 西暦 reads as selected at the start", controls.Text1Text());
  expect(controls.Option5Enabled(), "C6: 西暦 is enabled", controls.Text1Text());

  dialog.type("12345");
  expect(controls.Text1Text() == "1234", "C3: the box starts taking at most four characters",
         controls.Text1Text());
  controls.SetText1Text("");

  // Form1's filter empties a box holding something that is not a number: when the text
  // set is gone on return, Change ran inside the call.
  controls.SetText1Text("12");
  expect(controls.Text1Text() == "12", "C1, C2: a number set stays as set", controls.Text1Text());
  controls.SetText1Text("x");
  expect(controls.Text1Text().empty(), "C2: SetText1Text raises Change before it returns",
         controls.Text1Text());
  dialog.type("1a");
  expect(controls.Text1Text().empty(), "E1: a keystroke raises Change", controls.Text1Text());

  // Cut to one character, "-1" is a lone sign, which the filter would empty.
  controls.SetText1Text("-1");
  controls.SetText1MaxLength(1);
  const std::string cut = controls.Text1Text();
  expect(cut == "-1" || cut == "-", "C3: setting the length limit raises no Change", cut);
  controls.SetText1Text("");
  controls.SetText1MaxLength(2);
  dialog.type("123");
  expect(controls.Text1Text() == "12", "C3: the user types no more than the limit",
         controls.Text1Text());
  controls.SetText1MaxLength(Form1::kWesternMaxLength);
  controls.SetText1Text("");

  // 昭和 and back to 西暦; a year typed in a mode stays when its option is clicked again.
  dialog.clickOption(1);
  expect(!controls.Option5Value(), "C5: 西暦 reads as not selected once 昭和 is",
         controls.Text1Text());
  dialog.type("63");
  dialog.clickOption(1);
  expect(controls.Text1Text() == "63", "E2: a click on the option already selected raises no Click",
         controls.Text1Text());
  dialog.clickOption(5);
  expect(controls.Option5Value() && controls.Text1Text().empty(),
         "E2: an option that becomes selected raises its Click", controls.Text1Text());
  return broken;
}

}  // namespace tarvelo
