#include "calc/TextToDouble.h"

#include "CommaLocale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>

namespace {

using namespace std::string_literals;

struct ReadCase {
  const char* name;
  std::string text;
  double value;
};

class TextToDoubleReads : public testing::TestWithParam<ReadCase> {};

TEST_P(TextToDoubleReads, Value) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(TextToDouble(c.text), c.value) << "text: \"" << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(NothingReadable, TextToDoubleReads,
                         testing::Values(ReadCase{"Empty", "", 0}, ReadCase{"Blanks", "   ", 0},
                                         ReadCase{"Letters", "abc", 0},
                                         ReadCase{"LoneMinus", "-", 0},
                                         ReadCase{"LonePlus", "+", 0}, ReadCase{"LoneDot", ".", 0},
                                         ReadCase{"LeadingComma", ",5", 0},
                                         ReadCase{"NulFirst",
                                                  "\0"
                                                  "7"s,
                                                  0}),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Numbers, TextToDoubleReads,
    testing::Values(ReadCase{"Decimal", "124.56", 124.56}, ReadCase{"LeadingBlank", " 7", 7},
                    ReadCase{"LeadingTabAndNewline", "\t\n7", 7}, ReadCase{"PlusSign", "+3", 3},
                    ReadCase{"Negative", "-2.5", -2.5}, ReadCase{"NoIntegerPart", ".5", 0.5},
                    ReadCase{"TrailingDot", "5.", 5}, ReadCase{"Exponent", "1e3", 1000},
                    ReadCase{"UpperExponentNegative", "2.5E-1", 0.25},
                    ReadCase{"LeadingZeros", "007", 7}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(StopsAtFirstForeignCharacter, TextToDoubleReads,
                         testing::Values(ReadCase{"Comma", "124,56", 124},
                                         ReadCase{"SecondDot", "1.2.3", 1.2},
                                         ReadCase{"Letters", "12abc", 12},
                                         ReadCase{"BlankThenMore", "9 outs", 9},
                                         ReadCase{"TextAfterNul",
                                                  "12\0"
                                                  "34"s,
                                                  12},
                                         ReadCase{"NumberAfterNul",
                                                  "5\0"
                                                  "1e3"s,
                                                  5}),
                         [](const auto& info) { return std::string(info.param.name); });

// An 'e' commits the reader to an exponent: with no digit after it the whole number is
// unreadable, while a complete exponent is read and whatever follows it is not.
INSTANTIATE_TEST_SUITE_P(Exponents, TextToDoubleReads,
                         testing::Values(ReadCase{"NoDigitsAfterE", "9e", 0},
                                         ReadCase{"FractionNoDigitsAfterE", "1.5e", 0},
                                         ReadCase{"SignNoDigitsAfterE", "5e+", 0},
                                         ReadCase{"UpperE", "3E", 0},
                                         ReadCase{"LetterAfterE", "4ex", 0},
                                         ReadCase{"TextAfterExponent", "12e3x", 12000},
                                         ReadCase{"SecondExponent", "2e1e1", 20}),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    OutOfRange, TextToDoubleReads,
    testing::Values(ReadCase{"Overflow", "1e999", 0}, ReadCase{"NegativeOverflow", "-1e999", 0},
                    ReadCase{"LargestDouble", "1.7976931348623157e308", 1.7976931348623157e308}),
    [](const auto& info) { return std::string(info.param.name); });

// A comma-decimal locale with digit grouping, as a user's regional settings might install.
struct CommaDecimal : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

class TextToDoubleUnderCommaLocale : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    previousC_ = std::setlocale(LC_ALL, nullptr);
    ASSERT_TRUE(UseCommaDecimalCLocale()) << "no German locale: generate de_DE.UTF-8";
  }
  void TearDown() override {
    std::locale::global(previous_);
    std::setlocale(LC_ALL, previousC_.c_str());
  }

 private:
  std::locale previous_;
  std::string previousC_;
};

TEST_F(TextToDoubleUnderCommaLocale, StillReadsTheDotAndStopsAtTheComma) {
  EXPECT_EQ(TextToDouble("124.56"), 124.56);
  EXPECT_EQ(TextToDouble("124,56"), 124);
  EXPECT_EQ(TextToDouble("1.234,5"), 1.234);
}

TEST(TextToDouble, KeepsNoStateBetweenCalls) {
  EXPECT_EQ(TextToDouble("1e999"), 0);
  EXPECT_EQ(TextToDouble("3"), 3);
  EXPECT_EQ(TextToDouble("abc"), 0);
  EXPECT_EQ(TextToDouble("3"), 3);
}

TEST(TextToDouble, ReadsPastVeryLongLeadingWhiteSpace) {
  EXPECT_EQ(TextToDouble(std::string(40000, ' ') + "7"), 7);
}

}  // namespace
