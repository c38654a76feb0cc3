#include "platform/forms/FormBuilding.h"
#include "platform/qt/Accessibility.h"
#include "platform/qt/Appearance.h"
#include "platform/qt/Native.h"

#include <QLabel>

#include <vector>

namespace {

QWidget* WidgetNamed(const TForm& form, std::string_view name) {
  return NativeWidget(ControlNamed(form, name));
}

// Tab order follows TabOrder; focus starts on the first control in it.
void ApplyTabOrder(const TForm& form, const FormDescription& description) {
  const std::vector<const ControlDescription*> stops = TabStops(description);
  for (std::size_t i = 1; i < stops.size(); ++i) {
    QWidget::setTabOrder(WidgetNamed(form, stops[i - 1]->Name), WidgetNamed(form, stops[i]->Name));
  }
  if (!stops.empty()) WidgetNamed(form, stops.front()->Name)->setFocus();
}

// A label naming a field becomes its buddy, and the field is announced by the label's caption.
void ApplyFocusControls(const TForm& form, const FormDescription& description) {
  for (const ControlDescription& control : description.Controls) {
    if (control.FocusControl.empty()) continue;
    auto* label = qobject_cast<QLabel*>(WidgetNamed(form, control.Name));
    QWidget* field = WidgetNamed(form, control.FocusControl);
    if (label == nullptr) throw Exception(form.Name() + ": only a label names a field");
    label->setBuddy(field);
    QString name = label->text().trimmed();
    if (name.endsWith(u':')) name.chop(1);
    field->setAccessibleName(name);
  }
}

// A label that names no field is a hint about what to type: it describes every input field.
void ApplyHints(const TForm& form, const FormDescription& description) {
  for (const ControlDescription& hint : description.Controls) {
    if (hint.Kind != ControlKind::Label || !hint.FocusControl.empty()) continue;
    for (const ControlDescription& field : description.Controls) {
      if (field.Kind == ControlKind::Edit && !field.ReadOnly) {
        WidgetNamed(form, field.Name)->setAccessibleDescription(ToQString(hint.Caption));
      }
    }
  }
}

}  // namespace

TForm::TForm(TComponent* Owner, const FormDescription& description)
    : TComponent(Owner), description_(description), native_(std::make_unique<Native>()) {
  SetName(std::string(description.Name));
  auto window = std::make_unique<QWidget>();
  window->setObjectName(ToQString(description.Name));
  MarkAsForm(*window);
  window->setWindowTitle(ToQString(description.Caption));
  ApplyBackground(*window, description.Color);
  ApplyFont(*window, description.Font);
  window->move(description.Left, description.Top);
  window->resize(description.ClientWidth, description.ClientHeight);
  native_->window = std::move(window);

  CreateControls(this, description);
  ApplyTabOrder(*this, description);
  ApplyFocusControls(*this, description);
  ApplyHints(*this, description);
}

TForm::~TForm() {
  DestroyComponents();  // the controls' widgets go with the window, after them
}
