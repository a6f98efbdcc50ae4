// The converter's window inside the test's own process, on a thread of its own, for what
// a test cannot ask of the desktop under Wine: high contrast switched on and off, and a
// move to a screen of another density. The test hands in the contrast setting and sends
// the messages Windows sends when these change.
#include <windows.h>
// clang-format off
#include <commctrl.h>
#include <winternl.h>
#include <gtest/gtest.h>
// clang-format on

#include <algorithm>
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "form1_window.h"
#include "resource.h"
#include "screen.h"

// Win32 messages carry handles, pointers and numbers in the same WPARAM and LPARAM.
// NOLINTBEGIN(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)

namespace {

using tarvelo::test::Pixel;
using tarvelo::test::ScreenPixels;
using tarvelo::test::Share;
using tarvelo::test::WaitFor;

// The window running until the test ends, with a contrast setting the test controls.
class RunningWindow {
 public:
  // On a thread of Windows' own: the program is built without a C++ thread library.
  RunningWindow() : thread_(CreateThread(nullptr, 0, &RunningWindow::Run, nullptr, 0, &threadId_)) {
    WaitFor([this] {
      EnumThreadWindows(
          threadId_,
          [](HWND window, LPARAM found) -> BOOL {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
          },
          reinterpret_cast<LPARAM>(&dialog_));
      return dialog_ != nullptr && IsWindowVisible(dialog_) != FALSE;
    });
    SetForegroundWindow(dialog_);
  }
  ~RunningWindow() {
    if (dialog_ != nullptr) {
      PostMessageW(dialog_, WM_CLOSE, 0, 0);
    } else {
      PostThreadMessageW(threadId_, WM_QUIT, 1, 0);
    }
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  RunningWindow(const RunningWindow&) = delete;
  RunningWindow& operator=(const RunningWindow&) = delete;
  RunningWindow(RunningWindow&&) = delete;
  RunningWindow& operator=(RunningWindow&&) = delete;

  [[nodiscard]] HWND dialog() const { return dialog_; }
  // The window's thread: which control has the focus, and the caret.
  [[nodiscard]] GUITHREADINFO Thread() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(threadId_, &info);
    return info;
  }
  [[nodiscard]] HWND Control(int id) const { return GetDlgItem(dialog_, id); }
  void SetHighContrast(bool on) { HighContrast() = on; }

 private:
  // The setting the window asks for; one window runs at a time.
  static std::atomic<bool>& HighContrast() {
    static std::atomic<bool> on{false};
    return on;
  }
  static DWORD WINAPI Run(void* /*unused*/) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    HighContrast() = false;
    tarvelo::Form1Window window(GetModuleHandleW(nullptr), [] { return HighContrast().load(); });
    return static_cast<DWORD>(window.Run());
  }

  DWORD threadId_ = 0;  // written as thread_ starts
  HANDLE thread_;
  HWND dialog_ = nullptr;
};

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

std::optional<QtForm> ReadQtForm() {
  // The form's names against the ids of win32/resource.h.
  const std::map<std::string, int> ids{
      {"Frame1", IDC_FRAME1},     {"Option5", IDC_OPTION5},   {"Line1", IDC_LINE1},
      {"Option3", IDC_OPTION3},   {"Option2", IDC_OPTION2},   {"Option1", IDC_OPTION1},
      {"Option4", IDC_OPTION4},   {"Label1", IDC_LABEL1},     {"Text1", IDC_TEXT1},
      {"Command1", IDC_COMMAND1}, {"Command2", IDC_COMMAND2}, {"Label2", IDC_LABEL2}};
  std::ifstream file(std::filesystem::path(tarvelo::test::PathFromVariable(L"TARVELO_QT_FORM")));
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

// The GDI objects of this process. Wine's GetGuiResources always answers 0; there the
// handle table that the process environment block points to (at 0xF8, as on Windows)
// holds one entry per object, of type 0 while free.
int GdiObjects() {
  if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); count != 0) {
    return static_cast<int>(count);
  }
  struct Entry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
  };
  static_assert(sizeof(Entry) == 24);
  PROCESS_BASIC_INFORMATION process{};
  if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process,
                                sizeof(process), nullptr) != 0) {
    return -1;
  }
  const auto* environment = reinterpret_cast<const std::byte*>(process.PebBaseAddress);
  const auto* table = *reinterpret_cast<const Entry* const*>(environment + 0xF8);
  constexpr std::size_t kEntries = 0x10000;
  // Read only a table that lies whole in one readable region.
  MEMORY_BASIC_INFORMATION region{};
  if (table == nullptr || VirtualQuery(table, &region, sizeof(region)) == 0 ||
      region.State != MEM_COMMIT || (region.Protect & (PAGE_READONLY | PAGE_READWRITE)) == 0 ||
      reinterpret_cast<const std::byte*>(table) + kEntries * sizeof(Entry) >
          static_cast<const std::byte*>(region.BaseAddress) + region.RegionSize) {
    return -1;
  }
  int count = 0;
  for (std::size_t entry = 0; entry < kEntries; ++entry) {
    count += table[entry].type != 0 ? 1 : 0;
  }
  return count;
}

