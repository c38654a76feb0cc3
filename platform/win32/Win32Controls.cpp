#include "platform/win32/Native.h"

#include <algorithm>

namespace {

int nextControlId = 100;  // clear of IDOK and IDCANCEL, which the dialog manager sends

HWND CreateChild(TForm* form, const wchar_t* windowClass, DWORD style, DWORD extendedStyle,
                 const ControlDescription& description) {
  HWND window = CreateWindowExW(extendedStyle, windowClass, Widen(description.Caption).c_str(),
                                WS_CHILD | WS_VISIBLE | style, description.Left, description.Top,
                                description.Width, description.Height, form->Handle().window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextControlId++)),
                                GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) {
    throw Exception(form->Name() + ": cannot create control " + std::string(description.Name));
  }
  HFONT font = form->Handle().fonts.front();  // the form's font
  if (description.Font != nullptr) {
    font = CreateFormFont(*description.Font);
    form->Handle().fonts.push_back(font);
    if (description.Font->Color != TColor::clWindowText) {
      form->Handle().textColours.emplace_back(window, ToColorRef(description.Font->Color));
    }
  }
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return window;
}

}  // namespace

TControl::TControl(TForm* Owner, const ControlDescription& description)
    : TComponent(Owner), native_(std::make_unique<Native>()) {
  SetName(std::string(description.Name));
}

TControl::~TControl() = default;

FieldText TControl::GetText() const {
  const int length = GetWindowTextLengthA(native_->window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(native_->window, text.data(), length + 1)));
  return text;
}

void TControl::SetText(const FieldText& text) { SetWindowTextA(native_->window, text.c_str()); }

TLabel::TLabel(TForm* Owner, const ControlDescription& description) : TControl(Owner, description) {
  HWND label = CreateChild(Owner, L"STATIC", SS_LEFT | SS_NOPREFIX, 0, description);
  // The stored size may come from other fonts: grow to fit the caption, keeping the position.
  HDC dc = GetDC(label);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0));
  HGDIOBJ previous = SelectObject(dc, font);
  const std::wstring caption = Widen(description.Caption);
  SIZE size{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(label, dc);
  SetWindowPos(label, nullptr, 0, 0, std::max<int>(description.Width, size.cx),
               std::max<int>(description.Height, size.cy),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Handle().window = label;
}

TEdit::TEdit(TForm* Owner, const ControlDescription& description) : TControl(Owner, description) {
  const DWORD style = WS_TABSTOP | ES_AUTOHSCROLL | (description.ReadOnly ? ES_READONLY : 0);
  HWND edit = CreateChild(Owner, L"EDIT", style, WS_EX_CLIENTEDGE, description);
  SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);  // no limit on what can be typed
  Handle().window = edit;
}

TButton::TButton(TForm* Owner, const ControlDescription& description)
    : TControl(Owner, description) {
  Handle().window = CreateChild(Owner, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, description);
}
