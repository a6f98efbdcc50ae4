#pragma once

#include <string>
#include <string_view>

namespace tarvelo {

// The contract between the logic and each realisation of the dialog (the in-memory fake,
// the Qt window, the Windows window). The realisation owns one Form1 and hands it every
// event; the Form1 reaches back through Controls and Platform below.
//
// Events, delivered on the one user-interface thread, each handler returning before the
// next event starts, except for the re-entrant Change that SetText1Text raises:
//  E1. Text1_Change runs after every change of the box's text, whoever made it: a
//      keystroke, a paste, an input method, or the logic through SetText1Text. A text set
//      to what the box already holds may or may not raise it; the logic does not care.
//  E2. An option's Click (Option1_Click ... Option5_Click) runs once each time that option
//      becomes selected, by mouse, access key or arrow key, and only then: a click on the
//      option already selected raises nothing, so a year typed in that mode stays. By the
//      time Click runs the option reads as selected (Option5Value) and the previous one
//      does not; the option that lost the selection raises nothing.
//  E3. Command1_Click and Command2_Click run once per press of the button, by mouse,
//      keyboard or access key.
//  E4. After EndProgram no event reaches the logic.

// The controls of the dialog that the logic reads and writes.
class Controls {
 public:
  virtual ~Controls() = default;

  // C1. The box's text as UTF-8, exactly as shown.
  [[nodiscard]] virtual std::string Text1Text() const = 0;
  // C2. Replaces the box's text and raises Change (E1) before returning, re-entrantly: it
  //     may be called from inside Text1_Change, and the Change it raises runs at once,
  //     inside this call. Text1Text() returns the new text once Change has run.
  virtual void SetText1Text(std::string_view text) = 0;
  // C3. From now on the box takes at most this many characters from the user (typed,
  //     pasted, committed by an input method). Setting the limit never raises Change.
  //     Whether a longer text already in the box is cut or kept is the realisation's
  //     choice: the logic empties the box after every change of the limit. The box starts
  //     with the limit Form1::kWesternMaxLength (4), the largest the logic sets, so
  //     Text1Text() never holds more than four characters: every number the logic reads is
  //     from -999 to 9999. A longer text, which only a test can place, reads as TextToNumber
  //     reads it, held at the 64-bit limits.
  virtual void SetText1MaxLength(int characters) = 0;
  // C4. Moves the keyboard focus into the box. Raises no event of the logic. Where an
  //     arrow key selected an option, the focus stays on that option instead (one focus
  //     move per key press), so that the next arrow moves on within the group.
  virtual void Text1SetFocus() = 0;
  // C5. True while the 西暦 option is selected.
  [[nodiscard]] virtual bool Option5Value() const = 0;
  // C6. True: nothing ever disables the 西暦 option.
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

  // P1. Shows a modal box with the text, the style's icon and one OK button, and returns
  //     once the user has closed it. While it is open the dialog takes no input, so no
  //     event of the logic runs.
  virtual void ShowMessage(std::string_view text, MessageStyle style, std::string_view title) = 0;
  // P2. Sounds the desktop's beep once and returns at once.
  virtual void Beep() = 0;
  // P3. Ends the program: the window goes away, the handler that called it returns, no
  //     event runs after it (E4), and the program exits with status 0.
  virtual void EndProgram() = 0;
};

}  // namespace tarvelo