// The count once the window has painted what it had to and its thread waits again.
int SettledGdiObjects(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  SendMessageW(window, WM_NULL, 0, 0);
  return GdiObjects();
}

struct FontFacts {
  LONG height = 0;
  BYTE quality = 0;
};

FontFacts FontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return {font.lfHeight, font.lfQuality};
}

// Every control in the place and with the font the Qt dialog gives it, at `dpi` (fonts at
// the user's smoothing), and no control that the Qt dialog lacks.
void ExpectControlsAsQt(const RunningWindow& window, const QtForm& qt, UINT dpi) {
  const auto scaled = [dpi](LONG pixels) {
    return MulDiv(static_cast<int>(pixels), static_cast<int>(dpi), 96);
  };
  EXPECT_EQ(qt.unknown, std::vector<std::string>{}) << "controls without a Windows control";
  std::size_t children = 0;
  for (HWND child = GetWindow(window.dialog(), GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    ++children;
  }
  EXPECT_EQ(children, qt.controls.size()) << "Windows controls";
  for (const auto& [id, control] : qt.controls) {
    RECT rect{};
    GetWindowRect(window.Control(id), &rect);
    MapWindowPoints(nullptr, window.dialog(), reinterpret_cast<POINT*>(&rect), 2);
    const RECT& qtRect = control.place;
    EXPECT_EQ(rect.left, scaled(qtRect.left)) << "control " << id;
    EXPECT_EQ(rect.top, scaled(qtRect.top)) << "control " << id;
    EXPECT_EQ(rect.right - rect.left, scaled(qtRect.right - qtRect.left)) << "control " << id;
    EXPECT_EQ(rect.bottom - rect.top, std::max(1, scaled(qtRect.bottom - qtRect.top)))
        << "control " << id;
    if (id != IDC_LINE1) {  // the line has no text
      const FontFacts font = FontOf(window.Control(id));
      EXPECT_EQ(font.height, -MulDiv(control.pointsTimes100, static_cast<int>(dpi), 7200))
          << "control " << id;
      EXPECT_EQ(font.quality, DEFAULT_QUALITY) << "control " << id;
    }
  }
}

// With high contrast on, the dialog and its buttons show the system's face colour instead
// of their own; the switch follows the setting both ways while the dialog is open, on
// either message Windows sends.
TEST(Window, FollowsHighContrastLive) {
  if (tarvelo::test::PathFromVariable(L"TARVELO_QT_FORM").empty()) {
    GTEST_SKIP() << "no Qt dialog to compare with: it is built beside a cross build";
  }
  const std::optional<QtForm> qt = ReadQtForm();
  ASSERT_TRUE(qt.has_value()) << "no file from win32.qt_form in TARVELO_QT_FORM";
  RunningWindow window;
  HWND dialog = window.dialog();
  ASSERT_NE(dialog, nullptr);
  HWND button = window.Control(IDC_COMMAND1);
  const std::uint32_t kPaleBlue = qt->Colour("window");
  const std::uint32_t kGrey = qt->Colour("buttonFace");
  // The dialog's face, and whether the button shows the grey face the dialog paints it
  // (otherwise the button draws itself, as the system's theme has it).
  const auto shows = [&](std::uint32_t face, bool greyButton) {
    return WaitFor([&] {
      return Share(dialog, {180, 122}, face) == 1.0 && Share(dialog, {40, 60}, face) == 1.0 &&
             Share(button, {6, 8}, kGrey) == (greyButton ? 1.0 : 0.0);
    });
  };
  const std::uint32_t system = Pixel(GetSysColor(COLOR_BTNFACE));
  ASSERT_NE(system, kPaleBlue);
  ASSERT_NE(system, kGrey);
  EXPECT_TRUE(shows(kPaleBlue, true)) << "own colours at first";

  window.SetHighContrast(true);
  SendMessageW(dialog, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  EXPECT_TRUE(shows(system, false)) << "system colours with high contrast";

  window.SetHighContrast(false);
  SendMessageW(dialog, WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_TRUE(shows(kPaleBlue, true)) << "own colours again";
}

// What a control shows, but left of an option's caption, where selecting it fills the
// indicator.
std::vector<std::uint32_t> CueArea(HWND control) {
  RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  SendMessageW(control, WM_NULL, 0, 0);
  RECT rect{};
  GetWindowRect(control, &rect);
  const auto type = static_cast<UINT>(GetWindowLongPtrW(control, GWL_STYLE)) & BS_TYPEMASK;
  if (type == BS_AUTORADIOBUTTON) {
    rect.left += MulDiv(15, static_cast<int>(GetDpiForWindow(control)), 96);
  }
  return ScreenPixels(rect);
}

// At every stop of Tab and of the arrow keys, in the dialog's own colours and in high
// contrast, the control with the focus shows it: a focus cue, or in the box its caret.
TEST(Window, TheFocusShowsAtEveryKeyboardStop) {
  for (const bool highContrast : {false, true}) {
    SCOPED_TRACE(highContrast ? "high contrast" : "own colours");
    RunningWindow window;
    HWND dialog = window.dialog();
    ASSERT_NE(dialog, nullptr);
    window.SetHighContrast(highContrast);
    SendMessageW(dialog, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    struct Stop {
      WORD key;
      int id;
    };
    const std::array stops{Stop{VK_TAB, IDC_COMMAND1}, Stop{VK_TAB, IDC_COMMAND2},
                           Stop{VK_TAB, IDC_OPTION5},  Stop{VK_DOWN, IDC_OPTION3},
                           Stop{VK_DOWN, IDC_OPTION2}, Stop{VK_DOWN, IDC_OPTION1},
                           Stop{VK_DOWN, IDC_OPTION4}, Stop{VK_TAB, IDC_TEXT1}};
    // Each control as it looks without the focus, which is in the box at first; a button
    // as the default one, which it becomes with the focus.
    std::array<std::vector<std::uint32_t>, stops.size()> unfocused;
    for (std::size_t i = 0; i < stops.size(); ++i) {
      const int id = stops.at(i).id;
      if (id == IDC_COMMAND1 || id == IDC_COMMAND2) {
        SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(id), 0);
      }
      unfocused.at(i) = CueArea(window.Control(id));
    }
    SendMessageW(dialog, DM_SETDEFID, IDC_COMMAND1, 0);
    for (std::size_t i = 0; i < stops.size(); ++i) {
      const auto& [key, id] = stops.at(i);
      HWND control = window.Control(id);
      SetForegroundWindow(dialog);
      std::array keys{tarvelo::test::KeyStroke(key, false), tarvelo::test::KeyStroke(key, true)};
      ASSERT_EQ(SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)), keys.size());
      ASSERT_TRUE(WaitFor([&] { return window.Thread().hwndFocus == control; }))
          << "no focus on control " << id;
      // The focus moves while the window's thread handles the key: once it answers, the
      // control has taken the focus (its caret made) and the cues are shown.
      SendMessageW(dialog, WM_NULL, 0, 0);
      if (id == IDC_TEXT1) {
        const GUITHREADINFO thread = window.Thread();
        EXPECT_EQ(thread.hwndCaret, control) << "the box's caret";
        EXPECT_FALSE(IsRectEmpty(&thread.rcCaret)) << "the box's caret";
      } else {
        const std::vector<std::uint32_t> focused = CueArea(control);
        ASSERT_EQ(focused.size(), unfocused.at(i).size());
        std::ptrdiff_t cue = 0;
        for (std::size_t pixel = 0; pixel < focused.size(); ++pixel) {
          cue += focused[pixel] != unfocused.at(i)[pixel] ? 1 : 0;
        }
        EXPECT_GE(cue, 10) << "focus cue of control " << id;
      }
    }
  }
}

// A move to a screen of another density: asked for its size there, the dialog answers the
// exact size, then takes the place and size Windows suggests in one step, places its
// controls and makes its fonts (at the user's smoothing) for the new density, as the Qt
// dialog has them at 96 DPI; moving there and back leaves it holding as many GDI objects
// as before.
TEST(Window, FollowsAChangeOfDensity) {
  if (tarvelo::test::PathFromVariable(L"TARVELO_QT_FORM").empty()) {
    GTEST_SKIP() << "no Qt dialog to compare with: it is built beside a cross build";
  }
  const std::optional<QtForm> qt = ReadQtForm();
  ASSERT_TRUE(qt.has_value()) << "no file from win32.qt_form in TARVELO_QT_FORM";
  RunningWindow window;
  HWND dialog = window.dialog();
  ASSERT_NE(dialog, nullptr);
  const UINT first = GetDpiForWindow(dialog);
  const UINT other = first == 96 ? 144 : 96;
  const auto moveTo = [&](UINT dpi) {
    SIZE size{};
    EXPECT_EQ(SendMessageW(dialog, WM_GETDPISCALEDSIZE, dpi, reinterpret_cast<LPARAM>(&size)),
              TRUE);
    RECT now{};
    GetWindowRect(dialog, &now);
    const RECT suggested{now.left + 7, now.top + 5, now.left + 7 + size.cx, now.top + 5 + size.cy};
    SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    return suggested;
  };
  // Once there and back first: the controls keep what they make when they first paint.
  moveTo(other);
  moveTo(first);
  const int objects = SettledGdiObjects(dialog);
  ASSERT_GT(objects, 0);

  const RECT suggested = moveTo(other);
  const auto scaled = [other](LONG pixels) {
    return MulDiv(static_cast<int>(pixels), static_cast<int>(other), 96);
  };
  RECT rect{};
  GetWindowRect(dialog, &rect);
  EXPECT_TRUE(EqualRect(&rect, &suggested)) << "the suggested place and size";
  // The size asked for: the Qt dialog's client area within the frame at the new density. (The frame
  // itself changes only with a real move, so the client area cannot be read back here.)
  RECT frame{};
  AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)), other);
  EXPECT_EQ(suggested.right - suggested.left, scaled(qt->client.cx) + frame.right - frame.left);
  EXPECT_EQ(suggested.bottom - suggested.top, scaled(qt->client.cy) + frame.bottom - frame.top);
  ExpectControlsAsQt(window, *qt, other);

  moveTo(first);
  EXPECT_EQ(SettledGdiObjects(dialog), objects);
}

