// The calculator window under Wine at the DPI the prefix is set to (QUARN_EXPECTED_DPI): every
// position, size and font height of the form description scaled by dpi/96, nothing clipped or
// overlapping, and laid out again when Windows reports another DPI.

#include "platform/forms/FormBuilding.h"
#include "platform/win32/Native.h"
#include "ui/Unit1.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

int Scaled(int figure, int dpi) { return MulDiv(figure, dpi, 96); }

RECT ClientRectOf(HWND control, HWND form) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

int FontHeightOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfHeight;
}

SIZE TextSizeOf(HWND control) {
  wchar_t text[256]{};
  const int length = GetWindowTextW(control, text, 256);
  HDC dc = GetDC(control);
  HGDIOBJ previous =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text, length, &size);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return size;
}

// Every control where the description puts it at that DPI, with its font, fitting its text,
// inside the client area and clear of every other control.
void ExpectLaidOutAt(const TForm1& form, int dpi) {
  HWND window = form.Handle().window;
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, Scaled(TFORM1.ClientWidth, dpi));
  EXPECT_EQ(client.bottom, Scaled(TFORM1.ClientHeight, dpi));
  std::vector<std::pair<std::string_view, RECT>> placed;
  for (const ControlDescription& control : TFORM1.Controls) {
    SCOPED_TRACE(std::string(control.Name) + " at " + std::to_string(dpi) + " DPI");
    HWND child = ControlNamed(form, control.Name).Handle().window;
    const RECT rect = ClientRectOf(child, window);
    EXPECT_EQ(rect.left, Scaled(control.Left, dpi));
    EXPECT_EQ(rect.top, Scaled(control.Top, dpi));
    const FontDescription& font = control.Font != nullptr ? *control.Font : TFORM1.Font;
    EXPECT_EQ(FontHeightOf(child), Scaled(font.Height, dpi));
    if (control.Kind == ControlKind::Label) {
      const SIZE text = TextSizeOf(child);
      EXPECT_GE(rect.right - rect.left,
                std::max(text.cx, static_cast<LONG>(Scaled(control.Width, dpi))));
      EXPECT_GE(rect.bottom - rect.top, text.cy);
    } else {
      EXPECT_EQ(rect.right - rect.left, Scaled(control.Width, dpi));
      EXPECT_EQ(rect.bottom - rect.top, Scaled(control.Height, dpi));
    }
    EXPECT_LE(rect.right, client.right);
    EXPECT_LE(rect.bottom, client.bottom);
    for (const auto& [name, other] : placed) {
      RECT overlap{};
      EXPECT_FALSE(IntersectRect(&overlap, &rect, &other)) << "overlaps " << name;
    }
    placed.emplace_back(control.Name, rect);
  }
}

// Handles what the form posted to itself, as the message loop would.
void Settle() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

int ExpectedDpi() {
  const char* expected = std::getenv("QUARN_EXPECTED_DPI");
  return expected != nullptr ? std::atoi(expected) : 96;
}

TEST(DpiLayout, TheFormIsScaledToTheDpiOfItsMonitor) {
  Application->Initialize();
  TForm1 form(Application);
  Settle();
  HDC screen = GetDC(nullptr);
  const int systemDpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(form.Handle().dpi, ExpectedDpi()) << "the system's DPI: " << systemDpi;
  ExpectLaidOutAt(form, ExpectedDpi());
}

TEST(DpiLayout, AnotherDpiLaysTheFormOutAgainWithoutLeakingFonts) {
  Application->Initialize();
  TForm1 form(Application);
  Settle();
  HWND window = form.Handle().window;
  const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  for (const int dpi : {192, 120, ExpectedDpi()}) {
    RECT frame{0, 0, Scaled(TFORM1.ClientWidth, dpi), Scaled(TFORM1.ClientHeight, dpi)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE, 0);
    OffsetRect(&frame, -frame.left, -frame.top);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&frame));
    EXPECT_EQ(form.Handle().dpi, dpi);
    for (const ControlDescription& control : TFORM1.Controls) {
      SCOPED_TRACE(std::string(control.Name) + " at " + std::to_string(dpi) + " DPI");
      const RECT rect = ClientRectOf(ControlNamed(form, control.Name).Handle().window, window);
      EXPECT_EQ(rect.left, Scaled(control.Left, dpi));
      EXPECT_EQ(rect.top, Scaled(control.Top, dpi));
    }
  }
  ExpectLaidOutAt(form, ExpectedDpi());
  EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);
}

}  // namespace
