// The eras tarvelo.exe takes from the registry: without the key it answers from its own
// table; with the key written the way Windows testers are told to (reg add), a new era
// reaches the answer.
#include <windows.h>
// clang-format off
#include <gtest/gtest.h>
// clang-format on

#include <array>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "resource.h"

// Win32 messages carry handles and pointers in WPARAM and LPARAM.
// NOLINTBEGIN(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)

namespace {

using namespace std::chrono_literals;

constexpr std::wstring_view kErasKey =
    L"SYSTEM\\CurrentControlSet\\Control\\Nls\\Calendars\\Japanese\\Eras";

template <typename Condition>
bool WaitFor(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

std::wstring ClassOf(HWND window) {
  std::array<wchar_t, 64> name{};
  GetClassNameW(window, name.data(), static_cast<int>(name.size()));
  return name.data();
}

std::wstring TextOf(HWND window) {
  std::array<wchar_t, 256> buffer{};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                      SMTO_ABORTIFHUNG, 5000, &length);
  return {buffer.data(), length};
}

// Runs a command line to its end; returns its exit code.
std::optional<DWORD> Run(std::wstring command) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process) == FALSE) {
    return std::nullopt;
  }
  std::optional<DWORD> code;
  if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
    DWORD exit = 0;
    GetExitCodeProcess(process.hProcess, &exit);
    code = exit;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return code;
}

bool KeyExists() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, std::wstring(kErasKey).c_str(), 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

// The key as a test writes it; deleted again when the test ends.
class ErasKey {
 public:
  ErasKey() = default;
  ~ErasKey() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, std::wstring(kErasKey).c_str()); }
  ErasKey(const ErasKey&) = delete;
  ErasKey& operator=(const ErasKey&) = delete;
  ErasKey(ErasKey&&) = delete;
  ErasKey& operator=(ErasKey&&) = delete;

  // reg add "HKLM\...\Eras" /v "<day>" /t <type> /d "<data>" /f
  static void Add(std::wstring_view day, std::wstring_view data,
                  std::wstring_view type = L"REG_SZ") {
    const std::wstring command = L"reg.exe add \"HKLM\\" + std::wstring(kErasKey) + L"\" /v \"" +
                                 std::wstring(day) + L"\" /t " + std::wstring(type) + L" /d \"" +
                                 std::wstring(data) + L"\" /f";
    EXPECT_EQ(Run(command), DWORD{0}) << "reg add failed";
  }
};

// One run of tarvelo.exe, ended when the test ends.
class Tarvelo {
 public:
  Tarvelo() {
    std::array<wchar_t, MAX_PATH> self{};
    GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
    std::wstring command =
        L"\"" + (std::filesystem::path(self.data()).parent_path() / L"tarvelo.exe").wstring() +
        L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process_) == FALSE) {
      ADD_FAILURE() << "tarvelo.exe did not start: " << GetLastError();
      return;
    }
    WaitForInputIdle(process_.hProcess, 10000);
    WaitFor([this] {
      dialog_ = FindWindowOf(process_.dwProcessId, nullptr);
      return dialog_ != nullptr && IsWindowVisible(dialog_) != FALSE;
    });
  }
  ~Tarvelo() {
    if (process_.hProcess != nullptr) {
      TerminateProcess(process_.hProcess, 0);
      WaitForSingleObject(process_.hProcess, 10000);
      CloseHandle(process_.hThread);
      CloseHandle(process_.hProcess);
    }
  }
  Tarvelo(const Tarvelo&) = delete;
  Tarvelo& operator=(const Tarvelo&) = delete;
  Tarvelo(Tarvelo&&) = delete;
  Tarvelo& operator=(Tarvelo&&) = delete;

  [[nodiscard]] bool started() const { return dialog_ != nullptr; }

  // Puts `year` in the box in 西暦 mode, presses 変換 and returns the answer's text.
  [[nodiscard]] std::wstring Answer(const std::wstring& year) const {
    HWND text1 = GetDlgItem(dialog_, IDC_TEXT1);
    SendMessageW(text1, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(year.c_str()));
    PostMessageW(GetDlgItem(dialog_, IDC_COMMAND1), BM_CLICK, 0, 0);
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = FindWindowOf(process_.dwProcessId, dialog_)) != nullptr; })) {
      return L"(no message box)";
    }
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (ClassOf(child) == L"Static" &&
          (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
        if (std::wstring shown = TextOf(child); !shown.empty()) {
          text = std::move(shown);
        }
      }
    }
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    // The box is gone and the logic has emptied the year box for the next year.
    WaitFor([&] { return IsWindow(box) == FALSE && TextOf(text1).empty(); });
    return text;
  }

 private:
  // The visible dialog-class window of the process whose owner is `owner` (none: the
  // program's own dialog; the dialog: a message box).
  static HWND FindWindowOf(DWORD process, HWND owner) {
    struct Search {
      DWORD process;
      HWND owner;
      HWND found;
    } search{process, owner, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
          auto& s = *reinterpret_cast<Search*>(data);
          DWORD id = 0;
          GetWindowThreadProcessId(window, &id);
          if (id == s.process && ClassOf(window) == L"#32770" &&
              GetWindow(window, GW_OWNER) == s.owner && IsWindowVisible(window) != FALSE) {
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

struct Expected {
  std::wstring year;
  std::wstring answer;
};

void ExpectAnswers(const std::vector<Expected>& expected) {
  const Tarvelo tarvelo;
  ASSERT_TRUE(tarvelo.started());
  for (const Expected& e : expected) {
    EXPECT_EQ(tarvelo.Answer(e.year), e.answer);
  }
}

TEST(RegistryEras, WithoutTheKeyTheBuiltInTableAnswers) {
  std::cout << "Japanese eras key present before the test: " << (KeyExists() ? "yes" : "no")
            << '\n';
  const ErasKey removed;  // removes any key the system has, now and at the end
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, std::wstring(kErasKey).c_str());
  ASSERT_FALSE(KeyExists());
  ExpectAnswers({
      {L"2019", L"西暦2019年は令和元年です。"},
      {L"2046", L"西暦2046年は令和28年です。"},
  });
}

TEST(RegistryEras, ANewEraInTheKeyReachesTheAnswer) {
  const ErasKey key;
  ErasKey::Add(L"1868 01 01", L"明治_明_Meiji_M");
  ErasKey::Add(L"1912 07 30", L"大正_大_Taisho_T");
  ErasKey::Add(L"1926 12 25", L"昭和_昭_Showa_S");
  ErasKey::Add(L"1989 01 08", L"平成_平_Heisei_H");
  ErasKey::Add(L"2019 05 01", L"令和_令_Reiwa_R");
  ErasKey::Add(L"2045 05 01", L"試験_試_Shiken_S");
  // Entries that are passed over: an impossible day, a value that is not text.
  ErasKey::Add(L"2050 13 01", L"誤日_誤_Gobi_G");
  ErasKey::Add(L"2060 01 01", L"1", L"REG_DWORD");
  ExpectAnswers({
      {L"2019", L"西暦2019年は令和元年です。"},
      {L"2044", L"西暦2044年は令和26年です。"},
      {L"2045", L"西暦2045年は試験元年です。"},
      {L"2046", L"西暦2046年は試験2年です。"},
      {L"2061", L"西暦2061年は試験17年です。"},
  });
}

}  // namespace

// NOLINTEND(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)
