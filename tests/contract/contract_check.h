#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform.h"

namespace tarvelo {

// A realisation of the dialog as the contract check drives it: the controls its Form1
// uses, and what a user does.
struct Realisation {
  Controls& controls;
  std::function<void(std::string_view)> type;  // one keystroke per character into the box
  std::function<void(int)> clickOption;        // a mouse click on option 1 to 5
};

// Holds a dialog just opened to the rules of logic/platform.h that its Form1 can make
// visible, and leaves it in 西暦 mode with an empty box. Returns a line for each rule
// broken, naming it.
[[nodiscard]] std::vector<std::string> BrokenContractRules(const Realisation& dialog);

}  // namespace tarvelo
