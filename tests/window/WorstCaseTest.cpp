#include "WindowFixture.h"

#include <QClipboard>
#include <QElapsedTimer>

#include <iostream>

namespace {

using WorstCase = WindowTest;

// 10 MB in every input field: the click completes and reads each number. The time is reported,
// not asserted.
TEST_F(WorstCase, TenMegabytesInEachFieldAndAClick) {
  constexpr int kSize = 10'000'000;
  const QString texts[] = {QString(kSize, u' ') + u'7', u'3' + QString(kSize, u'0'),
                           QStringLiteral("1.") + QString(kSize, u'5'),
                           QStringLiteral("2,") + QString(kSize, u'9')};
  const char* const fields[] = {"MoneyToCallEdit", "WinningsEdit", "KnownCardsEdit", "OutsEdit"};
  QElapsedTimer pasting;
  pasting.start();
  for (int i = 0; i < 4; ++i) {
    QApplication::clipboard()->setText(texts[i]);
    QTest::mouseClick(Edit(fields[i]), Qt::LeftButton);
    QTest::keyClick(Edit(fields[i]), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(Edit(fields[i])->text().size(), texts[i].size()) << fields[i];
  }
  QApplication::processEvents();  // the pasted texts are drawn
  const qint64 pasteMs = pasting.elapsed();
  QElapsedTimer clicking;
  clicking.start();
  form_->Button1Click(form_->Button1);
  const qint64 handlerMs = clicking.restart();
  ClickCalculated();  // the handler again, and the outs field redrawn as it loses the focus
  QApplication::processEvents();
  const qint64 clickMs = clicking.elapsed();
  // 7 to call, 3e10000000 overflows to 0 to win, 1.555... known, 2 outs.
  EXPECT_EQ(Text("CallEvEdit"), "0");
  EXPECT_EQ(Text("FoldEvEdit"), "-6.72246696035242");
  std::cout << "four 10 MB pastes: " << pasteMs << " ms; handler: " << handlerMs
            << " ms; click with redraw: " << clickMs << " ms\n";
}

}  // namespace
