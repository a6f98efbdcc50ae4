#pragma once

#include <string>
#include <string_view>

namespace tarvelo {

// The controls of the dialog that the logic reads and writes.
class Controls {
 public:
  virtual ~Controls() = default;

  [[nodiscard]] virtual std::string Text1Text() const = 0;
  // Must raise Text1's Change event after the text changes, re-entrantly.
  virtual void SetText1Text(std::string_view text) = 0;
  // The most characters the input box accepts.
  virtual void SetText1MaxLength(int characters) = 0;
  virtual void Text1SetFocus() = 0;
  // True while the 西暦 option is selected.
  [[nodiscard]] virtual bool Option5Value() const = 0;
  [[nodiscard]] virtual bool Option5Enabled() const = 0;
};

// The icon and the sound of a message box.
enum class MessageStyle : int {
  kCritical = 16,
  kExclamation = 48,
  kInformation = 64,
};

// What the logic asks of the desktop it runs on.
class Platform {
 public:
  virtual ~Platform() = default;

  // Shows a modal box with one OK button; returns once the user has closed it.
  virtual void ShowMessage(std::string_view text, MessageStyle style, std::string_view title) = 0;
  virtual void Beep() = 0;
  // Ends the program at once: the window goes away and no handler runs after it.
  virtual void EndProgram() = 0;
};

}  // namespace tarvelo
