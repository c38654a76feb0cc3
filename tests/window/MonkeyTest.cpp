// Thousands of random actions on the window, as an impatient person might make them. After every
// action the window is open and the result fields hold what the last calculation gave; after every
// calculation they equal ComputeEv of the four input texts at that moment.

#include "WindowFixture.h"
#include "calc/ComputeEv.h"

#include <QClipboard>

#include <cstdlib>
#include <iostream>
#include <random>

namespace {

const char* const kInputs[] = {"MoneyToCallEdit", "WinningsEdit", "KnownCardsEdit", "OutsEdit"};
const char* const kResults[] = {"CallEvEdit", "FoldEvEdit"};
const QString kTypable = QStringLiteral("0123456789012345.,-+eE xyz\u00e9\u00df\u20ac\u4e2d");

class Monkey : public WindowTest {
 protected:
  std::mt19937 random_{Seed()};
  std::string expectedCall_, expectedFold_;

  static unsigned Seed() {
    const char* fromEnvironment = std::getenv("QUARN_MONKEY_SEED");
    const unsigned seed = fromEnvironment ? std::strtoul(fromEnvironment, nullptr, 10) : 20261208u;
    std::cout << "monkey seed: " << seed << " (set QUARN_MONKEY_SEED to replay)\n";
    return seed;
  }
  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

  QWidget* Focus() const {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus : window_;
  }

  // Performs one random action; returns true when it asked for a calculation.
  bool Act() {
    switch (Pick(10)) {
      case 0:
      case 1:
      case 2: {  // type a character wherever the focus is
        const QChar c = kTypable[Pick(kTypable.size())];
        if (c.unicode() < 128) {
          QTest::keyClick(Focus(), c.toLatin1());
          return c == u' ' && Focus() == Button();
        }
        QTest::sendKeyEvent(QTest::Click, Focus(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        return false;
      }
      case 3: {
        const Qt::Key keys[] = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Home,
                                Qt::Key_End,       Qt::Key_Return, Qt::Key_Escape};
        const Qt::Key key = keys[Pick(6)];
        QTest::keyClick(Focus(), key);
        return key == Qt::Key_Return && Focus() == Button();  // Enter presses a focused button
      }
      case 4:
        if (Pick(2) == 0) {
          QTest::keyClick(Focus(), Qt::Key_Tab);
        } else {
          QTest::keyClick(Focus(), Qt::Key_Backtab, Qt::ShiftModifier);
        }
        return false;
      case 5: {  // click any control, labels included
        const QList<QWidget*> controls = window_->findChildren<QWidget*>();
        QWidget* target = controls[Pick(static_cast<int>(controls.size()))];
        QTest::mouseClick(target, Qt::LeftButton);
        return target == Button();
      }
      case 6: {  // paste a long or odd text
        const QString texts[] = {QString(5000, u'9'),        QStringLiteral(" 12.5e1 trailing"),
                                 QString(3000, u' ') + u'4', QStringLiteral("1e999"),
                                 QStringLiteral("-0"),       QStringLiteral("52")};
        QApplication::clipboard()->setText(texts[Pick(6)]);
        QTest::keyClick(Focus(), Qt::Key_V, Qt::ControlModifier);
        return false;
      }
      case 7:  // select all and copy, or cut, in a result field
        QTest::mouseClick(Edit(kResults[Pick(2)]), Qt::LeftButton);
        QTest::keyClick(Focus(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(Focus(), Pick(2) == 0 ? Qt::Key_C : Qt::Key_X, Qt::ControlModifier);
        return false;
      case 8:
        QTest::keyClick(Focus(), Qt::Key_A, Qt::ControlModifier);
        return false;
      default:
        ClickCalculated();
        return true;
    }
  }
};

TEST_F(Monkey, RandomActionsNeverBreakTheWindow) {
  constexpr int kActions = 4000;
  int calculations = 0;
  for (int action = 0; action < kActions; ++action) {
    if (Act()) {
      ++calculations;
      const EvResults expected =
          ComputeEv(Text(kInputs[0]), Text(kInputs[1]), Text(kInputs[3]), Text(kInputs[2]));
      expectedCall_ = expected.CallEv;
      expectedFold_ = expected.FoldEv;
    }
    ASSERT_TRUE(window_->isVisible()) << "action " << action;
    ASSERT_EQ(Text("CallEvEdit"), expectedCall_) << "action " << action;
    ASSERT_EQ(Text("FoldEvEdit"), expectedFold_) << "action " << action;
  }
  std::cout << kActions << " actions, " << calculations << " calculations\n";
  EXPECT_GT(calculations, kActions / 20);
}

}  // namespace
