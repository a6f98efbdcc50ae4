// Starts tarvelo.exe and uses it as a person would: keys typed on the keyboard (SendInput,
// so that each one travels the program's message loop and the dialog manager), clicks on
// the buttons and options, every message box read for its title, text and icon and closed
// with Enter. Only what the Windows realisation can get wrong is checked here; the
// logic's own suite covers the rest.
//
// The window against the contract of logic/platform.h, as far as a user can see it:
// an option's Click runs when the option becomes selected and only then, by mouse or arrow
// key (OptionsActOnlyWhenSelected, KeyboardWalksTheOptionGroup); the Change
// that emptying the box raises runs inside the filter's own Change, so a letter beeps once
// (FilterAndModeSwitchEmptyTheBoxWithoutAMessage); one press of a button is one Click, one
// box (ConvertsAndRefusesThroughMessageBoxes); after the end nothing runs and the exit code
// is 0 (DialogEnds). One deliberate difference: an option picked with an arrow key keeps
// the focus, so the logic's request to focus the box is not carried out then.
#include <windows.h>
// clang-format off
#include <gtest/gtest.h>
// clang-format on

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "resource.h"
#include "screen.h"

// Win32 messages carry handles, pointers and numbers in the same WPARAM and LPARAM.
// NOLINTBEGIN(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)

namespace {

using tarvelo::test::KeyStroke;
using tarvelo::test::ScreenPixels;
using tarvelo::test::WaitFor;

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
    std::wstring path = tarvelo::test::PathFromVariable(L"TARVELO_TRACE_LOG");
    if (!UnderWine() || path.empty()) {
      return;
    }
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Wine\\Debug", L"RelayInclude", REG_SZ,
                    kTraced.data(), static_cast<DWORD>((kTraced.size() + 1) * sizeof(wchar_t)));
    path_ = std::move(path);
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

std::filesystem::path ProgramPath() {
  std::array<wchar_t, MAX_PATH> self{};
  GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
  return std::filesystem::path(self.data()).parent_path() / L"tarvelo.exe";
}

// Presses the keys in order and lets them go in reverse: a key with its modifiers.
std::vector<INPUT> Chord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (const WORD key : keys) {
    inputs.push_back(KeyStroke(key, false));
  }
  for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
    inputs.push_back(KeyStroke(*key, true));
  }
  return inputs;
}

