#include "platform/win32/Native.h"

namespace {

int nextControlId = 100;  // clear of IDOK and IDCANCEL, which the dialog manager sends

// Created without size or font: PlaceControls gives both, at the window's DPI.
HWND CreateChild(TForm* form, const wchar_t* windowClass, DWORD style, DWORD extendedStyle,
                 const ControlDescription& description) {
  HWND window = CreateWindowExW(extendedStyle, windowClass, Widen(description.Caption).c_str(),
                                WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, form->Handle().window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextControlId++)),
                                GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) {
    throw Exception(form->Name() + ": cannot create control " + std::string(description.Name));
  }
  if (description.Kind == ControlKind::Label && description.Font != nullptr) {
    form->Handle().textColours.emplace_back(window, description.Font->Color);
  }
  return window;
}

}  // namespace

TControl::TControl(TForm* Owner, const ControlDescription& description)
    : TComponent(Owner), native_(std::make_unique<Native>()) {
  SetName(std::string(description.Name));
  native_->form = Owner;
  native_->result = description.Kind == ControlKind::Edit && description.ReadOnly;
}

TControl::~TControl() = default;

FieldText TControl::GetText() const {
  const int length = GetWindowTextLengthA(native_->window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(native_->window, text.data(), length + 1)));
  return text;
}

void TControl::SetText(const FieldText& text) {
  SetWindowTextA(native_->window, text.c_str());
  if (native_->result) {
    // Accessibility clients learn of each result as it is written, in that order (not every
    // system's edit control reports it), and screen readers announce them together.
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, native_->window, OBJID_CLIENT, CHILDID_SELF);
    QueueResultsAnnouncement(*native_->form);
  }
}

TLabel::TLabel(TForm* Owner, const ControlDescription& description) : TControl(Owner, description) {
  Handle().window = CreateChild(Owner, L"STATIC", SS_LEFT | SS_NOPREFIX, 0, description);
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
