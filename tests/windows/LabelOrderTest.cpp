// The calculator window's controls in z-order, as Windows screen readers and the dialog manager
// read them: each field right after its label, so that the label names it, and the tab stops in
// tab order.

#include "platform/forms/FormBuilding.h"
#include "platform/win32/Native.h"
#include "ui/Unit1.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::wstring TextOf(HWND window) {
  wchar_t text[256]{};
  GetWindowTextW(window, text, 256);
  return text;
}

TEST(LabelOrder, EachFieldFollowsItsLabel) {
  Application->Initialize();
  TForm1 form(Application);
  for (const ControlDescription& label : TFORM1.Controls) {
    if (label.FocusControl.empty()) continue;
    SCOPED_TRACE(std::string(label.FocusControl));
    HWND field = ControlNamed(form, label.FocusControl).Handle().window;
    HWND before = GetWindow(field, GW_HWNDPREV);
    EXPECT_EQ(before, ControlNamed(form, label.Name).Handle().window);
    wchar_t className[16]{};
    GetClassNameW(before, className, 16);
    EXPECT_EQ(lstrcmpiW(className, L"Static"), 0);
    EXPECT_EQ(TextOf(before), std::wstring(label.Caption.begin(), label.Caption.end()));
  }
}

TEST(LabelOrder, TabStopsComeInTabOrder) {
  Application->Initialize();
  TForm1 form(Application);
  std::vector<HWND> stops;
  for (HWND child = GetWindow(form.Handle().window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if ((GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) != 0) stops.push_back(child);
  }
  std::vector<HWND> expected;
  for (const ControlDescription* stop : TabStops(TFORM1)) {
    expected.push_back(ControlNamed(form, stop->Name).Handle().window);
  }
  EXPECT_EQ(stops, expected);
}

}  // namespace
