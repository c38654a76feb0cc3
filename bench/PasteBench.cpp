// The worst case a person can make: 10 MB pasted into each input field, then a click. Reports
// the cost per pasted character, the click against an ordinary one, and the peak memory against
// the window before the pastes. Window offscreen.

#include "platform/qt/Native.h"
#include "ui/Unit1.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QtTest/QTest>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

namespace {

double PeakMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double ClickMs(TForm1& form) {
  QElapsedTimer timer;
  timer.start();
  form.Button1Click(form.Button1);
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Application->Initialize();
  TForm1 form(Application);
  QWidget* window = NativeWindow(form);
  window->show();
  if (!QTest::qWaitForWindowExposed(window)) return 1;
  const char* const fields[] = {"MoneyToCallEdit", "WinningsEdit", "KnownCardsEdit", "OutsEdit"};
  for (const char* field : fields) window->findChild<QLineEdit*>(field)->setText("7");
  ClickMs(form);  // warm
  const double ordinaryClickMs = ClickMs(form);
  const double baseMiB = PeakMiB();

  constexpr int kSize = 10'000'000;
  const QString texts[] = {QString(kSize, u' ') + u'7', u'3' + QString(kSize, u'0'),
                           QStringLiteral("1.") + QString(kSize, u'5'),
                           QStringLiteral("2,") + QString(kSize, u'9')};
  QElapsedTimer pasting;
  pasting.start();
  for (int i = 0; i < 4; ++i) {
    QApplication::clipboard()->setText(texts[i]);
    auto* edit = window->findChild<QLineEdit*>(fields[i]);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);  // over the ordinary text
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    if (edit->text().size() != texts[i].size()) return 1;
  }
  QApplication::processEvents();  // the pasted texts are drawn
  const double pasteNsPerChar = static_cast<double>(pasting.nsecsElapsed()) / (4.0 * kSize);
  const double bigClickMs = ClickMs(form);
  std::printf("four 10 MB pastes: %.0f ns per character (pasting and drawing)\n", pasteNsPerChar);
  std::printf("click on 4 x 10 MB: %.0f ms, %.0fx an ordinary click (%.4f ms)\n", bigClickMs,
              bigClickMs / ordinaryClickMs, ordinaryClickMs);
  std::printf("peak memory: %.0f MiB, %.1fx the window before the pastes (%.0f MiB)\n", PeakMiB(),
              PeakMiB() / baseMiB, baseMiB);
  return 0;
}
