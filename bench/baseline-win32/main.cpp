// The floors the Windows program's start-up is measured against: its dialog from the same
// template with no logic behind it (TARVELO_BASELINE_FORM), or a dialog of one Japanese
// label, so that a Japanese font is loaded too.
#include <windows.h>

#ifdef TARVELO_BASELINE_FORM
#include "resource.h"
#endif

namespace {

#ifdef TARVELO_BASELINE_FORM
constexpr int kDialog = IDD_FORM1;
#else
constexpr int kDialog = 1;
#endif

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/) {
  if (message == WM_CLOSE) {
    DestroyWindow(dialog);
    return TRUE;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return TRUE;
  }
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
  HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(kDialog), nullptr, &DialogProc, 0);
  if (dialog == nullptr) {
    return 1;
  }
  ShowWindow(dialog, SW_SHOW);
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(dialog, &message) == FALSE) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return 0;
}