// One run of tarvelo.exe, ended when the test ends.
class Tarvelo {
 public:
  explicit Tarvelo(bool traced = false, const std::filesystem::path& program = ProgramPath()) {
    std::wstring command = L"\"" + program.wstring() + L"\"";
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
  [[nodiscard]] DWORD processId() const { return process_.dwProcessId; }
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

  // Keys as the keyboard delivers them, to the window in front: the open message box, or
  // else the dialog. Keyboard input goes to the foreground window, so it is brought there
  // first; the keys then reach the program in order, after whatever it was sent before.
  void Keys(const std::vector<INPUT>& inputs) const {
    HWND box = OpenBox();
    HWND target = box != nullptr ? box : dialog_;
    SetForegroundWindow(target);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == target; }))
        << "the program's window did not come to the front";
    std::vector<INPUT> copy = inputs;
    ASSERT_EQ(SendInput(static_cast<UINT>(copy.size()), copy.data(), sizeof(INPUT)), copy.size());
  }
  void Key(WORD key) const { Keys(Chord({key})); }
  void AltKey(WORD key) const { Keys(Chord({VK_MENU, key})); }
  // Characters typed with the keys of the current layout.
  void Type(std::wstring_view characters) const {
    std::vector<INPUT> inputs;
    for (const wchar_t character : characters) {
      const SHORT scan = VkKeyScanW(character);
      ASSERT_NE(scan, -1) << "no key types " << static_cast<int>(character);
      const auto key = static_cast<WORD>(LOBYTE(scan));
      const std::vector<INPUT> chord =
          (HIBYTE(scan) & 1U) != 0 ? Chord({VK_SHIFT, key}) : Chord({key});
      inputs.insert(inputs.end(), chord.begin(), chord.end());
    }
    Keys(inputs);
  }
  // Puts text on the clipboard and pastes it with Ctrl+V.
  void Paste(std::wstring_view text) const {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    ASSERT_NE(memory, nullptr);
    auto* copy = static_cast<wchar_t*>(GlobalLock(memory));
    text.copy(copy, text.size());
    copy[text.size()] = L'\0';
    GlobalUnlock(memory);
    // The clipboard's owner is a window of this process: without one, EmptyClipboard
    // leaves the clipboard ownerless and SetClipboardData fails on Windows.
    HWND owner =
        CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const bool opened = owner != nullptr && OpenClipboard(owner) != FALSE;
    const bool placed =
        opened && EmptyClipboard() != FALSE && SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (opened) {
      CloseClipboard();
    }
    if (owner != nullptr) {
      DestroyWindow(owner);
    }
    if (!placed) {
      GlobalFree(memory);  // the clipboard took it only on success
      FAIL() << "the clipboard did not take the text: " << GetLastError();
    }
    Keys(Chord({VK_CONTROL, 'V'}));
  }
  // A mouse click on a button or an option, handled after whatever was sent before it.
  void Click(int id) const { PostMessageW(Control(id), BM_CLICK, 0, 0); }

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

  // Waits for a message box, reads it and closes it with Enter.
  [[nodiscard]] std::optional<Box> TakeBox() const {
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = OpenBox()) != nullptr; })) {
      return std::nullopt;
    }
    return CloseBox(box);
  }

  // Reads a message box and closes it with Enter on its OK button.
  [[nodiscard]] std::optional<Box> CloseBox(HWND box) const {
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
    SetForegroundWindow(box);
    if (!WaitFor(
            [&] { return GetForegroundWindow() == box && Focus() == GetDlgItem(box, IDOK); })) {
      ADD_FAILURE() << "the box is not in front with OK focused";
      return std::nullopt;
    }
    std::vector<INPUT> enter = Chord({VK_RETURN});
    SendInput(static_cast<UINT>(enter.size()), enter.data(), sizeof(INPUT));
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

  // The program's first dialog: its window, or the box a failed start shows.
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

// Counts the focus changes inside one process, through a WinEvent hook: what a screen
// reader hears.
class FocusEvents {
 public:
  explicit FocusEvents(DWORD process)
      : hook_(SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr,
                              &FocusEvents::OnEvent, process, 0, WINEVENT_OUTOFCONTEXT)) {
    Count() = 0;
  }
  ~FocusEvents() { UnhookWinEvent(hook_); }
  FocusEvents(const FocusEvents&) = delete;
  FocusEvents& operator=(const FocusEvents&) = delete;
  FocusEvents(FocusEvents&&) = delete;
  FocusEvents& operator=(FocusEvents&&) = delete;

  [[nodiscard]] bool hooked() const { return hook_ != nullptr; }

  // The events since the last call. The program's events wait in this thread's queue once
  // the program has handled what caused them.
  int Take() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
      DispatchMessageW(&message);
    }
    return std::exchange(Count(), 0);
  }

 private:
  static int& Count() {
    static int count = 0;
    return count;
  }
  static void CALLBACK OnEvent(HWINEVENTHOOK /*hook*/, DWORD /*event*/, HWND /*window*/,
                               LONG /*object*/, LONG /*child*/, DWORD /*thread*/, DWORD /*time*/) {
    ++Count();
  }

  HWINEVENTHOOK hook_;
};

enum class Press { kClick, kEnter, kAltC };

struct Conversion {
  int option;                // the option clicked first, 0 for none
  std::wstring_view typed;   // characters typed into the box
  std::wstring_view pasted;  // text pasted after them
  std::wstring_view inBox;   // what the box then holds: typing stops at the mode's limit
  Press press;
  Box expected;
};

const Box kEmpty{L"Error", L"年を入力してください。", Icon::kExclamation};