// The dialog as Qt builds it from the same form: the client area and every control's
// place and font at the screen's density; the colours of the window, the frame's inside,
// the labels' text and the buttons' faces (pressed too) and borders (a themed button would
// paint its own instead); the window centred in the work area; the credit label a hidden
// window, which MSAA reports as invisible and UI Automation leaves out, so that no screen
// reader reads it.
TEST(Window, ShowsTheFormAsQtDoes) {
  if (tarvelo::test::PathFromVariable(L"TARVELO_QT_FORM").empty()) {
    GTEST_SKIP() << "no Qt dialog to compare with: it is built beside a cross build";
  }
  const std::optional<QtForm> qt = ReadQtForm();
  ASSERT_TRUE(qt.has_value()) << "no file from win32.qt_form in TARVELO_QT_FORM";
  RunningWindow window;
  HWND dialog = window.dialog();
  ASSERT_NE(dialog, nullptr);
  const UINT dpi = GetDpiForWindow(dialog);
  const auto scaled = [dpi](LONG pixels) {
    return MulDiv(static_cast<int>(pixels), static_cast<int>(dpi), 96);
  };
  RECT client{};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, scaled(qt->client.cx));
  EXPECT_EQ(client.bottom, scaled(qt->client.cy));
  ExpectControlsAsQt(window, *qt, dpi);
  EXPECT_FALSE(IsWindowVisible(window.Control(IDC_LABEL2)));

  RECT outer{};
  GetWindowRect(dialog, &outer);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  EXPECT_LE(std::abs((outer.left - work.left) - (work.right - outer.right)), 1) << "across";
  EXPECT_LE(std::abs((outer.top - work.top) - (work.bottom - outer.bottom)), 1) << "down";

  // Each control paints on its own message, after the dialog's: every read waits for it.
  const auto shows = [](HWND control, POINT at, std::uint32_t colour) {
    return WaitFor([&] { return Share(control, at, colour) == 1.0; });
  };
  const std::uint32_t background = qt->Colour("window");
  EXPECT_TRUE(shows(dialog, {180, 122}, background)) << "window";
  EXPECT_TRUE(shows(dialog, {40, 60}, background)) << "inside the frame";
  EXPECT_TRUE(shows(dialog, {92, 30}, background)) << "between frame and box";
  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(window.Control(IDC_LABEL1)));
  EXPECT_EQ(Pixel(GetTextColor(dc)), qt->Colour("text")) << "the labels' text";
  DeleteDC(dc);
  struct Button {
    int id;
    const char* border;
  };
  for (const auto& [id, border] :
       {Button{IDC_COMMAND1, "defaultBorder"}, Button{IDC_COMMAND2, "buttonBorder"}}) {
    HWND button = window.Control(id);
    EXPECT_TRUE(shows(button, {6, 8}, qt->Colour("buttonFace"))) << "face of button " << id;
    RECT rect{};
    GetWindowRect(button, &rect);
    const int middle = (rect.top + rect.bottom) / 2;
    const std::vector<std::uint32_t> edge{qt->Colour(border)};
    const auto edgeShows = [&] {
      return ScreenPixels({rect.left, middle, rect.left + 1, middle + 1}) == edge;
    };
    EXPECT_TRUE(WaitFor(edgeShows)) << border << " of button " << id;
    SendMessageW(button, BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(shows(button, {6, 8}, qt->Colour("buttonPressed")))
        << "pressed face of button " << id;
    SendMessageW(button, BM_SETSTATE, FALSE, 0);
  }
}

}  // namespace

// NOLINTEND(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)
