// What Windows screen readers learn beyond the controls' own names and states, through Microsoft
// Active Accessibility's Dynamic Annotation: the hint as the description of each input field,
// and the results announced in a polite live region after every calculation. Windows 8 and later
// act on the live region; on older versions and where annotation is missing (Wine answers
// E_NOTIMPL) every call may fail, and the window then works exactly as without it.

#include "platform/forms/FormBuilding.h"
#include "platform/win32/Native.h"

#include <objbase.h>
#include <oleacc.h>

#include <string>
#include <utility>

namespace {

// Declared here rather than taken from import libraries, which lack some of them.
constexpr CLSID kAccPropServicesClass{
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kAccPropServicesInterface{
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr MSAAPROPID kDescriptionProperty{// PROPID_ACC_DESCRIPTION
                                          0x4d48dfe4,
                                          0xbd3f,
                                          0x491f,
                                          {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};
constexpr MSAAPROPID kLiveSettingProperty{// UI Automation's LiveSetting
                                          0xc12bcd8e,
                                          0x2a8e,
                                          0x4950,
                                          {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kPolite = 1;  // LiveSetting: announce when the user is idle, without interrupting
constexpr DWORD kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED, Windows 8

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), text.size())));
  return text;
}

// The caption of the label that names the field, without its colon: what a screen reader calls
// the field.
std::wstring FieldName(const FormDescription& description, std::string_view field) {
  for (const ControlDescription& control : description.Controls) {
    if (control.FocusControl != field) continue;
    std::wstring name = Widen(control.Caption);
    if (!name.empty() && name.back() == L':') name.pop_back();
    return name;
  }
  return Widen(field);
}

// Sets one property on a window's client object and remembers the window, so that its
// properties are cleared when the form goes. A failed call leaves nothing to clear.
template <typename Setter>
void Annotate(FormAccessibility& accessibility, HWND window, Setter set) {
  if (accessibility.annotations == nullptr || window == nullptr) return;
  if (SUCCEEDED(set(*accessibility.annotations, window, static_cast<DWORD>(OBJID_CLIENT)))) {
    accessibility.annotated.push_back(window);
  }
}

IAccPropServices* CreateAccPropServices() {
  void* annotations = nullptr;
  if (FAILED(CoCreateInstance(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                              kAccPropServicesInterface, &annotations))) {
    return nullptr;
  }
  return static_cast<IAccPropServices*>(annotations);
}

}  // namespace

IAccPropServices* (*CreateAnnotationServices)() = CreateAccPropServices;

void SetUpAccessibility(TForm& form, const FormDescription& description) {
  FormAccessibility& accessibility = form.Handle().accessibility;
  HWND window = form.Handle().window;
  // The announcer has no size, so it draws nothing; it is disabled, so it takes no input and no
  // focus; yet it is visible, since screen readers pass over hidden objects. It comes last among
  // the controls, after every tab stop.
  accessibility.announcer =
      CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_DISABLED | SS_NOPREFIX, 0, 0, 0,
                      0, window, nullptr, GetModuleHandleW(nullptr), nullptr);
  accessibility.comInitialized = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  accessibility.annotations = CreateAnnotationServices();
  if (accessibility.annotations == nullptr) return;

  Annotate(accessibility, accessibility.announcer,
           [](IAccPropServices& annotations, HWND target, DWORD client) {
             VARIANT polite{};
             polite.vt = VT_I4;
             polite.lVal = kPolite;
             return annotations.SetHwndProp(target, client, CHILDID_SELF, kLiveSettingProperty,
                                            polite);
           });
  // A label that names no field, the hint, describes every field the user types into.
  std::wstring hint;
  for (const ControlDescription& control : description.Controls) {
    if (control.Kind == ControlKind::Label && control.FocusControl.empty())
      hint = Widen(control.Caption);
  }
  if (hint.empty()) return;
  for (const ControlDescription& control : description.Controls) {
    if (control.Kind != ControlKind::Edit || control.ReadOnly) continue;
    Annotate(accessibility, ControlNamed(form, control.Name).Handle().window,
             [&hint](IAccPropServices& annotations, HWND target, DWORD client) {
               return annotations.SetHwndPropStr(target, client, CHILDID_SELF, kDescriptionProperty,
                                                 hint.c_str());
             });
  }
}

void QueueResultsAnnouncement(TForm& form) {
  FormAccessibility& accessibility = form.Handle().accessibility;
  if (accessibility.announcer == nullptr || accessibility.announcementQueued) return;
  // Every result written in one go is announced once, after the last of them.
  accessibility.announcementQueued =
      PostMessageW(form.Handle().window, kAnnounceResults, 0, 0) != FALSE;
}

void AnnounceResults(TForm& form, const FormDescription& description) {
  FormAccessibility& accessibility = form.Handle().accessibility;
  accessibility.announcementQueued = false;
  std::wstring announcement;
  for (const ControlDescription& control : description.Controls) {
    if (control.Kind != ControlKind::Edit || !control.ReadOnly) continue;
    if (!announcement.empty()) announcement += L", ";
    announcement += FieldName(description, control.Name) + L": " +
                    TextOf(ControlNamed(form, control.Name).Handle().window);
  }
  SetWindowTextW(accessibility.announcer, announcement.c_str());
  NotifyWinEvent(kLiveRegionChanged, accessibility.announcer, OBJID_CLIENT, CHILDID_SELF);
}

void ReleaseAccessibility(FormAccessibility& accessibility) {
  if (accessibility.annotations != nullptr) {
    const MSAAPROPID properties[] = {kDescriptionProperty, kLiveSettingProperty};
    for (HWND window : accessibility.annotated) {
      accessibility.annotations->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT),
                                                CHILDID_SELF, properties, 2);
    }
    accessibility.annotations->Release();
  }
  accessibility.annotated.clear();
  accessibility.annotations = nullptr;
  accessibility.announcer = nullptr;  // a child of the form's window, destroyed with it
  if (std::exchange(accessibility.comInitialized, false)) CoUninitialize();
}
