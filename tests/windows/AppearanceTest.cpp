// The calculator window's look read back from its real controls at the DPI the prefix is set to
// (QUARN_EXPECTED_DPI): the title and captions, every control's font, each label's text and
// background colour as the form gives them when the label is drawn, and the form's background.
// The system colours are set to unusual values first, so that a colour that only happens to
// match the default scheme is caught.

#include "platform/forms/Contrast.h"
#include "platform/forms/FormBuilding.h"
#include "platform/win32/Native.h"
#include "ui/Unit1.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <string>

namespace {

enum class Colour { WindowText, Red };

struct ExpectedControl {
  const char* name;
  const wchar_t* text;
  const wchar_t* face;
  int height;  // at 96 DPI
  bool bold;
  BYTE charset;
  Colour colour;  // labels only
};

constexpr ExpectedControl kControls[] = {
    {"Label6", L"Input a . instead of a comma example:  124.56", L"Arial", -16, true, ANSI_CHARSET,
     Colour::Red},
    {"Label1", L"Money to call:", L"Arial", -13, true, ANSI_CHARSET, Colour::WindowText},
    {"Label2", L"Money to win after your call:", L"Arial", -13, true, ANSI_CHARSET,
     Colour::WindowText},
    {"Label7", L"Amount of known cards:", L"Arial", -13, true, ANSI_CHARSET, Colour::WindowText},
    {"Label3", L"Your outs:", L"Arial", -13, true, ANSI_CHARSET, Colour::WindowText},
    {"Label4", L"Call EV:", L"Arial", -13, true, ANSI_CHARSET, Colour::WindowText},
    {"Label5", L"Fold EV:", L"Arial", -13, true, ANSI_CHARSET, Colour::WindowText},
    {"MoneyToCallEdit", L"", L"Tahoma", -11, false, DEFAULT_CHARSET, {}},
    {"WinningsEdit", L"", L"Tahoma", -11, false, DEFAULT_CHARSET, {}},
    {"KnownCardsEdit", L"", L"Tahoma", -11, false, DEFAULT_CHARSET, {}},
    {"OutsEdit", L"", L"Tahoma", -11, false, DEFAULT_CHARSET, {}},
    {"CallEvEdit", L"", L"Tahoma", -11, false, DEFAULT_CHARSET, {}},
    {"FoldEvEdit", L"", L"Tahoma", -11, false, DEFAULT_CHARSET, {}},
    {"Button1", L"Calculated", L"Tahoma", -11, false, DEFAULT_CHARSET, {}},
};

// Colours no default scheme uses, so that only the system's colour can give them.
constexpr COLORREF kWindowText = RGB(16, 32, 128);
constexpr COLORREF kButtonFace = RGB(200, 180, 150);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kButtonText = RGB(90, 10, 60);

int ExpectedDpi() {
  const char* expected = std::getenv("QUARN_EXPECTED_DPI");
  return expected != nullptr ? std::atoi(expected) : 96;
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), text.size())));
  return text;
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  const auto handle = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  EXPECT_NE(handle, nullptr);
  EXPECT_EQ(GetObjectW(handle, sizeof font, &font), static_cast<int>(sizeof font));
  return font;
}

// A 32x32 picture in memory, drawn into through its DC and read back pixel by pixel.
class MemoryPicture {
 public:
  MemoryPicture() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kSize;
    info.bmiHeader.biHeight = -kSize;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
  }
  ~MemoryPicture() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  MemoryPicture(const MemoryPicture&) = delete;
  MemoryPicture& operator=(const MemoryPicture&) = delete;

  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  static constexpr int kSize = 32;

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

struct LabelColours {
  COLORREF text, background, painted;
};

// What the form gives a label to draw itself with: the DC's text and background colours, and
// the colour its brush paints.
LabelColours ColoursOfLabel(HWND form, HWND label) {
  MemoryPicture picture;
  SetTextColor(picture.dc(), RGB(1, 1, 1));
  SetBkColor(picture.dc(), RGB(2, 2, 2));
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(form, WM_CTLCOLORSTATIC,
                                                           reinterpret_cast<WPARAM>(picture.dc()),
                                                           reinterpret_cast<LPARAM>(label)));
  const RECT all{0, 0, MemoryPicture::kSize, MemoryPicture::kSize};
  FillRect(picture.dc(), &all, brush);
  return {GetTextColor(picture.dc()), GetBkColor(picture.dc()), picture.At(5, 5)};
}

