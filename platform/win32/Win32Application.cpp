#include "platform/AppIdentity.h"
#include "platform/win32/Native.h"

#include <commctrl.h>

TApplication::TApplication() : TComponent(nullptr), native_(std::make_unique<Native>()) {}

TApplication::~TApplication() { DestroyComponents(); }

void TApplication::Initialize() {
  if (native_->initialized) return;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);  // themed controls, as the manifest asks
  native_->initialized = true;
}

void TApplication::Run() {
  if (!native_->initialized) throw Exception("the application was not initialized");
  if (mainForm_ == nullptr) return;
  HWND window = mainForm_->Handle().window;
  // The first paint comes from the message loop, after the window is on the screen: painting
  // first (UpdateWindow) would load the captions' fonts before the window could be mapped.
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // The dialog manager gives Tab and Shift+Tab their meaning among the controls.
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  DestroyComponents();
  mainForm_ = nullptr;
}

void TApplication::ShowException(const Exception& exception) {
  HWND owner = mainForm_ != nullptr && IsWindowVisible(mainForm_->Handle().window)
                   ? mainForm_->Handle().window
                   : nullptr;
  MessageBoxW(owner, Widen(exception.Message()).c_str(), Widen(APP_NAME).c_str(),
              MB_OK | MB_ICONERROR);
}

namespace {
TApplication theApplication;
}  // namespace

TApplication* Application = &theApplication;
