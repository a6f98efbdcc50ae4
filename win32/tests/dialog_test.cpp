// Starts tarvelo.exe and uses it as a person would: characters and keys posted to the
// focused control, clicks on the buttons and options, every message box read for its
// title, text and icon and closed with its OK button. Only what the Windows realisation
// can get wrong is checked here; the logic's own suite covers the rest.
#include <windows.h>
// clang-format off
#include <gtest/gtest.h>
// clang-format on

#include <algorithm>
#include <array>
#include <chrono>
#include <cwchar>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "resource.h"

// Win32 messages carry handles, pointers and numbers in the same WPARAM and LPARAM.
// NOLINTBEGIN(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)

namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 10s;

enum class Icon { kNone, kStop, kExclamation, kInformation };

struct Box {
  std::wstring title;
  std::wstring text;
  Icon icon = Icon::kNone;
};

std::ostream& operator<<(std::ostream& out, Icon icon) {
  constexpr std::array names{"none", "stop", "exclamation", "information"};
  return out << names.at(static_cast<std::size_t>(icon));
}

template <typename Condition>
bool WaitFor(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

std::wstring TextOf(HWND window) {
  std::array<wchar_t, 256> buffer{};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                      SMTO_ABORTIFHUNG, 5000, &length);
  return {buffer.data(), length};
}

std::wstring ClassOf(HWND window) {
  std::array<wchar_t, 64> name{};
  GetClassNameW(window, name.data(), static_cast<int>(name.size()));
  return name.data();
}

// What the screen shows in a rectangle, row by row, as 0x00RRGGBB.
std::vector<std::uint32_t> ScreenPixels(const RECT& rect) {
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

// The message box icon, told by its colours as the screen shows them: red for stop,
// yellow or orange for the exclamation mark, blue for information.
Icon IconOnScreen(const RECT& rect) {
  const std::vector<std::uint32_t> pixels = ScreenPixels(rect);
  std::ptrdiff_t red = 0;
  std::ptrdiff_t yellow = 0;
  std::ptrdiff_t blue = 0;
  for (const std::uint32_t pixel : pixels) {
    const auto r = (pixel >> 16U) & 0xFFU;
    const auto g = (pixel >> 8U) & 0xFFU;
    const auto b = pixel & 0xFFU;
    if (r > 170 && g > 100 && b < 100) {
      ++yellow;
    } else if (r > 150 && g < 90 && b < 90) {
      ++red;
    } else if (b > 150 && r < 90) {
      ++blue;
    }
  }
  const auto enough = static_cast<std::ptrdiff_t>(pixels.size() / 20);
  if (pixels.empty()) {
    return Icon::kNone;
  }
  if (red >= enough && red >= yellow && red >= blue) {
    return Icon::kStop;
  }
  if (yellow >= enough && yellow >= blue) {
    return Icon::kExclamation;
  }
  return blue >= enough ? Icon::kInformation : Icon::kNone;
}

bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Under Wine, the calls of MessageBeep the program makes, as Wine's relay trace logs them.
// The trace goes to the standard error Wine was started with, which the test's runner
// sends to the file named by TARVELO_TRACE_LOG; nothing in the program changes for it.
// Windows has no such view, so there the beeps go uncounted.
class BeepLog {
 public:
  BeepLog() {
    std::array<wchar_t, MAX_PATH> path{};
    const DWORD length =
        GetEnvironmentVariableW(L"TARVELO_TRACE_LOG", path.data(), static_cast<DWORD>(path.size()));
    if (!UnderWine() || length == 0 || length >= path.size()) {
      return;
    }
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Debug", L"RelayInclude", REG_SZ,
                    kTraced.data(), static_cast<DWORD>((kTraced.size() + 1) * sizeof(wchar_t)));
    // A path of the Linux side lies on Wine's drive Z:.
    path_ = path.data();
    if (path_.starts_with(L'/')) {
      std::replace(path_.begin(), path_.end(), L'/', L'\\');
      path_.insert(0, L"Z:");
    }
    start_ = Read().size();
  }

  [[nodiscard]] bool counting() const { return !path_.empty(); }

  // The beeps since this log was made, or nothing when they cannot be counted.
  [[nodiscard]] std::optional<int> Count() const {
    if (!counting()) {
      return std::nullopt;
    }
    const std::string log = Read();
    int beeps = 0;
    for (std::size_t at = log.find(kCall, start_); at != std::string::npos;
         at = log.find(kCall, at + 1)) {
      ++beeps;
    }
    return beeps;
  }

 private:
  [[nodiscard]] std::string Read() const {
    std::string log;
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      return log;
    }
    std::array<char, 65536> chunk{};
    DWORD got = 0;
    while (ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &got, nullptr) != FALSE &&
           got > 0) {
      log.append(chunk.data(), got);
    }
    CloseHandle(file);
    return log;
  }

  static constexpr std::wstring_view kTraced = L"user32.MessageBeep";
  static constexpr std::string_view kCall = "Call user32.MessageBeep(";
  std::wstring path_;
  std::size_t start_ = 0;
};

