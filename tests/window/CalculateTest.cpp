#include "WindowFixture.h"

#include <QClipboard>

namespace {

struct Inputs {
  const char* name;
  const char* moneyToCall;
  const char* winnings;
  const char* knownCards;
  const char* outs;
  const char* callEv;
  const char* foldEv;
};

class CalculateClick : public WindowTest, public testing::WithParamInterface<Inputs> {};

TEST_P(CalculateClick, ShowsBothResultsAndLeavesInputsAlone) {
  const Inputs& in = GetParam();
  TypeInto("MoneyToCallEdit", in.moneyToCall);
  TypeInto("WinningsEdit", in.winnings);
  TypeInto("KnownCardsEdit", in.knownCards);
  TypeInto("OutsEdit", in.outs);
  QWidget* focusBefore = QApplication::focusWidget();
  ClickCalculated();
  EXPECT_EQ(Text("CallEvEdit"), in.callEv);
  EXPECT_EQ(Text("FoldEvEdit"), in.foldEv);
  EXPECT_EQ(Text("MoneyToCallEdit"), in.moneyToCall);
  EXPECT_EQ(Text("WinningsEdit"), in.winnings);
  EXPECT_EQ(Text("KnownCardsEdit"), in.knownCards);
  EXPECT_EQ(Text("OutsEdit"), in.outs);
  // A mouse click on a push button focuses it; the handler itself moves nothing.
  EXPECT_TRUE(QApplication::focusWidget() == focusBefore ||
              QApplication::focusWidget() == Button());
}

INSTANTIATE_TEST_SUITE_P(
    Typed, CalculateClick,
    testing::Values(Inputs{"WorkedExample", "10", "30", "5", "9", "5.74468085106383",
                           "-8.08510638297872"},
                    Inputs{"AllEmpty", "", "", "", "", "0", "0"},
                    Inputs{"CommaCutsTheNumber", "124,56", "0", "0", "0", "0", "-124"},
                    Inputs{"FullDeckKnown", "10", "30", "52", "9", "INF", "INF"},
                    Inputs{"NonAsciiIsJunk",
                           "\u00e9"
                           "10",
                           "30", "5", "9", "5.74468085106383", "0"}),
    [](const auto& info) { return std::string(info.param.name); });

using Calculate = WindowTest;

TEST_F(Calculate, SameInputsTwiceGiveSameTexts) {
  TypeInto("MoneyToCallEdit", "20");
  TypeInto("WinningsEdit", "100");
  TypeInto("KnownCardsEdit", "6");
  TypeInto("OutsEdit", "9");
  ClickCalculated();
  const std::string call = Text("CallEvEdit"), fold = Text("FoldEvEdit");
  ClickCalculated();
  EXPECT_EQ(Text("CallEvEdit"), call);
  EXPECT_EQ(Text("FoldEvEdit"), fold);
  EXPECT_EQ(call, "19.5652173913043");
  EXPECT_EQ(fold, "-16.0869565217391");
}

TEST_F(Calculate, ResultsStayUntilTheNextClick) {
  TypeInto("OutsEdit", "9");
  TypeInto("KnownCardsEdit", "5");
  TypeInto("WinningsEdit", "47");
  ClickCalculated();
  ASSERT_EQ(Text("CallEvEdit"), "9");
  TypeInto("OutsEdit", "4");
  EXPECT_EQ(Text("CallEvEdit"), "9");
  ClickCalculated();
  EXPECT_EQ(Text("CallEvEdit"), "4");
}

TEST_F(Calculate, LongPastedTextHasNoLengthLimit) {
  const QString pasted = QString(40000, u' ') + u'7';
  QApplication::clipboard()->setText(pasted);
  QLineEdit* outs = Edit("OutsEdit");
  QTest::mouseClick(outs, Qt::LeftButton);
  QTest::keyClick(outs, Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(outs->text().size(), pasted.size());
  TypeInto("WinningsEdit", "52");
  ClickCalculated();
  EXPECT_EQ(Text("CallEvEdit"), "7");
}

}  // namespace
