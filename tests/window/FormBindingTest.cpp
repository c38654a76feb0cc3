#include "WindowFixture.h"
#include "support/TestForm.h"

#include <QDir>
#include <QLabel>
#include <QMessageBox>

#include <array>

namespace {

constexpr std::array kTwoControls{
    ControlDescription{.Kind = ControlKind::Edit,
                       .Name = "Field",
                       .Left = 0,
                       .Top = 0,
                       .Width = 50,
                       .Height = 20,
                       .TabOrder = 1},
    ControlDescription{.Kind = ControlKind::Button,
                       .Name = "Go",
                       .Left = 0,
                       .Top = 30,
                       .Width = 50,
                       .Height = 20,
                       .Caption = "Go",
                       .TabOrder = 0,
                       .OnClick = "GoClick"},
};

constexpr FormDescription kSmallForm = TestForm("SmallForm", kTwoControls);

// The same form placed away from the corner where a window lands by default.
constexpr FormDescription kPlacedForm = [] {
  FormDescription placed = TestForm("PlacedForm", kTwoControls);
  placed.Left = 40;
  placed.Top = 30;
  return placed;
}();

class TPlacedForm : public TForm {
 public:
  explicit TPlacedForm(TComponent* Owner) : TForm(Owner, kPlacedForm) {}
  TEdit* Field = Bind<TEdit>("Field");
  TButton* Go = Bind<TButton>("Go");
  void GoClick(TObject*) {}

 private:
  Published published_ = Publish<TPlacedForm>({{"GoClick", &TPlacedForm::GoClick}});
};

// A form whose handler raises the error it is told to.
class TRaisingForm : public TForm {
 public:
  explicit TRaisingForm(TComponent* Owner) : TForm(Owner, kSmallForm) {}
  TEdit* Field = Bind<TEdit>("Field");
  TButton* Go = Bind<TButton>("Go");
  void GoClick(TObject*) {
    ++clicks;
    Field->SetText("clicked");
    throw Exception("the handler failed");
  }
  int clicks = 0;

 private:
  Published published_ = Publish<TRaisingForm>({{"GoClick", &TRaisingForm::GoClick}});
};

// Forms that get their bindings wrong, each in one way.
class TMissingField : public TForm {
 public:
  explicit TMissingField(TComponent* Owner) : TForm(Owner, kSmallForm) {}
  TButton* Go = Bind<TButton>("Go");
  void GoClick(TObject*) {}
  Published published_ = Publish<TMissingField>({{"GoClick", &TMissingField::GoClick}});
};

class TMissingControl : public TForm {
 public:
  explicit TMissingControl(TComponent* Owner) : TForm(Owner, kSmallForm) {}
  TEdit* Field = Bind<TEdit>("Field");
  TButton* Go = Bind<TButton>("Go");
  TEdit* Other = Bind<TEdit>("Other");
};

class TWrongKind : public TForm {
 public:
  explicit TWrongKind(TComponent* Owner) : TForm(Owner, kSmallForm) {}
  TButton* Field = Bind<TButton>("Field");
};

class TMissingHandler : public TForm {
 public:
  explicit TMissingHandler(TComponent* Owner) : TForm(Owner, kSmallForm) {}
  TEdit* Field = Bind<TEdit>("Field");
  TButton* Go = Bind<TButton>("Go");
  Published published_ = Publish<TMissingHandler>({});
};

template <class Form>
std::string CreationError() {
  const std::size_t formsBefore = Application->Components().size();
  try {
    Form* form = nullptr;
    Application->CreateForm(form);
  } catch (const Exception& e) {
    EXPECT_EQ(Application->Components().size(), formsBefore) << "a failed form stays owned";
    return e.Message();
  }
  return "(no error)";
}

TEST(FormBinding, EveryMismatchFailsAtCreation) {
  EXPECT_EQ(CreationError<TMissingField>(), "SmallForm: control \"Field\" has no field");
  EXPECT_EQ(CreationError<TMissingControl>(),
            "SmallForm: the form description has no control \"Other\" for the field of that name");
  EXPECT_EQ(CreationError<TWrongKind>(), "SmallForm: control \"Field\" is not a TButton");
  EXPECT_EQ(CreationError<TMissingHandler>(), "SmallForm: no handler \"GoClick\" for Go.OnClick");
}

TEST(FormBinding, WindowTakesThePlaceItsDescriptionGives) {
  TPlacedForm form(Application);
  QWidget* window = NativeWindow(form);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  EXPECT_EQ(window->pos(), QPoint(40, 30));
}

TEST(FormBinding, HandlerErrorIsShownAndTheWindowGoesOn) {
  auto* form = new TRaisingForm(Application);
  QWidget* window = NativeWindow(*form);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  auto* go = window->findChild<QPushButton*>("Go");
  for (int round = 1; round <= 2; ++round) {
    QString shown;
    DismissNextDialog([&shown](QWidget& dialog) {
      if (auto* box = qobject_cast<QMessageBox*>(&dialog)) shown = box->text();
    });
    QTest::mouseClick(go, Qt::LeftButton);
    EXPECT_EQ(shown, "the handler failed") << "round " << round;
    EXPECT_EQ(form->clicks, round);
    EXPECT_TRUE(window->isVisible());
  }
  form->Field->SetText("");
  QTest::keyClicks(window->findChild<QLineEdit*>("Field"), "still typing");
  EXPECT_EQ(form->Field->GetText(), "still typing");
  delete form;
}

TEST(Settings, NothingIsWrittenUnderTheConfigHome) {
  auto* form = new TForm1(Application);
  NativeWindow(*form)->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(NativeWindow(*form)));
  QTest::mouseClick(NativeWindow(*form)->findChild<QPushButton*>("Button1"), Qt::LeftButton);
  NativeWindow(*form)->close();
  delete form;
  const QDir config(qEnvironmentVariable("XDG_CONFIG_HOME"));
  EXPECT_TRUE(!config.exists() || config.isEmpty()) << config.path().toStdString();
}

}  // namespace
