#include "platform/qt/Appearance.h"
#include "platform/qt/Native.h"

#include <QLabel>
#include <QPalette>

#include <algorithm>
#include <vector>

namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void CreateControl(TForm* form, const ControlDescription& description) {
  if (form->FindComponent(description.Name) != nullptr) {
    throw Exception(form->Name() + ": two controls are named \"" + std::string(description.Name) +
                    "\"");
  }
  switch (description.Kind) {
    case ControlKind::Label:
      new TLabel(form, description);
      break;
    case ControlKind::Edit:
      new TEdit(form, description);
      break;
    case ControlKind::Button:
      new TButton(form, description);
      break;
  }
}

QWidget* WidgetNamed(const TForm& form, std::string_view name) {
  auto* control = dynamic_cast<TControl*>(form.FindComponent(name));
  if (control == nullptr) {
    throw Exception(form.Name() + ": no control named \"" + std::string(name) + "\"");
  }
  return NativeWidget(*control);
}

// Tab order follows TabOrder; focus starts on the first control in it.
void ApplyTabOrder(const TForm& form, const FormDescription& description) {
  std::vector<const ControlDescription*> stops;
  for (const ControlDescription& control : description.Controls) {
    if (control.TabOrder >= 0) stops.push_back(&control);
  }
  std::ranges::sort(stops, {}, &ControlDescription::TabOrder);
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

}  // namespace

TForm::TForm(TComponent* Owner, const FormDescription& description)
    : TComponent(Owner), description_(description), native_(std::make_unique<Native>()) {
  SetName(std::string(description.Name));
  auto window = std::make_unique<QWidget>();
  window->setObjectName(ToQString(description.Name));
  window->setWindowTitle(ToQString(description.Caption));
  QPalette palette = window->palette();
  palette.setColor(QPalette::Window, ToQColor(description.Color));
  window->setPalette(palette);
  window->setAutoFillBackground(true);
  ApplyFont(*window, description.Font);
  window->move(description.Left, description.Top);
  window->resize(description.ClientWidth, description.ClientHeight);
  native_->window = std::move(window);

  for (const ControlDescription& control : description.Controls) CreateControl(this, control);
  ApplyTabOrder(*this, description);
  ApplyFocusControls(*this, description);
}

TForm::~TForm() {
  DestroyComponents();  // the controls' widgets go with the window, after them
}
