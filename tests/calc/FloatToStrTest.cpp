#include "platform/runtime/FloatToStr.h"

#include "CommaLocale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

namespace {

struct RenderCase {
  const char* name;
  double value;
  const char* text;
};

class FloatToStrRenders : public testing::TestWithParam<RenderCase> {};

TEST_P(FloatToStrRenders, Text) { EXPECT_EQ(FloatToStr(GetParam().value), GetParam().text); }

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Values, FloatToStrRenders,
    testing::Values(RenderCase{"Integer", 12, "12"}, RenderCase{"NegativeInteger", -124, "-124"},
                    RenderCase{"FifteenDigits", 9.0 / 47 * 30, "5.74468085106383"},
                    RenderCase{"TrailingZerosDropped", 0.25, "0.25"},
                    RenderCase{"Large", 1e20, "1e+20"}, RenderCase{"Small", 1.5e-7, "1.5e-07"},
                    RenderCase{"FifteenDigitInteger", 123456789012345, "123456789012345"},
                    RenderCase{"SixteenDigitInteger", 1234567890123456, "1.23456789012346e+15"},
                    RenderCase{"Zero", 0.0, "0"}, RenderCase{"NegativeZero", -0.0, "0"}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(NonFinite, FloatToStrRenders,
                         testing::Values(RenderCase{"Infinity", kInf, "INF"},
                                         RenderCase{"NegativeInfinity", -kInf, "-INF"},
                                         RenderCase{"NaN", kNaN, "NAN"},
                                         RenderCase{"NegativeNaN", -kNaN, "NAN"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FloatToStr, RendersExtendedValuesThatAreNoDouble) {
  EXPECT_EQ(FloatToStr(1.0L / 3), "0.333333333333333");
  EXPECT_EQ(FloatToStr(0.1L), "0.1");
  EXPECT_EQ(FloatToStr(-2.0L / 3 * 1e-300L), "-6.66666666666667e-301");
}

TEST(FloatToStr, UsesADotUnderACommaLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  ASSERT_TRUE(UseCommaDecimalCLocale()) << "no German locale: generate de_DE.UTF-8";
  EXPECT_EQ(FloatToStr(-8.5), "-8.5");
  std::setlocale(LC_ALL, previous.c_str());
}

}  // namespace
