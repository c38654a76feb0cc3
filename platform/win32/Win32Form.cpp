#include "platform/forms/Contrast.h"
#include "platform/forms/FormBuilding.h"
#include "platform/win32/Native.h"

#include <algorithm>
#include <utility>

namespace {

constexpr wchar_t kWindowClass[] = L"QuarnForm";

TForm* FormOf(HWND window) {
  return reinterpret_cast<TForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Functions of Windows 10 and later, looked up so that the program still starts on Vista.
template <typename Function>
Function User32Function(const char* name) {
  const FARPROC address = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

int DpiOf(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  if (getDpiForWindow != nullptr) return static_cast<int>(getDpiForWindow(window));
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int Scaled(int figure, int dpi) { return MulDiv(figure, dpi, 96); }

constexpr DWORD kFrameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

// The frame's size around a client area of the description's size at that DPI.
SIZE FrameSize(const FormDescription& description, int dpi) {
  using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = User32Function<AdjustFunction>("AdjustWindowRectExForDpi");
  RECT frame{0, 0, Scaled(description.ClientWidth, dpi), Scaled(description.ClientHeight, dpi)};
  if (adjustForDpi != nullptr) {
    adjustForDpi(&frame, kFrameStyle, FALSE, 0, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&frame, kFrameStyle, FALSE, 0);
  }
  return {frame.right - frame.left, frame.bottom - frame.top};
}

// Gives every control its position, size and font from the description, scaled to the DPI.
void PlaceControls(TForm& form, const FormDescription& description, int dpi) {
  TForm::Native& native = form.Handle();
  std::vector<HFONT> previousFonts = std::exchange(native.fonts, {});
  native.dpi = dpi;
  native.fonts.push_back(CreateFormFont(description.Font, dpi));
  for (const ControlDescription& control : description.Controls) {
    HWND window = ControlNamed(form, control.Name).Handle().window;
    HFONT font = native.fonts.front();
    if (control.Font != nullptr)
      font = native.fonts.emplace_back(CreateFormFont(*control.Font, dpi));
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SetWindowPos(window, nullptr, Scaled(control.Left, dpi), Scaled(control.Top, dpi),
                 Scaled(control.Width, dpi), Scaled(control.Height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (HFONT font : previousFonts) DeleteObject(font);
  RedrawWindow(native.window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// A label's stored size may come from other fonts, or be rounded down by the scaling: each label
// grows to fit its caption, keeping its position.
void FitLabels(const TForm& form, const FormDescription& description) {
  for (const ControlDescription& control : description.Controls) {
    if (control.Kind != ControlKind::Label) continue;
    HWND label = ControlNamed(form, control.Name).Handle().window;
    const int length = GetWindowTextLengthW(label);
    std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(label, caption.data(), length + 1);
    HDC dc = GetDC(label);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SIZE text{};
    GetTextExtentPoint32W(dc, caption.c_str(), length, &text);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
    RECT rect{};
    GetClientRect(label, &rect);
    if (text.cx <= rect.right && text.cy <= rect.bottom) continue;
    SetWindowPos(label, nullptr, 0, 0, std::max(rect.right, text.cx),
                 std::max(rect.bottom, text.cy), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// Measuring the captions loads their fonts, which takes longer than anything else at start-up:
// the new form does it once its window is on the screen, from the message loop.
constexpr UINT kFitLabels = WM_APP;

TButton* ButtonWithWindow(TForm& form, HWND window) {
  for (TComponent* component : form.Components()) {
    auto* button = dynamic_cast<TButton*>(component);
    if (button != nullptr && button->Handle().window == window) return button;
  }
  return nullptr;
}

// Red text where it is readable on the background: a lighter red on a dark one.
COLORREF TextColourOn(TColor colour, COLORREF background) {
  if (colour != TColor::clRed) return ToColorRef(colour);
  const Rgb red =
      HintColourOn({GetRValue(background), GetGValue(background), GetBValue(background)});
  return RGB(red.r, red.g, red.b);
}

// Reads the contrast setting again and repaints the whole window in the current colours.
void FollowSystemColours(TForm::Native& native) {
  native.highContrast = HighContrastIsOn();
  RedrawWindow(native.window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

BOOL CALLBACK ForwardToChild(HWND child, LPARAM message) {
  const auto* forwarded = reinterpret_cast<const MSG*>(message);
  SendMessageW(child, forwarded->message, forwarded->wParam, forwarded->lParam);
  return TRUE;
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  TForm* form = FormOf(window);
  if (form == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  TForm::Native& native = form->Handle();
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
        if (TButton* button = ButtonWithWindow(*form, reinterpret_cast<HWND>(lParam))) {
          DispatchEvent(button->OnClick, button);
        }
      }
      return 0;  // IDOK and IDCANCEL from Enter and Escape: there is no default button
    case WM_CTLCOLORSTATIC: {
      const auto control = reinterpret_cast<HWND>(lParam);
      const auto coloured =
          std::ranges::find(native.textColours, control, &std::pair<HWND, TColor>::first);
      if (coloured == native.textColours.end()) break;
      const auto dc = reinterpret_cast<HDC>(wParam);
      if (coloured->second == TColor::clRed && native.highContrast) {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      const COLORREF background = ToColorRef(native.description->Color);
      SetTextColor(dc, TextColourOn(coloured->second, background));
      SetBkColor(dc, background);
      return reinterpret_cast<LRESULT>(BrushOf(native.description->Color));
    }
    case WM_SYSCOLORCHANGE: {  // common controls learn of new colours from their parent
      const MSG forwarded{window, message, wParam, lParam, 0, {}};
      EnumChildWindows(window, ForwardToChild, reinterpret_cast<LPARAM>(&forwarded));
      FollowSystemColours(native);
      return 0;
    }
    case WM_SETTINGCHANGE:  // SPI_SETHIGHCONTRAST among others
    case WM_THEMECHANGED:
      FollowSystemColours(native);
      break;
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(window, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, BrushOf(native.description->Color));
      return 1;
    }
    case WM_ACTIVATE:  // keep the focused control across deactivation, as dialogs do
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (HWND focus = GetFocus(); focus != nullptr && IsChild(window, focus)) {
          native.focus = focus;
        }
      } else if (native.focus != nullptr) {
        SetFocus(native.focus);
        // A focused push button takes Enter, as when the dialog manager moves the focus there.
        if (SendMessageW(native.focus, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON) {
          SendMessageW(native.focus, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
        }
      }
      return 0;
    case WM_DPICHANGED: {  // moved to a monitor of another DPI, or its scale changed
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      PlaceControls(*form, *native.description, HIWORD(wParam));
      FitLabels(*form, *native.description);
      return 0;
    }
    case kFitLabels: {
      FitLabels(*form, *native.description);
      return 0;
    }
    case WM_GETOBJECT:  // an assistive client asks: what it reads must be there before the answer
      SetUpOnFirstQuery(*form);
      break;
    case kAnnounceResults:
      AnnounceResults(*form, *native.description);
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      ReleaseAccessibility(native.accessibility);  // while the controls are still there
      if (Application->MainForm() == form) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      native.window = nullptr;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterFormClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = FormProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hIcon = LoadIconW(windowClass.hInstance, L"MAINICON");
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = nullptr;  // the form's colour, on WM_ERASEBKGND
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0;
  }();
  if (!registered) throw Exception("cannot register the form's window class");
}

// The dialog manager tabs through the controls in z-order: stack them in tab order, each field
// with its label just above it. Focus starts
// on the first.
void ApplyTabOrder(TForm& form, const FormDescription& description) {
  const std::vector<const ControlDescription*> stops = TabStops(description);
  HWND previous = HWND_TOP;
  const auto stackNext = [&](std::string_view name) {
    HWND window = ControlNamed(form, name).Handle().window;
    SetWindowPos(window, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = window;
  };
  for (const ControlDescription* stop : stops) {
    // Screen readers name a field by the static text just before it.
    for (const ControlDescription& control : description.Controls) {
      if (control.FocusControl == stop->Name) stackNext(control.Name);
    }
    stackNext(stop->Name);
  }
  if (!stops.empty()) form.Handle().focus = ControlNamed(form, stops.front()->Name).Handle().window;
}

// Destroys the form's window, which clears the window's pointer to the form, and its fonts.
void ReleaseWindow(TForm::Native& native) {
  ReleaseAccessibility(native.accessibility);
  if (native.window != nullptr) DestroyWindow(native.window);
  for (HFONT font : native.fonts) DeleteObject(font);
  native.fonts.clear();
}

}  // namespace

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  std::wstring wide(
      static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)),
      L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

HFONT CreateFormFont(const FontDescription& font, int dpi) {
  const BYTE charset = font.Charset == TFontCharset::Ansi ? ANSI_CHARSET : DEFAULT_CHARSET;
  return CreateFontW(Scaled(font.Height, dpi), 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, FALSE,
                     FALSE, FALSE, charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, Widen(font.Name).c_str());
}

namespace {

// The system colour a TColor follows (COLOR_...), or -1 for red, the one fixed colour.
int SystemColourOf(TColor colour) {
  switch (colour) {
    case TColor::clBtnFace:
      return COLOR_BTNFACE;
    case TColor::clWindowText:
      return COLOR_WINDOWTEXT;
    case TColor::clRed:
      break;
  }
  return -1;
}

}  // namespace

COLORREF ToColorRef(TColor colour) {
  const int system = SystemColourOf(colour);
  return system >= 0 ? GetSysColor(system) : RGB(255, 0, 0);
}

HBRUSH BrushOf(TColor colour) {
  const int system = SystemColourOf(colour);
  if (system >= 0) return GetSysColorBrush(system);
  static const HBRUSH fixed = CreateSolidBrush(ToColorRef(colour));  // lives as the program does
  return fixed;
}

bool (*HighContrastIsOn)() = [] {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != 0 &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
};

TForm::TForm(TComponent* Owner, const FormDescription& description)
    : TComponent(Owner), description_(description), native_(std::make_unique<Native>()) {
  SetName(std::string(description.Name));
  native_->description = &description;
  native_->highContrast = HighContrastIsOn();
  RegisterFormClass();

  // The window is created first, then sized: its DPI is that of the monitor it lands on.
  native_->window = CreateWindowExW(0, kWindowClass, Widen(description.Caption).c_str(),
                                    kFrameStyle, description.Left, description.Top, 0, 0, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), this);
  try {
    if (native_->window == nullptr) throw Exception(Name() + ": cannot create the window");
    const int dpi = DpiOf(native_->window);
    const SIZE frame = FrameSize(description, dpi);
    SetWindowPos(native_->window, nullptr, Scaled(description.Left, dpi),
                 Scaled(description.Top, dpi), frame.cx, frame.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    CreateControls(this, description);
    PlaceControls(*this, description, dpi);
    PostMessageW(native_->window, kFitLabels, 0, 0);
    ApplyTabOrder(*this, description);
    SetUpAccessibility(*this);
  } catch (...) {
    // No destructor runs for a form that failed here: release what it holds, so that no window
    // is left pointing at it.
    DestroyComponents();
    ReleaseWindow(*native_);
    throw;
  }
}

TForm::~TForm() {
  DestroyComponents();
  ReleaseWindow(*native_);
}
