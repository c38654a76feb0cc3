// The yardstick for the Windows program's start-up: the least a Win32 program with the same
// window needs, a frame of the same client size holding seven labels, six EDIT controls and a
// button in the dialog font, and a message loop. Closes on WM_CLOSE.

#include <windows.h>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND Child(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style, int x, int y,
           int width, int height) {
  HWND child = CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                               height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
               FALSE);
  return child;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"MinimalWindow";
  RegisterClassW(&windowClass);
  constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
  RECT frame{0, 0, 375, 342};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  HWND window = CreateWindowExW(0, L"MinimalWindow", L"Minimal window", kStyle, 0, 0,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                nullptr, instance, nullptr);
  Child(window, L"STATIC", L"Input a . instead of a comma", SS_LEFT, 8, 8, 343, 19);
  for (int row = 0; row < 6; ++row) {
    Child(window, L"STATIC", L"Caption:", SS_LEFT, 8, 65 + 32 * row, 181, 16);
    Child(window, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, 195, 64 + 32 * row, 137, 21);
  }
  Child(window, L"BUTTON", L"Button", WS_TABSTOP | BS_PUSHBUTTON, 195, 296, 75, 25);
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageW(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return 0;
}