// Each box comes with the right title, text and icon, and leaves the box empty and
// focused. A message loop that handles keystrokes wrongly (each translated twice, say)
// shows here as a box holding other digits than those typed.
TEST(Dialog, ConvertsAndRefusesThroughMessageBoxes) {
  const std::vector<Conversion> conversions{
      {0, L"", L"", L"", Press::kEnter, kEmpty},
      {0,
       L"19891",
       L"",
       L"1989",
       Press::kClick,
       {L"変換結果", L"西暦1989年は平成元年です。", Icon::kInformation}},
      {0,
       L"1867",
       L"",
       L"1867",
       Press::kAltC,
       {L"Error", L"西暦1867年以前は変換できません。", Icon::kExclamation}},
      {0, L"", L"-5", L"-5", Press::kEnter, {L"Error", L"正の値を入力してください。", Icon::kStop}},
      {IDC_OPTION1,
       L"645",
       L"",
       L"64",
       Press::kEnter,
       {L"変換結果", L"昭和64年は西暦1989年です。", Icon::kInformation}},
      {IDC_OPTION3,
       L"45",
       L"",
       L"45",
       Press::kClick,
       {L"変換結果", L"明治45年は西暦1912年です。", Icon::kInformation}},
      {IDC_OPTION4,
       L"1",
       L"",
       L"1",
       Press::kAltC,
       {L"変換結果", L"平成元年は西暦1989年です。", Icon::kInformation}},
      {IDC_OPTION5,
       L"2019",
       L"",
       L"2019",
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
    ASSERT_TRUE(WaitFor([&] { return tarvelo.Text() == conversion.inBox; }))
        << "the box holds " << tarvelo.Text().size() << " characters";
    switch (conversion.press) {
      case Press::kClick:
        tarvelo.Click(IDC_COMMAND1);
        break;
      case Press::kEnter:
        tarvelo.Key(VK_RETURN);
        break;
      case Press::kAltC:
        tarvelo.AltKey('C');
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
  tarvelo.Click(IDC_OPTION5);
  EXPECT_TRUE(WaitFor([&] { return tarvelo.Text().empty() && tarvelo.Limit() == 4; }));

  tarvelo.Key(VK_ESCAPE);  // no cancel button: nothing happens
  tarvelo.Key(VK_RETURN);  // a key, so that it comes after Esc
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

// Windows reports BN_CLICKED from an option also where none becomes selected: a click on
// the option already selected, and an unchecked option receiving the focus (which Wine
// does not report, so the test sends the notification as Windows would). Neither changes
// the mode: the typed year stays for 変換 (Enter), wherever the focus went.
TEST(Dialog, OptionsActOnlyWhenSelected) {
  struct Case {
    const char* what;
    int option;
    bool notificationAlone;  // BN_CLICKED without a click
  };
  const std::array cases{Case{"click on the selected option", IDC_OPTION5, false},
                         Case{"an unchecked option's BN_CLICKED", IDC_OPTION3, true}};
  const Tarvelo tarvelo;
  ASSERT_TRUE(tarvelo.started());
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    ASSERT_TRUE(WaitFor([&] { return tarvelo.Focus() == tarvelo.Control(IDC_TEXT1); }));
    tarvelo.Type(L"19");
    ASSERT_TRUE(WaitFor([&] { return tarvelo.Text() == L"19"; }));
    // Sent, not posted: handled by the time the call returns.
    HWND option = tarvelo.Control(test.option);
    if (test.notificationAlone) {
      SendMessageW(tarvelo.dialog(), WM_COMMAND, MAKEWPARAM(test.option, BN_CLICKED),
                   reinterpret_cast<LPARAM>(option));
    } else {
      SendMessageW(option, BM_CLICK, 0, 0);
    }
    EXPECT_EQ(tarvelo.Text(), L"19");
    EXPECT_EQ(tarvelo.Limit(), 4);
    EXPECT_TRUE(tarvelo.Checked(IDC_OPTION5));
    tarvelo.Key(VK_RETURN);
    const std::optional<Box> shown = tarvelo.TakeBox();
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->text, L"西暦1867年以前は変換できません。");
  }
}

// Shift+Tab from the box enters the option group at the selected option (win32.window
// walks the whole tab order forwards); each arrow picks an era inside the group and moves
// the focus once, straight to it, and the era picked last is the mode.
TEST(Dialog, KeyboardWalksTheOptionGroup) {
  const Tarvelo tarvelo;
  ASSERT_TRUE(tarvelo.started());
  FocusEvents focusEvents(tarvelo.processId());
  ASSERT_TRUE(focusEvents.hooked());
  ASSERT_TRUE(WaitFor([&] { return tarvelo.Focus() == tarvelo.Control(IDC_TEXT1); }));
  tarvelo.Keys(Chord({VK_SHIFT, VK_TAB}));
  ASSERT_TRUE(WaitFor([&] { return tarvelo.Focus() == tarvelo.Control(IDC_OPTION5); }));
  const std::array downwards{IDC_OPTION3, IDC_OPTION2, IDC_OPTION1};  // 明治, 大正, 昭和
  focusEvents.Take();
  for (const int id : downwards) {
    tarvelo.Key(VK_DOWN);
    // The check waits for the program to have handled the key: only then the focus.
    EXPECT_TRUE(WaitFor([&] {
      return tarvelo.Checked(id) && tarvelo.Focus() == tarvelo.Control(id);
    })) << "expected option "
        << id;
    SendMessageW(tarvelo.dialog(), WM_NULL, 0, 0);
    EXPECT_EQ(focusEvents.Take(), 1) << "focus events for the arrow to option " << id;
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

// What Windows shows about the program (Task Manager, Properties, "Open with") and what
// it reads before the program starts, from the built file: the version block, the
// resources' language and the manifest.
TEST(Dialog, ProgramFileDescribesItself) {
  const std::wstring program = ProgramPath().wstring();
  DWORD ignored = 0;
  std::vector<char> info(GetFileVersionInfoSizeW(program.c_str(), &ignored));
  ASSERT_FALSE(info.empty());
  ASSERT_TRUE(
      GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
  const auto query = [&](const std::wstring& key) -> std::wstring {
    void* value = nullptr;
    UINT length = 0;
    if (VerQueryValueW(info.data(), key.c_str(), &value, &length) == FALSE || length == 0) {
      return {};
    }
    return static_cast<const wchar_t*>(value);
  };
  void* translation = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", &translation, &length));
  ASSERT_GE(length, 4U);
  const auto* pair = static_cast<const WORD*>(translation);
  EXPECT_EQ(pair[0], 0x0411) << "Japanese";
  EXPECT_EQ(pair[1], 1200) << "Unicode";
  const std::wstring block = L"\\StringFileInfo\\041104B0\\";
  EXPECT_EQ(query(block + L"FileDescription"), L"Tarvelo");
  EXPECT_TRUE(query(block + L"LegalCopyright").starts_with(L"Copyright"))
      << "LegalCopyright is a copyright line";
  const std::wstring version = query(block + L"ProductVersion");
  EXPECT_EQ(query(block + L"FileVersion"), version);

  HMODULE file = LoadLibraryExW(program.c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(file, nullptr);
  struct Resource {
    const wchar_t* type;
    const wchar_t* name;
  };
  const std::array resources{Resource{RT_DIALOG, MAKEINTRESOURCEW(IDD_FORM1)},
                             Resource{RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_TARVELO)},
                             Resource{RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO)},
                             Resource{RT_MANIFEST, MAKEINTRESOURCEW(1)}};
  for (const auto& [type, name] : resources) {
    EXPECT_NE(FindResourceExW(file, type, name, MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)),
              nullptr)
        << "resource type " << reinterpret_cast<std::uintptr_t>(type) << " in Japanese";
  }
  std::string manifest;
  if (HRSRC found = FindResourceW(file, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
    const auto* text = static_cast<const char*>(LockResource(LoadResource(file, found)));
    manifest.assign(text, SizeofResource(file, found));
  }
  FreeLibrary(file);
  // Windows 10 1607 knows PerMonitor only; later versions take the first they know.
  EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
  // The common controls of version 6, whose buttons let the program paint their faces.
  EXPECT_NE(manifest.find(R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"),
            std::string::npos);
  const std::string identity = R"(name="org.tarvelo.Tarvelo" version=")" +
                               std::string(version.begin(), version.end()) + R"(.0")";
  EXPECT_NE(manifest.find(identity), std::string::npos) << "the manifest's version";
}

// A program that cannot make its dialog (here a damaged copy) tells the user so and ends
// with code 1.
TEST(Dialog, FailedStartIsReported) {
  std::array<wchar_t, MAX_PATH> temporary{};
  GetTempPathW(static_cast<DWORD>(temporary.size()), temporary.data());
  const std::filesystem::path damaged =
      std::filesystem::path(temporary.data()) /
      (L"tarvelo-no-dialog-" + std::to_wstring(GetCurrentProcessId()) + L".exe");
  ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), damaged.c_str(), FALSE));
  // Its resources all removed: no dialog to make.
  HANDLE update = BeginUpdateResourceW(damaged.c_str(), TRUE);
  ASSERT_NE(update, nullptr);
  ASSERT_TRUE(EndUpdateResourceW(update, FALSE));
  {
    const Tarvelo tarvelo(false, damaged);
    ASSERT_TRUE(tarvelo.started()) << "no box";
    const std::optional<Box> shown = tarvelo.CloseBox(tarvelo.dialog());
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->title, L"Tarvelo");
    EXPECT_TRUE(shown->text.starts_with(L"Tarvelo を起動できませんでした。")) << "the box's text";
    EXPECT_EQ(shown->icon, Icon::kStop);
    EXPECT_EQ(tarvelo.WaitForExit(), std::optional<DWORD>(1));
  }
  DeleteFileW(damaged.c_str());
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
      tarvelo.AltKey('Q');
      break;
    case Ending::kEnterOnQuit:
      tarvelo.Key(VK_TAB);
      tarvelo.Key(VK_TAB);
      ASSERT_TRUE(WaitFor([&] { return tarvelo.Focus() == tarvelo.Control(IDC_COMMAND2); }));
      tarvelo.Key(VK_RETURN);
      break;
    case Ending::kCloseBox:  // a click on the close box
      PostMessageW(tarvelo.dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
    case Ending::kAltF4:
      tarvelo.AltKey(VK_F4);
      break;
  }
  const std::optional<DWORD> code = tarvelo.WaitForExit();
  ASSERT_TRUE(code.has_value()) << "still running";
  EXPECT_EQ(*code, 0U);
}

