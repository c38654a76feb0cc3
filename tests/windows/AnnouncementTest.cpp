// The calculator window as a Windows screen reader meets it. A client on its own thread hooks
// WinEvents out of context, as screen readers do, while the window is driven with the keyboard
// and the mouse: every press of the button raises one live-region event whose object is named
// with both results, nothing else does, and the results change in order. Through Microsoft
// Active Accessibility the fields carry their labels' names, their texts and their states. The
// window leaks nothing over many presses and leaves COM as it found it.

#include "platform/forms/FormBuilding.h"
#include "platform/win32/Native.h"
#include "ui/Unit1.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <oleacc.h>
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// IID_IAccessible, declared here: the import library's definition is refused under Wine.
constexpr IID kAccessible{
    0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr DWORD kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED
constexpr wchar_t kAnnouncement[] = L"Call EV: 5.74468085106383, Fold EV: -8.08510638297872";

struct WinEvent {
  DWORD event;
  HWND window;
  std::wstring name;  // of a live region's object, read when the event arrived
};

std::wstring NameOf(IAccessible* object, VARIANT child) {
  BSTR name = nullptr;
  std::wstring result = L"<no name>";
  if (SUCCEEDED(object->get_accName(child, &name)) && name != nullptr) result = name;
  SysFreeString(name);
  return result;
}

// A screen reader's view of the events: a thread of its own with an out-of-context hook.
class WinEventClient {
 public:
  WinEventClient() : thread_([this] { Run(); }) {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [this] { return threadId_ != 0; });
  }
  ~WinEventClient() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  WinEventClient(const WinEventClient&) = delete;
  WinEventClient& operator=(const WinEventClient&) = delete;

  std::vector<WinEvent> Take() {
    std::lock_guard lock(mutex_);
    return std::exchange(events_, {});
  }
  std::size_t Count() {
    std::lock_guard lock(mutex_);
    return events_.size();
  }

 private:
  static void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                               DWORD, DWORD) {
    if (event != EVENT_OBJECT_VALUECHANGE && event != kLiveRegionChanged) return;
    WinEvent seen{event, window, {}};
    if (event == kLiveRegionChanged) {
      IAccessible* accessible = nullptr;
      VARIANT childId{};
      if (SUCCEEDED(AccessibleObjectFromEvent(window, static_cast<DWORD>(object),
                                              static_cast<DWORD>(child), &accessible, &childId))) {
        seen.name = NameOf(accessible, childId);
        accessible->Release();
      } else {
        seen.name = L"<no object>";
      }
    }
    std::lock_guard lock(instance_->mutex_);
    instance_->events_.push_back(std::move(seen));
  }

  void Run() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    instance_ = this;
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_VALUECHANGE, kLiveRegionChanged, nullptr,
                                         OnEvent, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, before it is told
    {
      std::lock_guard lock(mutex_);
      threadId_ = GetCurrentThreadId();
    }
    ready_.notify_all();
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    UnhookWinEvent(hook);
    CoUninitialize();
  }

  static inline WinEventClient* instance_ = nullptr;
  std::mutex mutex_;
  std::condition_variable ready_;
  DWORD threadId_ = 0;
  std::vector<WinEvent> events_;
  std::thread thread_;
};

// The program's message loop for a while: the dialog manager first, as the application runs it.
void Pump(HWND form, int milliseconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageW(form, &message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
    }
    if (milliseconds > 0) Sleep(5);
  } while (std::chrono::steady_clock::now() < end);
}

