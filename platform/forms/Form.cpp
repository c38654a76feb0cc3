#include "platform/forms/FormBuilding.h"

#include <algorithm>
#include <string>

namespace {
std::string Quoted(std::string_view name) {
  std::string quoted = "\"";
  quoted.append(name).push_back('"');
  return quoted;
}
}  // namespace

TComponent* TForm::BindComponent(std::string_view name) {
  TComponent* component = FindComponent(name);
  if (component == nullptr) {
    throw Exception(Name() + ": the form description has no control " + Quoted(name) +
                    " for the field of that name");
  }
  if (std::ranges::find(bound_, component) != bound_.end()) {
    throw Exception(Name() + ": control " + Quoted(name) + " is bound to two fields");
  }
  bound_.push_back(component);
  return component;
}

void TForm::RaiseWrongKind(std::string_view name, std::string_view kind) const {
  throw Exception(Name() + ": control " + Quoted(name) + " is not a " + std::string(kind));
}

TForm::Published TForm::Loaded(std::vector<std::pair<std::string_view, TNotifyEvent>> events) {
  for (const TComponent* component : Components()) {
    if (std::ranges::find(bound_, component) == bound_.end()) {
      throw Exception(Name() + ": control " + Quoted(component->Name()) + " has no field");
    }
  }
  for (const ControlDescription& control : description_.Controls) {
    if (control.OnClick.empty()) continue;
    const auto handler =
        std::ranges::find(events, control.OnClick, &decltype(events)::value_type::first);
    if (handler == events.end()) {
      throw Exception(Name() + ": no handler " + Quoted(control.OnClick) + " for " +
                      std::string(control.Name) + ".OnClick");
    }
    auto* button = dynamic_cast<TButton*>(FindComponent(control.Name));
    if (button == nullptr) RaiseWrongKind(control.Name, TButton::ClassName);
    button->OnClick = handler->second;
  }
  return {};
}

void CreateControls(TForm* form, const FormDescription& description) {
  for (const ControlDescription& control : description.Controls) {
    if (form->FindComponent(control.Name) != nullptr) {
      throw Exception(form->Name() + ": two controls are named " + Quoted(control.Name));
    }
    switch (control.Kind) {
      case ControlKind::Label:
        new TLabel(form, control);
        break;
      case ControlKind::Edit:
        new TEdit(form, control);
        break;
      case ControlKind::Button:
        new TButton(form, control);
        break;
    }
  }
}

std::vector<const ControlDescription*> TabStops(const FormDescription& description) {
  std::vector<const ControlDescription*> stops;
  for (const ControlDescription& control : description.Controls) {
    if (control.TabOrder >= 0) stops.push_back(&control);
  }
  std::ranges::sort(stops, {}, &ControlDescription::TabOrder);
  return stops;
}

TControl& ControlNamed(const TForm& form, std::string_view name) {
  auto* control = dynamic_cast<TControl*>(form.FindComponent(name));
  if (control == nullptr) throw Exception(form.Name() + ": no control named " + Quoted(name));
  return *control;
}
