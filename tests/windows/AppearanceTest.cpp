// The calculator window's look read back from its real controls at the DPI the prefix is set to
// (QUARN_EXPECTED_DPI): the title and captions, every control's font, each label's text and
// background colour as the form gives them when the label is drawn, and the form's background.
// The system colours are set to unusual values first, so that a colour that only happens to
// match the default scheme is caught.

#include "platform/forms/FormBuilding.h"
#include "platform/win32/Native.h"
#include "ui/Unit1.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdlib>
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

class Appearance : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = {GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE)};
    SetSystemColours({kWindowText, kButtonFace});
    ASSERT_EQ(GetSysColor(COLOR_WINDOWTEXT), kWindowText);
    Application->Initialize();
  }
  void TearDown() override { SetSystemColours(saved_); }

  static void SetSystemColours(const std::array<COLORREF, 2>& colours) {
    const INT elements[] = {COLOR_WINDOWTEXT, COLOR_BTNFACE};
    SetSysColors(2, elements, colours.data());
  }

 private:
  std::array<COLORREF, 2> saved_{};
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

}  // namespace
