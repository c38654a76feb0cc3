#include "platform/forms/Contrast.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct RatioCase {
  Rgb a, b;
  double ratio;
};

TEST(Contrast, RatiosOfWcag2) {
  constexpr RatioCase kCases[] = {
      {kPureRed, {0xF0, 0xF0, 0xF0}, 3.5},           {kPureRed, {0, 0, 0}, 5.25},
      {kPureRed, {0x24, 0x24, 0x24}, 3.88},          {kPureRed, {0x31, 0x36, 0x3B}, 3.05},
      {kPureRed, {0x20, 0x20, 0x20}, 4.07},          {{0, 0, 0}, {255, 255, 255}, 21.0},
      {{0x77, 0x77, 0x77}, {0x77, 0x77, 0x77}, 1.0},
  };
  for (const RatioCase& c : kCases) {
    EXPECT_NEAR(ContrastRatio(c.a, c.b), c.ratio, 0.01);
    EXPECT_DOUBLE_EQ(ContrastRatio(c.a, c.b), ContrastRatio(c.b, c.a));
  }
}

// Pure red on light backgrounds; on dark ones the least lightened red that is readable.
TEST(Contrast, HintColourIsPureRedOnLightAndJustReadableOnDark) {
  for (const Rgb light : {Rgb{0xF0, 0xF0, 0xF0}, Rgb{255, 255, 255}, Rgb{0xEF, 0xF0, 0xF1}}) {
    EXPECT_EQ(HintColourOn(light), kPureRed);
  }
  EXPECT_EQ(HintColourOn({0, 0, 0}), kPureRed);  // already 5.25:1
  for (const Rgb dark : {Rgb{0x24, 0x24, 0x24}, Rgb{0x31, 0x36, 0x3B}, Rgb{0x20, 0x20, 0x20},
                         Rgb{0x2D, 0x2D, 0x30}, Rgb{0x55, 0x55, 0x55}}) {
    const Rgb hint = HintColourOn(dark);
    EXPECT_EQ(hint.r, 255);
    EXPECT_EQ(hint.g, hint.b);
    EXPECT_GE(ContrastRatio(hint, dark), kReadableContrast);
    if (hint.g > 0) {
      const auto lessWhite = static_cast<std::uint8_t>(hint.g - 1);
      EXPECT_LT(ContrastRatio({255, lessWhite, lessWhite}, dark), kReadableContrast);
    }
  }
}

}  // namespace
