#pragma once

// The Win32 backend's side of the seam's opaque handles. Included by the backend only.

#include "platform/forms/Forms.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

struct TControl::Native {
  HWND window = nullptr;  // a child of the form's window, destroyed with it
};

struct TForm::Native {
  HWND window = nullptr;
  const FormDescription* description = nullptr;
  int dpi = 96;  // the window's monitor's: every figure of the description is scaled by dpi/96
  HWND focus = nullptr;  // the control to focus when the form is activated
  std::vector<HFONT> fonts;
  std::vector<std::pair<HWND, TColor>> textColours;  // labels with a font of their own
};

struct TApplication::Native {
  bool initialized = false;
};

std::wstring Widen(std::string_view utf8);
HFONT CreateFormFont(const FontDescription& font, int dpi);
// System colours are read when used, so that the window follows a change of the user's scheme.
COLORREF ToColorRef(TColor colour);
HBRUSH BrushOf(TColor colour);
