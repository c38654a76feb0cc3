// What an assistive technology gets from the window's accessibility interfaces, in process: each
// control's role, name, description and states, the text interface of the fields, the button's
// Press action. The announcements need an accessibility bus: tests/e2e/accessibility.py.

#include "WindowFixture.h"

#include <QAccessible>
#include <QAccessibleActionInterface>

#include <functional>
#include <string>

namespace {

constexpr char kHint[] = "Input a . instead of a comma example:  124.56";

QAccessibleInterface* InterfaceOf(QObject* object) {
  QAccessibleInterface* result = QAccessible::queryAccessibleInterface(object);
  EXPECT_NE(result, nullptr);
  return result;
}

struct FieldCase {
  const char* objectName;
  const char* accessibleName;
  bool readOnly;
};

class AccessibleField : public WindowTest, public testing::WithParamInterface<FieldCase> {};

TEST_P(AccessibleField, NamedDescribedAndWritableOnlyWhenAnInput) {
  const FieldCase& field = GetParam();
  QAccessibleInterface* edit = InterfaceOf(Edit(field.objectName));
  EXPECT_EQ(edit->role(), QAccessible::EditableText);
  EXPECT_EQ(edit->text(QAccessible::Name), field.accessibleName);
  EXPECT_EQ(edit->text(QAccessible::Description), field.readOnly ? "" : kHint);
  EXPECT_EQ(edit->state().readOnly, field.readOnly);
  EXPECT_EQ(edit->state().editable, !field.readOnly);
  EXPECT_EQ(edit->editableTextInterface() == nullptr, field.readOnly);
  ASSERT_NE(edit->textInterface(), nullptr);

  Edit(field.objectName)->setText("5.74468085106383");
  QAccessibleTextInterface* text = edit->textInterface();
  ASSERT_EQ(text->characterCount(), 16);
  for (int offset = 0; offset <= 16; ++offset) {  // one run of attributes over the whole text
    int start = -2;
    int end = -2;
    text->attributes(offset, &start, &end);
    EXPECT_EQ(start, 0) << offset;
    EXPECT_EQ(end, 16) << offset;
  }
  for (int offset = 0; offset < 16; ++offset) {  // each character's box leads back to it
    const QRect box = text->characterRect(offset);
    ASSERT_FALSE(box.isEmpty()) << offset;
    EXPECT_EQ(text->offsetAtPoint(box.center()), offset);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, AccessibleField,
    testing::Values(FieldCase{"MoneyToCallEdit", "Money to call", false},
                    FieldCase{"WinningsEdit", "Money to win after your call", false},
                    FieldCase{"KnownCardsEdit", "Amount of known cards", false},
                    FieldCase{"OutsEdit", "Your outs", false},
                    FieldCase{"CallEvEdit", "Call EV", true},
                    FieldCase{"FoldEvEdit", "Fold EV", true}),
    [](const auto& info) { return std::string(info.param.objectName); });

// Edits through the interface, with offsets a client may send beyond either end of "12345".
struct EditCase {
  const char* name;
  std::function<void(QAccessibleEditableTextInterface&)> edit;
  const char* expected;
};

class AccessibleEdit : public WindowTest, public testing::WithParamInterface<EditCase> {};

TEST_P(AccessibleEdit, StaysWithinTheText) {
  Edit("MoneyToCallEdit")->setText("12345");
  QAccessibleEditableTextInterface* editable =
      InterfaceOf(Edit("MoneyToCallEdit"))->editableTextInterface();
  ASSERT_NE(editable, nullptr);
  GetParam().edit(*editable);
  EXPECT_EQ(Text("MoneyToCallEdit"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Offsets, AccessibleEdit,
    testing::Values(
        EditCase{"InsertInside", [](auto& e) { e.insertText(2, "."); }, "12.345"},
        EditCase{"InsertBeyondTheEnd", [](auto& e) { e.insertText(1000, "9"); }, "123459"},
        EditCase{"InsertBeforeTheStart", [](auto& e) { e.insertText(-3, "9"); }, "912345"},
        EditCase{"DeleteInside", [](auto& e) { e.deleteText(1, 3); }, "145"},
        EditCase{"DeleteBackwards", [](auto& e) { e.deleteText(3, 1); }, "12345"},
        EditCase{"DeleteBeyondTheEnd", [](auto& e) { e.deleteText(3, 1000); }, "123"},
        EditCase{"ReplaceAll", [](auto& e) { e.replaceText(-1, 99, "7"); }, "7"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, TheWindowIsAFrameNamedByItsTitle) {
  QAccessibleInterface* window = InterfaceOf(window_);
  EXPECT_EQ(window->role(), QAccessible::Window);
  EXPECT_EQ(window->text(QAccessible::Name), "Quarn EV calculator");
}

TEST_F(WindowTest, PressThroughTheActionCalculatesAndLeavesTheFocus) {
  TypeInto("MoneyToCallEdit", "10");
  TypeInto("WinningsEdit", "30");
  TypeInto("KnownCardsEdit", "5");
  TypeInto("OutsEdit", "9");
  QWidget* focused = QApplication::focusWidget();
  QAccessibleActionInterface* actions = InterfaceOf(Button())->actionInterface();
  ASSERT_NE(actions, nullptr);
  ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
  actions->doAction(QAccessibleActionInterface::pressAction());
  QTest::qWait(50);
  EXPECT_EQ(Text("CallEvEdit"), "5.74468085106383");
  EXPECT_EQ(QApplication::focusWidget(), focused) << "pressing moved the focus";
}

}  // namespace
