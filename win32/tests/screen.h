// Helpers of the Windows suites: waiting on a condition, what the screen shows, keys, files
// the Linux side names.
#pragma once

#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

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

}  // namespace tarvelo::test
