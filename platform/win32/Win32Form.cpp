#include "platform/forms/FormBuilding.h"
#include "platform/win32/Native.h"

#include <algorithm>

namespace {

constexpr wchar_t kWindowClass[] = L"QuarnForm";

TForm* FormOf(HWND window) {
  return reinterpret_cast<TForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

TButton* ButtonWithWindow(TForm& form, HWND window) {
  for (TComponent* component : form.Components()) {
    auto* button = dynamic_cast<TButton*>(component);
    if (button != nullptr && button->Handle().window == window) return button;
  }
  return nullptr;
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
          std::ranges::find(native.textColours, control, &std::pair<HWND, COLORREF>::first);
      if (coloured == native.textColours.end()) break;
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, coloured->second);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
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
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
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
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassExW(&windowClass) != 0;
  }();
  if (!registered) throw Exception("cannot register the form's window class");
}

// The dialog manager tabs through the controls in z-order: stack them in tab order. Focus starts
// on the first.
void ApplyTabOrder(TForm& form, const FormDescription& description) {
  const std::vector<const ControlDescription*> stops = TabStops(description);
  HWND previous = HWND_TOP;
  for (const ControlDescription* stop : stops) {
    HWND window = ControlNamed(form, stop->Name).Handle().window;
    SetWindowPos(window, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = window;
  }
  if (!stops.empty()) form.Handle().focus = ControlNamed(form, stops.front()->Name).Handle().window;
}

// Destroys the form's window, which clears the window's pointer to the form, and its fonts.
void ReleaseWindow(TForm::Native& native) {
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

HFONT CreateFormFont(const FontDescription& font) {
  const BYTE charset = font.Charset == TFontCharset::Ansi ? ANSI_CHARSET : DEFAULT_CHARSET;
  return CreateFontW(font.Height, 0, 0, 0, font.Bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, Widen(font.Name).c_str());
}

COLORREF ToColorRef(TColor colour) {
  switch (colour) {
    case TColor::clBtnFace:
      return GetSysColor(COLOR_BTNFACE);
    case TColor::clWindowText:
      return GetSysColor(COLOR_WINDOWTEXT);
    case TColor::clRed:
      return RGB(255, 0, 0);
  }
  return 0;
}

TForm::TForm(TComponent* Owner, const FormDescription& description)
    : TComponent(Owner), description_(description), native_(std::make_unique<Native>()) {
  SetName(std::string(description.Name));
  RegisterFormClass();
  native_->fonts.push_back(CreateFormFont(description.Font));

  constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT frame{0, 0, description.ClientWidth, description.ClientHeight};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  native_->window =
      CreateWindowExW(0, kWindowClass, Widen(description.Caption).c_str(), kStyle, description.Left,
                      description.Top, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                      nullptr, GetModuleHandleW(nullptr), this);
  try {
    if (native_->window == nullptr) throw Exception(Name() + ": cannot create the window");
    CreateControls(this, description);
    ApplyTabOrder(*this, description);
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
