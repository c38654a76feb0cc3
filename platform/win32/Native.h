#pragma once

// The Win32 backend's side of the seam's opaque handles. Included by the backend only.

#include "platform/forms/Forms.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

struct TControl::Native {
  HWND window = nullptr;  // a child of the form's window, destroyed with it
  TForm* form = nullptr;
  bool result = false;  // a read-only edit: the program writes it, screen readers announce it
};

struct IAccPropServices;

// What the form tells screen readers beyond what the controls say themselves (Accessibility.cpp).
struct FormAccessibility {
  bool waitingForQuery = false;  // set up at the first WM_GETOBJECT to one of the form's windows
  std::vector<HWND> watched;     // controls subclassed to hear that query
  bool comInitialized = false;   // this form's CoInitializeEx succeeded: uninitialise once
  IAccPropServices* annotations = nullptr;  // Dynamic Annotation, where Windows offers it
  std::vector<HWND> annotated;              // windows given properties, cleared on release
  HWND announcer = nullptr;                 // a zero-size static text: its name is the announcement
  bool announcementQueued = false;
};

struct TForm::Native {
  HWND window = nullptr;
  const FormDescription* description = nullptr;
  int dpi = 96;  // the window's monitor's: every figure of the description is scaled by dpi/96
  HWND focus = nullptr;  // the control to focus when the form is activated
  std::vector<HFONT> fonts;
  std::vector<std::pair<HWND, TColor>> textColours;  // labels with a font of their own
  bool highContrast = false;  // a high-contrast theme is on: system colours only, in their pairs
  FormAccessibility accessibility;
};

struct TApplication::Native {
  bool initialized = false;
};

std::wstring Widen(std::string_view utf8);
HFONT CreateFormFont(const FontDescription& font, int dpi);
// Screen readers: the hint as the input fields' description, a live region announcing the
// results once after every calculation, everything cleared again. Failures change nothing else.
// COM and the annotations wait for an assistive client's first query (SetUpOnFirstQuery).
void SetUpAccessibility(TForm& form);
void SetUpOnFirstQuery(TForm& form);
void QueueResultsAnnouncement(TForm& form);
void AnnounceResults(TForm& form, const FormDescription& description);
void ReleaseAccessibility(FormAccessibility& accessibility);
constexpr UINT kAnnounceResults = WM_APP + 1;
// Makes the Dynamic Annotation object a new form uses (nullptr: none); tests put in another.
extern IAccPropServices* (*CreateAnnotationServices)();

// System colours are read when used, so that the window follows a change of the user's scheme.
COLORREF ToColorRef(TColor colour);
HBRUSH BrushOf(TColor colour);
// Whether a high-contrast theme is on (SPI_GETHIGHCONTRAST); tests put in another.
extern bool (*HighContrastIsOn)();
