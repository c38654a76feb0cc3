#include "app/Startup.h"
#include "platform/qt/Native.h"
#include "support/TestForm.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

constexpr std::array kOneEdit{ControlDescription{.Kind = ControlKind::Edit,
                                                 .Name = "Field",
                                                 .Left = 0,
                                                 .Top = 0,
                                                 .Width = 80,
                                                 .Height = 20,
                                                 .TabOrder = 0}};
constexpr FormDescription kTinyForm = TestForm("TinyForm", kOneEdit);

// What the running application showed: the first error dialog's text, and whether any other
// window appeared.
struct Observed {
  std::optional<std::string> dialogText;
  std::string dialogTitle;
  bool windowShown = false;
};
Observed observed;

class ShowWatcher : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() == QEvent::Show && widget != nullptr && widget->isWindow() &&
        qobject_cast<QMessageBox*>(widget) == nullptr) {
      observed.windowShown = true;
    }
    return false;
  }
};

// Runs inside the form's construction, once the application exists.
bool Observe() {  // what it creates goes with the application
  auto* watcher = new ShowWatcher;
  watcher->setParent(qApp);
  qApp->installEventFilter(watcher);
  auto* poll = new QTimer(qApp);
  QObject::connect(poll, &QTimer::timeout, [poll] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    observed.dialogText = box->text().toStdString();
    observed.dialogTitle = box->windowTitle().toStdString();
    poll->stop();
    box->close();
  });
  poll->start(20);
  return true;
}

// Its description holds a control it has no field for.
class TUnboundForm : public TForm {
 public:
  explicit TUnboundForm(TComponent* Owner) : TForm(Owner, kTinyForm) {}
  bool observing = Observe();
  Published published_ = Publish<TUnboundForm>({});
};

// Fails with something that is not an Exception.
class TThrowingForm : public TForm {
 public:
  explicit TThrowingForm(TComponent* Owner) : TForm(Owner, kTinyForm) { throw 42; }
  bool observing = Observe();
  TEdit* Field = Bind<TEdit>("Field");
};

// Closes itself once shown, as a user would.
class TClosingForm : public TForm {
 public:
  explicit TClosingForm(TComponent* Owner) : TForm(Owner, kTinyForm) {
    QTimer::singleShot(100, [this] { NativeWindow(*this)->close(); });
  }
  bool observing = Observe();
  TEdit* Field = Bind<TEdit>("Field");
  Published published_ = Publish<TClosingForm>({});
};

// Each test starts with nothing observed, also when the tests share one process.
class Startup : public testing::Test {
 protected:
  void SetUp() override { observed = {}; }
};

TEST_F(Startup, FailedFormCreationShowsTheErrorAndExitsWithOne) {
  TUnboundForm* form = nullptr;
  EXPECT_EQ(StartApplication(form), 1);
  EXPECT_EQ(observed.dialogText, "TinyForm: control \"Field\" has no field");
  EXPECT_EQ(observed.dialogTitle, "Quarn EV calculator");
  EXPECT_FALSE(observed.windowShown);
  EXPECT_EQ(form, nullptr);
}

TEST_F(Startup, ForeignErrorShowsAnEmptyDialogAndExitsWithOne) {
  TThrowingForm* form = nullptr;
  EXPECT_EQ(StartApplication(form), 1);
  EXPECT_EQ(observed.dialogText, "");
  EXPECT_FALSE(observed.windowShown);
}

TEST_F(Startup, ClosingTheMainFormExitsWithZero) {
  TClosingForm* form = nullptr;
  EXPECT_EQ(StartApplication(form), 0);
  EXPECT_TRUE(observed.windowShown);
  EXPECT_EQ(observed.dialogText, std::nullopt);
}

}  // namespace
