#include "form1_window.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "form1_layout.h"
#include "resource.h"
#include "utf8.h"

// Win32 messages carry handles, pointers and numbers in the same WPARAM and LPARAM.
// NOLINTBEGIN(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)

namespace tarvelo {
namespace {

constexpr int kDesignDpi = 96;
constexpr SIZE kClientSize{form::kClientWidth, form::kClientHeight};

int Scale(LONG pixels, UINT dpi) {
  return MulDiv(static_cast<int>(pixels), static_cast<int>(dpi), kDesignDpi);
}

// The form's faces come by their English names, which Windows knows in every display
// language; where a face is missing, the Japanese character set makes Windows take an
// installed Japanese face in its place.
GdiHandle<HFONT> MakeFont(const form::Font& face, UINT dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(face.pointsTimes100, static_cast<int>(dpi), 7200);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;  // the smoothing the user chose
  lstrcpynW(std::data(font.lfFaceName), face.face, LF_FACESIZE);
  return GdiHandle<HFONT>(CreateFontIndirectW(&font));
}

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
  // Through a function type without parameters, which GCC lets any function cast to.
  using Generic = void (*)();
  return reinterpret_cast<Function>(reinterpret_cast<Generic>(GetProcAddress(module, name)));
}

// When the dialog moves to a screen of another density, Windows would move and resize its
// controls and replace their fonts itself; the layout table does that here, so the dialog
// manager is asked to keep out. Windows before 10 version 1703, and Wine, lack the calls.
void KeepDialogManagerFromRescaling(HWND dialog) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (const auto setDialog =
          Lookup<decltype(&SetDialogDpiChangeBehavior)>(user32, "SetDialogDpiChangeBehavior")) {
    setDialog(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
  }
  if (const auto setControl = Lookup<decltype(&SetDialogControlDpiChangeBehavior)>(
          user32, "SetDialogControlDpiChangeBehavior")) {
    const auto both = static_cast<DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS>(DCDC_DISABLE_FONT_UPDATE |
                                                                       DCDC_DISABLE_RELAYOUT);
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
      setControl(control, both, both);
    }
  }
}

// A number in decimal digits, without the C library's formatting (which costs the
// program file a dozen kilobytes).
std::wstring Decimal(DWORD number) {
  std::wstring digits;
  do {
    digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + number % 10));
    number /= 10;
  } while (number != 0);
  return digits;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  SetDCBrushColor(dc, colour);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

constexpr COLORREF Colour(std::uint32_t rgb) {
  return RGB((rgb >> 16U) & 0xFFU, (rgb >> 8U) & 0xFFU, rgb & 0xFFU);
}

// The colours the dialog paints itself, or none while high contrast is on: then the
// dialog and every control draw in the user's system colours.
std::optional<Colours> OwnColours(bool highContrast) {
  if (highContrast) {
    return std::nullopt;
  }
  // The backgrounds are fixed, so their text stays dark whatever the theme.
  return Colours{.background = Colour(form::kBackground),
                 .buttonFace = Colour(form::kButtonFace),
                 .buttonPressed = Colour(form::kButtonPressed),
                 .buttonBorder = Colour(form::kButtonBorder),
                 .defaultBorder = Colour(form::kDefaultBorder),
                 .text = Colour(form::kText),
                 .buttonText = Colour(form::kButtonText),
                 .disabledText = Colour(form::kDisabledText)};
}

}  // namespace

bool SystemHighContrast() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) != FALSE &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

int Form1Window::Run() {
  if (CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_FORM1), nullptr, &Form1Window::DialogProc,
                         reinterpret_cast<LPARAM>(this)) == nullptr) {
    const std::wstring text =
        L"Tarvelo を起動できませんでした。（エラー " + Decimal(GetLastError()) + L"）";
    MessageBoxW(nullptr, text.c_str(), L"Tarvelo", MB_OK | MB_ICONERROR);
    return 1;
  }
  ShowWindow(dialog_, SW_SHOW);
  MSG message{};
  BOOL got = FALSE;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
    arrowKey_ =
        message.message == WM_KEYDOWN && (message.wParam == VK_UP || message.wParam == VK_DOWN ||
                                          message.wParam == VK_LEFT || message.wParam == VK_RIGHT);
    if (IsDialogMessageW(dialog_, &message) == FALSE) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    arrowKey_ = false;
  }
  return got == 0 ? static_cast<int>(message.wParam) : 1;
}

