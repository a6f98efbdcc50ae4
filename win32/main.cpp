// windows.h comes first: the other Windows headers build on it.
#include <windows.h>
// clang-format off
#include <commctrl.h>
// clang-format on

#include "form1_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
  // Registers the version 6 controls the manifest asks for.
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  tarvelo::Form1Window window(instance);
  return window.Run();
}
