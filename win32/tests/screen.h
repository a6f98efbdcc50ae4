// Helpers of the Windows suites: waiting on a condition, what the screen shows, keys, and
// the dialog as Qt builds it from the same form.
#pragma once

#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "resource.h"

namespace tarvelo::test {

// Polls a condition until it holds or ten seconds have passed. Messages sent to this
// thread (WinEvent callbacks among them) are handled while it waits.
template <typename Condition>
bool WaitFor(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
      DispatchMessageW(&message);
    }
  }
  return true;
}

// What the screen shows in a rectangle, row by row, as 0x00RRGGBB.
inline std::vector<std::uint32_t> ScreenPixels(const RECT& rect) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) {
    return {};
  }
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  const auto* first = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(first, first + static_cast<std::ptrdiff_t>(width) * height);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  for (auto& pixel : pixels) {
    pixel &= 0xFFFFFFU;
  }
  return pixels;
}

// A COLORREF as the screen's pixels hold it.
constexpr std::uint32_t Pixel(COLORREF colour) {
  return (static_cast<std::uint32_t>(GetRValue(colour)) << 16U) |
         (static_cast<std::uint32_t>(GetGValue(colour)) << 8U) | GetBValue(colour);
}

// The share of a 4 x 4 patch (at 96 DPI) of a window's client area that shows one colour.
inline double Share(HWND window, POINT at, std::uint32_t colour) {
  const auto dpi = static_cast<int>(GetDpiForWindow(window));
  const auto scaled = [dpi](LONG pixels) { return MulDiv(static_cast<int>(pixels), dpi, 96); };
  POINT corner{scaled(at.x), scaled(at.y)};
  ClientToScreen(window, &corner);
  const RECT patch{corner.x, corner.y, corner.x + scaled(4), corner.y + scaled(4)};
  const std::vector<std::uint32_t> pixels = ScreenPixels(patch);
  return pixels.empty() ? 0.0
                        : static_cast<double>(std::count(pixels.begin(), pixels.end(), colour)) /
                              static_cast<double>(pixels.size());
}

// One key going down or up, as the keyboard reports it.
inline INPUT KeyStroke(WORD key, bool up) {
  const bool extended = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  // Win32's INPUT holds the keyboard's fields in a union.
  // NOLINTBEGIN(cppcoreguidelines-pro-type-union-access)
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0U) | (extended ? KEYEVENTF_EXTENDEDKEY : 0U);
  // NOLINTEND(cppcoreguidelines-pro-type-union-access)
  return input;
}

// A file the Linux side names in the variable `name`, as a path Windows opens: a path of
// the Linux side lies on Wine's drive Z:.
inline std::wstring PathFromVariable(const wchar_t* name) {
  std::array<wchar_t, MAX_PATH> path{};
  const DWORD length = GetEnvironmentVariableW(name, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) {
    return {};
  }
  std::wstring found = path.data();
  if (found.starts_with(L'/')) {
    std::replace(found.begin(), found.end(), L'/', L'\\');
    found.insert(0, L"Z:");
  }
  return found;
}

// A control of the Qt dialog: its place in the client area at 96 DPI and its font.
struct QtControl {
  RECT place;
  int pointsTimes100;
};

// The dialog as Qt builds it from window/form1.ui (win32/tests/qt_form, run on the Linux
// side before the suites, into the file named by TARVELO_QT_FORM): what the Windows dialog
// must show, read without the generator that makes the Windows dialog from the same form.
struct QtForm {
  SIZE client{};
  std::map<int, QtControl> controls;             // by the Windows control's id
  std::map<std::string, std::uint32_t> colours;  // 0xRRGGBB by name
  std::vector<std::string> unknown;              // controls with no Windows control

  [[nodiscard]] std::uint32_t Colour(const std::string& name) const {
    const auto found = colours.find(name);
    return found == colours.end() ? 0xFFFFFFFFU : found->second;
  }
};

inline std::optional<QtForm> ReadQtForm() {
  // The form's names against the ids of win32/resource.h.
  const std::map<std::string, int> ids{
      {"Frame1", IDC_FRAME1},     {"Option5", IDC_OPTION5},   {"Line1", IDC_LINE1},
      {"Option3", IDC_OPTION3},   {"Option2", IDC_OPTION2},   {"Option1", IDC_OPTION1},
      {"Option4", IDC_OPTION4},   {"Label1", IDC_LABEL1},     {"Text1", IDC_TEXT1},
      {"Command1", IDC_COMMAND1}, {"Command2", IDC_COMMAND2}, {"Label2", IDC_LABEL2}};
  std::ifstream file(std::filesystem::path(PathFromVariable(L"TARVELO_QT_FORM")));
  if (!file) {
    return std::nullopt;
  }
  QtForm form;
  std::string line;
  while (std::getline(file, line)) {
    std::istringstream fields(line);
    std::string kind;
    std::string name;
    fields >> kind;
    if (kind == "client") {
      fields >> form.client.cx >> form.client.cy;
    } else if (kind == "place") {
      QtControl control{};
      LONG width = 0;
      LONG height = 0;
      fields >> name >> control.place.left >> control.place.top >> width >> height >>
          control.pointsTimes100;
      control.place.right = control.place.left + width;
      control.place.bottom = control.place.top + height;
      if (const auto id = ids.find(name); id != ids.end()) {
        form.controls[id->second] = control;
      } else {
        form.unknown.push_back(name);
      }
    } else if (kind == "colour") {
      std::string hex;
      fields >> name >> hex;
      form.colours[name] = static_cast<std::uint32_t>(std::stoul(hex, nullptr, 16));
    }
  }
  return form;
}

// Where the dialog's controls differ from the Qt dialog's, scaled to `dpi`: one line each
// (control id, what, Windows, Qt); a line for each Windows control Qt has not either.
inline std::vector<std::string> PlacesApartFromQt(HWND dialog, const QtForm& qt, UINT dpi) {
  const auto scaled = [dpi](LONG pixels) {
    return MulDiv(static_cast<int>(pixels), static_cast<int>(dpi), 96);
  };
  std::vector<std::string> apart;
  for (const std::string& name : qt.unknown) {
    apart.push_back(name + ": no Windows control");
  }
  for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
       control = GetWindow(control, GW_HWNDNEXT)) {
    if (qt.controls.count(GetDlgCtrlID(control)) == 0) {
      apart.push_back(std::to_string(GetDlgCtrlID(control)) + ": not in the Qt dialog");
    }
  }
  for (const auto& [id, control] : qt.controls) {
    RECT rect{};
    if (GetWindowRect(GetDlgItem(dialog, id), &rect) == FALSE) {
      apart.push_back(std::to_string(id) + ": missing");
      continue;
    }
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect),
                    2);  // NOLINT: RECT as 2 POINTs
    const RECT& want = control.place;
    const std::array<std::pair<LONG, int>, 4> pairs{
        std::pair{rect.left, scaled(want.left)}, std::pair{rect.top, scaled(want.top)},
        std::pair{rect.right - rect.left, scaled(want.right - want.left)},
        std::pair{rect.bottom - rect.top, std::max(1, scaled(want.bottom - want.top))}};
    constexpr std::array what{"left", "top", "width", "height"};
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      if (pairs.at(i).first != pairs.at(i).second) {
        apart.push_back(std::to_string(id) + " " + what.at(i) + ": " +
                        std::to_string(pairs.at(i).first) + ", Qt " +
                        std::to_string(pairs.at(i).second));
      }
    }
  }
  return apart;
}

}  // namespace tarvelo::test
