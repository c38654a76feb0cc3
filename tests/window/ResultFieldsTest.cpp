#include "WindowFixture.h"

#include <QClipboard>

namespace {

class ResultField : public WindowTest, public testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    TypeInto("MoneyToCallEdit", "10");
    TypeInto("WinningsEdit", "30");
    TypeInto("KnownCardsEdit", "5");
    TypeInto("OutsEdit", "9");
    ClickCalculated();
    before_ = Text(GetParam());
    ASSERT_FALSE(before_.empty());
  }
  std::string before_;
};

TEST_P(ResultField, IgnoresTypedKeys) {
  QLineEdit* field = Edit(GetParam());
  QTest::mouseClick(field, Qt::LeftButton);
  QTest::keyClicks(field, "123abc");
  QTest::keyClick(field, Qt::Key_Backspace);
  QTest::keyClick(field, Qt::Key_Delete);
  QTest::keyClick(field, Qt::Key_X, Qt::ControlModifier);  // cut
  EXPECT_EQ(Text(GetParam()), before_);
}

TEST_P(ResultField, IgnoresPaste) {
  QApplication::clipboard()->setText("999");
  QLineEdit* field = Edit(GetParam());
  QTest::mouseClick(field, Qt::LeftButton);
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(GetParam()), before_);
}

TEST_P(ResultField, SelectAllAndCopyPutsTheResultOnTheClipboard) {
  QApplication::clipboard()->clear();
  QLineEdit* field = Edit(GetParam());
  QTest::mouseClick(field, Qt::LeftButton);
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().toStdString(), before_);
}

INSTANTIATE_TEST_SUITE_P(Both, ResultField, testing::Values("CallEvEdit", "FoldEvEdit"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
