#include "registry_eras.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "utf8.h"

namespace tarvelo {
namespace {

constexpr const wchar_t* kErasKey =
    L"SYSTEM\\CurrentControlSet\\Control\\Nls\\Calendars\\Japanese\\Eras";

struct KeyCloser {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
using Key = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

}  // namespace

std::vector<SystemEra> RegistryEraSource::Eras() const {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kErasKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) {
    return {};
  }
  const Key key(opened);
  DWORD count = 0;
  DWORD longestName = 0;
  DWORD largestData = 0;
  if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                       &longestName, &largestData, nullptr, nullptr) != ERROR_SUCCESS) {
    return {};
  }
  // In whatever order Windows lists them: AddedEras orders the eras by their first days.
  std::vector<SystemEra> eras;
  std::wstring name(longestName + 1, L'\0');
  std::wstring data(largestData / sizeof(wchar_t) + 1, L'\0');
  for (DWORD index = 0; index < count; ++index) {
    auto nameLength = static_cast<DWORD>(name.size());
    auto dataBytes = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    DWORD type = 0;
    if (RegEnumValueW(key.get(), index, name.data(), &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(
                          data.data()),  // NOLINT(cppcoreguidelines-pro-type-reinterpret-cast)
                      &dataBytes) != ERROR_SUCCESS ||
        type != REG_SZ) {
      continue;  // changed while read, or not text: not an era
    }
    std::wstring text(data.data(), dataBytes / sizeof(wchar_t));
    text.erase(std::find(text.begin(), text.end(), L'\0'), text.end());
    if (auto era = ParseWindowsEra(Narrow(name.substr(0, nameLength)), Narrow(text))) {
      eras.push_back(std::move(*era));
    }
  }
  return eras;
}

}  // namespace tarvelo
