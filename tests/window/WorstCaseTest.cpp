#include "WindowFixture.h"

#include <QClipboard>

namespace {

using WorstCase = WindowTest;

// Pasted texts far beyond a line edit's usual 32,767-character limit arrive whole, and the click
// reads each number. The 10 MB case and its costs are measured in bench/.
TEST_F(WorstCase, LongPastesArriveWholeAndAreRead) {
  constexpr int kSize = 100'000;
  const QString texts[] = {QString(kSize, u' ') + u'7',
                           u'3' + QString(kSize, u'0') + u'e' + u'-' + QString::number(kSize),
                           QStringLiteral("1.") + QString(kSize, u'5'),
                           QStringLiteral("2,") + QString(kSize, u'9')};
  const char* const fields[] = {"MoneyToCallEdit", "WinningsEdit", "KnownCardsEdit", "OutsEdit"};
  for (int i = 0; i < 4; ++i) {
    QApplication::clipboard()->setText(texts[i]);
    QTest::mouseClick(Edit(fields[i]), Qt::LeftButton);
    QTest::keyClick(Edit(fields[i]), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(Edit(fields[i])->text(), texts[i]) << fields[i];
  }
  ClickCalculated();
  // 7 to call, 3 to win (3000...0e-100000), 1.555... known, 2 outs.
  EXPECT_EQ(Text("CallEvEdit"), "0.118942731277533");
  EXPECT_EQ(Text("FoldEvEdit"), "-6.72246696035242");
}

}  // namespace
