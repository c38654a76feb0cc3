#include "calc/ComputeEv.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct EvCase {
  const char* name;
  const char* moneyToCall;
  const char* winnings;
  const char* outs;
  const char* knownCards;
  const char* callEv;
  const char* foldEv;
};

class ComputeEvGives : public testing::TestWithParam<EvCase> {};

TEST_P(ComputeEvGives, Texts) {
  const EvCase& c = GetParam();
  const EvResults results = ComputeEv(c.moneyToCall, c.winnings, c.outs, c.knownCards);
  EXPECT_EQ(results.CallEv, c.callEv);
  EXPECT_EQ(results.FoldEv, c.foldEv);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, ComputeEvGives,
                         testing::Values(EvCase{"NineOutsFiveKnown", "10", "30", "9", "5",
                                                "5.74468085106383", "-8.08510638297872"},
                                         EvCase{"NineOutsSixKnown", "20", "100", "9", "6",
                                                "19.5652173913043", "-16.0869565217391"},
                                         EvCase{"AllEmpty", "", "", "", "", "0", "0"},
                                         EvCase{"MoreOutsThanUnseenCards", "5", "10", "60", "2",
                                                "12", "1"}),
                         [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Inputs, ComputeEvGives,
    testing::Values(EvCase{"CommaCutsMoneyToCall", "124,56", "0", "0", "0", "0", "-124"},
                    EvCase{"FractionalOutsStay", "0", "47", "9.5", "5", "9.5", "0"},
                    EvCase{"NegativeMoneyPassesThrough", "-10", "30", "9", "5", "5.74468085106383",
                           "8.08510638297872"},
                    EvCase{"JunkCountsAsZero", "abc", "x", "y", "z", "0", "0"}),
    [](const auto& info) { return std::string(info.param.name); });

// Each intermediate is rounded to double; a wider evaluation gives other last digits here.
INSTANTIATE_TEST_SUITE_P(
    RoundedToDouble, ComputeEvGives,
    testing::Values(EvCase{"CallEvLastDigit", "0", "28", "1", "0", "0.538461538461539", "0"},
                    EvCase{"FoldEvLastDigit", "7", "0", "1", "0", "0", "-6.86538461538461"},
                    // outs / unseen, not outs * (1 / unseen): the two differ here
                    EvCase{"QuotientNotReciprocal", "10", "10", "15", "0", "2.88461538461538",
                           "-7.11538461538462"}),
    [](const auto& info) { return std::string(info.param.name); });

// No guard on the divisor: 52 known cards give non-finite texts and nothing throws.
INSTANTIATE_TEST_SUITE_P(
    FullDeckKnown, ComputeEvGives,
    testing::Values(EvCase{"SomeOuts", "10", "30", "9", "52", "INF", "INF"},
                    EvCase{"NoOuts", "10", "30", "0", "52", "NAN", "NAN"},
                    EvCase{"NegativeWinnings", "10", "-30", "9", "52", "-INF", "INF"},
                    EvCase{"NothingToCall", "0", "30", "9", "52", "INF", "NAN"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Negate, FlipsTheSign) {
  EXPECT_EQ(Negate(10), -10);
  EXPECT_EQ(Negate(-2.5), 2.5);
}

TEST(ComputeEv, SameTextsGiveSameResults) {
  const EvResults first = ComputeEv("10", "30", "9", "5");
  const EvResults second = ComputeEv("10", "30", "9", "5");
  EXPECT_EQ(first.CallEv, second.CallEv);
  EXPECT_EQ(first.FoldEv, second.FoldEv);
}

TEST(ComputeEv, ReadsOutsBeforeKnownCards) {
  // Swapping the last two texts must change the result: outs 9 of 47 unseen vs outs 5 of 43.
  EXPECT_EQ(ComputeEv("10", "30", "9", "5").CallEv, "5.74468085106383");
  EXPECT_EQ(ComputeEv("10", "30", "5", "9").CallEv, "3.48837209302326");
}

}  // namespace