INSTANTIATE_TEST_SUITE_P(Dialog, DialogEnds,
                         testing::Values(Ending::kQuitClick, Ending::kAltQ, Ending::kEnterOnQuit,
                                         Ending::kCloseBox, Ending::kAltF4));

// The registry's list of Japanese eras, written the way Windows testers are told to (reg
// add). That list is the one every program of the machine takes the Japanese calendar
// from, so it is only changed under Wine, in the test run's own prefix: the list there is
// set aside while the test runs and put back, whole, when it ends.
class ErasKey {
 public:
  ErasKey() {
    HKEY key = nullptr;
    const LSTATUS opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPath, 0, KEY_QUERY_VALUE, &key);
    if (opened == ERROR_SUCCESS) {
      had_ = true;
      saved_ = Values(key);
      RegCloseKey(key);
    } else if (opened == ERROR_FILE_NOT_FOUND) {
      saved_.emplace();
    }
    // A list that could not be read whole is left alone.
    if (saved_) {
      RegDeleteTreeW(HKEY_LOCAL_MACHINE, kPath);
    }
  }
  ~ErasKey() {
    if (!saved_) {
      return;
    }
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kPath);
    HKEY key = nullptr;
    if (had_ && RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                &key, nullptr) == ERROR_SUCCESS) {
      for (const Value& value : *saved_) {
        RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                       static_cast<DWORD>(value.data.size()));
      }
      RegCloseKey(key);
    }
  }
  ErasKey(const ErasKey&) = delete;
  ErasKey& operator=(const ErasKey&) = delete;
  ErasKey(ErasKey&&) = delete;
  ErasKey& operator=(ErasKey&&) = delete;

  // Whether the list was set aside; the test may then write its own.
  [[nodiscard]] bool ready() const { return saved_.has_value(); }

  static void Add(std::wstring_view day, std::wstring_view data,
                  std::wstring_view type = L"REG_SZ") {
    std::wstring command = L"reg.exe add \"HKLM\\" + std::wstring(kPath) + L"\" /v \"" +
                           std::wstring(day) + L"\" /t " + std::wstring(type) + L" /d \"" +
                           std::wstring(data) + L"\" /f";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    ASSERT_NE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process),
              FALSE);
    DWORD code = 1;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
      GetExitCodeProcess(process.hProcess, &code);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(code, 0U) << "reg add " << std::string(day.begin(), day.end());
  }

 private:
  static constexpr const wchar_t* kPath =
      L"SYSTEM\\CurrentControlSet\\Control\\Nls\\Calendars\\Japanese\\Eras";
  struct Value {
    std::wstring name;
    DWORD type;
    std::vector<BYTE> data;
  };
  // Every value of `key`, whatever its size; nothing when one could not be read.
  static std::optional<std::vector<Value>> Values(HKEY key) {
    DWORD count = 0;
    DWORD longestName = 0;
    DWORD largestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                         &longestName, &largestData, nullptr, nullptr) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    std::vector<Value> values;
    std::wstring name(longestName + 1, L'\0');
    std::vector<BYTE> data(largestData);
    for (DWORD index = 0; index < count; ++index) {
      auto nameLength = static_cast<DWORD>(name.size());
      auto dataBytes = static_cast<DWORD>(data.size());
      DWORD type = 0;
      if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(),
                        &dataBytes) != ERROR_SUCCESS) {
        return std::nullopt;
      }
      values.push_back({name.substr(0, nameLength), type,
                        std::vector<BYTE>(data.begin(), data.begin() + dataBytes)});
    }
    return values;
  }

  bool had_ = false;
  std::optional<std::vector<Value>> saved_;
};

