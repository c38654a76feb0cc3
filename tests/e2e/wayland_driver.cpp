// The program's own start-up, driven from inside once its window is up: a Wayland compositor
// takes no input from other clients, so the keys and clicks come from the toolkit's test helpers.
// Prints the platform and both results; the exit code is the program's.

#include "app/Startup.h"
#include "platform/qt/Native.h"
#include "ui/Unit1.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <cstdio>

namespace {

void Type(QWidget* window, const char* field, const char* text) {
  auto* edit = window->findChild<QLineEdit*>(field);
  QTest::mouseClick(edit, Qt::LeftButton);
  QTest::keyClicks(edit, QString::fromLatin1(text));
}

void Drive() {
  QWidget* window = NativeWindow(*Form1);
  if (!QTest::qWaitForWindowExposed(window, 20000)) {
    std::puts("the window was never exposed");
    std::fflush(stdout);
    std::_Exit(3);
  }
  Type(window, "MoneyToCallEdit", "10");
  Type(window, "WinningsEdit", "30");
  Type(window, "KnownCardsEdit", "5");
  Type(window, "OutsEdit", "9");
  QTest::mouseClick(window->findChild<QPushButton*>("Button1"), Qt::LeftButton);
  std::printf("platform %s\nCall EV %s\nFold EV %s\n", qPrintable(QGuiApplication::platformName()),
              qPrintable(window->findChild<QLineEdit*>("CallEvEdit")->text()),
              qPrintable(window->findChild<QLineEdit*>("FoldEvEdit")->text()));
  std::fflush(stdout);
  window->close();
}

// Runs as soon as the application object exists; the timer fires once the event loop runs.
void ScheduleDrive() { QTimer::singleShot(0, Drive); }
Q_COREAPP_STARTUP_FUNCTION(ScheduleDrive)

}  // namespace

int main() { return StartApplication(Form1); }