// The colour the form erases its background with.
COLORREF FormBackground(HWND form) {
  MemoryPicture picture;
  const RECT all{0, 0, MemoryPicture::kSize, MemoryPicture::kSize};
  FillRect(picture.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SendMessageW(form, WM_ERASEBKGND, reinterpret_cast<WPARAM>(picture.dc()), 0);
  return picture.At(MemoryPicture::kSize / 2, MemoryPicture::kSize / 2);
}

// The system colours of a test, set for the whole Wine session: each test restores them.
class Appearance : public testing::Test {
 protected:
  void SetUp() override {
    for (std::size_t i = 0; i < kElements.size(); ++i) saved_[i] = GetSysColor(kElements[i]);
    SetSystemColours({kWindowText, kButtonFace, kButtonText});
    ASSERT_EQ(GetSysColor(COLOR_WINDOWTEXT), kWindowText);
    Application->Initialize();
  }
  void TearDown() override {
    SetSystemColours(saved_);
    HighContrastIsOn = savedHighContrast_;
  }

  static void SetSystemColours(const std::array<COLORREF, 3>& colours) {
    SetSysColors(static_cast<int>(kElements.size()), kElements.data(), colours.data());
  }
  static constexpr std::array<INT, 3> kElements{COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT};

 private:
  std::array<COLORREF, 3> saved_{};
  bool (*savedHighContrast_)() = HighContrastIsOn;
};

TEST_F(Appearance, TitleCaptionsAndFontsAtTheDpi) {
  const int dpi = ExpectedDpi();
  TForm1 form(Application);
  EXPECT_EQ(TextOf(form.Handle().window), L"Quarn EV calculator");
  for (const ExpectedControl& expected : kControls) {
    SCOPED_TRACE(std::string(expected.name) + " at " + std::to_string(dpi) + " DPI");
    HWND control = ControlNamed(form, expected.name).Handle().window;
    EXPECT_EQ(TextOf(control), expected.text);
    const LOGFONTW font = FontOf(control);
    EXPECT_STREQ(font.lfFaceName, expected.face);
    EXPECT_EQ(font.lfHeight, MulDiv(expected.height, dpi, 96));
    EXPECT_EQ(font.lfWeight, expected.bold ? FW_BOLD : FW_NORMAL);
    EXPECT_EQ(font.lfCharSet, expected.charset);
    EXPECT_FALSE(font.lfItalic);
    EXPECT_FALSE(font.lfUnderline);
    EXPECT_FALSE(font.lfStrikeOut);
  }
}

TEST_F(Appearance, HintIsRedCaptionsAreWindowTextAllOnButtonFace) {
  TForm1 form(Application);
  HWND window = form.Handle().window;
  EXPECT_EQ(FormBackground(window), kButtonFace);
  for (const ExpectedControl& expected : kControls) {
    if (std::string_view(expected.name).starts_with("Label")) {
      SCOPED_TRACE(expected.name);
      const LabelColours colours =
          ColoursOfLabel(window, ControlNamed(form, expected.name).Handle().window);
      EXPECT_EQ(colours.text, expected.colour == Colour::Red ? kRed : kWindowText);
      EXPECT_EQ(colours.background, kButtonFace);
      EXPECT_EQ(colours.painted, kButtonFace);
    }
  }
}

// The colour most of a control's pixels on the screen have, other than the background's.
COLORREF InkOf(HWND control, COLORREF background) {
  RECT area{};
  GetClientRect(control, &area);
  HDC shown = GetDC(control);
  std::map<COLORREF, int> ink;
  for (int y = 0; y < area.bottom; ++y) {
    for (int x = 0; x < area.right; ++x) ++ink[GetPixel(shown, x, y)];
  }
  ReleaseDC(control, shown);
  ink.erase(background);
  if (ink.empty()) return CLR_INVALID;
  return std::ranges::max_element(ink, {}, &std::pair<const COLORREF, int>::second)->first;
}

// What the shown window looks like after the user's colours change while it is open: the new
// face and a hint readable on it; in a high-contrast theme the hint in the button text colour.
// Every control hears of the change.
TEST_F(Appearance, ShownWindowFollowsSystemColoursAndHighContrast) {
  TForm1 form(Application);
  HWND window = form.Handle().window;
  HWND button = ControlNamed(form, "Button1").Handle().window;
  HWND hint = ControlNamed(form, "Label6").Handle().window;
  static int heard = 0;
  static WNDPROC buttonProc = nullptr;
  buttonProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      button, GWLP_WNDPROC,
      reinterpret_cast<LONG_PTR>(+[](HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_SYSCOLORCHANGE) ++heard;
        return CallWindowProcW(buttonProc, w, message, wParam, lParam);
      })));
  ShowWindow(window, SW_SHOWNORMAL);
  const auto repainted = [window] {
    UpdateWindow(window);
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
      DispatchMessageW(&message);
    }
  };
  constexpr COLORREF kDarkFace = RGB(0x20, 0x20, 0x20);
  SetSystemColours({RGB(0xEF, 0xF0, 0xF1), kDarkFace, kButtonText});
  for (int i = 0; i < 100 && heard == 0; ++i, Sleep(20)) repainted();
  EXPECT_GT(heard, 0) << "Button1 did not hear WM_SYSCOLORCHANGE";
  repainted();
  HDC shown = GetDC(window);
  EXPECT_EQ(GetPixel(shown, 2, 2), kDarkFace);
  ReleaseDC(window, shown);
  const Rgb readable = HintColourOn({0x20, 0x20, 0x20});
  EXPECT_EQ(InkOf(hint, kDarkFace), RGB(readable.r, readable.g, readable.b));
  EXPECT_GE(ContrastRatio(readable, {0x20, 0x20, 0x20}), kReadableContrast);

  // Wine cannot switch high contrast on: the query is forced, and Windows' broadcast sent.
  HighContrastIsOn = [] { return true; };
  SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  repainted();
  EXPECT_EQ(InkOf(hint, kDarkFace), kButtonText);
}

}  // namespace