// Eras after 令和 come from the key Windows Update adds them to; without it the program's
// own table answers. An impossible day and a value that is not text are passed over.
TEST(Dialog, ErasAfterReiwaComeFromTheRegistry) {
  if (!UnderWine()) {
    GTEST_SKIP() << "changes the machine's own list of Japanese eras: run under Wine only";
  }
  struct Case {
    bool written;  // the key with a test era from 2045
    std::vector<std::pair<std::wstring_view, std::wstring_view>> answers;
  };
  const std::vector<Case> cases{
      {false, {{L"2019", L"西暦2019年は令和元年です。"}, {L"2046", L"西暦2046年は令和28年です。"}}},
      {true,
       {{L"2019", L"西暦2019年は令和元年です。"},
        {L"2044", L"西暦2044年は令和26年です。"},
        {L"2045", L"西暦2045年は試験元年です。"},
        {L"2046", L"西暦2046年は試験2年です。"},
        {L"2061", L"西暦2061年は試験17年です。"}}},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.written ? "key written" : "no key");
    const ErasKey key;
    ASSERT_TRUE(key.ready()) << "the list of eras could not be set aside";
    if (test.written) {
      ErasKey::Add(L"1868 01 01", L"明治_明_Meiji_M");
      ErasKey::Add(L"1912 07 30", L"大正_大_Taisho_T");
      ErasKey::Add(L"1926 12 25", L"昭和_昭_Showa_S");
      ErasKey::Add(L"1989 01 08", L"平成_平_Heisei_H");
      ErasKey::Add(L"2019 05 01", L"令和_令_Reiwa_R");
      ErasKey::Add(L"2045 05 01", L"試験_試_Shiken_S");
      ErasKey::Add(L"2050 13 01", L"誤日_誤_Gobi_G");
      ErasKey::Add(L"2060 01 01", L"1", L"REG_DWORD");
    }
    const Tarvelo tarvelo;
    ASSERT_TRUE(tarvelo.started());
    for (const auto& [year, answer] : test.answers) {
      tarvelo.Type(year);
      tarvelo.Key(VK_RETURN);
      const std::optional<Box> box = tarvelo.TakeBox();
      ASSERT_TRUE(box.has_value()) << "no answer";
      EXPECT_EQ(box->text, answer);
      ASSERT_TRUE(WaitFor([&] { return tarvelo.Text().empty(); }));
    }
  }
}

}  // namespace

// NOLINTEND(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)
