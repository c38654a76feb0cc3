// The Win32 backend when a control cannot be created: the form's construction fails with an
// Exception and leaves no window behind, nor any of its fonts.

#include "platform/forms/Forms.h"
#include "support/TestForm.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>

namespace {

constexpr std::array kControls{
    ControlDescription{.Kind = ControlKind::Label,
                       .Name = "Caption",
                       .Left = 0,
                       .Top = 0,
                       .Width = 80,
                       .Height = 16,
                       .Caption = "Caption"},
    ControlDescription{.Kind = ControlKind::Edit,
                       .Name = "Field",
                       .Left = 0,
                       .Top = 20,
                       .Width = 80,
                       .Height = 20,
                       .TabOrder = 0},
};
constexpr FormDescription kFailingForm = TestForm("FailingForm", kControls);

class TFailingForm : public TForm {
 public:
  explicit TFailingForm(TComponent* Owner) : TForm(Owner, kFailingForm) {}
  TLabel* Caption = Bind<TLabel>("Caption");
  TEdit* Field = Bind<TEdit>("Field");
  Published published_ = Publish<TFailingForm>({});
};

// Refuses the creation of every EDIT control while installed, as a computer-based-training hook
// may: CreateWindowEx then fails.
LRESULT CALLBACK RefuseEdits(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
    const auto* className = create->lpszClass;
    if (!IS_INTRESOURCE(className) && lstrcmpiW(className, L"Edit") == 0) return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(FormCreation, AControlThatCannotBeCreatedLeavesNothingBehind) {
  Application->Initialize();
  const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseEdits, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  std::string error;
  try {
    TFailingForm form(Application);
  } catch (const Exception& e) {
    error = e.Message();
  }
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(error, "FailingForm: cannot create control Field");
  EXPECT_EQ(FindWindowW(L"QuarnForm", L"FailingForm"), nullptr) << "the form's window survived";
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore) << "fonts leaked";
  MSG message;  // a window left pointing at the freed form would crash here
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  EXPECT_TRUE(Application->Components().empty());

  // The same form builds when nothing refuses.
  TFailingForm form(Application);
  EXPECT_NE(FindWindowW(L"QuarnForm", L"FailingForm"), nullptr);
}

}  // namespace
