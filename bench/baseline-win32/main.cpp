// The floor the Windows program's start-up is measured against: a bare dialog captioned
// like it, holding one Japanese label, so that a Japanese font is loaded too.
#include <windows.h>

namespace {

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
  HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(1), nullptr, &DialogProc, 0);
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