// One run of tarvelo.exe, ended when the test ends.
class Tarvelo {
 public:
  explicit Tarvelo(bool traced = false) {
    std::array<wchar_t, MAX_PATH> self{};
    GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
    std::wstring command =
        L"\"" + (std::filesystem::path(self.data()).parent_path() / L"tarvelo.exe").wstring() +
        L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring environment;
    if (traced) {
      environment = TracingEnvironment();
    }
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                       environment.empty() ? nullptr : environment.data(), nullptr, &startup,
                       &process_) == FALSE) {
      ADD_FAILURE() << "tarvelo.exe did not start: " << GetLastError();
      return;
    }
    WaitForInputIdle(process_.hProcess, 10000);
    WaitFor([this] {
      dialog_ = FindDialog();
      return dialog_ != nullptr && IsWindowVisible(dialog_) != FALSE;
    });
  }
  ~Tarvelo() {
    if (process_.hProcess != nullptr) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 99);
      }
      CloseHandle(process_.hThread);
      CloseHandle(process_.hProcess);
    }
  }
  Tarvelo(const Tarvelo&) = delete;
  Tarvelo& operator=(const Tarvelo&) = delete;
  Tarvelo(Tarvelo&&) = delete;
  Tarvelo& operator=(Tarvelo&&) = delete;

  [[nodiscard]] bool started() const { return dialog_ != nullptr; }
  [[nodiscard]] HWND dialog() const { return dialog_; }
  [[nodiscard]] HWND Control(int id) const { return GetDlgItem(dialog_, id); }

  [[nodiscard]] HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(process_.dwThreadId, &info);
    return info.hwndFocus;
  }
  [[nodiscard]] std::wstring Text() const { return TextOf(Control(IDC_TEXT1)); }
  [[nodiscard]] LRESULT Limit() const {
    return SendMessageW(Control(IDC_TEXT1), EM_GETLIMITTEXT, 0, 0);
  }
  [[nodiscard]] bool Checked(int id) const {
    return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }

  // Characters as the keyboard delivers them to the focused control.
  void Type(std::wstring_view characters) const {
    for (const wchar_t character : characters) {
      PostMessageW(Focus(), WM_CHAR, character, 1);
    }
  }
  void Key(UINT key) const {
    HWND target = Focus();
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
  }
  // Alt with a key: an access key, or Alt+F4.
  void AltKey(UINT key, wchar_t character) const {
    constexpr LPARAM kAltDown = 1 << 29;
    HWND target = Focus();
    if (character != 0) {
      PostMessageW(target, WM_SYSCHAR, character, kAltDown | 1);
    } else {
      PostMessageW(target, WM_SYSKEYDOWN, key, kAltDown | 1);
    }
  }
  void Click(int id) const { PostMessageW(Control(id), BM_CLICK, 0, 0); }
  void Paste(std::wstring_view text) const {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    auto* copy = static_cast<wchar_t*>(GlobalLock(memory));
    text.copy(copy, text.size());
    copy[text.size()] = L'\0';
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    PostMessageW(Control(IDC_TEXT1), WM_PASTE, 0, 0);
  }

  // The open message box owned by the dialog, if any.
  [[nodiscard]] HWND OpenBox() const {
    struct Search {
      HWND owner;
      HWND found;
    } search{dialog_, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto& s = *reinterpret_cast<Search*>(data);
          if (window != s.owner && GetWindow(window, GW_OWNER) == s.owner &&
              ClassOf(window) == L"#32770" && IsWindowVisible(window) != FALSE) {
            s.found = window;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  // Waits for a message box, reads it and presses its OK button.
  [[nodiscard]] std::optional<Box> TakeBox() const {
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = OpenBox()) != nullptr; })) {
      return std::nullopt;
    }
    Box read;
    std::array<wchar_t, 128> title{};
    GetWindowTextW(box, title.data(), static_cast<int>(title.size()));
    read.title = title.data();
    HWND icon = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (ClassOf(child) != L"Static") {
        continue;
      }
      if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        icon = child;
      } else if (const std::wstring text = TextOf(child); !text.empty()) {
        read.text = text;
      }
    }
    RECT place{};
    if (icon != nullptr) {
      GetWindowRect(icon, &place);
      WaitFor([&] { return (read.icon = IconOnScreen(place)) != Icon::kNone; });
    }
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    WaitFor([&] { return IsWindowVisible(box) == FALSE; });
    // The next box opens at the same place: wait until this icon has left the screen.
    WaitFor([&] { return IconOnScreen(place) == Icon::kNone; });
    return read;
  }

  // The exit code, once the program has ended.
  [[nodiscard]] std::optional<DWORD> WaitForExit() const {
    if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0) {
      return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
  }
  [[nodiscard]] bool Running() const {
    return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
  }

 private:
  // This program's environment with Wine's relay trace switched on.
  static std::wstring TracingEnvironment() {
    std::wstring block;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += wcslen(entry) + 1) {
      if (_wcsnicmp(entry, L"WINEDEBUG=", 10) != 0) {
        block.append(entry).push_back(L'\0');
      }
    }
    FreeEnvironmentStringsW(strings);
    block.append(L"WINEDEBUG=+relay").push_back(L'\0');
    return block;
  }

  [[nodiscard]] HWND FindDialog() const {
    struct Search {
      DWORD process;
      HWND found;
    } search{process_.dwProcessId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto& s = *reinterpret_cast<Search*>(data);
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          if (owner == s.process && ClassOf(window) == L"#32770") {
            s.found = window;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  PROCESS_INFORMATION process_{};
  HWND dialog_ = nullptr;
};

enum class Press { kClick, kEnter, kAltC };

struct Conversion {
  int option;                // the option clicked first, 0 for none
  std::wstring_view typed;   // characters typed into the box
  std::wstring_view pasted;  // text pasted after them
  Press press;
  Box expected;
};

const Box kEmpty{L"Error", L"年を入力してください。", Icon::kExclamation};

// Each box comes with the right title, text and icon, and leaves the box empty and
// focused; the typed digits stop at the limit of the mode.
TEST(Dialog, ConvertsAndRefusesThroughMessageBoxes) {
  const std::vector<Conversion> conversions{
      {0, L"", L"", Press::kEnter, kEmpty},
      {0,
       L"19891",
       L"",
       Press::kClick,
       {L"変換結果", L"西暦1989年は平成元年です。", Icon::kInformation}},
      {0,
       L"1867",
       L"",
       Press::kAltC,
       {L"Error", L"西暦1867年以前は変換できません。", Icon::kExclamation}},
      {0, L"", L"-5", Press::kEnter, {L"Error", L"正の値を入力してください。", Icon::kStop}},
      {IDC_OPTION1,
       L"645",
       L"",
       Press::kEnter,
       {L"変換結果", L"昭和64年は西暦1989年です。", Icon::kInformation}},
      {IDC_OPTION3, L"0", L"", Press::kClick, {L"Error", L"0年はありません。", Icon::kStop}},
      {IDC_OPTION4,
       L"1",
       L"",
       Press::kAltC,
       {L"変換結果", L"平成元年は西暦1989年です。", Icon::kInformation}},
      {IDC_OPTION5,
       L"2019",
       L"",
       Press::kClick,
       {L"変換結果", L"西暦2019年は令和元年です。", Icon::kInformation}},
  };
  const Tarvelo tarvelo;
  ASSERT_TRUE(tarvelo.started());
  HWND box = tarvelo.Control(IDC_TEXT1);
  ASSERT_TRUE(WaitFor([&] { return tarvelo.Focus() == box; })) << "the box starts focused";
  for (const Conversion& conversion : conversions) {
    SCOPED_TRACE(testing::Message() << "typed " << conversion.typed.size() << " characters, then "
                                    << conversion.expected.text.size() << "-character answer");
    if (conversion.option != 0) {
      tarvelo.Click(conversion.option);
      ASSERT_TRUE(WaitFor([&] { return tarvelo.Checked(conversion.option); }));
      ASSERT_TRUE(WaitFor([&] { return tarvelo.Focus() == box; }));
    }
    tarvelo.Type(conversion.typed);
    if (!conversion.pasted.empty()) {
      tarvelo.Paste(conversion.pasted);
    }
    switch (conversion.press) {
      case Press::kClick:
        tarvelo.Click(IDC_COMMAND1);
        break;
      case Press::kEnter:
        tarvelo.Key(VK_RETURN);
        break;
      case Press::kAltC:
        tarvelo.AltKey('C', L'c');
        break;
    }
    const std::optional<Box> shown = tarvelo.TakeBox();
    ASSERT_TRUE(shown.has_value()) << "no message box";
    EXPECT_EQ(shown->title, conversion.expected.title);
    EXPECT_EQ(shown->text, conversion.expected.text);
    EXPECT_EQ(shown->icon, conversion.expected.icon);
    EXPECT_TRUE(WaitFor([&] { return tarvelo.Focus() == box; })) << "focus after the box";
    EXPECT_EQ(tarvelo.Text(), L"");
  }
  EXPECT_TRUE(tarvelo.Running());
}

// A letter empties the whole box with no message; so does a mode switch, which also sets
// the limit. The first box afterwards is the one for an empty box.
TEST(Dialog, FilterAndModeSwitchEmptyTheBoxWithoutAMessage) {
  const BeepLog beeps;
  const Tarvelo tarvelo(beeps.counting());
  ASSERT_TRUE(tarvelo.started());
  HWND box = tarvelo.Control(IDC_TEXT1);
  tarvelo.Type(L"12");
  ASSERT_TRUE(WaitFor([&] { return tarvelo.Text() == L"12"; }));
  tarvelo.Type(L"a");
  EXPECT_TRUE(WaitFor([&] { return tarvelo.Text().empty(); })) << "the filter empties the box";
  if (beeps.counting()) {
    // Emptying the box raises EN_CHANGE again, inside the first one: still one beep.
    EXPECT_TRUE(WaitFor([&] { return beeps.Count() >= 1; }));
  }

  tarvelo.Type(L"2000");
  ASSERT_TRUE(WaitFor([&] { return tarvelo.Text() == L"2000"; }));
  tarvelo.Click(IDC_OPTION2);
  EXPECT_TRUE(WaitFor([&] { return tarvelo.Text().empty() && tarvelo.Limit() == 2; }));
  EXPECT_TRUE(WaitFor([&] { return tarvelo.Focus() == box; }));
  EXPECT_FALSE(tarvelo.Checked(IDC_OPTION5));
  // A click on the option already selected changes nothing: the year typed around it stays.
  tarvelo.Type(L"1");
  tarvelo.Click(IDC_OPTION2);
  tarvelo.Type(L"2");
  ASSERT_TRUE(WaitFor([&] { return tarvelo.Text() == L"12"; }));
  tarvelo.Click(IDC_OPTION5);
  EXPECT_TRUE(WaitFor([&] { return tarvelo.Text().empty() && tarvelo.Limit() == 4; }));

  tarvelo.Key(VK_ESCAPE);  // no cancel button: nothing happens
  tarvelo.Click(IDC_COMMAND1);
  const std::optional<Box> shown = tarvelo.TakeBox();
  ASSERT_TRUE(shown.has_value());
  EXPECT_EQ(shown->text, kEmpty.text);
  EXPECT_TRUE(tarvelo.Running());
  // Digits, mode switches and Esc never beep: the letter's beep stays the only one.
  if (const std::optional<int> count = beeps.Count()) {
    EXPECT_EQ(*count, 1);
  } else {
    std::cout << "beeps not counted: no Wine relay trace on this system\n";
  }
}

// Tab walks box, 変換, 終了, the option group (entered at the selected option), box; the
// arrows pick an era inside the group and keep the focus there.
TEST(Dialog, KeyboardWalksTheTabOrderAndTheOptionGroup) {
  const Tarvelo tarvelo;
  ASSERT_TRUE(tarvelo.started());
  const std::array order{IDC_COMMAND1, IDC_COMMAND2, IDC_OPTION5, IDC_TEXT1};
  for (const int id : order) {
    tarvelo.Key(VK_TAB);
    EXPECT_TRUE(WaitFor([&] { return tarvelo.Focus() == tarvelo.Control(id); }))
        << "expected control " << id;
  }
  tarvelo.Key(VK_TAB);
  tarvelo.Key(VK_TAB);
  tarvelo.Key(VK_TAB);
  ASSERT_TRUE(WaitFor([&] { return tarvelo.Focus() == tarvelo.Control(IDC_OPTION5); }));
  const std::array downwards{IDC_OPTION3, IDC_OPTION2, IDC_OPTION1};  // 明治, 大正, 昭和
  for (const int id : downwards) {
    tarvelo.Key(VK_DOWN);
    EXPECT_TRUE(WaitFor([&] {
      return tarvelo.Checked(id) && tarvelo.Focus() == tarvelo.Control(id);
    })) << "expected option "
        << id;
  }
  EXPECT_EQ(tarvelo.Limit(), 2);
  tarvelo.Key(VK_TAB);
  ASSERT_TRUE(WaitFor([&] { return tarvelo.Focus() == tarvelo.Control(IDC_TEXT1); }));
  tarvelo.Type(L"1");
  tarvelo.Key(VK_RETURN);
  const std::optional<Box> shown = tarvelo.TakeBox();
  ASSERT_TRUE(shown.has_value());
  EXPECT_EQ(shown->text, L"昭和元年は西暦1926年です。");
}

// The client area is 188 x 130 at the screen's density, every control sits where the
// layout puts it, the window and the frame show 192,192,255 and both button faces
// 224,224,224 (a themed button would paint its own face instead).
TEST(Dialog, KeepsItsPlacesAndColours) {
  const Tarvelo tarvelo;
  ASSERT_TRUE(tarvelo.started());
  const auto dpi = static_cast<int>(GetDpiForWindow(tarvelo.dialog()));
  const auto scaled = [dpi](LONG pixels) { return MulDiv(static_cast<int>(pixels), dpi, 96); };
  RECT client{};
  GetClientRect(tarvelo.dialog(), &client);
  EXPECT_EQ(client.right, scaled(188));
  EXPECT_EQ(client.bottom, scaled(130));
  struct Expected {
    int id;
    RECT place;  // left, top, width, height at 96 DPI
  };
  const std::array places{
      Expected{IDC_TEXT1, {104, 16, 65, 25}},    Expected{IDC_COMMAND1, {104, 64, 73, 25}},
      Expected{IDC_COMMAND2, {104, 96, 73, 25}}, Expected{IDC_FRAME1, {8, 8, 81, 113}},
      Expected{IDC_OPTION5, {24, 24, 49, 17}},   Expected{IDC_OPTION4, {24, 96, 57, 17}},
      Expected{IDC_LABEL1, {173, 24, 17, 17}},   Expected{IDC_LABEL2, {0, 136, 185, 17}},
  };
  for (const auto& [id, place] : places) {
    RECT rect{};
    GetWindowRect(tarvelo.Control(id), &rect);
    MapWindowPoints(nullptr, tarvelo.dialog(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, scaled(place.left)) << "control " << id;
    EXPECT_EQ(rect.top, scaled(place.top)) << "control " << id;
    EXPECT_EQ(rect.right - rect.left, scaled(place.right)) << "control " << id;
    EXPECT_EQ(rect.bottom - rect.top, scaled(place.bottom)) << "control " << id;
  }

  // The share of a small patch of the screen that shows exactly one colour.
  const auto share = [&](int id, POINT at, std::uint32_t colour) {
    HWND window = id == 0 ? tarvelo.dialog() : tarvelo.Control(id);
    POINT corner{scaled(at.x), scaled(at.y)};
    ClientToScreen(window, &corner);
    const RECT patch{corner.x, corner.y, corner.x + scaled(4), corner.y + scaled(4)};
    const std::vector<std::uint32_t> pixels = ScreenPixels(patch);
    return pixels.empty() ? 0.0
                          : static_cast<double>(std::count(pixels.begin(), pixels.end(), colour)) /
                                static_cast<double>(pixels.size());
  };
  constexpr std::uint32_t kPaleBlue = 0xC0C0FF;
  constexpr std::uint32_t kFace = 0xE0E0E0;
  EXPECT_TRUE(WaitFor([&] { return share(0, {180, 122}, kPaleBlue) == 1.0; })) << "window";
  EXPECT_EQ(share(0, {40, 60}, kPaleBlue), 1.0) << "inside the frame";
  EXPECT_EQ(share(0, {92, 30}, kPaleBlue), 1.0) << "between frame and box";
  EXPECT_EQ(share(IDC_COMMAND1, {6, 8}, kFace), 1.0) << "変換's face";
  EXPECT_EQ(share(IDC_COMMAND2, {6, 8}, kFace), 1.0) << "終了's face";
}

enum class Ending { kQuitClick, kAltQ, kEnterOnQuit, kCloseBox, kAltF4 };

class DialogEnds : public testing::TestWithParam<Ending> {};

// Every way out ends the program at once with exit code 0, whatever is typed.
TEST_P(DialogEnds, WithExitCodeZero) {
  const Tarvelo tarvelo;
  ASSERT_TRUE(tarvelo.started());
  tarvelo.Type(L"2000");
  ASSERT_TRUE(WaitFor([&] { return tarvelo.Text() == L"2000"; }));
  switch (GetParam()) {
    case Ending::kQuitClick:
      tarvelo.Click(IDC_COMMAND2);
      break;
    case Ending::kAltQ:
      tarvelo.AltKey('Q', L'q');
      break;
    case Ending::kEnterOnQuit:
      tarvelo.Key(VK_TAB);
      tarvelo.Key(VK_TAB);
      ASSERT_TRUE(WaitFor([&] { return tarvelo.Focus() == tarvelo.Control(IDC_COMMAND2); }));
      tarvelo.Key(VK_RETURN);
      break;
    case Ending::kCloseBox:
      PostMessageW(tarvelo.dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case Ending::kAltF4:
      tarvelo.AltKey(VK_F4, 0);
      break;
  }
  const std::optional<DWORD> code = tarvelo.WaitForExit();
  ASSERT_TRUE(code.has_value()) << "still running";
  EXPECT_EQ(*code, 0U);
  EXPECT_EQ(tarvelo.OpenBox(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Dialog, DialogEnds,
                         testing::Values(Ending::kQuitClick, Ending::kAltQ, Ending::kEnterOnQuit,
                                         Ending::kCloseBox, Ending::kAltF4));

}  // namespace

// NOLINTEND(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)
