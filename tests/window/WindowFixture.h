#pragma once

// Headless window fixture: a fresh calculator window per test, shown and exposed, with a
// watchdog that fails the test instead of hanging when an unexpected modal dialog appears.

#include "platform/qt/Native.h"
#include "ui/Unit1.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <functional>
#include <string>

// Closes the next modal dialog once it appears, after handing it to `inspect`.
inline void DismissNextDialog(std::function<void(QWidget&)> inspect) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, inspect = std::move(inspect)] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) return;
    poll->stop();
    poll->deleteLater();
    inspect(*dialog);
    dialog->close();
  });
  poll->start(20);
}

class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    form_ = new TForm1(Application);
    window_ = NativeWindow(*form_);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_));
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_));
    watchdog_.setInterval(50);
    QObject::connect(&watchdog_, &QTimer::timeout, [] {
      if (QWidget* dialog = QApplication::activeModalWidget()) {
        ADD_FAILURE() << "unexpected dialog: " << dialog->objectName().toStdString();
        dialog->close();
      }
    });
    watchdog_.start();
  }

  void TearDown() override {
    watchdog_.stop();
    delete form_;
  }

  QLineEdit* Edit(const char* name) const {
    auto* edit = window_->findChild<QLineEdit*>(name);
    EXPECT_NE(edit, nullptr) << name;
    return edit;
  }
  QPushButton* Button() const { return window_->findChild<QPushButton*>("Button1"); }

  // Types into a field as a person would: click into it, select all, type over.
  void TypeInto(const char* name, const QString& text) const {
    QLineEdit* edit = Edit(name);
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar c : text) {
      if (c.unicode() < 128) {
        QTest::keyClick(edit, c.toLatin1());
      } else {  // keys with no ASCII name arrive as text only
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
      }
    }
  }

  void ClickCalculated() const { QTest::mouseClick(Button(), Qt::LeftButton); }

  std::string Text(const char* name) const { return Edit(name)->text().toStdString(); }

  TForm1* form_ = nullptr;
  QWidget* window_ = nullptr;
  QTimer watchdog_;
};