void Key(WORD key, bool shift = false) {
  std::vector<INPUT> inputs;
  const auto add = [&inputs](WORD vk, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = flags;
    inputs.push_back(input);
  };
  if (shift) add(VK_SHIFT, 0);
  add(key, 0);
  add(key, KEYEVENTF_KEYUP);
  if (shift) add(VK_SHIFT, KEYEVENTF_KEYUP);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void Type(HWND form, const char* digits) {
  for (const char* c = digits; *c != '\0'; ++c) {
    Key(static_cast<WORD>(*c));
    Pump(form, 30);
  }
}

void ClickOn(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  const int x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
  INPUT inputs[3]{};
  for (INPUT& input : inputs) input.type = INPUT_MOUSE;
  inputs[0].mi.dx = MulDiv(x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
  inputs[0].mi.dy = MulDiv(y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(3, inputs, sizeof(INPUT));
}

HWND WindowOf(const TForm& form, std::string_view name) {
  return ControlNamed(form, name).Handle().window;
}

HWND Announcer(const TForm& form) { return form.Handle().accessibility.announcer; }

// The object a screen reader gets for a window, through Microsoft Active Accessibility.
IAccessible* ClientObjectOf(HWND window) {
  IAccessible* accessible = nullptr;
  EXPECT_EQ(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kAccessible,
                                       reinterpret_cast<void**>(&accessible)),
            S_OK);
  return accessible;
}

VARIANT Self() {
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

LONG StateOf(IAccessible* accessible) {
  VARIANT state{};
  EXPECT_EQ(accessible->get_accState(Self(), &state), S_OK);
  return state.lVal;
}

std::vector<WinEvent> LiveRegionEvents(const std::vector<WinEvent>& events) {
  std::vector<WinEvent> live;
  for (const WinEvent& event : events) {
    if (event.event == kLiveRegionChanged) live.push_back(event);
  }
  return live;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

class Announcements : public testing::Test {
 protected:
  void SetUp() override {
    Application->Initialize();
    form_ = std::make_unique<TForm1>(Application);
    window_ = form_->Handle().window;
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    Pump(window_, 300);
  }
  void TearDown() override { form_.reset(); }

  // The events of what was done since the last call, once the window and the client settled:
  // no new event for half a second (a busy machine delivers them late).
  std::vector<WinEvent> Settle() {
    Pump(window_, 400);
    for (int i = 0; i < 60; ++i) {
      const std::size_t seen = client_.Count();
      Pump(window_, 500);
      if (client_.Count() == seen) break;
    }
    return client_.Take();
  }

  void ExpectOneAnnouncement(const char* how) {
    SCOPED_TRACE(how);
    const std::vector<WinEvent> events = Settle();
    const std::vector<WinEvent> live = LiveRegionEvents(events);
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0].window, Announcer(*form_));
    EXPECT_EQ(live[0].name, kAnnouncement);
    EXPECT_EQ(GetFocus(), WindowOf(*form_, "Button1")) << "the focus moved";
    // The results change in the order they are written, Call EV first.
    std::vector<HWND> changed;
    for (const WinEvent& event : events) {
      if (event.event == EVENT_OBJECT_VALUECHANGE) changed.push_back(event.window);
    }
    std::erase_if(changed, [this](HWND window) {
      return window != WindowOf(*form_, "CallEvEdit") && window != WindowOf(*form_, "FoldEvEdit");
    });
    const std::vector<HWND> inOrder{WindowOf(*form_, "CallEvEdit"), WindowOf(*form_, "FoldEvEdit")};
    EXPECT_EQ(changed, inOrder);
  }

  WinEventClient client_;
  std::unique_ptr<TForm1> form_;
  HWND window_ = nullptr;
};

TEST_F(Announcements, EveryPressIsAnnouncedOnceAndNothingElseIs) {
  ASSERT_EQ(GetFocus(), WindowOf(*form_, "Button1")) << "the focus starts on the button";
  for (const char* value : {"10", "30", "5", "9"}) {  // Tab into each field and type
    Key(VK_TAB);
    Pump(window_, 50);
    Type(window_, value);
  }
  Key(VK_RETURN);  // Enter in a field calculates nothing
  EXPECT_TRUE(LiveRegionEvents(Settle()).empty()) << "announced on Tab, typing or Enter in a field";
  ASSERT_EQ(form_->OutsEdit->GetText(), "9");

  for (int i = 0; i < 3; ++i) Key(VK_TAB);  // past both results to the button
  Pump(window_, 100);
  ASSERT_EQ(GetFocus(), WindowOf(*form_, "Button1"));
  Key(VK_SPACE);
  ExpectOneAnnouncement("Space");
  Key(VK_RETURN);
  ExpectOneAnnouncement("Enter");
  ClickOn(WindowOf(*form_, "Button1"));
  ExpectOneAnnouncement("click");

  Key(VK_TAB, true);  // Shift+Tab to Fold EV
  Key(VK_TAB);
  Key(VK_TAB);
  Type(window_, "7");
  EXPECT_TRUE(LiveRegionEvents(Settle()).empty()) << "announced on Tab or typing";
}

// Screen readers read the window through Microsoft Active Accessibility, as oleacc exposes the
// standard controls: the fields by their labels, with their texts and states.
TEST_F(Announcements, FieldsAreNamedByTheirLabelsAndResultsAreReadOnly) {
  SendMessageW(WindowOf(*form_, "MoneyToCallEdit"), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(L"124,56"));
  for (const ControlDescription& label : TFORM1.Controls) {
    if (label.FocusControl.empty()) continue;
    SCOPED_TRACE(std::string(label.FocusControl));
    HWND field = WindowOf(*form_, label.FocusControl);
    IAccessible* accessible = ClientObjectOf(field);
    ASSERT_NE(accessible, nullptr);
    std::wstring name = NameOf(accessible, Self());
    std::wstring caption = Widen(label.Caption);
    for (std::wstring* text : {&name, &caption}) {  // oleacc may drop the label's colon
      if (!text->empty() && text->back() == L':') text->pop_back();
    }
    EXPECT_EQ(Narrow(name), Narrow(caption));
    BSTR value = nullptr;
    ASSERT_EQ(accessible->get_accValue(Self(), &value), S_OK);
    wchar_t text[64]{};
    GetWindowTextW(field, text, 64);
    EXPECT_EQ(Narrow(value != nullptr ? value : L""), Narrow(text));
    SysFreeString(value);
    const LONG state = StateOf(accessible);
    const bool result = label.FocusControl == "CallEvEdit" || label.FocusControl == "FoldEvEdit";
    EXPECT_EQ((state & STATE_SYSTEM_READONLY) != 0, result);
    EXPECT_TRUE(state & STATE_SYSTEM_FOCUSABLE);
    accessible->Release();
  }
}

// The announcing object is there for screen readers only: no size, no tab stop, no focus, yet
// not hidden, since screen readers pass over hidden objects.
TEST_F(Announcements, TheAnnouncerTakesNoPlaceNoFocusAndIsNotHidden) {
  HWND announcer = Announcer(*form_);
  ASSERT_NE(announcer, nullptr);
  EXPECT_EQ(GetParent(announcer), window_);
  RECT rect{};
  GetWindowRect(announcer, &rect);
  EXPECT_TRUE(IsRectEmpty(&rect));
  const LONG style = GetWindowLongW(announcer, GWL_STYLE);
  EXPECT_TRUE(style & WS_VISIBLE);
  EXPECT_FALSE(style & WS_TABSTOP);
  EXPECT_EQ(GetWindow(announcer, GW_HWNDNEXT), nullptr) << "not last among the controls";
  IAccessible* accessible = ClientObjectOf(announcer);
  ASSERT_NE(accessible, nullptr);
  const LONG state = StateOf(accessible);
  EXPECT_FALSE(state & STATE_SYSTEM_FOCUSABLE);
  EXPECT_FALSE(state & STATE_SYSTEM_INVISIBLE);
  accessible->Release();
  // The dialog manager never stops on it.
  HWND stop = WindowOf(*form_, "Button1");
  for (int i = 0; i < 8; ++i) {
    stop = GetNextDlgTabItem(window_, stop, FALSE);
    EXPECT_NE(stop, announcer);
  }
}

BOOL CALLBACK CountWindow(HWND, LPARAM counter) {
  ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

int ChildWindows(HWND window) {
  int count = 0;
  EnumChildWindows(window, CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

struct Resources {
  DWORD gdi, user, handles;
  int children;
  bool operator==(const Resources&) const = default;
};

Resources ResourcesOf(HWND form) {
  Resources resources{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                      GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), 0, ChildWindows(form)};
  GetProcessHandleCount(GetCurrentProcess(), &resources.handles);
  return resources;
}

// Wine counts no GDI or USER objects (GetGuiResources answers 0): there the form's windows and
// the process's handles are counted as well.
TEST_F(Announcements, AThousandPressesLeakNothing) {
  HWND button = WindowOf(*form_, "Button1");
  SendMessageW(button, BM_CLICK, 0, 0);
  Settle();
  const Resources before = ResourcesOf(window_);
  for (int i = 0; i < 1000; ++i) {
    SendMessageW(button, BM_CLICK, 0, 0);
    Pump(window_, 0);
  }
  const std::vector<WinEvent> events = Settle();
  EXPECT_EQ(LiveRegionEvents(events).size(), 1000u);
  const Resources after = ResourcesOf(window_);
  EXPECT_EQ(after, before);
  std::printf(
      "before and after 1000 presses: GDI objects %lu and %lu, USER objects %lu and %lu, "
      "handles %lu and %lu, child windows %d and %d\n",
      static_cast<unsigned long>(before.gdi), static_cast<unsigned long>(after.gdi),
      static_cast<unsigned long>(before.user), static_cast<unsigned long>(after.user),
      static_cast<unsigned long>(before.handles), static_cast<unsigned long>(after.handles),
      before.children, after.children);
}

// What an assistive client sends first: the request for a window's accessible object.
void FirstQuery(HWND window) {
  SendMessageW(window, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
}

// True when this thread had not initialised COM (which is then left as it was).
bool ComUninitialised() {
  const HRESULT fresh = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (SUCCEEDED(fresh)) CoUninitialize();
  return fresh == S_OK;
}

// The form initialises COM for itself when a client first asks, not before, and uninitialises it
// again; where the thread already chose another apartment, it leaves COM alone and works all the
// same.
TEST(AccessibilityCom, TheFormLeavesComAsItFoundIt) {
  Application->Initialize();
  {
    TForm1 form(Application);
    Pump(form.Handle().window, 50);
    EXPECT_TRUE(ComUninitialised()) << "COM initialised before any client asked";
    FirstQuery(form.Handle().window);
    EXPECT_FALSE(ComUninitialised()) << "COM not initialised at the first query";
  }
  EXPECT_TRUE(ComUninitialised()) << "COM was left initialised";

  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  {
    TForm1 form(Application);
    FirstQuery(form.Handle().window);
    SendMessageW(form.Button1->Handle().window, BM_CLICK, 0, 0);
    Pump(form.Handle().window, 50);
    wchar_t announced[128]{};
    GetWindowTextW(form.Handle().accessibility.announcer, announced, 128);
    EXPECT_STREQ(announced, L"Call EV: 0, Fold EV: 0");
  }
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE) << "COM was uninitialised";
  CoUninitialize();
  CoUninitialize();
}

}  // namespace

namespace {

// What this system answers to each call the form makes (printed for the record; under Wine the
// annotation calls may fail, which the other tests show changes nothing).
TEST(AccessibilityCom, CallsAndTheirAnswersOnThisSystem) {
  const CLSID services{
      0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
  const IID servicesInterface{
      0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
  const MSAAPROPID description{
      0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};
  const MSAAPROPID liveSetting{
      0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
  const auto report = [](const char* call, HRESULT result) {
    std::printf("%-52s 0x%08lx\n", call, static_cast<unsigned long>(result));
  };
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  report("CoInitializeEx(COINIT_APARTMENTTHREADED)", com);
  HWND window =
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  IAccPropServices* annotations = nullptr;
  const HRESULT created =
      CoCreateInstance(services, nullptr, CLSCTX_INPROC_SERVER, servicesInterface,
                       reinterpret_cast<void**>(&annotations));
  report("CoCreateInstance(CLSID_AccPropServices)", created);
  if (SUCCEEDED(created)) {
    VARIANT polite{};
    polite.vt = VT_I4;
    polite.lVal = 1;
    report("SetHwndProp(LiveSetting_Property_GUID, Polite)",
           annotations->SetHwndProp(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                    liveSetting, polite));
    report("SetHwndPropStr(PROPID_ACC_DESCRIPTION, hint)",
           annotations->SetHwndPropStr(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                       description, L"hint"));
    const MSAAPROPID both[] = {description, liveSetting};
    report("ClearHwndProps(both)",
           annotations->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, both,
                                       2));
    annotations->Release();
  }
  IAccessible* accessible = nullptr;
  report("AccessibleObjectFromWindow(OBJID_CLIENT, IID_IAccessible)",
         AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kAccessible,
                                    reinterpret_cast<void**>(&accessible)));
  if (accessible != nullptr) accessible->Release();
  NotifyWinEvent(kLiveRegionChanged, window, OBJID_CLIENT, CHILDID_SELF);
  report("NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED) (void)", S_OK);
  DestroyWindow(window);
  if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace

namespace {

// What Wine cannot show, the annotations themselves, recorded by a stand-in for Windows' Dynamic
// Annotation object.
class RecordingAnnotations final : public IAccPropServices {
 public:
  explicit RecordingAnnotations(HRESULT answer) : answer_(answer) {}
  struct Property {
    HWND window;
    GUID property;
    VARIANT_BOOL isText;
    LONG number;
    std::wstring text;
  };
  std::vector<Property> set;
  std::vector<std::pair<HWND, std::vector<GUID>>> cleared;
  LONG references = 1;

  HRESULT WINAPI QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG WINAPI AddRef() override { return static_cast<ULONG>(++references); }
  ULONG WINAPI Release() override { return static_cast<ULONG>(--references); }
  HRESULT WINAPI SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                               AnnoScope) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI SetHwndProp(HWND window, DWORD object, DWORD child, MSAAPROPID property,
                             VARIANT value) override {
    if (object != static_cast<DWORD>(OBJID_CLIENT) || child != CHILDID_SELF) return E_INVALIDARG;
    if (SUCCEEDED(answer_)) set.push_back({window, property, VARIANT_FALSE, value.lVal, {}});
    return answer_;
  }
  HRESULT WINAPI SetHwndPropStr(HWND window, DWORD object, DWORD child, MSAAPROPID property,
                                LPCWSTR text) override {
    if (object != static_cast<DWORD>(OBJID_CLIENT) || child != CHILDID_SELF) return E_INVALIDARG;
    if (SUCCEEDED(answer_)) set.push_back({window, property, VARIANT_TRUE, 0, text});
    return answer_;
  }
  HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                   AnnoScope) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI ClearHwndProps(HWND window, DWORD, DWORD, const MSAAPROPID* properties,
                                int count) override {
    cleared.emplace_back(window, std::vector<GUID>(properties, properties + count));
    return answer_;
  }
  HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
  HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                    AnnoScope) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override {
    return E_NOTIMPL;
  }

 private:
  HRESULT answer_;
};

constexpr GUID kDescription{
    0x4d48dfe4, 0xbd3f, 0x491f, {0xa6, 0x48, 0x49, 0x2d, 0x6f, 0x20, 0xc5, 0x88}};
constexpr GUID kLiveSetting{
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};

RecordingAnnotations* recording = nullptr;

class Annotations : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::exchange(CreateAnnotationServices,
                              [] { return static_cast<IAccPropServices*>(recording); });
    Application->Initialize();
  }
  void TearDown() override {
    CreateAnnotationServices = previous_;
    recording = nullptr;
  }

 private:
  IAccPropServices* (*previous_)() = nullptr;
};

TEST_F(Annotations, HintDescribesTheInputsTheAnnouncerIsPoliteAllClearedAtTheEnd) {
  RecordingAnnotations annotations(S_OK);
  recording = &annotations;
  std::vector<HWND> inputs;
  HWND announcer = nullptr;
  {
    TForm1 form(Application);
    announcer = Announcer(form);
    for (const char* name : {"MoneyToCallEdit", "WinningsEdit", "KnownCardsEdit", "OutsEdit"})
      inputs.push_back(WindowOf(form, name));
    Pump(form.Handle().window, 50);
    EXPECT_TRUE(annotations.set.empty()) << "annotated before any client asked";
    FirstQuery(inputs[2]);
    FirstQuery(inputs[2]);  // the second changes nothing
    ASSERT_EQ(annotations.set.size(), 5u);
    EXPECT_EQ(annotations.set[0].window, announcer);
    EXPECT_TRUE(IsEqualGUID(annotations.set[0].property, kLiveSetting));
    EXPECT_EQ(annotations.set[0].number, 1) << "LiveSetting Polite";
    for (std::size_t i = 0; i < inputs.size(); ++i) {
      const RecordingAnnotations::Property& description = annotations.set[i + 1];
      EXPECT_EQ(description.window, inputs[i]);
      EXPECT_TRUE(IsEqualGUID(description.property, kDescription));
      EXPECT_EQ(Narrow(description.text), "Input a . instead of a comma example:  124.56");
    }
    EXPECT_TRUE(annotations.cleared.empty());
    DestroyWindow(form.Handle().window);  // as when the user closes it
    ASSERT_EQ(annotations.cleared.size(), 5u) << "not cleared when the window was destroyed";
  }
  EXPECT_EQ(annotations.cleared.size(), 5u) << "cleared twice";
  for (const auto& [window, properties] : annotations.cleared) {
    EXPECT_EQ(properties.size(), 2u);
  }
  EXPECT_EQ(annotations.references, 0) << "the annotation object was not released once";
}

// Whichever of the form's windows a client asks first, everything is annotated before it is
// answered.
TEST_F(Annotations, TheFirstQueryToAnyOfTheFormsWindowsAnnotatesAll) {
  for (const char* asked :
       {"", "Label1", "MoneyToCallEdit", "FoldEvEdit", "Button1", "announcer"}) {
    SCOPED_TRACE(asked);
    RecordingAnnotations annotations(S_OK);
    recording = &annotations;
    TForm1 form(Application);
    const std::string_view name = asked;
    FirstQuery(name.empty()          ? form.Handle().window
               : name == "announcer" ? Announcer(form)
                                     : WindowOf(form, name));
    EXPECT_EQ(annotations.set.size(), 5u);
    DestroyWindow(form.Handle().window);
    EXPECT_EQ(annotations.cleared.size(), 5u);
  }
}

TEST_F(Annotations, WhereTheSystemSaysAScreenReaderRunsAllIsAnnotatedAtOnce) {
  RecordingAnnotations annotations(S_OK);
  recording = &annotations;
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETSCREENREADER, TRUE, nullptr, 0));
  { TForm1 form(Application); }
  SystemParametersInfoW(SPI_SETSCREENREADER, FALSE, nullptr, 0);
  EXPECT_EQ(annotations.set.size(), 5u);
  EXPECT_EQ(annotations.cleared.size(), 5u);
}

TEST_F(Annotations, WhereEveryCallFailsTheWindowWorksAsWithout) {
  RecordingAnnotations annotations(E_NOTIMPL);
  recording = &annotations;
  {
    TForm1 form(Application);
    FirstQuery(form.Handle().window);
    SendMessageW(WindowOf(form, "Button1"), BM_CLICK, 0, 0);
    Pump(form.Handle().window, 50);
    EXPECT_EQ(form.CallEvEdit->GetText(), "0");
    wchar_t announced[128]{};
    GetWindowTextW(Announcer(form), announced, 128);
    EXPECT_STREQ(announced, L"Call EV: 0, Fold EV: 0");
  }
  EXPECT_TRUE(annotations.cleared.empty()) << "cleared what was never set";
  EXPECT_EQ(annotations.references, 0);
}

}  // namespace
