#include "WindowFixture.h"

#include <vector>

namespace {

using Keyboard = WindowTest;

const std::vector<const char*> kTabOrder = {"Button1",        "MoneyToCallEdit", "WinningsEdit",
                                            "KnownCardsEdit", "OutsEdit",        "CallEvEdit",
                                            "FoldEvEdit"};

std::string Focused() {
  QWidget* focus = QApplication::focusWidget();
  return focus == nullptr ? "(none)" : focus->objectName().toStdString();
}

TEST_F(Keyboard, FocusStartsOnTheButton) { EXPECT_EQ(Focused(), "Button1"); }

TEST_F(Keyboard, TabWalksTheFieldsInOrderAndWraps) {
  for (std::size_t i = 1; i <= kTabOrder.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(Focused(), kTabOrder[i % kTabOrder.size()]) << "after " << i << " Tab";
  }
}

TEST_F(Keyboard, ShiftTabWalksBack) {
  for (std::size_t i = 1; i <= kTabOrder.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), kTabOrder[(kTabOrder.size() - i) % kTabOrder.size()])
        << "after " << i << " Shift+Tab";
  }
}

TEST_F(Keyboard, TypingAndTabbingThenSpaceCalculates) {
  QWidget* focus = QApplication::focusWidget();
  for (const char* text : {"10", "30", "5", "9"}) {
    QTest::keyClick(focus, Qt::Key_Tab);
    focus = QApplication::focusWidget();
    QTest::keyClicks(focus, text);
  }
  for (int i = 0; i < 3; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(Focused(), "Button1");
  QTest::keyClick(Button(), Qt::Key_Space);
  EXPECT_EQ(Text("CallEvEdit"), "5.74468085106383");
  EXPECT_EQ(Text("FoldEvEdit"), "-8.08510638297872");
  EXPECT_EQ(Focused(), "Button1");
}

TEST_F(Keyboard, EnterInAFieldDoesNotCalculate) {
  TypeInto("OutsEdit", "9");
  for (const char* name : {"MoneyToCallEdit", "WinningsEdit", "KnownCardsEdit", "OutsEdit"}) {
    QTest::keyClick(Edit(name), Qt::Key_Return);
    QTest::keyClick(Edit(name), Qt::Key_Enter);
  }
  EXPECT_EQ(Text("CallEvEdit"), "");
  EXPECT_EQ(Text("FoldEvEdit"), "");
}

}  // namespace