INT_PTR CALLBACK Form1Window::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* self = reinterpret_cast<Form1Window*>(lParam);
    self->dialog_ = dialog;
  }
  auto* self = reinterpret_cast<Form1Window*>(GetWindowLongPtrW(dialog, DWLP_USER));
  return self != nullptr ? self->OnMessage(message, wParam, lParam) : FALSE;
}

INT_PTR Form1Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return FALSE;  // the focus is set already
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_CLOSE:  // close box, Alt+F4: the program ends, no handler runs
      EndProgram();
      return TRUE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return TRUE;
    case WM_CTLCOLORDLG:  // no brush: the system's colours
      return reinterpret_cast<INT_PTR>(background_.get());
    case WM_CTLCOLORSTATIC: {  // the frame, the options and the labels
      if (!colours_) {
        return FALSE;
      }
      auto* dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, colours_->text);
      SetBkColor(dc, colours_->background);
      return reinterpret_cast<INT_PTR>(background_.get());
    }
    case WM_SYSCOLORCHANGE:  // the controls hear of it from their window
      for (HWND control = GetWindow(dialog_, GW_CHILD); control != nullptr;
           control = GetWindow(control, GW_HWNDNEXT)) {
        SendMessageW(control, WM_SYSCOLORCHANGE, wParam, lParam);
      }
      ApplyColours();
      return FALSE;
    case WM_SETTINGCHANGE:
      ApplyColours();
      return FALSE;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.code == NM_CUSTOMDRAW &&
          (header.idFrom == IDC_COMMAND1 || header.idFrom == IDC_COMMAND2)) {
        SetWindowLongPtrW(dialog_, DWLP_MSGRESULT,
                          OnButtonCustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam)));
        return TRUE;
      }
      return FALSE;
    }
    case WM_GETDPISCALEDSIZE:  // the exact size, which Windows then suggests
      *reinterpret_cast<SIZE*>(lParam) = WindowSize(static_cast<UINT>(wParam));
      SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_DPICHANGED: {
      ApplyDpi(LOWORD(wParam));
      const auto& suggested = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(dialog_, nullptr, suggested.left, suggested.top,
                   suggested.right - suggested.left, suggested.bottom - suggested.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void Form1Window::OnInitDialog() {
  ApplyColours();
  KeepDialogManagerFromRescaling(dialog_);
  const UINT dpi = GetDpiForWindow(dialog_);
  ApplyDpi(dpi);
  // Centred at its real size in the work area of the screen it starts on.
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  const SIZE size = WindowSize(dpi);
  if (GetMonitorInfoW(MonitorFromWindow(dialog_, MONITOR_DEFAULTTOPRIMARY), &monitor) != FALSE) {
    const RECT& work = monitor.rcWork;
    SetWindowPos(dialog_, nullptr, work.left + (work.right - work.left - size.cx) / 2,
                 work.top + (work.bottom - work.top - size.cy) / 2, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    SetWindowPos(dialog_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  }
  // The start state: the form's option selected, a box for a Western year, Convert the
  // default.
  SendMessageW(Item(form::kCheckedOption), BM_SETCHECK, BST_CHECKED, 0);
  selectedOption_ = form::kCheckedOption;
  SendMessageW(Item(IDC_TEXT1), EM_SETLIMITTEXT, Form1::kWesternMaxLength, 0);
  SendMessageW(dialog_, DM_SETDEFID, IDC_COMMAND1, 0);
  SetFocus(Item(IDC_TEXT1));
}

void Form1Window::OnCommand(int id, int code) {
  if (code == BN_CLICKED) {
    switch (id) {
      case IDC_COMMAND1:
        form_.Command1_Click();
        return;
      case IDC_COMMAND2:
        form_.Command2_Click();
        return;
      case IDC_OPTION1:
        OnOptionClick(id, &Form1::Option1_Click);
        return;
      case IDC_OPTION2:
        OnOptionClick(id, &Form1::Option2_Click);
        return;
      case IDC_OPTION3:
        OnOptionClick(id, &Form1::Option3_Click);
        return;
      case IDC_OPTION4:
        OnOptionClick(id, &Form1::Option4_Click);
        return;
      case IDC_OPTION5:
        OnOptionClick(id, &Form1::Option5_Click);
        return;
      default:
        // IDCANCEL comes from Esc: there is no cancel button, so it ends nothing.
        return;
    }
  }
  if (id == IDC_TEXT1 && code == EN_CHANGE) {
    form_.Text1_Change();
  }
}

// Windows reports BN_CLICKED also where no option becomes selected: a click on the option
// already selected, an unchecked option receiving the focus. Only a newly checked option
// changes the mode, so a typed year survives the others.
void Form1Window::OnOptionClick(int id, void (Form1::*handler)()) {
  if (id == selectedOption_ || SendMessageW(Item(id), BM_GETCHECK, 0, 0) != BST_CHECKED) {
    return;
  }
  selectedOption_ = id;
  (form_.*handler)();
}

void Form1Window::ApplyDpi(UINT dpi) {
  // The controls let go of the old fonts and icons before they are deleted.
  Fonts fonts;
  std::transform(form::kFonts.begin(), form::kFonts.end(), fonts.begin(),
                 [dpi](const form::Font& font) { return MakeFont(font, dpi); });
  for (const form::Place& place : form::kPlaces) {
    HWND control = Item(place.id);
    const HFONT font = fonts.at(static_cast<std::size_t>(place.font)).get();
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowPos(control, nullptr, Scale(place.left, dpi), Scale(place.top, dpi),
                 Scale(place.width, dpi), std::max(1, Scale(place.height, dpi)),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }

  const auto loadIcon = [this, dpi](int metric) {
    const int size = GetSystemMetricsForDpi(metric, dpi);
    return IconHandle(static_cast<HICON>(
        LoadImageW(instance_, MAKEINTRESOURCEW(IDI_TARVELO), IMAGE_ICON, size, size, 0)));
  };
  IconHandle bigIcon = loadIcon(SM_CXICON);
  IconHandle smallIcon = loadIcon(SM_CXSMICON);
  SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
  SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
  InvalidateRect(dialog_, nullptr, TRUE);

  fonts_ = std::move(fonts);
  bigIcon_ = std::move(bigIcon);
  smallIcon_ = std::move(smallIcon);
}

SIZE Form1Window::WindowSize(UINT dpi) const {
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(dialog_, GWL_EXSTYLE));
  RECT frame{0, 0, Scale(kClientSize.cx, dpi), Scale(kClientSize.cy, dpi)};
  AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

void Form1Window::ApplyColours() {
  colours_ = OwnColours(highContrast_());
  background_.reset(colours_ ? CreateSolidBrush(colours_->background) : nullptr);
  RedrawWindow(dialog_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// Paints a push button with the face colour: themed buttons ignore WM_CTLCOLORBTN.
// The look keeps what the themed button shows: the default border, the pressed face,
// the underlined access key and the focus rectangle.
LRESULT Form1Window::OnButtonCustomDraw(const NMCUSTOMDRAW& draw) const {
  if (draw.dwDrawStage != CDDS_PREPAINT || !colours_) {
    return CDRF_DODEFAULT;
  }
  const Colours& colours = *colours_;
  HWND button = draw.hdr.hwndFrom;
  HDC dc = draw.hdc;
  const auto style = static_cast<UINT>(GetWindowLongPtrW(button, GWL_STYLE));
  const bool isDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  const bool pressed = (draw.uItemState & CDIS_SELECTED) != 0 ||
                       (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  const bool enabled = IsWindowEnabled(button) != FALSE;
  const auto uiState = static_cast<UINT>(SendMessageW(button, WM_QUERYUISTATE, 0, 0));
  const UINT dpi = GetDpiForWindow(button);

  // The button's DC gets back the pen, brush and font it came with.
  const int saved = SaveDC(dc);
  RECT rect = draw.rc;
  FillSolid(dc, rect, colours.background);
  const int border = Scale(isDefault ? form::kDefaultBorderWidth : form::kButtonBorderWidth, dpi);
  const int corner = Scale(2 * form::kButtonCornerRadius, dpi);
  SelectObject(dc, GetStockObject(DC_PEN));
  SelectObject(dc, GetStockObject(DC_BRUSH));
  SetDCPenColor(dc, isDefault ? colours.defaultBorder : colours.buttonBorder);
  SetDCBrushColor(dc, isDefault ? colours.defaultBorder : colours.buttonBorder);
  RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, corner, corner);
  InflateRect(&rect, -border, -border);
  const COLORREF face = pressed ? colours.buttonPressed : colours.buttonFace;
  SetDCPenColor(dc, face);
  SetDCBrushColor(dc, face);
  RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, corner, corner);

  std::array<wchar_t, 64> caption{};
  GetWindowTextW(button, caption.data(), static_cast<int>(caption.size()));
  SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled ? colours.buttonText : colours.disabledText);
  RECT textRect = rect;
  if (pressed) {
    OffsetRect(&textRect, 1, 1);
  }
  UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  if ((uiState & UISF_HIDEACCEL) != 0) {
    format |= DT_HIDEPREFIX;
  }
  DrawTextW(dc, caption.data(), -1, &textRect, format);

  if ((draw.uItemState & CDIS_FOCUS) != 0 && (uiState & UISF_HIDEFOCUS) == 0) {
    InflateRect(&rect, -Scale(2, dpi), -Scale(2, dpi));
    SetTextColor(dc, colours.buttonText);
    SetBkColor(dc, face);
    DrawFocusRect(dc, &rect);
  }
  RestoreDC(dc, saved);
  return CDRF_SKIPDEFAULT;
}

std::string Form1Window::Text1Text() const {
  HWND box = Item(IDC_TEXT1);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

// The edit control raises EN_CHANGE for this too, from inside the call.
void Form1Window::SetText1Text(std::string_view text) {
  SetWindowTextW(Item(IDC_TEXT1), Widen(text).c_str());
}

// Unlike a Qt line edit, the control keeps a longer text it already holds; the logic
// empties the box right after every change of the limit.
void Form1Window::SetText1MaxLength(int characters) {
  SendMessageW(Item(IDC_TEXT1), EM_SETLIMITTEXT, static_cast<WPARAM>(characters), 0);
}

// Through the dialog manager, so that Convert becomes the default button again. An option
// picked with the arrow keys keeps the focus, so that the next arrow moves on within the
// group; picked with the mouse, the box takes the focus as the mode asks.
void Form1Window::Text1SetFocus() {
  if (arrowKey_) {
    return;
  }
  SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_TEXT1)), TRUE);
}

bool Form1Window::Option5Value() const {
  return SendMessageW(Item(IDC_OPTION5), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool Form1Window::Option5Enabled() const { return IsWindowEnabled(Item(IDC_OPTION5)) != FALSE; }

void Form1Window::ShowMessage(std::string_view text, MessageStyle style, std::string_view title) {
  // The style values are Windows' own icon flags, which also pick the box's sound.
  MessageBoxW(dialog_, Widen(text).c_str(), Widen(title).c_str(), MB_OK | static_cast<UINT>(style));
}

void Form1Window::Beep() { MessageBeep(MB_OK); }

// Destroying the window drops whatever input is still queued for it; WM_DESTROY then
// ends the message loop with exit code 0.
void Form1Window::EndProgram() { DestroyWindow(dialog_); }

}  // namespace tarvelo

// NOLINTEND(cppcoreguidelines-pro-type-reinterpret-cast,performance-no-int-to-ptr)
