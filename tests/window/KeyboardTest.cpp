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

// Enter and keypad Enter on the focused button press it: at start and after Tab reached it.
TEST_F(Keyboard, EnterOnTheFocusedButtonCalculates) {
  ASSERT_EQ(Focused(), "Button1");
  QTest::keyClick(Button(), Qt::Key_Return);
  EXPECT_EQ(Text("CallEvEdit"), "0");
  TypeInto("MoneyToCallEdit", "10");
  TypeInto("WinningsEdit", "30");
  TypeInto("KnownCardsEdit", "5");
  TypeInto("OutsEdit", "9");
  for (int i = 0; i < 3; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(Focused(), "Button1");
  QTest::keyClick(Button(), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(Text("CallEvEdit"), "5.74468085106383");
  EXPECT_EQ(Text("FoldEvEdit"), "-8.08510638297872");
  EXPECT_EQ(Focused(), "Button1");
}

// Enter and keypad Enter in every input field, with and without earlier results, before and
// after the button had the focus: the results never change.
TEST_F(Keyboard, EnterInAFieldNeverCalculates) {
  const char* const inputs[] = {"MoneyToCallEdit", "WinningsEdit", "KnownCardsEdit", "OutsEdit"};
  const auto pressEnterEverywhere = [&](const char* when) {
    const std::string call = Text("CallEvEdit"), fold = Text("FoldEvEdit");
    for (const char* name : inputs) {
      for (const Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::KeypadModifier}) {
        QTest::mouseClick(Edit(name), Qt::LeftButton);
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
          QTest::keyClick(QApplication::focusWidget(), key, modifiers);
          EXPECT_EQ(Text("CallEvEdit"), call) << when << ", " << name << ", key " << key;
          EXPECT_EQ(Text("FoldEvEdit"), fold) << when << ", " << name << ", key " << key;
        }
      }
    }
  };
  TypeInto("MoneyToCallEdit", "10");
  TypeInto("WinningsEdit", "30");
  TypeInto("KnownCardsEdit", "5");
  TypeInto("OutsEdit", "9");
  pressEnterEverywhere("before any result");
  ASSERT_EQ(Text("CallEvEdit"), "");

  // Tab round to the button and on into the first field, then change an input.
  QTest::keyClick(Edit("OutsEdit"), Qt::Key_Tab);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(Focused(), "Button1");
  QTest::keyClick(Button(), Qt::Key_Tab);
  ASSERT_EQ(Focused(), "MoneyToCallEdit");
  TypeInto("OutsEdit", "4");
  pressEnterEverywhere("after the button was reached by Tab");
  ASSERT_EQ(Text("CallEvEdit"), "");

  ClickCalculated();
  ASSERT_EQ(Text("CallEvEdit"), "2.5531914893617");
  TypeInto("OutsEdit", "9");
  pressEnterEverywhere("after a calculation");
}

}  // namespace
