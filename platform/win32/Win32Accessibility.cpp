// What Windows screen readers learn beyond the controls' own names and states, through Microsoft
// Active Accessibility's Dynamic Annotation: the hint as the description of each input field,
// and the results announced in a polite live region after every calculation. Windows 8 and later
// act on the live region; on older versions and where annotation is missing (Wine answers
// E_NOTIMPL) every call may fail, and the window then works exactly as without it.
//
// Only screen readers need any of it, so COM and the annotation object wait for the first
// WM_GETOBJECT to any of the form's windows (an assistive client asking for an accessible object),
// unless the system says a screen reader runs. They are set up before that query is answered.

#include "platform/forms/FormBuilding.h"
#include "platform/win32/Native.h"

#include <commctrl.h>
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

// COM's entry points, from ole32 loaded at first use: a program nobody reads aloud never loads it.
struct ComFunctions {
  HRESULT(WINAPI* initialize)(void*, DWORD) = nullptr;
  HRESULT(WINAPI* create)(REFCLSID, IUnknown*, DWORD, REFIID, void**) = nullptr;
  void(WINAPI* uninitialize)() = nullptr;
};

template <typename Function>
void Find(HMODULE module, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

const ComFunctions& Com() {
  static const ComFunctions com = [] {
    ComFunctions found;
    if (HMODULE ole32 = LoadLibraryW(L"ole32.dll")) {  // stays loaded: COM may outlive the form
      Find(ole32, "CoInitializeEx", found.initialize);
      Find(ole32, "CoCreateInstance", found.create);
      Find(ole32, "CoUninitialize", found.uninitialize);
    }
    if (found.initialize == nullptr || found.create == nullptr || found.uninitialize == nullptr)
      return ComFunctions{};
    return found;
  }();
  return com;
}

IAccPropServices* CreateAccPropServices() {
  void* annotations = nullptr;
  if (Com().create == nullptr ||
      FAILED(Com().create(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                          kAccPropServicesInterface, &annotations))) {
    return nullptr;
  }
  return static_cast<IAccPropServices*>(annotations);
}

constexpr UINT_PTR kQueryWatch = 1;  // the id of the subclass that waits for the first query

LRESULT CALLBACK WatchForQuery(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR form) {
  if (message == WM_GETOBJECT) SetUpOnFirstQuery(*reinterpret_cast<TForm*>(form));
  return DefSubclassProc(window, message, wParam, lParam);
}

void StopWatching(FormAccessibility& accessibility) {
  for (HWND window : accessibility.watched)
    RemoveWindowSubclass(window, WatchForQuery, kQueryWatch);
  accessibility.watched.clear();
  accessibility.waitingForQuery = false;
}

void AnnotateForm(TForm& form, const FormDescription& description) {
  FormAccessibility& accessibility = form.Handle().accessibility;
  accessibility.comInitialized =
      Com().initialize != nullptr && SUCCEEDED(Com().initialize(nullptr, COINIT_APARTMENTTHREADED));
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

}  // namespace

IAccPropServices* (*CreateAnnotationServices)() = CreateAccPropServices;

void SetUpAccessibility(TForm& form) {
  TForm::Native& native = form.Handle();
  FormAccessibility& accessibility = native.accessibility;
  // The announcer has no size, so it draws nothing; it is disabled, so it takes no input and no
  // focus; yet it is visible, since screen readers pass over hidden objects. It comes last among
  // the controls, after every tab stop.
  accessibility.announcer =
      CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_DISABLED | SS_NOPREFIX, 0, 0, 0,
                      0, native.window, nullptr, GetModuleHandleW(nullptr), nullptr);
  BOOL screenReader = FALSE;
  if (SystemParametersInfoW(SPI_GETSCREENREADER, 0, &screenReader, 0) && screenReader) {
    AnnotateForm(form, *native.description);
    return;
  }
  // The form's own window hears WM_GETOBJECT in its window procedure; its controls are watched.
  accessibility.waitingForQuery = true;
  for (HWND child = GetWindow(native.window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (SetWindowSubclass(child, WatchForQuery, kQueryWatch, reinterpret_cast<DWORD_PTR>(&form)))
      accessibility.watched.push_back(child);
  }
}

void SetUpOnFirstQuery(TForm& form) {
  FormAccessibility& accessibility = form.Handle().accessibility;
  if (!accessibility.waitingForQuery) return;
  StopWatching(accessibility);
  AnnotateForm(form, *form.Handle().description);
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
  StopWatching(accessibility);
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
  if (std::exchange(accessibility.comInitialized, false)) Com().uninitialize();
}
