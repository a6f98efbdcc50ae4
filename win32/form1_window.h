#pragma once

// windows.h comes first: the other Windows headers build on it.
#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "form1.h"
#include "form1_layout.h"
#include "platform.h"
#include "registry_eras.h"

namespace tarvelo {

struct GdiDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
template <typename Handle>
using GdiHandle = std::unique_ptr<std::remove_pointer_t<Handle>, GdiDeleter>;
using IconHandle = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// The dialog's own colours: pale blue faces and grey buttons.
struct Colours {
  COLORREF background;
  COLORREF buttonFace;
  COLORREF buttonPressed;
  COLORREF buttonBorder;
  COLORREF defaultBorder;
  COLORREF text;  // of the labels, the frame and the options
  COLORREF buttonText;
  COLORREF disabledText;
};

// Whether the desktop asks for high contrast; asked again whenever the settings change.
using ContrastQuery = bool (*)();
[[nodiscard]] bool SystemHighContrast();

// The converter's window on Windows: the dialog resource IDD_FORM1 with standard
// controls. Every control notification is handed to the logic's Form1, which reaches
// back to the controls and the desktop through this class.
class Form1Window final : private Controls, private Platform {
 public:
  explicit Form1Window(HINSTANCE instance, ContrastQuery highContrast = SystemHighContrast)
      : instance_(instance), highContrast_(highContrast) {}

  // Shows the dialog until the program ends; returns the exit code. A dialog that cannot
  // be made is reported in a message box.
  int Run();

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog();
  void OnCommand(int id, int code);
  void OnOptionClick(int id, void (Form1::*handler)());
  [[nodiscard]] LRESULT OnButtonCustomDraw(const NMCUSTOMDRAW& draw) const;
  // Fonts, control places and icons for a pixel density.
  void ApplyDpi(UINT dpi);
  // The window's outer size for the form's client area.
  [[nodiscard]] SIZE WindowSize(UINT dpi) const;
  // The dialog's own colours, or the system's, as the contrast setting asks.
  void ApplyColours();
  [[nodiscard]] HWND Item(int id) const { return GetDlgItem(dialog_, id); }

  // Controls
  [[nodiscard]] std::string Text1Text() const override;
  void SetText1Text(std::string_view text) override;
  void SetText1MaxLength(int characters) override;
  void Text1SetFocus() override;
  [[nodiscard]] bool Option5Value() const override;
  [[nodiscard]] bool Option5Enabled() const override;

  // Platform
  void ShowMessage(std::string_view text, MessageStyle style, std::string_view title) override;
  void Beep() override;
  void EndProgram() override;

  HINSTANCE instance_;
  ContrastQuery highContrast_;
  HWND dialog_ = nullptr;
  bool arrowKey_ = false;   // the message being handled is an arrow key press
  int selectedOption_ = 0;  // the option selected before the click being handled
  std::optional<Colours> colours_;
  GdiHandle<HBRUSH> background_;
  using Fonts = std::array<GdiHandle<HFONT>, form::kFonts.size()>;
  Fonts fonts_;
  IconHandle bigIcon_;
  IconHandle smallIcon_;
  RegistryEraSource eras_;
  Form1 form_{*this, *this, &eras_};
};

}  // namespace tarvelo
